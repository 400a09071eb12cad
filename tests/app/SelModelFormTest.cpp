#include "app/SelModelFrm.h"

#include "AppTestSupport.h"
#include "common/TestSupport.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/widgets/KeyMapping.h"
#include "toolkit/widgets/TButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

const QList<TModelCandidate> TwoCandidates = {{QStringLiteral("ZMT100H"), 2}, {QStringLiteral("ZMT100L"), 4}};

} // namespace

TEST(ModelButtonRow, TwoCandidatesAndCancelAreCentred)
{
    const TModelButtonRow row = LayoutModelButtons(2, 684);
    EXPECT_EQ(row.Width, 285);
    EXPECT_EQ(row.Left, 199);
    EXPECT_EQ(row.Button(0), Bounds(199, 96, 75, 25));
    EXPECT_EQ(row.Button(1), Bounds(304, 96, 75, 25));
    EXPECT_EQ(row.Button(2), Bounds(409, 96, 75, 25));
}

TEST(ModelButtonRow, ShrinkingStopsWhenItGainsNothing)
{
    // Six candidates overshoot by 21: the gaps give 3 each, and the last 3
    // pixels are too few to take from seven buttons.
    const TModelButtonRow row = LayoutModelButtons(6, 684);
    EXPECT_EQ(row.Gap, 27);
    EXPECT_EQ(row.ButtonWidth, 75);
    EXPECT_EQ(row.Width, 687);
    EXPECT_EQ(row.Left, -1);
}

TEST(ModelButtonRow, RowsShrinkWithoutOverlapping)
{
    for (int clientWidth : {684, 300, 40}) {
        for (int n = 0; n <= 20; ++n) {
            const TModelButtonRow row = LayoutModelButtons(n, clientWidth);
            EXPECT_GE(row.Gap, 0) << n << " in " << clientWidth;
            EXPECT_EQ(row.Width, (n + 1) * row.ButtonWidth + n * row.Gap);
            for (int i = 1; i <= n; ++i)
                EXPECT_LE(row.Button(i - 1).Right, row.Button(i).Left) << n << " in " << clientWidth;
        }
    }
    // Ten candidates use up the gaps, then take the widths down past 70.
    const TModelButtonRow ten = LayoutModelButtons(10, 684);
    EXPECT_EQ(ten.Gap, 0);
    EXPECT_EQ(ten.ButtonWidth, 63);
}

TEST(SelModelForm, OffersOneButtonPerCandidateThenCancel)
{
    ScriptedModalRunner runner;
    runner.onForm = [](TCustomForm &form) {
        EXPECT_EQ(form.ClientWidth(), 684);
        const QList<TButton *> buttons = FormButtons(form);
        ASSERT_EQ(buttons.size(), 3);
        EXPECT_EQ(buttons[0]->Caption(), QStringLiteral("ZMT100H"));
        EXPECT_EQ(buttons[0]->Tag(), 2);
        EXPECT_TRUE(buttons[0]->Default());
        EXPECT_EQ(buttons[1]->Tag(), 4);
        EXPECT_FALSE(buttons[1]->Default());
        EXPECT_TRUE(buttons[2]->Cancel());
        EXPECT_EQ(buttons[2]->BoundsRect(), LayoutModelButtons(2, 684).Button(2));
        form.SetModalResult(mrCancel);
    };
    SelectModel(nullptr, TwoCandidates);
}

TEST(SelModelForm, AnswersTheModelOfThePressedButtonOrZero)
{
    ScriptedModalRunner runner;
    int press = 1;
    runner.onForm = [&](TCustomForm &form) { FormButtons(form)[press]->Click(); };
    EXPECT_EQ(SelectModel(nullptr, TwoCandidates), 4);
    press = 0;
    EXPECT_EQ(SelectModel(nullptr, TwoCandidates), 2);
    press = 2;
    EXPECT_EQ(SelectModel(nullptr, TwoCandidates), 0);

    // Return takes the first candidate; Escape and closing the window cancel.
    runner.onForm = [](TCustomForm &form) { form.DialogKey(VK_RETURN); };
    EXPECT_EQ(SelectModel(nullptr, TwoCandidates), 2);
    runner.onForm = [](TCustomForm &form) { form.DialogKey(VK_ESCAPE); };
    EXPECT_EQ(SelectModel(nullptr, TwoCandidates), 0);
    runner.onForm = [](TCustomForm &form) { form.Close(); };
    EXPECT_EQ(SelectModel(nullptr, TwoCandidates), 0);
}

TEST(SelModelForm, ReturnPressesTheButtonTabReached)
{
    ScriptedModalRunner runner;
    int tabs = 0;
    const auto key = [](int qtKey) {
        QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
    };
    runner.onForm = [&](TCustomForm &form) {
        QApplication::setActiveWindow(form.Widget());
        FormButtons(form)[0]->SetFocus();
        for (int i = 0; i < tabs; ++i)
            key(Qt::Key_Tab);
        key(Qt::Key_Return);
    };
    const int expected[] = {2, 4, 0};
    for (tabs = 0; tabs < 3; ++tabs)
        EXPECT_EQ(SelectModel(nullptr, TwoCandidates), expected[tabs]) << tabs << " Tab";
}
