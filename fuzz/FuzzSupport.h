#pragma once

// Shared by the fuzz targets.

#include "toolkit/core/Exceptions.h"
#include "toolkit/widgets/ModalRunner.h"

#include <QApplication>
#include <QCoreApplication>

// Runs an action on fuzzed input; the runtime's exceptions are the expected
// answer to bad input, anything else (a crash, a sanitizer report) is not.
template <class Action>
void Guarded(Action action)
{
    try {
        action();
    } catch (const Exception &) {
    }
}

// Makes the core application the object model needs, once for the process;
// name (a literal) is the target's program name.
inline void StartCoreApplication(const char *name)
{
    static int argc = 1;
    static char *argv[] = {const_cast<char *>(name), nullptr};
    static QCoreApplication application(argc, argv);
}

// Makes the widget application that forms and dialogs need, on the
// offscreen platform, once for the process; name (a literal) is the target's
// program name.
inline void StartWidgetApplication(const char *name)
{
    static int argc = 1;
    static char *argv[] = {const_cast<char *>(name), nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
}

// Modal forms, message boxes, input boxes and common dialogs that fuzzed
// input brings up are all cancelled at once.
class TCancellingRunner : public ModalRunner
{
public:
    int RunForm(TCustomForm &) override { return mrCancel; }
    int MessageBox(const TMessageBoxRequest &) override { return mrCancel; }
    bool InputQuery(TInputRequest &) override { return false; }
    bool FileDialog(TFileDialogRequest &) override { return false; }
    bool ColorDialog(TColor &) override { return false; }
    bool FontDialog(TFontData &) override { return false; }
    bool PrintDialog(TPrintRequest &) override { return false; }
};

inline void InstallCancellingRunner()
{
    static TCancellingRunner runner;
    ModalRunner::Install(&runner);
}
