#include "preview/qvxPDFExportDialog.h"

#include "export/pdf/qvxExportPDF.h"
#include "export/pdf/qvxPDFOptionsDialog.h"
#include "export/pdf/qvxPDFSecurity.h"
#include "preview/qvxDialogControls.h"
#include "preview/qvxDialogHelp.h"
#include "preview/qvxPageRangeInput.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxErrors.h"
#include "report/model/qvxResources.h"
#include "report/report/qvxReport.h"
#include "toolkit/widgets/CommonDialogs.h"
#include "toolkit/widgets/ModalRunner.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TGroupBox.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TPageControl.h"
#include "toolkit/widgets/TRadioButton.h"

#include <QFileInfo>

namespace {

bool readQuality(const QString &text, int &quality)
{
    bool ok = false;
    quality = text.trimmed().toInt(&ok);
    return ok && quality >= 0 && quality <= 100;
}

} // namespace

TqvxPDFDialogState qvxPDFDialogState(const TqvxPDFExport &filter)
{
    TqvxPDFDialogState state;
    state.OpenAfterExport = filter.OpenAfterExport();
    state.Compressed = filter.Compressed();
    state.EmbeddedFonts = filter.EmbeddedFonts();
    state.PrintOptimized = filter.PrintOptimized();
    state.Outline = filter.Outline();
    state.Background = filter.Background();
    state.Quality = QString::number(filter.Quality());
    if (const TqvxReportLink *report = filter.Report())
        if (TqvxCustomPreviewPages *pages = report->PreviewPages())
            state.PageCount = pages->Count();
    if (!filter.PageNumbers().isEmpty()) {
        state.PageRange = TqvxPDFDialogState::PageNumbers;
        state.PageNumbersText = filter.PageNumbers();
    }
    state.Title = filter.Title();
    state.Author = filter.Author();
    state.Subject = filter.Subject();
    state.Keywords = filter.Keywords();
    state.Creator = filter.Creator();
    state.Producer = filter.Producer();
    state.OwnerPassword = filter.OwnerPassword();
    state.UserPassword = filter.UserPassword();
    const TqvxPDFEncBits flags = filter.ProtectionFlags();
    state.AllowPrint = flags.testFlag(ePrint);
    state.AllowModify = flags.testFlag(eModify);
    state.AllowCopy = flags.testFlag(eCopy);
    state.AllowAnnot = flags.testFlag(eAnnot);
    state.HideToolbar = filter.HideToolbar();
    state.HideMenubar = filter.HideMenubar();
    state.HideWindowUI = filter.HideWindowUI();
    state.FitWindow = filter.FitWindow();
    state.CenterWindow = filter.CenterWindow();
    state.PrintScaling = filter.PrintScaling();
    return state;
}

QString qvxPDFDialogError(const TqvxPDFDialogState &state, TqvxPDFDialogField *field)
{
    const auto fail = [field](TqvxPDFDialogField bad, const QString &message) {
        if (field)
            *field = bad;
        return message;
    };
    if (state.PageRange == TqvxPDFDialogState::PageNumbers) {
        const QString error = qvxPageRangeError(state.PageNumbersText, state.PageCount);
        if (!error.isEmpty())
            return fail(TqvxPDFDialogField::PageNumbers, error);
    }
    int quality = 0;
    if (!readQuality(state.Quality, quality))
        return fail(TqvxPDFDialogField::Quality, qvxResources()->Get(QStringLiteral("dlgBadQuality")));
    const struct {
        const QString &password;
        int captionId;
        TqvxPDFDialogField field;
    } passwords[] = {{state.OwnerPassword, 8964, TqvxPDFDialogField::OwnerPassword},
                     {state.UserPassword, 8965, TqvxPDFDialogField::UserPassword}};
    for (const auto &p : passwords) {
        const int bad = FirstUnusablePasswordChar(p.password);
        if (bad != -1)
            return fail(p.field, qvxResources()
                                     ->Get(QStringLiteral("dlgBadPassword"))
                                     .arg(qvxGet(p.captionId), p.password.mid(bad, 1)));
    }
    return fail(TqvxPDFDialogField::None, QString());
}

void qvxApplyPDFDialogState(const TqvxPDFDialogState &state, TqvxPDFExport &filter)
{
    const QString error = qvxPDFDialogError(state);
    if (!error.isEmpty())
        throw Exception(error);
    int quality = 0;
    readQuality(state.Quality, quality);

    filter.SetOwnerPassword(state.OwnerPassword);
    filter.SetUserPassword(state.UserPassword);
    TqvxPDFEncBits flags;
    flags.setFlag(ePrint, state.AllowPrint);
    flags.setFlag(eModify, state.AllowModify);
    flags.setFlag(eCopy, state.AllowCopy);
    flags.setFlag(eAnnot, state.AllowAnnot);
    filter.SetProtectionFlags(flags);
    filter.SetPageNumbers(QString());
    filter.SetCurrentPageOnly(state.PageRange == TqvxPDFDialogState::CurrentPage);
    if (state.PageRange == TqvxPDFDialogState::PageNumbers)
        filter.SetPageNumbers(state.PageNumbersText);
    filter.SetOpenAfterExport(state.OpenAfterExport);
    filter.SetCompressed(state.Compressed);
    filter.SetEmbeddedFonts(state.EmbeddedFonts);
    filter.SetPrintOptimized(state.PrintOptimized);
    filter.SetOutline(state.Outline);
    filter.SetBackground(state.Background);
    filter.SetQuality(quality);
    filter.SetTitle(state.Title);
    filter.SetAuthor(state.Author);
    filter.SetSubject(state.Subject);
    filter.SetKeywords(state.Keywords);
    filter.SetCreator(state.Creator);
    filter.SetProducer(state.Producer);
    filter.SetHideToolbar(state.HideToolbar);
    filter.SetHideMenubar(state.HideMenubar);
    filter.SetHideWindowUI(state.HideWindowUI);
    filter.SetFitWindow(state.FitWindow);
    filter.SetCenterWindow(state.CenterWindow);
    filter.SetPrintScaling(state.PrintScaling);
}

TqvxPDFExportDialog::TqvxPDFExportDialog(TComponent *owner) : TForm(owner)
{
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetClientWidth(420);
    SetClientHeight(338);
    SetCaption(qvxGet(8700));
    qvxHelpOnF1(this);

    PageControl1 = qvxPlace<TPageControl>(this, this, 4, 4, 412, 296);
    auto page = [this](int captionId) {
        auto *sheet = NewObject<TTabSheet>(this);
        sheet->SetCaption(qvxGet(captionId));
        sheet->SetPageControl(PageControl1);
        return sheet;
    };
    auto check = [this](TWinControl *parent, int left, int top, int width, int captionId) {
        return qvxPlace<TCheckBox>(this, parent, left, top, width, 19, qvxGet(captionId));
    };

    ExportPage = page(107);
    GroupQuality = qvxPlace<TGroupBox>(this, ExportPage, 8, 8, 190, 176, qvxGet(8));
    CompressedCB = check(GroupQuality, 10, 20, 170, 8701);
    EmbeddedCB = check(GroupQuality, 10, 42, 170, 8702);
    PrintOptCB = check(GroupQuality, 10, 64, 170, 8703);
    OutlineCB = check(GroupQuality, 10, 86, 170, 8704);
    BackgrCB = check(GroupQuality, 10, 108, 170, 8705);
    Label2 = qvxPlace<TLabel>(this, GroupQuality, 10, 142, 90, 17, QStringLiteral("JPEG Quality"));
    Quality = qvxPlace<TEdit>(this, GroupQuality, 110, 138, 50, 21);
    GroupPageRange = qvxPlace<TGroupBox>(this, ExportPage, 206, 8, 190, 176, qvxGet(7));
    AllRB = qvxPlace<TRadioButton>(this, GroupPageRange, 10, 20, 170, 19, qvxGet(3));
    CurPageRB = qvxPlace<TRadioButton>(this, GroupPageRange, 10, 42, 170, 19, qvxGet(4));
    PageNumbersRB = qvxPlace<TRadioButton>(this, GroupPageRange, 10, 66, 80, 19, qvxGet(5));
    PageNumbersE = qvxPlace<TEdit>(this, GroupPageRange, 92, 64, 88, 21);
    DescrL = qvxPlace<TLabel>(this, GroupPageRange, 10, 94, 170, 76);
    DescrL->SetAutoSize(false);
    DescrL->SetWordWrap(true);
    DescrL->SetCaption(qvxGet(9));
    OpenCB = check(ExportPage, 16, 194, 300, 8706);
    AllRB->SetChecked(true);
    qvxMakePageNumberField(PageNumbersE, [this] {
        if (!m_updating)
            PageNumbersRB->SetChecked(true);
    });

    InfoPage = page(8972);
    DocInfoGB = qvxPlace<TGroupBox>(this, InfoPage, 8, 8, 388, 196, qvxGet(8971));
    auto infoRow = [this](int row, int captionId, TLabel *&label, TEdit *&edit) {
        label = qvxPlace<TLabel>(this, DocInfoGB, 10, 26 + row * 28, 96, 17, qvxGet(captionId));
        edit = qvxPlace<TEdit>(this, DocInfoGB, 110, 22 + row * 28, 266, 21);
    };
    infoRow(0, 8973, TitleL, TitleE);
    infoRow(1, 8974, AuthorL, AuthorE);
    infoRow(2, 8975, SubjectL, SubjectE);
    infoRow(3, 8976, KeywordsL, KeywordsE);
    infoRow(4, 8977, CreatorL, CreatorE);
    infoRow(5, 8978, ProducerL, ProducerE);

    SecurityPage = page(8962);
    SecGB = qvxPlace<TGroupBox>(this, SecurityPage, 8, 8, 388, 84, qvxGet(8979));
    OwnPassL = qvxPlace<TLabel>(this, SecGB, 10, 26, 150, 17, qvxGet(8964));
    OwnPassE = qvxPlace<TEdit>(this, SecGB, 170, 22, 206, 21);
    UserPassL = qvxPlace<TLabel>(this, SecGB, 10, 54, 150, 17, qvxGet(8965));
    UserPassE = qvxPlace<TEdit>(this, SecGB, 170, 50, 206, 21);
    OwnPassE->SetPasswordChar(u'*');
    UserPassE->SetPasswordChar(u'*');
    PermGB = qvxPlace<TGroupBox>(this, SecurityPage, 8, 100, 388, 118, qvxGet(8980));
    PrintCB = check(PermGB, 10, 20, 360, 8966);
    ModCB = check(PermGB, 10, 44, 360, 8967);
    CopyCB = check(PermGB, 10, 68, 360, 8968);
    AnnotCB = check(PermGB, 10, 92, 360, 8969);

    ViewerPage = page(8981);
    ViewerGB = qvxPlace<TGroupBox>(this, ViewerPage, 8, 8, 388, 170, qvxGet(8982));
    HideToolbarCB = check(ViewerGB, 10, 20, 360, 8983);
    HideMenubarCB = check(ViewerGB, 10, 44, 360, 8984);
    HideWindowUICB = check(ViewerGB, 10, 68, 360, 8985);
    FitWindowCB = check(ViewerGB, 10, 92, 360, 8986);
    CenterWindowCB = check(ViewerGB, 10, 116, 360, 8987);
    PrintScalingCB = check(ViewerGB, 10, 140, 360, 8988);

    PageControl1->SetActivePageIndex(0);

    OkB = qvxPlace<TButton>(this, this, 260, 308, 75, 25, qvxGet(1));
    OkB->SetDefault(true);
    OkB->OnClick = [this](TObject *) { okClick(); };
    CancelB = qvxPlace<TButton>(this, this, 341, 308, 75, 25, qvxGet(2));
    CancelB->SetCancel(true);
    CancelB->SetModalResult(mrCancel);
}

void TqvxPDFExportDialog::SetState(const TqvxPDFDialogState &state)
{
    m_updating = true;
    m_pageCount = state.PageCount;
    OpenCB->SetChecked(state.OpenAfterExport);
    CompressedCB->SetChecked(state.Compressed);
    EmbeddedCB->SetChecked(state.EmbeddedFonts);
    PrintOptCB->SetChecked(state.PrintOptimized);
    OutlineCB->SetChecked(state.Outline);
    BackgrCB->SetChecked(state.Background);
    Quality->SetText(state.Quality);
    PageNumbersE->SetText(state.PageNumbersText);
    AllRB->SetChecked(state.PageRange == TqvxPDFDialogState::AllPages);
    CurPageRB->SetChecked(state.PageRange == TqvxPDFDialogState::CurrentPage);
    PageNumbersRB->SetChecked(state.PageRange == TqvxPDFDialogState::PageNumbers);
    TitleE->SetText(state.Title);
    AuthorE->SetText(state.Author);
    SubjectE->SetText(state.Subject);
    KeywordsE->SetText(state.Keywords);
    CreatorE->SetText(state.Creator);
    ProducerE->SetText(state.Producer);
    OwnPassE->SetText(state.OwnerPassword);
    UserPassE->SetText(state.UserPassword);
    PrintCB->SetChecked(state.AllowPrint);
    ModCB->SetChecked(state.AllowModify);
    CopyCB->SetChecked(state.AllowCopy);
    AnnotCB->SetChecked(state.AllowAnnot);
    HideToolbarCB->SetChecked(state.HideToolbar);
    HideMenubarCB->SetChecked(state.HideMenubar);
    HideWindowUICB->SetChecked(state.HideWindowUI);
    FitWindowCB->SetChecked(state.FitWindow);
    CenterWindowCB->SetChecked(state.CenterWindow);
    PrintScalingCB->SetChecked(state.PrintScaling);
    m_updating = false;
}

TqvxPDFDialogState TqvxPDFExportDialog::State() const
{
    TqvxPDFDialogState state;
    state.PageCount = m_pageCount;
    state.OpenAfterExport = OpenCB->Checked();
    state.Compressed = CompressedCB->Checked();
    state.EmbeddedFonts = EmbeddedCB->Checked();
    state.PrintOptimized = PrintOptCB->Checked();
    state.Outline = OutlineCB->Checked();
    state.Background = BackgrCB->Checked();
    state.Quality = Quality->Text();
    if (CurPageRB->Checked())
        state.PageRange = TqvxPDFDialogState::CurrentPage;
    else if (PageNumbersRB->Checked())
        state.PageRange = TqvxPDFDialogState::PageNumbers;
    state.PageNumbersText = PageNumbersE->Text();
    state.Title = TitleE->Text();
    state.Author = AuthorE->Text();
    state.Subject = SubjectE->Text();
    state.Keywords = KeywordsE->Text();
    state.Creator = CreatorE->Text();
    state.Producer = ProducerE->Text();
    state.OwnerPassword = OwnPassE->Text();
    state.UserPassword = UserPassE->Text();
    state.AllowPrint = PrintCB->Checked();
    state.AllowModify = ModCB->Checked();
    state.AllowCopy = CopyCB->Checked();
    state.AllowAnnot = AnnotCB->Checked();
    state.HideToolbar = HideToolbarCB->Checked();
    state.HideMenubar = HideMenubarCB->Checked();
    state.HideWindowUI = HideWindowUICB->Checked();
    state.FitWindow = FitWindowCB->Checked();
    state.CenterWindow = CenterWindowCB->Checked();
    state.PrintScaling = PrintScalingCB->Checked();
    return state;
}

void TqvxPDFExportDialog::SetOutlineEnabled(bool enabled)
{
    OutlineCB->SetEnabled(enabled);
}

void TqvxPDFExportDialog::okClick()
{
    TqvxPDFDialogField field = TqvxPDFDialogField::None;
    const QString error = qvxPDFDialogError(State(), &field);
    if (error.isEmpty()) {
        SetModalResult(mrOk);
        return;
    }
    qvxErrorMsg(error);
    // The field to mend is shown, on its page, with the focus.
    TEdit *edit = field == TqvxPDFDialogField::PageNumbers ? PageNumbersE
        : field == TqvxPDFDialogField::Quality             ? Quality
        : field == TqvxPDFDialogField::OwnerPassword       ? OwnPassE
                                                           : UserPassE;
    for (TControl *c = edit; c; c = c->Parent())
        if (auto *page = qobject_cast<TTabSheet *>(c))
            PageControl1->SetActivePage(page);
    if (edit->CanFocus()) {
        edit->SetFocus();
        edit->SelectAll();
    }
}

namespace {

// The name the save dialog proposes: the filter's file, or else the
// report's file name with the PDF extension.
QString proposedFileName(const TqvxPDFExport &filter)
{
    if (!filter.FileName().isEmpty() || filter.SlaveExport())
        return filter.FileName();
    const QString reportFile = filter.Report() ? filter.Report()->FileName() : QString();
    if (reportFile.isEmpty())
        return QString();
    return QFileInfo(reportFile).completeBaseName() + qvxGet(8708);
}

} // namespace

int qvxRunPDFExportDialog(TqvxPDFExport &filter)
{
    std::unique_ptr<TqvxPDFExportDialog> dialog(NewObject<TqvxPDFExportDialog>(nullptr));
    dialog->OpenCB->SetVisible(!filter.SlaveExport());
    if (filter.SlaveExport())
        filter.SetOpenAfterExport(false);
    dialog->SetState(qvxPDFDialogState(filter));
    dialog->SetOutlineEnabled(filter.Outline());

    int result = dialog->ShowModal();
    if (result != mrOk)
        return result;
    qvxApplyPDFDialogState(dialog->State(), filter);

    if (!filter.SlaveExport()) {
        TFileDialogRequest request;
        request.Save = true;
        request.InitialDir = filter.DefaultPath();
        request.FileName = proposedFileName(filter);
        request.Filters = NameFiltersFromFilter(qvxGet(8707));
        request.DefaultExt = qvxGet(8708).mid(1);
        request.OverwritePrompt = filter.OverwritePrompt();
        if (ModalRunner::Current().FileDialog(request))
            filter.SetFileName(request.FileName);
        else
            result = mrCancel;
    }
    return result;
}

void InitializeQvxPDFExportDialog()
{
    qvxInstallPDFOptionsDialog(qvxRunPDFExportDialog);
}

void FinalizeQvxPDFExportDialog()
{
    qvxRemovePDFOptionsDialog();
}
