#pragma once

// An editor with a drop-down list: TCustomComboBox and TComboBox.
// OnChange fires for the user's changes only (a choice from the list or
// typing); OnDropDown before the list opens and OnCloseUp after it closed.

#include "toolkit/classes/TStrings.h"
#include "toolkit/widgets/TWinControl.h"

#include <memory>

class QComboBox;
class QImage;
class TControlStrings;

class TCustomComboBox : public TWinControl
{
    Q_OBJECT
    Q_PROPERTY(TStrings *Items READ Items WRITE SetItems)
    Q_PROPERTY(QString Text READ Caption WRITE SetCaption)
    Q_PROPERTY(ControlTypes::TComboBoxStyle Style READ Style WRITE SetStyle)
    Q_PROPERTY(int DropDownCount READ DropDownCount WRITE SetDropDownCount)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)

public:
    explicit TCustomComboBox(TComponent *owner);
    ~TCustomComboBox() override;

    TStrings *Items() const;
    void SetItems(const TStrings *items);
    virtual int ItemIndex() const;
    virtual void SetItemIndex(int index);
    QString Caption() const override;
    void SetCaption(const QString &text) override;

    TComboBoxStyle Style() const { return m_style; }
    void SetStyle(TComboBoxStyle style);
    int DropDownCount() const;
    void SetDropDownCount(int count);
    bool DroppedDown() const { return m_droppedDown; }
    void SetDroppedDown(bool droppedDown);
    bool Sorted() const;
    void SetSorted(bool sorted);
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int length);
    // Shows image before the item's text (until the items change); the
    // list's pictures take the size of the largest image given.
    void SetItemImage(int index, const QImage &image);

    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int height) { m_itemHeight = height; }

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TNotifyEvent OnCloseUp;

protected:
    virtual void Change();
    virtual void DropDown();
    virtual void CloseUp();
    bool ClicksOnMouseUp() const override { return false; }

private:
    class Box;
    QComboBox *combo() const;
    void pushItems();

    std::unique_ptr<TControlStrings> m_items;
    TComboBoxStyle m_style = csDropDown;
    int m_maxLength = 0;
    int m_itemHeight = 16;
    bool m_droppedDown = false;
};

class TComboBox : public TCustomComboBox
{
    Q_OBJECT

public:
    explicit TComboBox(TComponent *owner) : TCustomComboBox(owner) {}
};
