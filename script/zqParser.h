#pragma once

// The configurable tokenizer of the script engine.
//
// TzqParser knows no grammar of its own: the translator asks it for one kind
// of token at a time, and the settings (comments, quotes, hexadecimal prefix,
// identifier characters, line-end handling) come from the selected language.
// Positions are 1-based character indexes into the text; every token reader
// returns an empty string (or false) when its token is not there and never
// raises.

#include <QList>
#include <QString>
#include <QStringList>
#include <bitset>

class TzqParser
{
public:
    TzqParser();

    // Restores every setting to its default and empties the keywords.
    void Clear();

    // Settings.  Comment blocks are "begin,end"; either marker may be empty.
    bool CaseSensitive = false;
    QString CommentLine1;
    QString CommentLine2;
    QString HexSequence;
    QString SkipChar;      // line-continuation character (first one used)
    bool SkipEOL = true;   // line ends count as blanks
    bool SkipSpace = true; // word, string and number readers skip blanks first
    bool SpecStrChar = false; // backslash escapes in strings
    QString StringQuotes;  // string delimiter (first one used)
    bool UseY = true;      // keep the line table

    const QString &CommentBlock1() const { return m_commentBlock1; }
    const QString &CommentBlock2() const { return m_commentBlock2; }
    void SetCommentBlock1(const QString &value);
    void SetCommentBlock2(const QString &value);

    // The identifier characters become exactly the characters of the text.
    void SetIdentifierCharset(const QString &chars);
    // Adds the characters of the 8-bit codes 128..255 (national alphabets).
    void AddExtendedCharset();
    bool IsIdentifierChar(QChar c) const;

    void AddKeyword(const QString &word);
    bool IsKeyword(const QString &word) const;

    const QString &Text() const { return m_text; }
    void SetText(const QString &text);
    int Size() const { return int(m_text.size()); }

    int Position() const { return m_position; }
    void SetPosition(int position);
    int LastPosition() const { return m_lastPosition; }

    void SkipSpaces();
    bool GetEOL();
    QString GetChar();
    QString GetWord();
    QString GetIdent();
    QString GetNumber();
    QString GetString();
    QString GetQVString();

    // Where the first block comment without its end marker began; 0 when
    // none was met.
    int UnclosedComment() const { return m_unclosedComment; }

    // "line:col" of the current position.
    QString GetXYPosition() const;
    // The position of a column on a line, or -1 for a line out of range.
    int GetPlainPosition(int column, int line) const;

private:
    QChar at(int position) const;
    bool textAt(int position, const QString &marker) const;
    bool skipLineContinuation();
    bool skipComment();
    bool readCharCode(QString &out);
    bool readQuotedPart(QString &out);
    int readHexRun(int from, int maxValue) const;
    int readDigitRun(int from) const;
    int scanInteger(int from) const;

    QString m_commentBlock1;
    QString m_commentBlock2;
    QString m_blockBegin[2];
    QString m_blockEnd[2];
    std::bitset<256> m_identifierCharset;
    QStringList m_keywords; // sorted without regard to case
    QString m_text;
    int m_position = 1;
    int m_lastPosition = 1;
    int m_unclosedComment = 0;
    QList<int> m_lines; // 0, then the position of every LF
};
