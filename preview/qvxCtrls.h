#pragma once

// Small controls the preview stands on: a control that keeps its own
// scroll ranges and positions, the flat zoom combo box, and the narrow
// panel that holds controls inside a tool bar.

#include "toolkit/widgets/TComboBox.h"
#include "toolkit/widgets/TCustomControl.h"
#include "toolkit/widgets/TPanel.h"

// A control with scroll bars whose ranges, pages and positions it keeps
// itself.  Positions are clamped to 0..range - page; a bar whose page is
// larger than its range has nothing to scroll.  The user's actions on the
// bars go through the position setters, and every change of a position
// calls OnHScrollChange or OnVScrollChange.
class TqvxScrollWin : public TCustomControl
{
    Q_OBJECT

public:
    explicit TqvxScrollWin(TComponent *owner);

    int HorzPage() const { return m_horzPage; }
    void SetHorzPage(int value);
    int HorzPosition() const { return m_horzPosition; }
    void SetHorzPosition(int value);
    int HorzRange() const { return m_horzRange; }
    void SetHorzRange(int value);
    int VertPage() const { return m_vertPage; }
    void SetVertPage(int value);
    int VertPosition() const { return m_vertPosition; }
    void SetVertPosition(int value);
    int VertRange() const { return m_vertRange; }
    void SetVertRange(int value);
    // The steps of a page and of a line of the scroll bars.
    int LargeChange() const { return m_largeChange; }
    void SetLargeChange(int value) { m_largeChange = value; }
    int SmallChange() const { return m_smallChange; }
    void SetSmallChange(int value) { m_smallChange = value; }

    // The largest position the range and page allow (never below 0).
    static int ClampPosition(int value, int range, int page);

protected:
    // A position changed; descendants react.
    virtual void OnHScrollChange() {}
    virtual void OnVScrollChange() {}
    void Paint() override;
    void ScrollMessage(TScrollBarKind kind, TScrollCode code, int pos) override;

private:
    void applyScrollInfo(TScrollBarKind kind);

    int m_horzPage = 0;
    int m_horzPosition = 0;
    int m_horzRange = 0;
    int m_largeChange = 10;
    int m_smallChange = 1;
    int m_vertPage = 0;
    int m_vertPosition = 0;
    int m_vertRange = 0;
};

// A drop-down combo box painted flat: a thin frame and a narrow button with
// a small arrow, highlighted while the mouse is over it, its editor has the
// focus or its list is open.
class TqvxCustomComboBox : public TCustomComboBox
{
    Q_OBJECT

public:
    explicit TqvxCustomComboBox(TComponent *owner);

    int ButtonWidth() const { return m_buttonWidth; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value);
    // Width of the drop-down list; 0 gives the control's width.
    int ListWidth() const { return m_listWidth; }
    void SetListWidth(int value) { m_listWidth = value; }
    bool MouseInControl() const { return m_mouseInControl; }

    // The look of the frame and button: 0 inactive, 1 active, 2 dropped
    // down.
    int ButtonState() const;
    // The height of a drop-down list of itemCount items.
    static int ListHeight(int itemHeight, int dropDownCount, int itemCount);
    // amount parts of color1 mixed into color2, in hundredths (amount <
    // 100) or thousandths; system colours are resolved first.
    static TColor Blend(TColor color1, TColor color2, int amount);

protected:
    void DropDown() override;
    void CloseUp() override;
    void KeyPress(QChar &key) override;

private:
    class Look;
    void paintFlat();

    int m_buttonWidth = 11;
    bool m_mouseInControl = false;
    bool m_readOnly = false;
    int m_listWidth = 0;
};

class TqvxComboBox : public TqvxCustomComboBox
{
    Q_OBJECT
    Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
    Q_PROPERTY(int ListWidth READ ListWidth WRITE SetListWidth)

public:
    explicit TqvxComboBox(TComponent *owner) : TqvxCustomComboBox(owner) {}
};

// An 8 x 8 panel that holds controls in a tool bar or separates them.
// Placed on a panel, it aligns itself across that panel's own alignment.
class TqvxTBPanel : public TPanel
{
    Q_OBJECT

public:
    explicit TqvxTBPanel(TComponent *owner);

    void SetParent(TWinControl *parent) override;

    // The alignment a tool panel takes on a panel aligned parentAlign.
    static TAlign AlignAcross(TAlign parentAlign);

protected:
    void Paint() override;
};
