#include "toolkit/widgets/TComboBox.h"

#include "toolkit/widgets/TControlStrings.h"

#include <QComboBox>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QLineEdit>

// Tells the control when its list opens and closes.
class TCustomComboBox::Box : public QComboBox
{
public:
    explicit Box(TCustomComboBox *owner) : m_owner(owner) {}

    void showPopup() override
    {
        m_owner->m_droppedDown = true;
        m_owner->DropDown();
        QComboBox::showPopup();
    }
    void hidePopup() override
    {
        QComboBox::hidePopup();
        if (!m_owner->m_droppedDown)
            return;
        m_owner->m_droppedDown = false;
        m_owner->CloseUp();
    }

private:
    TCustomComboBox *m_owner;
};

TCustomComboBox::TCustomComboBox(TComponent *owner)
    : TWinControl(owner, new Box(this)), m_items(std::make_unique<TControlStrings>([this] { pushItems(); }))
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 145, 21);
    SetStyle(csDropDown);
    QObject::connect(combo(), &QComboBox::activated, this, [this] { Change(); });
}

TCustomComboBox::~TCustomComboBox() = default;

QComboBox *TCustomComboBox::combo() const
{
    return static_cast<QComboBox *>(Widget());
}

TStrings *TCustomComboBox::Items() const
{
    return m_items.get();
}

void TCustomComboBox::SetItems(const TStrings *items)
{
    m_items->Assign(items);
}

void TCustomComboBox::pushItems()
{
    const QSignalBlocker blocker(combo());
    const QString text = Caption();
    combo()->clear();
    combo()->addItems(m_items->Lines());
    combo()->setCurrentIndex(-1);
    if (combo()->isEditable())
        combo()->setEditText(text);
}

void TCustomComboBox::SetItemImage(int index, const QImage &image)
{
    combo()->setItemIcon(index, QIcon(QPixmap::fromImage(image)));
    combo()->setIconSize(combo()->iconSize().expandedTo(image.size()));
}

int TCustomComboBox::ItemIndex() const
{
    return combo()->currentIndex();
}

void TCustomComboBox::SetItemIndex(int index)
{
    const QSignalBlocker blocker(combo());
    combo()->setCurrentIndex(index >= 0 && index < combo()->count() ? index : -1);
}

QString TCustomComboBox::Caption() const
{
    return combo()->isEditable() ? combo()->currentText() : combo()->itemText(combo()->currentIndex());
}

void TCustomComboBox::SetCaption(const QString &text)
{
    const QSignalBlocker blocker(combo());
    if (combo()->isEditable())
        combo()->setEditText(text);
    else
        combo()->setCurrentIndex(m_items->IndexOf(text));
}

void TCustomComboBox::SetStyle(TComboBoxStyle style)
{
    m_style = style;
    const bool editable = style == csDropDown || style == csSimple;
    if (editable == combo()->isEditable())
        return;
    combo()->setEditable(editable);
    if (QLineEdit *edit = combo()->lineEdit()) {
        edit->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
        QObject::connect(edit, &QLineEdit::textEdited, this, [this] { Change(); });
    }
}

int TCustomComboBox::DropDownCount() const
{
    return combo()->maxVisibleItems();
}

void TCustomComboBox::SetDropDownCount(int count)
{
    combo()->setMaxVisibleItems(qMax(1, count));
}

void TCustomComboBox::SetDroppedDown(bool droppedDown)
{
    if (droppedDown == m_droppedDown)
        return;
    if (droppedDown)
        combo()->showPopup();
    else
        combo()->hidePopup();
}

bool TCustomComboBox::Sorted() const
{
    return m_items->Sorted();
}

void TCustomComboBox::SetSorted(bool sorted)
{
    m_items->SetSorted(sorted);
}

void TCustomComboBox::SetMaxLength(int length)
{
    m_maxLength = qMax(0, length);
    if (QLineEdit *edit = combo()->lineEdit())
        edit->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
}

void TCustomComboBox::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomComboBox::DropDown()
{
    if (OnDropDown)
        OnDropDown(this);
}

void TCustomComboBox::CloseUp()
{
    if (OnCloseUp)
        OnCloseUp(this);
}
