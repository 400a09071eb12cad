// The questionnaire program: the units start in their fixed order, then the
// main window runs until it is closed.

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
    Units::FinalizeAll();
    return 0;
}
