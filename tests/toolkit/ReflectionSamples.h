#pragma once

// Small published classes that exercise every kind of property the
// reflection layer reports.

#include "toolkit/classes/Events.h"
#include "toolkit/classes/TCollection.h"
#include "toolkit/classes/TComponent.h"
#include "toolkit/core/Variants.h"

#include <QObject>

namespace Sample {
Q_NAMESPACE

enum TSampleAlign { saLeft, saCenter, saRight };
Q_ENUM_NS(TSampleAlign)

// Files would name its values by position, so reflection refuses it.
enum TSampleGapped { sgFirst = 0, sgThird = 2 };
Q_ENUM_NS(TSampleGapped)

// An enumeration one byte wide.
enum TSampleSmall : quint8 { smFirst, smSecond, smThird };
Q_ENUM_NS(TSampleSmall)

enum TSampleStyle { ssBold = 0x1, ssItalic = 0x2, ssUnderline = 0x4, ssBoldItalic = 0x3 };
Q_DECLARE_FLAGS(TSampleStyles, TSampleStyle)
Q_FLAG_NS(TSampleStyles)

} // namespace Sample
Q_DECLARE_OPERATORS_FOR_FLAGS(Sample::TSampleStyles)

TOOLKIT_EVENT(TSampleKeyEvent, void(TObject *sender, int &key, QChar &letter, bool &handled, Sample::TSampleAlign align))
struct TSampleOpaque {
    int value = 0;
};
TOOLKIT_EVENT(TSampleOpaqueEvent, void(TObject *sender, TSampleOpaque &opaque))

class TSampleFont : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(QString Name MEMBER name)
    Q_PROPERTY(int Size MEMBER size)
    Q_PROPERTY(Sample::TSampleStyles Style MEMBER style)

public:
    QString name = QStringLiteral("Arial");
    int size = 10;
    Sample::TSampleStyles style;

    void Assign(const TPersistent *source) override
    {
        if (auto *font = qobject_cast<const TSampleFont *>(source)) {
            name = font->name;
            size = font->size;
            style = font->style;
            return;
        }
        TPersistent::Assign(source);
    }
};

class TSampleView : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(double Left MEMBER left)
    Q_PROPERTY(Sample::TSampleAlign Align MEMBER align)
    Q_PROPERTY(bool Visible MEMBER visible)
    Q_PROPERTY(int Color MEMBER color)
    Q_PROPERTY(bool ParentFont MEMBER parentFont)
    Q_PROPERTY(TSampleFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TSampleView *Next MEMBER next)
    Q_PROPERTY(QString URL MEMBER url STORED false)
    Q_PROPERTY(QString Hint MEMBER hint)
    Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)

public:
    using TComponent::TComponent;
    ~TSampleView() override { delete font; }

    TSampleFont *Font() const { return font; }
    void SetFont(TSampleFont *value) { font->Assign(value); }
    bool IsFontStored() const { return !parentFont; }
    TNotifyEvent OnClick() const { return onClick; }
    void SetOnClick(const TNotifyEvent &handler) { onClick = handler; }

    void Notification(TComponent *component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == next)
            next = nullptr;
    }

    double left = 0;
    Sample::TSampleAlign align = Sample::saLeft;
    bool visible = true;
    int color = 0xFFFFFF;
    bool parentFont = true;
    TSampleFont *font = new TSampleFont;
    TSampleView *next = nullptr;
    QString url;
    QString hint;
    TNotifyEvent onClick;
};

// Redeclares Align and adds wide and 64-bit properties.
class TSampleMemo : public TSampleView
{
    Q_OBJECT
    Q_PROPERTY(qint64 Big MEMBER big)
    Q_PROPERTY(Sample::TSampleAlign Align READ GetAlign WRITE SetAlign)
    Q_PROPERTY(QString Text MEMBER text)
    Q_PROPERTY(QChar Delimiter MEMBER delimiter)
    Q_PROPERTY(Variant Value READ GetValue WRITE SetValue)

public:
    using TSampleView::TSampleView;

    Sample::TSampleAlign GetAlign() const { return align; }
    void SetAlign(Sample::TSampleAlign value) { align = value; ++alignWrites; }
    Variant GetValue() const { return value; }
    void SetValue(const Variant &v) { value = v; }

    qint64 big = 0;
    QString text;
    QChar delimiter = u'[';
    int alignWrites = 0;
    Variant value;
};

class TSampleItem : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER caption)

public:
    using TCollectionItem::TCollectionItem;

    void Assign(const TPersistent *source) override
    {
        if (auto *item = qobject_cast<const TSampleItem *>(source)) {
            caption = item->caption;
            return;
        }
        TCollectionItem::Assign(source);
    }

    QString caption;
};

class TSampleItems : public TCollection
{
    Q_OBJECT

public:
    explicit TSampleItems(TPersistent *owner = nullptr)
        : TCollection(CollectionItemClassOf<TSampleItem>(), owner)
    {
    }
    TSampleItem *Items(int index) const { return static_cast<TSampleItem *>(TCollection::Items(index)); }
};

// Publishes an enumeration with a gap.
class TSampleGappedView : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(Sample::TSampleGapped Kind MEMBER kind)

public:
    Sample::TSampleGapped kind = Sample::sgFirst;
};

// Values of every width the ordinal and float kinds come in.
class TSampleWidths : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(uint Unsigned MEMBER unsignedValue)
    Q_PROPERTY(ushort Short MEMBER shortValue)
    Q_PROPERTY(uchar Byte MEMBER byteValue)
    Q_PROPERTY(signed char Signed MEMBER signedValue)
    Q_PROPERTY(quint64 Huge MEMBER hugeValue)
    Q_PROPERTY(Sample::TSampleSmall Small MEMBER smallValue)
    Q_PROPERTY(float Single MEMBER singleValue)

public:
    uint unsignedValue = 0;
    ushort shortValue = 0;
    uchar byteValue = 0;
    signed char signedValue = 0;
    quint64 hugeValue = 0;
    Sample::TSampleSmall smallValue = Sample::smFirst;
    float singleValue = 0;
    // Written around the others, to show that no write spills over.
    quint32 guard = 0xA5A5A5A5;
};

// A float that a test declares a default for, which floats cannot have.
class TSampleFloatDefault : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(double Width MEMBER width)

public:
    double width = 0;
};
