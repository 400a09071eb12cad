// Compiles and runs arbitrary program text in each script language under a
// step budget: the trace hook terminates the run after a number of
// statements.  The first byte picks the language; the rest is the text.
// Script errors (compile errors, run-time exceptions) are expected results;
// a crash, a hang or a sanitizer report is not.

#include "FuzzSupport.h"

#include "script/ScriptUnits.h"
#include "script/zqScript.h"
#include "toolkit/classes/TStringList.h"
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
    TzqScript script;
    script.AddType(QStringLiteral("Integer"), fvtInt);
    script.AddType(QStringLiteral("String"), fvtString);
    script.AddType(QStringLiteral("Boolean"), fvtBool);
    script.AddType(QStringLiteral("Extended"), fvtFloat);
    script.AddConst(QStringLiteral("True"), QStringLiteral("Boolean"), Variant(true));
    // Used units are empty: nothing is read from the file system.
    script.OnGetUnit = [](TzqScript *, const QString &, QString &unitText) { unitText.clear(); };
    int steps = 0;
    script.OnRunLine = [&steps](TzqScript *sender, const QString &, const QString &) {
        if (++steps == 2000)
            zqMainScriptOf(sender)->Terminate();
    };
    script.SetSyntaxType(QString::fromLatin1(languages[data[0] % 4]));
    script.Lines()->SetText(QString::fromUtf8(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1)));
    Guarded([&script] {
        if (script.Compile())
            script.Execute();
    });
    return 0;
}
