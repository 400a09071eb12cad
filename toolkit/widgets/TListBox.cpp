#include "toolkit/widgets/TListBox.h"

#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/TControlStrings.h"

#include <QImage>
#include <QListWidget>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

class TCustomListBox::OwnerDrawDelegate : public QStyledItemDelegate
{
public:
    OwnerDrawDelegate(TCustomListBox *list, QObject *parent) : QStyledItemDelegate(parent), m_list(list) {}

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        if (!m_list->drawsItems()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        TOwnerDrawState state;
        state.setFlag(odSelected, option.state.testFlag(QStyle::State_Selected));
        state.setFlag(odFocused, option.state.testFlag(QStyle::State_HasFocus));
        state.setFlag(odDisabled, !option.state.testFlag(QStyle::State_Enabled));
        m_list->drawItem(*painter, option.rect, index.row(), state);
    }

private:
    TCustomListBox *m_list;
};

TCustomListBox::TCustomListBox(TComponent *owner)
    : TWinControl(owner, new QListWidget), m_items(std::make_unique<TControlStrings>([this] { pushItems(); })),
      m_canvas(std::make_unique<TCanvas>())
{
    list()->setItemDelegate(new OwnerDrawDelegate(this, list()));
    list()->viewport()->installEventFilter(this);
    list()->setUniformItemSizes(true);
    list()->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 97);
    QObject::connect(list(), &QListWidget::itemClicked, this, [this] { Click(); });
}

TCustomListBox::~TCustomListBox() = default;

QListWidget *TCustomListBox::list() const
{
    return static_cast<QListWidget *>(Widget());
}

QWidget *TCustomListBox::MouseWidget() const
{
    return list()->viewport();
}

TStrings *TCustomListBox::Items() const
{
    return m_items.get();
}

void TCustomListBox::SetItems(const TStrings *items)
{
    m_items->Assign(items);
}

void TCustomListBox::pushItems()
{
    const int current = ItemIndex();
    const QSignalBlocker blocker(list());
    list()->clear();
    for (const QString &line : m_items->Lines()) {
        auto *item = new QListWidgetItem(line, list());
        item->setSizeHint(QSize(0, m_itemHeight));
    }
    if (current < list()->count())
        list()->setCurrentRow(current);
}

void TCustomListBox::drawItem(QPainter &painter, const QRect &rect, int index, TOwnerDrawState state)
{
    QImage image(rect.size(), QImage::Format_RGB32);
    m_canvas->SetDevice(&image);
    m_canvas->SetTransform(QTransform::fromTranslate(-rect.left(), -rect.top()));
    m_canvas->Font()->Assign(Font());
    const bool selected = state.testFlag(odSelected);
    m_canvas->Brush()->SetColor(selected ? clHighlight : Color());
    m_canvas->Font()->SetColor(selected ? clHighlightText : Font()->Color());
    OnDrawItem(this, index, TRect::FromQRect(rect), state);
    m_canvas->SetDevice(nullptr);
    painter.drawImage(rect.topLeft(), image);
}

int TCustomListBox::ItemIndex() const
{
    return list()->currentRow();
}

void TCustomListBox::SetItemIndex(int index)
{
    if (index < 0 || index >= list()->count()) {
        list()->setCurrentRow(-1);
        list()->clearSelection();
        return;
    }
    list()->setCurrentRow(index);
    list()->scrollToItem(list()->item(index));
}

void TCustomListBox::SetItemHeight(int height)
{
    m_itemHeight = qMax(1, height);
    for (int i = 0; i < list()->count(); ++i)
        list()->item(i)->setSizeHint(QSize(0, m_itemHeight));
    SetBounds(Left(), Top(), Width(), Height());
}

void TCustomListBox::SetIntegralHeight(bool integral)
{
    m_integralHeight = integral;
    SetBounds(Left(), Top(), Width(), Height());
}

int TCustomListBox::frameHeight() const
{
    return list()->frameWidth();
}

int TCustomListBox::visibleItems() const
{
    return qMax(1, (Height() - 2 * frameHeight()) / m_itemHeight);
}

void TCustomListBox::SetBounds(int left, int top, int width, int height)
{
    if (m_integralHeight) {
        const int frame = 2 * frameHeight();
        height = frame + qMax(1, (height - frame) / m_itemHeight) * m_itemHeight;
    }
    TWinControl::SetBounds(left, top, width, height);
}

bool TCustomListBox::MultiSelect() const
{
    return list()->selectionMode() != QAbstractItemView::SingleSelection;
}

void TCustomListBox::SetMultiSelect(bool multiSelect)
{
    list()->setSelectionMode(!multiSelect       ? QAbstractItemView::SingleSelection
                             : m_extendedSelect ? QAbstractItemView::ExtendedSelection
                                                : QAbstractItemView::MultiSelection);
}

void TCustomListBox::SetExtendedSelect(bool extended)
{
    m_extendedSelect = extended;
    SetMultiSelect(MultiSelect());
}

bool TCustomListBox::Selected(int index) const
{
    const QListWidgetItem *item = list()->item(index);
    return item && item->isSelected();
}

void TCustomListBox::SetSelected(int index, bool selected)
{
    if (QListWidgetItem *item = list()->item(index))
        item->setSelected(selected);
}

int TCustomListBox::SelCount() const
{
    return MultiSelect() ? int(list()->selectedItems().size()) : -1;
}

bool TCustomListBox::Sorted() const
{
    return m_items->Sorted();
}

void TCustomListBox::SetSorted(bool sorted)
{
    m_items->SetSorted(sorted);
}

int TCustomListBox::TopIndex() const
{
    return list()->count() ? list()->row(list()->itemAt(QPoint(1, 1))) : 0;
}

int TCustomListBox::ItemAtPos(TPoint pos, bool existing) const
{
    if (const QListWidgetItem *item = list()->itemAt(QPoint(pos.X, pos.Y)))
        return list()->row(item);
    return existing ? -1 : list()->count();
}

int TCustomListBox::SelectString(int start, const QString &prefix)
{
    const int count = list()->count();
    for (int step = 1; step <= count; ++step) {
        const int index = ((start < 0 ? -1 : start) + step) % count;
        if (m_items->Strings(index).startsWith(prefix, Qt::CaseInsensitive)) {
            SetItemIndex(index);
            return index;
        }
    }
    return -1;
}

bool TCustomListBox::NavigateKey(int key)
{
    const int count = list()->count();
    if (count == 0)
        return false;
    const int current = ItemIndex();
    int target;
    switch (key) {
    case VK_UP:
        target = current - 1;
        break;
    case VK_DOWN:
        target = current + 1;
        break;
    case VK_PRIOR:
        target = current - (visibleItems() - 1);
        break;
    case VK_NEXT:
        target = current + (visibleItems() - 1);
        break;
    case VK_HOME:
        target = 0;
        break;
    case VK_END:
        target = count - 1;
        break;
    default:
        return false;
    }
    SetItemIndex(std::clamp(target, 0, count - 1));
    return true;
}

int TCustomListBox::ItemTextWidth(const QString &text) const
{
    return list()->fontMetrics().horizontalAdvance(text);
}

int TCustomListBox::NonTextWidth(bool scrollBar) const
{
    // An item's text keeps the style's focus-frame margin and one pixel
    // more on either side.
    const int textMargin = list()->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list()) + 1;
    const int scrollBarWidth = scrollBar ? list()->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list()) : 0;
    return 2 * list()->frameWidth() + 2 * textMargin + scrollBarWidth;
}

void TCustomListBox::SetPopup(bool popup)
{
    QWidget *widget = Widget();
    if (popup) {
        SetParent(nullptr);
        SetVisible(false);
        widget->setParent(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                                       | Qt::WindowDoesNotAcceptFocus);
        widget->setAttribute(Qt::WA_ShowWithoutActivating);
        widget->setFocusPolicy(Qt::NoFocus);
    } else {
        widget->hide();
        widget->setParent(nullptr, Qt::Widget);
        SetTabStop(TabStop());
    }
    ApplyBounds();
    SetTopLevel(popup);
}
