#include "toolkit/core/MaskUtils.h"

#include <vector>

namespace {

enum class CaseMode { Keep, Upper, Lower };

struct Slot
{
    bool input = false;
    QChar literal;
    CaseMode caseMode = CaseMode::Keep;
};

bool IsInputChar(QChar c)
{
    switch (c.unicode()) {
    case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#':
        return true;
    default:
        return false;
    }
}

struct Mask
{
    std::vector<Slot> slots;
    bool saveLiterals = true;
    bool fromRight = false;

    Mask(const QString &editMask, const TFormatSettings &settings)
    {
        CaseMode caseMode = CaseMode::Keep;
        qsizetype i = 0;
        for (; i < editMask.size(); ++i) {
            const QChar c = editMask[i];
            if (c == QLatin1Char(';'))
                break;
            if (c == QLatin1Char('\\') && i + 1 < editMask.size()) {
                slots.push_back({false, editMask[++i], caseMode});
            } else if (c == QLatin1Char('!')) {
                fromRight = true;
            } else if (c == QLatin1Char('<') && i + 1 < editMask.size() && editMask[i + 1] == QLatin1Char('>')) {
                caseMode = CaseMode::Keep;
                ++i;
            } else if (c == QLatin1Char('<')) {
                caseMode = CaseMode::Lower;
            } else if (c == QLatin1Char('>')) {
                caseMode = CaseMode::Upper;
            } else if (IsInputChar(c)) {
                slots.push_back({true, QChar(), caseMode});
            } else if (c == QLatin1Char(':')) {
                slots.push_back({false, settings.TimeSeparator, caseMode});
            } else if (c == QLatin1Char('/')) {
                slots.push_back({false, settings.DateSeparator, caseMode});
            } else if (c == QLatin1Char('_')) {
                slots.push_back({false, QLatin1Char(' '), caseMode});
            } else {
                slots.push_back({false, c, caseMode});
            }
        }
        if (i + 1 < editMask.size())
            saveLiterals = editMask[i + 1] != QLatin1Char('0');
    }
};

QChar Cased(QChar c, CaseMode mode)
{
    switch (mode) {
    case CaseMode::Upper: return c.toUpper();
    case CaseMode::Lower: return c.toLower();
    case CaseMode::Keep: break;
    }
    return c;
}

} // namespace

QString FormatMaskText(const QString &editMask, const QString &value, const TFormatSettings &settings)
{
    const Mask mask(editMask, settings);
    const qsizetype count = qsizetype(mask.slots.size());
    QString out(count, QLatin1Char(' '));
    // Walk slots and value together, from the end when filling from the right.
    const int step = mask.fromRight ? -1 : 1;
    qsizetype v = mask.fromRight ? value.size() - 1 : 0;
    for (qsizetype k = 0; k < count; ++k) {
        const qsizetype s = mask.fromRight ? count - 1 - k : k;
        const Slot &slot = mask.slots[size_t(s)];
        const bool haveValue = v >= 0 && v < value.size();
        if (!slot.input) {
            out[s] = slot.literal;
            if (mask.saveLiterals && haveValue)
                v += step;
        } else if (haveValue) {
            out[s] = Cased(value[v], slot.caseMode);
            v += step;
        }
    }
    return out;
}
