#include "script/zqParser.h"

#include "toolkit/core/CodePages.h"

#include <algorithm>

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

int hexValue(QChar c)
{
    if (isDigit(c))
        return c.unicode() - '0';
    const char16_t l = c.toLower().unicode();
    if (l >= u'a' && l <= u'f')
        return l - u'a' + 10;
    return -1;
}

void splitBlock(const QString &value, QString &begin, QString &end)
{
    const qsizetype comma = value.indexOf(u',');
    begin = comma < 0 ? value : value.left(comma);
    end = comma < 0 ? QString() : value.mid(comma + 1);
}

bool lessIgnoringCase(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) < 0;
}

} // namespace

TzqParser::TzqParser()
{
    Clear();
}

void TzqParser::Clear()
{
    CaseSensitive = false;
    SetCommentBlock1(QStringLiteral("{,}"));
    SetCommentBlock2(QStringLiteral("(*,*)"));
    CommentLine1 = QStringLiteral("//");
    CommentLine2.clear();
    HexSequence = QStringLiteral("$");
    SetIdentifierCharset(QStringLiteral("_0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"));
    m_keywords.clear();
    SkipChar.clear();
    SkipEOL = true;
    SkipSpace = true;
    SpecStrChar = false;
    StringQuotes = QStringLiteral("'");
}

void TzqParser::SetCommentBlock1(const QString &value)
{
    m_commentBlock1 = value;
    splitBlock(value, m_blockBegin[0], m_blockEnd[0]);
}

void TzqParser::SetCommentBlock2(const QString &value)
{
    m_commentBlock2 = value;
    splitBlock(value, m_blockBegin[1], m_blockEnd[1]);
}

void TzqParser::SetIdentifierCharset(const QString &chars)
{
    m_identifierCharset.reset();
    for (QChar c : chars) {
        bool ok = false;
        const quint8 code = CharToCp1251(c, &ok);
        if (ok)
            m_identifierCharset.set(code);
    }
}

void TzqParser::AddExtendedCharset()
{
    for (int code = 128; code < 256; ++code)
        m_identifierCharset.set(code);
}

bool TzqParser::IsIdentifierChar(QChar c) const
{
    bool ok = false;
    const quint8 code = CharToCp1251(c, &ok);
    return ok && code > 0 && m_identifierCharset.test(code);
}

void TzqParser::AddKeyword(const QString &word)
{
    m_keywords.insert(std::lower_bound(m_keywords.begin(), m_keywords.end(), word, lessIgnoringCase), word);
}

bool TzqParser::IsKeyword(const QString &word) const
{
    auto it = std::lower_bound(m_keywords.begin(), m_keywords.end(), word, lessIgnoringCase);
    for (; it != m_keywords.end() && it->compare(word, Qt::CaseInsensitive) == 0; ++it) {
        if (!CaseSensitive || *it == word)
            return true;
    }
    return false;
}

void TzqParser::SetText(const QString &text)
{
    m_text = text;
    m_position = 1;
    m_lastPosition = 1;
    m_unclosedComment = 0;
    m_lines = {0};
    if (!UseY)
        return;
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        if (m_text[i] == u'\n')
            m_lines.append(int(i + 1));
    }
}

void TzqParser::SetPosition(int position)
{
    m_position = position;
    m_lastPosition = position;
}

// The character at a 1-based position; #0 outside the text, which stops every
// scan at the text's end.
QChar TzqParser::at(int position) const
{
    if (position < 1 || position > Size())
        return QChar(0);
    return m_text[position - 1];
}

bool TzqParser::textAt(int position, const QString &marker) const
{
    if (marker.isEmpty() || position < 1)
        return false;
    return QStringView(m_text).mid(position - 1).startsWith(marker);
}

void TzqParser::SkipSpaces()
{
    for (;;) {
        while (m_position <= Size()) {
            const QChar c = at(m_position);
            if (c.unicode() > 32 || (!SkipEOL && c == u'\r'))
                break;
            ++m_position;
        }
        if (skipLineContinuation() || skipComment())
            continue;
        break;
    }
    m_lastPosition = m_position;
}

// The continuation character joins a line with the next one only when nothing
// but blanks stands between it and the line end, so an identifier may still
// begin with it.
bool TzqParser::skipLineContinuation()
{
    if (SkipChar.isEmpty() || at(m_position) != SkipChar[0])
        return false;
    int p = m_position + 1;
    while (p <= Size() && at(p).unicode() <= 32 && at(p) != u'\r' && at(p) != u'\n')
        ++p;
    if (p <= Size() && at(p) != u'\r' && at(p) != u'\n')
        return false;
    m_position = p;
    while (at(m_position) == u'\r' || at(m_position) == u'\n')
        ++m_position;
    return true;
}

bool TzqParser::skipComment()
{
    if (m_position + 1 > Size())
        return false;
    if (textAt(m_position, CommentLine1) || textAt(m_position, CommentLine2)) {
        const bool stopAtCR = !SkipEOL && m_position > 1 && at(m_position - 1) != u'\n';
        while (m_position <= Size() && at(m_position) != u'\n' && !(stopAtCR && at(m_position) == u'\r'))
            ++m_position;
        return true;
    }
    for (int i = 0; i < 2; ++i) {
        if (!textAt(m_position, m_blockBegin[i]))
            continue;
        const int begin = m_position;
        m_position += int(m_blockBegin[i].size());
        while (m_position <= Size() && !(m_blockEnd[i].isEmpty() || textAt(m_position, m_blockEnd[i])))
            ++m_position;
        if (m_position <= Size())
            m_position += int(m_blockEnd[i].size());
        else if (m_unclosedComment == 0)
            m_unclosedComment = begin;
        return true;
    }
    return false;
}

bool TzqParser::GetEOL()
{
    SkipSpaces();
    if (at(m_position) != u'\n' && at(m_position) != u'\r')
        return false;
    while (at(m_position) == u'\n' || at(m_position) == u'\r')
        ++m_position;
    return true;
}

QString TzqParser::GetChar()
{
    const char16_t c = at(m_position).unicode();
    const bool punctuation = (c >= 33 && c <= 47) || (c >= 58 && c <= 64) || (c >= 91 && c <= 96)
                             || (c >= 123 && c <= 126);
    if (!punctuation)
        return QString();
    m_lastPosition = m_position++;
    return QString(QChar(c));
}

QString TzqParser::GetWord()
{
    if (SkipSpace)
        SkipSpaces();
    m_lastPosition = m_position;
    if (!IsIdentifierChar(at(m_position)) || isDigit(at(m_position)))
        return QString();
    while (IsIdentifierChar(at(m_position)))
        ++m_position;
    return m_text.mid(m_lastPosition - 1, m_position - m_lastPosition);
}

QString TzqParser::GetIdent()
{
    const QString word = GetWord();
    return IsKeyword(word) ? QString() : word;
}

int TzqParser::readDigitRun(int from) const
{
    int p = from;
    while (isDigit(at(p)))
        ++p;
    return p;
}

// The end of an integer (hexadecimal with the prefix, or decimal) starting at
// a position; the position itself when there is none.
int TzqParser::scanInteger(int from) const
{
    if (textAt(from, HexSequence)) {
        int p = from + int(HexSequence.size());
        const int digits = p;
        while (hexValue(at(p)) >= 0)
            ++p;
        if (p > digits)
            return p;
    }
    return readDigitRun(from);
}

QString TzqParser::GetNumber()
{
    if (SkipSpace)
        SkipSpaces();
    m_lastPosition = m_position;
    int end = scanInteger(m_position);
    if (end == m_position)
        return QString();
    bool floating = true;
    if (at(end) == u'.') {
        const int digitsEnd = readDigitRun(end + 1);
        if (digitsEnd == end + 1)
            floating = false;
        else
            end = digitsEnd;
    }
    if (floating && (at(end) == u'e' || at(end) == u'E')) {
        int p = end + 1;
        if (at(p) == u'+' || at(p) == u'-')
            ++p;
        const int digitsEnd = readDigitRun(p);
        if (digitsEnd > p)
            end = digitsEnd;
    }
    m_position = end;
    QString number = m_text.mid(m_lastPosition - 1, end - m_lastPosition);
    if (HexSequence != QStringLiteral("$"))
        number.replace(HexSequence, QStringLiteral("$"));
    return number;
}

// Hexadecimal digits from a position as one code; -1 when there are none or
// the code exceeds maxValue.  Stops at the first character that is no digit.
int TzqParser::readHexRun(int from, int maxValue) const
{
    int value = 0;
    int p = from;
    for (; hexValue(at(p)) >= 0; ++p) {
        value = value * 16 + hexValue(at(p));
        if (value > maxValue)
            return -1;
    }
    return p == from ? -1 : value;
}

// A quoted part of a string; false, with the position unchanged, when the
// part is not there or is broken by a control character or the text's end.
bool TzqParser::readQuotedPart(QString &out)
{
    if (StringQuotes.isEmpty() || at(m_position) != StringQuotes[0])
        return false;
    const QChar quote = StringQuotes[0];
    QString part;
    int p = m_position + 1;
    for (;;) {
        if (p > Size())
            return false;
        QChar c = at(p);
        if (c == quote) {
            if (!SpecStrChar && at(p + 1) == quote) {
                part += quote;
                p += 2;
                continue;
            }
            ++p;
            break;
        }
        if (SpecStrChar && c == u'\\') {
            ++p;
            const QChar escaped = at(p).toLower();
            if (escaped == u'n') {
                c = QChar(10);
            } else if (escaped == u'r') {
                c = QChar(13);
            } else if (escaped == u'x') {
                const int code = readHexRun(p + 1, 255);
                if (code < 0)
                    return false;
                c = Cp1251ToChar(quint8(code));
                while (hexValue(at(p + 1)) >= 0)
                    ++p;
            } else {
                c = at(p);
                if (p > Size())
                    return false;
            }
            part += c;
            ++p;
            continue;
        }
        if (c.unicode() < 9 || (c.unicode() >= 10 && c.unicode() <= 31))
            return false;
        part += c;
        ++p;
    }
    out += part;
    m_position = p;
    return true;
}

// A character code written as '#' and an integer of at most 255.
bool TzqParser::readCharCode(QString &out)
{
    if (at(m_position) != u'#')
        return false;
    const int start = m_position + 1;
    int code = -1;
    int end = start;
    if (textAt(start, HexSequence)) {
        const int digits = start + int(HexSequence.size());
        code = readHexRun(digits, 255);
        end = digits;
        while (hexValue(at(end)) >= 0)
            ++end;
    }
    if (code < 0) {
        end = readDigitRun(start);
        if (end == start)
            return false;
        code = 0;
        for (int p = start; p < end && code <= 255; ++p)
            code = code * 10 + (at(p).unicode() - '0');
        if (code > 255)
            return false;
    }
    out += Cp1251ToChar(quint8(code));
    m_position = end;
    return true;
}

QString TzqParser::GetString()
{
    if (SkipSpace)
        SkipSpaces();
    m_lastPosition = m_position;
    QString value;
    bool found = false;
    while (readQuotedPart(value) || readCharCode(value))
        found = true;
    if (!found)
        return QString();
    return u'\'' + value + u'\'';
}

QString TzqParser::GetQVString()
{
    const int start = m_position;
    int depth = 1;
    while (m_position <= Size()) {
        const QChar c = at(m_position);
        if (c == u'"' || c == u'\'') {
            int p = m_position + 1;
            while (p <= Size() && at(p) != c)
                ++p;
            m_position = p + 1;
            continue;
        }
        if (c == u'<' || c == u'[') {
            ++depth;
        } else if (c == u'>' || c == u']') {
            if (--depth == 0)
                break;
        }
        ++m_position;
    }
    m_position = std::min(m_position, Size() + 1);
    return m_text.mid(start - 1, m_position - start);
}

QString TzqParser::GetXYPosition() const
{
    const auto it = std::lower_bound(m_lines.begin(), m_lines.end(), m_position);
    const int line = std::max(1, int(it - m_lines.begin()));
    const int column = m_position - m_lines[line - 1];
    return QString::number(line) + u':' + QString::number(column);
}

int TzqParser::GetPlainPosition(int column, int line) const
{
    if (line < 1 || line > m_lines.size())
        return -1;
    return m_lines[line - 1] + column;
}
