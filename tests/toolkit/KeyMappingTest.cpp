#include "toolkit/widgets/Cursors.h"
#include "toolkit/widgets/KeyMapping.h"

#include <gtest/gtest.h>

TEST(KeyMapping, QtKeysBecomeVirtualKeys)
{
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Return), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Enter, Qt::KeypadModifier), VK_RETURN);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Escape), VK_ESCAPE);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_PageUp), VK_PRIOR);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_PageDown), VK_NEXT);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Backtab), VK_TAB);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F1), 112);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_F12), 123);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Alt), VK_MENU);
    // Letters and digits keep their upper-case ASCII codes.
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_A), 'A');
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_7), '7');
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_unknown), 0);
}

TEST(KeyMapping, NumericPadHasItsOwnCodes)
{
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_7, Qt::KeypadModifier), VK_NUMPAD7);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Plus, Qt::KeypadModifier), VK_ADD);
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Slash, Qt::KeypadModifier), VK_DIVIDE);
    // The main keyboard's plus has no virtual key of its own.
    EXPECT_EQ(VirtualKeyFromQt(Qt::Key_Plus), 0);
}

TEST(KeyMapping, ShiftStateBits)
{
    EXPECT_EQ(int(ssCtrl), 4);
    EXPECT_EQ(int(ssDouble), 64);
    const TShiftState state =
        ShiftStateFromQt(Qt::ShiftModifier | Qt::ControlModifier, Qt::LeftButton | Qt::MiddleButton);
    EXPECT_EQ(state.toInt(), int(ssShift | ssCtrl | ssLeft | ssMiddle));
    EXPECT_EQ(ShiftStateFromQt(Qt::AltModifier).toInt(), int(ssAlt));
    EXPECT_EQ(MouseButtonFromQt(Qt::RightButton), mbRight);
    EXPECT_EQ(MouseButtonFromQt(Qt::MiddleButton), mbMiddle);
}

TEST(Cursors, SharedValuesAndShapes)
{
    EXPECT_EQ(crSize, crSizeAll);
    EXPECT_EQ(QtCursorShape(crHSplit), Qt::SplitHCursor);
    EXPECT_EQ(QtCursorShape(crIBeam), Qt::IBeamCursor);
    EXPECT_EQ(QtCursorShape(crDefault), Qt::ArrowCursor);
}
