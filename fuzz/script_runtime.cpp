// Compiles and runs arbitrary program text in each script language under a
// step budget: the trace hook terminates the run after a number of
// statements.  The first byte picks the language; the rest is the text.
// The script has every binding module, as report scripts do: lists,
// streams, ini files, dialogs, graphics, controls and forms.  Dialogs are
// cancelled at once, and the process works in a folder of its own, so files
// that programs create land there; the paths among its arguments are made
// absolute before it moves there (see FuzzArguments.h).  Script errors (compile errors, run-time
// exceptions) are expected results; a crash, a hang or a sanitizer report is
// not.  Seeds are in fuzz/seeds/script_runtime ("0" starts a PascalScript
// program, "1" C++Script, "2" BasicScript, "3" JScript).

#include "FuzzArguments.h"
#include "FuzzSupport.h"

#include "script/ScriptUnits.h"
#include "script/zqScript.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Units.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void initialize()
{
    static QTemporaryDir workFolder;
    QDir::setCurrent(workFolder.path());
    StartGuiApplication("script_runtime_fuzzer", RegisterScriptUnits);
    InstallCancellingRunner();
    std::atexit(Units::FinalizeAll);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    MakeFuzzerArgumentsAbsolute(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const bool ready = (initialize(), true);
    Q_UNUSED(ready);
    if (size == 0)
        return 0;

    static const char *const languages[] = {"PascalScript", "C++Script", "BasicScript", "JScript"};
    TzqScript script;
    script.AddRTTIModules();
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
