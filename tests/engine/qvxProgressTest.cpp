#include "engine/qvxProgress.h"
#include "report/model/qvxServices.h"
#include "toolkit/classes/TObject.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TScreen.h"

#include <QApplication>

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
