// Cell tips: the whole text of a clipped cell in a tips window over the
// cell, shown when the window asks for a tool tip.

#include "controls/TCustomGridView.h"
#include "controls/TGridTipsWindow.h"
#include "toolkit/graphics/Canvas.h"

#include <QCursor>
#include <QHelpEvent>
#include <QMouseEvent>

#include <algorithm>

bool TCustomGridView::CellTips(const TGridCell &)
{
    return true;
}

TRect TCustomGridView::GetCellHintRect(const TGridCell &cell)
{
    return GetEditRect(cell);
}

TRect TCustomGridView::GetCellTextBounds(const TGridCell &cell)
{
    const QString text = GetCellText(cell);
    if (text.isEmpty())
        return TRect();
    TCanvas canvas;
    canvas.Font()->Assign(Font());
    GetCellColors(cell, &canvas);
    const TPoint indent = GetCellTextIndent(cell);
    const unsigned flags = GetTextFlags(cell) & ~DT_END_ELLIPSIS;
    const TRect cellRect = GetCellHintRect(cell);
    if (flags & DT_SINGLELINE)
        return TRect(0, 0, indent.X + canvas.TextWidth(text) + m_textRightIndent, canvas.TextHeight(text));
    TRect r(0, 0, cellRect.Width(), 0);
    canvas.DrawText(text, r, flags | DT_CALCRECT, indent.X, m_textRightIndent);
    r.Right = std::max(r.Right, cellRect.Width());
    r.Bottom += indent.Y;
    return r;
}

TRect TCustomGridView::GetTipsRect(const TGridCell &cell)
{
    TRect r = GetCellHintRect(cell);
    const TRect text = GetCellTextBounds(cell);
    r.Right = std::max(r.Right, r.Left + text.Width());
    if (text.Height() > m_rows->Height())
        r.Bottom = r.Top + text.Height() + 2 * m_textTopIndent;
    return r.Inflate(1, 1);
}

QString TCustomGridView::GetTipsText(const TGridCell &cell)
{
    return GetCellText(cell);
}

const QMetaObject *TCustomGridView::GetTipsWindowClass() const
{
    return &TGridTipsWindow::staticMetaObject;
}

bool TCustomGridView::ShowCellTipsAt(const TPoint &point)
{
    CancelCellTips();
    if (!m_showCellTips || !GetGridRect().Contains(point.X, point.Y))
        return false;
    const TGridCell cell = GetCellAt(point.X, point.Y);
    if (IsCellEmpty(cell) || (m_editing && cell == m_editCell) || !CellTips(cell))
        return false;

    TRect visible = GetCellHintRect(cell);
    const TRect textBounds = GetCellTextBounds(cell);
    TRect text = textBounds.Offset(visible.Left, visible.Top);
    const TAlignment alignment = m_columns->Columns(cell.Col)->Alignment();
    if (alignment == taRightJustify)
        text = textBounds.Offset(visible.Right - textBounds.Width(), visible.Top);
    else if (alignment == taCenter)
        text = textBounds.Offset((visible.Left + visible.Right - textBounds.Width()) / 2, visible.Top);
    const TRect client = ClientRect();
    visible.Left = std::max(visible.Left, client.Left);
    visible.Right = std::min(visible.Right, client.Right);
    visible.Top = std::max(visible.Top, GetHeaderRect().Bottom);
    visible.Bottom = std::min(visible.Bottom, client.Bottom);
    if (cell.Col >= m_fixed->Count())
        visible.Left = std::max(visible.Left, GetFixedRect().Right);
    if (text.Left >= visible.Left && text.Right <= visible.Right && text.Height() <= visible.Height())
        return false;

    m_tipsCell = cell;
    if (!m_tipsWindow) {
        QObject *window = GetTipsWindowClass()->newInstance(Q_ARG(TComponent *, this));
        m_tipsWindow = qobject_cast<TGridTipsWindow *>(window);
        if (!m_tipsWindow) {
            // A class without an invokable (owner) constructor.
            delete window;
            m_tipsWindow = new TGridTipsWindow(this);
        }
        Constructed(m_tipsWindow);
        m_tipsWindow->SetGrid(this);
    }
    const TRect tips = GetTipsRect(cell);
    const TPoint topLeft = ClientToScreen(TPoint(tips.Left, tips.Top));
    m_tipsWindow->ActivateHint(tips.Offset(topLeft.X - tips.Left, topLeft.Y - tips.Top), GetTipsText(cell));
    m_tipsVisibleRect = visible;
    return true;
}

void TCustomGridView::CancelCellTips()
{
    m_tipsCell = GridCell(-1, -1);
    if (m_tipsWindow)
        m_tipsWindow->Hide();
}

bool TCustomGridView::HandleInputEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::ToolTip: {
        const QPoint pos = static_cast<QHelpEvent *>(event)->pos();
        if (ShowCellTipsAt(TPoint(pos.x(), pos.y())))
            return true;
        break;
    }
    case QEvent::MouseMove: {
        const QPoint pos = static_cast<QMouseEvent *>(event)->position().toPoint();
        if (!IsCellEmpty(m_tipsCell) && !m_tipsVisibleRect.Contains(pos.x(), pos.y()))
            CancelCellTips();
        break;
    }
    case QEvent::Leave:
        if (!IsCellEmpty(m_tipsCell)) {
            // The tips window appearing over the cell is no leaving.
            const TPoint cursor = ScreenToClient(TPoint(QCursor::pos().x(), QCursor::pos().y()));
            if (m_tipsVisibleRect.Contains(cursor.X, cursor.Y))
                break;
            CancelCellTips();
        }
        break;
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
        if (!IsCellEmpty(m_tipsCell))
            CancelCellTips();
        break;
    default:
        break;
    }
    return TCustomControl::HandleInputEvent(event);
}
