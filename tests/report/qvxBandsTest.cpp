// Band numbers, child chains, the fill view behind a band's objects, data
// band columns and dot-matrix snapping.

#include "report/ReportContextStub.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/model/qvxResources.h"
#include "toolkit/core/Exceptions.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct BandCase {
    const char *name;
    std::function<TqvxBand *()> make;
    int number;
};

template <class T>
BandCase bandCase(const char *name, int number)
{
    return {name, [] { return static_cast<TqvxBand *>(new T); }, number};
}

TEST(Bands, EachClassHasItsTableNumber)
{
    const BandCase cases[] = {
        bandCase<TqvxReportTitle>("ReportTitle", 0),     bandCase<TqvxReportSummary>("ReportSummary", 1),
        bandCase<TqvxPageHeader>("PageHeader", 2),       bandCase<TqvxPageFooter>("PageFooter", 3),
        bandCase<TqvxHeader>("Header", 4),               bandCase<TqvxFooter>("Footer", 5),
        bandCase<TqvxMasterData>("MasterData", 6),       bandCase<TqvxDetailData>("DetailData", 7),
        bandCase<TqvxSubdetailData>("SubdetailData", 8), bandCase<TqvxDataBand4>("DataBand4", 9),
        bandCase<TqvxDataBand5>("DataBand5", 10),        bandCase<TqvxDataBand6>("DataBand6", 11),
        bandCase<TqvxGroupHeader>("GroupHeader", 12),    bandCase<TqvxGroupFooter>("GroupFooter", 13),
        bandCase<TqvxChild>("Child", 14),                bandCase<TqvxColumnHeader>("ColumnHeader", 15),
        bandCase<TqvxColumnFooter>("ColumnFooter", 16),  bandCase<TqvxOverlay>("Overlay", 17),
        bandCase<TqvxNullBand>("NullBand", 0),           bandCase<TqvxDataBand>("DataBand", 0),
    };
    for (const BandCase &c : cases) {
        std::unique_ptr<TqvxBand> band(c.make());
        EXPECT_EQ(BandNumber(band.get()), c.number) << c.name;
        if (c.number > 0) {
            EXPECT_EQ(BandClassOf(c.number), band->ClassType()) << c.name;
        }
    }
    EXPECT_EQ(BandClassOf(18), nullptr);
}

TEST(Bands, PageBandsPrintOnFirstAndLastPage)
{
    TqvxPageHeader header;
    TqvxPageFooter footer;
    EXPECT_TRUE(header.PrintOnFirstPage());
    EXPECT_TRUE(footer.PrintOnFirstPage());
    EXPECT_TRUE(footer.PrintOnLastPage());
}

TEST(Bands, AChildChainThatComesBackIsRefused)
{
    TContextReport report;
    auto *title = new TqvxReportTitle(&report);
    auto *first = new TqvxChild(&report);
    auto *second = new TqvxChild(&report);
    title->SetChild(first);
    first->SetChild(second);

    const QString message = qvxResources()->Get(QStringLiteral("clCirRefNotAllow"));
    try {
        second->SetChild(title);
        FAIL() << "an indirect cycle was accepted";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), message);
    }
    EXPECT_EQ(second->Child(), nullptr);
    EXPECT_THROW(first->SetChild(first), Exception);
    EXPECT_EQ(first->Child(), second);

    delete second;
    EXPECT_EQ(first->Child(), nullptr);
}

TEST(Bands, AFillTypeChangeMakesAFillOfThatKind)
{
    TqvxMasterData band;
    EXPECT_NE(qobject_cast<TqvxBrushFill *>(band.Fill()), nullptr);
    band.SetFillType(ftGlass);
    EXPECT_NE(qobject_cast<TqvxGlassFill *>(band.Fill()), nullptr);
    band.SetFillType(ftGradient);
    EXPECT_NE(qobject_cast<TqvxGradientFill *>(band.Fill()), nullptr);
}

TEST(Bands, AnEmptyBrushFillNeedsNoFillView)
{
    TContextReport report;
    auto *band = new TqvxMasterData(&report);
    band->CreateFillMemo();
    EXPECT_EQ(band->FillMemo(), nullptr);

    auto *nullBand = new TqvxNullBand(&report);
    nullBand->SetFillType(ftGradient);
    nullBand->CreateFillMemo();
    EXPECT_EQ(nullBand->FillMemo(), nullptr);
}

TEST(Bands, TheFillViewStaysInsideTheBandBehindItsObjects)
{
    TContextReport report;
    auto *band = new TqvxMasterData(&report);
    band->SetBounds(0, 100, 700, 50);
    auto *view = new TqvxView(band);
    qobject_cast<TqvxBrushFill *>(band->Fill())->SetBackColor(clYellow);
    band->FillGap()->SetLeft(5);
    band->FillGap()->SetTop(4);
    band->FillGap()->SetRight(7);
    band->FillGap()->SetBottom(6);

    band->CreateFillMemo();
    TqvxMemoView *memo = band->FillMemo();
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(band->Objects().first(), memo);
    EXPECT_EQ(band->Objects().last(), view);
    EXPECT_DOUBLE_EQ(memo->Left(), 5);
    EXPECT_DOUBLE_EQ(memo->Top(), 4);
    EXPECT_DOUBLE_EQ(memo->Width(), 700 - 5 - 7);
    EXPECT_DOUBLE_EQ(memo->Height(), 50 - 4 - 6);
    EXPECT_EQ(memo->Color(), clYellow);

    band->CreateFillMemo();
    EXPECT_EQ(band->Objects().size(), 2);
}

TEST(Bands, ColumnsPlaceTheDataBand)
{
    TqvxMasterData band;
    band.SetColumns(2);
    band.SetColumnWidth(100);
    band.SetColumnGap(10);
    band.SetCurColumn(2);
    EXPECT_EQ(band.CurColumn(), 2);
    EXPECT_DOUBLE_EQ(band.Left(), 110);
    band.SetColumnOffset(30);
    band.SetCurColumn(3);
    EXPECT_EQ(band.CurColumn(), 1);
    EXPECT_DOUBLE_EQ(band.Left(), 0);
    EXPECT_DOUBLE_EQ(band.ColumnOffset(), 0);
}

class TDotMatrixTestPage : public TqvxReportPage
{
public:
    using TqvxReportPage::TqvxReportPage;
    bool IsDotMatrix() const override { return true; }
};

TEST(Bands, OnADotMatrixPageBandsSnapToCharacterCells)
{
    TContextReport report;
    auto *page = new TDotMatrixTestPage(&report);
    auto *band = new TqvxMasterData(page);
    band->SetTop(20);
    band->SetHeight(40);
    band->SetLeft(20);
    EXPECT_DOUBLE_EQ(band->Top(), 17);
    EXPECT_DOUBLE_EQ(band->Height(), 34);
    EXPECT_DOUBLE_EQ(band->Left(), 19.2);

    auto *plain = new TqvxMasterData(new TqvxReportPage(&report));
    plain->SetTop(20);
    EXPECT_DOUBLE_EQ(plain->Top(), 20);
}

TEST(Bands, AGroupHeaderDifferenceNamesItsDrillDown)
{
    TqvxGroupHeader header;
    TqvxGroupHeader source;
    header.SetDrillName(QStringLiteral("Group \"A\""));
    EXPECT_FALSE(header.Diff(&source).contains(QStringLiteral("DrillName")));
    header.SetDrillDown(true);
    EXPECT_TRUE(header.Diff(&source).endsWith(QStringLiteral(" DrillName=\"Group &#34;A&#34;\"")))
        << header.Diff(&source).toStdString();
}

TEST(Bands, ADataSetNameIsLookedUpInTheReport)
{
    TContextReport report;
    auto *band = new TqvxMasterData(&report);
    band->SetDataSetName(QStringLiteral("Rows"));
    EXPECT_EQ(band->DataSet(), nullptr);
    EXPECT_EQ(band->DataSetName(), QStringLiteral("Rows"));
}

} // namespace
