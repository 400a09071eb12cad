#include "toolkit/core/CodePages.h"

#include "toolkit/core/Exceptions.h"

#include <QCollator>
#include <QLocale>
#include <QStringDecoder>

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

// cp1251 codes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
const char16_t kCp1251High[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,
};

const int kSystemCodePage = 1251;
const int kSystemOemCodePage = 866;

const char *IconvName(int codePage)
{
    switch (codePage) {
    case CP_MACCP: return "MACCYRILLIC";
    case CP_UTF8: return "UTF-8";
    case 437: return "CP437";
    case 850: return "CP850";
    case 866: return "CP866";
    case 874: return "CP874";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1250: return "CP1250";
    case 1251: return "CP1251";
    case 1252: return "CP1252";
    case 1253: return "CP1253";
    case 1254: return "CP1254";
    case 1255: return "CP1255";
    case 1256: return "CP1256";
    case 1257: return "CP1257";
    case 1258: return "CP1258";
    case 1361: return "JOHAB";
    case 10000: return "MACINTOSH";
    case 10007: return "MACCYRILLIC";
    default: return nullptr;
    }
}

int ResolveCodePage(int codePage)
{
    if (codePage == CP_ACP)
        return kSystemCodePage;
    if (codePage == CP_OEMCP)
        return kSystemOemCodePage;
    return codePage;
}

// One iconv conversion; on a sequence that does not convert, `replacement`
// is appended and `skip(input, left)` bytes of the input are passed over.
class IconvConverter
{
public:
    IconvConverter(const char *to, const char *from) : m_cd(iconv_open(to, from)) {}
    ~IconvConverter()
    {
        if (m_cd != reinterpret_cast<iconv_t>(-1))
            iconv_close(m_cd);
    }
    IconvConverter(const IconvConverter &) = delete;
    IconvConverter &operator=(const IconvConverter &) = delete;

    bool IsValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    template <class Skip>
    QByteArray Convert(const QByteArray &input, const QByteArray &replacement, Skip skip)
    {
        QByteArray out;
        out.reserve(input.size() * 2 + 8);
        char *in = const_cast<char *>(input.constData());
        size_t inLeft = size_t(input.size());
        char buffer[1024];
        while (inLeft > 0) {
            char *dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(m_cd, &in, &inLeft, &dst, &dstLeft);
            out.append(buffer, dst - buffer);
            if (rc != size_t(-1) || errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (a truncated sequence at the end).
            out.append(replacement);
            const size_t n = std::min(inLeft, skip(in, inLeft));
            in += n;
            inLeft -= n;
            iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t m_cd;
};

EConvertError UnsupportedCodePage(int codePage)
{
    return EConvertError(QStringLiteral("Code page %1 is not supported").arg(codePage));
}

const char *RequireIconvName(int codePage)
{
    const char *name = IconvName(codePage);
    if (!name)
        throw UnsupportedCodePage(codePage);
    return name;
}

// A symbol font keeps its glyphs at U+F000 + byte.
QString SymbolToWide(const QByteArray &bytes)
{
    QString result(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const quint8 b = quint8(bytes[i]);
        result[i] = QChar(b < 0x20 ? b : 0xF000 + b);
    }
    return result;
}

QByteArray WideToSymbol(const QString &text)
{
    QByteArray result(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        result[i] = char(u >= 0xF000 && u <= 0xF0FF ? u - 0xF000 : u <= 0xFF ? u : '?');
    }
    return result;
}

template <class Fold>
int CompareFolded(const QString &a, const QString &b, Fold fold)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        const int ca = fold(a[i]);
        const int cb = fold(b[i]);
        if (ca != cb)
            return ca - cb;
    }
    return int(a.size() - b.size());
}

// The cp1251 code; characters outside cp1251 after all of them, by code point.
int Ordinal(QChar c)
{
    bool ok = false;
    const quint8 code = CharToCp1251(c, &ok);
    return ok ? code : 256 + c.unicode();
}

QChar AsciiUpperChar(QChar c)
{
    const char16_t u = c.unicode();
    return QChar(u >= 'a' && u <= 'z' ? u - 32 : u);
}

int AsciiUpper(QChar c)
{
    return Ordinal(AsciiUpperChar(c));
}

// The root collation (ICU): letters alphabetical within each script and the
// scripts in their standard order, Latin before Greek before Cyrillic; lower
// case before upper case.  English uses the root order unchanged, where the
// Russian tailoring would move Cyrillic first.
QCollator NewRootCollator(Qt::CaseSensitivity sensitivity)
{
    QCollator collator(QLocale(QLocale::English, QLocale::UnitedStates));
    collator.setCaseSensitivity(sensitivity);
    return collator;
}

const QCollator &RootCollator(Qt::CaseSensitivity sensitivity)
{
    thread_local const QCollator sensitive = NewRootCollator(Qt::CaseSensitive);
    thread_local const QCollator insensitive = NewRootCollator(Qt::CaseInsensitive);
    return sensitivity == Qt::CaseSensitive ? sensitive : insensitive;
}

// Maps the characters whose image is a cp1251 character too; every other
// character stays as it is.
bool InCp1251(QChar c)
{
    bool ok = false;
    CharToCp1251(c, &ok);
    return ok;
}

template <class Map>
QChar MapInCp1251(QChar c, Map map)
{
    const QChar mapped = map(c);
    return mapped != c && InCp1251(c) && InCp1251(mapped) ? mapped : c;
}

template <class Map>
QString MapChars(const QString &s, Map map)
{
    QString result = s;
    QChar *data = result.data();
    for (qsizetype i = 0; i < result.size(); ++i)
        data[i] = map(data[i]);
    return result;
}

} // namespace

QChar Cp1251ToChar(quint8 code)
{
    if (code < 0x80)
        return QChar(code);
    if (code >= 0xC0)
        return QChar(0x0410 + (code - 0xC0));
    return QChar(kCp1251High[code - 0x80]);
}

quint8 CharToCp1251(QChar c, bool *ok)
{
    const char16_t u = c.unicode();
    if (ok)
        *ok = true;
    if (u < 0x80)
        return quint8(u);
    if (u >= 0x0410 && u <= 0x044F)
        return quint8(0xC0 + (u - 0x0410));
    for (int i = 0; i < 64; ++i)
        if (kCp1251High[i] == u)
            return quint8(0x80 + i);
    if (ok)
        *ok = false;
    return '?';
}

QString Cp1251ToString(const QByteArray &bytes)
{
    QString result(bytes.size(), Qt::Uninitialized);
    QChar *out = result.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = Cp1251ToChar(quint8(bytes[i]));
    return result;
}

namespace {

// The cp1251 bytes of text; missing receives the index of the first
// character that cp1251 lacks (written as '?'), or -1.
QByteArray cp1251Bytes(const QString &text, qsizetype &missing)
{
    missing = -1;
    QByteArray result(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        bool ok = false;
        result[i] = char(CharToCp1251(text[i], &ok));
        if (!ok && missing < 0)
            missing = i;
    }
    return result;
}

const QByteArray utf8Mark("\xEF\xBB\xBF");

} // namespace

QByteArray StringToCp1251(const QString &text)
{
    qsizetype missing;
    return cp1251Bytes(text, missing);
}

QByteArray StringToCp1251Exact(const QString &text)
{
    qsizetype missing;
    QByteArray bytes = cp1251Bytes(text, missing);
    if (missing >= 0)
        throw EConvertError(QStringLiteral("Character U+%1 has no code in code page 1251")
                                .arg(QString::number(text[missing].unicode(), 16).toUpper().rightJustified(4, u'0')));
    return bytes;
}

namespace {

// Bytes that a reader takes for UTF-8 rather than cp1251: they begin with
// the byte-order mark, or go beyond ASCII and are valid UTF-8 throughout
// (as the text files of the system's own programs are).
bool readsAsUtf8(const QByteArray &bytes)
{
    if (bytes.startsWith(utf8Mark))
        return true;
    bool beyondAscii = false;
    for (qsizetype i = 0; i < bytes.size();) {
        const auto lead = quint8(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        beyondAscii = true;
        // The shortest form only; no surrogates, nothing past U+10FFFF.
        int length = 0;
        quint8 low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        }
        if (length == 0 || i + length > bytes.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const auto next = quint8(bytes[i + k]);
            if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
                return false;
        }
        i += length;
    }
    return beyondAscii;
}

} // namespace

QByteArray TextToStreamBytes(const QString &text)
{
    qsizetype missing;
    QByteArray bytes = cp1251Bytes(text, missing);
    if (missing < 0 && !readsAsUtf8(bytes))
        return bytes;
    return utf8Mark + text.toUtf8();
}

QString StreamBytesToText(const QByteArray &bytes)
{
    if (!readsAsUtf8(bytes))
        return Cp1251ToString(bytes);
    // A mark of the text's own after the one that says UTF-8 stays.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    const QString text = utf8.decode(bytes.startsWith(utf8Mark) ? bytes.mid(utf8Mark.size()) : bytes);
    return text;
}

int CharsetToCodePage(int charset)
{
    switch (charset) {
    case 0: return 1252;
    case DEFAULT_CHARSET: return kSystemCodePage;
    case SYMBOL_CHARSET: return CP_SYMBOL;
    case MAC_CHARSET: return CP_MACCP;
    case 128: return 932;
    case 129: return 949;
    case 130: return 1361;
    case 134: return 936;
    case 136: return 950;
    case 161: return 1253;
    case 162: return 1254;
    case 163: return 1258;
    case 177: return 1255;
    case 178: return 1256;
    case 186: return 1257;
    case 204: return 1251;
    case 222: return 874;
    case 238: return 1250;
    case OEM_CHARSET: return CP_OEMCP;
    default: return kSystemCodePage;
    }
}

QString AnsiToWide(const QByteArray &bytes, int codePage)
{
    codePage = ResolveCodePage(codePage);
    if (codePage == kSystemCodePage)
        return Cp1251ToString(bytes);
    if (codePage == CP_SYMBOL)
        return SymbolToWide(bytes);
    if (codePage == CP_UTF8)
        return QString::fromUtf8(bytes);
    IconvConverter converter("UTF-16LE", RequireIconvName(codePage));
    if (!converter.IsValid())
        throw UnsupportedCodePage(codePage);
    const QByteArray replacement("\xFD\xFF", 2);
    const QByteArray utf16 = converter.Convert(bytes, replacement, [](const char *, size_t) { return size_t(1); });
    return QString(reinterpret_cast<const QChar *>(utf16.constData()), utf16.size() / 2);
}

QByteArray WideToAnsi(const QString &text, int codePage)
{
    codePage = ResolveCodePage(codePage);
    if (codePage == kSystemCodePage)
        return StringToCp1251(text);
    if (codePage == CP_SYMBOL)
        return WideToSymbol(text);
    if (codePage == CP_UTF8)
        return text.toUtf8();
    IconvConverter converter(RequireIconvName(codePage), "UTF-16LE");
    if (!converter.IsValid())
        throw UnsupportedCodePage(codePage);
    const QByteArray utf16(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    // Skip one UTF-16 unit, or both halves of a surrogate pair.
    auto skip = [](const char *in, size_t left) -> size_t {
        const char16_t unit = char16_t(quint8(in[0]) | (quint8(in[1]) << 8));
        return QChar::isHighSurrogate(unit) && left >= 4 ? 4 : 2;
    };
    return converter.Convert(utf16, QByteArray("?"), skip);
}

QString UpperCase(const QString &s)
{
    return MapChars(s, AsciiUpperChar);
}

QString LowerCase(const QString &s)
{
    return MapChars(s, [](QChar c) {
        const char16_t u = c.unicode();
        return QChar(u >= 'A' && u <= 'Z' ? u + 32 : u);
    });
}

QString AnsiUpperCase(const QString &s)
{
    return MapChars(s, [](QChar c) { return MapInCp1251(c, [](QChar x) { return x.toUpper(); }); });
}

QString AnsiLowerCase(const QString &s)
{
    return MapChars(s, [](QChar c) { return MapInCp1251(c, [](QChar x) { return x.toLower(); }); });
}

int CompareStr(const QString &a, const QString &b)
{
    return CompareFolded(a, b, Ordinal);
}

int CompareText(const QString &a, const QString &b)
{
    return CompareFolded(a, b, AsciiUpper);
}

bool SameText(const QString &a, const QString &b)
{
    return a.size() == b.size() && CompareText(a, b) == 0;
}

int AnsiCompareStr(const QString &a, const QString &b)
{
    const int order = RootCollator(Qt::CaseSensitive).compare(a, b);
    return order != 0 ? order : CompareStr(a, b);
}

int AnsiCompareText(const QString &a, const QString &b)
{
    const int order = RootCollator(Qt::CaseInsensitive).compare(a, b);
    return order != 0 ? order : CompareStr(AnsiUpperCase(a), AnsiUpperCase(b));
}

bool AnsiSameText(const QString &a, const QString &b)
{
    return a.size() == b.size() && AnsiCompareText(a, b) == 0;
}
