#pragma once

// The options dialog of the PDF filter: four pages (export options and
// page range, document information, security, viewer preferences), then
// the save dialog for the file.
//
// The settings travel between the filter and the form as a
// TqvxPDFDialogState, so what the dialog reads and writes can be checked
// without a window.  OK checks every field first and keeps the dialog open
// with a message while one is wrong; the filter is written all at once.

#include "toolkit/widgets/TForm.h"

#include <QString>

class TButton;
class TCheckBox;
class TEdit;
class TGroupBox;
class TLabel;
class TPageControl;
class TRadioButton;
class TTabSheet;
class TqvxPDFExport;

struct TqvxPDFDialogState {
    enum Range { AllPages, CurrentPage, PageNumbers };

    bool OpenAfterExport = false;
    bool Compressed = true;
    bool EmbeddedFonts = false;
    bool PrintOptimized = false;
    bool Outline = false;
    bool Background = false;
    QString Quality;
    Range PageRange = AllPages;
    QString PageNumbersText;
    // The pages of the report exported; 0 when not known.
    int PageCount = 0;

    QString Title;
    QString Author;
    QString Subject;
    QString Keywords;
    QString Creator;
    QString Producer;

    QString OwnerPassword;
    QString UserPassword;
    bool AllowPrint = true;
    bool AllowModify = true;
    bool AllowCopy = true;
    bool AllowAnnot = true;

    bool HideToolbar = false;
    bool HideMenubar = false;
    bool HideWindowUI = false;
    bool FitWindow = false;
    bool CenterWindow = false;
    bool PrintScaling = false;
};

// The filter's settings as the dialog shows them.
TqvxPDFDialogState qvxPDFDialogState(const TqvxPDFExport &filter);
// The message for the first field that cannot be written back (a page
// range that names no page of the report, a JPEG quality that is no whole
// number from 0 to 100, a password of characters PDF readers cannot
// take); empty when every field is good.
// The field the message is about goes into *field.
enum class TqvxPDFDialogField { None, PageNumbers, Quality, OwnerPassword, UserPassword };
QString qvxPDFDialogError(const TqvxPDFDialogState &state, TqvxPDFDialogField *field = nullptr);
// Writes the state into the filter: the passwords, the permissions, the
// page range (CurrentPageOnly for the current page), the options, the
// information and the viewer preferences.  Raises Exception with the
// message of qvxPDFDialogError, writing nothing, when a field is wrong.
void qvxApplyPDFDialogState(const TqvxPDFDialogState &state, TqvxPDFExport &filter);

class TqvxPDFExportDialog : public TForm
{
    Q_OBJECT

public:
    explicit TqvxPDFExportDialog(TComponent *owner = nullptr);

    void SetState(const TqvxPDFDialogState &state);
    TqvxPDFDialogState State() const;
    // The outline box is checked from the state and can be changed only
    // while the report shows its outline.
    void SetOutlineEnabled(bool enabled);

    TPageControl *PageControl1;
    TButton *OkB;
    TButton *CancelB;

    TTabSheet *ExportPage;
    TCheckBox *OpenCB;
    TGroupBox *GroupQuality;
    TCheckBox *CompressedCB;
    TCheckBox *EmbeddedCB;
    TCheckBox *PrintOptCB;
    TCheckBox *OutlineCB;
    TCheckBox *BackgrCB;
    TLabel *Label2;
    TEdit *Quality;
    TGroupBox *GroupPageRange;
    TRadioButton *AllRB;
    TRadioButton *CurPageRB;
    TRadioButton *PageNumbersRB;
    TEdit *PageNumbersE;
    TLabel *DescrL;

    TTabSheet *InfoPage;
    TGroupBox *DocInfoGB;
    TLabel *TitleL;
    TEdit *TitleE;
    TLabel *AuthorL;
    TEdit *AuthorE;
    TLabel *SubjectL;
    TEdit *SubjectE;
    TLabel *KeywordsL;
    TEdit *KeywordsE;
    TLabel *CreatorL;
    TEdit *CreatorE;
    TLabel *ProducerL;
    TEdit *ProducerE;

    TTabSheet *SecurityPage;
    TGroupBox *SecGB;
    TLabel *OwnPassL;
    TEdit *OwnPassE;
    TLabel *UserPassL;
    TEdit *UserPassE;
    TGroupBox *PermGB;
    TCheckBox *PrintCB;
    TCheckBox *ModCB;
    TCheckBox *CopyCB;
    TCheckBox *AnnotCB;

    TTabSheet *ViewerPage;
    TGroupBox *ViewerGB;
    TCheckBox *HideToolbarCB;
    TCheckBox *HideMenubarCB;
    TCheckBox *HideWindowUICB;
    TCheckBox *FitWindowCB;
    TCheckBox *CenterWindowCB;
    TCheckBox *PrintScalingCB;

private:
    void okClick();

    bool m_updating = false;
    int m_pageCount = 0;
};

// The whole dialog for the filter, as the filter's ShowModal runs it after
// filling Title and Outline: the options, then (unless the filter runs
// inside another export) the save dialog.  Answers mrOk, or mrCancel when
// either is cancelled; the confirmed options are written back even when the
// save dialog is then cancelled.
int qvxRunPDFExportDialog(TqvxPDFExport &filter);

// Unit start-up installs the dialog as the PDF filter's; shut-down removes
// it.
void InitializeQvxPDFExportDialog();
void FinalizeQvxPDFExportDialog();
