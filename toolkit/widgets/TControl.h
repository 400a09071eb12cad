#pragma once

// The base of visual controls.
//
// A control holds its QWidget rather than being one, so the owner tree
// (TComponent) and the window tree (Parent) stay apart.  The control watches
// its widget's events and turns them into the classic virtual methods
// (MouseDown, KeyDown, Resize ...), which descendants override and which
// fire the On* events.  Coordinates are pixels of the parent's client area;
// mouse positions are pixels of the control's own client area.

#include "toolkit/widgets/ControlTypes.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/widgets/Cursors.h"
#include "toolkit/classes/Events.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/widgets/KeyMapping.h"
#include "toolkit/graphics/Rects.h"
#include "toolkit/classes/TComponent.h"

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <memory>

class TCanvas;
class TWinControl;
class TCustomForm;

// How a control behaves beyond its properties.
enum TControlStyleFlag : unsigned {
    // The caption stands for the control's name until it is given another
    // (buttons, labels, check boxes, group boxes, panels); the report's
    // dialog controls let such a caption follow a rename.
    csSetCaption = 0x01,
};
Q_DECLARE_FLAGS(TControlStyle, TControlStyleFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(TControlStyle)

TOOLKIT_EVENT(TMouseEvent, void(TObject *sender, TMouseButton button, TShiftState shift, int x, int y))
TOOLKIT_EVENT(TMouseMoveEvent, void(TObject *sender, TShiftState shift, int x, int y))
TOOLKIT_EVENT(TCanResizeEvent, void(TObject *sender, int &newWidth, int &newHeight, bool &resize))

class TControl : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(int Left READ Left WRITE SetLeft)
    Q_PROPERTY(int Top READ Top WRITE SetTop)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(ControlTypes::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(ControlTypes::TAnchors Anchors READ Anchors WRITE SetAnchors)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TCursor Cursor READ Cursor WRITE SetCursor)
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
    Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
    Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TControl(TComponent *owner);
    ~TControl() override;
    // Leaves the parent window, then the owner.
    void BeforeDestruction() override;

    QWidget *Widget() const { return m_widget; }
    // The control that holds widget, nullptr for any other widget.
    static TControl *FromWidget(const QWidget *widget);

    TWinControl *Parent() const { return m_parent; }
    // Moves the control into another parent's client area; nullptr detaches
    // it (and hides its window).  EInvalidOperation when parent is the
    // control itself or lies inside it.
    virtual void SetParent(TWinControl *parent);
    // The form the control lies on, nullptr when it lies on none.
    TCustomForm *ParentForm() const;

    int Left() const { return m_bounds.left(); }
    int Top() const { return m_bounds.top(); }
    int Width() const { return m_bounds.width(); }
    int Height() const { return m_bounds.height(); }
    TRect BoundsRect() const { return TRect::FromQRect(m_bounds); }
    void SetLeft(int value) { SetBounds(value, Top(), Width(), Height()); }
    void SetTop(int value) { SetBounds(Left(), value, Width(), Height()); }
    void SetWidth(int value) { SetBounds(Left(), Top(), value, Height()); }
    void SetHeight(int value) { SetBounds(Left(), Top(), Width(), value); }
    // Asks CanResize first; a refused or unchanged size keeps the old one.
    virtual void SetBounds(int left, int top, int width, int height);

    // The client area in the control's own coordinates, origin (0, 0).
    virtual TRect ClientRect() const;
    int ClientWidth() const { return ClientRect().Width(); }
    int ClientHeight() const { return ClientRect().Height(); }
    TPoint ClientToScreen(const TPoint &point) const;
    TPoint ScreenToClient(const TPoint &point) const;

    // The program lays its windows out right to left (the application's
    // layout direction, which follows its language).
    static bool UseRightToLeftAlignment();

    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    TAnchors Anchors() const { return m_anchors; }
    void SetAnchors(TAnchors anchors);

    bool Visible() const { return m_visible; }
    virtual void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible together with every parent.
    bool Showing() const;

    bool Enabled() const { return m_enabled; }
    virtual void SetEnabled(bool enabled);

    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    // Takes the parent's colour (and follows it) while set; setting a colour
    // clears it.
    bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool parentColor);

    TFont *Font() const { return m_font.get(); }
    void SetFont(const TFont *font);
    bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool parentFont);

    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor cursor);

    const QString &Hint() const { return m_hint; }
    void SetHint(const QString &hint);
    bool ShowHint() const { return m_showHint; }
    virtual void SetShowHint(bool show);

    TControlStyle ControlStyle() const { return m_controlStyle; }
    void SetControlStyle(TControlStyle style) { m_controlStyle = style; }

    // Caption or text, whichever the control shows.
    virtual QString Caption() const { return m_caption; }
    virtual void SetCaption(const QString &caption);
    QString Text() const { return Caption(); }
    void SetText(const QString &text) { SetCaption(text); }

    bool MouseCapture() const;
    void SetMouseCapture(bool capture);

    // Paints the control with its children onto canvas, its top-left at
    // (x, y), whether it is shown or not.
    void PaintTo(TCanvas *canvas, int x, int y);

    virtual void Invalidate();
    virtual void InvalidateRect(const TRect &rect);
    // Paints the invalid parts now.
    void Update();
    void Repaint();
    void BringToFront();

    // Scales position, size and font by multiplier / divider.
    virtual void ChangeScale(int multiplier, int divider);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TCanResizeEvent OnCanResize;

    virtual void Click();
    virtual void DblClick();
    // Whether Return or Escape typed anywhere on the form clicks this
    // control (a default or cancel button).
    virtual bool WantsDialogKey(int key) const
    {
        Q_UNUSED(key);
        return false;
    }

protected:
    // Descendants that need another widget pass it here; the control takes
    // ownership.
    TControl(TComponent *owner, QWidget *widget);

    // The widget that receives input and paints; Widget() unless a
    // descendant frames its client area.
    virtual QWidget *InputWidget() const { return m_widget; }
    // The widget that receives the mouse; InputWidget() unless a scrolling
    // widget shows its contents in a viewport.  A descendant that changes it
    // installs the control as the viewport's event filter.
    virtual QWidget *MouseWidget() const { return InputWidget(); }
    // Top-left of the client area within Widget().
    virtual QPoint ClientOrigin() const { return {}; }

    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    virtual bool DoMouseWheel(TShiftState shift, int wheelDelta, const QPoint &mousePos);
    virtual bool DoMouseWheelDown(TShiftState shift, const QPoint &mousePos);
    virtual bool DoMouseWheelUp(TShiftState shift, const QPoint &mousePos);
    virtual bool CanResize(int &newWidth, int &newHeight);
    virtual void Resize();
    // Called after the enabled state, caption, font or colour changed.
    virtual void Changed() {}
    // Whether a left press and release inside the control is a click;
    // controls whose widget reports clicks itself answer false.
    virtual bool ClicksOnMouseUp() const { return true; }

    bool eventFilter(QObject *watched, QEvent *event) override;
    // The input events a descendant handles before the common translation;
    // answers true to consume the event.
    virtual bool HandleInputEvent(QEvent *event);

    // A top-level control (a popup) places itself in screen coordinates and
    // shows without a parent.
    void SetTopLevel(bool topLevel);
    bool TopLevel() const { return m_topLevel; }

    // Keeps the widget's geometry and visibility in step with the control.
    virtual void ApplyBounds();
    // Takes bounds the window system gave the widget, without applying
    // them again.
    void TakeBounds(const QRect &bounds);
    // The size the widget now has, in the control's terms.
    virtual QSize WidgetSize() const { return m_widget->size(); }
    void ApplyVisibility();

private:
    friend class TWinControl;

    void init();
    void fontChanged();
    void applyColor();
    void parentChanged();
    void notifyChildren();
    void recordAnchors();

    QPointer<QWidget> m_widget;
    TWinControl *m_parent = nullptr;
    QRect m_bounds;
    TAlign m_align = alNone;
    TAnchors m_anchors = akLeft | akTop;
    // Distances to the parent's right and bottom client edges, for anchors.
    int m_anchorRight = 0;
    int m_anchorBottom = 0;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_showHint = false;
    TColor m_color = clBtnFace;
    bool m_parentColor = false;
    std::unique_ptr<TFont> m_font;
    bool m_parentFont = true;
    bool m_settingFont = false;
    TCursor m_cursor = crDefault;
    QString m_hint;
    QString m_caption;
    TControlStyle m_controlStyle;
    bool m_pressed = false;
    bool m_topLevel = false;
};
