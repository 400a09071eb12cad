#include "controls/TGridTipsWindow.h"

#include "controls/TCustomGridView.h"
#include "toolkit/graphics/Canvas.h"

TGridTipsWindow::TGridTipsWindow(TComponent *owner) : THintWindow(owner) {}

void TGridTipsWindow::Paint()
{
    TCanvas *canvas = Canvas();
    if (!m_grid || IsCellEmpty(m_grid->TipsCell())) {
        THintWindow::Paint();
        return;
    }
    const TGridCell cell = m_grid->TipsCell();
    m_grid->GetCellColors(cell, canvas);
    canvas->Brush()->SetColor(Color());
    canvas->Font()->SetColor(clInfoText);
    TRect r = ClientRect();
    canvas->FillRect(r);
    const TPoint indent = m_grid->GetCellTextIndent(cell);
    const unsigned flags = m_grid->GetTextFlags(cell) & ~DT_END_ELLIPSIS;
    canvas->Brush()->SetStyle(bsClear);
    if (flags & DT_SINGLELINE) {
        canvas->TextOut(r.Left + indent.X, r.Top + indent.Y, Caption());
    } else {
        r.Top += indent.Y;
        canvas->DrawText(Caption(), r, flags, indent.X, m_grid->TextRightIndent());
    }
    canvas->Brush()->SetStyle(bsSolid);
}
