// The questionnaire program: the units start in their fixed order, then the
// main window runs until it is closed.  Shutting down goes the other way:
// the forms and the reports on them first, then the units in reverse order
// (the libraries' lists, then their locks).

#include "app/AppUnits.h"
#include "app/MainFrm.h"
#include "app/QtDialogs.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/core/Units.h"

#include <QApplication>

#include <csignal>
#include <cstdlib>
#include <filesystem>

namespace {

// The program's own font configuration (data/fontconfig/fonts.conf), found
// beside the executable, where it is installed with it, or in the source
// tree it was built from, unless FONTCONFIG_FILE names another.  It must be
// in effect before anything asks fontconfig.
void UseOwnFontConfiguration()
{
    if (std::getenv("FONTCONFIG_FILE"))
        return;
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    const std::filesystem::path candidates[] = {folder / "fonts.conf",
                                                folder / ".." / "share" / "questionnaire" / "fonts.conf",
                                                PROGRAM_SOURCE_FONTS_CONF};
    for (const std::filesystem::path &candidate : candidates)
        if (std::filesystem::is_regular_file(candidate, error)) {
            setenv("FONTCONFIG_FILE", candidate.c_str(), 1);
            return;
        }
}

} // namespace

int main(int argc, char **argv)
{
    UseOwnFontConfiguration();
    // A write past the file-size limit then fails with an error the user
    // sees, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
    UseRussianDates();
    QApplication qtApplication(argc, argv);
    RegisterAppUnits();
    Units::InitializeAll();
    Application->Initialize();
    Application->SetTitle(ProgramTitle());
    TMainForm *mainForm = nullptr;
    Application->CreateForm(mainForm);
    Application->Run();
    Application->DestroyComponents();
    Units::FinalizeAll();
    return 0;
}
