#include "report/base/TWideStrings.h"

#include "common/TestSupport.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"

#include <gtest/gtest.h>

namespace {

QStringList lines(const TWideStrings &list)
{
    QStringList result;
    for (int i = 0; i < list.Count(); ++i)
        result.append(list.Get(i));
    return result;
}

QStringList linesOf(const QString &text)
{
    TWideStrings list;
    list.SetText(text);
    return lines(list);
}

QStringList loaded(const QByteArray &bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    stream.SetPosition(0);
    TWideStrings list;
    list.LoadFromStream(&stream);
    return lines(list);
}

} // namespace

TEST(TWideStrings, SetTextBreaksAtEveryKindOfLineEnd)
{
    EXPECT_EQ(linesOf(QStringLiteral("a\r\nb\rc")), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(linesOf(QStringLiteral("a\n\rb")), (QStringList{"a", "", "b"}));
    EXPECT_EQ(linesOf(QString::fromUtf16(u"a\u2028b\r\n\u2028c")), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(linesOf(QStringLiteral("a\r\n")), (QStringList{"a"}));
    EXPECT_EQ(linesOf(QStringLiteral("a\r\n\r\n")), (QStringList{"a", ""}));
    EXPECT_EQ(linesOf(QStringLiteral("a") + QChar(0) + QStringLiteral("b")), (QStringList{"a"}));
    EXPECT_EQ(linesOf(QStringLiteral("a\r\n") + QChar(0) + QStringLiteral("b")), (QStringList{"a"}));
    EXPECT_EQ(linesOf(QStringLiteral("a\r") + QChar(0) + QStringLiteral("\nb")), (QStringList{"a"}));
    EXPECT_EQ(linesOf(QString(QChar(0)) + QStringLiteral("b")), QStringList());
    EXPECT_EQ(linesOf(QString()), QStringList());
}

TEST(TWideStrings, GetTextEndsEveryLine)
{
    TWideStrings list;
    list.Add(QStringLiteral("a"));
    list.Add(QString());
    EXPECT_EQ(list.GetText(), QStringLiteral("a\r\n\r\n"));
}

TEST(TWideStrings, IndexesOutsideTheListAreHarmlessOrRefused)
{
    TWideStrings list;
    TStringList owner;
    list.AddObject(QStringLiteral("a"), &owner);
    EXPECT_EQ(list.Get(5), QString());
    EXPECT_EQ(list.GetObject(-1), nullptr);
    list.PutObject(3, &owner);
    list.Put(1, QStringLiteral("b"));
    EXPECT_EQ(lines(list), (QStringList{"a", "b"}));
    try {
        list.Put(3, QStringLiteral("c"));
        ADD_FAILURE();
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Wide String Out of Bounds"));
    }
    EXPECT_THROW(list.Delete(2), Exception);
    EXPECT_EQ(list.IndexOf(QStringLiteral("B")), -1);
    EXPECT_EQ(list.IndexOf(QStringLiteral("b")), 1);
    EXPECT_EQ(list.GetObject(0), &owner);
}

TEST(TWideStrings, LoadsUtf16WithAMarkAndEightBitTextWithout)
{
    EXPECT_EQ(loaded(QByteArray("\xFF\xFE\x41\x00", 4)), (QStringList{"A"}));
    EXPECT_EQ(loaded("AB"), (QStringList{"AB"}));
    EXPECT_EQ(loaded("\xCF\xF0\xE8"), (QStringList{QString::fromUtf16(u"\u041F\u0440\u0438")}));
    EXPECT_EQ(loaded(QStringLiteral("Заказ\nСё").toUtf8()), (QStringList{"Заказ", "Сё"})) << "UTF-8 text files";
    EXPECT_EQ(loaded(QByteArray("\xFF\xFE", 2)), QStringList()) << "an empty list as saved";
}

TEST(TWideStrings, SavesUtf16AfterAMarkThatReadsBackAsWritten)
{
    TWideStrings list;
    list.Add(QString::fromUtf16(u"A\u041F"));
    TMemoryStream stream;
    list.SaveToStream(&stream);
    EXPECT_EQ(stream.Bytes(), QByteArray("\xFF\xFE" "A\x00\x1F\x04\r\x00\n\x00", 10));

    for (const QStringList &lines : QList<QStringList>{{QStringLiteral("AB")},
                                                       {QStringLiteral("Сё"), QStringLiteral("日本 Ωμέγα")},
                                                       {QString(), QStringLiteral("яю")},
                                                       {}}) {
        TWideStrings source;
        for (const QString &line : lines)
            source.Add(line);
        TMemoryStream saved;
        source.SaveToStream(&saved);
        EXPECT_EQ(loaded(saved.Bytes()), lines);
    }
}

TEST(TWideStrings, AssignsToAndFromStringLists)
{
    TStringList source;
    source.AddObject(QStringLiteral("one"), &source);
    source.Add(QString::fromUtf16(u"\u0434\u0432\u0430"));
    TWideStrings wide;
    wide.Add(QStringLiteral("old"));
    wide.Assign(&source);
    EXPECT_EQ(lines(wide), (QStringList{"one", QString::fromUtf16(u"\u0434\u0432\u0430")}));
    EXPECT_EQ(wide.GetObject(0), &source);

    TWideStrings copy;
    copy.Assign(&wide);
    copy.AddStrings(&copy);
    EXPECT_EQ(copy.Count(), 4);

    TStringList target;
    target.Add(QStringLiteral("old"));
    target.Assign(&wide);
    EXPECT_EQ(target.Count(), 2);
    EXPECT_EQ(target.Strings(1), QString::fromUtf16(u"\u0434\u0432\u0430"));
    EXPECT_EQ(target.Objects(0), &source);
}
