// Forms: modality through the modal runner, closing, placement and layout.

#include "ScriptedModalRunner.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TPanel.h"
#include "toolkit/widgets/TScreen.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

std::unique_ptr<TForm> newForm(TComponent *owner = nullptr)
{
    return std::unique_ptr<TForm>(NewObject<TForm>(owner));
}

void pressKey(QWidget *widget, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

// A shown and active form holding an edit and then buttons.
struct ShownForm {
    explicit ShownForm(int buttonCount)
    {
        edit->SetParent(form.get());
        for (int i = 0; i < buttonCount; ++i) {
            buttons.append(new TButton(form.get()));
            buttons.last()->SetParent(form.get());
        }
        form->Show();
        QApplication::setActiveWindow(form->Widget());
    }

    std::unique_ptr<TForm> form = newForm();
    TEdit *edit = new TEdit(form.get());
    QList<TButton *> buttons;
};

TEST(Form, ShowModalAnswersTheModalResultSetWhileRunning)
{
    ScriptedModalRunner runner;
    auto form = newForm();
    QStringList events;
    form->OnShow = [&](TObject *) { events << QStringLiteral("show"); };
    form->OnHide = [&](TObject *) { events << QStringLiteral("hide"); };
    runner.onForm = [&](TCustomForm &running) {
        EXPECT_TRUE(running.Modal());
        EXPECT_TRUE(running.Widget()->isVisible());
        running.SetModalResult(mrOk);
    };
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_FALSE(form->Widget()->isVisible());
    EXPECT_FALSE(form->Modal());
    EXPECT_EQ(events, QStringList({"show", "hide"}));
}

TEST(Form, ButtonClickEndsTheModalLoopWithItsResult)
{
    ScriptedModalRunner runner;
    auto form = newForm();
    auto *button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetModalResult(mrYes);
    int clicks = 0;
    button->OnClick = [&](TObject *) { ++clicks; };
    runner.onForm = [&](TCustomForm &) { static_cast<QAbstractButton *>(button->Widget())->click(); };
    EXPECT_EQ(form->ShowModal(), mrYes);
    EXPECT_EQ(clicks, 1);
}

TEST(Form, ReturnAndEscapeClickTheDefaultAndCancelButtons)
{
    ScriptedModalRunner runner;
    auto form = newForm();
    auto *edit = new TEdit(form.get());
    edit->SetParent(form.get());
    auto *ok = new TButton(form.get());
    ok->SetParent(form.get());
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    auto *cancel = new TButton(form.get());
    cancel->SetParent(form.get());
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);

    runner.onForm = [&](TCustomForm &) { pressKey(edit->Widget(), Qt::Key_Return); };
    EXPECT_EQ(form->ShowModal(), mrOk);
    runner.onForm = [&](TCustomForm &) { pressKey(edit->Widget(), Qt::Key_Escape); };
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST(Form, ReturnClicksTheFocusedButtonWhichShowsTheDefaultFrame)
{
    const ShownForm shown(2);
    TEdit *edit = shown.edit;
    TButton *ok = shown.buttons[0];
    TButton *other = shown.buttons[1];
    ok->SetDefault(true);
    QStringList clicks;
    ok->OnClick = [&](TObject *) { clicks << QStringLiteral("ok"); };
    other->OnClick = [&](TObject *) { clicks << QStringLiteral("other"); };
    const auto framed = [](TButton *button) { return static_cast<QPushButton *>(button->Widget())->isDefault(); };

    other->SetFocus();
    EXPECT_TRUE(framed(other));
    EXPECT_FALSE(framed(ok));
    pressKey(other->Widget(), Qt::Key_Return);
    ok->SetFocus();
    pressKey(ok->Widget(), Qt::Key_Return);
    edit->SetFocus();
    EXPECT_TRUE(framed(ok));
    EXPECT_FALSE(framed(other));
    pressKey(edit->Widget(), Qt::Key_Return);
    EXPECT_EQ(clicks, QStringList({"other", "ok", "ok"}));

    // Without a default button, Return outside a button clicks nothing.
    ok->SetDefault(false);
    EXPECT_FALSE(framed(ok));
    pressKey(edit->Widget(), Qt::Key_Return);
    EXPECT_EQ(clicks.size(), 3);
}

TEST(Form, FocusMovedByTabIsShown)
{
    const ShownForm shown(1);
    TEdit *edit = shown.edit;
    TButton *button = shown.buttons[0];
    edit->SetFocus();
    QApplication::processEvents();
    const auto focusShown = [](TButton *control) {
        QStyleOptionButton option;
        option.initFrom(control->Widget());
        return (option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_KeyboardFocusChange);
    };
    EXPECT_FALSE(focusShown(button));
    pressKey(edit->Widget(), Qt::Key_Tab);
    EXPECT_TRUE(button->Focused());
    EXPECT_TRUE(focusShown(button));
    QKeyEvent backtab(QEvent::KeyPress, Qt::Key_Backtab, Qt::ShiftModifier);
    QApplication::sendEvent(button->Widget(), &backtab);
    EXPECT_TRUE(edit->Focused());
    pressKey(edit->Widget(), Qt::Key_Tab);
    EXPECT_TRUE(focusShown(button));
}

TEST(Form, AVisibleFormCannotBeShownModally)
{
    auto form = newForm();
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST(Form, CloseOfAModalFormCancelsItUnlessRefused)
{
    ScriptedModalRunner runner;
    auto form = newForm();
    bool allow = false;
    form->OnCloseQuery = [&](TObject *, bool &canClose) { canClose = allow; };
    runner.onForm = [&](TCustomForm &running) {
        running.Close();
        EXPECT_EQ(running.ModalResult(), mrNone);
        allow = true;
        running.Close();
    };
    EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST(Form, CloseActionDecidesWhatHappens)
{
    auto form = newForm();
    TCloseAction chosen = caNone;
    form->OnClose = [&](TObject *, TCloseAction &action) {
        EXPECT_EQ(action, caHide);
        action = chosen;
    };
    form->Show();
    form->Close();
    EXPECT_TRUE(form->Widget()->isVisible());
    chosen = caHide;
    form->Close();
    EXPECT_FALSE(form->Widget()->isVisible());

    QPointer<TForm> freed(NewObject<TForm>(nullptr));
    freed->OnClose = [](TObject *, TCloseAction &action) { action = caFree; };
    freed->Show();
    freed->Close();
    ASSERT_FALSE(freed.isNull()); // freed only once the event is handled
    QApplication::processEvents();
    EXPECT_TRUE(freed.isNull());
}

TEST(Form, CreateAndDestroyEventsFireOnceEach)
{
    struct EventForm : TForm {
        explicit EventForm(TComponent *owner, QStringList &log) : TForm(owner)
        {
            OnCreate = [&log](TObject *) { log << QStringLiteral("create"); };
            OnDestroy = [&log](TObject *) { log << QStringLiteral("destroy"); };
        }
    };
    QStringList log;
    delete NewObject<EventForm>(nullptr, log);
    EXPECT_EQ(log, QStringList({"create", "destroy"}));
}

TEST(Form, ClientSizeLiesInsideTheBorderWidth)
{
    auto form = newForm();
    form->SetBorderWidth(8);
    form->SetClientWidth(984);
    form->SetClientHeight(400);
    EXPECT_EQ(form->Width(), 1000);
    EXPECT_EQ(form->Height(), 416);
    EXPECT_EQ(form->ClientWidth(), 984);

    auto *top = new TPanel(form.get());
    top->SetParent(form.get());
    top->SetHeight(30);
    top->SetAlign(alTop);
    EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 984, 30));
    EXPECT_EQ(top->Widget()->mapTo(form->Widget(), QPoint(0, 0)), QPoint(8, 8));
}

TEST(Form, WidthAndHeightAreTheOuterSizeOnceTheFrameIsKnown)
{
    auto form = newForm();
    form->SetBorderWidth(8);
    form->SetBounds(100, 100, 400, 300);
    auto *bottom = new TPanel(form.get());
    bottom->SetParent(form.get());
    bottom->SetHeight(30);
    bottom->SetAlign(alBottom);
    form->Show();
    QApplication::processEvents();
    const QRect frame = form->Widget()->frameGeometry();
    const QRect client = form->Widget()->geometry();
    ASSERT_NE(frame, client) << "the platform puts no frame round windows";
    EXPECT_EQ(frame, QRect(100, 100, 400, 300));
    EXPECT_EQ(form->BoundsRect(), Rect(100, 100, 500, 400));
    EXPECT_EQ(form->ClientWidth(), client.width() - 16);
    EXPECT_EQ(form->ClientHeight(), client.height() - 16);
    // Aligned children fill the client area the frame leaves.
    EXPECT_EQ(bottom->Top() + bottom->Height(), form->ClientHeight());

    // A size given as the client area's keeps the client area.
    auto dialog = newForm();
    dialog->SetBorderStyle(bsDialog);
    dialog->SetClientWidth(684);
    dialog->SetClientHeight(136);
    dialog->Show();
    QApplication::processEvents();
    EXPECT_EQ(dialog->ClientWidth(), 684);
    EXPECT_EQ(dialog->ClientHeight(), 136);
    EXPECT_EQ(dialog->Widget()->frameGeometry().size(), QSize(dialog->Width(), dialog->Height()));
    EXPECT_GT(dialog->Height(), 136);
}

TEST(Form, AlignedChildrenStackInTheClassicOrder)
{
    auto form = newForm();
    form->SetBounds(0, 0, 200, 300);
    auto addPanel = [&](int top, int height, TAlign align) {
        auto *panel = new TPanel(form.get());
        panel->SetParent(form.get());
        panel->SetBounds(0, top, 50, height);
        panel->SetAlign(align);
        return panel;
    };
    TPanel *second = addPanel(100, 20, alTop);
    TPanel *first = addPanel(0, 10, alTop);
    TPanel *bottom = addPanel(0, 40, alBottom);
    TPanel *client = addPanel(0, 5, alClient);
    EXPECT_EQ(first->BoundsRect(), Rect(0, 0, 200, 10));
    EXPECT_EQ(second->BoundsRect(), Rect(0, 10, 200, 30));
    EXPECT_EQ(bottom->BoundsRect(), Rect(0, 260, 200, 300));
    EXPECT_EQ(client->BoundsRect(), Rect(0, 30, 200, 260));

    // Hiding one closes the gap; resizing the form follows.
    second->Hide();
    form->SetBounds(0, 0, 300, 400);
    EXPECT_EQ(client->BoundsRect(), Rect(0, 10, 300, 360));
}

TEST(Form, RightAnchoredControlsFollowTheRightEdge)
{
    auto form = newForm();
    form->SetBounds(0, 0, 400, 100);
    auto *button = new TButton(form.get());
    button->SetParent(form.get());
    button->SetBounds(300, 10, 75, 25);
    button->SetAnchors(akTop | akRight);
    auto *stretched = new TPanel(form.get());
    stretched->SetParent(form.get());
    stretched->SetBounds(10, 50, 380, 20);
    stretched->SetAnchors(akLeft | akTop | akRight);
    form->SetWidth(500);
    EXPECT_EQ(button->Left(), 400);
    EXPECT_EQ(button->Width(), 75);
    EXPECT_EQ(stretched->Width(), 480);
}

TEST(Form, ConstraintsKeepTheMinimumSize)
{
    auto form = newForm();
    form->SetBounds(0, 0, 500, 500);
    form->SetConstraints({1000, 798, 0, 0});
    EXPECT_EQ(form->Width(), 1000);
    EXPECT_EQ(form->Height(), 798);
    EXPECT_EQ(form->Widget()->minimumSize(), QSize(1000, 798));
}

TEST(Form, CentresOnTheScreenOrOnItsOwner)
{
    auto owner = newForm();
    owner->SetBounds(100, 100, 400, 300);
    auto dialog = newForm(owner.get());
    dialog->SetBounds(0, 0, 200, 100);
    dialog->SetPosition(poOwnerFormCenter);
    dialog->Show();
    EXPECT_EQ(dialog->Left(), 200);
    EXPECT_EQ(dialog->Top(), 200);
    dialog->Hide();
    dialog.release(); // owned by owner

    auto centred = newForm();
    centred->SetBounds(0, 0, 200, 100);
    centred->SetPosition(poScreenCenter);
    centred->Show();
    const TRect area = Screen->WorkAreaRect();
    EXPECT_EQ(centred->Left(), area.Left + (area.Width() - 200) / 2);
    EXPECT_EQ(centred->Top(), area.Top + (area.Height() - 100) / 2);
}

// A window system that puts a window a pixel right of where it is asked to
// go, as a window manager snapping windows to an edge or a grid does.
class DisplacedForm : public TForm
{
public:
    using TForm::TForm;
    int placings = 0;
    int deepest = 0;

protected:
    void ApplyBounds() override
    {
        ++m_depth;
        deepest = std::max(deepest, m_depth);
        TForm::ApplyBounds();
        // Deeper than any sane placing goes, the window stays put, so that
        // a form that chases it ends rather than exhausting the stack.
        if (Widget()->isVisible() && m_depth < 50) {
            ++placings;
            Widget()->move(Widget()->pos() + QPoint(1, 0));
        }
        --m_depth;
    }

private:
    int m_depth = 0;
};

TEST(Form, AWindowThatLandsElsewhereMovesTheFormThereOnce)
{
    auto form = std::unique_ptr<DisplacedForm>(NewObject<DisplacedForm>(nullptr));
    form->SetBounds(100, 100, 400, 300);
    form->Show();
    QApplication::processEvents();
    form->placings = 0;
    form->deepest = 0;
    form->SetBounds(200, 150, 400, 300);
    QApplication::processEvents();
    // The form is where the window is, not where it was asked to be, and
    // the window was moved once.
    EXPECT_EQ(form->deepest, 1);
    EXPECT_EQ(form->placings, 1);
    EXPECT_EQ(form->BoundsRect(), Rect(201, 150, 601, 450));
    EXPECT_EQ(form->Widget()->frameGeometry().topLeft(), QPoint(201, 150));
}

TEST(Form, MakeFullyVisibleMovesTheFormIntoAnArea)
{
    auto form = newForm();
    form->SetBounds(0, 0, 200, 100);
    form->MakeFullyVisible(TRect(1000, 50, 1600, 850));
    EXPECT_EQ(form->BoundsRect(), Rect(1000, 50, 1200, 150));
    form->SetBounds(1550, 820, 200, 100);
    form->MakeFullyVisible(TRect(1000, 50, 1600, 850));
    EXPECT_EQ(form->BoundsRect(), Rect(1400, 750, 1600, 850));
    // Inside already: it stays.
    form->SetBounds(1100, 300, 200, 100);
    form->MakeFullyVisible(TRect(1000, 50, 1600, 850));
    EXPECT_EQ(form->BoundsRect(), Rect(1100, 300, 1300, 400));
    // The monitor of a form is one of the screen's work areas.
    const TRect area = form->MonitorWorkArea();
    EXPECT_FALSE(area.IsEmpty());
}

TEST(Form, FlipChildrenMirrorsPlacesAlignmentAndAnchors)
{
    auto form = newForm();
    form->SetBorderStyle(bsNone);
    form->SetClientWidth(300);
    form->SetClientHeight(200);
    auto *side = new TPanel(form.get());
    side->SetParent(form.get());
    side->SetBounds(0, 0, 40, 10);
    side->SetAlign(alLeft);
    auto *box = new TPanel(form.get());
    box->SetParent(form.get());
    box->SetBounds(60, 20, 100, 80);
    auto *button = new TButton(form.get());
    button->SetParent(box);
    button->SetBounds(10, 5, 30, 20);
    button->SetAnchors(akTop | akRight);

    form->FlipChildren(true);
    EXPECT_EQ(side->Align(), alRight);
    EXPECT_EQ(side->Left(), 260);
    EXPECT_EQ(box->Left(), 300 - 60 - 100);
    EXPECT_EQ(button->Left(), box->ClientWidth() - 10 - 30);
    EXPECT_EQ(button->Anchors(), akTop | akLeft);
}

TEST(Form, DialogBorderGivesAFixedSize)
{
    auto form = newForm();
    form->SetBorderStyle(bsDialog);
    form->SetClientWidth(684);
    form->SetClientHeight(136);
    EXPECT_EQ(form->Widget()->minimumSize(), QSize(684, 136));
    EXPECT_EQ(form->Widget()->maximumSize(), QSize(684, 136));
    form->SetCaption(QStringLiteral("Choose"));
    EXPECT_EQ(form->Widget()->windowTitle(), QStringLiteral("Choose"));
}

TEST(Form, ADialogCannotBeMinimisedOrMaximised)
{
    auto form = newForm();
    form->SetBorderStyle(bsDialog);
    const Qt::WindowFlags flags = form->Widget()->windowFlags();
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Dialog);
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);

    // A window manager that minimises it anyway sees it come back.
    form->Show();
    form->Widget()->setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    EXPECT_FALSE(form->Widget()->windowState() & Qt::WindowMinimized);
    EXPECT_TRUE(form->Widget()->isVisible());
    EXPECT_EQ(form->WindowState(), wsNormal);

    auto sizeable = newForm();
    sizeable->Show();
    sizeable->Widget()->setWindowState(Qt::WindowMinimized);
    QApplication::processEvents();
    EXPECT_EQ(sizeable->WindowState(), wsMinimized);
}

TEST(Form, TheWindowsCloseButtonClosesTheClassicWay)
{
    auto form = newForm();
    int queries = 0;
    form->OnCloseQuery = [&](TObject *, bool &canClose) {
        ++queries;
        canClose = queries > 1;
    };
    form->Show();
    EXPECT_FALSE(form->Widget()->close());
    EXPECT_TRUE(form->Widget()->isVisible());
    form->Widget()->close();
    EXPECT_EQ(queries, 2);
    EXPECT_FALSE(form->Widget()->isVisible());
}

TEST(Form, ActivationOfTheWindowReachesActivateAndDeactivate)
{
    auto first = newForm();
    auto second = newForm();
    QStringList log;
    first->OnActivate = [&](TObject *) { log << QStringLiteral("activate"); };
    first->OnDeactivate = [&](TObject *) { log << QStringLiteral("deactivate"); };
    first->Show();
    second->Show();
    // Showing may activate either, by what earlier windows left behind.
    QApplication::setActiveWindow(second->Widget());
    QApplication::processEvents();
    log.clear();
    QApplication::setActiveWindow(first->Widget());
    QApplication::processEvents();
    QApplication::setActiveWindow(second->Widget());
    QApplication::processEvents();
    EXPECT_EQ(log, QStringList({"activate", "deactivate"}));
}

TEST(Application, MainFormAndTermination)
{
    ASSERT_NE(Application, nullptr);
    Application->SetTitle(QStringLiteral("Questionnaire"));
    EXPECT_EQ(Application->Title(), QStringLiteral("Questionnaire"));
    EXPECT_FALSE(Application->ExeName().isEmpty());

    TApplication application;
    TForm *main = nullptr;
    TForm *second = nullptr;
    application.CreateForm(main);
    application.CreateForm(second);
    EXPECT_EQ(application.MainForm(), main);
    EXPECT_EQ(main->Owner(), &application);
    EXPECT_FALSE(application.Terminated());
    delete second;
    EXPECT_FALSE(application.Terminated());
}

TEST(Application, MinimizeTakesTheShownFormsAndRestoreBringsThemBack)
{
    auto plain = newForm();
    auto maximized = newForm();
    auto hidden = newForm();
    auto freed = newForm();
    plain->Show();
    maximized->Show();
    maximized->SetWindowState(wsMaximized);
    freed->Show();

    Application->Minimize();
    EXPECT_EQ(plain->WindowState(), wsMinimized);
    EXPECT_EQ(maximized->WindowState(), wsMinimized);
    EXPECT_FALSE(hidden->Widget()->isVisible());
    freed.reset();
    Application->Restore();
    EXPECT_EQ(plain->WindowState(), wsNormal);
    EXPECT_EQ(maximized->WindowState(), wsMaximized);
    EXPECT_FALSE(hidden->Widget()->isVisible());

    // A form the user minimised himself stays so.
    plain->SetWindowState(wsMinimized);
    Application->Restore();
    EXPECT_EQ(plain->WindowState(), wsMinimized);
}

TEST(Application, AModalFormOutlivesMinimize)
{
    ScriptedModalRunner runner;
    auto owner = newForm();
    owner->Show();
    auto dialog = newForm();
    runner.onForm = [&](TCustomForm &running) {
        Application->Minimize();
        QApplication::processEvents();
        EXPECT_EQ(owner->WindowState(), wsMinimized);
        EXPECT_NE(running.WindowState(), wsMinimized);
        Application->Restore();
        running.SetModalResult(mrOk);
    };
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(owner->WindowState(), wsNormal);
    EXPECT_EQ(Application->ExeName(), QCoreApplication::applicationFilePath());
}

TEST(Application, ClosingTheMainFormEndsRun)
{
    TApplication *saved = Application;
    TApplication application;
    Application = &application;
    TForm *main = nullptr;
    application.CreateForm(main);
    QTimer::singleShot(0, main, [main] { main->Close(); });
    application.Run();
    EXPECT_TRUE(application.Terminated());
    EXPECT_FALSE(main->Widget()->isVisible());
    Application = saved;
}

} // namespace
