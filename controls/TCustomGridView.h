#pragma once

// TCustomGridView: an owner-drawn virtual grid.
//
// The grid stores no cell data.  Every text and colour is asked of the
// owner through events at the moment it is needed (OnGetCellText,
// OnGetCellColors ...).  The grid keeps its layout in companion objects:
// the columns, the header with its section tree, the rows (one common
// height), the band of fixed columns at the left and two scroll bars that
// count pixels horizontally and rows vertically.
//
// The cursor is the focused cell (CellFocused).  It moves by keys, mouse
// and SetCursor, and only to cells that accept it: valid, visible, wider
// than 0, not fixed and in a TabStop column.  Every move fires OnChanging
// (which may redirect it) and then OnChange.
//
// Create a grid with NewObject<TGridView>(owner): the companions are made
// by the virtual factories once the object is complete.
//
// Geometry is in client coordinates.  The focus rectangle and the column
// resize line are drawn from the grid's state inside Paint.

#include "controls/GridTypes.h"
#include "controls/TGridColumns.h"
#include "controls/TGridFixed.h"
#include "controls/TGridHeader.h"
#include "controls/TGridRows.h"
#include "controls/TGridScrollBar.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/graphics/ImageList.h"
#include "toolkit/widgets/TCustomControl.h"

#include <QImage>

#include <memory>

class TBitmap;

class TCustomGridEdit;
struct TGridEditClass;
class TGridTipsWindow;
class TStrings;

class TCustomGridView : public TCustomControl
{
    Q_OBJECT

public:
    explicit TCustomGridView(TComponent *owner);
    ~TCustomGridView() override;

    void AfterConstruction() override;

    using TControl::SetCursor;

    // --- Companions -----------------------------------------------------------

    // The setters copy the given settings into the grid's own companions.
    TGridScrollBar *HorzScrollBar() const { return m_horzScrollBar.get(); }
    void SetHorzScrollBar(const TGridScrollBar *value) { m_horzScrollBar->Assign(value); }
    TGridScrollBar *VertScrollBar() const { return m_vertScrollBar.get(); }
    void SetVertScrollBar(const TGridScrollBar *value) { m_vertScrollBar->Assign(value); }
    TCustomGridHeader *Header() const { return m_header.get(); }
    void SetHeader(const TCustomGridHeader *value) { m_header->Assign(value); }
    TGridColumns *Columns() const { return m_columns.get(); }
    void SetColumns(const TGridColumns *value) { m_columns->Assign(value); }
    TCustomGridRows *Rows() const { return m_rows.get(); }
    void SetRows(const TCustomGridRows *value) { m_rows->Assign(value); }
    TCustomGridFixed *Fixed() const { return m_fixed.get(); }
    void SetFixed(const TCustomGridFixed *value) { m_fixed->Assign(value); }
    TImageList *Images() const { return m_images; }
    void SetImages(TImageList *images);
    // The platform has no flat scroll bars: the flag stays off whatever is
    // asked.
    bool FlatScrollBars() const { return false; }
    void SetFlatScrollBars(bool) {}

    // --- Cursor ---------------------------------------------------------------

    TGridCell CellFocused() const { return m_cellFocused; }
    void SetCellFocused(const TGridCell &cell) { SetCursor(cell, m_cellSelected, true); }
    bool CellSelected() const { return m_cellSelected; }
    void SetCellSelected(bool selected) { SetCursor(m_cellFocused, selected, true); }
    // First visible non-fixed column and first visible row; the number of
    // (partly) visible columns and rows.
    TGridCell VisOrigin() const { return m_visOrigin; }
    TGridCell VisSize() const { return m_visSize; }
    // The cell of the last completed left click, (-1, -1) after others.
    TGridCell ClickPos() const { return m_clickPos; }

    // --- Look -----------------------------------------------------------------

    bool FlatBorder() const { return m_flatBorder; }
    void SetFlatBorder(bool value);
    bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool value) { setLook(m_hideSelection, value); }
    bool ShowHeader() const { return m_showHeader; }
    void SetShowHeader(bool value);
    bool GridLines() const { return m_gridLines; }
    void SetGridLines(bool value) { setRowLook(m_gridLines, value); }
    int GridLineWidth() const { return m_gridLineWidth; }
    void SetGridLineWidth(int value) { setRowLook(m_gridLineWidth, value); }
    TGridStyles GridStyle() const { return m_gridStyle; }
    void SetGridStyle(TGridStyles value) { setRowLook(m_gridStyle, value); }
    TColor GridColor() const { return m_gridColor; }
    void SetGridColor(TColor value) { setLook(m_gridColor, value); }
    bool EndEllipsis() const { return m_endEllipsis; }
    void SetEndEllipsis(bool value) { setLook(m_endEllipsis, value); }
    bool ShowFocusRect() const { return m_showFocusRect; }
    void SetShowFocusRect(bool value) { setLook(m_showFocusRect, value); }
    bool AlwaysSelected() const { return m_alwaysSelected; }
    void SetAlwaysSelected(bool value);
    bool RowSelect() const { return m_rowSelect; }
    // Turning it on turns AllowEdit off.
    void SetRowSelect(bool value);
    bool RightClickSelect() const { return m_rightClickSelect; }
    void SetRightClickSelect(bool value) { m_rightClickSelect = value; }
    bool AllowSelect() const { return m_allowSelect; }
    void SetAllowSelect(bool value);
    bool FocusOnScroll() const { return m_focusOnScroll; }
    void SetFocusOnScroll(bool value) { m_focusOnScroll = value; }
    TGridCursorKeys CursorKeys() const { return m_cursorKeys; }
    // gkMouseMove needs gkMouse and is dropped without it.
    void SetCursorKeys(TGridCursorKeys value);

    int TextLeftIndent() const { return m_textLeftIndent; }
    void SetTextLeftIndent(int value) { setLook(m_textLeftIndent, value); }
    int TextRightIndent() const { return m_textRightIndent; }
    void SetTextRightIndent(int value) { setLook(m_textRightIndent, value); }
    int TextTopIndent() const { return m_textTopIndent; }
    void SetTextTopIndent(int value) { setRowLook(m_textTopIndent, value); }
    int ImageLeftIndent() const { return m_imageLeftIndent; }
    void SetImageLeftIndent(int value) { setLook(m_imageLeftIndent, value); }
    int ImageTopIndent() const { return m_imageTopIndent; }
    void SetImageTopIndent(int value) { setRowLook(m_imageTopIndent, value); }
    bool ImageHighlight() const { return m_imageHighlight; }
    void SetImageHighlight(bool value) { setLook(m_imageHighlight, value); }

    bool CheckBoxes() const { return m_checkBoxes; }
    void SetCheckBoxes(bool value) { setRowLook(m_checkBoxes, value); }
    int CheckWidth() const { return m_checkWidth; }
    void SetCheckWidth(int value) { setLook(m_checkWidth, value); }
    int CheckHeight() const { return m_checkHeight; }
    void SetCheckHeight(int value) { setRowLook(m_checkHeight, value); }
    int CheckLeftIndent() const { return m_checkLeftIndent; }
    void SetCheckLeftIndent(int value) { setLook(m_checkLeftIndent, value); }
    int CheckTopIndent() const { return m_checkTopIndent; }
    void SetCheckTopIndent(int value) { setRowLook(m_checkTopIndent, value); }

    bool ColumnsSizing() const { return m_columnsSizing; }
    void SetColumnsSizing(bool value) { m_columnsSizing = value; }
    bool ColumnsFullDrag() const { return m_columnsFullDrag; }
    void SetColumnsFullDrag(bool value) { m_columnsFullDrag = value; }
    bool ColumnClick() const { return m_columnClick; }
    void SetColumnClick(bool value) { m_columnClick = value; }
    bool DoubleBuffered() const { return m_doubleBuffered; }
    void SetDoubleBuffered(bool value) { m_doubleBuffered = value; }

    // --- Editing --------------------------------------------------------------

    bool AllowEdit() const { return m_allowEdit; }
    // Turning it off also turns AlwaysEdit off and hides the editor.
    void SetAllowEdit(bool value);
    bool AlwaysEdit() const { return m_alwaysEdit; }
    // Turning it on also turns AllowEdit on and starts editing.
    void SetAlwaysEdit(bool value);
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value) { m_readOnly = value; }
    bool Editing() const { return m_editing; }
    void SetEditing(bool value);
    TGridCell EditCell() const { return m_editCell; }
    // The in-place editor, created when first shown.
    TCustomGridEdit *Edit() const { return m_edit; }
    // The cell whose text the tips window shows, (-1, -1) for none.
    TGridCell TipsCell() const { return m_tipsCell; }
    bool CancelOnExit() const { return m_cancelOnExit; }
    void SetCancelOnExit(bool value) { m_cancelOnExit = value; }
    bool ShowCellTips() const { return m_showCellTips; }
    // Turning it on turns ShowHint on; turning ShowHint off turns it off.
    void SetShowCellTips(bool value);
    void SetShowHint(bool show) override;

    // --- Geometry -------------------------------------------------------------

    virtual TRect GetHeaderRect() const;
    virtual TRect GetGridRect() const;
    virtual TRect GetFixedRect() const;
    int GetFixedWidth() const;
    // Total width of columns first..last.
    int GetColumnsWidth(int first, int last) const;
    // X: -horizontal position; Y: -row height x vertical position.
    TPoint GridOrigin() const;
    void GetColumnLeftRight(int col, int &left, int &right) const;
    void GetRowTopBottom(int row, int &top, int &bottom) const;
    TRect GetCellRect(const TGridCell &cell) const;
    TRect GetColumnRect(int col) const;
    TRect GetRowRect(int row) const;
    virtual int GetColumnAt(int x, int y) const;
    virtual int GetRowAt(int x, int y) const;
    virtual TGridCell GetCellAt(int x, int y) const;
    // The cell's text area: the cell without check glyph, image and grid
    // lines.
    virtual TRect GetEditRect(const TGridCell &cell) const;
    virtual TRect GetFocusRect() const;
    // Whether the cell lies (partly, with partialOK) within the visible
    // scrolling area.
    bool IsCellVisible(const TGridCell &cell, bool partialOK) const;
    bool IsCellValid(const TGridCell &cell) const;

    // --- Cursor movement ------------------------------------------------------

    virtual bool IsCellAcceptCursor(const TGridCell &cell) const;
    virtual TGridCell GetCursorCell(const TGridCell &cell, TGridCursorOffset offset) const;
    virtual void SetCursor(TGridCell cell, bool selected, bool visible);
    virtual void MakeCellVisible(const TGridCell &cell, bool partialOK);
    // Keeps the cursor where it is when it may stay, else finds a place.
    virtual void UpdateCursor();
    // Searches the cell texts from the row after (or before) cell's row.
    virtual bool FindText(const QString &text, TGridCell &cell, TGridFindOptions options);
    // True when the cursor is shown as a focus rectangle and selection
    // colours rather than by the editor.
    bool IsFocusAllowed() const;

    // --- Updates --------------------------------------------------------------

    virtual void UpdateScrollBars();
    virtual void UpdateScrollPos();
    virtual void UpdateVisOriginSize();
    virtual void UpdateHeader();
    virtual void UpdateRows();
    virtual void UpdateFixed();
    virtual void UpdateColors();
    virtual void UpdateFonts();
    virtual void UpdateEdit(bool activate);
    // While editing, shows the editor again with the cell's current text,
    // or keeping what was typed so far with saveText.
    virtual void UpdateEditContents(bool saveText);
    // What the automatic row height depends on.
    TGridRowMetrics RowMetrics() const;

    // While locked (nested), invalidation does nothing.
    void LockUpdate() { ++m_lockUpdate; }
    void UnLockUpdate(bool redraw);
    int LockUpdateCount() const { return m_lockUpdate; }
    void Invalidate() override;
    void InvalidateRect(const TRect &rect) override;
    void InvalidateCell(const TGridCell &cell);
    void InvalidateColumn(int col);
    void InvalidateRow(int row);
    void InvalidateGrid();
    void InvalidateHeader();
    virtual void InvalidateFocus();
    // The scroll bar moved by shift pixels.
    void ScrollContents(TScrollBarKind kind, int shift);

    // --- Cell queries ---------------------------------------------------------

    virtual QString GetCellText(const TGridCell &cell);
    virtual void GetCellColors(const TGridCell &cell, TCanvas *canvas);
    virtual bool IsCellReadOnly(const TGridCell &cell);
    virtual bool EditCanShow(const TGridCell &cell);
    virtual TGridCheckKind GetCheckKind(const TGridCell &cell) const;
    virtual TCheckBoxState GetCheckState(const TGridCell &cell) const;
    virtual TAlignment GetCheckAlignment(const TGridCell &cell) const;
    virtual TPoint GetCheckIndent(const TGridCell &cell) const;
    virtual TRect GetCheckRect(const TGridCell &cell) const;
    virtual int GetCellImage(const TGridCell &cell) const;
    virtual TPoint GetCellImageIndent(const TGridCell &cell) const;
    virtual TRect GetCellImageRect(const TGridCell &cell) const;
    virtual TPoint GetCellTextIndent(const TGridCell &cell) const;
    bool IsCellHasCheck(const TGridCell &cell) const;
    bool IsCellHasImage(const TGridCell &cell) const;
    bool IsHeaderHasImage(const TGridHeaderSection *section) const;
    virtual int GetHeaderImage(const TGridHeaderSection *section) const;
    // The colour and font of a header section.
    virtual void GetHeaderColors(const TGridHeaderSection *section, TCanvas *canvas) const;
    // The sort arrow a section shows (none by default) and its picture,
    // whose pixels of colour clSilver are transparent.
    virtual TGridSortDirection GetSortDirection(const TGridHeaderSection *section) const;
    virtual QImage GetSortImage(const TGridHeaderSection *section, TGridSortDirection direction) const;
    // The glyph of a gcUserDefine check, drawn with its transparent colour.
    virtual TBitmap *GetCheckImage(const TGridCell &cell) const;
    virtual TColor GetGridLineColor(TColor background) const;
    // The DT_ flags a cell's text is drawn with.
    virtual unsigned GetTextFlags(const TGridCell &cell) const;

    // --- Editor queries (see TCustomGridViewEdit.cpp) ---------------------------

    virtual QString GetEditText(const TGridCell &cell);
    virtual void SetEditText(const TGridCell &cell, QString &value);
    virtual TGridEditStyle GetEditStyle(const TGridCell &cell);
    virtual QString GetEditMask(const TGridCell &cell);
    // Fills items with the column's pick list, then asks OnGetEditList.
    virtual void GetEditList(const TGridCell &cell, TStrings *items);
    // May change the screen rectangle of the drop-down list.
    virtual void GetEditListBounds(const TGridCell &cell, TRect &rect);
    virtual bool EditCanModify(const TGridCell &cell);
    virtual bool EditAcceptKey(const TGridCell &cell, QChar key);
    virtual bool EditCanUndo(const TGridCell &cell);
    virtual void EditButtonPress(const TGridCell &cell);
    virtual void EditChange(const TGridCell &cell);
    virtual void EditCloseUp(const TGridCell &cell, int itemIndex, bool &accept);
    virtual void EditSelectNext(const TGridCell &cell, QString &value);
    virtual void EditCanceled(const TGridCell &cell);

    // --- Cell tips (see TCustomGridViewTips.cpp) --------------------------------

    // The rectangle a tip may cover for the cell, in client coordinates.
    virtual TRect GetCellHintRect(const TGridCell &cell);
    // The bounds of the cell's text drawn from the origin.
    virtual TRect GetCellTextBounds(const TGridCell &cell);
    // Where the tips window shows the cell, in client coordinates.
    virtual TRect GetTipsRect(const TGridCell &cell);
    virtual QString GetTipsText(const TGridCell &cell);
    // Shows the tip for the cell under the client point when its text is
    // clipped; answers whether a tip shows.
    bool ShowCellTipsAt(const TPoint &point);
    virtual void CancelCellTips();
    TGridTipsWindow *TipsWindow() const { return m_tipsWindow; }

    // --- Factories ------------------------------------------------------------

    virtual TCustomGridColumn *CreateColumn(TGridColumns *columns);
    virtual TGridHeaderSection *CreateHeaderSection(TGridHeaderSections *sections);

    // --- Events ---------------------------------------------------------------

    TGridTextEvent OnGetCellText;
    TGridCellColorsEvent OnGetCellColors;
    TGridCellReadOnlyEvent OnGetCellReadOnly;
    TGridChangingEvent OnChanging;
    TGridChangedEvent OnChange;
    TGridCellClickEvent OnCellClick;
    // In-place editing.
    TGridEditStyleEvent OnGetEditStyle;
    TGridTextEvent OnGetEditText;
    TGridTextEvent OnSetEditText;
    TGridEditListEvent OnGetEditList;
    TGridEditCanModifyEvent OnEditCanModify;
    TGridEditCanShowEvent OnEditCanShow;
    TGridEditAcceptKeyEvent OnEditAcceptKey;
    TGridCellNotifyEvent OnEditButtonPress;
    TGridEditSelectNextEvent OnEditSelectNext;
    TGridEditCloseUpEvent OnEditCloseUp;
    TGridCellNotifyEvent OnEditChange;
    TGridCellNotifyEvent OnEditCanceled;

    void KeyDown(int &key, TShiftState shift) override;
    void KeyPress(QChar &key) override;
    void Loaded() override;
    void Notification(TComponent *component, TOperation operation) override;
    void ChangeScale(int multiplier, int divider) override;

protected:
    // Factories of the companions.
    virtual TGridScrollBar *CreateScrollBar(TScrollBarKind kind);
    virtual TCustomGridHeader *CreateHeader();
    virtual TGridColumns *CreateColumns();
    virtual TCustomGridRows *CreateRows();
    virtual TCustomGridFixed *CreateFixed();
    virtual TCollectionItemClass GetColumnClass() const;
    // The editor class; an editor of another class is replaced.
    virtual TGridEditClass GetEditClass(const TGridCell &cell) const;
    virtual TCustomGridEdit *CreateEdit(const TGridEditClass &editClass);
    // A TGridTipsWindow class whose owner constructor is Q_INVOKABLE.
    virtual const QMetaObject *GetTipsWindowClass() const;
    // May the tips show for the cell.
    virtual bool CellTips(const TGridCell &cell);

    // Notifications.
    virtual void Changing(TGridCell &cell, bool &selected);
    virtual void Change(const TGridCell &cell, bool selected);
    virtual void CellClick(const TGridCell &cell, TShiftState shift, int x, int y);
    virtual void CheckClick(const TGridCell &cell) { Q_UNUSED(cell); }
    virtual void ColumnsChange();
    virtual void RowsChange();
    virtual void FixedChange();
    virtual void EditingChange() {}
    virtual void ColumnAutoSize(int column, int &width);
    virtual void ColumnResizing(int column, int &width);
    virtual void ColumnResize(int column, int &width);
    virtual bool HeaderClicking(TGridHeaderSection *section);
    virtual void HeaderClick(TGridHeaderSection *section);
    virtual void AcceptCursor(const TGridCell &cell, bool &accept) const;

    // Cursor display.
    virtual void ShowCursor();
    virtual void HideCursor();
    virtual void ShowFocus();
    virtual void HideFocus();
    virtual void ShowEdit();
    virtual void HideEdit();
    // Applies the editor's text to the cell.
    virtual void ApplyEdit();
    // Escape under AlwaysEdit: the editor takes back what was typed.
    virtual void UndoEdit();
    // A character typed on the grid starts editing and goes to the editor.
    virtual void ShowEditChar(QChar ch);
    // Hides the editor without applying and tells the owner.
    virtual void CancelEdit();
    virtual void ResetClickPos() { m_clickPos = GridCell(-1, -1); }
    virtual void UpdateSelection(TGridCell &cell, bool &selected) const;

    // Painting (see TCustomGridViewPaint.cpp).  Every painter draws on
    // PaintCanvas: the control's canvas, or the one PaintTo was given.
    void Paint() override;
    void PaintTo(TCanvas *canvas);
    TCanvas *PaintCanvas() const { return m_paintCanvas; }
    virtual void PaintCells();
    virtual void PaintCell(const TGridCell &cell, const TRect &rect);
    virtual void DrawCell(const TGridCell &cell, const TRect &rect);
    virtual void PaintCheck(const TGridCell &cell, const TRect &rect);
    virtual void PaintText(const TGridCell &cell, const TRect &rect);
    virtual void PaintFixed();
    virtual void PaintFixedGridLines();
    virtual void PaintFreeField();
    virtual void PaintFocus();
    virtual void PaintGridLines();
    virtual void PaintHeaders(bool drawFixed);
    virtual void PaintHeader(TGridHeaderSection *section, const TRect &rect);
    virtual void PaintResizeLine();
    // The lines of the grid: one polyline per line.
    QList<QList<TPoint>> GridLinePolylines() const;

    // Input.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool DoMouseWheelDown(TShiftState shift, const QPoint &mousePos) override;
    bool DoMouseWheelUp(TShiftState shift, const QPoint &mousePos) override;
    bool WantsKey(int key) const override;
    // Cell tips answer the window's tool-tip requests.
    bool HandleInputEvent(QEvent *event) override;
    void ScrollMessage(TScrollBarKind kind, TScrollCode code, int pos) override;

    // Window.
    void CreateWnd() override;
    void Resize() override;
    void Changed() override;
    void FocusIn() override;
    void FocusOut() override;

    // The section whose divider lies under (x, y), nullptr for none.
    TGridHeaderSection *GetResizeSectionAt(int x, int y) const;
    TGridHeaderSection *GetSectionAt(int x, int y) const;
    // Starts dragging the section's divider from the client x.
    void startColumnResize(TGridHeaderSection *section, int x);

private:
    template <class T>
    void setLook(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        Invalidate();
    }
    // A setting the automatic row height and the editor's place depend on.
    template <class T>
    void setRowLook(T &field, const T &value)
    {
        if (field == value)
            return;
        field = value;
        UpdateRows();
        UpdateEdit(m_editing);
        Invalidate();
    }

    void hookCompanions();
    void updateAll();
    void validateEdit();
    void moveCursor(TGridCursorOffset offset, TGridCell from);
    void resizeColumnTo(int x);
    void endColumnResize(bool apply);
    void applySectionWidth(int width);
    void autoSizeColumn(TGridHeaderSection *section);
    TCustomGridColumn *resizeColumn() const;
    int clampResizeWidth(int width) const;
    bool gridFocused() const;

    std::unique_ptr<TGridScrollBar> m_horzScrollBar;
    std::unique_ptr<TGridScrollBar> m_vertScrollBar;
    std::unique_ptr<TCustomGridHeader> m_header;
    std::unique_ptr<TGridColumns> m_columns;
    std::unique_ptr<TCustomGridRows> m_rows;
    std::unique_ptr<TCustomGridFixed> m_fixed;
    TImageList *m_images = nullptr;
    // Repaints the grid when the image list changes.
    TChangeLink m_imagesLink;

    TGridCell m_cellFocused;
    bool m_cellSelected = false;
    TGridCell m_visOrigin;
    TGridCell m_visSize;
    TGridCell m_clickPos = GridCell(-1, -1);

    bool m_flatBorder = false;
    bool m_hideSelection = false;
    bool m_showHeader = true;
    bool m_gridLines = true;
    int m_gridLineWidth = 1;
    TGridStyles m_gridStyle = gsHorzLine | gsVertLine;
    TColor m_gridColor = clSilver;
    bool m_endEllipsis = true;
    bool m_showFocusRect = true;
    bool m_alwaysSelected = false;
    bool m_rowSelect = false;
    bool m_rightClickSelect = true;
    bool m_allowSelect = true;
    bool m_focusOnScroll = false;
    TGridCursorKeys m_cursorKeys = gkArrows | gkMouse | gkMouseWheel;
    int m_textLeftIndent = 6;
    int m_textRightIndent = 6;
    int m_textTopIndent = 2;
    int m_imageLeftIndent = 2;
    int m_imageTopIndent = 1;
    bool m_imageHighlight = true;
    bool m_checkBoxes = false;
    int m_checkWidth = 16;
    int m_checkHeight = 16;
    int m_checkLeftIndent = 0;
    int m_checkTopIndent = 0;
    bool m_columnsSizing = true;
    bool m_columnsFullDrag = true;
    bool m_columnClick = true;
    bool m_doubleBuffered = true;

    bool m_allowEdit = false;
    bool m_alwaysEdit = false;
    bool m_readOnly = false;
    bool m_editing = false;
    TGridCell m_editCell = GridCell(-1, -1);
    TCustomGridEdit *m_edit = nullptr;
    TGridCell m_tipsCell = GridCell(-1, -1);
    TGridTipsWindow *m_tipsWindow = nullptr;
    // The visible part of the tips cell; leaving it hides the tip.
    TRect m_tipsVisibleRect;
    bool m_cancelOnExit = true;
    bool m_showCellTips = false;

    int m_lockUpdate = 0;
    TCanvas *m_paintCanvas = nullptr;

    // Column resizing by the mouse.
    TGridHeaderSection *m_resizeSection = nullptr;
    bool m_resizing = false;
    int m_resizeOffset = 0; // mouse x minus the section's right edge
    int m_resizeWidth = 0;
    int m_resizeLineX = 0;
    // A header section held down by the mouse.
    TGridHeaderSection *m_clickSection = nullptr;
    bool m_headerClicking = false;
    bool m_headerPressed = false;
};

// The published form.
class TGridView : public TCustomGridView
{
    Q_OBJECT
    Q_PROPERTY(TGridScrollBar *HorzScrollBar READ HorzScrollBar WRITE SetHorzScrollBar)
    Q_PROPERTY(TGridScrollBar *VertScrollBar READ VertScrollBar WRITE SetVertScrollBar)
    Q_PROPERTY(bool FlatScrollBars READ FlatScrollBars WRITE SetFlatScrollBars)
    Q_PROPERTY(TCustomGridHeader *Header READ Header WRITE SetHeader)
    Q_PROPERTY(TGridColumns *Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(TCustomGridRows *Rows READ Rows WRITE SetRows)
    Q_PROPERTY(TCustomGridFixed *Fixed READ Fixed WRITE SetFixed)
    Q_PROPERTY(TImageList *Images READ Images WRITE SetImages)
    Q_PROPERTY(bool FlatBorder READ FlatBorder WRITE SetFlatBorder)
    Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
    Q_PROPERTY(bool ShowHeader READ ShowHeader WRITE SetShowHeader)
    Q_PROPERTY(bool GridLines READ GridLines WRITE SetGridLines)
    Q_PROPERTY(int GridLineWidth READ GridLineWidth WRITE SetGridLineWidth)
    Q_PROPERTY(GridTypes::TGridStyles GridStyle READ GridStyle WRITE SetGridStyle)
    Q_PROPERTY(TColor GridColor READ GridColor WRITE SetGridColor)
    Q_PROPERTY(bool EndEllipsis READ EndEllipsis WRITE SetEndEllipsis)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE SetShowFocusRect)
    Q_PROPERTY(bool AlwaysSelected READ AlwaysSelected WRITE SetAlwaysSelected)
    Q_PROPERTY(bool RowSelect READ RowSelect WRITE SetRowSelect)
    Q_PROPERTY(bool RightClickSelect READ RightClickSelect WRITE SetRightClickSelect)
    Q_PROPERTY(bool AllowSelect READ AllowSelect WRITE SetAllowSelect)
    Q_PROPERTY(bool FocusOnScroll READ FocusOnScroll WRITE SetFocusOnScroll)
    Q_PROPERTY(GridTypes::TGridCursorKeys CursorKeys READ CursorKeys WRITE SetCursorKeys)
    Q_PROPERTY(int TextLeftIndent READ TextLeftIndent WRITE SetTextLeftIndent)
    Q_PROPERTY(int TextRightIndent READ TextRightIndent WRITE SetTextRightIndent)
    Q_PROPERTY(int TextTopIndent READ TextTopIndent WRITE SetTextTopIndent)
    Q_PROPERTY(int ImageLeftIndent READ ImageLeftIndent WRITE SetImageLeftIndent)
    Q_PROPERTY(int ImageTopIndent READ ImageTopIndent WRITE SetImageTopIndent)
    Q_PROPERTY(bool ImageHighlight READ ImageHighlight WRITE SetImageHighlight)
    Q_PROPERTY(bool CheckBoxes READ CheckBoxes WRITE SetCheckBoxes)
    Q_PROPERTY(int CheckWidth READ CheckWidth WRITE SetCheckWidth)
    Q_PROPERTY(int CheckHeight READ CheckHeight WRITE SetCheckHeight)
    Q_PROPERTY(int CheckLeftIndent READ CheckLeftIndent WRITE SetCheckLeftIndent)
    Q_PROPERTY(int CheckTopIndent READ CheckTopIndent WRITE SetCheckTopIndent)
    Q_PROPERTY(bool ColumnsSizing READ ColumnsSizing WRITE SetColumnsSizing)
    Q_PROPERTY(bool ColumnsFullDrag READ ColumnsFullDrag WRITE SetColumnsFullDrag)
    Q_PROPERTY(bool ColumnClick READ ColumnClick WRITE SetColumnClick)
    Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE SetAllowEdit)
    Q_PROPERTY(bool AlwaysEdit READ AlwaysEdit WRITE SetAlwaysEdit)
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(bool ShowCellTips READ ShowCellTips WRITE SetShowCellTips)
    Q_PROPERTY(bool DoubleBuffered READ DoubleBuffered WRITE SetDoubleBuffered)
    Q_PROPERTY(bool CancelOnExit READ CancelOnExit WRITE SetCancelOnExit)

public:
    using TCustomGridView::TCustomGridView;
};

// Declares what the grid's form files keep of its columns and header.
void InitializeGridViewUnit();
