// The script procedures that bands, views and pages name for their print
// events run around each printing of the object.

#include "EngineTestReport.h"

#include "report/base/TWideStrings.h"
#include "script/zqScript.h"
#include "script/zqVariables.h"

#include <gtest/gtest.h>

namespace {

const char printLogScript[] =
    "var log: Variant;\n"
    "procedure BandBefore(Sender: Variant); begin log := log + 'b< ' end;\n"
    "procedure BandAfter(Sender: Variant); begin log := log + 'b> ' end;\n"
    "procedure MemoBefore(Sender: Variant); begin log := log + 'm< ' end;\n"
    "procedure MemoAfter(Sender: Variant); begin log := log + 'm> ' end;\n"
    "procedure PageBefore(Sender: Variant); begin log := log + 'p< ' end;\n"
    "procedure PageAfter(Sender: Variant); begin log := log + 'p> ' end;\n"
    "begin log := '' end.";

QString scriptLog(TqvxReport *report)
{
    return report->Script()->Find(QStringLiteral("log"))->GetValue().AsString();
}

} // namespace

TEST(EnginePrintEvents, BandAndViewHandlersRunAroundEachRow)
{
    TEngineTestReport test;
    test.report->ScriptText()->SetText(QString::fromLatin1(printLogScript));
    auto *rows = test.band<TqvxMasterData>("Rows", 0);
    rows->SetRowCount(2);
    rows->SetOnBeforePrint(QStringLiteral("BandBefore"));
    rows->SetOnAfterPrint(QStringLiteral("BandAfter"));
    TqvxMemoView *memo = test.memo(rows, "Memo", QStringLiteral("[Line#]"));
    memo->SetOnBeforePrint(QStringLiteral("MemoBefore"));
    memo->SetOnAfterPrint(QStringLiteral("MemoAfter"));
    test.page->SetOnBeforePrint(QStringLiteral("PageBefore"));

    ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
    EXPECT_EQ(scriptLog(test.report.get()), QStringLiteral("p< b< m< m> b> b< m< m> b> "));
}

TEST(EnginePrintEvents, TheReportRunsAPagesHandlerAndNoneForOtherObjects)
{
    TEngineTestReport test;
    test.report->ScriptText()->SetText(QString::fromLatin1(printLogScript));
    test.page->SetOnAfterPrint(QStringLiteral("PageAfter"));
    auto *rows = test.band<TqvxMasterData>("Rows", 0);
    rows->SetRowCount(1);
    // While the band prints, the report is asked for the page's handler
    // and for the report's own, which has none.
    test.report->OnBeforePrint = [&](TqvxComponent *object) {
        if (object != rows)
            return;
        test.report->DoAfterPrint(test.page);
        test.report->DoBeforePrint(test.report.get());
    };
    ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
    // Once from the report, once when the engine ends the page.
    EXPECT_EQ(scriptLog(test.report.get()), QStringLiteral("p> p> "));
}
