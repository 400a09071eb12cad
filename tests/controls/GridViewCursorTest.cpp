// Moving the grid's cursor: the offset codes, SetCursor with its events,
// and the text search.

#include "GridTestSupport.h"

namespace {

// A grid of 6 columns and 10 rows; column 0 is fixed, column 2 hidden,
// column 4 not a tab stop, column 5 refused by the accept-cursor hook.
class GridCursor : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        setUpGrid(6, 10, 30);
        grid->Fixed()->SetCount(1);
        grid->Columns()->Columns(2)->SetVisible(false);
        grid->Columns()->Columns(4)->SetTabStop(false);
        grid->refusedColumn = 5;
        grid->log.clear();
    }

    TGridCell move(TGridCell from, TGridCursorOffset offset) const { return grid->GetCursorCell(from, offset); }
};

} // namespace

TEST_F(GridCursor, OnlyVisibleTabStopScrollingCellsAcceptTheCursor)
{
    EXPECT_FALSE(grid->IsCellAcceptCursor(GridCell(0, 0)));
    EXPECT_TRUE(grid->IsCellAcceptCursor(GridCell(1, 0)));
    EXPECT_FALSE(grid->IsCellAcceptCursor(GridCell(2, 0)));
    EXPECT_TRUE(grid->IsCellAcceptCursor(GridCell(3, 9)));
    EXPECT_FALSE(grid->IsCellAcceptCursor(GridCell(3, 10)));
    EXPECT_FALSE(grid->IsCellAcceptCursor(GridCell(4, 0)));
    EXPECT_FALSE(grid->IsCellAcceptCursor(GridCell(5, 0)));
    grid->Columns()->Columns(1)->SetWidth(0);
    EXPECT_FALSE(grid->IsCellAcceptCursor(GridCell(1, 0)));
}

TEST_F(GridCursor, OffsetCodes)
{
    EXPECT_EQ(move(GridCell(3, 4), coLeft), GridCell(1, 4));
    EXPECT_EQ(move(GridCell(1, 4), coLeft), GridCell(1, 4));
    EXPECT_EQ(move(GridCell(1, 4), coRight), GridCell(3, 4));
    EXPECT_EQ(move(GridCell(3, 4), coRight), GridCell(3, 4));
    EXPECT_EQ(move(GridCell(3, 4), coUp), GridCell(3, 3));
    EXPECT_EQ(move(GridCell(3, 0), coUp), GridCell(3, 0));
    EXPECT_EQ(move(GridCell(3, 4), coDown), GridCell(3, 5));
    EXPECT_EQ(move(GridCell(3, 9), coDown), GridCell(3, 9));
    // Seven rows and a part are visible: a page is seven rows.
    EXPECT_EQ(move(GridCell(3, 8), coPageUp), GridCell(3, 1));
    EXPECT_EQ(move(GridCell(3, 2), coPageUp), GridCell(3, 0));
    EXPECT_EQ(move(GridCell(3, 1), coPageDown), GridCell(3, 8));
    EXPECT_EQ(move(GridCell(3, 8), coPageDown), GridCell(3, 9));
    EXPECT_EQ(move(GridCell(3, 4), coHome), GridCell(1, 4));
    EXPECT_EQ(move(GridCell(1, 4), coEnd), GridCell(3, 4));
    EXPECT_EQ(move(GridCell(3, 4), coGridHome), GridCell(1, 0));
    EXPECT_EQ(move(GridCell(1, 4), coGridEnd), GridCell(3, 9));
    EXPECT_EQ(move(GridCell(5, 4), coFirst), GridCell(1, 0));
    EXPECT_EQ(move(GridCell(1, 4), coNext), GridCell(3, 4));
    EXPECT_EQ(move(GridCell(3, 4), coNext), GridCell(1, 5));
    EXPECT_EQ(move(GridCell(3, 9), coNext), grid->CellFocused());
    EXPECT_EQ(move(GridCell(1, 5), coPrev), GridCell(3, 4));
    EXPECT_EQ(move(GridCell(1, 0), coPrev), grid->CellFocused());
}

TEST_F(GridCursor, SelectSearchesTowardTheFocusedCell)
{
    grid->SetCursor(GridCell(3, 6), true, false);
    EXPECT_EQ(move(GridCell(1, 2), coSelect), GridCell(1, 2));
    EXPECT_EQ(move(GridCell(5, 6), coSelect), GridCell(3, 6));
    EXPECT_EQ(move(GridCell(0, 6), coSelect), GridCell(1, 6));
    EXPECT_EQ(move(GridCell(5, 2), coSelect), GridCell(3, 2));
}

TEST_F(GridCursor, NextUnderRowSelectSkipsTheStartingRow)
{
    grid->SetRowSelect(true);
    EXPECT_EQ(move(GridCell(1, 4), coNext), GridCell(1, 5));
    EXPECT_EQ(move(GridCell(3, 4), coPrev), GridCell(3, 3));
}

TEST_F(GridCursor, SetCursorFiresChangingThenChange)
{
    grid->SetCursor(GridCell(3, 2), true, true);
    EXPECT_EQ(grid->log, QStringList({"changing 3,2", "change 3,2 1"}));
    EXPECT_EQ(grid->CellFocused(), GridCell(3, 2));
    EXPECT_TRUE(grid->CellSelected());

    grid->log.clear();
    grid->SetCursor(GridCell(3, 2), true, true);
    EXPECT_TRUE(grid->log.isEmpty());

    // A cell that refuses the cursor is replaced before OnChanging sees it.
    grid->SetCursor(GridCell(5, 2), true, true);
    EXPECT_TRUE(grid->log.isEmpty());
    grid->SetCursor(GridCell(0, 20), true, true);
    EXPECT_EQ(grid->log, QStringList({"changing 1,9", "change 1,9 1"}));
}

TEST_F(GridCursor, OnChangingMayRedirectTheMove)
{
    grid->OnChanging = [](TObject *, TGridCell &cell, bool &selected) {
        cell = GridCell(1, 7);
        selected = false;
    };
    grid->SetCursor(GridCell(3, 2), true, true);
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 7));
    EXPECT_FALSE(grid->CellSelected());
    EXPECT_EQ(grid->log, QStringList({"change 1,7 0"}));
}

TEST_F(GridCursor, NoRowsMeansNoSelection)
{
    grid->Rows()->SetCount(0);
    grid->SetCursor(GridCell(3, 3), true, true);
    EXPECT_FALSE(grid->CellSelected());
    EXPECT_EQ(grid->VisSize().Row, 0);
}

TEST_F(GridCursor, UpdateCursorLeavesACellThatStoppedAcceptingIt)
{
    grid->SetCursor(GridCell(3, 4), true, false);
    grid->Columns()->Columns(3)->SetVisible(false);
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 0));
}

TEST_F(GridCursor, FindTextSearchesRowsAfterOrBeforeTheCell)
{
    grid->OnGetCellText = [](TObject *, TGridCell cell, QString &value) {
        if (cell.Row == 2 && cell.Col == 3)
            value = QString::fromUtf8("Расцепитель");
        if (cell.Row == 7 && cell.Col == 0)
            value = QString::fromUtf8("расцепитель");
    };
    TGridCell cell = GridCell(0, 0);
    EXPECT_TRUE(grid->FindText(QString::fromUtf8("цеп"), cell, frDown));
    EXPECT_EQ(cell, GridCell(3, 2));
    EXPECT_TRUE(grid->FindText(QString::fromUtf8("цеп"), cell, frDown));
    EXPECT_EQ(cell, GridCell(0, 7));
    EXPECT_FALSE(grid->FindText(QString::fromUtf8("цеп"), cell, frDown));
    EXPECT_EQ(cell, GridCell(-1, -1));

    cell = GridCell(0, 9);
    EXPECT_TRUE(grid->FindText(QString::fromUtf8("Расцепитель"), cell, frWholeWord | frMatchCase));
    EXPECT_EQ(cell, GridCell(3, 2));
    cell = GridCell(0, 9);
    EXPECT_FALSE(grid->FindText(QString::fromUtf8("цеп"), cell, frWholeWord));
    cell = GridCell(0, 0);
    EXPECT_FALSE(grid->FindText(QString::fromUtf8("РАСЦ"), cell, frDown | frMatchCase));
}
