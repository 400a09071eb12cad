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

int main(int argc, char **argv)
{
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
