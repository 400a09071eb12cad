#pragma once

// Code pages and letter case.
//
// The system's 8-bit code page is fixed at Windows Cyrillic (1251): where a
// character's 8-bit code is observable (Chr/Ord, sets of characters, bytes
// that are hashed or written as 8-bit text) the cp1251 table converts.  Other
// code pages (fonts of other character sets) convert through iconv.
//
// Case mapping follows Unicode simple case mapping, one character for one, so
// Cyrillic letters (Ё included) change case with the Ansi* functions; the
// plain UpperCase/LowerCase/CompareText touch ASCII letters only, as the
// classic runtime does.

#include <QByteArray>
#include <QString>

// Code page numbers that stand for the system's own code pages.
enum : int {
    CP_ACP = 0,      // the system 8-bit code page (1251 here)
    CP_OEMCP = 1,    // the system console code page (866 here)
    CP_MACCP = 2,    // the system Macintosh code page (Mac Cyrillic here)
    CP_SYMBOL = 42,  // the symbol font mapping: byte b <-> U+F000 + b
    CP_UTF8 = 65001,
};

// Font character sets.
enum : int {
    ANSI_CHARSET = 0,
    DEFAULT_CHARSET = 1,
    SYMBOL_CHARSET = 2,
    MAC_CHARSET = 77,
    SHIFTJIS_CHARSET = 128,
    HANGEUL_CHARSET = 129,
    JOHAB_CHARSET = 130,
    GB2312_CHARSET = 134,
    CHINESEBIG5_CHARSET = 136,
    GREEK_CHARSET = 161,
    TURKISH_CHARSET = 162,
    VIETNAMESE_CHARSET = 163,
    HEBREW_CHARSET = 177,
    ARABIC_CHARSET = 178,
    BALTIC_CHARSET = 186,
    RUSSIAN_CHARSET = 204,
    THAI_CHARSET = 222,
    EASTEUROPE_CHARSET = 238,
    OEM_CHARSET = 255,
};

// --- The cp1251 table ------------------------------------------------------

// The character of an 8-bit cp1251 code.  The one unassigned code (0x98)
// maps to U+0098 so that every byte round-trips.
QChar Cp1251ToChar(quint8 code);

// The cp1251 code of a character; '?' (and *ok false) when it has none.
quint8 CharToCp1251(QChar c, bool *ok = nullptr);

QString Cp1251ToString(const QByteArray &bytes);
QByteArray StringToCp1251(const QString &text);
// One byte per character as StringToCp1251, but a character that cp1251
// lacks raises EConvertError instead of becoming '?'.
QByteArray StringToCp1251Exact(const QString &text);

// Lines of text as the bytes of a stream or a file hold them: cp1251, one
// byte per character, so that they read back through byte-wise stream
// reads.  A text that cp1251 cannot hold, or whose cp1251 bytes a reader
// would take for UTF-8 (they begin with the UTF-8 byte-order mark, or are
// valid UTF-8 beyond ASCII, as "Сё" is), is written as UTF-8 after a
// byte-order mark instead, so that every text reads back as written.
QByteArray TextToStreamBytes(const QString &text);
// The reverse: UTF-8 after a byte-order mark, or bytes that are valid UTF-8
// beyond plain ASCII (the system's own text files); cp1251 otherwise.
QString StreamBytesToText(const QByteArray &bytes);

// --- Other code pages ------------------------------------------------------

// The code page of a font character set: DEFAULT_CHARSET gives the system
// code page (1251), MAC_CHARSET CP_MACCP, OEM_CHARSET CP_OEMCP, SYMBOL_CHARSET
// CP_SYMBOL; an unknown character set gives the system code page.
int CharsetToCodePage(int charset);

// 8-bit text in a code page to Unicode and back.  CP_ACP, CP_OEMCP and CP_MACCP
// mean the system's code pages.  Bytes that do not decode become U+FFFD;
// characters that the code page lacks become '?'.  An unknown code page
// raises EConvertError.
QString AnsiToWide(const QByteArray &bytes, int codePage);
QByteArray WideToAnsi(const QString &text, int codePage);

// --- Letter case and comparison --------------------------------------------

// ASCII letters only.
QString UpperCase(const QString &s);
QString LowerCase(const QString &s);

// Every cp1251 letter whose simple case mapping is a cp1251 letter, Cyrillic
// included; every other character stays as it is.
QString AnsiUpperCase(const QString &s);
QString AnsiLowerCase(const QString &s);

// Ordinal comparisons by the cp1251 code (characters outside cp1251 after
// all of them): negative, zero or positive.  CompareText ignores the case of
// ASCII letters only.
int CompareStr(const QString &a, const QString &b);
int CompareText(const QString &a, const QString &b);
bool SameText(const QString &a, const QString &b);

// Alphabetical comparisons within each script, the scripts in their standard
// order (Latin, Greek, Cyrillic), lower case before upper case
// (AnsiCompareStr("a", "A") < 0); texts the collation finds equal are
// ordered by their codes, so only equal texts give 0.  AnsiCompareText ignores
// the case of every letter.
int AnsiCompareStr(const QString &a, const QString &b);
int AnsiCompareText(const QString &a, const QString &b);
bool AnsiSameText(const QString &a, const QString &b);
