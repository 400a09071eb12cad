#include "report/text/qvxHTMLTags.h"

#include "report/base/qvxNumbers.h"

namespace {

enum class Effect { Bold, Italic, Underline, Strike, Sub, Sup, EndScript, NoWrap, EndBold, EndItalic,
                    EndUnderline, EndStrike, EndNoWrap, EndFont };

struct Element {
    QLatin1StringView text;
    Effect effect;
};

const Element elements[] = {
    {QLatin1StringView("<b>"), Effect::Bold},
    {QLatin1StringView("<i>"), Effect::Italic},
    {QLatin1StringView("<u>"), Effect::Underline},
    {QLatin1StringView("<sub>"), Effect::Sub},
    {QLatin1StringView("<sup>"), Effect::Sup},
    {QLatin1StringView("</sub>"), Effect::EndScript},
    {QLatin1StringView("</sup>"), Effect::EndScript},
    {QLatin1StringView("<nowrap>"), Effect::NoWrap},
    {QLatin1StringView("<strike>"), Effect::Strike},
    {QLatin1StringView("</b>"), Effect::EndBold},
    {QLatin1StringView("</i>"), Effect::EndItalic},
    {QLatin1StringView("</u>"), Effect::EndUnderline},
    {QLatin1StringView("</strike>"), Effect::EndStrike},
    {QLatin1StringView("</nowrap>"), Effect::EndNoWrap},
    {QLatin1StringView("</font>"), Effect::EndFont},
};

const QLatin1StringView fontColor("<font color");

bool isHexDigit(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

int scriptSize(int defSize)
{
    return qvxRound(defSize / 1.5);
}

} // namespace

bool qvxHTMLColor(const QString &value, TColor &color)
{
    if (value.size() >= 4 && value.front() == QLatin1Char('"') && value.at(1) == QLatin1Char('#') &&
        value.back() == QLatin1Char('"')) {
        const QStringView digits = QStringView(value).mid(2, value.size() - 3);
        if (digits.size() > 8 || !std::all_of(digits.begin(), digits.end(), isHexDigit))
            return false;
        const quint32 rgb = digits.toUInt(nullptr, 16);
        color = TColor(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
        return true;
    }
    return !value.isEmpty() && IdentToColor(QStringLiteral("cl") + value, color);
}

void TqvxHTMLTagsList::Init(TColor color, int size, TFontStyles style)
{
    DefColor = color;
    DefSize = size;
    DefStyle = style;
    m_color = color;
    m_size = size;
    m_style = style;
    m_addY = 0;
    m_dontWrap = false;
    m_subType = 0;
    Position = 1;
    Items.clear();
}

void TqvxHTMLTagsList::NewLine()
{
    if (!Items.empty())
        Items.emplace_back();
}

int TqvxHTMLTagsList::applyFontColor(const QString &line, int index)
{
    if (QStringView(line).mid(index, fontColor.size()).compare(fontColor, Qt::CaseInsensitive) != 0)
        return 0;
    const int equals = int(line.indexOf(QLatin1Char('='), index + fontColor.size()));
    const int close = int(line.indexOf(QLatin1Char('>'), index + fontColor.size()));
    if (equals < 0 || close < 0 || close < equals)
        return 0;
    int start = equals + 1;
    while (start < close && line.at(start) == QLatin1Char(' '))
        ++start;
    TColor color = clBlack;
    if (!qvxHTMLColor(line.mid(start, close - start), color))
        return 0;
    m_color = color;
    return close - index + 1;
}

int TqvxHTMLTagsList::applyElement(const QString &line, int index)
{
    for (const Element &element : elements) {
        if (QStringView(line).mid(index, element.text.size()).compare(element.text, Qt::CaseInsensitive) != 0)
            continue;
        switch (element.effect) {
        case Effect::Bold: m_style |= fsBold; break;
        case Effect::Italic: m_style |= fsItalic; break;
        case Effect::Underline: m_style |= fsUnderline; break;
        case Effect::Strike: m_style |= fsStrikeout; break;
        case Effect::EndBold: m_style &= ~TFontStyles(fsBold); break;
        case Effect::EndItalic: m_style &= ~TFontStyles(fsItalic); break;
        case Effect::EndUnderline: m_style &= ~TFontStyles(fsUnderline); break;
        case Effect::EndStrike: m_style &= ~TFontStyles(fsStrikeout); break;
        case Effect::Sub:
            m_size = scriptSize(DefSize);
            m_addY = 1;
            m_subType = 1;
            break;
        case Effect::Sup:
            m_size = scriptSize(DefSize);
            m_addY = 0;
            m_subType = 2;
            break;
        case Effect::EndScript:
            m_size = DefSize;
            m_addY = 0;
            m_subType = 0;
            break;
        case Effect::NoWrap: m_dontWrap = true; break;
        case Effect::EndNoWrap: m_dontWrap = false; break;
        case Effect::EndFont: m_color = DefColor; break;
        }
        return int(element.text.size());
    }
    return applyFontColor(line, index);
}

void TqvxHTMLTagsList::addRecord()
{
    if (Items.empty())
        Items.emplace_back();
    const TqvxHTMLTag *previous = nullptr;
    for (auto line = Items.rbegin(); line != Items.rend() && !previous; ++line)
        if (!line->empty())
            previous = &line->back();

    TqvxHTMLTag tag;
    tag.Position = Position;
    tag.Size = m_size;
    tag.AddY = m_addY;
    tag.Style = m_style;
    tag.Color = m_color;
    tag.DontWRAP = m_dontWrap;
    tag.SubType = m_subType;
    tag.Small = m_size != DefSize;
    if (!AllowTags)
        tag.Default = true;
    else if (previous)
        tag.Default = tag.DrawsLike(*previous) && tag.DontWRAP == previous->DontWRAP;
    else
        tag.Default = m_style == DefStyle && m_color == DefColor && m_size == DefSize;
    Items.back().push_back(tag);
}

void TqvxHTMLTagsList::addRecords(int count)
{
    addRecord();
    TqvxHTMLTags &records = Items.back();
    TqvxHTMLTag next = records.back();
    next.Default = true;
    const int start = next.Position;
    for (int k = 1; k < count; ++k) {
        next.Position = start + k;
        records.push_back(next);
    }
}

void TqvxHTMLTagsList::ExpandHTMLTags(QString &line)
{
    const bool wasEmpty = line.isEmpty();
    if (!wasEmpty && (!AllowTags || !line.contains(QLatin1Char('<')))) {
        // No element: the line stays as it is, one run of records.
        addRecords(int(line.size()));
        Position += int(line.size());
        return;
    }
    const int start = Position;
    QString text;
    text.reserve(line.size());
    for (int i = 0; i < line.size();) {
        const int length = AllowTags && line.at(i) == QLatin1Char('<') ? applyElement(line, i) : 0;
        if (length > 0) {
            Position += length;
            i += length;
            continue;
        }
        // The characters up to the next possible element take one run.
        qsizetype end = AllowTags ? line.indexOf(QLatin1Char('<'), i + 1) : -1;
        if (end < 0)
            end = line.size();
        const int count = int(end - i);
        text += QStringView(line).mid(i, count);
        addRecords(count);
        Position += count;
        i += count;
    }
    if (text.isEmpty() && !wasEmpty) {
        // The blank stands for the whole line: a cut before it keeps the
        // line's elements with the rest.
        text = QStringLiteral(" ");
        addRecord();
        Items.back().back().Position = start;
    }
    line = text;
}
