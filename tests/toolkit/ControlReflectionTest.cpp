// Controls as scripts and stored forms see them: created by class name,
// with published properties, and timers and cursors of the application.

#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TScreen.h"
#include "toolkit/classes/TTimer.h"
#include "toolkit/classes/Reflection.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ControlReflection, ControlsAreCreatedByNameWithTheirOwner)
{
    std::unique_ptr<TForm> form(NewObject<TForm>(nullptr));
    TObject *object = CreateObject(FindClass(QStringLiteral("TButton")), form.get());
    auto *button = qobject_cast<TButton *>(object);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->Owner(), form.get());
    EXPECT_NE(GetClass(QStringLiteral("TSaveDialog")), nullptr);
}

TEST(ControlReflection, PublishedPropertiesReachTheControl)
{
    std::unique_ptr<TForm> form(NewObject<TForm>(nullptr));
    auto *button = new TButton(form.get());
    button->SetParent(form.get());

    const TPropInfo *caption = GetPropInfo(button, QStringLiteral("Caption"));
    ASSERT_NE(caption, nullptr);
    caption->SetStr(button, QStringLiteral("OK"));
    EXPECT_EQ(button->Caption(), QStringLiteral("OK"));

    const TPropInfo *anchors = GetPropInfo(button, QStringLiteral("Anchors"));
    ASSERT_NE(anchors, nullptr);
    EXPECT_EQ(anchors->Kind(), TTypeKind::Set);
    EXPECT_EQ(anchors->EnumNames().value(3), QStringLiteral("akBottom"));

    const TPropInfo *left = GetPropInfo(button, QStringLiteral("Left"));
    ASSERT_NE(left, nullptr);
    left->SetOrd(button, 42);
    EXPECT_EQ(button->Left(), 42);

    const TPropInfo *position = GetPropInfo(form.get(), QStringLiteral("Position"));
    ASSERT_NE(position, nullptr);
    EXPECT_EQ(position->EnumNames().value(4), QStringLiteral("poScreenCenter"));
}

TEST(Timer, FiresWhileEnabledWithAHandler)
{
    TTimer timer(nullptr);
    int ticks = 0;
    timer.SetInterval(5);
    timer.SetOnTimer([&](TObject *sender) {
        EXPECT_EQ(sender, &timer);
        if (++ticks == 2)
            timer.SetEnabled(false);
    });
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 500)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(ticks, 2);
}

TEST(ScreenObject, CursorOverridesEveryWindowUntilReset)
{
    ASSERT_NE(Screen, nullptr);
    Screen->SetCursor(crHourGlass);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_GT(Screen->WorkAreaWidth(), 0);
}

} // namespace
