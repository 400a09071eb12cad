// Keyboard and mouse input of the grid view, sent as synthesized events to
// a grid on a shown form of the offscreen platform.

#include "GridTestSupport.h"

#include "controls/TCustomGridEdit.h"
#include "toolkit/widgets/TCustomEdit.h"

namespace {

class GridInput : public GridFixture
{
protected:
    void SetUp() override
    {
        GridFixture::SetUp();
        setUpGrid(3, 30);
        showFocused();
        ASSERT_TRUE(grid->Focused());
        grid->SetCursor(GridCell(0, 0), true, true);
        grid->log.clear();
    }

    QPoint cellCentre(const TGridCell &cell) const
    {
        const TRect r = grid->GetCellRect(cell);
        return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    }
};

} // namespace

TEST_F(GridInput, ArrowsMoveTheCursor)
{
    key(Qt::Key_Down);
    key(Qt::Key_Right);
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 1));
    key(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->CellFocused(), GridCell(2, 29));
    EXPECT_EQ(grid->VisOrigin().Row, 23);
    key(Qt::Key_Home);
    EXPECT_EQ(grid->CellFocused(), GridCell(0, 29));
    key(Qt::Key_PageUp);
    EXPECT_EQ(grid->CellFocused(), GridCell(0, 23));
}

TEST_F(GridInput, DownOnTheLastRowFiresNothing)
{
    grid->SetCursor(GridCell(1, 29), true, true);
    grid->log.clear();
    key(Qt::Key_Down);
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 29));
    EXPECT_TRUE(grid->log.isEmpty());
}

TEST_F(GridInput, TabWalksCellsAndStopsAtTheLast)
{
    grid->SetCursorKeys(grid->CursorKeys() | gkTabs);
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 0));
    key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->CellFocused(), GridCell(0, 0));
    grid->SetCursor(GridCell(2, 29), true, true);
    grid->log.clear();
    key(Qt::Key_Tab);
    EXPECT_EQ(grid->CellFocused(), GridCell(2, 29));
    EXPECT_TRUE(grid->log.isEmpty());
}

TEST_F(GridInput, WithoutAllowSelectUpAndDownScroll)
{
    grid->SetAllowSelect(false);
    key(Qt::Key_Down);
    // Seven rows are wholly visible; the cursor goes below them.
    EXPECT_EQ(grid->CellFocused(), GridCell(0, 7));
    EXPECT_EQ(grid->VisOrigin().Row, 1);
    key(Qt::Key_Down);
    EXPECT_EQ(grid->VisOrigin().Row, 2);
    key(Qt::Key_Up);
    EXPECT_EQ(grid->CellFocused(), GridCell(0, 1));
    EXPECT_EQ(grid->VisOrigin().Row, 1);
}

TEST_F(GridInput, SecondClickOnTheCursorCellStartsEditing)
{
    grid->SetAllowEdit(true);
    click(cellCentre(GridCell(1, 2)));
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 2));
    EXPECT_FALSE(grid->Editing());
    EXPECT_EQ(grid->ClickPos(), GridCell(1, 2));
    click(cellCentre(GridCell(2, 2)));
    EXPECT_FALSE(grid->Editing());
    click(cellCentre(GridCell(2, 2)));
    EXPECT_TRUE(grid->Editing());
    EXPECT_EQ(grid->EditCell(), GridCell(2, 2));

    key(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_FALSE(grid->Editing());
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_TRUE(grid->Editing());
}

TEST_F(GridInput, LeavingTheGridEndsTheEditAndHidesTheEditor)
{
    QStringList applied;
    grid->OnSetEditText = [&](TObject *, TGridCell cell, QString &value) {
        applied << QStringLiteral("%1,%2 %3").arg(cell.Col).arg(cell.Row).arg(value);
    };
    auto *other = NewObject<TEdit>(form.get());
    other->SetParent(form.get());
    other->SetBounds(250, 10, 100, 21);
    grid->SetAllowEdit(true);
    grid->SetEditing(true);
    ASSERT_TRUE(grid->Edit() && grid->Edit()->Visible());
    grid->Edit()->SetText(QStringLiteral("typed"));

    // The focus goes back to the grid and, before the editor takes it
    // over, on out of the grid: the edit ends there.
    grid->SetFocus();
    EXPECT_TRUE(grid->Edit()->Visible());
    other->SetFocus();
    QApplication::processEvents();
    EXPECT_FALSE(grid->Edit()->Visible());
    EXPECT_FALSE(grid->Editing());
    EXPECT_EQ(applied, QStringList{QStringLiteral("0,0 typed")});
}

TEST_F(GridInput, ClicksReportTheCellAndEmptySpaceDeselects)
{
    QStringList clicks;
    grid->OnCellClick = [&](TObject *, TGridCell cell, TShiftState, int, int) {
        clicks << QStringLiteral("%1,%2").arg(cell.Col).arg(cell.Row);
    };
    click(cellCentre(GridCell(2, 3)), Qt::RightButton);
    EXPECT_EQ(grid->CellFocused(), GridCell(2, 3));
    grid->SetRightClickSelect(false);
    click(cellCentre(GridCell(1, 3)), Qt::RightButton);
    EXPECT_EQ(grid->CellFocused(), GridCell(2, 3));
    click(QPoint(180, 30));
    EXPECT_EQ(grid->CellFocused(), GridCell(2, 3));
    EXPECT_FALSE(grid->CellSelected());
    EXPECT_EQ(clicks, QStringList({"2,3"}));
}

TEST_F(GridInput, DraggingWithMouseMoveFollowsTheMouse)
{
    grid->SetCursorKeys(grid->CursorKeys() | gkMouseMove);
    mouse(QEvent::MouseButtonPress, cellCentre(GridCell(0, 1)), Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, cellCentre(GridCell(1, 3)), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 3));
    mouse(QEvent::MouseButtonRelease, cellCentre(GridCell(1, 3)), Qt::LeftButton, Qt::NoButton);
}

TEST_F(GridInput, WheelMovesTheCursor)
{
    wheel(-120);
    wheel(-120);
    EXPECT_EQ(grid->CellFocused(), GridCell(0, 2));
    wheel(120);
    EXPECT_EQ(grid->CellFocused(), GridCell(0, 1));
    grid->SetCursorKeys(gkArrows);
    wheel(-120);
    EXPECT_EQ(grid->CellFocused(), GridCell(0, 1));
}

TEST_F(GridInput, DraggingAHeaderDividerResizesWithinLimits)
{
    grid->SetShowHeader(true);
    TCustomGridColumn *column = grid->Columns()->Columns(0);
    column->SetMaxWidth(80);
    EXPECT_NE(grid->GetResizeSectionAt(45, 5), nullptr);
    EXPECT_NE(grid->GetResizeSectionAt(54, 5), nullptr);
    EXPECT_EQ(grid->GetResizeSectionAt(40, 5), nullptr);
    EXPECT_EQ(grid->GetResizeSectionAt(45, 20), nullptr);

    mouse(QEvent::MouseButtonPress, {49, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {69, 5}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(column->Width(), 70); // full drag: live
    mouse(QEvent::MouseMove, {149, 5}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(column->Width(), 80);
    mouse(QEvent::MouseButtonRelease, {149, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(column->Width(), 80);
    EXPECT_EQ(grid->Header()->Sections()->Sections(0)->Width(), 80);

    column->SetFixedSize(true);
    EXPECT_EQ(grid->GetResizeSectionAt(79, 5), nullptr);
}

TEST_F(GridInput, RightButtonCancelsALineResize)
{
    grid->SetShowHeader(true);
    grid->SetColumnsFullDrag(false);
    TCustomGridColumn *column = grid->Columns()->Columns(1);
    mouse(QEvent::MouseButtonPress, {99, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {120, 5}, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(column->Width(), 50);
    // The line follows the mouse, inverting the window colour.
    EXPECT_EQ(pixel(120, 61), clBlack);
    mouse(QEvent::MouseButtonPress, {120, 5}, Qt::RightButton, Qt::LeftButton | Qt::RightButton);
    mouse(QEvent::MouseButtonRelease, {120, 5}, Qt::LeftButton, Qt::RightButton);
    EXPECT_EQ(column->Width(), 50);
    EXPECT_EQ(pixel(120, 61), ColorToRGB(clWindow));

    grid->forcedResizeWidth = 33;
    mouse(QEvent::MouseButtonPress, {99, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {130, 5}, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {130, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(column->Width(), 33);
}

TEST_F(GridInput, DoubleClickOnADividerFitsTheColumnToItsTexts)
{
    grid->SetShowHeader(true);
    grid->Columns()->Columns(0)->SetWidth(120);
    mouse(QEvent::MouseButtonPress, {119, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {119, 5}, Qt::LeftButton, Qt::NoButton);
    grid->log.clear();
    mouse(QEvent::MouseButtonDblClick, {119, 5}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {119, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(grid->log, QStringList({"autosize 0"}));
    EXPECT_LT(grid->Columns()->Columns(0)->Width(), 60);
}

TEST_F(GridInput, RaisedHeaderSectionsClickOnRelease)
{
    grid->SetShowHeader(true);
    click({75, 8});
    EXPECT_EQ(grid->log, QStringList({"header click 1"})); // flat: at once
    grid->log.clear();

    grid->Header()->SetFlat(false);
    mouse(QEvent::MouseButtonPress, {75, 8}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(grid->log.isEmpty());
    mouse(QEvent::MouseButtonRelease, {75, 8}, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(grid->log, QStringList({"header click 1"}));

    grid->log.clear();
    mouse(QEvent::MouseButtonPress, {75, 8}, Qt::LeftButton, Qt::LeftButton);
    mouse(QEvent::MouseMove, {125, 8}, Qt::NoButton, Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, {125, 8}, Qt::LeftButton, Qt::NoButton);
    EXPECT_TRUE(grid->log.isEmpty());
}

TEST_F(GridInput, ClickOnACheckGlyphOrSpaceClicksTheCheck)
{
    grid->SetCheckBoxes(true);
    grid->Columns()->Columns(1)->SetCheckKind(gcCheckBox);
    click({58, 48});
    EXPECT_EQ(grid->log.filter(QStringLiteral("check")), QStringList({"check 1,2"}));
    key(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    EXPECT_EQ(grid->log.filter(QStringLiteral("check")), QStringList({"check 1,2", "check 1,2"}));
    click({90, 48});
    EXPECT_EQ(grid->log.filter(QStringLiteral("check")).size(), 2);
}
