// Clones of one report prepared at once, each in a thread of its own
// (ThreadSafeMode).

#include "EngineTestReport.h"
#include "common/SplitMemoReport.h"

#include "engine/qvxPreparedStore.h"
#include "report/base/TWideStrings.h"
#include "report/model/qvxOptions.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

namespace {

// The lines of the memo parts on the prepared pages, in page order.
QStringList preparedLines(TqvxReport *report)
{
    auto *store = qobject_cast<TqvxPreparedStore *>(report->PreviewPages());
    QStringList lines;
    for (int page = 0; page < store->Count(); ++page)
        for (TqvxComponent *object : store->GetPageObject(page)->GetAllObjects())
            if (auto *memo = qobject_cast<TqvxMemoView *>(object))
                for (int i = 0; i < memo->Memo()->Count(); ++i)
                    lines.append(memo->Memo()->Get(i));
    return lines;
}

TqvxMemoView *memo(TqvxReport *report)
{
    return qobject_cast<TqvxMemoView *>(report->FindObject(QStringLiteral("Memo1")));
}

} // namespace

// The clones' memos share the template's text, not yet split into lines:
// while some clones find where its lines begin, the script of each adds a
// line to its own memo, which takes a copy of the lines.  Every clone
// shows every line, once, in order.
TEST(EngineThreads, ClonesOfOneReportPreparedInFourThreadsShowEveryLine)
{
    TEngineServicesScope services;
    constexpr int cloneCount = 4;
    QStringList lines;
    for (int i = 1; i <= 3000; ++i)
        lines.append(QStringLiteral("Line %1").arg(i));
    std::array<std::unique_ptr<TqvxReport>, cloneCount> clones;
    for (int c = 0; c < cloneCount; ++c) {
        clones[c] = SplitMemoReport(QString(), 400, false);
        clones[c]->EngineOptions()->SetThreadSafeMode(true);
        clones[c]->ScriptText()->SetText(QStringLiteral(
            "procedure Memo1OnBeforePrint(Sender: Variant); begin Memo1.Lines.Add('The end') end; begin end."));
        memo(clones[c].get())->SetOnBeforePrint(QStringLiteral("Memo1OnBeforePrint"));
    }
    const QStringList expected = lines + QStringList{QStringLiteral("The end")};
    for (int round = 0; round < 10; ++round) {
        TWideStrings text;
        text.SetText(lines.join(QStringLiteral("\r\n")));
        // Preparing builds the template anew, from the file it keeps.
        for (const std::unique_ptr<TqvxReport> &clone : clones)
            memo(clone.get())->Memo()->Assign(&text);
        std::atomic<int> waiting = cloneCount;
        std::array<bool, cloneCount> prepared{};
        std::vector<std::thread> threads;
        for (int c = 0; c < cloneCount; ++c)
            threads.emplace_back([&, c] {
                waiting.fetch_sub(1);
                while (waiting.load() > 0) {
                }
                prepared[c] = clones[c]->PrepareReport();
            });
        for (std::thread &thread : threads)
            thread.join();
        for (int c = 0; c < cloneCount; ++c) {
            ASSERT_TRUE(prepared[c]) << "round " << round << ", clone " << c << ": "
                                     << clones[c]->Errors()->Text().toStdString();
            ASSERT_EQ(preparedLines(clones[c].get()), expected) << "round " << round << ", clone " << c;
        }
    }
}
