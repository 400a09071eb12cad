// Report files naming the base classes of memos and lines, and the memo's
// brush style as a file attribute.

#include "report/RecordingServices.h"
#include "report/model/qvxOptions.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStrings.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<TqvxReport> reportFrom(const QByteArray &file)
{
    auto report = std::make_unique<TqvxReport>();
    report->EngineOptions()->SetNewSilentMode(simSilent);
    TMemoryStream stream;
    stream.WriteBuffer(file);
    stream.SetPosition(0);
    report->LoadFromStream(&stream);
    return report;
}

// A report whose one band holds objects (XML elements).
std::unique_ptr<TqvxReport> reportHolding(const QByteArray &objects)
{
    return reportFrom("<?xml version=\"1.0\" encoding=\"utf-8\"?><TqvxReport Name=\"Report1\">"
                      "<TqvxReportPage Name=\"Page1\"><TqvxMasterData Name=\"MasterData1\" Height=\"40\">" +
                      objects + "</TqvxMasterData></TqvxReportPage></TqvxReport>");
}

QByteArray savedReport(TqvxReport *report)
{
    TMemoryStream stream;
    report->SaveToStream(&stream);
    return stream.Bytes();
}

} // namespace

TEST(ReportFileClasses, BaseMemoAndLineClassesLoad)
{
    TRecordingServicesScope services;
    const auto report = reportHolding("<TqvxCustomMemoView Name=\"Memo1\" Width=\"50\" Height=\"20\"/>"
                                   "<TqvxCustomLineView Name=\"Line1\" Width=\"50\" ArrowEnd=\"True\"/>");
    EXPECT_EQ(report->Errors()->Count(), 0) << qPrintable(report->Errors()->Text());
    auto *memo = qobject_cast<TqvxCustomMemoView *>(report->FindObject(QStringLiteral("Memo1")));
    auto *line = qobject_cast<TqvxCustomLineView *>(report->FindObject(QStringLiteral("Line1")));
    ASSERT_TRUE(memo);
    ASSERT_TRUE(line);
    EXPECT_DOUBLE_EQ(memo->Width(), 50);
    EXPECT_TRUE(line->ArrowEnd());

    const auto copy = reportFrom(savedReport(report.get()));
    EXPECT_TRUE(copy->FindObject(QStringLiteral("Memo1")));
    EXPECT_TRUE(copy->FindObject(QStringLiteral("Line1")));
}

TEST(ReportFileClasses, MemoBrushStyleIsReadAndKept)
{
    TRecordingServicesScope services;
    const auto report = reportHolding("<TqvxMemoView Name=\"Memo1\" BrushStyle=\"bsCross\"/>");
    auto *memo = qobject_cast<TqvxMemoView *>(report->FindObject(QStringLiteral("Memo1")));
    ASSERT_TRUE(memo);
    EXPECT_EQ(memo->BrushStyle(), bsCross);

    const QByteArray saved = savedReport(report.get());
    EXPECT_FALSE(saved.contains("BrushStyle=")) << saved.constData();
    const auto copy = reportFrom(saved);
    auto *copied = qobject_cast<TqvxMemoView *>(copy->FindObject(QStringLiteral("Memo1")));
    ASSERT_TRUE(copied);
    EXPECT_EQ(copied->BrushStyle(), bsCross);
}
