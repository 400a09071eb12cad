#include "report/components/qvxStyles.h"

#include "report/model/qvxCollectionXML.h"
#include "report/model/qvxComponent.h"
#include "report/model/qvxResources.h"
#include "report/xml/qvxXMLDocument.h"
#include "report/model/qvxXMLSerializer.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/core/CodePages.h"
#include "toolkit/core/Exceptions.h"

namespace {

const QString rootElement = QStringLiteral("style");
const QString itemElement = QStringLiteral("item");
const QString nameAttribute = QStringLiteral("Name");

} // namespace

TqvxStyleItem::TqvxStyleItem(TCollection *collection)
    : TqvxCollectionItem(collection),
      m_font(std::make_unique<TFont>()),
      m_frame(std::make_unique<TqvxFrame>())
{
    m_font->SetName(QStringLiteral("Arial"));
    m_font->SetSize(10);
    m_font->SetCharset(1);
}

TqvxStyleItem::~TqvxStyleItem() = default;

void TqvxStyleItem::SetName(const QString &value)
{
    if (const auto *styles = qobject_cast<const TqvxStyles *>(Collection())) {
        const TqvxStyleItem *holder = styles->Find(value);
        if (holder && holder != this)
            throw Exception(qvxResources()->Get(QStringLiteral("clDupName")));
    }
    m_name = value;
}

TColor TqvxStyleItem::Color() const
{
    if (const auto *gradient = qobject_cast<const TqvxGradientFill *>(Fill()))
        return gradient->MiddleColor();
    return m_fill.BackColor();
}

QString TqvxStyleItem::GetInheritedName() const
{
    return m_name.isEmpty() ? TqvxCollectionItem::GetInheritedName() : m_name;
}

void TqvxStyleItem::Assign(const TPersistent *source)
{
    const auto *style = qobject_cast<const TqvxStyleItem *>(source);
    if (!style) {
        TqvxCollectionItem::Assign(source);
        return;
    }
    m_name = style->m_name;
    m_font->Assign(style->m_font.get());
    m_frame->Assign(style->m_frame.get());
    m_fill.SetFill(style->Fill());
    m_applyFont = style->m_applyFont;
    m_applyFill = style->m_applyFill;
    m_applyFrame = style->m_applyFrame;
}

TqvxStyles::TqvxStyles(TqvxComponent *report)
    : TqvxCollection(qvxCollectionItemClassOf<TqvxStyleItem>()),
      m_report(report)
{
}

TqvxStyleItem *TqvxStyles::Add()
{
    return static_cast<TqvxStyleItem *>(TCollection::Add());
}

TqvxStyleItem *TqvxStyles::Items(int index) const
{
    return static_cast<TqvxStyleItem *>(TCollection::Items(index));
}

TqvxStyleItem *TqvxStyles::Find(const QString &name) const
{
    for (int i = 0; i < Count(); ++i)
        if (AnsiSameText(Items(i)->Name(), name))
            return Items(i);
    return nullptr;
}

void TqvxStyles::GetList(TStrings *list) const
{
    list->Clear();
    for (int i = 0; i < Count(); ++i)
        list->Add(Items(i)->Name());
}

void TqvxStyles::Apply()
{
    if (!m_report)
        return;
    for (TqvxComponent *object : m_report->GetAllObjects()) {
        auto *styled = dynamic_cast<TqvxStyledObject *>(object);
        if (!styled || styled->Style().isEmpty())
            continue;
        styled->SetStyle(Find(styled->Style()) ? styled->Style() : QString());
    }
}

void TqvxStyles::SaveToXMLItem(TqvxXMLItem *item)
{
    item->SetName(rootElement);
    item->SetProp(nameAttribute, m_name);
    qvxWriteCollectionXML(this, item, m_report);
}

void TqvxStyles::LoadFromXMLItem(TqvxXMLItem *item, bool oldFormat)
{
    Clear();
    m_name = item->GetProp(nameAttribute);
    TqvxXMLSerializer serializer;
    serializer.SetOldFormat(oldFormat);
    for (int i = 0; i < item->Count(); ++i) {
        TqvxXMLItem *child = item->Items(i);
        if (child->Name().compare(itemElement, Qt::CaseInsensitive) == 0)
            serializer.ReadPersistentStr(m_report, Add(), child->Text());
    }
    Apply();
}

void TqvxStyles::SaveToStream(TStream *stream)
{
    TqvxXMLDocument document;
    document.SetAutoIndent(true);
    SaveToXMLItem(document.Root());
    document.SaveToStream(stream);
}

void TqvxStyles::LoadFromStream(TStream *stream)
{
    TqvxXMLDocument document;
    document.LoadFromStream(stream);
    if (document.Root()->Name().compare(rootElement, Qt::CaseInsensitive) == 0)
        LoadFromXMLItem(document.Root(), document.OldVersion());
}

void TqvxStyles::SaveToFile(const QString &fileName)
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(&stream);
}

void TqvxStyles::LoadFromFile(const QString &fileName)
{
    TFileStream stream(fileName, fmOpenRead);
    LoadFromStream(&stream);
}

void InitializeQvxStyles()
{
    RegisterClass<TqvxStyleItem>();
    // A style list of a report, or of its own when made without one.
    ClassFactories styles;
    styles.createOwned = [](TComponent *owner) -> TObject * {
        return new TqvxStyles(qobject_cast<TqvxComponent *>(owner));
    };
    RegisterClass(ClassOf<TqvxStyles>(), std::move(styles));
    DescribeProperties<TqvxStyleItem>()
        .TypeName("Color", QStringLiteral("TColor"))
        .Stored("Color", [](const TObject *) { return false; })
        .Default("FillType", ftBrush)
        .Default("ApplyFont", true)
        .Default("ApplyFill", true)
        .Default("ApplyFrame", true);
}
