#include "report/base/TWideStrings.h"

#include "common/TestSupport.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

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

TEST(TWideStrings, KeepsATextInItsOwnFormAndSharesItWithCopies)
{
    QString text;
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    // Made at its size, as a text read from a file is: a text with much
    // room to spare is kept in a copy at its size.
    text.squeeze();
    TWideStrings list;
    list.SetText(text);
    // The lines are stretches of the text set, not strings of their own.
    EXPECT_EQ(list.GetText().constData(), text.constData());
    TWideStrings copy;
    copy.Assign(&list);
    EXPECT_EQ(copy.GetText().constData(), text.constData());
    EXPECT_EQ(copy.Count(), 1000);
    EXPECT_EQ(copy.Get(999), QStringLiteral("line 999"));

    // A change to the copy leaves the list and the text as they were.
    copy.Put(0, QStringLiteral("changed"));
    copy.Put(2, QStringLiteral("LINE 2"));
    copy.Delete(1);
    EXPECT_EQ(lines(copy).mid(0, 3), (QStringList{"changed", "LINE 2", "line 3"}));
    EXPECT_EQ(copy.Count(), 999);
    EXPECT_EQ(list.GetText(), text);
    EXPECT_EQ(text.left(16), QStringLiteral("line 0\r\nline 1\r\n"));
    EXPECT_EQ(lines(list).mid(0, 3), (QStringList{"line 0", "line 1", "line 2"}));
}

// A long run of edits of every kind, each checked against a plain list of
// the strings and objects it should leave: lines changed to other lengths
// leave unused text behind, which is given back on the way.
TEST(TWideStrings, EditsKeepEveryLineWithItsObject)
{
    TStringList first;
    TStringList second;
    TObject *const objects[] = {nullptr, &first, &second};
    QList<std::pair<QString, TObject *>> expected;
    TWideStrings list;
    list.SetText(QStringLiteral("a\rbb\n\u2028ccc\r\n"));
    expected = {{"a", nullptr}, {"bb", nullptr}, {"ccc", nullptr}};
    quint32 seed = 7;
    const auto next = [&](quint32 bound) {
        seed = seed * 1103515245 + 12345;
        return (seed >> 8) % bound;
    };
    for (int step = 0; step < 4000; ++step) {
        const int count = int(expected.size());
        const QString line = QStringLiteral("x").repeated(int(next(40))) + QString::number(step);
        TObject *object = objects[next(3)];
        switch (next(6)) {
        case 0:
            list.AddObject(line, object);
            expected.append({line, object});
            break;
        case 1: {
            const int at = int(next(quint32(count) + 1));
            list.Insert(at, line);
            expected.insert(at, {line, nullptr});
            break;
        }
        case 2:
            if (count > 0) {
                const int at = int(next(quint32(count)));
                list.Delete(at);
                expected.removeAt(at);
            }
            break;
        case 3:
            if (count > 0) {
                const int at = int(next(quint32(count)));
                // Now and then the same length, written over in place.
                const QString put = next(2) ? line : QString(expected[at].first.size(), QLatin1Char('y'));
                list.Put(at, put);
                expected[at].first = put;
            }
            break;
        case 4:
            if (count > 0) {
                const int at = int(next(quint32(count)));
                list.PutObject(at, object);
                expected[at].second = object;
            }
            break;
        default:
            list.Add(line);
            expected.append({line, nullptr});
            break;
        }
        ASSERT_EQ(list.Count(), expected.size()) << "step " << step;
        const int at = list.Count() > 0 ? int(next(quint32(list.Count()))) : 0;
        if (list.Count() > 0) {
            ASSERT_EQ(list.Get(at), expected[at].first) << "step " << step;
            ASSERT_EQ(list.GetObject(at), expected[at].second) << "step " << step;
        }
    }
    QString text;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(list.Get(int(i)), expected[i].first);
        EXPECT_EQ(list.GetObject(int(i)), expected[i].second);
        text += expected[i].first + QStringLiteral("\r\n");
    }
    EXPECT_EQ(list.GetText(), text);
    TWideStrings again;
    again.SetText(list.GetText());
    EXPECT_EQ(lines(again), lines(list));
}

namespace {

// "line 0" to "line count - 1", each followed by CR LF.
QString numberedLines(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    return text;
}

} // namespace

// Copies of a list share its text, lines not yet found, and are used from
// several threads at once: those that read find where the lines begin
// while those that change take their own copy of the lines.  Each must see
// every line (a copy taken halfway through the finding once had none).
TEST(TWideStrings, CopiesSharingATextAreReadAndChangedFromSeveralThreads)
{
    const int count = 3000;
    const QString text = numberedLines(count);
    const QString last = QStringLiteral("line %1").arg(count - 1);
    constexpr int threadCount = 4;
    for (int round = 0; round < 100; ++round) {
        TWideStrings shared;
        shared.SetText(text);
        std::array<TWideStrings, threadCount> copies;
        for (TWideStrings &copy : copies)
            copy.Assign(&shared);
        std::atomic<int> waiting = threadCount;
        std::array<QString, threadCount> seen;
        std::vector<std::thread> threads;
        for (int t = 0; t < threadCount; ++t) {
            threads.emplace_back([&, t] {
                TWideStrings &copy = copies[std::size_t(t)];
                waiting.fetch_sub(1);
                while (waiting.load() > 0) {
                }
                if (t % 2 == 0) {
                    seen[std::size_t(t)] = copy.Get(count - 1);
                    return;
                }
                copy.Add(QStringLiteral("added"));
                seen[std::size_t(t)] = QStringLiteral("%1 %2 %3").arg(copy.Count()).arg(copy.Get(count - 1), copy.Get(count));
            });
        }
        for (std::thread &thread : threads)
            thread.join();
        for (int t = 0; t < threadCount; ++t)
            ASSERT_EQ(seen[std::size_t(t)],
                      t % 2 == 0 ? last : QStringLiteral("%1 %2 added").arg(count + 1).arg(last))
                << "round " << round << ", thread " << t;
        ASSERT_EQ(shared.Count(), count);
    }
}
