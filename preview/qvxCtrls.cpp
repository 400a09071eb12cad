#include "preview/qvxCtrls.h"

#include "toolkit/graphics/Canvas.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QAbstractItemView>

#include <algorithm>

// --- TqvxScrollWin -------------------------------------------------------------

TqvxScrollWin::TqvxScrollWin(TComponent *owner) : TCustomControl(owner)
{
    applyScrollInfo(sbHorizontal);
    applyScrollInfo(sbVertical);
}

int TqvxScrollWin::ClampPosition(int value, int range, int page)
{
    return std::max(std::min(value, range - page), 0);
}

void TqvxScrollWin::SetHorzPage(int value)
{
    m_horzPage = value;
    applyScrollInfo(sbHorizontal);
}

void TqvxScrollWin::SetHorzRange(int value)
{
    m_horzRange = value;
    applyScrollInfo(sbHorizontal);
}

void TqvxScrollWin::SetHorzPosition(int value)
{
    value = ClampPosition(value, m_horzRange, m_horzPage);
    if (value == m_horzPosition)
        return;
    m_horzPosition = value;
    applyScrollInfo(sbHorizontal);
    OnHScrollChange();
}

void TqvxScrollWin::SetVertPage(int value)
{
    m_vertPage = value;
    applyScrollInfo(sbVertical);
}

void TqvxScrollWin::SetVertRange(int value)
{
    m_vertRange = value;
    applyScrollInfo(sbVertical);
}

void TqvxScrollWin::SetVertPosition(int value)
{
    value = ClampPosition(value, m_vertRange, m_vertPage);
    if (value == m_vertPosition)
        return;
    m_vertPosition = value;
    applyScrollInfo(sbVertical);
    OnVScrollChange();
}

void TqvxScrollWin::applyScrollInfo(TScrollBarKind kind)
{
    const bool horizontal = kind == sbHorizontal;
    const int range = horizontal ? m_horzRange : m_vertRange;
    const int page = horizontal ? m_horzPage : m_vertPage;
    TScrollInfo info;
    info.Max = page > range ? 0 : range;
    info.Page = page;
    info.Pos = horizontal ? m_horzPosition : m_vertPosition;
    SetScrollInfo(kind, info);
}

void TqvxScrollWin::ScrollMessage(TScrollBarKind kind, TScrollCode code, int pos)
{
    const bool horizontal = kind == sbHorizontal;
    const int current = horizontal ? m_horzPosition : m_vertPosition;
    int target = current;
    switch (code) {
    case scLineUp:
        target = current - m_smallChange;
        break;
    case scLineDown:
        target = current + m_smallChange;
        break;
    case scPageUp:
        target = current - m_largeChange;
        break;
    case scPageDown:
        target = current + m_largeChange;
        break;
    case scPosition:
    case scTrack:
        target = pos;
        break;
    case scTop:
        target = 0;
        break;
    case scBottom:
        target = horizontal ? m_horzRange : m_vertRange;
        break;
    case scEndScroll:
        return;
    }
    if (horizontal)
        SetHorzPosition(target);
    else
        SetVertPosition(target);
}

void TqvxScrollWin::Paint()
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

// --- TqvxCustomComboBox --------------------------------------------------------

// Paints the combo box flat and follows the mouse in and out of it.
class TqvxCustomComboBox::Look : public QObject
{
public:
    explicit Look(TqvxCustomComboBox *box) : QObject(box), m_box(box) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Paint:
            if (watched == m_box->Widget()) {
                m_box->paintFlat();
                return true;
            }
            break;
        case QEvent::Enter:
        case QEvent::Leave:
            m_box->m_mouseInControl = event->type() == QEvent::Enter;
            m_box->Widget()->update();
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut:
            m_box->Widget()->update();
            break;
        default:
            break;
        }
        return false;
    }

private:
    TqvxCustomComboBox *m_box;
};

TqvxCustomComboBox::TqvxCustomComboBox(TComponent *owner) : TCustomComboBox(owner)
{
    SetStyle(csDropDown);
    SetWidth(100);
    auto *look = new Look(this);
    Widget()->installEventFilter(look);
    if (QLineEdit *edit = static_cast<QComboBox *>(Widget())->lineEdit())
        edit->installEventFilter(look);
}

void TqvxCustomComboBox::SetReadOnly(bool value)
{
    m_readOnly = value;
    if (QLineEdit *edit = static_cast<QComboBox *>(Widget())->lineEdit())
        edit->setReadOnly(value);
}

int TqvxCustomComboBox::ListHeight(int itemHeight, int dropDownCount, int itemCount)
{
    if (dropDownCount > 0 && itemCount > 0)
        return itemHeight * std::min(dropDownCount, itemCount) + 2;
    return itemHeight + 2;
}

TColor TqvxCustomComboBox::Blend(TColor color1, TColor color2, int amount)
{
    const TColor c1 = ColorToRGB(color1);
    const TColor c2 = ColorToRGB(color2);
    const int scale = amount < 100 ? 100 : 1000;
    const auto channel = [&](int shift) {
        const int a = (c1 >> shift) & 0xFF;
        const int b = (c2 >> shift) & 0xFF;
        return ((b * (scale - amount) + a * amount + scale / 2) / scale) << shift;
    };
    return TColor(channel(0) | channel(8) | channel(16));
}

int TqvxCustomComboBox::ButtonState() const
{
    const QComboBox *box = static_cast<QComboBox *>(Widget());
    const bool editFocused = box->hasFocus() || (box->lineEdit() && box->lineEdit()->hasFocus());
    if (DroppedDown())
        return 2;
    return (editFocused || m_mouseInControl) ? 1 : 0;
}

void TqvxCustomComboBox::DropDown()
{
    auto *box = static_cast<QComboBox *>(Widget());
    QAbstractItemView *view = box->view();
    // The list is as high as its rows really are and as wide as its widest
    // item, never narrower than asked.
    if (box->count() > 0)
        SetItemHeight(view->sizeHintForRow(0));
    const int frame = view->frameWidth();
    const int widest = box->count() > 0 ? view->sizeHintForColumn(0) + 2 * frame + 4 : 0;
    view->setMinimumWidth(std::max({m_listWidth > 0 ? m_listWidth : Width(), widest}));
    view->setFixedHeight(ListHeight(ItemHeight(), DropDownCount(), box->count()) - 2 + 2 * frame);
    TCustomComboBox::DropDown();
    Widget()->update();
}

void TqvxCustomComboBox::CloseUp()
{
    TCustomComboBox::CloseUp();
    Widget()->update();
}

void TqvxCustomComboBox::KeyPress(QChar &key)
{
    TCustomComboBox::KeyPress(key);
    const int index = ItemIndex();
    if (!m_readOnly || index < 0 || index >= Items()->Count())
        return;
    QLineEdit *edit = static_cast<QComboBox *>(Widget())->lineEdit();
    const int cursor = edit ? edit->cursorPosition() : 0;
    SetCaption(Items()->Strings(index));
    if (edit)
        edit->setCursorPosition(cursor);
}

void TqvxCustomComboBox::paintFlat()
{
    QWidget *widget = Widget();
    auto *box = static_cast<QComboBox *>(widget);
    if (QLineEdit *edit = box->lineEdit())
        edit->setGeometry(3, 3, widget->width() - m_buttonWidth - 8, widget->height() - 6);
    QPainter painter(widget);
    const int w = widget->width();
    const int h = widget->height();
    const auto frame = [&](QRect r, TColor color) {
        painter.setPen(ColorToQColor(color));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
    };
    const QRect button(w - m_buttonWidth - 3, 1, m_buttonWidth + 2, h - 2);
    const int arrowX = m_buttonWidth / 2 + w - m_buttonWidth - 4;
    const int arrowY = (h - 4) / 2 + 1;
    const auto arrow = [&](TColor color) {
        painter.setPen(ColorToQColor(color));
        painter.drawLine(arrowX, arrowY, arrowX + 4, arrowY);
        painter.drawLine(arrowX + 1, arrowY + 1, arrowX + 3, arrowY + 1);
        painter.drawLine(arrowX + 2, arrowY + 2, arrowX + 2, arrowY + 2);
    };
    const int separatorX = w - 4 - m_buttonWidth;

    if (!Enabled()) {
        painter.fillRect(0, 0, w, h, ColorToQColor(clBtnFace));
        frame(QRect(0, 0, w, h), clBtnShadow);
        arrow(clGrayText);
        return;
    }
    const int state = ButtonState();
    painter.fillRect(1, 1, w - 2, h - 2, ColorToQColor(Color()));
    frame(QRect(0, 0, w, h), state > 0 ? clHighlight : clBtnFace);
    frame(QRect(1, 1, w - 2, h - 2), clWindow);
    frame(QRect(2, 2, w - 4 - m_buttonWidth - 2, h - 4), clWindow);
    switch (state) {
    case 0:
        painter.fillRect(button, ColorToQColor(clBtnFace));
        frame(button, clWindow);
        painter.setPen(ColorToQColor(clWindow));
        break;
    case 1:
        painter.fillRect(button, ColorToQColor(Blend(clHighlight, clWindow, 30)));
        painter.setPen(ColorToQColor(clHighlight));
        break;
    default:
        painter.fillRect(button, ColorToQColor(Blend(clHighlight, clWindow, 50)));
        painter.setPen(ColorToQColor(clHighlight));
        break;
    }
    painter.drawLine(separatorX, 1, separatorX, h - 2);
    arrow(state == 2 ? clCaptionText : clBtnText);
}

// --- TqvxTBPanel ---------------------------------------------------------------

TqvxTBPanel::TqvxTBPanel(TComponent *owner) : TPanel(owner)
{
    SetAlign(alLeft);
    SetBounds(0, 0, 8, 8);
    SetBevelOuter(bvNone);
    SetBevelInner(bvNone);
    SetCaption(QString());
    // A click on the panel between the controls it holds leaves the focus
    // where it is.
    InputWidget()->setFocusPolicy(Qt::NoFocus);
}

TAlign TqvxTBPanel::AlignAcross(TAlign parentAlign)
{
    return (parentAlign == alLeft || parentAlign == alRight) ? alTop : alLeft;
}

void TqvxTBPanel::SetParent(TWinControl *parent)
{
    TPanel::SetParent(parent);
    if (!parent || ComponentState().testFlag(csDestroying))
        return;
    if (qobject_cast<TPanel *>(parent) && parent->Parent())
        SetAlign(AlignAcross(parent->Parent()->Align()));
}

void TqvxTBPanel::Paint()
{
    Canvas()->Brush()->SetColor(clBtnFace);
    Canvas()->FillRect(ClientRect());
}
