#include "controls/TCustomGridEdit.h"

#include "controls/ExtGraphics.h"
#include "controls/TCustomGridView.h"
#include "controls/TGridListBox.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/SystemMetrics.h"
#include "toolkit/widgets/TScreen.h"

#include <QApplication>
#include <QFrame>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>

#include <algorithm>
#include <functional>

namespace {

constexpr int kEmptyListWidth = 100;
constexpr QChar kCtrlV(0x16);
constexpr QChar kCtrlX(0x18);

TShiftState modifierKeys(TShiftState shift)
{
    return shift & (ssShift | ssAlt | ssCtrl);
}

// The button at the editor's right edge: a child window that lets the mouse
// through to the edit, which tracks it.
class EditButton : public QWidget
{
public:
    EditButton(QWidget *parent, TCustomGridEdit *edit, void (TCustomGridEdit::*paint)(TCanvas *, const TRect &))
        : QWidget(parent), m_edit(edit), m_paint(paint)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setCursor(Qt::ArrowCursor);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        TCanvas canvas;
        canvas.SetDevice(this);
        (m_edit->*m_paint)(&canvas, TRect(0, 0, width(), height()));
        canvas.ReleaseHandle();
    }

private:
    TCustomGridEdit *m_edit;
    void (TCustomGridEdit::*m_paint)(TCanvas *, const TRect &);
};

// Passes the events of the objects it watches to a handler, leaving them
// to their receivers.
class PressWatcher : public QObject
{
public:
    PressWatcher(QObject *parent, std::function<void(QObject *, QEvent *)> handler)
        : QObject(parent), m_handler(std::move(handler))
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            m_handler(watched, event);
        return false;
    }

private:
    std::function<void(QObject *, QEvent *)> m_handler;
};

} // namespace

TRect CalcGridListBounds(const TGridListGeometry &g)
{
    int width = g.ItemCount > 0 ? g.WidestItem + std::max(6, g.NonTextWidth) : kEmptyListWidth;
    width = std::max(width, g.CellWidth);
    const int rows = g.ItemCount > 0 && g.DropDownCount >= 1 ? std::min(g.ItemCount, g.DropDownCount) : 1;
    const int height = g.ItemHeight * rows + g.BorderHeight;
    TRect r(g.EditRect.Right - width, g.EditRect.Bottom, g.EditRect.Right, g.EditRect.Bottom + height);
    if (r.Bottom > g.ScreenRect.Bottom) {
        r.Top = g.EditRect.Top - height;
        r.Bottom = g.EditRect.Top;
    }
    return r;
}

TCustomGridEdit::TCustomGridEdit(TComponent *owner)
    : TCustomMaskEdit(owner), m_buttonWidth(GetSystemMetrics(SM_CXVSCROLL))
{
    SetTabStop(false);
    SetBorderStyle(bsNone);
    SetShowHint(false);
    SetAutoSelect(false);
    SetVisible(false);
    m_button = new EditButton(Edit(), this, &TCustomGridEdit::PaintButton);
    m_button->hide();
    Edit()->setMouseTracking(true);
    m_pressWatcher = new PressWatcher(Widget(), [this](QObject *watched, QEvent *event) { watchPress(watched, event); });
}

TCustomGridEdit::~TCustomGridEdit()
{
    qApp->removeEventFilter(m_pressWatcher);
}

void TCustomGridEdit::SetGrid(TCustomGridView *grid)
{
    m_grid = grid;
    // The grid's clicks give the time a second click on the editor is
    // measured from.
    if (QWidget *gridWindow = Widget()->parentWidget())
        gridWindow->installEventFilter(m_pressWatcher);
}

void TCustomGridEdit::SetEditStyle(TGridEditStyle style)
{
    if (style == m_editStyle)
        return;
    m_editStyle = style;
    Invalidate();
}

void TCustomGridEdit::SetButtonWidth(int width)
{
    if (width == m_buttonWidth)
        return;
    m_buttonWidth = width;
    Invalidate();
}

TRect TCustomGridEdit::ButtonRect() const
{
    if (!HasButton())
        return TRect();
    return TRect(Width() - m_buttonWidth, 0, Width(), Height());
}

// --- Contents and layout -------------------------------------------------------

void TCustomGridEdit::UpdateContents()
{
    if (!m_grid || !m_grid->IsCellValid(m_grid->EditCell()))
        return;
    const TGridCell cell = m_grid->EditCell();
    TCustomGridColumn *column = m_grid->Columns()->Columns(cell.Col);
    SetMaxLength(column->MaxLength());
    SetReadOnly(m_grid->IsCellReadOnly(cell));
    m_wantReturns = column->WantReturns();
    switch (column->EditWordWrap()) {
    case ewAuto:
        m_wordWrap = column->WordWrap();
        break;
    case ewEnabled:
        m_wordWrap = true;
        break;
    case ewDisabled:
        m_wordWrap = false;
        break;
    }
    SetAlignment(column->AlignEdit() ? column->Alignment() : taLeftJustify);
    Edit()->setAlignment((Edit()->alignment() & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
    SetEditMask(m_grid->GetEditMask(cell));
    m_loading = true;
    SetText(m_grid->GetEditText(cell));
    m_loading = false;
}

void TCustomGridEdit::UpdateStyle()
{
    if (!m_grid)
        return;
    SetEditStyle(m_grid->ReadOnly() ? geSimple : m_grid->GetEditStyle(m_grid->EditCell()));
}

void TCustomGridEdit::UpdateColors()
{
    if (!m_grid)
        return;
    TCanvas canvas;
    canvas.Font()->Assign(m_grid->Font());
    canvas.Brush()->SetColor(m_grid->Color());
    m_grid->GetCellColors(m_grid->EditCell(), &canvas);
    SetColor(canvas.Brush()->Color());
    Font()->Assign(canvas.Font());
}

void TCustomGridEdit::UpdateBounds(bool scrollCaret)
{
    if (!m_grid)
        return;
    const TGridCell cell = m_grid->EditCell();
    const TRect cellRect = m_grid->GetEditRect(cell);
    TRect r = cellRect;
    r.Left = std::max(r.Left, m_grid->GetFixedRect().Right);
    r.Top = std::max(r.Top, m_grid->GetHeaderRect().Bottom);
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    SetBounds(r.Left, r.Top, r.Width(), r.Height());
    updateMargins(r, cellRect);
    m_button->setGeometry(ButtonRect().ToQRect());
    m_button->setVisible(HasButton());
    if (scrollCaret)
        Edit()->end(false);
}

void TCustomGridEdit::updateMargins(const TRect &editRect, const TRect &cellRect)
{
    const TPoint indent = m_grid->GetCellTextIndent(m_grid->EditCell());
    const int left = indent.X + (editRect.Left - cellRect.Left);
    const int top = indent.Y + (editRect.Top - cellRect.Top);
    int right = HasButton() ? m_buttonWidth + 1 : m_grid->TextRightIndent();
    if (Alignment() == taRightJustify)
        --right;
    // The edit control keeps a margin of its own around the text.
    constexpr int ownMargin = 2;
    SetTextMargins(std::max(0, left - ownMargin), std::max(0, top - 1), std::max(0, right - ownMargin), 0);
}

void TCustomGridEdit::ShowEditor(bool setFocus)
{
    UpdateColors();
    const bool firstShow = !Visible();
    UpdateBounds(firstShow);
    SetVisible(true);
    Widget()->raise();
    if (setFocus && CanFocus())
        SetFocus();
}

void TCustomGridEdit::TakeFocusLater()
{
    QMetaObject::invokeMethod(
            Widget(),
            [this] {
                if (Visible() && m_grid && m_grid->Focused() && CanFocus())
                    SetFocus();
            },
            Qt::QueuedConnection);
}

void TCustomGridEdit::HideEditor()
{
    if (m_droppedDown)
        CloseUp(false);
    const bool hadFocus = Focused();
    Invalidate();
    // Hiding the focused window already moves the focus.
    m_hiding = hadFocus;
    SetVisible(false);
    if (hadFocus && m_grid && m_grid->CanFocus())
        m_grid->SetFocus();
    m_hiding = false;
}

void TCustomGridEdit::Invalidate()
{
    TCustomMaskEdit::Invalidate();
    m_button->update();
    if (m_grid && Visible())
        m_grid->InvalidateRect(BoundsRect());
}

void TCustomGridEdit::UndoText()
{
    if (m_grid && m_grid->EditCanUndo(m_grid->EditCell()) && CanUndo())
        Undo();
}

void TCustomGridEdit::PostChar(QChar ch)
{
    const QString text(ch);
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(Edit(), &press);
}

// --- Changes -------------------------------------------------------------------

bool TCustomGridEdit::EditCanModify()
{
    return m_grid && m_grid->EditCanModify(m_grid->EditCell());
}

void TCustomGridEdit::Change()
{
    TCustomMaskEdit::Change();
    if (m_grid && !m_loading)
        m_grid->EditChange(m_grid->EditCell());
}

void TCustomGridEdit::SelectNext()
{
    if (!m_grid)
        return;
    QString value = Text();
    m_grid->EditSelectNext(m_grid->EditCell(), value);
    if (value == Text())
        return;
    SetText(value);
    SelectAll();
}

// --- Button --------------------------------------------------------------------

void TCustomGridEdit::PaintButton(TCanvas *canvas, const TRect &rect)
{
    if (isListStyle())
        PaintDropDownButton(canvas, rect, m_buttonPressed);
    else
        PaintEllipsisButton(canvas, rect, m_buttonPressed);
}

void TCustomGridEdit::setButtonPressed(bool pressed)
{
    if (pressed == m_buttonPressed)
        return;
    m_buttonPressed = pressed;
    m_button->update();
}

void TCustomGridEdit::stopTracking()
{
    m_buttonTracking = false;
    setButtonPressed(false);
}

void TCustomGridEdit::pressButton()
{
    if (m_grid)
        m_grid->EditButtonPress(m_grid->EditCell());
}

// --- Drop-down list ------------------------------------------------------------

TGridListBox *TCustomGridEdit::GetDropList()
{
    if (!m_dropList) {
        m_dropList = NewObject<TGridListBox>(this);
        m_dropList->SetGrid(m_grid);
    }
    return m_dropList;
}

void TCustomGridEdit::UpdateList()
{
    m_activeList->SetVisible(false);
    m_activeList->OnMouseUp = [this](TObject *sender, TMouseButton button, TShiftState shift, int x, int y) {
        listMouseUp(sender, button, shift, x, y);
    };
    m_activeList->Font()->Assign(Font());
    m_activeList->SetItemHeight(GetFontHeight(Font()) + 2);
}

void TCustomGridEdit::UpdateListItems()
{
    TStrings *items = m_activeList->Items();
    items->Clear();
    if (m_grid)
        m_grid->GetEditList(m_grid->EditCell(), items);
    m_activeList->SetItemIndex(-1);
    m_activeList->SelectString(-1, Text());
}

void TCustomGridEdit::UpdateListBounds()
{
    TStrings *items = m_activeList->Items();
    TGridListGeometry geometry;
    for (int i = 0; i < items->Count(); ++i)
        geometry.WidestItem = std::max(geometry.WidestItem, m_activeList->ItemTextWidth(items->Strings(i)));
    geometry.ItemCount = items->Count();
    geometry.NonTextWidth = m_activeList->NonTextWidth(items->Count() > m_dropDownCount);
    geometry.ItemHeight = m_activeList->ItemHeight();
    geometry.DropDownCount = m_dropDownCount;
    geometry.CellWidth = m_grid ? m_grid->GetCellRect(m_grid->EditCell()).Width() : Width();
    if (auto *frame = qobject_cast<QFrame *>(m_activeList->Widget()))
        geometry.BorderHeight = 2 * frame->frameWidth();
    const TPoint topLeft = ClientToScreen(TPoint(0, 0));
    geometry.EditRect = TRect(topLeft.X, topLeft.Y, topLeft.X + Width(), topLeft.Y + Height());
    geometry.ScreenRect = Screen ? Screen->WorkAreaRect() : TRect(0, 0, 1 << 16, 1 << 16);
    TRect r = CalcGridListBounds(geometry);
    if (m_grid)
        m_grid->GetEditListBounds(m_grid->EditCell(), r);
    m_activeList->SetBounds(r.Left, r.Top, r.Width(), r.Height());
}

void TCustomGridEdit::UpdateListValue(bool accept)
{
    int itemIndex = m_activeList->ItemIndex();
    // A list closed without a choice reports none.
    if (!accept)
        itemIndex = -1;
    if (m_grid)
        m_grid->EditCloseUp(m_grid->EditCell(), itemIndex, accept);
    if (!accept || itemIndex == -1)
        return;
    SetText(m_activeList->Items()->Strings(itemIndex));
    SelectAll();
}

void TCustomGridEdit::DropDown()
{
    if (!isListStyle() || m_droppedDown)
        return;
    m_activeList = GetDropList();
    UpdateList();
    UpdateListItems();
    UpdateListBounds();
    m_activeList->SetVisible(true);
    m_activeList->Widget()->raise();
    m_droppedDown = true;
    qApp->installEventFilter(m_pressWatcher);
    m_button->update();
}

void TCustomGridEdit::CloseUp(bool accept)
{
    if (!m_droppedDown)
        return;
    qApp->removeEventFilter(m_pressWatcher);
    stopTracking();
    m_activeList->SetVisible(false);
    m_droppedDown = false;
    m_button->update();
    UpdateListValue(accept);
}

void TCustomGridEdit::listMouseUp(TObject *, TMouseButton button, TShiftState, int x, int y)
{
    if (button != mbLeft || !m_activeList)
        return;
    const int item = m_activeList->ItemAtPos(TPoint(x, y), true);
    if (item >= 0)
        m_activeList->SetItemIndex(item);
    CloseUp(item >= 0);
}

// --- Keys ----------------------------------------------------------------------

bool TCustomGridEdit::listKeyDown(int &key, TShiftState shift)
{
    // Alt+arrow opens and closes the list; closing this way accepts the
    // highlighted item, as Enter does.
    if ((key == VK_UP || key == VK_DOWN) && modifierKeys(shift) == ssAlt) {
        if (m_droppedDown)
            CloseUp(true);
        else
            DropDown();
        return true;
    }
    if (!m_droppedDown)
        return false;
    if (key == VK_RETURN || key == VK_ESCAPE) {
        CloseUp(key == VK_RETURN);
        return true;
    }
    return m_activeList->ListKeyDown(key);
}

void TCustomGridEdit::KeyDown(int &key, TShiftState shift)
{
    if (isListStyle() && listKeyDown(key, shift)) {
        key = 0;
        return;
    }
    if (key == VK_RETURN && modifierKeys(shift) == ssCtrl && !m_wantReturns) {
        if (m_editStyle == geEllipsis)
            pressButton();
        else if (isListStyle())
            SelectNext();
        key = 0;
        return;
    }
    const TShiftState modifiers = modifierKeys(shift);
    bool toGrid = false;
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        toGrid = modifiers == ssCtrl || (modifiers == TShiftState() && !m_wantReturns && !m_wordWrap);
        break;
    case VK_TAB:
        toGrid = !(shift & ssAlt);
        break;
    case VK_ESCAPE:
        toGrid = true;
        break;
    case VK_PRIOR:
    case VK_NEXT:
        toGrid = modifiers == ssCtrl;
        break;
    case VK_INSERT:
        toGrid = modifiers == TShiftState() || !EditCanModify();
        break;
    case VK_DELETE:
        toGrid = !EditCanModify();
        break;
    case 'V':
    case 'X':
        // Paste and cut change the text.
        if (modifiers == ssCtrl && !EditCanModify()) {
            key = 0;
            return;
        }
        break;
    default:
        break;
    }
    if (toGrid && m_grid) {
        TCustomGridView *grid = m_grid;
        const int pressed = key;
        grid->KeyDown(key, shift);
        // The grid handles Escape when the character arrives.
        if (pressed == VK_ESCAPE) {
            QChar escape(VK_ESCAPE);
            grid->KeyPress(escape);
        }
        key = 0;
        return;
    }
    if (m_grid && m_grid->OnKeyDown)
        m_grid->OnKeyDown(m_grid, key, shift);
    if (key)
        TCustomMaskEdit::KeyDown(key, shift);
}

void TCustomGridEdit::KeyPress(QChar &key)
{
    if (m_droppedDown) {
        m_activeList->ListKeyPress(key);
        key = QChar();
        return;
    }
    if (m_grid)
        m_grid->KeyPress(key);
    if (key.isNull())
        return;
    if (key.isPrint() && m_grid && !m_grid->EditAcceptKey(m_grid->EditCell(), key)) {
        key = QChar();
        MessageBeep();
        return;
    }
    const bool changesText = key.isPrint() || key == QChar(VK_BACK) || key == kCtrlV || key == kCtrlX;
    if ((changesText && !EditCanModify()) || key == QChar(VK_TAB) || key == QChar(VK_ESCAPE)) {
        key = QChar();
        return;
    }
    TCustomMaskEdit::KeyPress(key);
}

bool TCustomGridEdit::WantsKey(int key) const
{
    return key == VK_TAB && m_grid && (m_grid->CursorKeys() & gkTabs);
}

// --- Mouse ---------------------------------------------------------------------

void TCustomGridEdit::DblClick()
{
    if (m_grid)
        m_grid->DblClick();
    TCustomMaskEdit::DblClick();
    if (m_editStyle == geEllipsis)
        pressButton();
    else if (isListStyle() && !m_droppedDown)
        SelectNext();
}

void TCustomGridEdit::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft && HasButton() && ButtonRect().Contains(x, y)) {
        if (m_droppedDown) {
            CloseUp(false);
        } else {
            m_buttonTracking = true;
            setButtonPressed(true);
            if (m_editStyle != geEllipsis)
                DropDown();
        }
    } else if (button == mbLeft && m_droppedDown) {
        CloseUp(false);
    }
    TCustomMaskEdit::MouseDown(button, shift, x, y);
}

void TCustomGridEdit::MouseMove(TShiftState shift, int x, int y)
{
    SetCursor(HasButton() && ButtonRect().Contains(x, y) ? crArrow : crDefault);
    if (m_buttonTracking) {
        setButtonPressed(ButtonRect().Contains(x, y));
        if (m_droppedDown) {
            const TPoint inList = m_activeList->ScreenToClient(ClientToScreen(TPoint(x, y)));
            if (m_activeList->ClientRect().Contains(inList.X, inList.Y)) {
                // Press and drag: the list takes over the selection.
                stopTracking();
                m_draggingIntoList = true;
            }
        }
    }
    if (m_draggingIntoList && m_droppedDown) {
        const TPoint inList = m_activeList->ScreenToClient(ClientToScreen(TPoint(x, y)));
        const int item = m_activeList->ItemAtPos(inList, true);
        if (item >= 0)
            m_activeList->SetItemIndex(item);
    }
    TCustomMaskEdit::MouseMove(shift, x, y);
}

void TCustomGridEdit::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    if (button == mbLeft) {
        const bool overButton = m_buttonPressed;
        const bool wasTracking = m_buttonTracking;
        stopTracking();
        if (m_draggingIntoList) {
            m_draggingIntoList = false;
            const TPoint inList = m_activeList->ScreenToClient(ClientToScreen(TPoint(x, y)));
            if (m_droppedDown && m_activeList->ClientRect().Contains(inList.X, inList.Y))
                listMouseUp(m_activeList, mbLeft, shift, inList.X, inList.Y);
            else
                CloseUp(false);
        } else if (wasTracking && overButton && m_editStyle == geEllipsis) {
            pressButton();
        }
    }
    TCustomMaskEdit::MouseUp(button, shift, x, y);
}

void TCustomGridEdit::FocusOut()
{
    TCustomMaskEdit::FocusOut();
    CloseUp(false);
    // Leaving the grid altogether ends the edit, applying the text.
    QWidget *next = QApplication::focusWidget();
    if (m_grid && m_grid->CancelOnExit() && next && next != Widget() && !m_grid->Widget()->isAncestorOf(next)
        && next != m_grid->Widget())
        m_grid->SetEditing(false);
}

bool TCustomGridEdit::HandleInputEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint pos = mouse->position().toPoint();
        const bool onButton = HasButton() && ButtonRect().Contains(pos.x(), pos.y());
        if (mouse->button() == Qt::LeftButton && !onButton) {
            const bool afterGridClick = m_clickTime >= 0
                                        && qint64(mouse->timestamp()) - m_clickTime
                                                   <= QApplication::doubleClickInterval();
            m_clickTime = -1;
            if (afterGridClick && event->type() == QEvent::MouseButtonPress) {
                QMouseEvent doubleClick(QEvent::MouseButtonDblClick, mouse->position(), mouse->globalPosition(),
                                        mouse->button(), mouse->buttons(), mouse->modifiers());
                TCustomMaskEdit::HandleInputEvent(&doubleClick);
                return false;
            }
        }
        if (onButton) {
            // The button takes the press; a double click on it is a press.
            QMouseEvent press(QEvent::MouseButtonPress, mouse->position(), mouse->globalPosition(), mouse->button(),
                              mouse->buttons(), mouse->modifiers());
            TCustomMaskEdit::HandleInputEvent(&press);
            return true;
        }
        return TCustomMaskEdit::HandleInputEvent(event);
    }
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease: {
        const bool tracking = m_buttonTracking || m_draggingIntoList;
        const bool handled = TCustomMaskEdit::HandleInputEvent(event);
        return handled || tracking;
    }
    case QEvent::Wheel:
        if (m_grid && Widget()->parentWidget()) {
            QApplication::sendEvent(Widget()->parentWidget(), event);
            return true;
        }
        return false;
    case QEvent::ContextMenu:
        // The menu's paste and cut change the text.
        return !EditCanModify();
    default:
        return TCustomMaskEdit::HandleInputEvent(event);
    }
}

void TCustomGridEdit::watchPress(QObject *watched, QEvent *event)
{
    if (watched == Widget()->parentWidget()) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            m_clickTime = qint64(mouse->timestamp());
    }
    if (m_droppedDown) {
        // A press anywhere but in the editor or its list closes the list.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget != Widget() && !Widget()->isAncestorOf(widget) && widget != m_activeList->Widget()
            && !m_activeList->Widget()->isAncestorOf(widget))
            CloseUp(false);
    }
}
