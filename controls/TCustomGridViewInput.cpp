// Keyboard, mouse and window events of the grid view.

#include "controls/TCustomGridView.h"

#include "controls/TCustomGridEdit.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/graphics/ImageList.h"

#include <QApplication>

#include <algorithm>
#include <functional>

namespace {

constexpr int kMaxSectionWidth = 10000;

// Width of the divider zone of a header section on one side of its edge:
// `wide` pixels, fewer beside narrow sections.
int dividerZone(int width, int wide)
{
    if (width < 10)
        return 1;
    if (width < 20)
        return 3;
    return wide;
}

// The first section of the tree, each before its subsections, that
// matches; siblings are walked from the last one when backwards.
TGridHeaderSection *findSection(TGridHeaderSections *sections, bool backwards,
                                const std::function<bool(TGridHeaderSection *)> &match)
{
    for (int n = 0; n < sections->Count(); ++n) {
        TGridHeaderSection *s = sections->Sections(backwards ? sections->Count() - 1 - n : n);
        if (match(s))
            return s;
        if (s->HasSections())
            if (TGridHeaderSection *found = findSection(s->Sections(), backwards, match))
                return found;
    }
    return nullptr;
}

bool isCharacterKey(QChar key)
{
    return key == QChar(VK_BACK) || key.unicode() >= 0x20;
}

} // namespace

// --- Keyboard ------------------------------------------------------------------

void TCustomGridView::moveCursor(TGridCursorOffset offset, TGridCell from)
{
    SetCursor(GetCursorCell(from, offset), true, true);
}

void TCustomGridView::KeyDown(int &key, TShiftState shift)
{
    TCustomControl::KeyDown(key, shift);
    if ((m_cursorKeys & gkArrows) && key >= VK_PRIOR && key <= VK_DOWN) {
        const bool ctrl = shift & ssCtrl;
        switch (key) {
        case VK_PRIOR:
            moveCursor(coPageUp, m_cellFocused);
            break;
        case VK_NEXT:
            moveCursor(coPageDown, m_cellFocused);
            break;
        case VK_HOME:
            moveCursor(ctrl ? coGridHome : coHome, m_cellFocused);
            break;
        case VK_END:
            moveCursor(ctrl ? coGridEnd : coEnd, m_cellFocused);
            break;
        case VK_LEFT:
            moveCursor(coLeft, m_cellFocused);
            if (m_rowSelect)
                m_horzScrollBar->SetPosition(m_horzScrollBar->Position() - m_horzScrollBar->LineStep());
            break;
        case VK_RIGHT:
            moveCursor(coRight, m_cellFocused);
            if (m_rowSelect)
                m_horzScrollBar->SetPosition(m_horzScrollBar->Position() + m_horzScrollBar->LineStep());
            break;
        case VK_UP:
            moveCursor(coUp, m_allowSelect ? m_cellFocused : GridCell(m_cellFocused.Col, m_visOrigin.Row));
            break;
        case VK_DOWN: {
            TGridCell from = m_cellFocused;
            if (!m_allowSelect) {
                from.Row = m_visOrigin.Row + m_visSize.Row - 1;
                if (!IsCellVisible(GridCell(from.Col, from.Row), false))
                    --from.Row;
            }
            moveCursor(coDown, from);
            break;
        }
        }
    }
    if ((m_cursorKeys & gkTabs) && key == VK_TAB && !(shift & (ssCtrl | ssAlt)))
        moveCursor((shift & ssShift) ? coPrev : coNext, m_cellFocused);
    if (key == VK_SPACE && !EditCanShow(m_cellFocused) && IsCellHasCheck(m_cellFocused))
        CheckClick(m_cellFocused);
}

void TCustomGridView::KeyPress(QChar &key)
{
    TCustomControl::KeyPress(key);
    if (key == QChar(VK_RETURN)) {
        key = QChar();
        if (m_editing) {
            SetEditing(false);
            if (m_cursorKeys & gkReturn)
                moveCursor(coNext, m_cellFocused);
        } else if (!m_alwaysEdit) {
            SetCursor(m_cellFocused, true, true);
            SetEditing(true);
        }
        return;
    }
    if (key == QChar(VK_ESCAPE)) {
        key = QChar();
        if (m_editing && m_alwaysEdit)
            UndoEdit();
        else if (m_editing)
            CancelEdit();
        return;
    }
    if (!key.isNull() && isCharacterKey(key) && m_allowEdit)
        ShowEditChar(key);
}

bool TCustomGridView::WantsKey(int key) const
{
    return key == VK_TAB && (m_cursorKeys & gkTabs) && !m_rowSelect;
}

// --- Mouse ---------------------------------------------------------------------

TGridHeaderSection *TCustomGridView::GetSectionAt(int x, int y) const
{
    return findSection(m_header->Sections(), false,
                       [&](TGridHeaderSection *s) { return s->BoundsRect().Contains(x, y); });
}

TGridHeaderSection *TCustomGridView::GetResizeSectionAt(int x, int y) const
{
    auto sizeable = [this](TGridHeaderSection *s) {
        const int index = s->ColumnIndex();
        if (index < 0 || index >= m_columns->Count())
            return true;
        return m_columnsSizing && !m_columns->Columns(index)->FixedSize();
    };
    auto nextWidth = [this](TGridHeaderSection *s) {
        const int next = s->ColumnIndex() + 1;
        return next < m_columns->Count() ? m_columns->Columns(next)->Width() : kMaxSectionWidth;
    };
    return findSection(m_header->Sections(), true, [&](TGridHeaderSection *s) {
        const TRect r = s->BoundsRect();
        return s->Visible() && y >= r.Top && y < r.Bottom && x >= r.Right - dividerZone(r.Width(), 7) &&
               x < r.Right + dividerZone(nextWidth(s), 5) && sizeable(s);
    });
}

TCustomGridColumn *TCustomGridView::resizeColumn() const
{
    const int index = m_resizeSection ? m_resizeSection->ColumnIndex() : -1;
    return index >= 0 && index < m_columns->Count() ? m_columns->Columns(index) : nullptr;
}

int TCustomGridView::clampResizeWidth(int width) const
{
    const TCustomGridColumn *column = resizeColumn();
    return column ? std::clamp(width, column->MinWidth(), column->MaxWidth()) : std::clamp(width, 0, kMaxSectionWidth);
}

void TCustomGridView::startColumnResize(TGridHeaderSection *section, int x)
{
    m_resizeSection = section;
    m_resizing = true;
    const TRect r = section->BoundsRect();
    m_resizeOffset = x - r.Right;
    m_resizeWidth = section->Width();
    m_resizeLineX = r.Right - 1;
    SetMouseCapture(true);
    Invalidate();
}

void TCustomGridView::resizeColumnTo(int x)
{
    const TRect r = m_resizeSection->BoundsRect();
    const int index = m_resizeSection->ColumnIndex();
    int width = clampResizeWidth(x - m_resizeOffset - r.Left);
    ColumnResizing(index, width);
    width = clampResizeWidth(width);
    m_resizeWidth = width;
    if (m_columnsFullDrag && resizeColumn())
        applySectionWidth(width);
    else
        m_resizeLineX = r.Left + width - 1;
    Invalidate();
}

void TCustomGridView::endColumnResize(bool apply)
{
    if (apply) {
        int width = clampResizeWidth(m_resizeWidth);
        ColumnResize(m_resizeSection->ColumnIndex(), width);
        applySectionWidth(clampResizeWidth(width));
    }
    m_resizing = false;
    m_resizeSection = nullptr;
    SetMouseCapture(false);
    Invalidate();
}

void TCustomGridView::applySectionWidth(int width)
{
    // A parent section passes the change on to the column of its last leaf.
    if (TCustomGridColumn *column = resizeColumn())
        column->SetWidth(column->Width() + width - m_resizeSection->Width());
    m_resizeSection->SetWidth(width);
}

void TCustomGridView::autoSizeColumn(TGridHeaderSection *section)
{
    const int index = section->ColumnIndex();
    if (index < 0 || index >= m_columns->Count())
        return;
    TCanvas *canvas = Canvas();
    int width = 0;
    for (int row = m_visOrigin.Row; row < m_visOrigin.Row + m_visSize.Row; ++row) {
        const TGridCell cell = GridCell(index, row);
        GetCellColors(cell, canvas);
        int cellWidth = canvas->TextWidth(GetCellText(cell)) + GetCellTextIndent(cell).X + m_textRightIndent;
        if (IsCellHasCheck(cell))
            cellWidth += m_checkWidth + GetCheckIndent(cell).X;
        if (IsCellHasImage(cell))
            cellWidth += m_images->Width() + GetCellImageIndent(cell).X;
        width = std::max(width, cellWidth);
    }
    ColumnAutoSize(index, width);
    ColumnResize(index, width);
    m_resizeSection = section;
    applySectionWidth(clampResizeWidth(width));
    m_resizeSection = nullptr;
}

void TCustomGridView::ColumnAutoSize(int, int &) {}
void TCustomGridView::ColumnResizing(int, int &) {}
void TCustomGridView::ColumnResize(int, int &) {}

bool TCustomGridView::HeaderClicking(TGridHeaderSection *section)
{
    return m_columnClick && section->AllowClick() && !section->HasSections();
}

void TCustomGridView::HeaderClick(TGridHeaderSection *) {}

void TCustomGridView::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (CanFocus() && !Focused())
        SetFocus();
    if (!Focused()) {
        SetMouseCapture(false);
        return;
    }
    if (button == mbRight) {
        if (m_resizing)
            endColumnResize(false);
        if (m_headerClicking) {
            m_headerClicking = false;
            m_clickSection = nullptr;
            SetMouseCapture(false);
            InvalidateHeader();
        }
    }
    if (button == mbLeft && m_showHeader && GetHeaderRect().Contains(x, y)) {
        if (TGridHeaderSection *section = GetResizeSectionAt(x, y)) {
            if (shift & ssDouble)
                autoSizeColumn(section);
            else
                startColumnResize(section, x);
        } else if (!(shift & ssDouble)) {
            if (TGridHeaderSection *section = GetSectionAt(x, y)) {
                if (!m_header->Flat() && HeaderClicking(section)) {
                    m_clickSection = section;
                    m_headerClicking = true;
                    m_headerPressed = true;
                    SetMouseCapture(true);
                    InvalidateHeader();
                } else {
                    HeaderClick(section);
                }
            }
        }
    }
    const bool selecting = button == mbLeft || (button == mbRight && m_rightClickSelect);
    if (selecting && (m_cursorKeys & gkMouse) && GetGridRect().Contains(x, y)) {
        const TGridCell cell = GetCellAt(x, y);
        const TGridCell lastClick = m_clickPos;
        ResetClickPos();
        if (IsCellEmpty(cell)) {
            SetEditing(false);
            SetCursor(m_cellFocused, false, false);
        } else {
            SetCursor(cell, true, true);
            CellClick(cell, shift, x, y);
            if (IsCellHasCheck(cell) && GetCheckRect(cell).Contains(x, y)) {
                CheckClick(cell);
            } else if (button == mbLeft) {
                if (cell == m_cellFocused && m_allowEdit && ((shift & ssDouble) || cell == lastClick))
                    SetEditing(true);
                else
                    m_clickPos = cell;
            }
        }
    }
    TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomGridView::MouseMove(TShiftState shift, int x, int y)
{
    if (m_resizing) {
        resizeColumnTo(x);
    } else if (m_headerClicking) {
        const bool pressed = GetSectionAt(x, y) == m_clickSection;
        if (pressed != m_headerPressed) {
            m_headerPressed = pressed;
            InvalidateHeader();
        }
    } else {
        const bool dragging = (shift & ssLeft) || ((shift & ssRight) && m_rightClickSelect);
        if (dragging && (m_cursorKeys & gkMouseMove)) {
            const TGridCell cell = GetCellAt(x, y);
            if (!IsCellEmpty(cell)) {
                SetCursor(cell, true, true);
                if (m_alwaysEdit)
                    SetEditing(true);
            }
        }
    }
    const bool split = m_resizing || (m_showHeader && GetHeaderRect().Contains(x, y) && GetResizeSectionAt(x, y));
    SetCursor(split ? crHSplit : crDefault);
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGridView::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        if (m_resizing)
            endColumnResize(true);
        if (m_headerClicking) {
            TGridHeaderSection *section = m_clickSection;
            const bool released = GetSectionAt(x, y) == section;
            m_headerClicking = false;
            m_headerPressed = false;
            m_clickSection = nullptr;
            SetMouseCapture(false);
            InvalidateHeader();
            if (released)
                HeaderClick(section);
        }
    }
    TCustomControl::MouseUp(button, shift, x, y);
}

bool TCustomGridView::DoMouseWheelDown(TShiftState shift, const QPoint &mousePos)
{
    if (TCustomControl::DoMouseWheelDown(shift, mousePos))
        return true;
    if (!(m_cursorKeys & gkMouseWheel))
        return false;
    moveCursor(coDown, m_cellFocused);
    return true;
}

bool TCustomGridView::DoMouseWheelUp(TShiftState shift, const QPoint &mousePos)
{
    if (TCustomControl::DoMouseWheelUp(shift, mousePos))
        return true;
    if (!(m_cursorKeys & gkMouseWheel))
        return false;
    moveCursor(coUp, m_cellFocused);
    return true;
}

void TCustomGridView::ScrollMessage(TScrollBarKind kind, TScrollCode code, int pos)
{
    (kind == sbHorizontal ? m_horzScrollBar : m_vertScrollBar)->ScrollMessage(code, pos);
}

// --- Window --------------------------------------------------------------------

void TCustomGridView::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollBars();
    m_horzScrollBar->Update();
    m_vertScrollBar->Update();
}

void TCustomGridView::Resize()
{
    TCustomControl::Resize();
    if (!m_columns)
        return;
    m_header->UpdateSections();
    UpdateScrollBars();
    UpdateVisOriginSize();
    UpdateEdit(m_editing);
    Invalidate();
}

void TCustomGridView::Changed()
{
    TCustomControl::Changed();
    if (!m_columns)
        return;
    UpdateColors();
    UpdateFonts();
    Invalidate();
}

void TCustomGridView::FocusIn()
{
    TCustomControl::FocusIn();
    ShowCursor();
    Invalidate();
}

void TCustomGridView::FocusOut()
{
    TCustomControl::FocusOut();
    // The focus going into the editor leaves the editor as it is; going
    // anywhere else, it ends the edit and takes the editor away.
    const QWidget *next = QApplication::focusWidget();
    const bool intoEditor = m_edit && next && (next == m_edit->Widget() || m_edit->Widget()->isAncestorOf(next));
    if (!intoEditor) {
        if (m_cancelOnExit && m_editing)
            SetEditing(false);
        HideCursor();
    }
    Invalidate();
}

void TCustomGridView::Loaded()
{
    TCustomControl::Loaded();
    UpdateFixed();
    UpdateHeader();
    UpdateColors();
    UpdateFonts();
    UpdateEdit(m_alwaysEdit);
    m_cellSelected = m_alwaysSelected;
    updateAll();
}

void TCustomGridView::Notification(TComponent *component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation != opRemove || !m_columns)
        return;
    if (component == m_images) {
        m_images = nullptr;
        updateAll();
    }
    if (component == m_header->Images())
        m_header->SetImages(nullptr);
}

void TCustomGridView::ChangeScale(int multiplier, int divider)
{
    TCustomControl::ChangeScale(multiplier, divider);
    if (multiplier == divider || divider == 0)
        return;
    auto scale = [&](int value) { return MulDiv(value, multiplier, divider); };
    m_columns->BeginUpdate();
    for (int i = 0; i < m_columns->Count(); ++i) {
        TCustomGridColumn *column = m_columns->Columns(i);
        column->SetMaxWidth(scale(column->MaxWidth()));
        column->SetMinWidth(scale(column->MinWidth()));
        column->SetDefWidth(scale(column->DefWidth()));
    }
    m_columns->EndUpdate();
    m_rows->SetHeight(scale(m_rows->Height()));
    m_header->SetSectionHeight(scale(m_header->SectionHeight()));
    for (TGridAppearance *part : {static_cast<TGridAppearance *>(m_header.get()), static_cast<TGridAppearance *>(m_fixed.get())})
        if (!part->GridFont())
            part->Font()->SetHeight(scale(part->Font()->Height()));
}
