// The cell editor and its drop-down list: closing rules, list geometry,
// incremental search and the routing of keys between editor, list and grid.

#include "InspectorTestSupport.h"

#include "controls/TCustomGridEdit.h"

#include <QListWidget>
#include <QStyle>

namespace {

class GridEdit : public InspectorFixture
{
protected:
    void SetUp() override
    {
        InspectorFixture::SetUp();
        show();
        ASSERT_TRUE(edit() && edit()->Focused());
        values[0] = QStringLiteral("Beta");
        grid->SetAlwaysEdit(false);
        grid->SetAlwaysEdit(true);
        log.clear();
    }

    void dropDown()
    {
        key(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(edit()->DroppedDown());
        log.clear();
    }

    QString lastCloseUp() const
    {
        for (qsizetype i = log.size() - 1; i >= 0; --i)
            if (log[i].startsWith(QStringLiteral("EditCloseUp")))
                return log[i];
        return QString();
    }

    QPoint itemCentre(int index) const
    {
        const int height = list()->ItemHeight();
        return QPoint(10, index * height + height / 2 + 1);
    }
};

TGridListGeometry geometry(int widest, int count)
{
    TGridListGeometry g;
    g.WidestItem = widest;
    g.ItemCount = count;
    g.ItemHeight = 15;
    g.CellWidth = 80;
    g.EditRect = TRect(300, 200, 400, 216);
    g.ScreenRect = TRect(0, 0, 1024, 768);
    return g;
}

} // namespace

// --- Closing the list ----------------------------------------------------------

TEST_F(GridEdit, EnterAcceptsTheSelectedItem)
{
    dropDown();
    key(Qt::Key_Down);
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 2 1"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Gamma"));
}

TEST_F(GridEdit, EscapeReportsNoChoiceAndKeepsTheText)
{
    dropDown();
    key(Qt::Key_Down);
    key(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_FALSE(edit()->DroppedDown());
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 -1 0"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Beta"));
}

TEST_F(GridEdit, AltArrowAcceptsTheHighlightedItem)
{
    dropDown();
    key(Qt::Key_Up);
    key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_FALSE(edit()->DroppedDown());
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 0 1"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Alpha"));

    dropDown();
    key(Qt::Key_Down);
    key(Qt::Key_Down, Qt::AltModifier);
    EXPECT_FALSE(edit()->DroppedDown());
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 1 1"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Beta"));
}

TEST_F(GridEdit, AClickOnAnItemAccepts)
{
    dropDown();
    click(list()->Widget()->findChild<QWidget *>(QStringLiteral("qt_scrollarea_viewport")), itemCentre(2));
    EXPECT_FALSE(edit()->DroppedDown());
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 2 1"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Gamma"));
}

TEST_F(GridEdit, ClicksOutsideTheListReportNoChoice)
{
    dropDown();
    click(form->Widget(), QPoint(350, 250));
    EXPECT_FALSE(edit()->DroppedDown());
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 -1 0"));

    dropDown();
    clickButton();
    EXPECT_FALSE(edit()->DroppedDown());
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 -1 0"));

    dropDown();
    click(edit()->Widget(), QPoint(3, 3));
    EXPECT_FALSE(edit()->DroppedDown());
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 -1 0"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Beta"));
}

TEST_F(GridEdit, LosingTheFocusReportsNoChoice)
{
    dropDown();
    TEdit *other = NewObject<TEdit>(form.get());
    other->SetParent(form.get());
    other->SetBounds(250, 10, 100, 20);
    other->SetFocus();
    EXPECT_FALSE(edit()->DroppedDown());
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 -1 0"));
    // Leaving the grid applies the text.
    EXPECT_TRUE(log.contains(QStringLiteral("SetEditText 1,0 Beta")));
    EXPECT_TRUE(edit()->Visible());
}

TEST_F(GridEdit, ARefusedCloseUpKeepsTheOldText)
{
    refuseCloseUp = true;
    dropDown();
    click(list()->Widget()->findChild<QWidget *>(QStringLiteral("qt_scrollarea_viewport")), itemCentre(0));
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 0 1"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Beta"));
    EXPECT_FALSE(log.join(' ').contains(QStringLiteral("EditChange")));
}

TEST_F(GridEdit, AnEmptyListIsOneItemHighAndChoosesNothing)
{
    listItems.clear();
    grid->Columns()->Columns(0)->SetWidth(150);
    dropDown();
    EXPECT_EQ(list()->Items()->Count(), 0);
    // 100 pixels, moved 2 pixels left in the inspector's look.
    EXPECT_EQ(list()->Width(), 102);
    EXPECT_GE(list()->Height(), list()->ItemHeight());
    EXPECT_LT(list()->Height(), 2 * list()->ItemHeight());
    key(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(lastCloseUp(), QStringLiteral("EditCloseUp 1,0 -1 1"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Beta"));
}

TEST_F(GridEdit, TheButtonOpensTheListUnderTheEditorsRightEdge)
{
    clickButton();
    ASSERT_TRUE(edit()->DroppedDown());
    EXPECT_EQ(list()->ItemIndex(), 1);
    const TPoint editTopLeft = edit()->ClientToScreen(TPoint(0, 0));
    EXPECT_EQ(list()->Left() + list()->Width(), editTopLeft.X + edit()->Width());
    EXPECT_EQ(list()->Top(), editTopLeft.Y + edit()->Height());
    EXPECT_TRUE(edit()->Focused());
}

// --- Keys ----------------------------------------------------------------------

TEST_F(GridEdit, EscapeClosesTheListOnlyAndASecondOneReachesTheGrid)
{
    int gridEscapes = 0;
    grid->OnKeyDown = [&](TObject *, int &key, TShiftState) { gridEscapes += key == VK_ESCAPE; };
    dropDown();
    key(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_FALSE(edit()->DroppedDown());
    EXPECT_EQ(gridEscapes, 0);
    key(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_EQ(gridEscapes, 1);
    EXPECT_TRUE(grid->Editing());
}

TEST_F(GridEdit, EscapeWithoutAlwaysEditCancelsTheEdit)
{
    grid->SetAlwaysEdit(false);
    grid->SetEditing(true);
    ASSERT_TRUE(edit()->Focused());
    log.clear();
    key(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_FALSE(grid->Editing());
    EXPECT_EQ(log.join('\n'), QStringLiteral("EditCanceled 1,0"));
    EXPECT_TRUE(grid->Focused());
}

TEST_F(GridEdit, EscapeUnderAlwaysEditUndoesTheTyping)
{
    editStyle = geSimple;
    grid->SetAlwaysEdit(false);
    grid->SetAlwaysEdit(true);
    type(QLatin1Char('x'));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Betax"));
    key(Qt::Key_Escape, Qt::NoModifier, QStringLiteral("\x1b"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Beta"));
}

TEST_F(GridEdit, TypingIsDroppedWhenTheCellMayNotChange)
{
    grid->OnEditCanModify = [](TObject *, TGridCell, bool &canModify) { canModify = false; };
    type(QLatin1Char('x'));
    key(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Beta"));
}

TEST_F(GridEdit, ARefusedKeyIsDropped)
{
    editStyle = geSimple;
    grid->OnEditAcceptKey = [](TObject *, TGridCell, QChar key, bool &accept) { accept = key.isDigit(); };
    grid->SetAlwaysEdit(false);
    grid->SetAlwaysEdit(true);
    type(QLatin1Char('x'));
    type(QLatin1Char('7'));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Beta7"));
}

TEST_F(GridEdit, UpAndDownMoveTheGridCursor)
{
    key(Qt::Key_Down);
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 1));
    EXPECT_EQ(grid->EditCell(), GridCell(1, 1));
    key(Qt::Key_Up);
    EXPECT_EQ(grid->CellFocused(), GridCell(1, 0));
}

TEST_F(GridEdit, CtrlEnterSelectsTheNextValue)
{
    grid->OnEditSelectNext = [](TObject *, TGridCell, QString &value) { value = QStringLiteral("Next ") + value; };
    key(Qt::Key_Return, Qt::ControlModifier, QStringLiteral("\r"));
    EXPECT_EQ(edit()->Text(), QStringLiteral("Next Beta"));
    EXPECT_EQ(edit()->SelText(), QStringLiteral("Next Beta"));
}

TEST_F(GridEdit, AClickSoonAfterTheGridsClickIsADoubleClick)
{
    int doubleClicks = 0;
    grid->OnDblClick = [&](TObject *) { ++doubleClicks; };
    grid->OnEditSelectNext = [](TObject *, TGridCell, QString &value) { value = QStringLiteral("Gamma"); };
    const quint64 start = 1000000;
    click(grid->InputWidget(), QPoint(120, 40), start);
    ASSERT_EQ(grid->EditCell(), GridCell(1, 2));
    click(edit()->Widget(), QPoint(10, 5), start + 100);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(edit()->Text(), QStringLiteral("Gamma"));

    click(grid->InputWidget(), QPoint(120, 56), start + 5000);
    click(edit()->Widget(), QPoint(10, 5), start + 5000 + QApplication::doubleClickInterval() + 1);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(GridEdit, TheEllipsisButtonFiresButtonPress)
{
    editStyle = geEllipsis;
    grid->SetAlwaysEdit(false);
    grid->SetAlwaysEdit(true);
    int presses = 0;
    grid->OnEditButtonPress = [&](TObject *, TGridCell) { ++presses; };
    clickButton();
    EXPECT_EQ(presses, 1);
    EXPECT_FALSE(edit()->DroppedDown());
    key(Qt::Key_Return, Qt::ControlModifier, QStringLiteral("\r"));
    EXPECT_EQ(presses, 2);
}

// --- Incremental search --------------------------------------------------------

TEST_F(GridEdit, TypingInTheListSearchesAndRestartsAfterTwoSeconds)
{
    listItems = QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Bravo"),
                            QStringLiteral("Rho")};
    dropDown();
    qint64 now = 50000;
    list()->SetClock([&] { return now; });
    type(QLatin1Char('b'));
    EXPECT_EQ(list()->ItemIndex(), 1);
    now += 500;
    type(QLatin1Char('r'));
    EXPECT_EQ(list()->ItemIndex(), 2);
    EXPECT_EQ(list()->SearchText(), QStringLiteral("br"));
    now += 2001;
    type(QLatin1Char('r'));
    EXPECT_EQ(list()->SearchText(), QStringLiteral("r"));
    EXPECT_EQ(list()->ItemIndex(), 3);
    key(Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
    EXPECT_TRUE(list()->SearchText().isEmpty());
    EXPECT_EQ(edit()->Text(), QStringLiteral("Beta"));
}

TEST_F(GridEdit, TheSearchTextStopsAtThirtyTwoCharacters)
{
    dropDown();
    list()->SetClock([] { return qint64(0); });
    for (int i = 0; i < 40; ++i)
        type(QLatin1Char('a'));
    EXPECT_EQ(list()->SearchText().size(), TGridListBox::kMaxSearchLength);
}

// --- Geometry ------------------------------------------------------------------

TEST(GridListBounds, WidthHeightAndPlace)
{
    TGridListGeometry g = geometry(120, 3);
    EXPECT_EQ(CalcGridListBounds(g), TRect(274, 216, 400, 261));
    g = geometry(20, 3);
    EXPECT_EQ(CalcGridListBounds(g).Width(), 80);
    g = geometry(0, 0);
    EXPECT_EQ(CalcGridListBounds(g), TRect(300, 216, 400, 231));
    g = geometry(50, 20);
    EXPECT_EQ(CalcGridListBounds(g).Height(), 8 * 15);
    g.DropDownCount = 0;
    EXPECT_EQ(CalcGridListBounds(g).Height(), 15);
    g = geometry(50, 2);
    g.BorderHeight = 2;
    EXPECT_EQ(CalcGridListBounds(g).Height(), 32);
    // A list whose frame, margins and scroll bar take more than 6 pixels
    // grows by them.
    g = geometry(120, 3);
    g.NonTextWidth = 27;
    EXPECT_EQ(CalcGridListBounds(g).Width(), 147);
}

TEST_F(GridEdit, TheWidestItemShowsWhole)
{
    const QString longest = QStringLiteral("Фиксированные уставки защиты. Температура компенсации 40/45 °С");
    listItems = {QStringLiteral("Alpha"), longest};
    for (int i = 0; i < 10; ++i)
        listItems << QStringLiteral("Item %1").arg(i);
    dropDown();
    auto *view = static_cast<QListWidget *>(list()->Widget());
    const int textMargin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    EXPECT_GT(list()->Width(), grid->GetCellRect(GridCell(1, 0)).Width());
    EXPECT_GE(view->viewport()->width() - 2 * textMargin, view->fontMetrics().horizontalAdvance(longest));
    EXPECT_GE(list()->Width(), view->fontMetrics().horizontalAdvance(longest) + 6);
}

TEST(GridListBounds, OpensAboveNearTheBottomOfTheScreen)
{
    TGridListGeometry g = geometry(50, 5);
    g.EditRect = TRect(300, 700, 400, 716);
    EXPECT_EQ(CalcGridListBounds(g), TRect(320, 625, 400, 700));
    g.EditRect = TRect(300, 690, 400, 693);
    EXPECT_EQ(CalcGridListBounds(g).Top, 693);
}
