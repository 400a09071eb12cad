#include "report/base/qvxCodePages.h"

#include "toolkit/core/CodePages.h"

namespace {

constexpr int ProgramLocale = 1049;

int effectiveCodePage(int charset, int codePage)
{
    return codePage != 0 ? codePage : qvxCharsetToCodePage(charset);
}

} // namespace

int qvxCharsetToCodePage(int charset)
{
    return CharsetToCodePage(charset);
}

QString qvxAnsiToWideString(const QByteArray &text, int charset, int codePage)
{
    return AnsiToWide(text, effectiveCodePage(charset, codePage));
}

QByteArray qvxWideStringToAnsi(const QString &text, int charset, int codePage)
{
    return WideToAnsi(text, effectiveCodePage(charset, codePage));
}

int qvxCharsetToLocale(int charset)
{
    switch (charset) {
    case 128: return 1041;
    case 129: return 1042;
    case 130: return 2066;
    case 134: return 2052;
    case 136: return 3076;
    case 161: return 1032;
    case 162: return 1055;
    case 163: return 1066;
    case 177: return 1037;
    case 178: return 13313;
    case 186: return 1061;
    case 204: return 1049;
    case 222: return 1054;
    case 238: return 1029;
    default: return ProgramLocale;
    }
}
