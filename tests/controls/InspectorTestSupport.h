#pragma once

// An inspector grid on a shown form for the editor and inspector tests: its
// events are logged, keys go to the focused window and clicks to any
// control's window.

#include "controls/TCustomInspector.h"
#include "controls/TGridListBox.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/classes/TStringList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>

#include <gtest/gtest.h>

#include <memory>

class TTestInspector : public TInspectorGrid
{
public:
    using TCustomInspector::GetEditListBounds;
    using TCustomInspector::InputWidget;
    using TCustomInspector::IsSplitZone;
    using TCustomInspector::PaintTo;

    explicit TTestInspector(TComponent *owner) : TInspectorGrid(owner) {}
};

// A 400 x 300 form with a 200 x 100 inspector (client area) of five rows
// "name r" / "value r"; the value cells are pick lists of "Alpha", "Beta",
// "Gamma".
class InspectorFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.reset(NewObject<TForm>(nullptr));
        form->SetBounds(0, 0, 400, 300);
        grid = NewObject<TTestInspector>(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(10, 10, 204, 104);
        grid->Rows()->SetCount(5);
        for (int row = 0; row < 5; ++row)
            values << QStringLiteral("value %1").arg(row);
        grid->OnGetCellText = [this](TObject *, TGridCell cell, QString &value) {
            value = cell.Col == 0 ? QStringLiteral("name %1").arg(cell.Row) : values.value(cell.Row);
            log << QStringLiteral("GetCellText %1,%2").arg(cell.Col).arg(cell.Row);
        };
        grid->OnGetEditText = [this](TObject *, TGridCell cell, QString &) {
            log << QStringLiteral("GetEditText %1,%2").arg(cell.Col).arg(cell.Row);
        };
        grid->OnSetEditText = [this](TObject *, TGridCell cell, QString &value) {
            values[cell.Row] = value;
            log << QStringLiteral("SetEditText %1,%2 %3").arg(cell.Col).arg(cell.Row).arg(value);
        };
        grid->OnGetCellReadOnly = [this](TObject *, TGridCell cell, bool &) {
            log << QStringLiteral("GetCellReadOnly %1,%2").arg(cell.Col).arg(cell.Row);
        };
        grid->OnEditCanShow = [this](TObject *, TGridCell cell, bool &) {
            log << QStringLiteral("EditCanShow %1,%2").arg(cell.Col).arg(cell.Row);
        };
        grid->OnGetEditStyle = [this](TObject *, TGridCell cell, TGridEditStyle &style) {
            style = cell.Col == 1 ? editStyle : style;
            log << QStringLiteral("GetEditStyle %1,%2").arg(cell.Col).arg(cell.Row);
        };
        grid->OnGetCellColors = [this](TObject *, TGridCell cell, TCanvas *) {
            log << QStringLiteral("GetCellColors %1,%2").arg(cell.Col).arg(cell.Row);
        };
        grid->OnChanging = [this](TObject *, TGridCell &cell, bool &) {
            log << QStringLiteral("Changing %1,%2").arg(cell.Col).arg(cell.Row);
        };
        grid->OnChange = [this](TObject *, TGridCell cell, bool) {
            log << QStringLiteral("Change %1,%2").arg(cell.Col).arg(cell.Row);
        };
        grid->OnGetEditList = [this](TObject *, TGridCell cell, TStrings *items) {
            log << QStringLiteral("GetEditList %1,%2 %3").arg(cell.Col).arg(cell.Row).arg(items->Count());
            for (const QString &item : std::as_const(listItems))
                items->Add(item);
        };
        grid->OnEditCloseUp = [this](TObject *, TGridCell cell, int itemIndex, bool &accept) {
            log << QStringLiteral("EditCloseUp %1,%2 %3 %4").arg(cell.Col).arg(cell.Row).arg(itemIndex).arg(accept);
            if (refuseCloseUp)
                accept = false;
        };
        grid->OnEditChange = [this](TObject *, TGridCell cell) {
            log << QStringLiteral("EditChange %1,%2 %3").arg(cell.Col).arg(cell.Row).arg(grid->Edit()->Text());
        };
        grid->OnEditCanceled = [this](TObject *, TGridCell cell) {
            log << QStringLiteral("EditCanceled %1,%2").arg(cell.Col).arg(cell.Row);
        };
    }

    // The form goes before the log its events write to.
    void TearDown() override { form.reset(); }

    void show()
    {
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        QApplication::processEvents();
        grid->SetFocus();
        QApplication::processEvents();
        log.clear();
    }

    TCustomGridEdit *edit() const { return grid->Edit(); }
    TGridListBox *list() const { return edit() ? edit()->ActiveList() : nullptr; }

    void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString())
    {
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers, text);
        QApplication::sendEvent(target, &release);
    }

    void type(QChar ch) { key(0, Qt::NoModifier, QString(ch)); }

    static void mouse(QWidget *target, QEvent::Type type, QPoint pos, quint64 time = 0)
    {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        event.setTimestamp(time);
        QApplication::sendEvent(target, &event);
    }

    static void click(QWidget *target, QPoint pos, quint64 time = 0)
    {
        mouse(target, QEvent::MouseButtonPress, pos, time);
        mouse(target, QEvent::MouseButtonRelease, pos, time);
    }

    // A click on the editor's button.
    void clickButton()
    {
        const TRect r = edit()->ButtonRect();
        click(edit()->Widget(), QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
    }

    QPoint centreOf(const TRect &r) const { return QPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2); }

    std::unique_ptr<TForm> form;
    TTestInspector *grid = nullptr;
    QStringList log;
    QStringList values;
    QStringList listItems{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Gamma")};
    TGridEditStyle editStyle = gePickList;
    bool refuseCloseUp = false;
};
