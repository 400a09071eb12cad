#include "report/model/qvxRegistries.h"

#include "report/editors/qvxPropertyEditors.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <memory>

namespace {

std::unique_ptr<TqvxObjectCollection> objectRegistry;
std::unique_ptr<TqvxExportFilterCollection> exportFilterRegistry;
std::unique_ptr<TqvxPropertyEditorCollection> propertyEditorRegistry;

} // namespace

TqvxObjectCollection::TqvxObjectCollection()
    : TCollection(CollectionItemClassOf<TqvxObjectItem>())
{
}

void TqvxObjectCollection::RegisterObject(TBitmap *buttonBitmap, const QString &displayText,
                                          const QString &groupText, quint16 keyNumber, int imageIndex,
                                          TqvxObjectKinds kind)
{
    append(nullptr, buttonBitmap, displayText, groupText, keyNumber, imageIndex, kind);
}

void TqvxObjectCollection::append(TClass cls, TBitmap *buttonBitmap, const QString &displayText,
                                  const QString &groupText, quint16 keyNumber, int imageIndex,
                                  TqvxObjectKinds kind)
{
    auto *item = static_cast<TqvxObjectItem *>(Add());
    item->ClassRef = cls;
    item->ButtonBitmap = buttonBitmap;
    item->ImageIndex = imageIndex;
    item->GroupText = groupText;
    item->DisplayText = displayText;
    item->KeyNumber = keyNumber;
    item->Kind = kind;
}

void TqvxObjectCollection::UnRegister(TClass cls)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (GetItem(i)->ClassRef == cls)
            Delete(i);
}

TqvxObjectItem *TqvxObjectCollection::GetItem(int index) const
{
    return static_cast<TqvxObjectItem *>(Items(index));
}

int TqvxObjectCollection::IndexOf(TClass cls, quint16 keyNumber) const
{
    if (!cls)
        return -1;
    for (int i = 0; i < Count(); ++i)
        if (GetItem(i)->ClassRef == cls && GetItem(i)->KeyNumber == keyNumber)
            return i;
    return -1;
}

TqvxExportFilterCollection::TqvxExportFilterCollection()
    : TCollection(CollectionItemClassOf<TqvxExportFilterItem>())
{
}

void TqvxExportFilterCollection::Register(TqvxCustomExportFilter *filter)
{
    if (!filter)
        return;
    for (int i = 0; i < Count(); ++i)
        if (GetItem(i)->Filter == filter)
            return;
    static_cast<TqvxExportFilterItem *>(Add())->Filter = filter;
}

void TqvxExportFilterCollection::UnRegister(TqvxCustomExportFilter *filter)
{
    for (int i = Count() - 1; i >= 0; --i)
        if (GetItem(i)->Filter == filter)
            Delete(i);
}

TqvxExportFilterItem *TqvxExportFilterCollection::GetItem(int index) const
{
    return static_cast<TqvxExportFilterItem *>(Items(index));
}

TqvxPropertyEditorCollection::TqvxPropertyEditorCollection()
    : TCollection(CollectionItemClassOf<TqvxPropertyEditorItem>())
{
}

void TqvxPropertyEditorCollection::Register(const QString &propertyType, TClass componentClass,
                                            const QString &propertyName, TClass editorClass)
{
    auto *item = static_cast<TqvxPropertyEditorItem *>(Add());
    item->PropertyType = propertyType;
    item->ComponentClass = componentClass;
    item->PropertyName = propertyName;
    item->EditorClass = editorClass;
}

TqvxPropertyEditorItem *TqvxPropertyEditorCollection::GetItem(int index) const
{
    return static_cast<TqvxPropertyEditorItem *>(Items(index));
}

TqvxObjectCollection *qvxObjects()
{
    if (!objectRegistry)
        objectRegistry = std::make_unique<TqvxObjectCollection>();
    return objectRegistry.get();
}

TqvxExportFilterCollection *qvxExportFilters()
{
    if (!exportFilterRegistry)
        exportFilterRegistry = std::make_unique<TqvxExportFilterCollection>();
    return exportFilterRegistry.get();
}

void qvxUnregisterExportFilter(TqvxCustomExportFilter *filter)
{
    if (exportFilterRegistry)
        exportFilterRegistry->UnRegister(filter);
}

TqvxPropertyEditorCollection *qvxPropertyEditors()
{
    if (!propertyEditorRegistry)
        propertyEditorRegistry = std::make_unique<TqvxPropertyEditorCollection>();
    return propertyEditorRegistry.get();
}

void InitializeQvxRegistries()
{
    TqvxPropertyEditorCollection *editors = qvxPropertyEditors();
    const TClass font = ClassOf<TFont>();
    editors->Register(QStringLiteral("TComponentName"), nullptr, QStringLiteral("Name"),
                      ClassOf<TqvxNameProperty>());
    editors->Register(QStringLiteral("TColor"), nullptr, QString(), ClassOf<TqvxColorProperty>());
    editors->Register(QStringLiteral("TFont"), nullptr, QString(), ClassOf<TqvxFontProperty>());
    editors->Register(QStringLiteral("String"), font, QStringLiteral("Name"), ClassOf<TqvxFontNameProperty>());
    editors->Register(QStringLiteral("Integer"), font, QStringLiteral("Charset"),
                      ClassOf<TqvxFontCharsetProperty>());
    editors->Register(QStringLiteral("TModalResult"), nullptr, QString(), ClassOf<TqvxModalResultProperty>());
    editors->Register(QStringLiteral("TShortCut"), nullptr, QString(), ClassOf<TqvxShortCutProperty>());
    editors->Register(QStringLiteral("TCursor"), nullptr, QString(), ClassOf<TqvxCursorProperty>());
    editors->Register(QStringLiteral("TDateTime"), nullptr, QString(), ClassOf<TqvxDateTimeProperty>());
    editors->Register(QStringLiteral("TDate"), nullptr, QString(), ClassOf<TqvxDateProperty>());
    editors->Register(QStringLiteral("TTime"), nullptr, QString(), ClassOf<TqvxTimeProperty>());
}

void FinalizeQvxRegistries()
{
    objectRegistry.reset();
    exportFilterRegistry.reset();
    propertyEditorRegistry.reset();
}
