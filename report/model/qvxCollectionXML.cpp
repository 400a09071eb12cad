#include "report/model/qvxCollectionXML.h"

#include "report/model/qvxCollection.h"
#include "report/model/qvxComponent.h"
#include "report/model/qvxReportLink.h"
#include "report/xml/qvxXMLEscape.h"
#include "report/xml/qvxXMLItem.h"
#include "report/model/qvxXMLSerializer.h"

#include <functional>

namespace {

const QString itemElement = QStringLiteral("item");
const QString inheritedNameAttribute = QStringLiteral("InheritedName");

// Runs work with the report's current serializer, or with a new one looking
// up references in the report.
void withSerializer(TqvxComponent *owner, const std::function<void(TqvxXMLSerializer &)> &work)
{
    TqvxReportLink *link = owner ? owner->ReportLink() : nullptr;
    if (TqvxXMLSerializer *current = link ? link->CurrentSerializer() : nullptr) {
        work(*current);
        return;
    }
    TqvxXMLSerializer serializer;
    serializer.SetOwner(owner ? owner->GetReport() : nullptr);
    work(serializer);
}

TqvxCollectionItem *namedItem(TCollection *collection, const QString &name)
{
    auto *named = qobject_cast<TqvxCollection *>(collection);
    return named && !name.isEmpty() ? named->FindByName(name) : nullptr;
}

} // namespace

void qvxWriteCollectionXML(TCollection *collection, TqvxXMLItem *item, TqvxComponent *owner,
                           TCollection *ancestor)
{
    withSerializer(owner, [&](TqvxXMLSerializer &serializer) {
        for (int i = 0; i < collection->Count(); ++i) {
            TCollectionItem *source = collection->Items(i);
            auto *named = qobject_cast<TqvxCollectionItem *>(source);
            const bool inherited = named && named->IsInherited();
            TqvxCollectionItem *ancestorItem = inherited ? namedItem(ancestor, named->GetInheritedName()) : nullptr;

            TqvxXMLItem *child = item->Add();
            child->SetName(itemElement);
            QString text = serializer.ObjToXML(source, QString(), ancestorItem);
            if (inherited)
                text += QLatin1Char(' ') + inheritedNameAttribute + QStringLiteral("=\"") +
                        qvxXMLEncode(named->GetInheritedName()) + QLatin1Char('"');
            child->SetText(text);
        }
    });
}

void qvxReadCollectionXML(TCollection *collection, TqvxXMLItem *item, TqvxComponent *owner)
{
    withSerializer(owner, [&](TqvxXMLSerializer &serializer) {
        for (int i = 0; i < item->Count(); ++i) {
            TqvxXMLItem *child = item->Items(i);
            TCollectionItem *target = namedItem(collection, child->GetProp(inheritedNameAttribute));
            if (!target)
                target = collection->Add();
            serializer.ReadPersistentStr(owner ? owner->GetReport() : nullptr, target, child->Text());
        }
    });
}
