#include "toolkit/widgets/ShortCuts.h"

#include "toolkit/widgets/KeyMapping.h"

namespace {

struct KeyName {
    int key;
    const char *name;
};

constexpr KeyName keyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},     {VK_ESCAPE, "Esc"},  {VK_RETURN, "Enter"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"},  {VK_NEXT, "PgDn"},   {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},   {VK_UP, "Up"},       {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"},  {VK_DELETE, "Del"},
};

constexpr int kFirstFunctionKey = VK_F1;
constexpr int kLastFunctionKey = VK_F1 + 23;

struct Modifier {
    TShortCut flag;
    const char *prefix;
};

constexpr Modifier modifiers[] = {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}};

QString keyText(int key)
{
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return QString(QChar(key));
    if (key >= kFirstFunctionKey && key <= kLastFunctionKey)
        return QStringLiteral("F%1").arg(key - kFirstFunctionKey + 1);
    for (const KeyName &entry : keyNames)
        if (entry.key == key)
            return QString::fromLatin1(entry.name);
    return {};
}

} // namespace

TShortCut ShortCut(int key, TShiftState shift)
{
    if (key < 0 || key > 0xFF)
        return scNone;
    TShortCut result = TShortCut(key);
    if (shift.testFlag(ssShift))
        result |= scShift;
    if (shift.testFlag(ssCtrl))
        result |= scCtrl;
    if (shift.testFlag(ssAlt))
        result |= scAlt;
    return result;
}

QString ShortCutToText(TShortCut shortCut)
{
    const QString name = keyText(shortCut & 0xFF);
    if (name.isEmpty())
        return {};
    QString text;
    for (const Modifier &modifier : modifiers)
        if (shortCut & modifier.flag)
            text += QLatin1String(modifier.prefix);
    return text + name;
}

TShortCut TextToShortCut(const QString &text)
{
    TShortCut flags = 0;
    QStringView rest(text);
    for (bool found = true; found;) {
        found = false;
        for (const Modifier &modifier : modifiers) {
            const QLatin1String prefix(modifier.prefix);
            if (rest.startsWith(prefix, Qt::CaseInsensitive)) {
                flags |= modifier.flag;
                rest = rest.mid(prefix.size());
                found = true;
            }
        }
    }
    if (rest.isEmpty())
        return scNone;
    for (int key = VK_BACK; key <= 0xFF; ++key)
        if (rest.compare(keyText(key), Qt::CaseInsensitive) == 0)
            return TShortCut(key) | flags;
    return scNone;
}

QString NoShortCutText()
{
    return QStringLiteral("(None)");
}
