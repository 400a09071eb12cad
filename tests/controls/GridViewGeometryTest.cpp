// Geometry of the grid view: column and row edges, hit tests, the visible
// range, scrolling a cell into view and the scroll bars.

#include "GridTestSupport.h"

#include <QScrollBar>

namespace {

class GridGeometry : public GridFixture
{
protected:
    std::pair<int, int> leftRight(int col) const
    {
        int left = 0;
        int right = 0;
        grid->GetColumnLeftRight(col, left, right);
        return {left, right};
    }
};

} // namespace

TEST_F(GridGeometry, NewGridDefaults)
{
    EXPECT_EQ(grid->Rows()->Count(), 0);
    EXPECT_EQ(grid->Columns()->Count(), 0);
    EXPECT_EQ(grid->CellFocused(), GridCell(0, 0));
    EXPECT_FALSE(grid->CellSelected());
    EXPECT_EQ(grid->VisSize(), GridCell(0, 0));
    EXPECT_EQ(grid->CursorKeys(), gkArrows | gkMouse | gkMouseWheel);
    EXPECT_EQ(grid->GridStyle(), gsHorzLine | gsVertLine);
    EXPECT_EQ(grid->ClientRect(), Rect(0, 0, 200, 150));

    grid->SetCursorKeys(gkArrows | gkMouseMove);
    EXPECT_EQ(grid->CursorKeys(), TGridCursorKeys(gkArrows));
}

TEST_F(GridGeometry, ColumnEdgesOutsideTheColumns)
{
    EXPECT_EQ(leftRight(3), std::make_pair(0, 0));
    grid->SetShowHeader(true);
    EXPECT_EQ(leftRight(0), std::make_pair(0, 0)); // no columns: the grid rectangle's left
    setUpGrid(3, 5);
    EXPECT_EQ(leftRight(1), std::make_pair(50, 100));
    EXPECT_EQ(leftRight(-1), std::make_pair(0, 0));
    EXPECT_EQ(leftRight(7), std::make_pair(150, 150));
}

TEST_F(GridGeometry, HitTestsSkipZeroWidthColumns)
{
    setUpGrid(4, 3);
    grid->Columns()->Columns(1)->SetVisible(false);
    EXPECT_EQ(grid->GetColumnAt(49, 0), 0);
    EXPECT_EQ(grid->GetColumnAt(50, 0), 2);
    EXPECT_EQ(grid->GetColumnAt(149, 0), 3);
    EXPECT_EQ(grid->GetColumnAt(150, 0), -1);
    EXPECT_EQ(grid->GetRowAt(0, 59), 2);
    EXPECT_EQ(grid->GetRowAt(0, 60), -1);
    EXPECT_EQ(grid->GetRowAt(0, -1), -1);
    EXPECT_EQ(grid->GetCellAt(60, 25), GridCell(2, 1));
    EXPECT_EQ(grid->GetCellAt(160, 25), GridCell(-1, -1));

    grid->SetShowHeader(true);
    EXPECT_EQ(grid->GetRowAt(0, 16), -1);
    EXPECT_EQ(grid->GetRowAt(0, 17), 0);
}

TEST_F(GridGeometry, FixedColumnsDoNotScroll)
{
    setUpGrid(6, 3);
    grid->Fixed()->SetCount(1);
    grid->HorzScrollBar()->SetPosition(30);
    EXPECT_EQ(grid->HorzScrollBar()->Position(), 30);
    EXPECT_EQ(leftRight(0), std::make_pair(0, 50));
    EXPECT_EQ(leftRight(1), std::make_pair(20, 70));
    // Column 1 lies under the fixed band at x 20..49.
    EXPECT_EQ(grid->GetColumnAt(30, 0), 0);
    EXPECT_EQ(grid->GetColumnAt(60, 0), 1);
    EXPECT_EQ(grid->VisOrigin().Col, 1);
    grid->HorzScrollBar()->SetPosition(55);
    EXPECT_EQ(grid->VisOrigin().Col, 2);
}

TEST_F(GridGeometry, VisibleRangeCountsPartlyVisibleColumnsAndRows)
{
    setUpGrid(6, 30);
    EXPECT_EQ(grid->VisOrigin(), GridCell(0, 0));
    EXPECT_EQ(grid->VisSize(), GridCell(4, 8)); // 150 / 20 = 7 rows and a part
    grid->VertScrollBar()->SetPosition(25);
    EXPECT_EQ(grid->VertScrollBar()->Position(), 23); // 30 rows, page of 7
    EXPECT_EQ(grid->VisOrigin().Row, 23);
    EXPECT_EQ(grid->VisSize().Row, 7);
}

TEST_F(GridGeometry, ScrollBarsShowOnlyWhenNeeded)
{
    form->Show();
    QApplication::processEvents();
    setUpGrid(2, 7);
    EXPECT_EQ(grid->GetScrollInfo(sbVertical).Max, 0);
    EXPECT_EQ(grid->ClientRect().Height(), 150);
    grid->Rows()->SetCount(8);
    EXPECT_EQ(grid->GetScrollInfo(sbVertical).Max, 10000);
    EXPECT_LT(grid->ClientRect().Width(), 200);
}

TEST_F(GridGeometry, ElevenRowsOfEighteenFitTwoHundredThreePixels)
{
    form->Show();
    QApplication::processEvents();
    grid->SetBounds(10, 10, 200, 203);
    grid->Rows()->SetHeight(18);
    setUpGrid(2, 11);
    EXPECT_EQ(grid->ClientRect().Height(), 199);
    EXPECT_EQ(grid->GetScrollInfo(sbVertical).Max, 0);
    EXPECT_EQ(grid->ClientRect().Width(), 196);
}

TEST_F(GridGeometry, MakeCellVisibleScrollsByWholeRowsAndColumns)
{
    setUpGrid(6, 30);
    grid->MakeCellVisible(GridCell(0, 7), false);
    // Row 7 covers 140..160 of 150: one row, the remainder taking one more.
    EXPECT_EQ(grid->VertScrollBar()->Position(), 1);
    grid->MakeCellVisible(GridCell(0, 7), true);
    EXPECT_EQ(grid->VertScrollBar()->Position(), 1);
    grid->MakeCellVisible(GridCell(0, 0), true);
    EXPECT_EQ(grid->VertScrollBar()->Position(), 0);
    grid->MakeCellVisible(GridCell(0, 20), false);
    EXPECT_EQ(grid->VertScrollBar()->Position(), 14);

    grid->MakeCellVisible(GridCell(4, 20), false);
    EXPECT_EQ(grid->HorzScrollBar()->Position(), 50);
    grid->MakeCellVisible(GridCell(0, 20), false);
    EXPECT_EQ(grid->HorzScrollBar()->Position(), 0);
}

TEST_F(GridGeometry, EditAndFocusRectanglesLeaveOutGlyphsAndLines)
{
    setUpGrid(3, 3);
    EXPECT_EQ(grid->GetEditRect(GridCell(1, 1)), Rect(50, 20, 99, 39));
    grid->SetCheckBoxes(true);
    grid->Columns()->Columns(1)->SetCheckKind(gcCheckBox);
    EXPECT_EQ(grid->GetEditRect(GridCell(1, 1)), Rect(66, 20, 99, 39));
    grid->SetGridLines(false);
    EXPECT_EQ(grid->GetEditRect(GridCell(1, 1)), Rect(66, 20, 100, 40));

    grid->SetCellFocused(GridCell(1, 1));
    EXPECT_EQ(grid->GetFocusRect(), Rect(50, 20, 100, 40));
    grid->SetImageHighlight(false);
    EXPECT_EQ(grid->GetFocusRect(), Rect(66, 20, 100, 40));
    grid->SetRowSelect(true);
    grid->SetImageHighlight(true);
    EXPECT_EQ(grid->GetFocusRect(), Rect(0, 20, 150, 40));
}

TEST_F(GridGeometry, TheWindowsScrollBarMovesTheRows)
{
    form->Show();
    QApplication::processEvents();
    setUpGrid(2, 30);
    QScrollBar *bar = nullptr;
    for (QScrollBar *candidate : grid->Widget()->findChildren<QScrollBar *>())
        if (candidate->orientation() == Qt::Vertical)
            bar = candidate;
    ASSERT_NE(bar, nullptr);
    ASSERT_TRUE(bar->isVisible());

    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(grid->VisOrigin().Row, 6);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(grid->VisOrigin().Row, 5);
    // The bar counts 0..10000 over the rows 0..29: halfway is row 15.
    EXPECT_EQ(bar->value(), ScrollPosToBar(5, 0, 29));
    bar->setSliderPosition(5000);
    bar->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(grid->VisOrigin().Row, 15);

    grid->VertScrollBar()->SetTracking(false);
    bar->setSliderPosition(0);
    bar->triggerAction(QAbstractSlider::SliderMove);
    EXPECT_EQ(grid->VisOrigin().Row, 15);
}
