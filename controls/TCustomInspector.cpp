#include "controls/TCustomInspector.h"

#include "controls/ExtGraphics.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"

#include <algorithm>

namespace {

constexpr TColor kSeparatorColor = 0x404040;
// The split line can be grabbed this many pixels left of column 0's edge.
constexpr int kSplitZone = 4;

} // namespace

// --- TInspectorEdit ------------------------------------------------------------

void TInspectorEdit::UpdateBounds(bool scrollCaret)
{
    TGridEdit::UpdateBounds(scrollCaret);
    if (ButtonWidth() == Height())
        return;
    SetButtonWidth(Height());
    TGridEdit::UpdateBounds(false);
}

void TInspectorEdit::UpdateColors()
{
    TGridEdit::UpdateColors();
    SetColor(clWindow);
    Font()->SetColor(clBtnText);
}

void TInspectorEdit::Invalidate()
{
    TGridEdit::Invalidate();
    if (Grid())
        Grid()->InvalidateFocus();
}

// --- TCustomInspector ----------------------------------------------------------

TCustomInspector::TCustomInspector(TComponent *owner)
    : TCustomGridView(owner), m_nameFont(std::make_unique<TFont>()), m_valueFont(std::make_unique<TFont>()),
      m_categoryFont(std::make_unique<TFont>())
{
}

TCustomInspector::~TCustomInspector() = default;

void TCustomInspector::AfterConstruction()
{
    TCustomGridView::AfterConstruction();
    m_nameFont->Assign(Font());
    m_nameFont->SetColor(clBtnText);
    m_valueFont->Assign(Font());
    m_valueFont->SetColor(clNavy);
    m_categoryFont->Assign(Font());
    m_categoryFont->SetColor(clPurple);
    m_categoryFont->SetStyle(m_valueFont->Style() | fsBold);
    for (TFont *font : {m_nameFont.get(), m_valueFont.get(), m_categoryFont.get()})
        font->OnChange = [this](TObject *) { fontChanged(); };

    SetColor(clBtnFace);
    SetRowSelect(false);
    SetAllowEdit(true);
    SetAlwaysEdit(true);
    TCustomGridColumn *names = Columns()->Add();
    names->SetCaption(QStringLiteral("Property"));
    names->SetFixedSize(true);
    names->SetWordWrap(false);
    names->SetWantReturns(false);
    names->SetReadOnly(true);
    names->SetTabStop(false);
    TCustomGridColumn *values = Columns()->Add();
    values->SetCaption(QStringLiteral("Value"));
    values->SetWordWrap(false);
    values->SetWantReturns(false);
    values->SetFixedSize(true);
    Header()->SynchronizeSections();
    SetShowHeader(false);
    Rows()->SetAutoHeight(false);
    Rows()->SetHeight(16);
    HorzScrollBar()->SetVisible(false);
    SetColumnsFullDrag(true);
    SetDoubleBuffered(true);
    SetEndEllipsis(false);
    SetGridLines(false);
    SetTextTopIndent(1);
    SetTextRightIndent(1);
    SetCursorKeys(CursorKeys() | gkMouseMove);
}

void TCustomInspector::fontChanged()
{
    Invalidate();
    if (Editing() && Edit())
        Edit()->UpdateColors();
}

void TCustomInspector::SetGridMode(TInspectorGridMode mode)
{
    if (mode == m_gridMode)
        return;
    m_gridMode = mode;
    SetGridLines(mode == gmStandard);
    Invalidate();
}

bool TCustomInspector::IsCategoryRow(int row)
{
    bool category = false;
    if (OnGetCategoryRow)
        OnGetCategoryRow(this, row, category);
    return category;
}

// --- Column split --------------------------------------------------------------

void TCustomInspector::UpdateColumnsSize()
{
    if (m_sizingCount > 0 || Columns()->Count() != 2)
        return;
    ++m_sizingCount;
    const int width = ClientWidth();
    TCustomGridColumn *names = Columns()->Columns(0);
    TCustomGridColumn *values = Columns()->Columns(1);
    values->SetWidth(width - names->Width());
    if (values->Width() < kMinColumnWidth) {
        values->SetWidth(kMinColumnWidth);
        names->SetWidth(width - kMinColumnWidth);
    }
    // A grid narrower than both minimums still gives each column its 35
    // pixels; the value column then runs past the right edge.
    if (names->Width() < kMinColumnWidth) {
        names->SetWidth(kMinColumnWidth);
        values->SetWidth(std::max(width - kMinColumnWidth, kMinColumnWidth));
    }
    --m_sizingCount;
}

void TCustomInspector::Loaded()
{
    TCustomGridView::Loaded();
    if (Columns()->Count() != 2)
        return;
    ++m_sizingCount;
    const int width = ClientWidth();
    Columns()->Columns(0)->SetWidth(width / 2);
    Columns()->Columns(1)->SetWidth(width - width / 2);
    --m_sizingCount;
}

void TCustomInspector::ColumnsChange()
{
    TCustomGridView::ColumnsChange();
    UpdateColumnsSize();
}

void TCustomInspector::UpdateScrollBars()
{
    TCustomGridView::UpdateScrollBars();
    UpdateColumnsSize();
}

void TCustomInspector::Resize()
{
    TCustomGridView::Resize();
    UpdateColumnsSize();
}

void TCustomInspector::ColumnResizing(int column, int &width)
{
    TCustomGridView::ColumnResizing(column, width);
    width = std::clamp(width, kMinColumnWidth, std::max(kMinColumnWidth, ClientWidth() - kMinColumnWidth));
}

bool TCustomInspector::IsSplitZone(int x) const
{
    if (Columns()->Count() < 1)
        return false;
    const int split = Columns()->Columns(0)->Width();
    return x >= split - kSplitZone && x <= split;
}

void TCustomInspector::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && IsSplitZone(x) && Header()->Sections()->Count() > 0
        && !(ComponentState() & csDesigning)) {
        startColumnResize(Header()->Sections()->Sections(0), x);
        return;
    }
    TCustomGridView::MouseDown(button, shift, x, y);
}

void TCustomInspector::MouseMove(TShiftState shift, int x, int y)
{
    TCustomGridView::MouseMove(shift, x, y);
    if (IsSplitZone(x) && ClientRect().Contains(x, y) && !(ComponentState() & csDesigning))
        SetCursor(crHSplit);
}

// --- Hit tests -----------------------------------------------------------------

int TCustomInspector::GetColumnAt(int x, int y) const
{
    if (Columns()->Count() == 2) {
        int left, right, unused;
        GetColumnLeftRight(0, left, unused);
        GetColumnLeftRight(1, unused, right);
        if (x < left)
            return 0;
        if (x >= right)
            return 1;
    }
    return TCustomGridView::GetColumnAt(x, y);
}

int TCustomInspector::GetRowAt(int x, int y) const
{
    const TRect grid = GetGridRect();
    if (y < grid.Top)
        return std::max(VisOrigin().Row - 1, 0);
    const int lastVisible = VisOrigin().Row + VisSize().Row - 1;
    if (Rows()->Count() > 0 && y >= grid.Top + VisSize().Row * Rows()->Height())
        return std::min(lastVisible + 1, Rows()->Count() - 1);
    return TCustomGridView::GetRowAt(x, y);
}

// --- Cells ---------------------------------------------------------------------

bool TCustomInspector::EditCanShow(const TGridCell &cell)
{
    if (IsCellValid(cell) && IsCategoryRow(cell.Row))
        return false;
    return TCustomGridView::EditCanShow(cell);
}

void TCustomInspector::GetCellColors(const TGridCell &cell, TCanvas *canvas)
{
    canvas->Brush()->SetColor(Color());
    if (IsCategoryRow(cell.Row))
        canvas->Font()->Assign(m_categoryFont.get());
    else if (cell.Col == 0)
        canvas->Font()->Assign(m_nameFont.get());
    else if (cell.Col == 1)
        canvas->Font()->Assign(m_valueFont.get());
    else
        canvas->Font()->Assign(Font());
    // The grid view's rules for disabled and selected cells, on these fonts.
    if (!Enabled()) {
        canvas->Font()->SetColor(clGrayText);
    } else if (IsFocusAllowed() && CellSelected() && cell == CellFocused()) {
        if (Focused()) {
            canvas->Brush()->SetColor(clHighlight);
            canvas->Font()->SetColor(clHighlightText);
        } else if (!HideSelection()) {
            canvas->Brush()->SetColor(clBtnFace);
        }
    }
    if (OnGetCellColors)
        OnGetCellColors(this, cell, canvas);
}

QString TCustomInspector::GetCellText(const TGridCell &cell)
{
    if (IsCategoryRow(cell.Row))
        return TCustomGridView::GetCellText(GridCell(0, cell.Row));
    return TCustomGridView::GetCellText(cell);
}

TPoint TCustomInspector::GetCellTextIndent(const TGridCell &cell) const
{
    return Point(2 - cell.Col, TextTopIndent());
}

TRect TCustomInspector::GetCellHintRect(const TGridCell &cell)
{
    TRect r = TCustomGridView::GetCellHintRect(cell);
    if (Columns()->Count() == 2 && IsCategoryRow(cell.Row)) {
        r.Left = GetColumnRect(0).Left;
        r.Right = GetColumnRect(1).Right;
    }
    return r;
}

TRect TCustomInspector::GetTipsRect(const TGridCell &cell)
{
    TRect r = TCustomGridView::GetTipsRect(cell);
    if (IsCategoryRow(cell.Row))
        r = r.Offset(GetColumnRect(0).Left - GetColumnRect(cell.Col).Left, 0);
    return r;
}

TGridEditClass TCustomInspector::GetEditClass(const TGridCell &) const
{
    return GridEditClassOf<TInspectorEdit>();
}

void TCustomInspector::GetEditListBounds(const TGridCell &cell, TRect &rect)
{
    TCustomGridView::GetEditListBounds(cell, rect);
    if (m_gridMode == gmInspector)
        rect.Left -= 2;
}

TRect TCustomInspector::GetEditRect(const TGridCell &cell) const
{
    TRect r = TCustomGridView::GetEditRect(cell);
    if (m_gridMode == gmInspector)
        --r.Bottom;
    return r;
}

TRect TCustomInspector::GetFocusRect() const
{
    TRect r = GetRowRect(CellFocused().Row);
    if (m_gridMode == gmInspector)
        r.Top -= 2;
    return r;
}

TRect TCustomInspector::GetGridRect() const
{
    TRect r = TCustomGridView::GetGridRect();
    if (m_gridMode == gmStandard)
        r.Right += GridLineWidth();
    return r;
}

// --- Cursor --------------------------------------------------------------------

void TCustomInspector::ShowCursor()
{
    if (IsCategoryRow(CellFocused().Row))
        InvalidateFocus();
    else
        TCustomGridView::ShowCursor();
}

void TCustomInspector::HideCursor()
{
    if (IsCategoryRow(CellFocused().Row))
        InvalidateFocus();
    else
        TCustomGridView::HideCursor();
}

// --- Painting ------------------------------------------------------------------

void TCustomInspector::PaintGridLines()
{
    if (m_gridMode != gmInspector)
        TCustomGridView::PaintGridLines();
}

void TCustomInspector::PaintCell(const TGridCell &cell, const TRect &rect)
{
    TRect r = rect;
    const bool category = IsCategoryRow(cell.Row);
    if (category) {
        if (cell.Col != 0)
            return;
        const TRect grid = GetGridRect();
        r.Left = grid.Left;
        r.Right = grid.Right;
    }
    TCustomGridView::PaintCell(cell, r);
    if (m_gridMode == gmInspector)
        paintInspectorLines(cell, r);
}

void TCustomInspector::paintInspectorLines(const TGridCell &cell, const TRect &rect)
{
    TCanvas *canvas = PaintCanvas();
    const int cursorRow = CellFocused().Row;
    if (cell.Row != cursorRow) {
        const TBrushData brush = canvas->Brush()->Data();
        const TColor fontColor = canvas->Font()->Color();
        canvas->Brush()->SetColor(kSeparatorColor);
        canvas->Font()->SetColor(clBlack);
        PaintHalftoneRect(canvas, TRect(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom));
        canvas->Brush()->SetData(brush);
        canvas->Font()->SetColor(fontColor);
    }
    if (cell.Col == 0 && !IsCategoryRow(cell.Row)) {
        canvas->Pen()->SetColor(clBtnShadow);
        canvas->MoveTo(rect.Right - 2, rect.Top - 1);
        canvas->LineTo(rect.Right - 2, rect.Bottom);
        canvas->Pen()->SetColor(clBtnHighlight);
        canvas->MoveTo(rect.Right - 1, rect.Bottom - 1);
        canvas->LineTo(rect.Right - 1, rect.Top - 1);
    }
    if (cell.Row == cursorRow) {
        TRect edge = rect;
        canvas->DrawEdge(edge, BDR_SUNKENOUTER, BF_BOTTOM);
    } else if (cell.Row == cursorRow - 1) {
        TRect strip(rect.Left, rect.Bottom - 2, rect.Right, rect.Bottom);
        canvas->DrawEdge(strip, BDR_SUNKENOUTER, BF_TOP);
        TRect inner(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom);
        canvas->DrawEdge(inner, BDR_SUNKENINNER, BF_TOP);
    }
}

// --- Unit ----------------------------------------------------------------------

void InitializeInspectorUnit()
{
    RegisterClass<TGridEdit>();
    RegisterClass<TInspectorEdit>();
    RegisterClass<TInspectorGrid>();
    DescribeProperties<TInspectorGrid>()
            .Default("AllowEdit", 1)
            .Default("AlwaysEdit", 1)
            .Default("AlwaysSelected", 0)
            .Default("BorderStyle", bsSingle)
            .Default("CancelOnExit", 1)
            .Default("Color", clBtnFace)
            .TypeName("GridColor", QStringLiteral("TColor"))
            .Default("ColumnsFullDrag", 1)
            .Default("DoubleBuffered", 1)
            .Default("EndEllipsis", 0)
            .Default("FlatBorder", 0)
            .Default("GridColor", 0xC0C0C0)
            .Default("GridMode", gmInspector)
            .Default("GridStyle", gsHorzLine | gsVertLine)
            .NoDefault("ShowCellTips")
            .Default("ShowFocusRect", 1)
            .Default("TabStop", 1);
}
