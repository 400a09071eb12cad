#include "MainFormFixture.h"

#include <QApplication>
#include <QScreen>
#include <gtest/gtest.h>

namespace {

class MainFormTest : public MainFormFixture
{
};

} // namespace

TEST_F(MainFormTest, SectionsStackTopDownAcrossTheWindow)
{
    EXPECT_EQ(form->Width(), 1000);

    const QList<TControl *> sections = {form->StaticText1, form->Panel2,      form->StaticText7, form->InspectorGrid1,
                                        form->StaticText2, form->InspectorGrid2, form->Panel3,    form->StaticText6,
                                        form->Memo1,       form->StaticText5,    form->Memo3,     form->Panel1};
    const QList<int> heights = {24, 89, 24, 203, 24, 95, 26, 24, 73, 24, 103, 35};
    int top = 0;
    for (int i = 0; i < sections.size(); ++i) {
        EXPECT_EQ(sections[i]->Top(), top) << i;
        EXPECT_EQ(sections[i]->Height(), heights[i]) << i;
        EXPECT_EQ(sections[i]->Width(), form->ClientWidth()) << i;
        top += heights[i];
    }
    // The quantity row leaves room for its label whatever the font measures.
    EXPECT_LE(form->Label4->Left() + form->Label4->Width(), form->Edit4->Left());
    EXPECT_LE(form->Edit4->Left() + form->Edit4->Width(), form->Label5->Left());
    EXPECT_FALSE(form->Memo2->Visible());
}

TEST_F(MainFormTest, TheWindowFitsItsSectionsAndKeepsItsSize)
{
    form->Show();
    QApplication::processEvents();
    QWidget *window = form->Widget();
    ASSERT_NE(window->frameGeometry(), window->geometry()) << "the platform puts no frame round windows";
    // The sections fill the client area the frame leaves, from the top to
    // the bottom: no blank band below the buttons.
    EXPECT_EQ(form->ClientWidth(), window->width() - 16);
    EXPECT_EQ(form->ClientWidth(), 1000 - 16);
    EXPECT_EQ(form->Panel1->Width(), form->ClientWidth());
    EXPECT_EQ(form->Panel1->Top() + form->Panel1->Height(), 744);
    EXPECT_EQ(form->ClientHeight(), 744);
    EXPECT_EQ(window->height(), 744 + 16);
    // Neither the user nor the window manager can change its size.
    EXPECT_EQ(window->minimumSize(), window->size());
    EXPECT_EQ(window->maximumSize(), window->size());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(MainFormTest, StartsWithNothingChosen)
{
    for (int row = 0; row < TSelectionRules::ParamRowCount; ++row)
        EXPECT_EQ(form->Rules().Choice(G1, row), -1) << row;
    for (int row = 0; row < TSelectionRules::AccessoryRowCount; ++row)
        EXPECT_EQ(form->Rules().Choice(G2, row), -1) << row;
    EXPECT_FALSE(form->Button1->Enabled());
    EXPECT_EQ(form->Edit4->Value(), 1);
    EXPECT_TRUE(form->TableIDLabel->Caption().isEmpty());
    EXPECT_EQ(form->InspectorGrid1->Rows()->Count(), 11);
    EXPECT_EQ(form->InspectorGrid2->Rows()->Count(), 5);
    EXPECT_EQ(form->InspectorGrid1->Columns()->Columns(0)->Width(), 480);
    EXPECT_EQ(form->InspectorGrid2->Columns()->Columns(0)->Width(), 480);
    EXPECT_TRUE(form->Memo1->Text().isEmpty());
    EXPECT_TRUE(form->Memo2->Text().isEmpty());
    EXPECT_TRUE(form->Memo3->Text().isEmpty());
}

TEST_F(MainFormTest, CellsShowCaptionsAndChoices)
{
    EXPECT_EQ(CellText(G1, 0, 0), QString::fromUtf8(ParamCaptions[0]));
    EXPECT_EQ(CellText(G1, 0, 10), QString::fromUtf8(ParamCaptions[10]));
    EXPECT_EQ(CellText(G2, 0, 4), QString::fromUtf8(AccessoryCaptions[4]));
    // Unchosen values are empty whatever the grid handed in; other columns
    // keep the text they were handed.
    EXPECT_EQ(CellText(G1, 1, 0, QStringLiteral("stale")), QString());
    EXPECT_EQ(CellText(G2, 1, 0, QStringLiteral("stale")), QString());
    EXPECT_EQ(CellText(G1, 2, 0, QStringLiteral("kept")), QStringLiteral("kept"));

    Choose(G1, 0, 1);
    EXPECT_EQ(CellText(G1, 1, 0), Caption(G1, 0, 1));
    EXPECT_EQ(CellText(G1, 1, 1), QString());
}

TEST_F(MainFormTest, DropDownsComeFromTheRules)
{
    EXPECT_EQ(Offered(G1, 0).size(), int(CurrentOptions.size()));
    // Without a current there is no capacity to offer.
    EXPECT_EQ(Offered(G1, 1), QStringList());
    // Without a characteristic row the grid keeps the list it handed in.
    EXPECT_EQ(Offered(G1, 2), QStringList{QStringLiteral("<kept>")});
    // Nothing of grid 2 is offered before grid 1 is complete.
    EXPECT_EQ(Offered(G2, 0), QStringList());

    Choose(G1, 0, 1);
    Choose(G1, 1, 1);
    EXPECT_EQ(Offered(G1, 2), QStringList({Caption(G1, 2, 0), Caption(G1, 2, 2)}));
    EXPECT_EQ(form->TableIDLabel->Caption(), QStringLiteral("1"));

    bool canModify = true;
    form->InspectorGrid1EditCanModify(nullptr, GridCell(1, 0), canModify);
    EXPECT_FALSE(canModify);
}

TEST_F(MainFormTest, ValueCellsDropDownExceptTheFrequencyOfDirectCurrent)
{
    const auto style = [&](TCustomGridView *grid, int col, int row) {
        TGridEditStyle editStyle = geEllipsis;
        form->InspectorGrid1GetEditStyle(grid, GridCell(col, row), editStyle);
        return editStyle;
    };
    EXPECT_EQ(style(form->InspectorGrid1, 0, 6), geEllipsis);
    EXPECT_EQ(style(form->InspectorGrid1, 1, 6), gePickList);
    EXPECT_EQ(style(form->InspectorGrid2, 1, 4), gePickList);

    Choose(G1, 0, 1);
    Choose(G1, 1, 1);
    ASSERT_EQ(CapacityOptions[1].Mask, 1u);
    EXPECT_EQ(style(form->InspectorGrid1, 1, 6), geSimple);
    EXPECT_EQ(style(form->InspectorGrid1, 1, 5), gePickList);
    Choose(G1, 1, 7);
    ASSERT_EQ(CapacityOptions[7].Mask, 0u);
    EXPECT_EQ(style(form->InspectorGrid1, 1, 6), gePickList);
}

TEST_F(MainFormTest, CompletedQuestionnaireShowsItsResults)
{
    Complete({1, 1, 0, 0, 0, 0});
    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(form->Button1->Enabled());
    EXPECT_EQ(form->Memo1->Text(), form->Rules().Description() + QStringLiteral("\r\n"));
    EXPECT_TRUE(form->Memo1->Text().startsWith(QStringLiteral("Автоматический выключатель ZMT100S, ")));
    EXPECT_EQ(form->Memo2->Lines()->Strings(0), QStringLiteral("T010S02A1A00000A"));
    EXPECT_EQ(form->Memo3->Lines()->Count(), form->Rules().Composition().size());
    EXPECT_EQ(form->Memo3->Lines()->Strings(0), QStringLiteral("Автоматический выключатель ZMT100S2PT4S0000000016CZ"));

    // A new choice in grid 1 drops the accessories and with them the results.
    Choose(G1, 2, 2);
    EXPECT_FALSE(form->Button1->Enabled());
    EXPECT_TRUE(form->Memo1->Text().isEmpty());
    EXPECT_TRUE(form->Memo2->Text().isEmpty());
    EXPECT_EQ(form->Memo3->Lines()->Count(), 0);
}

TEST_F(MainFormTest, SeveralFittingModelsAreAskedFor)
{
    pressInDialog = 1;
    Complete({1, 7});
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(form->Rules().ModelNo(), 4);
    EXPECT_TRUE(form->Memo2->Text().startsWith(QStringLiteral("T016H02B")));

    // Cancelling leaves the model to the manager; saving stays possible.
    pressInDialog = 2;
    Choose(G2, 4, form->Rules().Choice(G2, 4));
    EXPECT_EQ(dialogs, 2);
    EXPECT_EQ(form->Rules().ModelNo(), 0);
    EXPECT_EQ(form->Memo1->Lines()->Strings(0), QStringLiteral("Автоматический выключатель НЕ ОПРЕДЕЛЁН"));
    EXPECT_TRUE(form->Memo2->Text().isEmpty());
    EXPECT_EQ(form->Memo3->Lines()->Count(), 0);
    EXPECT_TRUE(form->Button1->Enabled());
}

TEST_F(MainFormTest, ResetStartsAfresh)
{
    Complete({1, 1});
    form->Edit1->SetText(QStringLiteral("ООО Ромашка"));
    form->Edit2->SetText(QStringLiteral("Москва"));
    form->Edit3->SetText(QStringLiteral("Иванов"));
    form->Edit4->SetValue(12);
    ASSERT_TRUE(form->Button1->Enabled());

    form->Button3->Click();
    for (int row = 0; row < TSelectionRules::ParamRowCount; ++row)
        EXPECT_EQ(CellText(G1, 1, row), QString()) << row;
    for (int row = 0; row < TSelectionRules::AccessoryRowCount; ++row)
        EXPECT_EQ(CellText(G2, 1, row), QString()) << row;
    EXPECT_EQ(form->Rules().TableId(), -1);
    EXPECT_EQ(form->Rules().ModelNo(), 0);
    // Nothing is chosen any more, so there is nothing to save.
    EXPECT_FALSE(form->Button1->Enabled());
    EXPECT_TRUE(form->Memo1->Text().isEmpty());
    EXPECT_TRUE(form->Memo2->Text().isEmpty());
    EXPECT_TRUE(form->Memo3->Text().isEmpty());
    EXPECT_TRUE(form->Edit1->Text().isEmpty());
    EXPECT_TRUE(form->Edit2->Text().isEmpty());
    EXPECT_TRUE(form->Edit3->Text().isEmpty());
    EXPECT_EQ(form->Edit4->Value(), 1);
    EXPECT_TRUE(form->TableIDLabel->Caption().isEmpty());
}

TEST_F(MainFormTest, QuantityStaysWithinItsRange)
{
    EXPECT_EQ(form->Quantity(), 1);
    form->Edit4->SetText(QStringLiteral("250"));
    EXPECT_EQ(form->Quantity(), 250);
    form->Edit4->SetText(QStringLiteral("0"));
    EXPECT_EQ(form->Quantity(), 1);
    form->Edit4->SetText(QStringLiteral("12345678"));
    EXPECT_EQ(form->Quantity(), 999999);
    form->Edit4->SetText(QStringLiteral("много"));
    EXPECT_EQ(form->Quantity(), 1);
}

TEST_F(MainFormTest, DriveThroughTheGrids)
{
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    QApplication::processEvents();

    Complete({1, 1, 0, 0, 0, 0}, true);

    EXPECT_EQ(dialogs, 0);
    EXPECT_TRUE(form->Button1->Enabled());
    EXPECT_FALSE(form->TableIDLabel->Caption().isEmpty());
    EXPECT_EQ(CellText(G1, 1, 0), Caption(G1, 0, 1));
    EXPECT_TRUE(form->Memo1->Text().startsWith(QStringLiteral("Автоматический выключатель ZMT100S, ")));
    EXPECT_EQ(form->Memo2->Lines()->Strings(0), QStringLiteral("T010S02A1A00000A"));
    EXPECT_EQ(form->Memo3->Lines()->Strings(0), QStringLiteral("Автоматический выключатель ZMT100S2PT4S0000000016CZ"));

    // Escape on an open list chooses nothing.
    ASSERT_TRUE(OpenList(G1, 2)->Edit()->DroppedDown());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(form->InspectorGrid1->Edit()->DroppedDown());
    EXPECT_TRUE(form->Button1->Enabled());
    EXPECT_EQ(form->Memo2->Lines()->Strings(0), QStringLiteral("T010S02A1A00000A"));
}

TEST_F(MainFormTest, KeyboardOnlyDriveThroughTheWindow)
{
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    form->Edit1->SetFocus();
    QApplication::processEvents();

    // Tab walks every control in order and comes round again; the disabled
    // save button and the hidden order-code box are passed over.
    const QList<TWinControl *> stops = {form->Edit1,          form->Edit2, form->Edit3, form->InspectorGrid1,
                                        form->InspectorGrid2, form->Edit4, form->Memo1, form->Memo3,
                                        form->Button3,        form->Button2};
    ASSERT_EQ(FocusedStop(), form->Edit1);
    for (int i = 1; i <= stops.size(); ++i) {
        Press(Qt::Key_Tab);
        EXPECT_EQ(FocusedStop(), stops[i % stops.size()]) << "Tab " << i;
    }
    for (int i = int(stops.size()) - 1; i >= 0; --i) {
        Press(Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(FocusedStop(), stops[i]) << "Shift+Tab to " << i;
    }

    form->Edit1->SetFocus();
    Type(QStringLiteral("ООО Ромашка"));
    EXPECT_EQ(form->Edit1->Text(), QStringLiteral("ООО Ромашка"));
    for (int i = 0; i < 3; ++i)
        Press(Qt::Key_Tab);
    ASSERT_EQ(FocusedStop(), form->InspectorGrid1);

    // Grid 1 row by row: Down moves to the next row, whose list offers what
    // the rows above leave.
    const int leading[] = {1, 1, 0, 0, 0, 0};
    for (int row = 0; row < TSelectionRules::ParamRowCount; ++row) {
        if (row > 0)
            Press(Qt::Key_Down);
        const int option = row < 6 ? leading[row] : FirstOffered(G1, row);
        if (option >= 0 && form->Rules().Choice(G1, row) < 0)
            ChooseByKeys(G1, row, option, row % 2 == 1);
    }
    Press(Qt::Key_Tab);
    ASSERT_EQ(FocusedStop(), form->InspectorGrid2);
    for (int row = 0; row < TSelectionRules::AccessoryRowCount; ++row) {
        if (row > 0)
            Press(Qt::Key_Down);
        if (form->Rules().Choice(G2, row) < 0)
            ChooseByKeys(G2, row, FirstOffered(G2, row), row % 2 == 0);
    }
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(form->Memo2->Lines()->Strings(0), QStringLiteral("T010S02A1A00000A"));

    // On to the quantity, past the two result boxes, to the save button.
    Press(Qt::Key_Tab);
    ASSERT_EQ(FocusedStop(), form->Edit4);
    Press(Qt::Key_Tab);
    EXPECT_EQ(FocusedStop(), form->Memo1);
    Press(Qt::Key_Tab);
    EXPECT_EQ(FocusedStop(), form->Memo3);
    Press(Qt::Key_Tab);
    EXPECT_EQ(FocusedStop(), form->Button1);
    EXPECT_TRUE(form->Button1->Enabled());
}

TEST_F(MainFormTest, ReturnPressesTheFocusedButton)
{
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    Complete({1, 1});
    form->Edit1->SetText(QStringLiteral("ООО Ромашка"));
    form->Button1->SetFocus();
    Press(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(runner.fileRequests.size(), 1u);
    form->Button3->SetFocus();
    Press(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_TRUE(form->Edit1->Text().isEmpty());
    EXPECT_EQ(form->Rules().Choice(G1, 0), -1);
}

TEST_F(MainFormTest, TheWholeWindowIsUsableOnEveryScreen)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 3) << "the tests' three screens are not configured";
    const QList<TControl *> flexible = {form->InspectorGrid1, form->InspectorGrid2, form->Memo1, form->Memo3};
    const QList<int> designed = {203, 95, 73, 103};
    form->Show();
    for (QScreen *screen : screens) {
        const QRect area = screen->availableGeometry();
        SCOPED_TRACE(area.width());
        // The window is taken over to the screen.
        form->SetBounds(area.left(), area.top(), form->Width(), form->Height());
        QApplication::processEvents();
        QApplication::setActiveWindow(form->Widget());
        const QRect frame = form->Widget()->frameGeometry();
        const int decoration = frame.height() - form->Widget()->height();
        const bool fits = 744 + 16 + decoration <= area.height();
        EXPECT_TRUE(area.contains(frame)) << frame.height() << " in " << area.height();
        EXPECT_EQ(form->Panel1->Top() + form->Panel1->Height(), form->ClientHeight());
        for (int i = 0; i < flexible.size(); ++i) {
            if (fits)
                EXPECT_EQ(flexible[i]->Height(), designed[i]) << i;
            else
                EXPECT_LT(flexible[i]->Height(), designed[i]) << i;
            EXPECT_GE(flexible[i]->Height(), 36) << i;
        }
        if (fits) {
            EXPECT_EQ(form->ClientHeight(), 744);
            EXPECT_EQ(form->ClientWidth(), 1000 - 16);
        }

        // Every row can still be chosen with the mouse, and the buttons
        // clicked: reset, then save.
        Complete({1, 1, 0, 0, 0, 0}, true);
        form->Edit1->SetText(QStringLiteral("ООО Ромашка"));
        ASSERT_TRUE(ClickOnScreen(form->Button3));
        EXPECT_TRUE(form->Edit1->Text().isEmpty());
        EXPECT_FALSE(form->Button1->Enabled());
        Complete({1, 1, 0, 0, 0, 0}, true);
        const std::size_t asked = runner.fileRequests.size();
        ASSERT_TRUE(ClickOnScreen(form->Button1));
        EXPECT_EQ(runner.fileRequests.size(), asked + 1);

        // And with the keyboard: from the composition box Tab goes on to
        // the save button, and Space presses it.
        QApplication::setActiveWindow(form->Widget());
        form->Memo3->SetFocus();
        QApplication::processEvents();
        Press(Qt::Key_Tab);
        ASSERT_EQ(FocusedStop(), form->Button1);
        Press(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        EXPECT_EQ(runner.fileRequests.size(), asked + 2);
        form->Button3Click(nullptr);
    }
}

TEST_F(MainFormTest, TheGridsGiveUpWholeRows)
{
    // However much height the window gives up, each grid shows whole rows,
    // and a scroll bar only for the rows it cannot show; the result boxes
    // take up the rest.  Down to where each keeps its least (grids three
    // rows, boxes two lines: 284 pixels given up).
    for (int height = 744 - 284 + 16; height <= 800; ++height) {
        SCOPED_TRACE(height);
        form->FitToWorkArea(Rect(0, 0, 1920, height));
        EXPECT_EQ(form->ClientHeight(), std::min(744, height - 16));
        EXPECT_EQ(form->Panel1->Top() + form->Panel1->Height(), form->ClientHeight());
        for (TInspectorGrid *grid : {form->InspectorGrid1, form->InspectorGrid2}) {
            const int inside = grid->ClientHeight();
            const int rows = grid->Rows()->Count();
            EXPECT_TRUE(inside % 18 <= 1 || inside >= rows * 18) << inside;
            EXPECT_EQ(grid->VertScrollBar()->Max() > grid->VertScrollBar()->PageStep(), inside < rows * 18) << inside;
        }
    }
}

TEST_F(MainFormTest, ResetReturnsBothGridsToTheirFirstRow)
{
    form->Show();
    Complete({1, 1, 0, 0, 0, 0}, true);
    form->FitToWorkArea(Rect(0, 0, 1920, 560));
    for (TInspectorGrid *grid : {form->InspectorGrid1, form->InspectorGrid2}) {
        grid->SetCellFocused(GridCell(1, grid->Rows()->Count() - 1));
        ASSERT_GT(grid->VisOrigin().Row, 0);
    }
    ASSERT_TRUE(ClickOnScreen(form->Button3));
    for (TInspectorGrid *grid : {form->InspectorGrid1, form->InspectorGrid2}) {
        EXPECT_EQ(grid->CellFocused(), GridCell(1, 0));
        EXPECT_EQ(grid->VisOrigin().Row, 0);
    }
}
