#pragma once

// A list of strings to choose from: TCustomListBox and TListBox.
//
// A list box can also serve as a drop-down list (SetPopup): a frameless,
// topmost window that never takes the activation or the focus, placed in
// screen coordinates, while an editor keeps the focus and passes the
// navigation keys on (NavigateKey).
//
// An owner-drawn list (Style lbOwnerDrawFixed or lbOwnerDrawVariable) with an
// OnDrawItem handler leaves the drawing of each item to the handler, which
// draws on Canvas.

#include "toolkit/classes/Events.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/graphics/Rects.h"
#include "toolkit/widgets/TWinControl.h"

#include <memory>

class QListWidget;
class QPainter;
class TCanvas;
class TControlStrings;
class TCustomListBox;

TOOLKIT_EVENT(TDrawItemEvent, void(TCustomListBox *list, int index, const TRect &rect, TOwnerDrawState state))

class TCustomListBox : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(TStrings *Items READ Items WRITE SetItems)
    Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
    Q_PROPERTY(bool ExtendedSelect READ ExtendedSelect WRITE SetExtendedSelect)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(ControlTypes::TListBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(int Columns READ Columns WRITE SetColumns)
    Q_PROPERTY(bool IntegralHeight READ IntegralHeight WRITE SetIntegralHeight)

public:
    explicit TCustomListBox(TComponent *owner);
    ~TCustomListBox() override;

    TStrings *Items() const;
    void SetItems(const TStrings *items);

    // -1 when no item is current.
    int ItemIndex() const;
    void SetItemIndex(int index);
    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int height);
    // The height always holds a whole number of items.
    bool IntegralHeight() const { return m_integralHeight; }
    void SetIntegralHeight(bool integral);
    bool MultiSelect() const;
    void SetMultiSelect(bool multiSelect);
    bool ExtendedSelect() const { return m_extendedSelect; }
    void SetExtendedSelect(bool extended);
    bool Selected(int index) const;
    void SetSelected(int index, bool selected);
    int SelCount() const;
    bool Sorted() const;
    void SetSorted(bool sorted);
    TListBoxStyle Style() const { return m_style; }
    void SetStyle(TListBoxStyle style) { m_style = style; }
    int Columns() const { return m_columns; }
    void SetColumns(int columns) { m_columns = columns; }
    int TopIndex() const;

    // The item at a client point; -1 (existing) or the item count (not
    // existing) below the last item.
    int ItemAtPos(TPoint pos, bool existing) const;
    // Selects the first item after start (wrapping round) that begins with
    // prefix, ignoring case; answers its index or -1.
    int SelectString(int start, const QString &prefix);
    // Moves the current item for Up, Down, Prior, Next, Home and End; false
    // for other keys.
    bool NavigateKey(int key);

    // The width of text as an item shows it.
    int ItemTextWidth(const QString &text) const;
    // The width the list takes beside its items' text: its frame, the
    // margins around an item's text and, with scrollBar, the vertical
    // scroll bar.
    int NonTextWidth(bool scrollBar) const;

    // While OnDrawItem runs: the canvas on the item, in client coordinates,
    // with the brush and font colours of the item's state (the highlight
    // colours when it is selected).
    TCanvas *Canvas() const { return m_canvas.get(); }
    TDrawItemEvent OnDrawItem;

    void SetPopup(bool popup);
    bool Popup() const { return TopLevel(); }

    void SetBounds(int left, int top, int width, int height) override;

protected:
    QWidget *MouseWidget() const override;
    bool ClicksOnMouseUp() const override { return false; }

private:
    QListWidget *list() const;
    void pushItems();
    int frameHeight() const;
    int visibleItems() const;
    bool drawsItems() const { return m_style != lbStandard && OnDrawItem; }
    void drawItem(QPainter &painter, const QRect &rect, int index, TOwnerDrawState state);

    class OwnerDrawDelegate;

    std::unique_ptr<TControlStrings> m_items;
    std::unique_ptr<TCanvas> m_canvas;
    int m_itemHeight = 16;
    bool m_integralHeight = false;
    bool m_extendedSelect = true;
    TListBoxStyle m_style = lbStandard;
    int m_columns = 0;
};

class TListBox : public TCustomListBox
{
    Q_OBJECT

public:
    explicit TListBox(TComponent *owner) : TCustomListBox(owner) {}
};
