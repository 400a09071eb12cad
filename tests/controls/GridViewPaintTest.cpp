// Painting of the grid view: recorded drawing calls and pixels of the
// grabbed client area.

#include "GridTestSupport.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/RecordingCanvas.h"

namespace {

using Lines = QList<QList<TPoint>>;

QList<TPoint> line(int x1, int y1, int x2, int y2)
{
    return {Point(x1, y1), Point(x2, y2)};
}

// Three columns of 50 and five rows of 20 in a 200 x 150 client area.
class GridPaint : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        setUpGrid(3, 5);
    }

    TCanvasRecords record()
    {
        TRecordingCanvas canvas;
        grid->PaintTo(&canvas);
        return canvas.TakeRecords();
    }
};

} // namespace

TEST_F(GridPaint, GridLinesForEachStyle)
{
    const Lines verticals = {line(49, 0, 49, 100), line(99, 0, 99, 100), line(149, 0, 149, 100)};
    Lines horizontals;
    for (int y = 19; y < 100; y += 20)
        horizontals.append(line(0, y, 150, y));
    EXPECT_EQ(grid->GridLinePolylines(), verticals + horizontals);

    grid->SetGridStyle(gsVertLine | gsFullVertLine);
    EXPECT_EQ(grid->GridLinePolylines(),
              Lines({line(49, 0, 49, 150), line(99, 0, 99, 150), line(149, 0, 149, 150)}));

    grid->SetGridStyle(gsHorzLine | gsFullHorzLine);
    EXPECT_EQ(grid->GridLinePolylines().first(), line(0, 19, 200, 19));
    EXPECT_EQ(grid->GridLinePolylines().size(), 5);

    grid->SetGridStyle(gsHorzLine | gsVertLine | gsListViewLike);
    const Lines listView = grid->GridLinePolylines();
    EXPECT_EQ(listView.first(), line(49, 0, 49, 150));
    EXPECT_EQ(listView.size(), 3 + 8);
    EXPECT_EQ(listView.last(), line(0, 159, 200, 159));

    grid->Fixed()->SetCount(1);
    grid->SetGridStyle(gsHorzLine);
    EXPECT_EQ(grid->GridLinePolylines().first(), line(50, 19, 150, 19));
}

TEST_F(GridPaint, GridLinesKeepTheirContrast)
{
    EXPECT_EQ(grid->GetGridLineColor(clWindow), clSilver);
    grid->SetGridColor(clWindow);
    EXPECT_EQ(grid->GetGridLineColor(clWindow), 0x7F7F7F);
    grid->SetGridColor(clSilver);
    grid->SetColor(clSilver);
    EXPECT_EQ(grid->GetGridLineColor(grid->Color()), 0x404040);
    EXPECT_EQ(pixel(49, 5), 0x404040);
    EXPECT_EQ(pixel(10, 19), 0x404040);
    EXPECT_EQ(pixel(10, 18), clSilver);
}

TEST_F(GridPaint, PaintOrder)
{
    grid->SetShowHeader(true);
    grid->Fixed()->SetCount(1);
    showFocused();
    grid->SetCursor(GridCell(1, 1), true, true);
    const TCanvasRecords records = record();
    // The first drawing call of each kind, by its position.
    auto first = [&](const std::function<bool(const TCanvasRecord &)> &match) {
        for (int i = 0; i < records.size(); ++i)
            if (match(records[i]))
                return i;
        return -1;
    };
    const int header = first([](const TCanvasRecord &r) { return r.Op == TCanvasOp::FillRect && r.Bounds.Top == 0; });
    const int freeField = first([&](const TCanvasRecord &r) {
        return r.Op == TCanvasOp::FillRect && r.Bounds == Rect(150, 17, 200, 150);
    });
    const int fixedCell = first([](const TCanvasRecord &r) {
        return r.Op == TCanvasOp::FillRect && r.Bounds == Rect(0, 17, 50, 37);
    });
    const int cell = first([](const TCanvasRecord &r) {
        return r.Op == TCanvasOp::FillRect && r.Bounds == Rect(50, 17, 100, 37);
    });
    const int focus = first([](const TCanvasRecord &r) { return r.Op == TCanvasOp::FocusRect; });
    const int lines = first([](const TCanvasRecord &r) {
        return r.Op == TCanvasOp::Polyline && r.Pen.Color == clSilver;
    });
    ASSERT_NE(header, -1);
    EXPECT_LT(header, freeField);
    EXPECT_LT(freeField, fixedCell);
    EXPECT_LT(fixedCell, cell);
    EXPECT_LT(cell, focus);
    EXPECT_LT(focus, lines);
    EXPECT_EQ(records[focus].Bounds, Rect(50, 37, 99, 56));
}

TEST_F(GridPaint, TheEditorRectangleIsLeftOut)
{
    grid->OnGetCellColors = [](TObject *, TGridCell, TCanvas *canvas) { canvas->Brush()->SetColor(clRed); };
    grid->SetAllowEdit(true);
    showFocused();
    grid->SetCursor(GridCell(1, 1), true, true);
    grid->SetEditing(true);
    ASSERT_TRUE(grid->Editing());
    const TRect edit = grid->GetEditRect(GridCell(1, 1));
    bool excluded = false;
    for (const TCanvasRecord &r : record())
        excluded = excluded || (r.Op == TCanvasOp::Clip && r.Bounds == edit);
    EXPECT_TRUE(excluded);
    EXPECT_EQ(pixel(60, 25), clRed); // the editor, in the cell's colours
    EXPECT_EQ(pixel(10, 25), clRed);
}

TEST_F(GridPaint, TextFlagsFollowTheColumn)
{
    TGridColumns *columns = grid->Columns();
    const TGridCell cell = GridCell(0, 0);
    EXPECT_EQ(grid->GetTextFlags(cell), DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    columns->Columns(0)->SetAlignment(taRightJustify);
    EXPECT_EQ(grid->GetTextFlags(cell), DT_NOPREFIX | DT_RIGHT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    columns->Columns(0)->SetAlignment(taCenter);
    grid->SetEndEllipsis(false);
    EXPECT_EQ(grid->GetTextFlags(cell), DT_NOPREFIX | DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    grid->SetEndEllipsis(true);
    columns->Columns(0)->SetWordWrap(true);
    EXPECT_EQ(grid->GetTextFlags(cell), DT_NOPREFIX | DT_CENTER | DT_WORDBREAK);
    columns->Columns(0)->SetWordWrap(false);
    columns->Columns(0)->SetWantReturns(true);
    EXPECT_EQ(grid->GetTextFlags(cell), DT_NOPREFIX | DT_CENTER);
}

TEST_F(GridPaint, CellTextIsDrawnAtItsIndents)
{
    bool found = false;
    for (const TCanvasRecord &r : record())
        if (r.Op == TCanvasOp::Text && r.Text == QStringLiteral("1,2")) {
            found = true;
            EXPECT_EQ(r.Bounds.Left, 56);
            EXPECT_GE(r.Bounds.Top, 40);
            EXPECT_LE(r.Bounds.Bottom, 60);
        }
    EXPECT_TRUE(found);
}

TEST_F(GridPaint, SelectedCellColours)
{
    grid->SetGridLines(false);
    grid->SetCursor(GridCell(1, 1), true, true);
    EXPECT_EQ(pixel(55, 22), ColorToRGB(clBtnFace));
    grid->SetHideSelection(true);
    EXPECT_EQ(pixel(55, 22), ColorToRGB(clWindow));
    showFocused();
    EXPECT_EQ(pixel(55, 22), ColorToRGB(clHighlight));
    EXPECT_EQ(pixel(5, 22), ColorToRGB(clWindow));
    grid->SetEnabled(false);
    EXPECT_EQ(pixel(55, 22), ColorToRGB(clWindow));
}

TEST_F(GridPaint, FreeFieldColours)
{
    grid->Fixed()->SetCount(1);
    grid->Fixed()->SetColor(clYellow);
    grid->SetColor(clAqua);
    EXPECT_EQ(pixel(180, 10), clAqua);
    EXPECT_EQ(pixel(120, 130), clAqua);
    EXPECT_EQ(pixel(20, 130), clYellow);
    EXPECT_EQ(pixel(40, 10), clYellow);
}

TEST_F(GridPaint, SortArrowsAreDrawnTransparently)
{
    grid->SetShowHeader(true);
    grid->sortedColumn = 1;
    // Section 1 spans 50..100; inside its flat frame the arrow ends six
    // pixels before the right edge, vertically centred.
    EXPECT_EQ(pixel(85, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixel(91, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixel(88, 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(pixel(85, 8), ColorToRGB(clBtnFace));
    EXPECT_EQ(pixel(35, 5), ColorToRGB(clBtnFace));
}
