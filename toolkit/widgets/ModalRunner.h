#pragma once

// Modal interaction in one replaceable place.
//
// Every modal form, message box, input box and common dialog of the program
// runs through the current runner.  The interactive runner shows Qt windows
// and waits for the user; tests install their own runner and answer
// instead.  Requests carry everything the user would see, and the runner
// writes the answer back into them.

#include "toolkit/graphics/Colors.h"
#include "toolkit/widgets/CommonDialogs.h"
#include "toolkit/widgets/ControlTypes.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/printing/Printers.h"

#include <QString>
#include <QStringList>

class TCustomForm;

struct TMessageBoxRequest {
    QString Caption;
    QString Text;
    TMsgDlgType Type = mtCustom;
    TMsgDlgButtons Buttons = mbOK;
};

struct TInputRequest {
    QString Caption;
    QString Prompt;
    QString Value; // shown for editing; the answer on confirmation
    bool Masked = false; // the text is hidden as it is typed (a password)
};

struct TFileDialogRequest {
    bool Save = false;
    QString Title;
    QString InitialDir;
    QString FileName;    // proposed; the chosen file on confirmation
    QStringList Filters; // Qt name filters: "Desc (*.a *.b)"
    int FilterIndex = 0; // 0-based into Filters; the chosen one on confirmation
    QString DefaultExt;  // without the dot
    bool MultiSelect = false;
    bool OverwritePrompt = false;
    bool FileMustExist = false;
    QStringList Files; // every chosen file on confirmation
};

struct TPrintRequest {
    QString PrinterName; // empty: the default printer
    int Copies = 1;
    bool Collate = false;
    int FromPage = 0;
    int ToPage = 0;
    int MinPage = 0;
    int MaxPage = 0;
    TPrintRange PrintRange = prAllPages;
    bool PrintToFile = false;
    // Which choices the dialog offers.
    TPrintDialogOptions Options;
    // A printer set-up: only the printer and the orientation are chosen.
    // The interactive runner answers false when no printer is installed.
    bool SetupOnly = false;
    TPrinterOrientation Orientation = poPortrait;
};

class ModalRunner
{
public:
    virtual ~ModalRunner() = default;

    // Runs a form that ShowModal has shown until its ModalResult is set (or
    // it is closed); answers the modal result.
    virtual int RunForm(TCustomForm &form) = 0;
    // Answers the modal result of the button pressed (mrCancel when the box
    // was closed otherwise).
    virtual int MessageBox(const TMessageBoxRequest &request) = 0;
    virtual bool InputQuery(TInputRequest &request) = 0;
    virtual bool FileDialog(TFileDialogRequest &request) = 0;
    virtual bool ColorDialog(TColor &color) = 0;
    virtual bool FontDialog(TFontData &font) = 0;
    virtual bool PrintDialog(TPrintRequest &request) = 0;

    static ModalRunner &Current();
    // Installs runner (not owned) and answers the previous one; nullptr
    // returns to the interactive runner.
    static ModalRunner *Install(ModalRunner *runner);
};

// Shows real Qt windows and waits for the user.
class InteractiveModalRunner : public ModalRunner
{
public:
    int RunForm(TCustomForm &form) override;
    int MessageBox(const TMessageBoxRequest &request) override;
    bool InputQuery(TInputRequest &request) override;
    bool FileDialog(TFileDialogRequest &request) override;
    bool ColorDialog(TColor &color) override;
    bool FontDialog(TFontData &font) override;
    bool PrintDialog(TPrintRequest &request) override;
};
