// Painting of the grid view: header, free field, fixed band, cells, focus
// rectangle, grid lines and the column resize line, in that order.

#include "controls/ExtGraphics.h"
#include "controls/TCustomGridView.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/ImageList.h"

#include <functional>

namespace {

// A vertical and a horizontal line of a two-colour pair (shadow and
// highlight), the second one pixel further right or down.
void paintLinePair(TCanvas *canvas, const QList<QList<TPoint>> &lines, TColor first, TColor second, int dx, int dy)
{
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(first);
    canvas->PolyPolyline(lines);
    if (second == clNone)
        return;
    QList<QList<TPoint>> shifted;
    for (const QList<TPoint> &line : lines) {
        QList<TPoint> moved;
        for (const TPoint &p : line)
            moved.append(Point(p.X + dx, p.Y + dy));
        shifted.append(moved);
    }
    canvas->Pen()->SetColor(second);
    canvas->PolyPolyline(shifted);
}

// The 13 x 13 glyph of a check box or radio button inside rect.
void paintCheckGlyph(TCanvas *canvas, const TRect &rect, TGridCheckKind kind, TCheckBoxState state, bool enabled)
{
    const TRect box = Bounds(rect.Left + (rect.Width() - 13) / 2, rect.Top + (rect.Height() - 13) / 2, 13, 13);
    const TColor mark = enabled && state != cbGrayed ? clWindowText : clGrayText;
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetColor(clBtnShadow);
    canvas->Brush()->SetColor(enabled ? clWindow : clBtnFace);
    if (kind == gcRadioButton) {
        canvas->Ellipse(box);
        if (state != cbUnchecked) {
            canvas->Brush()->SetColor(mark);
            canvas->Pen()->SetColor(mark);
            canvas->Ellipse(box.Inflate(-4, -4));
        }
        return;
    }
    canvas->Rectangle(box);
    if (state == cbUnchecked)
        return;
    // A tick of three pixel columns: down from (3, 5) to (5, 7), then up to
    // (9, 3), each column three pixels high.
    canvas->Brush()->SetColor(mark);
    const int ticks[7][2] = {{3, 5}, {4, 6}, {5, 7}, {6, 6}, {7, 5}, {8, 4}, {9, 3}};
    for (const auto &tick : ticks)
        canvas->FillRect(Bounds(box.Left + tick[0], box.Top + tick[1], 1, 3));
}

} // namespace

void TCustomGridView::Paint()
{
    PaintTo(Canvas());
}

void TCustomGridView::PaintTo(TCanvas *canvas)
{
    m_paintCanvas = canvas;
    canvas->SaveClip();
    canvas->IntersectClipRect(ClientRect());

    const TRect header = GetHeaderRect();
    if (m_showHeader && !header.IsEmpty()) {
        TRect fixedHeader = header;
        fixedHeader.Right = fixedHeader.Left + GetFixedWidth();
        PaintHeaders(true);
        canvas->ExcludeClipRect(fixedHeader);
        PaintHeaders(false);
        canvas->ExcludeClipRect(header);
    }
    PaintFreeField();
    const TRect fixed = GetFixedRect();
    if (m_fixed->Count() > 0 && !fixed.IsEmpty()) {
        PaintFixed();
        if (m_gridLines)
            PaintFixedGridLines();
        canvas->ExcludeClipRect(fixed);
    }
    if (m_visSize.Col > 0 && m_visSize.Row > 0) {
        if (m_editing)
            canvas->ExcludeClipRect(GetEditRect(m_editCell));
        PaintCells();
        if (IsFocusAllowed())
            PaintFocus();
    }
    if (m_gridLines)
        PaintGridLines();
    if (m_resizing && !(m_columnsFullDrag && resizeColumn()))
        PaintResizeLine();

    canvas->RestoreClip();
    m_paintCanvas = nullptr;
}

void TCustomGridView::PaintHeaders(bool drawFixed)
{
    TCanvas *canvas = m_paintCanvas;
    if (!drawFixed) {
        canvas->Brush()->SetColor(m_header->Color());
        canvas->FillRect(GetHeaderRect());
    }
    std::function<void(TGridHeaderSections *)> paint = [&](TGridHeaderSections *sections) {
        for (int i = 0; i < sections->Count(); ++i) {
            TGridHeaderSection *section = sections->Sections(i);
            const bool fixed = section->FirstLeaf()->ColumnIndex() < m_fixed->Count();
            if (fixed == drawFixed && section->Visible() && section->Width() > 0)
                PaintHeader(section, section->BoundsRect());
            if (section->HasSections())
                paint(section->Sections());
        }
    };
    paint(m_header->Sections());
}

void TCustomGridView::PaintHeader(TGridHeaderSection *section, const TRect &rect)
{
    TCanvas *canvas = m_paintCanvas;
    const bool pressed = m_headerClicking && m_headerPressed && section == m_clickSection;
    GetHeaderColors(section, canvas);
    const TColor face = canvas->Brush()->Color();
    canvas->FillRect(rect);

    TRect r = rect;
    if (m_header->Flat()) {
        const QList<QList<TPoint>> lines = {{Point(r.Right - 1, r.Top), Point(r.Right - 1, r.Bottom)},
                                            {Point(r.Left, r.Bottom - 1), Point(r.Right, r.Bottom - 1)}};
        if (m_header->GridColor()) {
            paintLinePair(canvas, lines, GetGridLineColor(face), clNone, 0, 0);
            r = Rect(r.Left, r.Top, r.Right - 1, r.Bottom - 1);
        } else {
            const QList<QList<TPoint>> inner = {{Point(r.Right - 2, r.Top), Point(r.Right - 2, r.Bottom - 1)},
                                                {Point(r.Left, r.Bottom - 2), Point(r.Right - 1, r.Bottom - 2)}};
            paintLinePair(canvas, inner, clBtnShadow, clBtnHighlight, 1, 1);
            r = Rect(r.Left, r.Top, r.Right - 2, r.Bottom - 2);
        }
    } else if (pressed) {
        PaintFrame(canvas, r, true, BF_RECT);
        r = r.Inflate(-1, -1).Offset(1, 1);
    } else {
        Paint3DFrame(canvas, r, false, BF_RECT);
        r = r.Inflate(-2, -2);
    }

    if (IsHeaderHasImage(section)) {
        TImageList *images = m_header->Images();
        images->Draw(canvas, r.Left + m_imageLeftIndent, r.Top + m_imageTopIndent, GetHeaderImage(section));
        r.Left += m_imageLeftIndent + images->Width();
    }
    if (const TGridSortDirection direction = GetSortDirection(section); direction != gsNone) {
        const QImage arrow = GetSortImage(section, direction);
        const int x = r.Right - m_textRightIndent - arrow.width();
        const int y = (r.Top + r.Bottom - arrow.height()) / 2;
        canvas->StretchImage(Bounds(x, y, arrow.width(), arrow.height()), arrow, clSilver);
        r.Right = x - 2;
    }
    if (section->Caption().isEmpty())
        return;
    unsigned flags = DT_NOPREFIX | DT_END_ELLIPSIS;
    if (section->Alignment() == taRightJustify)
        flags |= DT_RIGHT;
    else if (section->Alignment() == taCenter)
        flags |= DT_CENTER;
    flags |= section->WordWrap() ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
    canvas->Brush()->SetStyle(bsClear);
    canvas->DrawText(section->Caption(), r, flags, m_textLeftIndent - 2, m_textRightIndent - 2);
    canvas->Brush()->SetStyle(bsSolid);
}

void TCustomGridView::PaintFreeField()
{
    TCanvas *canvas = m_paintCanvas;
    const TRect grid = GetGridRect();
    const int fixedRight = GetFixedRect().Right;
    int left = 0;
    int columnsRight = grid.Left;
    if (m_columns->Count() > 0)
        GetColumnLeftRight(m_columns->Count() - 1, left, columnsRight);
    canvas->Brush()->SetColor(Color());
    if (columnsRight < grid.Right)
        canvas->FillRect(Rect(std::max(columnsRight, fixedRight), grid.Top, grid.Right, grid.Bottom));

    int rowsBottom = grid.Top;
    if (m_visSize.Row > 0) {
        int top = 0;
        GetRowTopBottom(m_visOrigin.Row + m_visSize.Row - 1, top, rowsBottom);
    }
    if (rowsBottom >= grid.Bottom)
        return;
    canvas->FillRect(Rect(fixedRight, rowsBottom, std::min(columnsRight, grid.Right), grid.Bottom));
    canvas->Brush()->SetColor(m_fixed->Color());
    canvas->FillRect(Rect(grid.Left, rowsBottom, fixedRight, grid.Bottom));
}

void TCustomGridView::PaintFixed()
{
    TCanvas *canvas = m_paintCanvas;
    for (int row = m_visOrigin.Row; row < m_visOrigin.Row + m_visSize.Row; ++row) {
        for (int col = 0; col < m_fixed->Count(); ++col) {
            const TGridCell cell = GridCell(col, row);
            const TRect r = GetCellRect(cell);
            if (r.IsEmpty())
                continue;
            PaintCell(cell, r);
            if (!m_fixed->Flat())
                Paint3DFrame(canvas, r, false, BF_RECT);
        }
    }
    const bool divider = m_fixed->ShowDivider() || (m_gridStyle & gsFullVertLine);
    if (!m_fixed->Flat() || !divider)
        return;
    const TRect fixed = GetFixedRect();
    const QList<QList<TPoint>> line = {{Point(fixed.Right - 2, fixed.Top), Point(fixed.Right - 2, fixed.Bottom)}};
    if (m_fixed->GridColor())
        paintLinePair(canvas, {{Point(fixed.Right - 1, fixed.Top), Point(fixed.Right - 1, fixed.Bottom)}},
                      GetGridLineColor(m_fixed->Color()), clNone, 0, 0);
    else
        paintLinePair(canvas, line, clBtnShadow, clBtnHighlight, 1, 0);
}

void TCustomGridView::PaintFixedGridLines()
{
    if (!m_fixed->Flat() || m_visSize.Row == 0)
        return;
    TCanvas *canvas = m_paintCanvas;
    const TRect fixed = GetFixedRect();
    const bool gridColor = m_fixed->GridColor();
    const int inset = gridColor ? 1 : 2;
    int top = 0;
    int rowsBottom = 0;
    GetRowTopBottom(m_visOrigin.Row + m_visSize.Row - 1, top, rowsBottom);
    QList<QList<TPoint>> vertical;
    QList<QList<TPoint>> horizontal;
    if (m_gridStyle & gsVertLine) {
        for (int col = 0; col < m_fixed->Count(); ++col) {
            int left = 0;
            int right = 0;
            GetColumnLeftRight(col, left, right);
            if (right > left)
                vertical.append({Point(right - inset, fixed.Top), Point(right - inset, rowsBottom)});
        }
    }
    if (m_gridStyle & gsHorzLine) {
        for (int row = m_visOrigin.Row; row < m_visOrigin.Row + m_visSize.Row; ++row) {
            int bottom = 0;
            GetRowTopBottom(row, top, bottom);
            horizontal.append({Point(fixed.Left, bottom - inset), Point(fixed.Right, bottom - inset)});
        }
    }
    if (gridColor) {
        paintLinePair(canvas, vertical + horizontal, GetGridLineColor(m_fixed->Color()), clNone, 0, 0);
        return;
    }
    paintLinePair(canvas, vertical, clBtnShadow, clBtnHighlight, 1, 0);
    paintLinePair(canvas, horizontal, clBtnShadow, clBtnHighlight, 0, 1);
}

void TCustomGridView::PaintCells()
{
    const TRect clip = m_paintCanvas->ClipRect();
    for (int row = m_visOrigin.Row; row < m_visOrigin.Row + m_visSize.Row; ++row) {
        for (int col = m_visOrigin.Col; col < m_visOrigin.Col + m_visSize.Col; ++col) {
            if (m_columns->Columns(col)->Width() <= 0)
                continue;
            const TGridCell cell = GridCell(col, row);
            const TRect r = GetCellRect(cell);
            if (r.Left < clip.Right && r.Right > clip.Left && r.Top < clip.Bottom && r.Bottom > clip.Top)
                PaintCell(cell, r);
        }
    }
}

void TCustomGridView::PaintCell(const TGridCell &cell, const TRect &rect)
{
    GetCellColors(cell, m_paintCanvas);
    DrawCell(cell, rect);
}

void TCustomGridView::DrawCell(const TGridCell &cell, const TRect &rect)
{
    TCanvas *canvas = m_paintCanvas;
    canvas->FillRect(rect);
    if (IsCellHasCheck(cell))
        PaintCheck(cell, rect);
    if (IsCellHasImage(cell)) {
        const TRect image = GetCellImageRect(cell);
        const bool selected = m_cellSelected && cell == m_cellFocused && gridFocused();
        canvas->SaveClip();
        canvas->IntersectClipRect(rect);
        m_images->Draw(canvas, image.Left, image.Top, GetCellImage(cell), Enabled(), selected);
        canvas->RestoreClip();
    }
    PaintText(cell, rect);
}

void TCustomGridView::PaintCheck(const TGridCell &cell, const TRect &)
{
    TCanvas *canvas = m_paintCanvas;
    const TRect r = GetCheckRect(cell);
    if (GetCheckKind(cell) == gcUserDefine) {
        if (const TBitmap *glyph = GetCheckImage(cell))
            canvas->StretchImage(Bounds(r.Left, r.Top, glyph->Width(), glyph->Height()), glyph->Image(),
                                 glyph->TransparentColor());
        return;
    }
    const TBrushData brush = canvas->Brush()->Data();
    paintCheckGlyph(canvas, r, GetCheckKind(cell), GetCheckState(cell), Enabled());
    canvas->Brush()->SetData(brush);
}

void TCustomGridView::PaintText(const TGridCell &cell, const TRect &rect)
{
    const QString text = GetCellText(cell);
    if (text.isEmpty())
        return;
    TCanvas *canvas = m_paintCanvas;
    TRect r = rect;
    if (IsCellHasCheck(cell))
        r.Left += m_checkWidth + GetCheckIndent(cell).X;
    if (IsCellHasImage(cell))
        r.Left += m_images->Width() + GetCellImageIndent(cell).X;
    const TPoint indent = GetCellTextIndent(cell);
    const unsigned flags = GetTextFlags(cell);
    canvas->Brush()->SetStyle(bsClear);
    if ((flags & DT_SINGLELINE) && !(flags & DT_END_ELLIPSIS)) {
        const int width = canvas->TextWidth(text);
        int x = r.Left + indent.X;
        if (flags & DT_RIGHT)
            x = r.Right - m_textRightIndent - width;
        else if (flags & DT_CENTER)
            x = (r.Left + r.Right - width) / 2;
        canvas->ExtTextOut(x, r.Top + indent.Y, ETO_CLIPPED, &r, text);
    } else {
        if (!(flags & DT_SINGLELINE))
            r.Top += indent.Y;
        canvas->DrawText(text, r, flags, indent.X, m_textRightIndent);
    }
    canvas->Brush()->SetStyle(bsSolid);
}

void TCustomGridView::PaintFocus()
{
    if (!m_showFocusRect || !gridFocused() || m_visSize.Row == 0 || m_editing)
        return;
    TRect r = GetFocusRect();
    if (m_gridLines) {
        if (m_gridStyle & gsVertLine)
            r.Right -= m_gridLineWidth;
        if (m_gridStyle & gsHorzLine)
            r.Bottom -= m_gridLineWidth;
    }
    m_paintCanvas->Font()->SetColor(clWhite);
    m_paintCanvas->Brush()->SetColor(clBlack);
    m_paintCanvas->DrawFocusRect(r);
}

QList<QList<TPoint>> TCustomGridView::GridLinePolylines() const
{
    QList<QList<TPoint>> lines;
    const TRect grid = GetGridRect();
    const int fixedRight = GetFixedRect().Right;
    int top = 0;
    int rowsBottom = grid.Top;
    if (m_visSize.Row > 0)
        GetRowTopBottom(m_visOrigin.Row + m_visSize.Row - 1, top, rowsBottom);
    int left = 0;
    int columnsRight = fixedRight;
    if (m_visSize.Col > 0)
        GetColumnLeftRight(m_visOrigin.Col + m_visSize.Col - 1, left, columnsRight);

    if (m_gridStyle & gsVertLine) {
        const int bottom = (m_gridStyle & (gsFullVertLine | gsListViewLike)) ? grid.Bottom : rowsBottom;
        for (int col = m_visOrigin.Col; col < m_visOrigin.Col + m_visSize.Col; ++col) {
            int right = 0;
            GetColumnLeftRight(col, left, right);
            if (right > left)
                lines.append({Point(right - 1, grid.Top), Point(right - 1, bottom)});
        }
    }
    const int height = m_rows->Height();
    if ((m_gridStyle & gsHorzLine) && height > 0) {
        const bool listView = m_gridStyle & gsListViewLike;
        const int right = (m_gridStyle & (gsFullHorzLine | gsListViewLike)) ? grid.Right : columnsRight;
        const int rows = listView ? grid.Height() / height + (grid.Height() % height ? 1 : 0) : m_visSize.Row;
        for (int i = 0; i < rows; ++i) {
            int bottom = 0;
            GetRowTopBottom(m_visOrigin.Row + i, top, bottom);
            lines.append({Point(fixedRight, bottom - 1), Point(right, bottom - 1)});
        }
    }
    return lines;
}

void TCustomGridView::PaintGridLines()
{
    TCanvas *canvas = m_paintCanvas;
    const QList<QList<TPoint>> lines = GridLinePolylines();
    const TColor color = GetGridLineColor(Color());
    if (!(m_gridStyle & gsDotLines)) {
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetMode(pmCopy);
        canvas->Pen()->SetWidth(m_gridLineWidth);
        canvas->Pen()->SetColor(color);
        canvas->PolyPolyline(lines);
        return;
    }
    // Dotted lines: every other pixel in the line colour, from a 2 x 2
    // pattern aligned to the client area.
    QImage dots(2, 2, QImage::Format_RGB32);
    const QRgb on = ColorToQColor(color).rgb();
    const QRgb off = ColorToQColor(Color()).rgb();
    dots.setPixel(0, 0, on);
    dots.setPixel(1, 1, on);
    dots.setPixel(1, 0, off);
    dots.setPixel(0, 1, off);
    TBitmap pattern;
    pattern.SetImage(dots);
    const TBrushData saved = canvas->Brush()->Data();
    canvas->SetBrushOrg(0, 0);
    canvas->Brush()->SetBitmap(&pattern);
    for (const QList<TPoint> &line : lines) {
        const TPoint a = line.first();
        const TPoint b = line.last();
        if (a.X == b.X)
            canvas->FillRect(Rect(a.X, a.Y, a.X + m_gridLineWidth, b.Y));
        else
            canvas->FillRect(Rect(a.X, a.Y, b.X, a.Y + m_gridLineWidth));
    }
    canvas->Brush()->SetBitmap(nullptr);
    canvas->Brush()->SetData(saved);
}

void TCustomGridView::PaintResizeLine()
{
    TCanvas *canvas = m_paintCanvas;
    const TRect client = ClientRect();
    canvas->Pen()->SetColor(clWhite);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetMode(pmXor);
    canvas->MoveTo(m_resizeLineX, client.Top);
    canvas->LineTo(m_resizeLineX, client.Bottom);
    canvas->Pen()->SetMode(pmCopy);
}
