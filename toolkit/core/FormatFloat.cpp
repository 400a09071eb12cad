#include "toolkit/core/FormatFloat.h"

#include "toolkit/core/FloatText.h"

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace {

const int kMaxDigits = 18;

bool IsQuote(QChar c)
{
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

// The end of the quoted text that starts at `i` (the closing quote's index,
// or the end of the text).
qsizetype QuoteEnd(const QString &text, qsizetype i)
{
    const qsizetype end = text.indexOf(text[i], i + 1);
    return end < 0 ? text.size() : end;
}

QStringList SplitSections(const QString &format)
{
    QStringList sections;
    qsizetype start = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        if (IsQuote(format[i]))
            i = QuoteEnd(format, i);
        else if (format[i] == QLatin1Char(';')) {
            sections << format.mid(start, i - start);
            start = i + 1;
        }
    }
    sections << format.mid(start);
    return sections;
}

bool IsExponentAt(const QString &s, qsizetype i)
{
    return (s[i] == QLatin1Char('E') || s[i] == QLatin1Char('e')) && i + 1 < s.size()
           && (s[i + 1] == QLatin1Char('+') || s[i + 1] == QLatin1Char('-'));
}

// What a section asks for.
struct Layout
{
    int digitCount = 0;
    int decimalIndex = -1; // placeholders before the decimal point
    int firstZero = -1;    // first "0" placeholder
    int lastZero = -1;     // last "0" placeholder
    bool thousands = false;
    bool scientific = false;

    explicit Layout(const QString &section)
    {
        for (qsizetype i = 0; i < section.size(); ++i) {
            const QChar c = section[i];
            if (IsQuote(c)) {
                i = QuoteEnd(section, i);
            } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
                if (c == QLatin1Char('0')) {
                    if (firstZero < 0)
                        firstZero = digitCount;
                    lastZero = digitCount;
                }
                ++digitCount;
            } else if (c == QLatin1Char('.')) {
                if (decimalIndex < 0)
                    decimalIndex = digitCount;
            } else if (c == QLatin1Char(',')) {
                thousands = true;
            } else if (IsExponentAt(section, i)) {
                scientific = true;
                break; // the zeros that follow are the exponent's
            }
        }
        if (decimalIndex < 0)
            decimalIndex = digitCount;
        if (firstZero < 0)
            firstZero = digitCount;
    }

    TFloatRec Round(double value) const
    {
        if (scientific)
            return FloatToDecimal(value, std::clamp(digitCount, 1, kMaxDigits), 9999);
        return FloatToDecimal(value, kMaxDigits, digitCount - decimalIndex);
    }
};

class PictureWriter
{
public:
    PictureWriter(const QString &section, const Layout &layout, const TFloatRec &rec,
                  const TFormatSettings &settings)
        : m_section(section), m_layout(layout), m_settings(settings)
    {
        SplitDigits(rec);
    }

    QString Write(bool minus);

private:
    void SplitDigits(const TFloatRec &rec);
    void AppendIntegerDigits(qsizetype from, qsizetype to);
    void AppendExponent(qsizetype &i);

    const QString &m_section;
    const Layout &m_layout;
    const TFormatSettings &m_settings;
    QString m_integer;  // integer digits, padded to the required zeros
    QString m_fraction; // fraction digits, padded to the required zeros
    int m_exponent = 0;
    QString m_out;
};

void PictureWriter::SplitDigits(const TFloatRec &rec)
{
    const QString digits = QString::fromLatin1(rec.Digits);
    if (m_layout.scientific) {
        // Zero still shows one digit before its exponent.
        if (!rec.IsZero())
            m_integer = digits.left(m_layout.decimalIndex).leftJustified(m_layout.decimalIndex, QLatin1Char('0'));
        else if (m_layout.decimalIndex > 0)
            m_integer = QStringLiteral("0");
        m_fraction = digits.mid(m_layout.decimalIndex);
    } else {
        const int integerDigits = std::max(rec.Exponent, 0);
        m_integer = digits.left(integerDigits).leftJustified(integerDigits, QLatin1Char('0'));
        m_fraction = QString(std::max(-rec.Exponent, 0), QLatin1Char('0')) + digits.mid(integerDigits);
    }
    m_exponent = rec.IsZero() ? 0 : rec.Exponent - m_layout.decimalIndex;

    const int integerZeros = m_layout.decimalIndex - m_layout.firstZero;
    if (m_integer.size() < integerZeros)
        m_integer = m_integer.rightJustified(integerZeros, QLatin1Char('0'));
    const int fractionZeros = m_layout.lastZero - m_layout.decimalIndex + 1;
    if (m_fraction.size() < fractionZeros)
        m_fraction = m_fraction.leftJustified(fractionZeros, QLatin1Char('0'));
}

// Appends integer digits [from, to) with thousand separators where due.
void PictureWriter::AppendIntegerDigits(qsizetype from, qsizetype to)
{
    for (qsizetype i = from; i < to; ++i) {
        m_out += m_integer[i];
        const qsizetype fromRight = m_integer.size() - 1 - i;
        if (m_layout.thousands && fromRight > 0 && fromRight % 3 == 0)
            m_out += m_settings.ThousandSeparator;
    }
}

void PictureWriter::AppendExponent(qsizetype &i)
{
    const bool alwaysSign = m_section[i + 1] == QLatin1Char('+');
    m_out += m_section[i];
    if (m_exponent < 0)
        m_out += QLatin1Char('-');
    else if (alwaysSign)
        m_out += QLatin1Char('+');
    i += 2;
    int zeros = 0;
    while (i < m_section.size() && m_section[i] == QLatin1Char('0')) {
        ++zeros;
        ++i;
    }
    m_out += QString::number(std::abs(m_exponent)).rightJustified(std::min(zeros, 4), QLatin1Char('0'));
}

QString PictureWriter::Write(bool minus)
{
    if (minus)
        m_out += QLatin1Char('-');
    const qsizetype integerPlaces = m_layout.decimalIndex;
    int placeholder = 0;
    bool pointWritten = false;
    for (qsizetype i = 0; i < m_section.size();) {
        const QChar c = m_section[i];
        if (IsQuote(c)) {
            const qsizetype end = QuoteEnd(m_section, i);
            m_out += m_section.mid(i + 1, end - i - 1);
            i = end + 1;
            continue;
        }
        if (m_layout.scientific && IsExponentAt(m_section, i)) {
            AppendExponent(i);
            continue;
        }
        if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            if (placeholder < integerPlaces) {
                // Right-aligned: the first placeholder takes every surplus digit.
                const qsizetype fromRight = integerPlaces - 1 - placeholder;
                const qsizetype end = m_integer.size() - fromRight;
                const qsizetype begin = placeholder == 0 ? 0 : end - 1;
                if (end > 0)
                    AppendIntegerDigits(std::max<qsizetype>(begin, 0), end);
            } else {
                const qsizetype index = placeholder - integerPlaces;
                if (index < m_fraction.size())
                    m_out += m_fraction[index];
            }
            ++placeholder;
        } else if (c == QLatin1Char('.')) {
            if (!pointWritten) {
                pointWritten = true;
                if (integerPlaces == 0)
                    AppendIntegerDigits(0, m_integer.size());
                if (!m_fraction.isEmpty())
                    m_out += m_settings.DecimalSeparator;
            }
        } else if (c != QLatin1Char(',')) {
            m_out += c;
        }
        ++i;
    }
    return m_out;
}

} // namespace

QString FormatFloat(const QString &format, double value, const TFormatSettings &settings)
{
    if (format.isEmpty() || !std::isfinite(value))
        return FloatToStr(value, settings);

    const QStringList sections = SplitSections(format);
    auto usable = [&sections](int index) { return index < sections.size() && !sections[index].isEmpty(); };

    int chosen = 0;
    const TFloatRec first = Layout(sections[0]).Round(value);
    if (first.IsZero() && usable(2))
        chosen = 2;
    else if (value < 0 && !first.IsZero() && usable(1))
        chosen = 1;
    if (sections[chosen].isEmpty())
        return FloatToStr(value, settings);

    const Layout layout(sections[chosen]);
    const TFloatRec rec = layout.Round(chosen == 2 ? 0.0 : value);
    if (!layout.scientific && rec.Exponent > kMaxDigits)
        return FloatToStr(value, settings);
    const bool minus = chosen == 0 && rec.Negative && !rec.IsZero();
    return PictureWriter(sections[chosen], layout, rec, settings).Write(minus);
}
