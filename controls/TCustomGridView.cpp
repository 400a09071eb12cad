#include "controls/TCustomGridView.h"

#include "controls/ExtGraphics.h"
#include "controls/ExtStrUtils.h"
#include "controls/TCustomGridEdit.h"
#include "controls/TGridTipsWindow.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/graphics/ImageList.h"

#include <algorithm>
#include <functional>
#include <optional>

TCustomGridView::TCustomGridView(TComponent *owner) : TCustomControl(owner)
{
    SetBounds(0, 0, 185, 105);
    SetColor(clWindow);
    SetTabStop(true);
    SetBorderStyle(bsSingle);
    // The row height may follow the images' height.
    m_imagesLink.OnChange = [this](TObject *) {
        UpdateRows();
        Invalidate();
    };
}

TCustomGridView::~TCustomGridView()
{
    // The companions go first; none of their notifications may reach a
    // half-destroyed grid.
    delete m_edit;
    m_edit = nullptr;
    delete m_tipsWindow;
    m_tipsWindow = nullptr;
    m_fixed.reset();
    m_rows.reset();
    m_columns.reset();
    m_header.reset();
    m_vertScrollBar.reset();
    m_horzScrollBar.reset();
}

void TCustomGridView::AfterConstruction()
{
    TCustomControl::AfterConstruction();
    m_horzScrollBar.reset(CreateScrollBar(sbHorizontal));
    m_vertScrollBar.reset(CreateScrollBar(sbVertical));
    m_vertScrollBar->SetLineSize(17);
    m_header.reset(CreateHeader());
    m_columns.reset(CreateColumns());
    m_rows.reset(CreateRows());
    m_fixed.reset(CreateFixed());
    hookCompanions();
    updateAll();
}

TGridScrollBar *TCustomGridView::CreateScrollBar(TScrollBarKind kind)
{
    return new TGridScrollBar(this, kind);
}

TCustomGridHeader *TCustomGridView::CreateHeader()
{
    return new TGridHeader(this);
}

TGridColumns *TCustomGridView::CreateColumns()
{
    return new TGridColumns(this, GetColumnClass());
}

TCustomGridRows *TCustomGridView::CreateRows()
{
    return new TGridRows(this);
}

TCustomGridFixed *TCustomGridView::CreateFixed()
{
    return new TGridFixed(this);
}

TCollectionItemClass TCustomGridView::GetColumnClass() const
{
    return CollectionItemClassOf<TGridColumn>();
}

TCustomGridColumn *TCustomGridView::CreateColumn(TGridColumns *columns)
{
    return static_cast<TCustomGridColumn *>(columns->TCollection::Add());
}

TGridHeaderSection *TCustomGridView::CreateHeaderSection(TGridHeaderSections *sections)
{
    return static_cast<TGridHeaderSection *>(sections->TCollection::Add());
}

void TCustomGridView::hookCompanions()
{
    for (TGridScrollBar *bar : {m_horzScrollBar.get(), m_vertScrollBar.get()}) {
        bar->OnScroll = [this](TObject *, TScrollCode, int &) {
            CancelCellTips();
            if (m_focusOnScroll && CanFocus() && !Focused())
                SetFocus();
        };
        bar->OnChange = [this](TObject *) {
            UpdateVisOriginSize();
            UpdateEdit(m_editing);
        };
    }
    m_header->OnChange = [this](TObject *) {
        UpdateScrollBars();
        UpdateVisOriginSize();
        UpdateEdit(m_editing);
        Invalidate();
    };
    m_columns->OnChange = [this](TObject *) { ColumnsChange(); };
    m_rows->OnChange = [this](TObject *) { RowsChange(); };
    m_fixed->OnChange = [this](TObject *) { FixedChange(); };
}

void TCustomGridView::updateAll()
{
    UpdateScrollBars();
    UpdateVisOriginSize();
    UpdateCursor();
    UpdateEdit(m_editing);
    Invalidate();
}

void TCustomGridView::ColumnsChange()
{
    if (ComponentState() & (csLoading | csDestroying))
        return;
    UpdateHeader();
    m_fixed->SetCount(m_fixed->Count());
    updateAll();
}

void TCustomGridView::RowsChange()
{
    if (ComponentState() & (csLoading | csDestroying))
        return;
    updateAll();
}

void TCustomGridView::FixedChange()
{
    if (ComponentState() & (csLoading | csDestroying))
        return;
    UpdateRows();
    updateAll();
}

// --- Properties ----------------------------------------------------------------

void TCustomGridView::SetImages(TImageList *images)
{
    if (images == m_images)
        return;
    if (m_images) {
        m_images->UnRegisterChanges(&m_imagesLink);
        RemoveFreeNotification(m_images);
    }
    m_images = images;
    if (m_images) {
        m_images->RegisterChanges(&m_imagesLink);
        FreeNotification(m_images);
    }
    UpdateRows();
    updateAll();
}

void TCustomGridView::SetFlatBorder(bool value)
{
    if (value == m_flatBorder)
        return;
    m_flatBorder = value;
    SetStaticEdge(value);
}

void TCustomGridView::SetShowHeader(bool value)
{
    if (value == m_showHeader)
        return;
    m_showHeader = value;
    updateAll();
}

void TCustomGridView::SetAlwaysSelected(bool value)
{
    m_alwaysSelected = value;
    SetCursor(m_cellFocused, m_cellSelected || value, false);
}

void TCustomGridView::SetRowSelect(bool value)
{
    if (value == m_rowSelect)
        return;
    m_rowSelect = value;
    if (value)
        SetAllowEdit(false);
    Invalidate();
}

void TCustomGridView::SetAllowSelect(bool value)
{
    if (value == m_allowSelect)
        return;
    m_allowSelect = value;
    Invalidate();
}

void TCustomGridView::SetCursorKeys(TGridCursorKeys value)
{
    if (!(value & gkMouse))
        value &= ~TGridCursorKeys(gkMouseMove);
    m_cursorKeys = value;
}

void TCustomGridView::SetAllowEdit(bool value)
{
    if (value == m_allowEdit)
        return;
    m_allowEdit = value;
    if (!value) {
        m_alwaysEdit = false;
        HideEdit();
    }
}

void TCustomGridView::SetAlwaysEdit(bool value)
{
    if (value == m_alwaysEdit)
        return;
    m_alwaysEdit = value;
    if (value) {
        m_allowEdit = true;
        SetEditing(true);
    } else {
        HideEdit();
    }
}

void TCustomGridView::SetEditing(bool value)
{
    const bool was = m_editing;
    if (value) {
        if (m_allowEdit && CanFocus())
            UpdateEdit(true);
    } else if (m_editing) {
        ApplyEdit();
        if (!m_alwaysEdit)
            HideEdit();
    }
    if (m_editing != was)
        EditingChange();
}

void TCustomGridView::SetShowCellTips(bool value)
{
    m_showCellTips = value;
    if (value)
        SetShowHint(true);
    else
        CancelCellTips();
}

void TCustomGridView::SetShowHint(bool show)
{
    TCustomControl::SetShowHint(show);
    if (!show && m_showCellTips)
        SetShowCellTips(false);
}

// --- Geometry ------------------------------------------------------------------

TRect TCustomGridView::GetHeaderRect() const
{
    TRect r = ClientRect();
    r.Bottom = m_showHeader ? r.Top + m_header->Height() : r.Top;
    return r;
}

TRect TCustomGridView::GetGridRect() const
{
    TRect r = ClientRect();
    r.Top = GetHeaderRect().Bottom;
    return r;
}

TRect TCustomGridView::GetFixedRect() const
{
    TRect r = GetGridRect();
    r.Right = r.Left + GetFixedWidth();
    return r;
}

int TCustomGridView::GetFixedWidth() const
{
    return GetColumnsWidth(0, m_fixed->Count() - 1);
}

int TCustomGridView::GetColumnsWidth(int first, int last) const
{
    first = std::max(first, 0);
    last = std::min(last, m_columns->Count() - 1);
    int width = 0;
    for (int i = first; i <= last; ++i)
        width += m_columns->Columns(i)->Width();
    return width;
}

TPoint TCustomGridView::GridOrigin() const
{
    return Point(-m_horzScrollBar->Position(), -m_rows->Height() * m_vertScrollBar->Position());
}

void TCustomGridView::GetColumnLeftRight(int col, int &left, int &right) const
{
    const int count = m_columns->Count();
    if (count == 0) {
        left = right = GetGridRect().Left;
        return;
    }
    if (col < 0) {
        GetColumnLeftRight(0, left, right);
        right = left;
        return;
    }
    if (col >= count) {
        GetColumnLeftRight(count - 1, left, right);
        left = right;
        return;
    }
    left = ClientRect().Left + GetColumnsWidth(0, col - 1);
    if (col >= m_fixed->Count())
        left += GridOrigin().X;
    right = left + m_columns->Columns(col)->Width();
}

void TCustomGridView::GetRowTopBottom(int row, int &top, int &bottom) const
{
    top = GetGridRect().Top + row * m_rows->Height() + GridOrigin().Y;
    bottom = top + m_rows->Height();
}

TRect TCustomGridView::GetCellRect(const TGridCell &cell) const
{
    TRect r;
    GetColumnLeftRight(cell.Col, r.Left, r.Right);
    GetRowTopBottom(cell.Row, r.Top, r.Bottom);
    return r;
}

TRect TCustomGridView::GetColumnRect(int col) const
{
    TRect r;
    GetColumnLeftRight(col, r.Left, r.Right);
    r.Top = GetGridRect().Top + GridOrigin().Y;
    r.Bottom = r.Top + m_rows->Count() * m_rows->Height();
    return r;
}

TRect TCustomGridView::GetRowRect(int row) const
{
    TRect r;
    int unused = 0;
    GetColumnLeftRight(m_fixed->Count(), r.Left, unused);
    r.Left = std::min(r.Left, ClientRect().Left);
    GetColumnLeftRight(m_columns->Count() - 1, unused, r.Right);
    GetRowTopBottom(row, r.Top, r.Bottom);
    return r;
}

int TCustomGridView::GetColumnAt(int x, int) const
{
    const int fixedCount = m_fixed->Count();
    int left = ClientRect().Left;
    for (int i = 0; i < m_columns->Count(); ++i) {
        if (i == fixedCount)
            left += GridOrigin().X;
        const int width = m_columns->Columns(i)->Width();
        if (width > 0 && x >= left && x < left + width)
            return i;
        left += width;
    }
    return -1;
}

int TCustomGridView::GetRowAt(int, int y) const
{
    const int offset = y - GetGridRect().Top - GridOrigin().Y;
    if (offset < 0 || m_rows->Height() <= 0)
        return -1;
    const int row = offset / m_rows->Height();
    return row < m_rows->Count() ? row : -1;
}

TGridCell TCustomGridView::GetCellAt(int x, int y) const
{
    const int col = GetColumnAt(x, y);
    const int row = GetRowAt(x, y);
    if (col == -1 || row == -1)
        return GridCell(-1, -1);
    return GridCell(col, row);
}

TRect TCustomGridView::GetEditRect(const TGridCell &cell) const
{
    TRect r = GetCellRect(cell);
    if (IsCellHasCheck(cell))
        r.Left += m_checkWidth + GetCheckIndent(cell).X;
    if (IsCellHasImage(cell))
        r.Left += m_images->Width() + GetCellImageIndent(cell).X;
    if (m_gridLines) {
        if (m_gridStyle & gsVertLine)
            r.Right -= m_gridLineWidth;
        if (m_gridStyle & gsHorzLine)
            r.Bottom -= m_gridLineWidth;
    }
    r.Left = std::min(r.Left, r.Right);
    return r;
}

TRect TCustomGridView::GetFocusRect() const
{
    TRect r;
    if (m_rowSelect) {
        r = GetRowRect(m_cellFocused.Row);
        int unused = 0;
        GetColumnLeftRight(m_fixed->Count(), r.Left, unused);
    } else {
        r = GetCellRect(m_cellFocused);
    }
    if (!m_imageHighlight) {
        if (IsCellHasCheck(m_cellFocused))
            r.Left += m_checkWidth + GetCheckIndent(m_cellFocused).X;
        if (IsCellHasImage(m_cellFocused))
            r.Left += m_images->Width() + GetCellImageIndent(m_cellFocused).X;
        r.Left = std::min(r.Left, r.Right);
    }
    return r;
}

bool TCustomGridView::IsCellValid(const TGridCell &cell) const
{
    return cell.Col >= 0 && cell.Col < m_columns->Count() && cell.Row >= 0 && cell.Row < m_rows->Count();
}

bool TCustomGridView::IsCellVisible(const TGridCell &cell, bool partialOK) const
{
    TRect area = GetGridRect();
    if (m_fixed->Count() > 0)
        area.Left = GetFixedRect().Right;
    const TRect r = GetCellRect(cell);
    if (partialOK)
        return r.Left < area.Right && r.Right > area.Left && r.Top < area.Bottom && r.Bottom > area.Top;
    return r.Left >= area.Left && r.Right <= area.Right && r.Top >= area.Top && r.Bottom <= area.Bottom;
}

void TCustomGridView::UpdateVisOriginSize()
{
    const int count = m_columns->Count();
    if (count == 0) {
        m_visOrigin.Col = 0;
        m_visSize.Col = 0;
    } else {
        const int fixedRight = GetFixedRect().Right;
        int col = m_fixed->Count();
        int left = 0;
        int right = 0;
        for (; col < count - 1; ++col) {
            GetColumnLeftRight(col, left, right);
            if (right > fixedRight)
                break;
        }
        m_visOrigin.Col = col;
        const int gridRight = GetGridRect().Right;
        int visible = 0;
        for (int i = col; i < count; ++i) {
            GetColumnLeftRight(i, left, right);
            ++visible;
            if (right >= gridRight)
                break;
        }
        m_visSize.Col = visible;
    }

    const int height = m_rows->Height();
    if (m_rows->Count() >= 1 && height >= 1) {
        m_visOrigin.Row = m_vertScrollBar->Position();
        const int gridHeight = GetGridRect().Height();
        int rows = gridHeight / height + (gridHeight % height ? 1 : 0);
        rows = std::min(rows, m_rows->Count() - m_visOrigin.Row);
        m_visSize.Row = std::max(rows, 0);
    } else {
        m_visOrigin.Row = 0;
        m_visSize.Row = 0;
    }
}

void TCustomGridView::UpdateScrollBars()
{
    m_vertScrollBar->BeginUpdate();
    m_horzScrollBar->BeginUpdate();
    const TRect grid = GetGridRect();
    const int height = m_rows->Height();
    m_vertScrollBar->SetLineSize(height);
    if (m_rows->Count() > 0 && height > 0)
        m_vertScrollBar->SetParams(0, m_rows->Count() - 1, 1, grid.Height() / height - 1);
    else
        m_vertScrollBar->SetParams(0, 0, 0, 0);
    m_horzScrollBar->SetLineSize(1);
    if (m_columns->Count() > 0) {
        const int fixedWidth = GetFixedWidth();
        m_horzScrollBar->SetParams(0, GetColumnsWidth(0, m_columns->Count() - 1) - fixedWidth, 8,
                                   grid.Width() - fixedWidth);
    } else {
        m_horzScrollBar->SetParams(0, 0, 0, 0);
    }
    m_horzScrollBar->EndUpdate();
    m_vertScrollBar->EndUpdate();
}

void TCustomGridView::UpdateScrollPos()
{
    m_vertScrollBar->SetPosition(m_visOrigin.Row);
    m_horzScrollBar->SetPosition(GetColumnsWidth(m_fixed->Count(), m_visOrigin.Col - 1));
}

void TCustomGridView::UpdateHeader()
{
    if (m_header->AutoSynchronize() || m_header->Synchronized())
        m_header->SynchronizeSections();
    else
        m_header->UpdateSections();
}

void TCustomGridView::UpdateRows()
{
    m_rows->SetHeight(m_rows->Height());
}

void TCustomGridView::UpdateFixed()
{
    m_fixed->SetCount(m_fixed->Count());
}

void TCustomGridView::UpdateColors()
{
    m_header->GridColorChanged();
    m_fixed->GridColorChanged();
}

void TCustomGridView::UpdateFonts()
{
    Canvas()->Font()->Assign(Font());
    m_header->GridFontChanged();
    m_fixed->GridFontChanged();
    UpdateRows();
}

TGridRowMetrics TCustomGridView::RowMetrics() const
{
    TGridRowMetrics m;
    m.TextHeight = GetFontHeight(Font());
    m.FixedTextHeight = GetFontHeight(m_fixed->Font());
    m.TextTopIndent = m_textTopIndent;
    m.CheckBoxes = m_checkBoxes;
    m.CheckHeight = m_checkHeight;
    m.CheckTopIndent = m_checkTopIndent;
    m.ImageHeight = m_images ? m_images->Height() : -1;
    m.ImageTopIndent = m_imageTopIndent;
    m.HorzLines = m_gridLines && (m_gridStyle & gsHorzLine);
    m.GridLineWidth = m_gridLineWidth;
    m.FixedCount = m_fixed->Count();
    m.FixedFlat = m_fixed->Flat();
    m.FixedGridColor = m_fixed->GridColor();
    return m;
}

// --- Invalidation --------------------------------------------------------------

void TCustomGridView::UnLockUpdate(bool redraw)
{
    if (m_lockUpdate > 0)
        --m_lockUpdate;
    if (m_lockUpdate == 0 && redraw)
        Invalidate();
}

void TCustomGridView::Invalidate()
{
    if (Parent() && m_lockUpdate == 0)
        TCustomControl::Invalidate();
}

void TCustomGridView::InvalidateRect(const TRect &rect)
{
    if (Parent() && m_lockUpdate == 0)
        TCustomControl::InvalidateRect(rect);
}

void TCustomGridView::InvalidateCell(const TGridCell &cell)
{
    InvalidateRect(GetCellRect(cell));
    if (cell.Col == m_cellFocused.Col || cell.Row == m_cellFocused.Row)
        InvalidateFocus();
}

void TCustomGridView::InvalidateColumn(int col)
{
    InvalidateRect(GetColumnRect(col));
}

void TCustomGridView::InvalidateRow(int row)
{
    InvalidateRect(GetRowRect(row));
}

void TCustomGridView::InvalidateGrid()
{
    InvalidateRect(GetGridRect());
}

void TCustomGridView::InvalidateHeader()
{
    InvalidateRect(GetHeaderRect());
}

void TCustomGridView::InvalidateFocus()
{
    InvalidateRect(GetFocusRect());
}

void TCustomGridView::ScrollContents(TScrollBarKind kind, int)
{
    TRect area = kind == sbVertical ? GetGridRect() : ClientRect();
    if (kind == sbHorizontal)
        area.Left = GetFixedRect().Right;
    InvalidateRect(area);
}

// --- Cell queries --------------------------------------------------------------

QString TCustomGridView::GetCellText(const TGridCell &cell)
{
    QString value;
    if (OnGetCellText)
        OnGetCellText(this, cell, value);
    return value;
}

bool TCustomGridView::gridFocused() const
{
    return Focused() || (m_edit && m_edit->Focused());
}

void TCustomGridView::GetCellColors(const TGridCell &cell, TCanvas *canvas)
{
    if (cell.Col >= m_fixed->Count()) {
        canvas->Brush()->SetColor(Color());
        canvas->Font()->Assign(Font());
        const bool cursorCell =
            cell == m_cellFocused || (m_rowSelect && cell.Row == m_cellFocused.Row);
        if (!Enabled()) {
            canvas->Font()->SetColor(clGrayText);
        } else if (IsFocusAllowed() && m_cellSelected && cursorCell) {
            if (gridFocused()) {
                canvas->Brush()->SetColor(clHighlight);
                canvas->Font()->SetColor(clHighlightText);
            } else if (!m_hideSelection) {
                canvas->Brush()->SetColor(clBtnFace);
            }
        }
    } else {
        canvas->Brush()->SetColor(m_fixed->Color());
        canvas->Font()->Assign(m_fixed->Font());
    }
    if (OnGetCellColors)
        OnGetCellColors(this, cell, canvas);
}

bool TCustomGridView::IsCellReadOnly(const TGridCell &cell)
{
    if (!IsCellValid(cell))
        return true;
    bool readOnly = m_readOnly || cell.Col < m_fixed->Count() || m_columns->Columns(cell.Col)->ReadOnly();
    if (OnGetCellReadOnly)
        OnGetCellReadOnly(this, cell, readOnly);
    return readOnly;
}

bool TCustomGridView::EditCanShow(const TGridCell &cell)
{
    if (ComponentState() & (csLoading | csDestroying | csDesigning))
        return false;
    if (m_columns->Count() <= m_fixed->Count() || m_rows->Count() == 0)
        return false;
    bool canShow = HandleAllocated() && m_allowEdit && (m_alwaysEdit || gridFocused());
    if (canShow && cell.Col >= m_fixed->Count() && cell.Col < m_columns->Count())
        canShow = m_columns->Columns(cell.Col)->AllowEdit();
    if (canShow && OnEditCanShow)
        OnEditCanShow(this, cell, canShow);
    return canShow;
}

TGridCheckKind TCustomGridView::GetCheckKind(const TGridCell &cell) const
{
    if (cell.Col < 0 || cell.Col >= m_columns->Count())
        return gcNone;
    return m_columns->Columns(cell.Col)->CheckKind();
}

TCheckBoxState TCustomGridView::GetCheckState(const TGridCell &) const
{
    return cbUnchecked;
}

TAlignment TCustomGridView::GetCheckAlignment(const TGridCell &cell) const
{
    if (cell.Col < 0 || cell.Col >= m_columns->Count())
        return taLeftJustify;
    return m_columns->Columns(cell.Col)->CheckAlignment();
}

TPoint TCustomGridView::GetCheckIndent(const TGridCell &cell) const
{
    if (GetCheckAlignment(cell) == taCenter)
        return Point((m_columns->Columns(cell.Col)->Width() - m_checkWidth) / 2 - 1, m_checkTopIndent);
    return Point(m_checkLeftIndent, m_checkTopIndent);
}

TRect TCustomGridView::GetCheckRect(const TGridCell &cell) const
{
    const TRect cellRect = GetCellRect(cell);
    const TPoint indent = GetCheckIndent(cell);
    return Bounds(cellRect.Left + indent.X, cellRect.Top + indent.Y, m_checkWidth, m_checkHeight);
}

int TCustomGridView::GetCellImage(const TGridCell &) const
{
    return -1;
}

TPoint TCustomGridView::GetCellImageIndent(const TGridCell &) const
{
    return Point(m_imageLeftIndent, m_imageTopIndent);
}

TRect TCustomGridView::GetCellImageRect(const TGridCell &cell) const
{
    TRect cellRect = GetCellRect(cell);
    if (IsCellHasCheck(cell))
        cellRect.Left += m_checkWidth + GetCheckIndent(cell).X;
    const TPoint indent = GetCellImageIndent(cell);
    return Bounds(cellRect.Left + indent.X, cellRect.Top + indent.Y, m_images->Width(), m_images->Height());
}

TPoint TCustomGridView::GetCellTextIndent(const TGridCell &cell) const
{
    TPoint indent = Point(m_textLeftIndent, m_textTopIndent);
    if (IsCellHasCheck(cell) || IsCellHasImage(cell))
        indent.X = 2;
    if (cell.Col < m_fixed->Count() && !m_fixed->Flat())
        ++indent.Y;
    return indent;
}

bool TCustomGridView::IsCellHasCheck(const TGridCell &cell) const
{
    return m_checkBoxes && GetCheckKind(cell) != gcNone;
}

bool TCustomGridView::IsCellHasImage(const TGridCell &cell) const
{
    return m_images && GetCellImage(cell) != -1;
}

bool TCustomGridView::IsHeaderHasImage(const TGridHeaderSection *section) const
{
    return m_header->Images() && GetHeaderImage(section) != -1;
}

int TCustomGridView::GetHeaderImage(const TGridHeaderSection *) const
{
    return -1;
}

void TCustomGridView::GetHeaderColors(const TGridHeaderSection *, TCanvas *canvas) const
{
    canvas->Brush()->SetColor(m_header->Color());
    canvas->Font()->Assign(m_header->Font());
}

TGridSortDirection TCustomGridView::GetSortDirection(const TGridHeaderSection *) const
{
    return gsNone;
}

QImage TCustomGridView::GetSortImage(const TGridHeaderSection *, TGridSortDirection direction) const
{
    // A triangle of rows 7, 5, 3 and 1 pixels wide, pointing up for an
    // ascending sort, on the transparent colour.
    QImage image(7, 4, QImage::Format_RGB32);
    image.fill(ColorToQColor(clSilver));
    const QRgb arrow = ColorToQColor(clBtnShadow).rgb();
    for (int row = 0; row < 4; ++row) {
        const int y = direction == gsAscending ? 3 - row : row;
        for (int x = row; x < 7 - row; ++x)
            image.setPixel(x, y, arrow);
    }
    return image;
}

TBitmap *TCustomGridView::GetCheckImage(const TGridCell &) const
{
    return nullptr;
}

TColor TCustomGridView::GetGridLineColor(TColor background) const
{
    if (ColorToRGB(m_gridColor) == ColorToRGB(background))
        return ColorToRGB(m_gridColor) ^ 0x808080;
    return m_gridColor;
}

unsigned TCustomGridView::GetTextFlags(const TGridCell &cell) const
{
    unsigned flags = DT_NOPREFIX;
    const TCustomGridColumn *column =
        cell.Col >= 0 && cell.Col < m_columns->Count() ? m_columns->Columns(cell.Col) : nullptr;
    const TAlignment alignment = column ? column->Alignment() : taLeftJustify;
    if (alignment == taRightJustify)
        flags |= DT_RIGHT;
    else if (alignment == taCenter)
        flags |= DT_CENTER;
    const bool wrap = column && column->WordWrap();
    if (wrap || (column && column->WantReturns())) {
        if (wrap)
            flags |= DT_WORDBREAK;
    } else {
        flags |= DT_SINGLELINE | DT_VCENTER;
        if (m_endEllipsis)
            flags |= DT_END_ELLIPSIS;
    }
    return flags;
}

// --- Cursor --------------------------------------------------------------------

bool TCustomGridView::IsFocusAllowed() const
{
    return m_allowSelect && (m_rowSelect || !(m_editing || m_alwaysEdit));
}

void TCustomGridView::AcceptCursor(const TGridCell &, bool &) const {}

bool TCustomGridView::IsCellAcceptCursor(const TGridCell &cell) const
{
    if (!IsCellValid(cell))
        return false;
    const TCustomGridColumn *column = m_columns->Columns(cell.Col);
    bool accept = column->Visible() && column->Width() > 0 && cell.Col >= m_fixed->Count() && column->TabStop();
    if (accept)
        AcceptCursor(cell, accept);
    return accept;
}

TGridCell TCustomGridView::GetCursorCell(const TGridCell &cell, TGridCursorOffset offset) const
{
    const int fixedCount = m_fixed->Count();
    const int colCount = m_columns->Count();
    const int rowCount = m_rows->Count();
    const TGridCell none = cell;
    auto accepts = [this](int col, int row) { return IsCellAcceptCursor(GridCell(col, row)); };
    // The first accepting cell in a column range of one row, or of a row
    // range of one column, walking from `from` to `to`.
    auto inRow = [&](int row, int from, int to) -> std::optional<TGridCell> {
        const int step = from <= to ? 1 : -1;
        for (int col = from; col != to + step; col += step)
            if (accepts(col, row))
                return GridCell(col, row);
        return std::nullopt;
    };
    auto inColumn = [&](int col, int from, int to) -> std::optional<TGridCell> {
        const int step = from <= to ? 1 : -1;
        for (int row = from; row != to + step; row += step)
            if (accepts(col, row))
                return GridCell(col, row);
        return std::nullopt;
    };
    auto orElse = [](std::optional<TGridCell> found, const TGridCell &fallback) { return found.value_or(fallback); };
    const int pageStep = std::max(m_visSize.Row - 1, 1);

    switch (offset) {
    case coLeft:
        return orElse(inRow(cell.Row, std::max(cell.Col - 1, fixedCount), fixedCount), none);
    case coRight:
        return orElse(inRow(cell.Row, std::min(cell.Col + 1, colCount - 1), colCount - 1), none);
    case coUp:
        return orElse(inColumn(cell.Col, std::max(cell.Row - 1, 0), 0), none);
    case coDown:
        return orElse(inColumn(cell.Col, std::min(cell.Row + 1, rowCount - 1), rowCount - 1), none);
    case coPageUp:
        return orElse(inColumn(cell.Col, std::max(cell.Row - pageStep, 0), 0), none);
    case coPageDown:
        return orElse(inColumn(cell.Col, std::min(cell.Row + pageStep, rowCount - 1), rowCount - 1), none);
    case coHome:
        return orElse(inRow(cell.Row, fixedCount, colCount - 1), none);
    case coEnd:
        return orElse(inRow(cell.Row, colCount - 1, fixedCount), none);
    case coGridHome:
        for (int col = fixedCount; col <= cell.Col; ++col)
            for (int row = 0; row <= cell.Row; ++row)
                if (accepts(col, row))
                    return GridCell(col, row);
        return none;
    case coGridEnd:
        for (int col = colCount - 1; col >= cell.Col; --col)
            for (int row = rowCount - 1; row >= cell.Row; --row)
                if (accepts(col, row))
                    return GridCell(col, row);
        return none;
    case coSelect: {
        if (accepts(cell.Col, cell.Row))
            return cell;
        const TGridCell focused = m_cellFocused;
        if (cell.Col < focused.Col)
            if (auto found = inRow(cell.Row, cell.Col + 1, focused.Col))
                return *found;
        if (cell.Col > focused.Col)
            if (auto found = inRow(cell.Row, cell.Col - 1, focused.Col))
                return *found;
        if (cell.Row < focused.Row)
            if (auto found = inColumn(cell.Col, cell.Row + 1, focused.Row))
                return *found;
        if (cell.Row > focused.Row)
            if (auto found = inColumn(cell.Col, cell.Row - 1, focused.Row))
                return *found;
        return focused;
    }
    case coFirst:
        for (int row = 0; row < rowCount; ++row)
            for (int col = fixedCount; col < colCount; ++col)
                if (accepts(col, row))
                    return GridCell(col, row);
        return m_cellFocused;
    case coNext: {
        int col = cell.Col + 1;
        for (int row = cell.Row; row < rowCount; ++row, col = fixedCount) {
            if (m_rowSelect && row == cell.Row)
                continue;
            for (col = std::max(col, 0); col < colCount; ++col)
                if (accepts(col, row))
                    return GridCell(col, row);
        }
        return m_cellFocused;
    }
    case coPrev: {
        int col = cell.Col - 1;
        for (int row = cell.Row; row >= 0; --row, col = colCount - 1) {
            if (m_rowSelect && row == cell.Row)
                continue;
            for (col = std::min(col, colCount - 1); col >= fixedCount; --col)
                if (accepts(col, row))
                    return GridCell(col, row);
        }
        return m_cellFocused;
    }
    }
    return none;
}

void TCustomGridView::UpdateSelection(TGridCell &cell, bool &selected) const
{
    selected = selected || m_alwaysSelected;
    if (m_rows->Count() == 0 || m_columns->Count() == 0)
        selected = false;
    cell.Col = std::max(std::min(std::max(cell.Col, m_fixed->Count()), m_columns->Count() - 1), 0);
    cell.Row = std::max(std::min(cell.Row, m_rows->Count() - 1), 0);
    cell = GetCursorCell(cell, coSelect);
}

void TCustomGridView::SetCursor(TGridCell cell, bool selected, bool visible)
{
    UpdateSelection(cell, selected);
    if (cell == m_cellFocused && selected == m_cellSelected) {
        if (visible)
            MakeCellVisible(m_cellFocused, false);
        return;
    }
    Changing(cell, selected);
    if (cell != m_cellFocused) {
        CancelCellTips();
        SetEditing(false);
        HideCursor();
        m_cellFocused = cell;
        m_cellSelected = selected;
        if (visible)
            MakeCellVisible(cell, false);
        ShowCursor();
    } else if (selected != m_cellSelected) {
        if (m_editing) {
            ShowEdit();
        } else {
            HideCursor();
            m_cellSelected = selected;
            if (visible)
                MakeCellVisible(cell, false);
            ShowCursor();
        }
    }
    Change(m_cellFocused, m_cellSelected);
}

void TCustomGridView::MakeCellVisible(const TGridCell &cell, bool partialOK)
{
    if (IsCellVisible(cell, partialOK))
        return;
    const TRect r = GetCellRect(cell);
    const TRect grid = GetGridRect();
    int dx = 0;
    int dy = 0;
    if (!m_rowSelect) {
        const int left = grid.Left + GetFixedWidth();
        const int right = grid.Right;
        if (r.Right > right)
            dx = right - r.Right;
        if (r.Left < left || r.Width() > right - left)
            dx = left - r.Left;
    }
    const int height = m_rows->Height();
    if (height > 0) {
        if (r.Bottom > grid.Bottom)
            dy = grid.Bottom - r.Bottom;
        if (r.Top < grid.Top || r.Height() > grid.Height())
            dy = grid.Top - r.Top;
        const bool remainder = dy % height != 0;
        dy /= height;
        if (m_visSize.Row > 1 && remainder)
            --dy;
    }
    m_vertScrollBar->SetPosition(m_vertScrollBar->Position() - dy);
    m_horzScrollBar->SetPosition(m_horzScrollBar->Position() - dx);
}

void TCustomGridView::UpdateCursor()
{
    TGridCell cell = m_cellFocused;
    bool visible = false;
    if (!IsCellAcceptCursor(cell)) {
        bool selected = m_cellSelected;
        TGridCell clamped = cell;
        UpdateSelection(clamped, selected);
        if (clamped == cell)
            clamped = GetCursorCell(clamped, coFirst);
        visible = clamped != cell;
        cell = clamped;
    }
    SetCursor(cell, m_cellSelected, visible);
}

bool TCustomGridView::FindText(const QString &text, TGridCell &cell, TGridFindOptions options)
{
    const int step = (options & frDown) ? 1 : -1;
    for (int row = cell.Row + step; row >= 0 && row < m_rows->Count(); row += step) {
        for (int col = 0; col < m_columns->Count(); ++col) {
            if (m_columns->Columns(col)->Width() <= 0)
                continue;
            const QString cellText = GetCellText(GridCell(col, row));
            if (!cellText.isEmpty() &&
                AnsiCompareStrings(text, cellText, options & frWholeWord, options & frMatchCase)) {
                cell = GridCell(col, row);
                return true;
            }
        }
    }
    cell = GridCell(-1, -1);
    return false;
}

void TCustomGridView::Changing(TGridCell &cell, bool &selected)
{
    if (OnChanging)
        OnChanging(this, cell, selected);
}

void TCustomGridView::Change(const TGridCell &cell, bool selected)
{
    if (OnChange)
        OnChange(this, cell, selected);
}

void TCustomGridView::CellClick(const TGridCell &cell, TShiftState shift, int x, int y)
{
    if (OnCellClick)
        OnCellClick(this, cell, shift, x, y);
}

// --- Cursor display and editing ------------------------------------------------

void TCustomGridView::ShowCursor()
{
    if (IsFocusAllowed())
        ShowFocus();
    else
        ShowEdit();
}

void TCustomGridView::HideCursor()
{
    if (IsFocusAllowed())
        HideFocus();
    else
        HideEdit();
}

void TCustomGridView::ShowFocus()
{
    InvalidateFocus();
}

void TCustomGridView::HideFocus()
{
    InvalidateFocus();
}

void TCustomGridView::ShowEdit()
{
    UpdateEdit(true);
}

// --- Unit ----------------------------------------------------------------------

void InitializeGridViewUnit()
{
    DescribeProperties<TGridColumn>()
            .Stored("PickList", &TCustomGridColumn::HasPickList)
            .Stored("Width", [](const TObject *) { return false; });
    DescribeProperties<TGridHeaderSection>()
            .Stored("Sections", &TGridHeaderSection::IsSectionsStored)
            .Default("Width", TGridHeaderSection::DefaultWidth)
            .Stored("Width", &TGridHeaderSection::IsWidthStored);
    DescribeProperties<TGridHeader>()
            .TypeName("Color", QStringLiteral("TColor"))
            .Stored("Color", &TCustomGridHeader::IsColorStored)
            .Stored("Font", &TCustomGridHeader::IsFontStored)
            .Stored("Sections", &TCustomGridHeader::IsSectionsStored);
    DescribeProperties<TGridFixed>().TypeName("Color", QStringLiteral("TColor"));
    DescribeProperties<TGridView>().TypeName("GridColor", QStringLiteral("TColor"));
}
