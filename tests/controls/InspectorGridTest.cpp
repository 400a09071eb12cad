// The inspector grid: its settings, column split, hit tests, fonts,
// category rows and the events of a pick-list value cell as the main form
// sees them.

#include "InspectorTestSupport.h"

#include "controls/TGridTipsWindow.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/classes/ClassRegistry.h"

#include <QCursor>
#include <QHelpEvent>
#include <QImage>

namespace {

class Inspector : public InspectorFixture
{
};

} // namespace

TEST_F(Inspector, StartsAsATwoColumnInspector)
{
    EXPECT_EQ(grid->Columns()->Count(), 2);
    EXPECT_EQ(grid->Columns()->Columns(0)->Caption(), QStringLiteral("Property"));
    EXPECT_TRUE(grid->Columns()->Columns(0)->ReadOnly());
    EXPECT_FALSE(grid->Columns()->Columns(0)->TabStop());
    EXPECT_EQ(grid->Columns()->Columns(1)->Caption(), QStringLiteral("Value"));
    EXPECT_TRUE(grid->AllowEdit());
    EXPECT_TRUE(grid->AlwaysEdit());
    EXPECT_FALSE(grid->ShowHeader());
    EXPECT_FALSE(grid->GridLines());
    EXPECT_EQ(grid->Rows()->Height(), 16);
    EXPECT_EQ(grid->Color(), clBtnFace);
    EXPECT_TRUE(grid->CursorKeys() & gkMouseMove);
    EXPECT_EQ(grid->NameFont()->Color(), clBtnText);
    EXPECT_EQ(grid->ValueFont()->Color(), clNavy);
    EXPECT_EQ(grid->CategoryFont()->Color(), clPurple);
    EXPECT_TRUE(grid->CategoryFont()->Style() & fsBold);
}

TEST_F(Inspector, MovingToAPickListRowFiresTheEventsInOrder)
{
    show();
    ASSERT_EQ(grid->EditCell(), GridCell(1, 0));
    ASSERT_TRUE(edit()->Focused());
    key(Qt::Key_Down);
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 1));
    const QStringList expected{
        QStringLiteral("Changing 1,1"),      QStringLiteral("GetCellReadOnly 1,0"),
        QStringLiteral("SetEditText 1,0 value 0"), QStringLiteral("EditCanShow 1,1"),
        QStringLiteral("GetCellReadOnly 1,1"), QStringLiteral("GetCellText 1,1"),
        QStringLiteral("GetEditText 1,1"),    QStringLiteral("GetEditStyle 1,1"),
        QStringLiteral("GetCellColors 1,1"),  QStringLiteral("Change 1,1"),
    };
    EXPECT_EQ(log.join('\n'), expected.join('\n'));
    EXPECT_EQ(edit()->Text(), QStringLiteral("value 1"));
    EXPECT_EQ(edit()->EditStyle(), gePickList);
    EXPECT_TRUE(edit()->Focused());
}

TEST_F(Inspector, ChoosingFromTheListFiresCloseUpThenChange)
{
    show();
    values[0] = QStringLiteral("Beta");
    grid->SetAlwaysEdit(false);
    grid->SetAlwaysEdit(true);
    log.clear();
    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(edit()->DroppedDown());
    EXPECT_EQ(log.join('\n'), QStringLiteral("GetEditList 1,0 0"));
    EXPECT_EQ(list()->ItemIndex(), 1);
    key(Qt::Key_Down);
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_FALSE(edit()->DroppedDown());
    const QStringList expected{QStringLiteral("GetEditList 1,0 0"), QStringLiteral("EditCloseUp 1,0 2 1"),
                               QStringLiteral("EditChange 1,0 Gamma")};
    EXPECT_EQ(log.join('\n'), expected.join('\n'));
    EXPECT_EQ(edit()->SelText(), QStringLiteral("Gamma"));
}

TEST_F(Inspector, TheColumnPickListComesBeforeTheOwnersItems)
{
    show();
    TStringList pick;
    pick.Add(QStringLiteral("Zeta"));
    grid->Columns()->Columns(1)->SetEditStyle(gePickList);
    grid->Columns()->Columns(1)->SetPickList(&pick);
    edit()->DropDown();
    ASSERT_EQ(list()->Items()->Count(), 4);
    EXPECT_EQ(list()->Items()->Strings(0), QStringLiteral("Zeta"));
    EXPECT_EQ(list()->Items()->Strings(3), QStringLiteral("Gamma"));
    EXPECT_TRUE(log.contains(QStringLiteral("GetEditList 1,0 1")));
}

TEST_F(Inspector, ColumnSplitKeepsThirtyFivePixels)
{
    show();
    TCustomGridColumn *names = grid->Columns()->Columns(0);
    TCustomGridColumn *values = grid->Columns()->Columns(1);
    names->SetWidth(120);
    EXPECT_EQ(values->Width(), 80);
    names->SetWidth(190);
    EXPECT_EQ(names->Width(), 165);
    EXPECT_EQ(values->Width(), 35);
    names->SetWidth(10);
    EXPECT_EQ(names->Width(), 35);
    EXPECT_EQ(values->Width(), 165);
}

TEST_F(Inspector, ANarrowGridStillGivesEachColumnThirtyFivePixels)
{
    show();
    grid->SetBounds(10, 10, 54, 104); // 50 pixels of client area
    EXPECT_EQ(grid->Columns()->Columns(0)->Width(), 35);
    EXPECT_EQ(grid->Columns()->Columns(1)->Width(), 35);
}

TEST_F(Inspector, LoadedSplitsTheWidthInHalves)
{
    grid->SetBounds(10, 10, 205, 104); // 201 pixels of client area
    grid->Loaded();
    EXPECT_EQ(grid->Columns()->Columns(0)->Width(), 100);
    EXPECT_EQ(grid->Columns()->Columns(1)->Width(), 101);
}

TEST_F(Inspector, DraggingTheSplitLineIsClamped)
{
    show();
    grid->Columns()->Columns(0)->SetWidth(100);
    QWidget *client = grid->InputWidget();
    EXPECT_TRUE(grid->IsSplitZone(96));
    EXPECT_TRUE(grid->IsSplitZone(100));
    EXPECT_FALSE(grid->IsSplitZone(95));
    EXPECT_FALSE(grid->IsSplitZone(101));
    mouse(client, QEvent::MouseButtonPress, QPoint(98, 40));
    mouse(client, QEvent::MouseMove, QPoint(190, 40));
    EXPECT_EQ(grid->Columns()->Columns(0)->Width(), 165);
    mouse(client, QEvent::MouseMove, QPoint(5, 40));
    mouse(client, QEvent::MouseButtonRelease, QPoint(5, 40));
    EXPECT_EQ(grid->Columns()->Columns(0)->Width(), 35);
    EXPECT_EQ(grid->Columns()->Columns(1)->Width(), 165);
}

TEST_F(Inspector, HitTestsClampToTheColumnsAndScrollByOneRow)
{
    grid->Rows()->SetCount(20);
    show();
    grid->Columns()->Columns(0)->SetWidth(100);
    EXPECT_EQ(grid->GetColumnAt(-5, 10), 0);
    EXPECT_EQ(grid->GetColumnAt(250, 10), 1);
    EXPECT_EQ(grid->GetColumnAt(120, 10), 1);
    EXPECT_EQ(grid->GetRowAt(10, -3), 0);
    EXPECT_EQ(grid->GetRowAt(10, 20), 1);
    const int lastVisible = grid->VisOrigin().Row + grid->VisSize().Row - 1;
    EXPECT_EQ(grid->GetRowAt(10, 10000), lastVisible + 1);
    grid->SetCursor(GridCell(1, 19), true, true);
    EXPECT_EQ(grid->GetRowAt(10, -3), grid->VisOrigin().Row - 1);
    EXPECT_EQ(grid->GetRowAt(10, 10000), 19);
}

TEST_F(Inspector, TheNameColumnNeverTakesTheCursor)
{
    show();
    click(grid->InputWidget(), QPoint(20, 40));
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 2));
    key(Qt::Key_Home);
    EXPECT_EQ(grid->CellFocused().Col, 1);
}

TEST_F(Inspector, FontsFollowTheColumnAndCategoryRows)
{
    grid->OnGetCellColors = nullptr;
    grid->OnGetCategoryRow = [](TObject *, int row, bool &category) { category = row == 3; };
    grid->NameFont()->SetName(QStringLiteral("Liberation Serif"));
    TCanvas canvas;
    grid->GetCellColors(GridCell(0, 0), &canvas);
    EXPECT_EQ(canvas.Font()->Name(), QStringLiteral("Liberation Serif"));
    EXPECT_EQ(canvas.Brush()->Color(), clBtnFace);
    grid->GetCellColors(GridCell(1, 0), &canvas);
    EXPECT_EQ(canvas.Font()->Color(), clNavy);
    grid->GetCellColors(GridCell(1, 3), &canvas);
    EXPECT_EQ(canvas.Font()->Color(), clPurple);
    EXPECT_TRUE(canvas.Font()->Style() & fsBold);
}

TEST_F(Inspector, CategoryRowsShowColumnZeroAndNoEditor)
{
    grid->OnGetCategoryRow = [](TObject *, int row, bool &category) { category = row == 1; };
    show();
    EXPECT_EQ(grid->GetCellText(GridCell(1, 1)), QStringLiteral("name 1"));
    EXPECT_EQ(grid->GetCellText(GridCell(1, 2)), QStringLiteral("value 2"));
    grid->SetCursor(GridCell(1, 1), true, true);
    EXPECT_FALSE(grid->Editing());
    EXPECT_FALSE(edit()->Visible());
    grid->SetCursor(GridCell(1, 2), true, true);
    EXPECT_TRUE(grid->Editing());
    EXPECT_TRUE(edit()->Visible());
}

TEST_F(Inspector, TextIndentsAndInspectorRectangles)
{
    show();
    EXPECT_EQ(grid->GetCellTextIndent(GridCell(0, 0)), Point(2, 1));
    EXPECT_EQ(grid->GetCellTextIndent(GridCell(1, 0)), Point(1, 1));
    const TRect cell = grid->GetCellRect(GridCell(1, 2));
    EXPECT_EQ(grid->GetEditRect(GridCell(1, 2)).Bottom, cell.Bottom - 1);
    EXPECT_EQ(grid->GetFocusRect().Top, grid->GetRowRect(0).Top - 2);
    TRect list(50, 60, 150, 120);
    grid->GetEditListBounds(GridCell(1, 2), list);
    EXPECT_EQ(list.Left, 48);
    grid->SetGridMode(gmStandard);
    list = TRect(50, 60, 150, 120);
    grid->GetEditListBounds(GridCell(1, 2), list);
    EXPECT_EQ(list.Left, 50);
    EXPECT_EQ(grid->GetEditRect(GridCell(1, 2)).Bottom, cell.Bottom - 1); // the grid line
}

TEST_F(Inspector, GridModeSetsGridLines)
{
    grid->SetGridMode(gmStandard);
    EXPECT_TRUE(grid->GridLines());
    grid->SetGridMode(gmNoGridLines);
    EXPECT_FALSE(grid->GridLines());
    grid->SetGridMode(gmInspector);
    EXPECT_FALSE(grid->GridLines());
}

TEST_F(Inspector, TheEditorHasASquareButtonInWindowColours)
{
    show();
    EXPECT_EQ(edit()->ButtonWidth(), edit()->Height());
    EXPECT_EQ(edit()->Color(), clWindow);
    EXPECT_EQ(edit()->Font()->Color(), clBtnText);
    EXPECT_STREQ(edit()->metaObject()->className(), "TInspectorEdit");
}

// --- Look ----------------------------------------------------------------------

namespace {

class InspectorLook : public InspectorFixture
{
protected:
    void SetUp() override
    {
        InspectorFixture::SetUp();
        show();
        grid->Columns()->Columns(0)->SetWidth(100);
        grid->SetCursor(GridCell(1, 2), true, true);
        QApplication::processEvents();
    }

    QImage paint()
    {
        QImage image(grid->ClientWidth(), grid->ClientHeight(), QImage::Format_RGB32);
        TCanvas canvas;
        canvas.SetDevice(&image);
        grid->PaintTo(&canvas);
        canvas.ReleaseHandle();
        return image;
    }

    static TColor at(const QImage &image, int x, int y) { return QColorToColor(image.pixelColor(x, y)); }

    // Whether the row's bottom line alternates between two colours.
    static bool dotted(const QImage &image, int y)
    {
        return at(image, 20, y) != at(image, 21, y) && at(image, 20, y) == at(image, 22, y);
    }
};

} // namespace

TEST_F(InspectorLook, DottedSeparatorsAndASunkenCursorRow)
{
    const QImage image = paint();
    const int rowHeight = grid->Rows()->Height();
    EXPECT_TRUE(dotted(image, rowHeight - 1));
    EXPECT_FALSE(dotted(image, 3 * rowHeight - 1)); // the cursor row
    EXPECT_EQ(at(image, 20, 3 * rowHeight - 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(at(image, 20, 2 * rowHeight - 2), ColorToRGB(clBtnShadow));
    EXPECT_EQ(at(image, 98, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(at(image, 99, 5), ColorToRGB(clBtnHighlight));
}

TEST_F(InspectorLook, OtherModesDrawNoSeparators)
{
    grid->SetGridMode(gmNoGridLines);
    QImage image = paint();
    EXPECT_FALSE(dotted(image, grid->Rows()->Height() - 1));
    EXPECT_EQ(at(image, 98, 5), ColorToRGB(clBtnFace));
    grid->SetGridMode(gmStandard);
    image = paint();
    EXPECT_FALSE(dotted(image, grid->Rows()->Height() - 1));
}

// --- Cell tips -----------------------------------------------------------------

TEST_F(Inspector, ATipShowsOnlyForClippedText)
{
    grid->OnGetCellText = [](TObject *, TGridCell cell, QString &value) {
        value = cell.Row == 2 ? QStringLiteral("a rather long property name") : QStringLiteral("name");
    };
    grid->SetShowCellTips(true);
    show();
    grid->Columns()->Columns(0)->SetWidth(60);
    auto hover = [this](int row) {
        const TRect r = grid->GetCellRect(GridCell(0, row));
        const QPoint pos = centreOf(r);
        QHelpEvent event(QEvent::ToolTip, pos, grid->InputWidget()->mapToGlobal(pos));
        QApplication::sendEvent(grid->InputWidget(), &event);
    };
    hover(1);
    EXPECT_TRUE(IsCellEmpty(grid->TipsCell()));
    hover(2);
    EXPECT_EQ(grid->TipsCell(), GridCell(0, 2));
    ASSERT_NE(grid->TipsWindow(), nullptr);
    EXPECT_TRUE(grid->TipsWindow()->Visible());
    EXPECT_EQ(grid->TipsWindow()->Caption(), QStringLiteral("a rather long property name"));
    EXPECT_GT(grid->TipsWindow()->Width(), 60);
    const TRect cell = grid->GetCellRect(GridCell(0, 2));
    EXPECT_EQ(grid->TipsWindow()->Left(), grid->ClientToScreen(TPoint(cell.Left, 0)).X - 1);

    // Moving off the cell hides the tip.
    mouse(grid->InputWidget(), QEvent::MouseMove, QPoint(10, 3));
    EXPECT_FALSE(grid->TipsWindow()->Visible());
    // The edited cell shows no tip.
    EXPECT_FALSE(grid->ShowCellTipsAt(TPoint(120, 3)));
}

TEST_F(Inspector, ATipStaysWhileTheMouseRestsOnItsCell)
{
    grid->OnGetCellText = [](TObject *, TGridCell, QString &value) { value = QStringLiteral("a rather long name"); };
    grid->SetShowCellTips(true);
    show();
    grid->Columns()->Columns(0)->SetWidth(60);
    const QPoint pos = centreOf(grid->GetCellRect(GridCell(0, 2)));
    QCursor::setPos(grid->InputWidget()->mapToGlobal(pos));
    QHelpEvent hover(QEvent::ToolTip, pos, grid->InputWidget()->mapToGlobal(pos));
    QApplication::sendEvent(grid->InputWidget(), &hover);
    ASSERT_TRUE(grid->TipsWindow() && grid->TipsWindow()->Visible());

    // The tips window laid over the cell takes the mouse from the grid's
    // window: the grid hears it leave, but the mouse is still on the cell.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid->InputWidget(), &leave);
    EXPECT_TRUE(grid->TipsWindow()->Visible());
    EXPECT_EQ(grid->TipsCell(), GridCell(0, 2));

    QCursor::setPos(grid->InputWidget()->mapToGlobal(QPoint(-20, -20)));
    QApplication::sendEvent(grid->InputWidget(), &leave);
    EXPECT_FALSE(grid->TipsWindow()->Visible());
}

TEST_F(Inspector, TheOwnerMayRefreshTheEditorWhileTheListCloses)
{
    show();
    grid->OnEditCloseUp = [this](TObject *, TGridCell cell, int itemIndex, bool &) {
        if (itemIndex < 0)
            return;
        values[cell.Row] = listItems[itemIndex];
        grid->SetAlwaysEdit(false);
        grid->SetAlwaysEdit(true);
        grid->InvalidateCell(cell);
    };
    key(Qt::Key_Down, Qt::AltModifier);
    key(Qt::Key_Down);
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(values[0], QStringLiteral("Alpha"));
    EXPECT_TRUE(edit()->Visible());
    EXPECT_FALSE(edit()->DroppedDown());
    EXPECT_EQ(edit()->Text(), QStringLiteral("Alpha"));
    EXPECT_TRUE(edit()->Focused());
}

TEST_F(Inspector, IsCreatedByClassName)
{
    std::unique_ptr<TObject> created(CreateObject(FindClass(QStringLiteral("TInspectorGrid")), form.get()));
    auto *inspector = qobject_cast<TInspectorGrid *>(created.get());
    ASSERT_NE(inspector, nullptr);
    EXPECT_EQ(inspector->Columns()->Count(), 2);
    EXPECT_EQ(inspector->GridMode(), gmInspector);
}
