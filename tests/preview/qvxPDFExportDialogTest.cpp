// The PDF filter's options dialog: what ShowModal fills by itself, the
// controls to and from the filter, the checks on OK and the save dialog.

#include "DialogKeys.h"

#include "engine/PreparedReport.h"
#include "export/pdf/qvxExportPDF.h"
#include "preview/qvxPDFExportDialog.h"
#include "preview/qvxPageRangeInput.h"
#include "report/model/qvxOptions.h"
#include "report/model/qvxResources.h"
#include "report/report/qvxReportOptions.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TPageControl.h"
#include "toolkit/widgets/TRadioButton.h"

#include <gtest/gtest.h>

namespace {

class PDFExportDialog : public ::testing::Test
{
protected:
    PDFExportDialog()
    {
        prepared.report->ReportOptions()->SetName(QStringLiteral("Order form"));
        // BeginExport only hands the filter its report; the tests call
        // ShowModal themselves.
        filter.SetShowDialog(false);
        runner.onFile = [this](TFileDialogRequest &request) {
            request.FileName = QStringLiteral("/tmp/chosen.pdf");
            return saveConfirmed;
        };
    }

    // The export begins: ShowModal runs, with answer working the dialog
    // before OK (or Cancel when it says false).
    int showModal(const std::function<bool(TqvxPDFExportDialog &)> &answer)
    {
        shown = false;
        runner.onForm = [&](TCustomForm &form) {
            shown = true;
            auto &dialog = dynamic_cast<TqvxPDFExportDialog &>(form);
            (answer(dialog) ? dialog.OkB : dialog.CancelB)->Click();
        };
        filter.BeginExport(prepared.report.get());
        return filter.ShowModal();
    }

    TPreparedReport prepared;
    TqvxPDFExport filter;
    ScriptedModalRunner runner;
    bool saveConfirmed = true;
    bool shown = false;
};

TEST_F(PDFExportDialog, WithAStreamTheTitleIsFilledAndNothingIsShown)
{
    TMemoryStream stream;
    filter.SetStream(&stream);
    EXPECT_EQ(showModal([](TqvxPDFExportDialog &) { return false; }), mrOk);
    EXPECT_FALSE(shown);
    EXPECT_EQ(filter.Title(), "Order form");
}

TEST_F(PDFExportDialog, TheControlsShowTheFilterAndOKWritesThemBack)
{
    filter.SetTitle(QStringLiteral("Kept title"));
    filter.SetQuality(80);
    filter.SetPageNumbers(QStringLiteral("1,3"));
    EXPECT_EQ(showModal([](TqvxPDFExportDialog &dialog) {
                  EXPECT_EQ(dialog.Caption(), qvxGet(8700));
                  EXPECT_EQ(dialog.TitleE->Text(), "Kept title");
                  EXPECT_EQ(dialog.Quality->Text(), "80");
                  EXPECT_TRUE(dialog.PageNumbersRB->Checked());
                  EXPECT_EQ(dialog.OwnPassE->PasswordChar(), QChar(u'*'));
                  dialog.AuthorE->SetText(QStringLiteral("Engineer"));
                  dialog.UserPassE->SetText(QStringLiteral("secret"));
                  dialog.Quality->SetText(QStringLiteral("60"));
                  dialog.CenterWindowCB->SetChecked(true);
                  return true;
              }),
              mrOk);
    EXPECT_EQ(filter.Title(), "Kept title");
    EXPECT_EQ(filter.Author(), "Engineer");
    EXPECT_EQ(filter.UserPassword(), "secret");
    EXPECT_EQ(filter.Quality(), 60);
    EXPECT_EQ(filter.PageNumbers(), "1,3");
    EXPECT_TRUE(filter.CenterWindow());
    EXPECT_EQ(filter.FileName(), "/tmp/chosen.pdf");
    ASSERT_EQ(runner.fileRequests.size(), 1u);
    EXPECT_EQ(runner.fileRequests[0].DefaultExt, "pdf");
}

TEST_F(PDFExportDialog, CurrentPageClearsThePageNumbers)
{
    filter.SetPageNumbers(QStringLiteral("2-3"));
    showModal([](TqvxPDFExportDialog &dialog) {
        dialog.CurPageRB->SetChecked(true);
        return true;
    });
    EXPECT_EQ(filter.PageNumbers(), "");
    EXPECT_TRUE(filter.CurrentPageOnly());
}

TEST_F(PDFExportDialog, NoPermissionsGiveTheLowestPermissionValue)
{
    showModal([](TqvxPDFExportDialog &dialog) {
        for (TCheckBox *box : {dialog.PrintCB, dialog.ModCB, dialog.CopyCB, dialog.AnnotCB})
            box->SetChecked(false);
        return true;
    });
    EXPECT_EQ(filter.ProtectionFlags(), TqvxPDFEncBits());
    EXPECT_EQ(PermissionValue(filter.ProtectionFlags()), -64);
}

TEST_F(PDFExportDialog, TheOutlineFollowsWhetherThePreviewShowsIt)
{
    filter.SetOutline(true);
    showModal([](TqvxPDFExportDialog &dialog) {
        EXPECT_FALSE(dialog.OutlineCB->Enabled());
        EXPECT_FALSE(dialog.OutlineCB->Checked());
        return true;
    });
    EXPECT_FALSE(filter.Outline());

    prepared.report->PreviewOptions()->SetOutlineVisible(true);
    showModal([](TqvxPDFExportDialog &dialog) {
        EXPECT_TRUE(dialog.OutlineCB->Enabled());
        EXPECT_TRUE(dialog.OutlineCB->Checked());
        return true;
    });
    EXPECT_TRUE(filter.Outline());
}

TEST_F(PDFExportDialog, CancellingTheSaveDialogKeepsTheOptionsButCancels)
{
    saveConfirmed = false;
    EXPECT_EQ(showModal([](TqvxPDFExportDialog &dialog) {
                  dialog.SubjectE->SetText(QStringLiteral("Breakers"));
                  return true;
              }),
              mrCancel);
    EXPECT_EQ(filter.Subject(), "Breakers");
    EXPECT_EQ(filter.FileName(), "");

    EXPECT_EQ(showModal([](TqvxPDFExportDialog &dialog) {
                  dialog.SubjectE->SetText(QStringLiteral("Dropped"));
                  return false;
              }),
              mrCancel);
    EXPECT_EQ(filter.Subject(), "Breakers") << "Cancel reads nothing back";
}

TEST_F(PDFExportDialog, AWrongQualityOrPageRangeKeepsTheDialogOpenAndWritesNothing)
{
    showModal([](TqvxPDFExportDialog &dialog) {
        dialog.TitleE->SetText(QStringLiteral("Changed"));
        for (const char *quality : {"high", "101", "-1"}) {
            dialog.Quality->SetText(QString::fromLatin1(quality));
            dialog.OkB->Click();
            EXPECT_EQ(dialog.ModalResult(), mrNone) << quality;
        }
        dialog.Quality->SetText(QStringLiteral("100"));
        dialog.PageNumbersE->SetText(QStringLiteral("3-"));
        dialog.PageNumbersE->SetText(QStringLiteral(",3"));
        dialog.OkB->Click();
        EXPECT_EQ(dialog.ModalResult(), mrNone);
        return false;
    });
    ASSERT_EQ(runner.messages.size(), 4u);
    EXPECT_EQ(runner.messages[0].Text, qvxResources()->Get("dlgBadQuality"));
    EXPECT_TRUE(runner.messages[3].Text.contains(",3"));
    EXPECT_NE(filter.Title(), "Changed");

    TqvxPDFDialogState state = qvxPDFDialogState(filter);
    state.Title = QStringLiteral("Changed");
    state.Quality = QStringLiteral("9x");
    EXPECT_THROW(qvxApplyPDFDialogState(state, filter), Exception);
    EXPECT_NE(filter.Title(), "Changed") << "all or nothing";
}

TEST(PageNumberField, TakesDigitsCommasDashesAndBackspaceOnly)
{
    for (const QChar key : QStringLiteral("0123456789,-\b"))
        EXPECT_TRUE(qvxIsPageNumberKey(key)) << int(key.unicode());
    for (const QChar key : QStringLiteral("a ;.+"))
        EXPECT_FALSE(qvxIsPageNumberKey(key)) << int(key.unicode());
    EXPECT_EQ(qvxPageNumberText(QStringLiteral("1, 3a-5")), "1,3-5");
}

TEST(PageNumberField, AcceptsOnlyRangesThatNamePagesOfTheReport)
{
    for (const char *text : {"", "1", "1,3,5-12", "5-", "2-2,7", "12", "12-"})
        EXPECT_EQ(qvxPageRangeError(QString::fromLatin1(text), 12), "") << text;
    for (const char *text : {"-", "-3", "1,,2", "1-2-3", "1-,2", ",", "99999999999", "0", "13", "0-2", "13-",
                             "3-1", "1,5-4", "2-13"})
        EXPECT_NE(qvxPageRangeError(QString::fromLatin1(text), 12), "") << text;
    EXPECT_EQ(qvxPageRangeError(QStringLiteral("9"), 0), "") << "a report of unknown length";
    EXPECT_NE(qvxPageRangeError(QStringLiteral("0"), 0), "");
}

TEST_F(PDFExportDialog, TypingIntoThePageNumbersChoosesThemAndKeysAreFiltered)
{
    showModal([](TqvxPDFExportDialog &dialog) {
        EXPECT_TRUE(dialog.AllRB->Checked());
        QChar letter = u'x';
        dialog.PageNumbersE->OnKeyPress(dialog.PageNumbersE, letter);
        EXPECT_TRUE(letter.isNull());
        dialog.PageNumbersE->SetText(QStringLiteral("3"));
        EXPECT_TRUE(dialog.PageNumbersRB->Checked());
        return true;
    });
    EXPECT_EQ(filter.PageNumbers(), "3");
}

TEST_F(PDFExportDialog, PasswordsPDFReadersCannotTakeAreRefusedOnOKInRussian)
{
    for (TEdit *TqvxPDFExportDialog::*field : {&TqvxPDFExportDialog::OwnPassE, &TqvxPDFExportDialog::UserPassE}) {
        runner.messages.clear();
        runner.fileRequests.clear();
        EXPECT_EQ(showModal([&](TqvxPDFExportDialog &dialog) {
                      dialog.PageControl1->SetActivePage(dialog.SecurityPage);
                      typeOver(dialog.*field, QStringLiteral("пароль1"));
                      dialog.PageControl1->SetActivePage(dialog.ExportPage);
                      dialog.CompressedCB->SetFocus();
                      pressKey(dialog.CompressedCB, Qt::Key_Return);
                      EXPECT_EQ(dialog.ModalResult(), mrNone) << "the dialog stays open";
                      EXPECT_EQ(dialog.PageControl1->ActivePage(), dialog.SecurityPage);
                      EXPECT_EQ(dialog.ActiveControl(), dialog.*field) << "the field to mend has the focus";
                      typeOver(dialog.*field, QStringLiteral("secret1"));
                      pressKey(dialog.*field, Qt::Key_Return);
                      return dialog.ModalResult() == mrOk;
                  }),
                  mrOk);
        ASSERT_EQ(runner.messages.size(), 1u);
        const QString caption = qvxGet(field == &TqvxPDFExportDialog::OwnPassE ? 8964 : 8965);
        EXPECT_EQ(runner.messages[0].Text, qvxResources()->Get("dlgBadPassword").arg(caption, QStringLiteral("п")));
        EXPECT_EQ(runner.fileRequests.size(), 1u) << "the file is asked for once the passwords are good";
    }
    EXPECT_EQ(filter.OwnerPassword(), "secret1");
    EXPECT_EQ(filter.UserPassword(), "secret1");
}

TEST_F(PDFExportDialog, PageRangesThatNameNoPageOfTheReportAreRefusedOnOK)
{
    for (const char *range : {"0", "9", "3-1"}) {
        SCOPED_TRACE(range);
        runner.messages.clear();
        showModal([&](TqvxPDFExportDialog &dialog) {
            typeOver(dialog.PageNumbersE, QString::fromLatin1(range));
            pressKey(dialog.PageNumbersE, Qt::Key_Return);
            EXPECT_EQ(dialog.ModalResult(), mrNone);
            return false;
        });
        EXPECT_EQ(runner.messages.size(), 1u);
    }
}

TEST_F(PDFExportDialog, EveryPageIsReachedByKeys)
{
    showModal([](TqvxPDFExportDialog &dialog) -> bool {
        dialog.CompressedCB->SetFocus();
        pressOnFocus(dialog, Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(dialog.PageControl1->ActivePage(), dialog.InfoPage);
        EXPECT_EQ(dialog.ActiveControl(), dialog.TitleE);
        pressOnFocus(dialog, Qt::Key_PageDown, Qt::ControlModifier);
        EXPECT_EQ(dialog.PageControl1->ActivePage(), dialog.SecurityPage);
        EXPECT_EQ(dialog.ActiveControl(), dialog.OwnPassE);
        pressOnFocus(dialog, Qt::Key_Backtab, Qt::ShiftModifier);
        const TWinControl *tabs = dialog.ActiveControl();
        EXPECT_TRUE(tabs && tabs->Parent() == dialog.PageControl1) << "Shift+Tab goes back to the tabs";
        pressOnFocus(dialog, Qt::Key_Right);
        EXPECT_EQ(dialog.PageControl1->ActivePage(), dialog.ViewerPage);
        pressOnFocus(dialog, Qt::Key_Tab);
        EXPECT_EQ(dialog.ActiveControl(), dialog.HideToolbarCB);
        dialog.CancelB->SetFocus();
        pressOnFocus(dialog, Qt::Key_Tab);
        EXPECT_EQ(dialog.ActiveControl(), tabs) << "Tab comes round to the tabs";
        return false;
    });
}

} // namespace
