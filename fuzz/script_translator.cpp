// Translates arbitrary source text in each script language.  The first byte
// picks the language; the rest is the text.  Syntax errors are expected
// results; only an unknown language in a "#language" line may raise.

#include "script/ScriptUnits.h"
#include "script/zqILParser.h"
#include "script/zqScript.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Units.h"

#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool started = [] {
        RegisterScriptUnits();
        Units::InitializeAll();
        return true;
    }();
    (void)started;
    if (size == 0)
        return 0;

    static const char *const languages[] = {"PascalScript", "C++Script", "BasicScript", "JScript"};
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    TzqScript script;
    // Used units come from the text itself, never from the file system.
    script.OnGetUnit = [&text](TzqScript *, const QString &, QString &unitText) { unitText = text.left(64); };
    TzqILParser parser(&script);
    try {
        parser.SelectLanguage(QString::fromLatin1(languages[data[0] % 4]));
        parser.MakeIL(text);
    } catch (const Exception &) {
    }
    return 0;
}
