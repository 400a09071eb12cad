// Dot-matrix objects: snapping to the character cell grid, the page's
// whole-cell paper, the style flow from the page to its objects, and their
// storage.

#include "report/ReportContextStub.h"
#include "report/ReportTestClasses.h"
#include "report/ReportTestTree.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxCharGrid.h"
#include "report/pages/qvxDMP.h"
#include "report/model/qvxRegistries.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <gtest/gtest.h>

namespace {

enum class Axis { Left, Top, Width, Height };

struct SnapCase {
    const char *what;
    Axis axis;
    TqvxAlign align;
    double value;
    double expected;
};

void setAxis(TqvxView &view, Axis axis, double value)
{
    switch (axis) {
    case Axis::Left: view.SetLeft(value); break;
    case Axis::Top: view.SetTop(value); break;
    case Axis::Width: view.SetWidth(value); break;
    case Axis::Height: view.SetHeight(value); break;
    }
}

double axisOf(const TqvxView &view, Axis axis)
{
    switch (axis) {
    case Axis::Left: return view.Left();
    case Axis::Top: return view.Top();
    case Axis::Width: return view.Width();
    case Axis::Height: return view.Height();
    }
    return 0;
}

template <class T>
void expectSnaps(const std::initializer_list<SnapCase> &cases)
{
    for (const SnapCase &c : cases) {
        T view;
        view.SetAlign(c.align);
        setAxis(view, c.axis, c.value);
        EXPECT_NEAR(axisOf(view, c.axis), c.expected, 1e-9) << c.what;
    }
}

TEST(DMPObjects, MemoSnapsToTheNearestCellHalvesToEven)
{
    expectSnaps<TqvxDMPMemoView>({
        {"Left 15 rounds up to two columns", Axis::Left, baNone, 15, 19.2},
        {"right-aligned Left 15 truncates to one column", Axis::Left, baRight, 15, 9.6},
        {"Top 30 rounds to two lines", Axis::Top, baNone, 30, 34},
        {"Height 25.5 is a tie going to two lines", Axis::Height, baNone, 25.5, 34},
        {"Height 8.5 is a tie going to none", Axis::Height, baNone, 8.5, 0},
        {"Height 42.5 is a tie going to two lines", Axis::Height, baNone, 42.5, 34},
        {"Width 14.4 is a tie going to two columns", Axis::Width, baNone, 14.4, 19.2},
        {"Width 4.8 is a tie going to none", Axis::Width, baNone, 4.8, 0},
    });
}

TEST(DMPObjects, LineRunsThroughTheMiddleOfCells)
{
    expectSnaps<TqvxDMPLineView>({
        {"Left 15 goes to the middle of the second column", Axis::Left, baNone, 15, 14.4},
        {"Left -5 goes to the middle of the column left of zero", Axis::Left, baNone, -5, -4.8},
        {"right-aligned Left 15 goes half a cell left of the nearest column", Axis::Left, baRight, 15, 14.4},
        {"right-aligned Left 14 goes half a cell left of the nearest column", Axis::Left, baRight, 14, 4.8},
        {"Top 30 goes to the middle of the second line", Axis::Top, baNone, 30, 25.5},
        {"Width 14.4 rounds to two columns", Axis::Width, baNone, 14.4, 19.2},
        {"band-wide Width 18 is cut to one column", Axis::Width, baWidth, 18, 9.6},
    });
}

TEST(DMPObjects, CommandSnapsItsPosition)
{
    expectSnaps<TqvxDMPCommand>({
        {"Left 15 rounds to two columns", Axis::Left, baNone, 15, 19.2},
        {"Top 25.5 is a tie going to two lines", Axis::Top, baNone, 25.5, 34},
    });
}

// A page of 83 by 66 cells is 210.82 by 296.86 millimetres.
double cellsWide(const TqvxReportPage &page)
{
    return page.PaperWidth() * qv01cm / qv1CharX;
}

double linesHigh(const TqvxReportPage &page)
{
    return page.PaperHeight() * qv01cm / qv1CharY;
}

TEST(DMPPage, ANewPageIsA4InWholeCells)
{
    TqvxDMPPage page;
    EXPECT_EQ(page.PaperSize(), 9);
    EXPECT_NEAR(cellsWide(page), 83, 1e-9);
    EXPECT_NEAR(linesHigh(page), 66, 1e-9);
    EXPECT_NEAR(page.PaperWidth(), 210.82, 0.001);
    EXPECT_NEAR(page.PaperHeight(), 296.86, 0.01);
    EXPECT_DOUBLE_EQ(page.Width(), 797);
}

class TPrinterWithPaper : public TqvxPrinterList
{
public:
    TPrinterWithPaper(double width, double height)
        : m_width(width), m_height(height)
    {
    }
    TqvxPrinterDefaults CurrentDefaults() override
    {
        return {9, m_width, m_height, ObjectTypes::poPortrait};
    }

private:
    double m_width;
    double m_height;
};

void setDefaultsFrom(TqvxDMPPage &page, double width, double height)
{
    TPrinterWithPaper printer(width, height);
    qvxSetPrinters(&printer);
    page.SetDefaults();
    qvxSetPrinters(nullptr);
}

TEST(DMPPage, DefaultsTakeOneCellMarginsAndTheWholeCellsOfThePrinterPaper)
{
    TqvxDMPPage page;
    setDefaultsFrom(page, 210, 297);
    EXPECT_NEAR(page.LeftMargin(), 2.54, 0.001);
    EXPECT_NEAR(page.RightMargin(), 2.54, 0.001);
    EXPECT_NEAR(page.TopMargin(), 4.498, 0.001);
    EXPECT_NEAR(page.BottomMargin(), 4.498, 0.001);
    EXPECT_NEAR(cellsWide(page), 82, 1e-9);
    EXPECT_NEAR(linesHigh(page), 66, 1e-9);
    EXPECT_EQ(page.PaperSize(), 9);
}

TEST(DMPPage, PaperAlreadyInWholeCellsKeepsItsCells)
{
    TqvxDMPPage page;
    const double wholeWidth = page.PaperWidth();
    const double wholeHeight = page.PaperHeight();
    setDefaultsFrom(page, wholeWidth, wholeHeight);
    EXPECT_NEAR(cellsWide(page), 83, 1e-9);
    EXPECT_NEAR(linesHigh(page), 66, 1e-9);
    // The last bits of a whole width lost; a width a real fraction short
    // of a cell still loses the cell.
    setDefaultsFrom(page, std::nextafter(wholeWidth, 0.0), wholeHeight - 1e-4);
    EXPECT_NEAR(cellsWide(page), 83, 1e-9);
    EXPECT_NEAR(linesHigh(page), 65, 1e-9);
}

TEST(DMPPage, PaperSettersRoundToWholeCells)
{
    TqvxDMPPage page;
    page.SetPaperSize(9);
    EXPECT_EQ(page.PaperSize(), 9);
    page.SetPaperWidth(100);
    EXPECT_EQ(page.PaperSize(), 256);
    EXPECT_NEAR(cellsWide(page), 39, 1e-9);
    page.SetPaperHeight(100);
    EXPECT_NEAR(linesHigh(page), 22, 1e-9);
}

TEST(DMPObjects, MemoShowsCourierNewWithTheScreenStylesOfItsSet)
{
    TqvxDMPMemoView memo;
    memo.SetFontStyle(fsxBold | fsxCondensed);
    EXPECT_EQ(memo.Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(memo.Font()->Size(), 12);
    EXPECT_EQ(memo.Font()->Style(), TFontStyles(fsBold));
    memo.SetFontStyle(fsxWide | fsx12cpi | fsx15cpi | fsxSuperScript | fsxSubScript);
    EXPECT_EQ(memo.Font()->Style(), TFontStyles());
    memo.SetFontStyle(fsxItalic | fsxUnderline);
    EXPECT_EQ(memo.Font()->Style(), fsItalic | fsUnderline);
    EXPECT_EQ(memo.CharSpacing(), 0);
    EXPECT_EQ(memo.LineSpacing(), 1);
    EXPECT_EQ(memo.GapX(), 0);
    EXPECT_EQ(memo.GapY(), 0);
}

TEST(DMPObjects, MemoFrameSurroundsTheBoxGrownByHalfACell)
{
    TBitmap bitmap;
    bitmap.SetSize(80, 60);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(TRect(0, 0, 80, 60));
    TqvxDMPMemoView memo;
    memo.SetLeft(19.2);
    memo.SetTop(17);
    memo.SetWidth(28.8);
    memo.SetHeight(17);
    memo.Frame()->SetTyp(ftLeft | ftRight | ftTop | ftBottom);
    memo.Frame()->SetColor(clRed);
    memo.BeginDraw(bitmap.Canvas(), 1, 1, 0, 0);
    memo.DrawFrame();
    // 19.2 - 4.8 = 14.4, 17 - 8.5 = 8.5 (to even: 8), 52.8 and 42.5.
    EXPECT_EQ(memo.X(), 14);
    EXPECT_EQ(memo.Y(), 8);
    EXPECT_EQ(memo.X1(), 53);
    EXPECT_EQ(memo.Y1(), 42);
    QList<int> red;
    for (int x = 0; x < 80; ++x)
        if (bitmap.Canvas()->Pixel(x, 25) == clRed)
            red.append(x);
    ASSERT_EQ(red.size(), 2);
    EXPECT_NEAR(red.front(), 14, 1);
    EXPECT_NEAR(red.back(), 53, 1);
}

struct DMPTree {
    TContextReport report;
    TqvxDMPPage *page = new TqvxDMPPage(&report);
    TqvxBand *band = new TqvxMasterData(page);
    TqvxDMPMemoView *memo = new TqvxDMPMemoView(band);
    TqvxDMPLineView *line = new TqvxDMPLineView(band);

    DMPTree()
    {
        page->SetName(QStringLiteral("Page1"));
        band->SetName(QStringLiteral("MasterData1"));
        memo->SetName(QStringLiteral("Memo1"));
        line->SetName(QStringLiteral("Line1"));
    }
};

TEST(DMPObjects, ObjectsFollowingTheirParentTakeThePageStyleAndKeepFollowing)
{
    DMPTree tree;
    // A band with a font of its own does not pass it on to the memo.
    TFont arial;
    arial.SetName(QStringLiteral("Arial"));
    arial.SetSize(10);
    tree.band->SetFont(&arial);
    tree.page->SetFontStyle(fsxBold | fsxWide);
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(tree.memo->ParentFont());
        EXPECT_EQ(tree.memo->FontStyle(), fsxBold | fsxWide);
        EXPECT_EQ(tree.memo->Font()->Name(), QStringLiteral("Courier New"));
        EXPECT_EQ(tree.memo->Font()->Size(), 12);
        EXPECT_EQ(tree.memo->Font()->Style(), TFontStyles(fsBold));
        EXPECT_TRUE(tree.line->ParentFont());
        EXPECT_EQ(tree.line->FontStyle(), fsxBold | fsxWide);
        tree.page->SetFontStyle(fsxBold | fsxWide);
    }
    tree.memo->SetFontStyle(fsxItalic);
    EXPECT_FALSE(tree.memo->ParentFont());
    tree.page->SetFontStyle(fsxUnderline);
    EXPECT_EQ(tree.memo->FontStyle(), TqvxDMPFontStyles(fsxItalic));
    EXPECT_EQ(tree.line->FontStyle(), TqvxDMPFontStyles(fsxUnderline));
}

TEST(DMPObjects, FontStyleIsStoredOnlyWhenNotFollowingTheParent)
{
    DMPTree tree;
    tree.page->SetFontStyle(fsxCondensed);
    QByteArray saved = SaveReport(&tree.report);
    EXPECT_EQ(saved.count("FontStyle="), 1) << saved.toStdString();
    tree.memo->SetFontStyle(fsxBold | fsx15cpi);
    tree.line->SetFontStyle(fsxItalic);
    saved = SaveReport(&tree.report);
    EXPECT_EQ(saved.count("FontStyle="), 3) << saved.toStdString();
}

TEST(DMPObjects, ObjectsSurviveARoundTrip)
{
    RegisterReportTestClasses();
    DMPTree tree;
    tree.page->SetFontStyle(fsxCondensed | fsx12cpi);
    tree.memo->SetFontStyle(fsxBold | fsx15cpi);
    tree.memo->SetTruncOutboundText(true);
    tree.memo->SetLeft(19.2);
    tree.memo->SetWidth(96);
    tree.line->SetLeft(15);
    tree.line->SetTop(30);
    auto *command = new TqvxDMPCommand(tree.band);
    command->SetName(QStringLiteral("Command1"));
    command->SetCommand(QStringLiteral("#27#69"));
    command->SetLeft(28.8);
    const QByteArray saved = SaveReport(&tree.report);

    TContextReport copy;
    LoadReport(&copy, saved);
    EXPECT_TRUE(copy.Errors()->Text().isEmpty()) << copy.Errors()->Text().toStdString();
    auto *page = qobject_cast<TqvxDMPPage *>(copy.FindObject(QStringLiteral("Page1")));
    auto *memo = qobject_cast<TqvxDMPMemoView *>(copy.FindObject(QStringLiteral("Memo1")));
    auto *line = qobject_cast<TqvxDMPLineView *>(copy.FindObject(QStringLiteral("Line1")));
    auto *loadedCommand = qobject_cast<TqvxDMPCommand *>(copy.FindObject(QStringLiteral("Command1")));
    ASSERT_TRUE(page && memo && line && loadedCommand) << saved.toStdString();
    EXPECT_EQ(page->FontStyle(), fsxCondensed | fsx12cpi);
    EXPECT_EQ(page->PaperSize(), 9);
    EXPECT_NEAR(cellsWide(*page), 83, 1e-9);
    EXPECT_EQ(memo->FontStyle(), fsxBold | fsx15cpi);
    EXPECT_FALSE(memo->ParentFont());
    EXPECT_TRUE(memo->TruncOutboundText());
    EXPECT_DOUBLE_EQ(memo->Left(), 19.2);
    EXPECT_DOUBLE_EQ(memo->Width(), 96);
    EXPECT_EQ(memo->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_TRUE(line->ParentFont());
    EXPECT_DOUBLE_EQ(line->Left(), 14.4);
    EXPECT_DOUBLE_EQ(line->Top(), 25.5);
    EXPECT_EQ(loadedCommand->Command(), QStringLiteral("#27#69"));
    EXPECT_DOUBLE_EQ(loadedCommand->Left(), 28.8);
    EXPECT_EQ(SaveReport(&copy).toStdString(), saved.toStdString());
}

TEST(DMPObjects, AreRegisteredAsDotMatrixObjects)
{
    struct Expected {
        TClass cls;
        int imageIndex;
    };
    for (const Expected &expected : {Expected{ClassOf<TqvxDMPMemoView>(), 2}, Expected{ClassOf<TqvxDMPLineView>(), 5},
                                     Expected{ClassOf<TqvxDMPCommand>(), 21}}) {
        TqvxObjectItem *found = nullptr;
        for (int i = 0; i < qvxObjects()->Count(); ++i) {
            if (qvxObjects()->GetItem(i)->ClassRef == expected.cls)
                found = qvxObjects()->GetItem(i);
        }
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->ImageIndex, expected.imageIndex);
        EXPECT_EQ(found->Kind, TqvxObjectKinds(okDotMatrix));
    }
    EXPECT_NE(FindClass(QStringLiteral("TqvxDMPPage")), nullptr);
    EXPECT_EQ(TqvxDMPMemoView().GetDescription(), QStringLiteral("obDMPText"));
    EXPECT_EQ(TqvxDMPLineView().GetDescription(), QStringLiteral("obDMPLine"));
    EXPECT_EQ(TqvxDMPCommand().GetDescription(), QStringLiteral("obDMPCmd"));
}

int dotMatrixRegistrations()
{
    int count = 0;
    for (int i = 0; i < qvxObjects()->Count(); ++i)
        count += qvxObjects()->GetItem(i)->Kind.testFlag(okDotMatrix) ? 1 : 0;
    return count;
}

TEST(DMPObjects, TheUnitEndTakesTheRegistrationsOut)
{
    ASSERT_EQ(dotMatrixRegistrations(), 3);
    FinalizeQvxDMP();
    EXPECT_EQ(dotMatrixRegistrations(), 0);
    EXPECT_EQ(GetClass(QStringLiteral("TqvxDMPPage")), nullptr);
    InitializeQvxDMP();
    EXPECT_EQ(dotMatrixRegistrations(), 3);
    EXPECT_NE(GetClass(QStringLiteral("TqvxDMPPage")), nullptr);
}

} // namespace
