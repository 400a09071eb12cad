// Pages filled to the last pixel, and subreports on bands printed at the
// top of every page.

#include "EngineTestReport.h"

#include "report/base/qvxNumbers.h"
#include "report/pages/qvxSubreport.h"

#include <gtest/gtest.h>

namespace {

int countBands(const QStringList &bands, const QString &name)
{
    int count = 0;
    for (const QString &line : bands)
        count += line.startsWith(name + QLatin1Char(' ')) ? 1 : 0;
    return count;
}

// A page of the report holding a data band of `rows` rows named name.
TqvxReportPage *subreportPage(TEngineTestReport &test, const char *name, int rows)
{
    auto *page = new TqvxReportPage(test.report.get());
    page->SetName(QString::fromLatin1(name) + QStringLiteral("Page"));
    auto *data = new TqvxMasterData(page);
    data->SetName(QString::fromLatin1(name));
    data->SetBounds(0, 0, 200, 10);
    data->SetRowCount(rows);
    return page;
}

TqvxSubreport *subreport(TqvxBand *host, const char *name, double left, TqvxReportPage *page)
{
    auto *result = new TqvxSubreport(host);
    result->SetName(QString::fromLatin1(name));
    result->SetBounds(left, 0, 100, 10);
    result->SetPage(page);
    return result;
}

} // namespace

TEST(EnginePageFlow, BandsOfWholeMillimetresFillThePageExactly)
{
    // The page body is 277 mm; a header takes what whole rows leave.
    for (int rowMillimetres = 1; rowMillimetres <= 12; ++rowMillimetres) {
        SCOPED_TRACE(rowMillimetres);
        const int rows = 277 / rowMillimetres;
        const int rest = 277 % rowMillimetres;
        TEngineTestReport test;
        if (rest > 0)
            test.band<TqvxReportTitle>("Title", 0, rest * qv01cm);
        auto *data = test.band<TqvxMasterData>("Rows", 100, rowMillimetres * qv01cm);
        data->SetRowCount(rows + 1);
        ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
        EXPECT_EQ(countBands(test.bandList(0), QStringLiteral("Rows")), rows);
        EXPECT_EQ(test.pageCount(), 2);
    }
}

TEST(EnginePageFlow, SubreportsOnTheTitleAndPageHeaderPrintAllTheirRows)
{
    TEngineTestReport test;
    auto *title = test.band<TqvxReportTitle>("Title", 0, 20);
    subreport(title, "TitleLeft", 0, subreportPage(test, "LeftRows", 30));
    subreport(title, "TitleRight", 300, subreportPage(test, "RightRows", 12));
    auto *header = test.band<TqvxPageHeader>("Header", 40, 20);
    subreport(header, "HeaderList", 0, subreportPage(test, "HeaderRows", 3));
    auto *data = test.band<TqvxMasterData>("Rows", 100, 20);
    data->SetRowCount(2);

    ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
    const QStringList bands = test.bandList(0);
    EXPECT_EQ(countBands(bands, QStringLiteral("LeftRows")), 30) << test.bands(0);
    EXPECT_EQ(countBands(bands, QStringLiteral("RightRows")), 12) << test.bands(0);
    EXPECT_EQ(countBands(bands, QStringLiteral("HeaderRows")), 3) << test.bands(0);
    EXPECT_EQ(countBands(bands, QStringLiteral("Rows")), 2) << test.bands(0);
}
