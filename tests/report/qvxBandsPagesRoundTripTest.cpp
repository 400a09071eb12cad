// Reports of pages, bands and views written, read back and written again:
// the values survive, including those whose setters change others.

#include "report/ReportContextStub.h"
#include "report/ReportTestTree.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxChBox.h"
#include "report/pages/qvxDialogPage.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/pages/qvxPage.h"
#include "report/views/qvxPictureView.h"
#include "report/views/qvxShapeView.h"
#include "report/pages/qvxSubreport.h"
#include "report/data/qvxUserDataSet.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Loads what source wrote into a new report and answers it.
std::unique_ptr<TContextReport> reloaded(TContextReport &source, QByteArray *firstSave = nullptr)
{
    RegisterReportTestClasses();
    const QByteArray bytes = SaveReport(&source);
    if (firstSave)
        *firstSave = bytes;
    auto copy = std::make_unique<TContextReport>();
    LoadReport(copy.get(), bytes);
    EXPECT_TRUE(copy->Errors()->Text().isEmpty()) << copy->Errors()->Text().toStdString();
    return copy;
}

template <class T>
T *find(TContextReport &report, const char *name)
{
    auto *object = qobject_cast<T *>(report.FindObject(QString::fromLatin1(name)));
    EXPECT_NE(object, nullptr) << name;
    return object;
}

TEST(BandsPagesRoundTrip, ALandscapeCustomPageKeepsItsPaperAndMargins)
{
    TContextReport report;
    auto *page = new TqvxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    page->SetLeftMargin(5);
    page->SetTopMargin(6);
    page->SetRightMargin(7);
    page->SetBottomMargin(8);
    page->SetOrientation(ObjectTypes::poLandscape);
    page->SetPaperWidth(300);
    page->SetPaperHeight(150);
    auto *a4 = new TqvxReportPage(&report);
    a4->SetName(QStringLiteral("Page2"));
    a4->SetOrientation(ObjectTypes::poLandscape);
    a4->SetColumns(3);
    a4->SetColumnWidth(50);
    a4->ColumnPositions()->SetText(QStringLiteral("0\n60\n120\n"));

    QByteArray first;
    auto copy = reloaded(report, &first);
    auto *custom = find<TqvxReportPage>(*copy, "Page1");
    EXPECT_EQ(custom->Orientation(), ObjectTypes::poLandscape);
    EXPECT_EQ(custom->PaperSize(), 256);
    EXPECT_DOUBLE_EQ(custom->PaperWidth(), 300);
    EXPECT_DOUBLE_EQ(custom->PaperHeight(), 150);
    EXPECT_DOUBLE_EQ(custom->LeftMargin(), page->LeftMargin());
    EXPECT_DOUBLE_EQ(custom->TopMargin(), page->TopMargin());
    auto *landscape = find<TqvxReportPage>(*copy, "Page2");
    EXPECT_EQ(landscape->PaperSize(), 9);
    EXPECT_DOUBLE_EQ(landscape->PaperWidth(), 297);
    EXPECT_DOUBLE_EQ(landscape->PaperHeight(), 210);
    EXPECT_EQ(landscape->Columns(), 3);
    EXPECT_DOUBLE_EQ(landscape->ColumnWidth(), 50);
    EXPECT_EQ(landscape->ColumnPositions()->Strings(2), QStringLiteral("120"));
    EXPECT_EQ(SaveReport(copy.get()), first);
}

TEST(BandsPagesRoundTrip, BandsKeepTheirFillsLinksAndFlags)
{
    TContextReport report;
    auto *page = new TqvxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *header = new TqvxGroupHeader(page);
    header->SetName(QStringLiteral("GroupHeader1"));
    header->SetCondition(QStringLiteral("<Rows.\"Kind\">"));
    header->SetDrillDown(true);
    header->SetFillType(ftGradient);
    qobject_cast<TqvxGradientFill *>(header->Fill())->SetStartColor(clRed);
    header->FillGap()->SetBottom(3);
    auto *child = new TqvxChild(page);
    child->SetName(QStringLiteral("Child1"));
    header->SetChild(child);
    auto *data = new TqvxMasterData(page);
    data->SetName(QStringLiteral("MasterData1"));
    data->SetColumns(2);
    data->SetColumnWidth(120);
    data->SetRowCount(3);
    data->SetDataSetName(QStringLiteral("Rows"));
    auto *footer = new TqvxPageFooter(page);
    footer->SetName(QStringLiteral("PageFooter1"));
    footer->SetPrintOnFirstPage(false);
    auto *summary = new TqvxReportSummary(page);
    summary->SetName(QStringLiteral("ReportSummary1"));
    summary->SetFillType(ftGlass);
    qobject_cast<TqvxGlassFill *>(summary->Fill())->SetColor(clWhite);

    QByteArray first;
    auto copy = reloaded(report, &first);
    auto *group = find<TqvxGroupHeader>(*copy, "GroupHeader1");
    EXPECT_EQ(group->Condition(), header->Condition());
    EXPECT_TRUE(group->DrillDown());
    ASSERT_NE(qobject_cast<TqvxGradientFill *>(group->Fill()), nullptr);
    EXPECT_EQ(qobject_cast<TqvxGradientFill *>(group->Fill())->StartColor(), clRed);
    EXPECT_EQ(group->FillGap()->Bottom(), 3);
    EXPECT_EQ(group->Child(), find<TqvxChild>(*copy, "Child1"));
    auto *master = find<TqvxMasterData>(*copy, "MasterData1");
    EXPECT_EQ(master->Columns(), 2);
    EXPECT_DOUBLE_EQ(master->ColumnWidth(), 120);
    EXPECT_EQ(master->RowCount(), 3);
    EXPECT_EQ(master->DataSetName(), QStringLiteral("Rows"));
    EXPECT_FALSE(find<TqvxPageFooter>(*copy, "PageFooter1")->PrintOnFirstPage());
    EXPECT_TRUE(find<TqvxPageFooter>(*copy, "PageFooter1")->PrintOnLastPage());
    auto *glass = qobject_cast<TqvxGlassFill *>(find<TqvxReportSummary>(*copy, "ReportSummary1")->Fill());
    ASSERT_NE(glass, nullptr);
    EXPECT_EQ(glass->Color(), clWhite);
    EXPECT_EQ(SaveReport(copy.get()), first);
}

TEST(BandsPagesRoundTrip, ViewsKeepTheirValues)
{
    TContextReport report;
    auto *page = new TqvxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    auto *band = new TqvxReportTitle(page);
    band->SetName(QStringLiteral("ReportTitle1"));
    auto *line = new TqvxLineView(band);
    line->SetName(QStringLiteral("Line1"));
    line->SetLineColor(clBlack);
    line->SetArrowEnd(true);
    auto *noneLine = new TqvxLineView(band);
    noneLine->SetName(QStringLiteral("Line2"));
    auto *shape = new TqvxShapeView(band);
    shape->SetName(QStringLiteral("Shape1"));
    shape->SetShape(skEllipse);
    shape->SetColor(clYellow);
    auto *box = new TqvxCheckBoxView(band);
    box->SetName(QStringLiteral("CheckBox1"));
    box->SetChecked(false);
    box->SetUncheckStyle(usMinus);
    auto *picture = new TqvxPictureView(band);
    picture->SetName(QStringLiteral("Picture1"));
    TBitmap bitmap;
    bitmap.SetSize(4, 3);
    picture->Picture()->SetGraphic(&bitmap);
    picture->SetStretched(false);
    auto *other = new TqvxReportPage(&report);
    other->SetName(QStringLiteral("Page2"));
    auto *subreport = new TqvxSubreport(band);
    subreport->SetName(QStringLiteral("Subreport1"));
    subreport->SetPage(other);
    auto *dialog = new TqvxDialogPage(&report);
    dialog->SetName(QStringLiteral("DialogPage1"));
    dialog->SetCaption(QStringLiteral("Options"));
    dialog->SetClientWidth(300);

    QByteArray first;
    auto copy = reloaded(report, &first);
    EXPECT_EQ(find<TqvxLineView>(*copy, "Line1")->LineColor(), clBlack);
    EXPECT_EQ(find<TqvxLineView>(*copy, "Line2")->LineColor(), clNone);
    EXPECT_TRUE(find<TqvxLineView>(*copy, "Line1")->ArrowEnd());
    EXPECT_EQ(find<TqvxShapeView>(*copy, "Shape1")->Shape(), skEllipse);
    EXPECT_EQ(find<TqvxShapeView>(*copy, "Shape1")->Color(), clYellow);
    EXPECT_FALSE(find<TqvxCheckBoxView>(*copy, "CheckBox1")->Checked());
    EXPECT_EQ(find<TqvxCheckBoxView>(*copy, "CheckBox1")->UncheckStyle(), usMinus);
    auto *loadedPicture = find<TqvxPictureView>(*copy, "Picture1");
    EXPECT_EQ(loadedPicture->Picture()->Width(), 4);
    EXPECT_FALSE(loadedPicture->Stretched());
    auto *loadedSubreport = find<TqvxSubreport>(*copy, "Subreport1");
    EXPECT_EQ(loadedSubreport->Page(), find<TqvxReportPage>(*copy, "Page2"));
    EXPECT_EQ(find<TqvxReportPage>(*copy, "Page2")->SubReport(), loadedSubreport);
    EXPECT_EQ(find<TqvxDialogPage>(*copy, "DialogPage1")->Caption(), QStringLiteral("Options"));
    EXPECT_DOUBLE_EQ(find<TqvxDialogPage>(*copy, "DialogPage1")->ClientWidth(), 300);
    EXPECT_EQ(SaveReport(copy.get()), first);
}

} // namespace

namespace {

TEST(BandsPagesRoundTrip, ASmallReportOverAUserDataSetSavesTheSameTwice)
{
    TContextReport report;
    auto *dataPage = new TqvxDataPage(&report);
    dataPage->SetName(QStringLiteral("Data"));
    auto *rows = NewObject<TqvxUserDataSet>(dataPage);
    rows->SetName(QStringLiteral("UserDataSet1"));
    rows->SetUserName(QStringLiteral("Rows"));
    rows->SetRangeEnd(reCount);
    rows->SetRangeEndCount(3);
    rows->Fields()->SetText(QStringLiteral("Name\nDone\n"));

    auto *page = new TqvxReportPage(&report);
    page->SetName(QStringLiteral("Page1"));
    page->SetDefaults();
    auto *title = new TqvxReportTitle(page);
    title->SetName(QStringLiteral("ReportTitle1"));
    title->SetBounds(0, 20, 718, 40);
    auto *line = new TqvxLineView(title);
    line->SetName(QStringLiteral("Line1"));
    line->SetBounds(0, 36, 718, 0);
    auto *picture = new TqvxPictureView(title);
    picture->SetName(QStringLiteral("Picture1"));
    picture->SetBounds(600, 0, 40, 30);
    TBitmap bitmap;
    bitmap.SetSize(8, 6);
    picture->Picture()->SetGraphic(&bitmap);
    auto *master = new TqvxMasterData(page);
    master->SetName(QStringLiteral("MasterData1"));
    master->SetBounds(0, 100, 718, 20);
    master->SetDataSet(rows);
    master->SetRowCount(3);
    auto *box = new TqvxCheckBoxView(master);
    box->SetName(QStringLiteral("CheckBox1"));
    box->SetDataSet(rows);
    box->SetDataField(QStringLiteral("Done"));
    auto *memo = NewObject<TqvxMemoView>(master);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(30, 0, 300, 20);
    memo->SetText(QStringLiteral("[Line#]. [<Rows.\"Name\">]\n"));

    QByteArray first;
    auto copy = reloaded(report, &first);
    auto *loadedMaster = find<TqvxMasterData>(*copy, "MasterData1");
    ASSERT_NE(loadedMaster, nullptr);
    EXPECT_EQ(loadedMaster->DataSet(), copy->FindObject(QStringLiteral("UserDataSet1")));
    EXPECT_EQ(loadedMaster->DataSetName(), QStringLiteral("Rows"));
    EXPECT_EQ(loadedMaster->RowCount(), 3);
    EXPECT_EQ(find<TqvxMemoView>(*copy, "Memo1")->Text(), memo->Text());
    EXPECT_EQ(SaveReport(copy.get()), first);
}

TEST(DataBand, ARowCountCountsTheBandsOwnRows)
{
    TqvxMasterData band;
    band.SetRowCount(3);
    TqvxUserDataSet *rows = band.VirtualDataSet();
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->RangeEnd(), reCount);
    EXPECT_EQ(rows->RangeEndCount(), 3);
    int count = 0;
    for (rows->First(); !rows->Eof(); rows->Next())
        ++count;
    EXPECT_EQ(count, 3);
    band.SetRowCount(5);
    EXPECT_EQ(rows->RangeEndCount(), 5);
}

TEST(DataBand, MakesItsOwnRowsOnlyWhenAskedForThem)
{
    ASSERT_NE(qvxDataSetList(), nullptr);
    const qsizetype alive = qvxDataSetList()->Items().size();
    TqvxMasterData band;
    band.SetRowCount(4);
    EXPECT_EQ(qvxDataSetList()->Items().size(), alive);
    EXPECT_EQ(band.VirtualDataSet()->RangeEndCount(), 4);
    EXPECT_EQ(band.VirtualDataSet(), band.VirtualDataSet());
    EXPECT_EQ(qvxDataSetList()->Items().size(), alive + 1);
}

TEST(CheckBox, ANullFieldShowsTheUncheckedMark)
{
    TContextReport report;
    auto *rows = NewObject<TqvxUserDataSet>(&report);
    Variant done = Variant::Null();
    rows->SetOnGetValue([&done](const QString &, Variant &value) { value = done; });
    auto *box = new TqvxCheckBoxView(&report);
    box->SetDataSet(rows);
    box->SetDataField(QStringLiteral("Done"));
    box->GetData();
    EXPECT_FALSE(box->Checked());
    done = Variant(true);
    box->GetData();
    EXPECT_TRUE(box->Checked());
}

} // namespace
