#pragma once

// The main window under test, with the helpers that drive it as the user
// does: choosing in the grids through their handlers or with the mouse and
// keyboard, and a scripted modal runner that answers its dialogs.

#include "app/ConstUnit.h"
#include "app/MainFrm.h"
#include "report/model/qvxServices.h"
#include "report/RecordingServices.h"

#include "AppTestSupport.h"
#include "common/TestSupport.h"
#include "controls/TCustomGridEdit.h"
#include "controls/TCustomInspector.h"
#include "controls/TGridColumns.h"
#include "controls/TGridListBox.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/widgets/TBitBtn.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TLabel.h"
#include "toolkit/widgets/TMemo.h"
#include "toolkit/widgets/TPanel.h"
#include "toolkit/widgets/TSpinEdit.h"
#include "toolkit/widgets/TStaticText.h"
#include "toolkit/classes/TStringList.h"

#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

inline constexpr int G1 = TSelectionRules::CharacteristicGrid;
inline constexpr int G2 = TSelectionRules::AccessoryGrid;

inline QString Caption(int grid, int row, int option)
{
    const auto &list = grid == G1 ? ParamLists[row] : AccessoryLists[row];
    return QString::fromUtf8(list[option].Caption);
}

class MainFormFixture : public ::testing::Test
{
protected:
    // With recording, the report runs on the recording engine and store
    // whatever is installed; else on the program's own, or on the recording
    // ones when the program's are not both installed.
    explicit MainFormFixture(bool recording = false)
        : services(recording || !programServices ? std::make_optional<TRecordingServicesScope>() : std::nullopt)
    {
        runner.onForm = [this](TCustomForm &dialog) {
            ++dialogs;
            FormButtons(dialog)[pressInDialog]->Click();
        };
    }

    // What the drop-down of a value cell offers, through the form's handler;
    // "<kept>" stands for a list the handler left as it was handed.
    QStringList Offered(int grid, int row)
    {
        TStringList items;
        items.Add(QStringLiteral("<kept>"));
        if (grid == G1)
            form->InspectorGrid1GetEditList(nullptr, GridCell(1, row), &items);
        else
            form->InspectorGrid2GetEditList(nullptr, GridCell(1, row), &items);
        QStringList offered;
        for (int i = 0; i < items.Count(); ++i)
            offered.append(items.Strings(i));
        return offered;
    }

    // Opens the row's drop-down and closes it on the option with that index
    // of the row's full list.
    void Choose(int grid, int row, int option)
    {
        const int index = Offered(grid, row).indexOf(Caption(grid, row, option));
        ASSERT_GE(index, 0) << "option " << option << " not offered in grid " << grid << " row " << row;
        bool accept = true;
        if (grid == G1)
            form->InspectorGrid1EditCloseUp(nullptr, GridCell(1, row), index, accept);
        else
            form->InspectorGrid2EditCloseUp(nullptr, GridCell(1, row), index, accept);
        ASSERT_EQ(form->Rules().Choice(grid, row), option);
    }

    // Makes the window's choices those of rules: the rows that differ, and
    // the last accessory row again, which rebuilds the results.
    void ChooseAsIn(const TSelectionRules &rules)
    {
        const TSelectionRules &shown = form->Rules();
        for (int grid : {G1, G2}) {
            const int rows = grid == G1 ? TSelectionRules::ParamRowCount : TSelectionRules::AccessoryRowCount;
            for (int row = 0; row < rows; ++row) {
                const int choice = rules.Choice(grid, row);
                const bool last = grid == G2 && row + 1 == rows;
                if (rules.HasPickList(grid, row) && (shown.Choice(grid, row) != choice || last))
                    Choose(grid, row, choice);
            }
        }
    }

    // Chooses the leading options of grid 1, then the first offered option
    // of every row still open in both grids: through the handlers (Choose),
    // or asUser in the grids themselves (ChooseInGrid).
    void Complete(std::initializer_list<int> leading, bool asUser = false)
    {
        const auto choose = [&](int grid, int row, int option) {
            if (asUser)
                ChooseInGrid(grid, row, option);
            else
                Choose(grid, row, option);
        };
        int row = 0;
        for (int option : leading)
            choose(G1, row++, option);
        for (int grid : {G1, G2}) {
            const int rows = grid == G1 ? TSelectionRules::ParamRowCount : TSelectionRules::AccessoryRowCount;
            for (; row < rows; ++row)
                if (form->Rules().Choice(grid, row) < 0)
                    choose(grid, row, FirstOffered(grid, row));
            row = 0;
        }
    }

    // Focuses the value cell of the row and opens its drop-down with Alt+Down.
    TInspectorGrid *OpenList(int grid, int row)
    {
        TInspectorGrid *inspector = grid == G1 ? form->InspectorGrid1 : form->InspectorGrid2;
        inspector->SetCellFocused(GridCell(1, row));
        QApplication::processEvents();
        // The offscreen platform activates every window it shows, the
        // closed drop-down list included; give the activation back.
        QApplication::setActiveWindow(form->Widget());
        inspector->SetFocus();
        QApplication::processEvents();
        EXPECT_NE(inspector->Edit(), nullptr);
        if (inspector->Edit()) {
            Key(Qt::Key_Down, Qt::AltModifier);
            EXPECT_TRUE(inspector->Edit()->DroppedDown()) << "grid " << grid << " row " << row;
        }
        return inspector;
    }

    // The same choice as Choose, made as the user makes it: open the list,
    // select the item, press Enter.
    void ChooseInGrid(int grid, int row, int option)
    {
        TInspectorGrid *inspector = OpenList(grid, row);
        ASSERT_TRUE(inspector->Edit() && inspector->Edit()->DroppedDown());
        TGridListBox *list = inspector->Edit()->ActiveList();
        const int index = list->Items()->IndexOf(Caption(grid, row, option));
        ASSERT_GE(index, 0) << "option " << option << " not offered in grid " << grid << " row " << row;
        list->SetItemIndex(index);
        Key(Qt::Key_Return);
        ASSERT_FALSE(inspector->Edit()->DroppedDown());
        ASSERT_EQ(form->Rules().Choice(grid, row), option);
    }

    static void Key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString())
    {
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers, text);
        QApplication::sendEvent(target, &release);
    }

    bool ListOpen() const
    {
        for (TInspectorGrid *grid : {form->InspectorGrid1, form->InspectorGrid2})
            if (grid->Edit() && grid->Edit()->DroppedDown())
                return true;
        return false;
    }

    // A key as the user presses it, and the events it sets off.  The
    // offscreen platform activates every window it shows, the drop-down list
    // included, where a real one leaves the activation alone: while a list
    // is open the events wait, and then the form gets the activation back.
    void Press(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString())
    {
        Key(qtKey, modifiers, text);
        if (ListOpen())
            return;
        QApplication::processEvents();
        QApplication::setActiveWindow(form->Widget());
    }

    void Type(const QString &text)
    {
        for (QChar ch : text)
            Press(0, Qt::NoModifier, QString(ch));
    }

    // The tab stop that holds the focus: an in-place editor counts as its
    // grid.
    TWinControl *FocusedStop() const
    {
        TControl *control = nullptr;
        for (QWidget *w = QApplication::focusWidget(); w && !control; w = w->parentWidget())
            control = TControl::FromWidget(w);
        if (auto *edit = qobject_cast<TCustomGridEdit *>(control))
            return edit->Grid();
        return qobject_cast<TWinControl *>(control);
    }

    // The shortest start of the option's caption that the list's search
    // takes to it.
    QString SearchPrefix(int grid, int row, int option)
    {
        const QStringList offered = Offered(grid, row);
        const QString caption = Caption(grid, row, option);
        for (int length = 1; length <= caption.size(); ++length) {
            const QString prefix = caption.left(length);
            for (const QString &item : offered)
                if (item.startsWith(prefix, Qt::CaseInsensitive)) {
                    if (item == caption)
                        return prefix;
                    break;
                }
        }
        return caption;
    }

    // Makes the choice in the focused row of the grid with the keyboard
    // only: Alt+Down opens the list, arrows or typed letters find the
    // option, Enter takes it.
    void ChooseByKeys(int grid, int row, int option, bool typing)
    {
        TInspectorGrid *inspector = grid == G1 ? form->InspectorGrid1 : form->InspectorGrid2;
        ASSERT_EQ(inspector->CellFocused(), GridCell(1, row));
        ASSERT_EQ(FocusedStop(), inspector);
        Press(Qt::Key_Down, Qt::AltModifier);
        ASSERT_TRUE(inspector->Edit()->DroppedDown()) << "grid " << grid << " row " << row;
        if (typing) {
            Type(SearchPrefix(grid, row, option));
        } else {
            const int index = Offered(grid, row).indexOf(Caption(grid, row, option));
            ASSERT_GE(index, 0);
            Press(Qt::Key_Home);
            for (int i = 0; i < index; ++i)
                Press(Qt::Key_Down);
        }
        Press(Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        ASSERT_FALSE(inspector->Edit()->DroppedDown());
        ASSERT_EQ(form->Rules().Choice(grid, row), option) << "grid " << grid << " row " << row;
    }

    int FirstOffered(int grid, int row)
    {
        const QString first = Offered(grid, row).value(0);
        const auto &list = grid == G1 ? ParamLists[row] : AccessoryLists[row];
        for (std::size_t i = 0; i < list.size(); ++i)
            if (QString::fromUtf8(list[i].Caption) == first)
                return int(i);
        return -1;
    }

    QString CellText(int grid, int col, int row, const QString &handed = QString())
    {
        QString value = handed;
        if (grid == G1)
            form->InspectorGrid1GetCellText(nullptr, GridCell(col, row), value);
        else
            form->InspectorGrid2GetCellText(nullptr, GridCell(col, row), value);
        return value;
    }

    // Whether the program's engine and prepared-pages store were installed
    // before the test began.
    const bool programServices = qvxServices().NewEngine && qvxServices().NewPreviewPages;
    std::optional<TRecordingServicesScope> services;
    ScriptedModalRunner runner;
    int dialogs = 0;
    int pressInDialog = 0;
    std::unique_ptr<TMainForm> form{NewObject<TMainForm>(nullptr)};
};

