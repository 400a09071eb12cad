#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"

#include "StringsTestSupport.h"
#include "common/TestSupport.h"

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <memory>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TStringList> listOf(const QStringList &lines)
{
    auto list = std::make_unique<TStringList>();
    for (const QString &line : lines)
        list->Add(line);
    return list;
}

} // namespace

TEST(TStrings, TextEndsEveryLineWithCrLf)
{
    auto list = listOf({QStringLiteral("a"), QString(), QStringLiteral("b")});
    EXPECT_EQ(list->Text(), QStringLiteral("a\r\n\r\nb\r\n"));
    list->Clear();
    EXPECT_EQ(list->Text(), QString());
}

TEST(TStrings, SetTextSplitsAtCrLfLfAndCr)
{
    TStringList list;
    list.SetText(QStringLiteral("one\r\ntwo\nthree\rfour"));
    EXPECT_EQ(linesOf(list), QStringList({"one", "two", "three", "four"}));

    // A final line end adds no line; LF CR is two line ends.
    list.SetText(QStringLiteral("a\r\n"));
    EXPECT_EQ(linesOf(list), QStringList({"a"}));
    list.SetText(QStringLiteral("a\n\rb"));
    EXPECT_EQ(linesOf(list), QStringList({"a", "", "b"}));
    list.SetText(QStringLiteral("\r\n\r\n"));
    EXPECT_EQ(linesOf(list), QStringList({"", ""}));
}

TEST(TStrings, CommaTextQuotesWhatWouldNotSurviveTheSplit)
{
    auto list = listOf({QStringLiteral("plain"), QStringLiteral("two words"),
                        QStringLiteral("say \"hi\""), QString(), QStringLiteral("a,b")});
    const QString text = list->CommaText();
    EXPECT_EQ(text, QStringLiteral("plain,\"two words\",\"say \"\"hi\"\"\",,\"a,b\""));

    TStringList back;
    back.SetCommaText(text);
    EXPECT_EQ(linesOf(back), linesOf(*list));

    // One empty line is written as a pair of quotes, so it is not lost.
    back.SetCommaText(QStringLiteral("\"\""));
    EXPECT_EQ(back.Count(), 1);
    EXPECT_EQ(back.CommaText(), QStringLiteral("\"\""));
    back.SetCommaText(QString());
    EXPECT_EQ(back.Count(), 0);
}

TEST(TStrings, SetCommaTextSplitsAtBlanksAndKeepsATrailingEmptyItem)
{
    TStringList list;
    list.SetCommaText(QStringLiteral("  a b , \"c, d\"e,"));
    EXPECT_EQ(linesOf(list), QStringList({"a", "b", "c, d", "e", ""}));

    // An unterminated quote takes the rest of the text.
    list.SetCommaText(QStringLiteral("x,\"open end"));
    EXPECT_EQ(linesOf(list), QStringList({"x", "open end"}));
}

TEST(TStrings, NamesAndValues)
{
    auto list = listOf({QStringLiteral("Name=first"), QStringLiteral("plain"), QStringLiteral("Язык=a=b"),
                        QStringLiteral("name=second")});
    EXPECT_EQ(list->Names(0), QStringLiteral("Name"));
    EXPECT_EQ(list->Names(1), QString());
    EXPECT_EQ(list->IndexOfName(QStringLiteral("NAME")), 0);
    EXPECT_EQ(list->Values(QStringLiteral("язык")), QStringLiteral("a=b"));
    EXPECT_EQ(list->Values(QStringLiteral("missing")), QString());

    list->SetValues(QStringLiteral("name"), QStringLiteral("changed"));
    EXPECT_EQ(list->Strings(0), QStringLiteral("name=changed"));
    list->SetValues(QStringLiteral("new"), QStringLiteral("1"));
    EXPECT_EQ(list->Strings(4), QStringLiteral("new=1"));

    // An empty value deletes the first line of that name only.
    list->SetValues(QStringLiteral("Name"), QString());
    EXPECT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Values(QStringLiteral("name")), QStringLiteral("second"));
}

TEST(TStrings, IndexErrorsRaiseWithoutChangingTheList)
{
    auto list = listOf({QStringLiteral("a"), QStringLiteral("b")});
    try {
        list->Strings(2);
        FAIL() << "no exception";
    } catch (const EListError &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("List index out of bounds (2)"));
    }
    EXPECT_THROW(list->Delete(-1), EListError);
    EXPECT_THROW(list->Insert(3, QStringLiteral("x")), EListError);
    EXPECT_THROW(list->SetObjects(5, nullptr), EListError);
    EXPECT_THROW(list->Move(0, 2), EListError);
    EXPECT_EQ(linesOf(*list), QStringList({"a", "b"}));
}

TEST(TStrings, MoveCarriesTheObject)
{
    TStringList list;
    TObject marker;
    list.Add(QStringLiteral("a"));
    list.Add(QStringLiteral("b"));
    list.AddObject(QStringLiteral("c"), &marker);
    list.Move(2, 0);
    EXPECT_EQ(linesOf(list), QStringList({"c", "a", "b"}));
    EXPECT_EQ(list.Objects(0), &marker);
    list.Move(0, 2);
    EXPECT_EQ(linesOf(list), QStringList({"a", "b", "c"}));
    EXPECT_EQ(list.IndexOfObject(&marker), 2);
}

TEST(TStrings, AssignCopiesLinesAndObjectsAndRefusesOtherClasses)
{
    TObject marker;
    TStringList source;
    source.AddObject(QStringLiteral("x"), &marker);
    TStringList target;
    target.Add(QStringLiteral("old"));
    target.Assign(&source);
    EXPECT_EQ(linesOf(target), QStringList({"x"}));
    EXPECT_EQ(target.Objects(0), &marker);

    TPersistent other;
    EXPECT_THROW(target.Assign(&other), EConvertError);
}

TEST(TStrings, StreamsHoldCp1251TextAndUtf8OnlyWhereCp1251FallsShort)
{
    TMemoryStream stream;
    auto list = listOf({QStringLiteral("Ошибка"), QStringLiteral("line")});
    list->SaveToStream(&stream);
    EXPECT_EQ(stream.Bytes(), StringToCp1251(QStringLiteral("Ошибка\r\nline\r\n")));
    stream.SetPosition(0);
    TStringList loaded;
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(linesOf(loaded), linesOf(*list));

    TMemoryStream wide;
    auto chinese = listOf({QStringLiteral("Ошибка 日本")});
    chinese->SaveToStream(&wide);
    EXPECT_EQ(wide.Bytes(), QByteArray("\xEF\xBB\xBF") + QStringLiteral("Ошибка 日本\r\n").toUtf8());
    wide.SetPosition(0);
    loaded.LoadFromStream(&wide);
    EXPECT_EQ(linesOf(loaded), linesOf(*chinese));

    TMemoryStream utf8File;
    utf8File.WriteBuffer(QStringLiteral("Да\nнет").toUtf8());
    utf8File.SetPosition(0);
    loaded.LoadFromStream(&utf8File);
    EXPECT_EQ(loaded.Text(), QStringLiteral("Да\r\nнет\r\n")) << "text files of the system are UTF-8";
}

namespace {

// The lines as they come back from a stream and, when a file name is
// given, from a file, each written by the list's own writer; both writers
// give the same bytes.
struct RoundTrip {
    QStringList fromStream, fromFile;
};

RoundTrip roundTrip(const QStringList &lines, const QString &fileName)
{
    const auto list = listOf(lines);
    TMemoryStream stream;
    list->SaveToStream(&stream);
    stream.SetPosition(0);
    TStringList loaded;
    loaded.LoadFromStream(&stream);
    RoundTrip result{linesOf(loaded), lines};
    if (fileName.isEmpty())
        return result;
    list->SaveToFile(fileName);
    QFile file(fileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), stream.Bytes()) << "one rule for both writers";
    loaded.LoadFromFile(fileName);
    result.fromFile = linesOf(loaded);
    return result;
}

} // namespace

TEST(TStrings, EveryTextReadsBackAsWrittenThroughStreamsAndFiles)
{
    QTemporaryDir folder;
    const QString fileName = folder.filePath(QStringLiteral("lines.txt"));
    // Every pair of cp1251 characters whose two bytes are also one UTF-8
    // character ("Сё" is D1 B8, "Ѹ" in UTF-8).
    int pairs = 0;
    for (int lead = 0xC2; lead <= 0xDF; ++lead) {
        for (int trail = 0x80; trail <= 0xBF; ++trail) {
            const QByteArray bytes{char(lead), char(trail)};
            const QString text = Cp1251ToString(bytes);
            if (StringToCp1251(text) != bytes)
                continue; // a byte cp1251 leaves undefined
            // Files are written whole and safely, which takes its time:
            // every eighth pair goes through one.
            const RoundTrip back = roundTrip({text}, trail % 8 == 0 ? fileName : QString());
            ASSERT_EQ(back.fromStream, QStringList{text}) << lead << ' ' << trail;
            ASSERT_EQ(back.fromFile, QStringList{text}) << lead << ' ' << trail;
            ++pairs;
        }
    }
    EXPECT_GT(pairs, 1800);

    for (const QStringList &lines : QList<QStringList>{
             {QStringLiteral("Сё"), QStringLiteral("Р»"), QStringLiteral("ВЁ")},
             {QStringLiteral("вЂ“ three cp1251 characters, one UTF-8 dash")},
             {QStringLiteral("п»ї looks like the UTF-8 mark in cp1251"), QStringLiteral("Ошибка")},
             {QString(QChar(0xFEFF)) + QStringLiteral("a text with its own mark")},
             {QStringLiteral("日本語"), QStringLiteral("Ωμέγα"), QStringLiteral("😀 ۝")},
             {QStringLiteral("Сё 日本")},
             {QStringLiteral("plain"), QString()}}) {
        const RoundTrip back = roundTrip(lines, fileName);
        EXPECT_EQ(back.fromStream, lines);
        EXPECT_EQ(back.fromFile, lines);
    }

    // Text files of other programs on the system are UTF-8, mostly without
    // a mark.
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("Заказ ZMT\nСё\n").toUtf8());
    file.close();
    TStringList loaded;
    loaded.LoadFromFile(fileName);
    EXPECT_EQ(linesOf(loaded), QStringList({QStringLiteral("Заказ ZMT"), QStringLiteral("Сё")}));
}

TEST(TStringList, SortedFindIgnoresCaseOfCyrillicAndGivesTheInsertionPlace)
{
    TStringList list;
    list.SetSorted(true);
    for (const char *s : {"Щука", "ёж", "Бета", "альфа", "Ель"})
        list.Add(QString::fromUtf8(s));
    // Ё is Е with a diaeresis to the Russian collation.
    EXPECT_EQ(linesOf(list), QStringList({"альфа", "Бета", "ёж", "Ель", "Щука"}));

    int index = -1;
    EXPECT_TRUE(list.Find(QStringLiteral("БЕТА"), index));
    EXPECT_EQ(index, 1);
    EXPECT_FALSE(list.Find(QStringLiteral("Гамма"), index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find(QStringLiteral("я"), index));
    EXPECT_EQ(index, 5);
    EXPECT_EQ(list.IndexOf(QStringLiteral("ЩУКА")), 4);
    EXPECT_EQ(list.IndexOf(QStringLiteral("Гамма")), -1);
}

TEST(TStringList, AcceptedDuplicatesAreFoundNewestFirst)
{
    TStringList list;
    list.SetSorted(true);
    list.SetDuplicates(dupAccept);
    TObject first, second, third;
    list.AddObject(QStringLiteral("Name"), &first);
    list.AddObject(QStringLiteral("other"), nullptr);
    list.AddObject(QStringLiteral("NAME"), &second);
    list.AddObject(QStringLiteral("name"), &third);

    int index = -1;
    ASSERT_TRUE(list.Find(QStringLiteral("name"), index));
    EXPECT_EQ(list.Objects(index), &third);
    list.Delete(index);
    ASSERT_TRUE(list.Find(QStringLiteral("name"), index));
    EXPECT_EQ(list.Objects(index), &second);
}

TEST(TStringList, DuplicateRules)
{
    TStringList list;
    list.SetSorted(true);
    TObject marker;
    EXPECT_EQ(list.Add(QStringLiteral("b")), 0);
    EXPECT_EQ(list.Add(QStringLiteral("a")), 0);
    // dupIgnore: the existing index, and the new object is not stored.
    EXPECT_EQ(list.AddObject(QStringLiteral("B"), &marker), 1);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Objects(1), nullptr);

    list.SetDuplicates(dupError);
    EXPECT_THROW(list.Add(QStringLiteral("A")), EStringListError);
    EXPECT_EQ(list.Count(), 2);

    // Changing the rule leaves duplicates that are already there.
    list.SetDuplicates(dupAccept);
    list.Add(QStringLiteral("a"));
    list.SetDuplicates(dupError);
    EXPECT_EQ(linesOf(list), QStringList({"a", "a", "b"}));
}

TEST(TStringList, SortedListRefusesPositionalChanges)
{
    auto list = listOf({QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")});
    list->SetSorted(true);
    EXPECT_EQ(linesOf(*list), QStringList({"a", "b", "c"}));
    EXPECT_THROW(list->Insert(0, QStringLiteral("z")), EStringListError);
    EXPECT_THROW(list->SetStrings(0, QStringLiteral("z")), EStringListError);
    EXPECT_THROW(list->Move(0, 2), EStringListError);
    EXPECT_EQ(linesOf(*list), QStringList({"a", "b", "c"}));

    list->SetSorted(false);
    list->Insert(0, QStringLiteral("z"));
    EXPECT_EQ(list->Strings(0), QStringLiteral("z"));
}

TEST(TStringList, CaseSensitivityDecidesEqualityAndOrder)
{
    TStringList list;
    EXPECT_FALSE(list.CaseSensitive());
    list.Add(QStringLiteral("Abc"));
    EXPECT_EQ(list.IndexOf(QStringLiteral("aBC")), 0);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(QStringLiteral("aBC")), -1);

    list.SetSorted(true);
    list.SetDuplicates(dupAccept);
    list.Add(QStringLiteral("abc"));
    int index;
    ASSERT_TRUE(list.Find(QStringLiteral("abc"), index));
    EXPECT_EQ(list.Strings(index), QStringLiteral("abc"));
}

TEST(TStringList, OnChangeFiresOncePerUpdate)
{
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TObject *sender) {
        EXPECT_EQ(sender, &list);
        ++changes;
    };
    list.Add(QStringLiteral("a"));
    EXPECT_EQ(changes, 1);

    list.BeginUpdate();
    list.Add(QStringLiteral("b"));
    list.BeginUpdate();
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changes, 1);
    list.EndUpdate();
    EXPECT_EQ(changes, 2);

    list.SetText(QStringLiteral("x\ny\nz"));
    EXPECT_EQ(changes, 3);
}

TEST(TStringList, AnOwningListFreesWhatItDrops)
{
    QPointer<TObject> deleted = new TObject;
    QPointer<TObject> replaced = new TObject;
    QPointer<TObject> replacement = new TObject;
    QPointer<TObject> cleared = new TObject;
    {
        TStringList list(true);
        list.AddObject(QStringLiteral("a"), deleted);
        list.AddObject(QStringLiteral("b"), replaced);
        list.AddObject(QStringLiteral("c"), cleared);
        list.Delete(0);
        EXPECT_TRUE(deleted.isNull());
        list.SetObjects(0, replacement);
        EXPECT_TRUE(replaced.isNull());
        list.SetObjects(0, replacement); // the same object again stays alive
        EXPECT_FALSE(replacement.isNull());
        EXPECT_FALSE(cleared.isNull());
    }
    EXPECT_TRUE(replacement.isNull());
    EXPECT_TRUE(cleared.isNull());

    QPointer<TObject> kept = new TObject;
    {
        TStringList list;
        list.AddObject(QStringLiteral("a"), kept);
    }
    EXPECT_FALSE(kept.isNull());
    delete kept;
}
