#include "engine/qvxProgress.h"
#include "report/model/qvxServices.h"
#include "toolkit/classes/TObject.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TPanel.h"
#include "toolkit/widgets/TScreen.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <memory>

TEST(qvxProgress, WindowWithoutBarCentresTheMessage)
{
    std::unique_ptr<TqvxProgress> progress(NewObject<TqvxProgress>(nullptr));
    EXPECT_EQ(progress->CancelB->Caption(), QString::fromUtf8("Отмена"));
    progress->Execute(10, "Exporting", true, false);
    EXPECT_TRUE(progress->Visible());
    EXPECT_FALSE(progress->Bar->Visible());
    EXPECT_EQ(progress->LMessage->Top(), 35);
    EXPECT_EQ(progress->LMessage->Caption(), "Exporting");

    progress->Execute(10, "Running", false, true);
    EXPECT_TRUE(progress->Bar->Visible());
    EXPECT_FALSE(progress->CancelB->Visible());
    EXPECT_EQ(progress->LMessage->Top(), 15);
    progress->SetPosition(4);
    EXPECT_EQ(progress->Bar->Position(), 4);
    EXPECT_EQ(progress->Bar->Max(), 10);
}

TEST(qvxProgress, CancelTerminatesAndCloses)
{
    std::unique_ptr<TqvxProgress> progress(NewObject<TqvxProgress>(nullptr));
    progress->Execute(3, "Printing", true, true);
    EXPECT_FALSE(progress->Terminated());
    progress->CancelB->Click();
    EXPECT_TRUE(progress->Terminated());
    EXPECT_FALSE(progress->Visible());
    progress->Execute(3, "Printing", true, true);
    EXPECT_FALSE(progress->Terminated());
}

TEST(qvxProgress, ClosingTheWindowIsCancel)
{
    std::unique_ptr<TqvxProgress> progress(NewObject<TqvxProgress>(nullptr));
    progress->Execute(3, "Exporting", true, true);
    // What the window manager's close (Alt+F4) sends.
    progress->Widget()->close();
    EXPECT_TRUE(progress->Terminated());
    EXPECT_FALSE(progress->Visible());
}

TEST(qvxProgress, TheWindowBelongsToTheModalFormSoThatItIsNotBlocked)
{
    std::unique_ptr<TForm> modal(NewObject<TForm>(nullptr));
    modal->Widget()->setWindowModality(Qt::ApplicationModal);
    modal->Show();
    QApplication::processEvents();
    ASSERT_EQ(Screen->ActiveModalForm(), modal.get());
    std::unique_ptr<TqvxProgress> progress(NewObject<TqvxProgress>(nullptr));
    progress->Execute(3, "Printing", true, true);
    EXPECT_EQ(progress->PopupParent(), modal.get());
    ASSERT_NE(progress->Widget()->windowHandle(), nullptr);
    EXPECT_EQ(progress->Widget()->windowHandle()->transientParent(), modal->Widget()->windowHandle());
    progress.reset();
    modal->Hide();
}

TEST(qvxProgress, TheActiveFormIsDisabledWhileTheWindowLives)
{
    std::unique_ptr<TForm> owner(NewObject<TForm>(nullptr));
    owner->Show();
    owner->Widget()->activateWindow();
    QApplication::processEvents();
    if (Screen->ActiveForm() != owner.get())
        GTEST_SKIP() << "the platform gives no active window";
    auto progress = std::unique_ptr<TqvxProgress>(NewObject<TqvxProgress>(nullptr));
    EXPECT_FALSE(owner->Enabled());
    progress.reset();
    EXPECT_TRUE(owner->Enabled());
}

TEST(qvxProgress, TheEngineInstallsTheWindowAsProgressDisplay)
{
    std::unique_ptr<TqvxCustomProgress> progress(qvxNewProgress());
    EXPECT_NE(dynamic_cast<TqvxProgress *>(progress.get()), nullptr);
}

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, QPoint local, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(local), QPointF(widget->mapToGlobal(local)), Qt::LeftButton, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(qvxProgress, TheWindowIsDraggedByAnyPointOutsideItsButton)
{
    std::unique_ptr<TqvxProgress> progress(NewObject<TqvxProgress>(nullptr));
    progress->Execute(3, "Exporting", true, true);
    progress->SetBounds(100, 80, progress->Width(), progress->Height());
    for (TControl *handle : std::initializer_list<TControl *>{progress->LMessage, progress->Panel1}) {
        const int left = progress->Left();
        const int top = progress->Top();
        QWidget *widget = handle->Widget();
        sendMouse(widget, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
        sendMouse(widget, QEvent::MouseMove, QPoint(25, 17), Qt::LeftButton);
        sendMouse(widget, QEvent::MouseButtonRelease, QPoint(25, 17), Qt::NoButton);
        EXPECT_EQ(progress->Left(), left + 20);
        EXPECT_EQ(progress->Top(), top + 12);
        // A move after the release leaves the window where it is.
        sendMouse(widget, QEvent::MouseMove, QPoint(40, 40), Qt::NoButton);
        EXPECT_EQ(progress->Left(), left + 20);
    }
    // The button keeps its presses.
    const int left = progress->Left();
    QWidget *button = progress->CancelB->Widget();
    sendMouse(button, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
    sendMouse(button, QEvent::MouseMove, QPoint(500, 5), Qt::LeftButton);
    sendMouse(button, QEvent::MouseButtonRelease, QPoint(500, 5), Qt::NoButton);
    EXPECT_EQ(progress->Left(), left);
    EXPECT_FALSE(progress->Terminated());
}

TEST(qvxProgress, ARightToLeftProgramMirrorsTheControls)
{
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    std::unique_ptr<TqvxProgress> progress(NewObject<TqvxProgress>(nullptr));
    QGuiApplication::setLayoutDirection(Qt::LeftToRight);
    const int width = progress->Panel1->ClientWidth();
    EXPECT_EQ(progress->CancelB->Left(), width - 100 - 75);
    EXPECT_EQ(progress->LMessage->Left(), width - 16 - 237);
    EXPECT_EQ(progress->Bar->Left(), width - 16 - 237);
}
