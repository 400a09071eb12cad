#include "report/components/qvxFormat.h"

#include "toolkit/classes/PropertyDeclarations.h"

TqvxFormat::TqvxFormat(TCollection *collection)
    : TCollectionItem(collection)
{
}

void TqvxFormat::Assign(const TPersistent *source)
{
    const auto *format = qobject_cast<const TqvxFormat *>(source);
    if (!format) {
        TCollectionItem::Assign(source);
        return;
    }
    m_decimalSeparator = format->m_decimalSeparator;
    m_formatStr = format->m_formatStr;
    m_kind = format->m_kind;
    m_thousandSeparator = format->m_thousandSeparator;
}

TqvxFormatCollection::TqvxFormatCollection()
    : TCollection(CollectionItemClassOf<TqvxFormat>())
{
}

TqvxFormat *TqvxFormatCollection::Items(int index) const
{
    return static_cast<TqvxFormat *>(TCollection::Items(index));
}

void InitializeQvxFormat()
{
    DescribeProperties<TqvxFormat>().Default("Kind", fkText);
}
