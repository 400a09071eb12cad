// The questionnaire program: the units start in their fixed order, then the
// main window runs until it is closed.  Shutting down goes the other way:
// the forms and the reports on them first, then the units in reverse order
// (the libraries' lists, then their locks).

#include "app/AppUnits.h"
#include "app/MainFrm.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/core/Units.h"

#include <QApplication>

int main(int argc, char **argv)
{
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
