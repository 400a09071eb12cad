#include "toolkit/widgets/KeyMapping.h"
#include "toolkit/widgets/ShortCuts.h"

#include <gtest/gtest.h>

TEST(ShortCuts, TextsNameTheModifiersInShiftCtrlAltOrder)
{
    EXPECT_EQ(ShortCut('A', ssCtrl), 0x4041);
    EXPECT_EQ(ShortCutToText(ShortCut('A', ssCtrl)), QStringLiteral("Ctrl+A"));
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F1, ssAlt | ssCtrl | ssShift)), QStringLiteral("Shift+Ctrl+Alt+F1"));
    EXPECT_EQ(ShortCutToText(ShortCut(VK_BACK, ssAlt)), QStringLiteral("Alt+BkSp"));
    EXPECT_EQ(ShortCutToText(ShortCut(VK_NEXT, {})), QStringLiteral("PgDn"));
    EXPECT_EQ(ShortCutToText(ShortCut('7', ssShift)), QStringLiteral("Shift+7"));
    EXPECT_EQ(ShortCutToText(ShortCut(VK_F12 + 12, {})), QStringLiteral("F24"));
    // Keys without a name have no text.
    EXPECT_EQ(ShortCutToText(ShortCut(VK_CAPITAL, ssCtrl)), QString());
    EXPECT_EQ(ShortCutToText(scNone), QString());
    EXPECT_EQ(ShortCut(0x100, ssCtrl), scNone);
}

TEST(ShortCuts, TextsParseBackIgnoringCase)
{
    for (const TShortCut shortCut : {TShortCut(0x4041), ShortCut(VK_DELETE, ssShift), ShortCut(VK_F5, ssCtrl | ssShift),
                                     ShortCut(VK_BACK, ssShift | ssAlt), ShortCut(VK_SPACE, {})}) {
        SCOPED_TRACE(shortCut);
        EXPECT_EQ(TextToShortCut(ShortCutToText(shortCut)), shortCut);
    }
    EXPECT_EQ(TextToShortCut(QStringLiteral("ctrl+alt+z")), ShortCut('Z', ssCtrl | ssAlt));
    EXPECT_EQ(TextToShortCut(QStringLiteral("Alt+Shift+Ins")), ShortCut(VK_INSERT, ssShift | ssAlt));
    for (const char *text : {"", "Ctrl+", "Ctrl+Banana", "Hyper+A", "AB"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(TextToShortCut(QString::fromLatin1(text)), scNone);
    }
    EXPECT_EQ(NoShortCutText(), QStringLiteral("(None)"));
}
