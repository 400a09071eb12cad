#pragma once

// TCustomInspector: a two-column property inspector on the grid view.
//
// Column 0 holds the read-only names, column 1 the values, whose editor is
// always shown.  The split line between the columns can be dragged; each
// column keeps at least 35 pixels.  A row the owner marks as a category
// (OnGetCategoryRow) spans both columns, shows column 0's text in
// CategoryFont and never shows the editor.
//
// GridMode chooses the look: gmInspector draws dotted separators and a
// sunken frame around the cursor row instead of grid lines, gmStandard the
// grid view's lines, gmNoGridLines nothing.

#include "controls/TCustomGridEdit.h"
#include "controls/TCustomGridView.h"

#include <memory>

namespace InspectorTypes {
Q_NAMESPACE

enum TInspectorGridMode { gmInspector, gmStandard, gmNoGridLines };
Q_ENUM_NS(TInspectorGridMode)

} // namespace InspectorTypes

using InspectorTypes::TInspectorGridMode;
using enum InspectorTypes::TInspectorGridMode;

TOOLKIT_EVENT(TInspectorCategoryRowEvent, void(TObject *sender, int row, bool &category))

// The inspector's cell editor: a square button, window colours.
class TInspectorEdit : public TGridEdit
{
    Q_OBJECT

public:
    using TGridEdit::TGridEdit;

    void UpdateBounds(bool scrollCaret) override;
    void UpdateColors() override;
    void Invalidate() override;
};

class TCustomInspector : public TCustomGridView
{
    Q_OBJECT

public:
    static constexpr int kMinColumnWidth = 35;

    explicit TCustomInspector(TComponent *owner);
    ~TCustomInspector() override;

    void AfterConstruction() override;

    TFont *NameFont() const { return m_nameFont.get(); }
    void SetNameFont(const TFont *font) { m_nameFont->Assign(font); }
    TFont *ValueFont() const { return m_valueFont.get(); }
    void SetValueFont(const TFont *font) { m_valueFont->Assign(font); }
    TFont *CategoryFont() const { return m_categoryFont.get(); }
    void SetCategoryFont(const TFont *font) { m_categoryFont->Assign(font); }
    TInspectorGridMode GridMode() const { return m_gridMode; }
    void SetGridMode(TInspectorGridMode mode);

    TInspectorCategoryRowEvent OnGetCategoryRow;

    virtual bool IsCategoryRow(int row);
    // Column 1 takes the width column 0 leaves; both keep 35 pixels.
    virtual void UpdateColumnsSize();

    void Loaded() override;
    void UpdateScrollBars() override;
    bool EditCanShow(const TGridCell &cell) override;
    void GetCellColors(const TGridCell &cell, TCanvas *canvas) override;
    QString GetCellText(const TGridCell &cell) override;
    TPoint GetCellTextIndent(const TGridCell &cell) const override;
    TRect GetCellHintRect(const TGridCell &cell) override;
    TRect GetTipsRect(const TGridCell &cell) override;
    void GetEditListBounds(const TGridCell &cell, TRect &rect) override;
    TRect GetEditRect(const TGridCell &cell) const override;
    TRect GetFocusRect() const override;
    TRect GetGridRect() const override;
    int GetColumnAt(int x, int y) const override;
    int GetRowAt(int x, int y) const override;

protected:
    TGridEditClass GetEditClass(const TGridCell &cell) const override;
    void ColumnsChange() override;
    void ColumnResizing(int column, int &width) override;
    void ShowCursor() override;
    void HideCursor() override;
    void ShowFocus() override {}
    void HideFocus() override {}
    void PaintFocus() override {}
    void PaintGridLines() override;
    void PaintCell(const TGridCell &cell, const TRect &rect) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void Resize() override;

    // Whether the client x lies on the split line between the columns.
    bool IsSplitZone(int x) const;

private:
    void fontChanged();
    void paintInspectorLines(const TGridCell &cell, const TRect &rect);

    std::unique_ptr<TFont> m_nameFont;
    std::unique_ptr<TFont> m_valueFont;
    std::unique_ptr<TFont> m_categoryFont;
    int m_sizingCount = 0;
    TInspectorGridMode m_gridMode = gmInspector;
};

// The published form.
class TInspectorGrid : public TCustomInspector
{
    Q_OBJECT
    Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE SetAllowEdit)
    Q_PROPERTY(bool AlwaysEdit READ AlwaysEdit WRITE SetAlwaysEdit)
    Q_PROPERTY(bool AlwaysSelected READ AlwaysSelected WRITE SetAlwaysSelected)
    Q_PROPERTY(ControlTypes::TFormBorderStyle BorderStyle READ BorderStyle WRITE SetBorderStyle)
    Q_PROPERTY(bool CancelOnExit READ CancelOnExit WRITE SetCancelOnExit)
    Q_PROPERTY(TFont *CategoryFont READ CategoryFont WRITE SetCategoryFont)
    Q_PROPERTY(bool ColumnsFullDrag READ ColumnsFullDrag WRITE SetColumnsFullDrag)
    Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
    Q_PROPERTY(bool DoubleBuffered READ DoubleBuffered WRITE SetDoubleBuffered)
    Q_PROPERTY(bool EndEllipsis READ EndEllipsis WRITE SetEndEllipsis)
    Q_PROPERTY(bool FlatBorder READ FlatBorder WRITE SetFlatBorder)
    Q_PROPERTY(TColor GridColor READ GridColor WRITE SetGridColor)
    Q_PROPERTY(InspectorTypes::TInspectorGridMode GridMode READ GridMode WRITE SetGridMode)
    Q_PROPERTY(GridTypes::TGridStyles GridStyle READ GridStyle WRITE SetGridStyle)
    Q_PROPERTY(TFont *NameFont READ NameFont WRITE SetNameFont)
    Q_PROPERTY(TCustomGridRows *Rows READ Rows WRITE SetRows)
    Q_PROPERTY(bool ShowCellTips READ ShowCellTips WRITE SetShowCellTips)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE SetShowFocusRect)
    Q_PROPERTY(TFont *ValueFont READ ValueFont WRITE SetValueFont)

public:
    using TCustomInspector::TCustomInspector;
};

// Registers the inspector classes and the defaults of their published
// properties.
void InitializeInspectorUnit();
