#pragma once

// TCustomGridEdit: the in-place editor of a grid cell.
//
// A borderless edit laid over the cell being edited.  It stores no value:
// the grid (which asks its owner through events) gives it text, mask, style
// and list items, and takes the result back through its own events.  For
// every style but geSimple a button sits at the right edge: geEllipsis and
// geUserDefine fire the grid's EditButtonPress, gePickList and geDataList
// open a drop-down list.
//
// The drop-down list closes through CloseUp(accept).  Enter, Alt+Up or
// Alt+Down and a click on an item accept; only an accepted close-up reports
// a choice: a list closed by Escape, a click outside it or the loss of focus
// reports the item index -1 and keeps the text.

#include "controls/GridTypes.h"
#include "toolkit/widgets/TCustomEdit.h"

class TCanvas;
class TCustomGridEdit;
class TCustomGridView;
class TGridListBox;

// Where the drop-down list of an editor goes, in screen coordinates.
struct TGridListGeometry {
    int WidestItem = 0;   // text width of the widest item
    int ItemCount = 0;
    int ItemHeight = 0;
    int DropDownCount = 8;
    int CellWidth = 0;
    TRect EditRect;       // the editor, screen coordinates
    TRect ScreenRect;     // the screen (work area)
    int BorderHeight = 0; // the list's frame, top and bottom together
    int NonTextWidth = 0; // the list's frame, text margins and scroll bar
};

// The list's rectangle: as wide as the widest item's text and 6 pixels, or
// its NonTextWidth where that is more, and at least as wide as the cell
// (100 pixels for an empty list); one to DropDownCount items high, its right
// edge on the editor's right edge, below the editor, or above it where the
// screen ends.
TRect CalcGridListBounds(const TGridListGeometry &geometry);

// A class of cell editors: its meta-object and its constructor.
struct TGridEditClass {
    const QMetaObject *MetaObject = nullptr;
    TCustomGridEdit *(*Create)(TComponent *owner) = nullptr;
};

template <class T>
TGridEditClass GridEditClassOf()
{
    return {&T::staticMetaObject, [](TComponent *owner) -> TCustomGridEdit * { return NewObject<T>(owner); }};
}

class TCustomGridEdit : public TCustomMaskEdit
{
    Q_OBJECT

public:
    explicit TCustomGridEdit(TComponent *owner);
    ~TCustomGridEdit() override;

    TCustomGridView *Grid() const { return m_grid; }
    void SetGrid(TCustomGridView *grid);

    // Time stamp (ms) of the grid's last left click; a click on the editor
    // within the double-click time after it counts as a double click.
    qint64 ClickTime() const { return m_clickTime; }
    void SetClickTime(qint64 time) { m_clickTime = time; }

    TGridEditStyle EditStyle() const { return m_editStyle; }
    void SetEditStyle(TGridEditStyle style);
    bool WantReturns() const { return m_wantReturns; }
    void SetWantReturns(bool value) { m_wantReturns = value; }
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value) { m_wordWrap = value; }
    int DropDownCount() const { return m_dropDownCount; }
    void SetDropDownCount(int count) { m_dropDownCount = count; }
    int ButtonWidth() const { return m_buttonWidth; }
    void SetButtonWidth(int width);
    bool DroppedDown() const { return m_droppedDown; }
    TGridListBox *ActiveList() const { return m_activeList; }
    bool ButtonPressed() const { return m_buttonPressed; }
    // Set while the editor hands the focus back to the grid.
    bool Hiding() const { return m_hiding; }

    // The button's rectangle in client coordinates; empty for geSimple.
    TRect ButtonRect() const;
    bool HasButton() const { return m_editStyle != geSimple; }

    void DropDown();
    virtual void CloseUp(bool accept);
    // The next value of a list cell (OnEditSelectNext), selected whole.
    void SelectNext();
    // Shows the editor at its place, moving the focus into it when asked.
    void ShowEditor(bool setFocus);
    // Moves the focus from the grid into the shown editor once the event
    // that focused the grid is over.
    void TakeFocusLater();
    // Hides the editor; with the focus inside, gives it back to the grid.
    void HideEditor();
    // The text typed so far is taken back (Escape under AlwaysEdit).
    void UndoText();
    // A character typed while the grid had the focus.
    void PostChar(QChar ch);

    virtual void UpdateBounds(bool scrollCaret);
    virtual void UpdateColors();
    virtual void UpdateContents();
    virtual void UpdateStyle();

    void Invalidate() override;
    void KeyDown(int &key, TShiftState shift) override;
    void KeyPress(QChar &key) override;
    void DblClick() override;

protected:
    virtual TGridListBox *GetDropList();
    virtual void PaintButton(TCanvas *canvas, const TRect &rect);
    virtual void UpdateList();
    virtual void UpdateListBounds();
    virtual void UpdateListItems();
    virtual void UpdateListValue(bool accept);

    bool EditCanModify();
    void Change() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    bool WantsKey(int key) const override;
    void FocusOut() override;
    bool HandleInputEvent(QEvent *event) override;

private:
    bool isListStyle() const { return m_editStyle == gePickList || m_editStyle == geDataList; }
    bool listKeyDown(int &key, TShiftState shift);
    void pressButton();
    void setButtonPressed(bool pressed);
    void stopTracking();
    void listMouseUp(TObject *sender, TMouseButton button, TShiftState shift, int x, int y);
    void updateMargins(const TRect &editRect, const TRect &cellRect);
    // Presses on the grid window and, while the list is open, anywhere.
    void watchPress(QObject *watched, QEvent *event);

    TCustomGridView *m_grid = nullptr;
    qint64 m_clickTime = -1;
    TGridEditStyle m_editStyle = geSimple;
    bool m_wantReturns = false;
    bool m_wordWrap = false;
    int m_dropDownCount = 8;
    bool m_droppedDown = false;
    TGridListBox *m_dropList = nullptr;
    TGridListBox *m_activeList = nullptr;
    int m_buttonWidth;
    bool m_buttonTracking = false;
    bool m_buttonPressed = false;
    bool m_hiding = false;
    // Set while the grid loads the text: not a change of the user's.
    bool m_loading = false;
    // The mouse went down on the button and was dragged into the list.
    bool m_draggingIntoList = false;
    // The editor's own button widget, drawn over the edit's right edge.
    QWidget *m_button = nullptr;
    QObject *m_pressWatcher = nullptr;
};

// The published form.
class TGridEdit : public TCustomGridEdit
{
    Q_OBJECT

public:
    using TCustomGridEdit::TCustomGridEdit;
};
