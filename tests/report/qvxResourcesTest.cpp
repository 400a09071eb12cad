#include "report/model/qvxResources.h"

#include "common/TestSupport.h"
#include "report/xml/qvxXMLReader.h"
#include "script/zqMessages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Files.h"
#include "toolkit/graphics/ImageList.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QString resourceText(const QString &codePage, const QString &entries)
{
    return QStringLiteral("<?xml version=\"1.1\" encoding=\"utf-8\"?><Resources CodePage=\"%1\">%2</Resources>")
        .arg(codePage, entries);
}

// Loading into a store of its own hands that store's script messages over;
// every test gives the global store's back.
class TqvxResourcesTest : public ::testing::Test
{
protected:
    void TearDown() override { qvxResources()->UpdateFSResources(); }
};

} // namespace

TEST_F(TqvxResourcesTest, AnswersTheBuiltInTexts)
{
    TqvxResources *store = qvxResources();
    EXPECT_EQ(store->Get(QStringLiteral("xrCantFindClass")), QString::fromUtf16(u"Не удалось найти класс"));
    EXPECT_EQ(store->Get(QStringLiteral("clPageOf")), QString::fromUtf16(u"Страница %d из %d"));
    EXPECT_EQ(store->Get(QStringLiteral("clDSNotExist")), QString::fromUtf16(u"Набор данных \"%s\" не найден"));
    EXPECT_EQ(qvxGet(1), QString::fromUtf16(u"ОК"));
    EXPECT_EQ(qvxGet(510), QString::fromUtf16(u"Файл печати (*.prn)|*.prn"));
    EXPECT_EQ(store->CodePage(), 1251);
}

TEST_F(TqvxResourcesTest, AnswersAMissingKeyWithTheKey)
{
    EXPECT_EQ(qvxResources()->Get(QStringLiteral("noSuchKey")), QStringLiteral("noSuchKey"));
    EXPECT_EQ(qvxGet(99999), QStringLiteral("99999"));
}

TEST_F(TqvxResourcesTest, LoadsLanguageTextsOverEarlierOnes)
{
    TqvxResources store;
    store.Add(QStringLiteral("k1"), QStringLiteral("old"));
    store.LoadFromString(resourceText(QStringLiteral("1252"),
                                      QStringLiteral("<StrRes Name=\"K1\" Text=\"new\"/>"
                                                     "<StrRes Name=\"bang\" Text=\"!Text\"/>"
                                                     "<StrRes Name=\"amp\" Text=\"&amp;lt;&#60;\"/>"
                                                     "<Other Name=\"k2\" Text=\"x\"/>")));
    EXPECT_EQ(store.CodePage(), 1252);
    EXPECT_EQ(store.Get(QStringLiteral("k1")), QStringLiteral("new"));
    EXPECT_EQ(store.Get(QStringLiteral("bang")), QStringLiteral("Text"));
    EXPECT_EQ(store.Get(QStringLiteral("!bang")), QStringLiteral("bang"));
    EXPECT_EQ(store.Get(QStringLiteral("amp")), QStringLiteral("&lt;<"));
    EXPECT_EQ(store.Get(QStringLiteral("k2")), QStringLiteral("k2"));
}

TEST_F(TqvxResourcesTest, ReducesTextsToItsCodePage)
{
    TqvxResources store;
    store.LoadFromString(resourceText(QStringLiteral("1252"),
                                      QString::fromUtf16(u"<StrRes Name=\"k\" Text=\"\u00E9\u0436\"/>")));
    EXPECT_EQ(store.Get(QStringLiteral("k")), QString::fromUtf16(u"\u00E9?"));
}

TEST_F(TqvxResourcesTest, IgnoresOtherRootsAndRefusesBrokenOnes)
{
    TqvxResources store;
    store.LoadFromString(QStringLiteral("<?xml version=\"1.0\"?><Strings CodePage=\"7\"><StrRes Name=\"k\" Text=\"v\"/></Strings>"));
    EXPECT_EQ(store.CodePage(), 0);
    EXPECT_EQ(store.Get(QStringLiteral("k")), QStringLiteral("k"));
    EXPECT_THROW(store.LoadFromString(resourceText(QStringLiteral("1251"), QStringLiteral("<StrRes"))),
                 TqvxInvalidXMLException);
    EXPECT_THROW(store.LoadFromString(resourceText(QStringLiteral("x"), QString())), EConvertError);
}

TEST_F(TqvxResourcesTest, HandsTheScriptMessagesOver)
{
    TqvxResources store;
    store.LoadFromString(resourceText(QStringLiteral("1251"),
                                      QStringLiteral("<StrRes Name=\"SIdUndeclared\" Text=\"Unknown name: \"/>")));
    EXPECT_EQ(SIdUndeclared, QStringLiteral("Unknown name: "));
    EXPECT_EQ(SForError, QStringLiteral("SForError"));
    qvxResources()->UpdateFSResources();
    EXPECT_EQ(SEventError, QString::fromUtf16(u"Event handler must be a procedure"));
}

TEST_F(TqvxResourcesTest, NamesTheHelpTopicOfAForm)
{
    const TqvxResources *store = qvxResources();
    EXPECT_EQ(store->HelpFileFor(QStringLiteral("TqvxDialogPage")),
              ProgramFolder() + QStringLiteral("QVUser.chm::/Dialogue_forms.htm"));
    EXPECT_EQ(store->HelpFileFor(QStringLiteral("tqvxsqleditorform")),
              ProgramFolder() + QStringLiteral("QVUser.chm::/TqvxADOQuery.htm"));
    EXPECT_EQ(store->HelpFileFor(QStringLiteral("TForm")), ProgramFolder() + QStringLiteral("QVUser.chm"));
}

TEST_F(TqvxResourcesTest, ListsTheLanguageFilesOfAFolder)
{
    const QString dir = TempFolder() + QStringLiteral("qvlang-%1/").arg(QCoreApplication::applicationPid());
    ASSERT_TRUE(QDir().mkpath(dir));
    for (const char *name : {"RUSSIAN.QVC", "english.qvc", "notes.txt", "German.Qvc"}) {
        QFile file(dir + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    TqvxResources store;
    store.BuildLanguagesList(dir);
    EXPECT_EQ(store.Languages(), (QStringList{"English", "German", "Russian"}));
    QDir(dir).removeRecursively();
}

TEST_F(TqvxResourcesTest, UnpacksItsButtonImagesIntoCells)
{
    TImageList *preview = qvxResources()->PreviewButtonImages();
    EXPECT_EQ(preview->Count(), 25);
    EXPECT_EQ(preview->Width(), 16);
    EXPECT_EQ(qvxResources()->PreviewButtonImages(), preview);
    EXPECT_EQ(qvxResources()->ObjectImages()->Count(), 25);
}
