#include "toolkit/core/CodePages.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/FontCharsets.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/widgets/Cursors.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

QStringList namesOf(void (*enumerate)(const TGetStrProc &))
{
    QStringList names;
    enumerate([&names](const QString &name) { names.append(name); });
    return names;
}

} // namespace

TEST(NameTables, CharsetsByNameAndNumber)
{
    const QStringList names = namesOf(GetCharsetValues);
    ASSERT_EQ(names.size(), 19);
    EXPECT_EQ(names.first(), QStringLiteral("ANSI_CHARSET"));
    EXPECT_EQ(names.last(), QStringLiteral("OEM_CHARSET"));
    for (const QString &name : names) {
        SCOPED_TRACE(name.toStdString());
        int charset = -1;
        QString back;
        ASSERT_TRUE(IdentToCharset(name.toLower(), charset));
        ASSERT_TRUE(CharsetToIdent(charset, back));
        EXPECT_EQ(back, name);
    }
    int charset = 0;
    EXPECT_TRUE(IdentToCharset(QStringLiteral("RUSSIAN_CHARSET"), charset));
    EXPECT_EQ(charset, RUSSIAN_CHARSET);
    QString ident;
    EXPECT_FALSE(CharsetToIdent(3, ident));
    EXPECT_FALSE(IdentToCharset(QStringLiteral("KLINGON_CHARSET"), charset));
}

TEST(NameTables, CursorsByNameAndNumber)
{
    const QStringList names = namesOf(GetCursorValues);
    ASSERT_EQ(names.size(), 22);
    EXPECT_EQ(names.first(), QStringLiteral("crDefault"));
    QString ident;
    // crSize is another name of crSizeAll; the table names it crSizeAll.
    ASSERT_TRUE(CursorToIdent(crSize, ident));
    EXPECT_EQ(ident, QStringLiteral("crSizeAll"));
    TCursor cursor = 0;
    EXPECT_TRUE(IdentToCursor(QStringLiteral("CRHOURGLASS"), cursor));
    EXPECT_EQ(cursor, crHourGlass);
    EXPECT_FALSE(IdentToCursor(QStringLiteral("crSize"), cursor));
}

TEST(NameTables, ColoursEnumerateInTableOrder)
{
    const QStringList names = namesOf(GetColorValues);
    EXPECT_EQ(names.size(), 52);
    EXPECT_EQ(names.first(), QStringLiteral("clBlack"));
}

TEST(NameTables, TheInstalledFontFamiliesAreListedOnce)
{
    const QStringList families = TFontEngine::Families();
    EXPECT_TRUE(families.contains(QStringLiteral("Liberation Sans")));
    EXPECT_EQ(families.size(), QSet<QString>(families.begin(), families.end()).size());
}
