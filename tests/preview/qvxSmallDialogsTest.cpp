// The search dialog, the password form, the window of dialog pages and
// the export texts.

#include "engine/PreparedReport.h"
#include "preview/qvxDialogForm.h"
#include "preview/qvxPasswordForm.h"
#include "preview/qvxSearchDialog.h"
#include "report/model/qvxResources.h"
#include "report/pages/qvxDialogPage.h"
#include "report/report/qvxReportOptions.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/widgets/KeyMapping.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TPanel.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMoveEvent>
#include <QResizeEvent>

#include <QtTest/qtestspontaneevent.h>

#include <gtest/gtest.h>

namespace {

TEST(SearchDialog, KeepsTheTextOnlyWhenConfirmed)
{
    ScriptedModalRunner runner;
    QString offered;
    auto answer = [&](const QString &text, bool confirm) {
        runner.onForm = [&, text, confirm](TCustomForm &form) {
            auto &dialog = dynamic_cast<TqvxSearchDialog &>(form);
            offered = dialog.TextE->Text();
            dialog.TextE->SetText(text);
            dialog.CaseCB->SetChecked(true);
            (confirm ? dialog.OkB : dialog.CancelB)->Click();
        };
    };

    TqvxFindRequest choice;
    answer(QStringLiteral("breaker"), true);
    ASSERT_TRUE(qvxAskSearch(choice));
    EXPECT_EQ(choice.Text, "breaker");
    EXPECT_TRUE(choice.CaseSensitive);
    EXPECT_FALSE(choice.FromTop);

    answer(QStringLiteral("dropped"), false);
    EXPECT_FALSE(qvxAskSearch(choice));
    EXPECT_EQ(offered, "breaker");
    EXPECT_EQ(TqvxSearchDialog::LastSearchText(), "breaker");

    answer(QStringLiteral("next"), true);
    qvxAskSearch(choice);
    EXPECT_EQ(offered, "breaker") << "the last confirmed text is offered again";
    EXPECT_EQ(TqvxSearchDialog::LastSearchText(), "next");
}

TEST(SearchDialog, ItsCaptionsAreTheResourceTexts)
{
    std::unique_ptr<TqvxSearchDialog> dialog(NewObject<TqvxSearchDialog>(nullptr));
    EXPECT_EQ(dialog->Caption(), qvxGet(300));
    EXPECT_EQ(dialog->TopCB->Caption(), qvxGet(304));
    EXPECT_EQ(dialog->CaseCB->Caption(), qvxGet(305));
    EXPECT_FALSE(dialog->ReplacePanel->Visible());
    int key = VK_F1;
    dialog->OnKeyDown(dialog.get(), key, {});
    SUCCEED() << "help without a help viewer does nothing";
}

TEST(PasswordForm, HasTextsOfItsOwnAndAsksForAProtectedReport)
{
    std::unique_ptr<TqvxPasswordForm> form(NewObject<TqvxPasswordForm>(nullptr));
    EXPECT_EQ(form->Caption(), qvxGet(5000));
    EXPECT_NE(form->Caption(), "5000");
    EXPECT_NE(form->PasswordL->Caption(), "5001");
    EXPECT_EQ(form->PasswordE->PasswordChar(), QChar(u'*'));

    TPreparedReport prepared;
    prepared.report->ReportOptions()->SetPassword(QStringLiteral("open sesame"));
    ScriptedModalRunner runner;
    int asked = 0;
    runner.onForm = [&](TCustomForm &shown) {
        auto &password = dynamic_cast<TqvxPasswordForm &>(shown);
        password.PasswordE->SetText(QStringLiteral("open sesame"));
        password.OkB->Click();
        ++asked;
    };
    EXPECT_TRUE(prepared.report->ReportOptions()->CheckPassword());
    EXPECT_EQ(asked, 1);
}

TEST(DialogForm, RefusesToBeClosedByTheUser)
{
    std::unique_ptr<TqvxDialogForm> form(NewObject<TqvxDialogForm>(nullptr));
    bool asked = false;
    form->OnCloseQuery = [&](TObject *, bool &) { asked = true; };
    EXPECT_FALSE(form->CloseQuery());
    EXPECT_TRUE(asked) << "the handlers still hear of it";

    ScriptedModalRunner runner;
    runner.onForm = [](TCustomForm &shown) {
        shown.Close();
        EXPECT_TRUE(shown.Visible());
        EXPECT_EQ(shown.ModalResult(), mrNone);
    };
    form->ShowModal();
}

TEST(DialogForm, TellsOfMovesAndSkipsTheStoredDesignWhenAsked)
{
    std::unique_ptr<TqvxDialogForm> form(NewObject<TqvxDialogForm>(nullptr));
    TObject *modified = nullptr;
    form->OnModify = [&](TObject *sender) { modified = sender; };
    form->ExitSizeMove();
    EXPECT_EQ(modified, form.get());
    EXPECT_FALSE(form->NoReadState());

    TComponent page(nullptr);
    page.SetTag(318);
    std::unique_ptr<TqvxDialogForm> bare(NewObject<TqvxDialogForm>(&page));
    EXPECT_TRUE(bare->NoReadState());
    EXPECT_EQ(bare->Owner(), nullptr) << "the window has no owner";
}

// Delivers an event as the window system does, marked as its own.
void sendFromWindowSystem(QObject *receiver, QEvent *event)
{
    QSpontaneKeyEvent::setSpontaneous(event);
    QApplication::instance()->notify(receiver, event);
}

// Runs the event loop for the given time.
void waitFor(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The window system moves the window to pos and tells it so.
void windowSystemMoves(QWidget *window, const QPoint &pos)
{
    const QPoint old = window->pos();
    window->move(pos);
    QMoveEvent moved(pos, old);
    sendFromWindowSystem(window, &moved);
}

TEST(DialogForm, TellsOfEachMoveTheUserMakesOnceAndNotOfItsPlacing)
{
    std::unique_ptr<TqvxDialogForm> form(NewObject<TqvxDialogForm>(nullptr));
    int modified = 0;
    form->OnModify = [&](TObject *) { ++modified; };
    form->SetBounds(100, 100, 200, 150);
    form->Show();
    QWidget *window = form->Widget()->window();
    // The window manager confirms the place the window asked for.
    QMoveEvent placed(window->pos(), window->pos());
    sendFromWindowSystem(window, &placed);
    QResizeEvent sized(window->size(), window->size());
    sendFromWindowSystem(window, &sized);
    waitFor(400);
    EXPECT_EQ(modified, 0) << "placing the window is no move of the user's";

    // A drag: many small moves, then the window rests.
    for (int step = 1; step <= 10; ++step) {
        windowSystemMoves(window, QPoint(100 + 5 * step, 100 + 3 * step));
        waitFor(20);
    }
    waitFor(400);
    EXPECT_EQ(modified, 1);
    EXPECT_EQ(form->Left(), 150);

    windowSystemMoves(window, QPoint(20, 30));
    waitFor(400);
    EXPECT_EQ(modified, 2) << "the next move tells again";
}

TEST(DialogForm, IsTheWindowOfDialogPages)
{
    std::unique_ptr<TqvxDialogPage> page(NewObject<TqvxDialogPage>(nullptr));
    EXPECT_NE(qobject_cast<TqvxDialogForm *>(page->Form()), nullptr);
}

TEST(ExportTexts, HoldEveryTextThePDFFilterAndItsDialogUse)
{
    QList<int> keys;
    for (int key = 8700; key <= 8708; ++key)
        keys << key;
    keys << 8962;
    for (int key = 8964; key <= 8969; ++key)
        keys << key;
    for (int key = 8971; key <= 8988; ++key)
        keys << key;
    for (const int key : keys)
        EXPECT_NE(qvxGet(key), QString::number(key)) << key;
    EXPECT_TRUE(qvxGet(8707).endsWith("|*.pdf"));
    EXPECT_EQ(qvxGet(8708), ".pdf");
    EXPECT_EQ(qvxResources()->Get("xProto"), "Export Prototype");
    EXPECT_EQ(qvxResources()->Get("xBlank"), "Blank Export");
    EXPECT_NE(qvxResources()->Get("PDFexport"), "PDFexport");
    EXPECT_EQ(qvxGet(8963), "8963") << "texts the table does not give stay out";
}

} // namespace
