#pragma once

// A grid on a form for the grid view tests, with its events logged and its
// protected parts reachable.

#include "controls/TCustomGridView.h"
#include "toolkit/widgets/TForm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>

class TTestGrid : public TGridView
{
public:
    using TCustomGridView::GetResizeSectionAt;
    using TCustomGridView::GridLinePolylines;
    using TCustomGridView::InputWidget;
    using TCustomGridView::PaintTo;

    explicit TTestGrid(TComponent *owner) : TGridView(owner) {}

    QStringList log;
    // Columns that refuse the cursor through the accept-cursor hook.
    int refusedColumn = -1;
    // Widths the resize hook forces.
    int forcedResizeWidth = -1;
    // The column whose header shows a descending sort arrow.
    int sortedColumn = -1;

protected:
    TGridSortDirection GetSortDirection(const TGridHeaderSection *section) const override
    {
        return section->ColumnIndex() == sortedColumn ? gsDescending : gsNone;
    }
    void AcceptCursor(const TGridCell &cell, bool &accept) const override
    {
        if (cell.Col == refusedColumn)
            accept = false;
    }
    void ColumnResizing(int, int &width) override
    {
        if (forcedResizeWidth >= 0)
            width = forcedResizeWidth;
    }
    void ColumnAutoSize(int column, int &width) override
    {
        log << QStringLiteral("autosize %1").arg(column);
        EXPECT_GT(width, TextLeftIndent() + TextRightIndent());
    }
    void CheckClick(const TGridCell &cell) override
    {
        log << QStringLiteral("check %1,%2").arg(cell.Col).arg(cell.Row);
    }
    void HeaderClick(TGridHeaderSection *section) override
    {
        log << QStringLiteral("header click %1").arg(section->ColumnIndex());
    }
};

// A form of 400 x 300 holding a 200 x 150 grid with `columns` columns of
// 50 pixels and `rows` rows of 20, cell texts "c,r", no header.
class GridFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.reset(NewObject<TForm>(nullptr));
        form->SetBounds(0, 0, 400, 300);
        grid = NewObject<TTestGrid>(form.get());
        grid->SetParent(form.get());
        grid->SetBounds(10, 10, 204, 154); // 200 x 150 inside the 2-pixel edge
        grid->SetShowHeader(false);
        grid->Rows()->SetHeight(20);
        grid->OnGetCellText = [](TObject *, TGridCell cell, QString &value) {
            value = QStringLiteral("%1,%2").arg(cell.Col).arg(cell.Row);
        };
        grid->OnChanging = [this](TObject *, TGridCell &cell, bool &) {
            grid->log << QStringLiteral("changing %1,%2").arg(cell.Col).arg(cell.Row);
        };
        grid->OnChange = [this](TObject *, TGridCell cell, bool selected) {
            grid->log << QStringLiteral("change %1,%2 %3").arg(cell.Col).arg(cell.Row).arg(selected);
        };
    }

    void setUpGrid(int columns, int rows, int width = 50)
    {
        for (int i = 0; i < columns; ++i)
            grid->Columns()->Add()->SetWidth(width);
        grid->Rows()->SetCount(rows);
    }

    void showFocused()
    {
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        QApplication::processEvents();
        grid->SetFocus();
        QApplication::processEvents();
    }

    QWidget *client() const { return grid->InputWidget(); }

    TColor pixel(int x, int y) const
    {
        const QImage image = client()->grab().toImage();
        return QColorToColor(image.pixelColor(x, y));
    }

    void key(int qtKey, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString &text = QString())
    {
        QKeyEvent press(QEvent::KeyPress, qtKey, modifiers, text);
        QApplication::sendEvent(client(), &press);
        QKeyEvent release(QEvent::KeyRelease, qtKey, modifiers, text);
        QApplication::sendEvent(client(), &release);
    }

    void mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
    {
        QMouseEvent event(type, QPointF(pos), client()->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(client(), &event);
    }

    void click(QPoint pos, Qt::MouseButton button = Qt::LeftButton)
    {
        mouse(QEvent::MouseButtonPress, pos, button, button);
        mouse(QEvent::MouseButtonRelease, pos, button, Qt::NoButton);
    }

    void wheel(int delta)
    {
        const QPoint pos(20, 20);
        QWheelEvent event(QPointF(pos), client()->mapToGlobal(QPointF(pos)), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(client(), &event);
    }

    std::unique_ptr<TForm> form;
    TTestGrid *grid = nullptr;
};
