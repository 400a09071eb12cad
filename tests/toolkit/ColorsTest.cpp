#include "toolkit/graphics/Colors.h"

#include "common/TestSupport.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace {

TEST(Colors, ValuesAreBlueGreenRed)
{
    EXPECT_EQ(clRed, 255);
    EXPECT_EQ(clBlue, 16711680);
    EXPECT_EQ(clBtnFace, -16777201);
    EXPECT_EQ(ColorToQColor(clNavy), QColor(0, 0, 128));
    EXPECT_EQ(QColorToColor(QColor(0x12, 0x34, 0x56)), 0x563412);
    EXPECT_EQ(ColorToQColor(clNone).alpha(), 0);
}

TEST(Colors, SystemColoursComeFromTheFixedTable)
{
    EXPECT_EQ(ColorToRGB(clWindow), clWhite);
    EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
    EXPECT_EQ(ColorToRGB(clBtnShadow), clGray);
    EXPECT_EQ(ColorToRGB(cl3DDkShadow), 0x404040);
    EXPECT_EQ(ColorToRGB(clInfoBk), 0xE1FFFF);
    EXPECT_EQ(ColorToRGB(clMenuBar), ColorToRGB(clBtnFace));
    // Fixed and special values pass unchanged; an index past the table is black.
    EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
    EXPECT_EQ(ColorToRGB(clNone), clNone);
    EXPECT_EQ(ColorToRGB(clDefault), clDefault);
    EXPECT_EQ(ColorToRGB(SystemColor(200)), clBlack);
}

TEST(Colors, NameTableInClassicOrder)
{
    QStringList names;
    GetColorValues([&](const QString &name) { names.append(name); });
    ASSERT_EQ(names.size(), 52);
    EXPECT_EQ(names.first(), QStringLiteral("clBlack"));
    EXPECT_EQ(names[19], QStringLiteral("clMedGray"));
    EXPECT_EQ(names[29], QStringLiteral("clDefault"));
    EXPECT_EQ(names.last(), QStringLiteral("clWindowText"));

    TColor color = 0;
    EXPECT_TRUE(IdentToColor(QStringLiteral("CLBTNFACE"), color));
    EXPECT_EQ(color, clBtnFace);
    EXPECT_TRUE(IdentToColor(QStringLiteral("clnone"), color));
    EXPECT_EQ(color, clNone);
    EXPECT_FALSE(IdentToColor(QStringLiteral("clChartreuse"), color));
    EXPECT_EQ(color, clNone); // unchanged

    QString ident;
    EXPECT_TRUE(ColorToIdent(clSkyBlue, ident));
    EXPECT_EQ(ident, QStringLiteral("clSkyBlue"));
    EXPECT_FALSE(ColorToIdent(0x010203, ident));
}

} // namespace
