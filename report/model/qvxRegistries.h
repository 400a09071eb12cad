#pragma once

// The process-wide registries through which parts of the library announce
// themselves: the report object classes a unit adds (with their picture and
// kind), the export filters that exist, and the property editor that serves
// each kind of property.  Each registry is made by its first use and freed
// at the end of this unit; a later use makes a new, empty one.  The start of
// this unit registers the standard property editors.

#include "report/base/qvxTypes.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TCollection.h"

#include <QFlags>
#include <QString>

class TBitmap;
class TqvxCustomExportFilter;


class TqvxObjectItem : public TCollectionItem
{
    Q_OBJECT

public:
    using TCollectionItem::TCollectionItem;

    TClass ClassRef = nullptr;
    // Given by the registering unit; not owned.
    TBitmap *ButtonBitmap = nullptr;
    // The picture in the object image list; -1 for none.
    int ImageIndex = -1;
    QString DisplayText;
    QString GroupText;
    quint16 KeyNumber = 0;
    TqvxObjectKinds Kind;
};

class TqvxObjectCollection : public TCollection
{
    Q_OBJECT

public:
    TqvxObjectCollection();

    // Registers T, which also goes into the class registry so that report
    // files can name it.  A class already registered with the same key
    // number is ignored.  An empty kind is the class's own
    // T::PaletteKind (okReport in the report component base; data sets and
    // databases declare okData, dialog controls and components okDialog).
    template <class T>
    void RegisterObject(TBitmap *buttonBitmap, const QString &displayText, const QString &groupText,
                        quint16 keyNumber, int imageIndex, TqvxObjectKinds kind = {})
    {
        if (IndexOf(ClassOf<T>(), keyNumber) >= 0)
            return;
        RegisterClass<T>();
        append(ClassOf<T>(), buttonBitmap, displayText, groupText, keyNumber, imageIndex,
               kind ? kind : TqvxObjectKinds(T::PaletteKind));
    }
    // A registration without a class, kept with the kind given.
    void RegisterObject(TBitmap *buttonBitmap, const QString &displayText, const QString &groupText,
                        quint16 keyNumber, int imageIndex, TqvxObjectKinds kind);

    // Removes every registration of cls.
    void UnRegister(TClass cls);
    TqvxObjectItem *GetItem(int index) const;
    // The registration of cls with that key number, or -1.
    int IndexOf(TClass cls, quint16 keyNumber) const;

private:
    void append(TClass cls, TBitmap *buttonBitmap, const QString &displayText, const QString &groupText,
                quint16 keyNumber, int imageIndex, TqvxObjectKinds kind);
};

class TqvxExportFilterItem : public TCollectionItem
{
    Q_OBJECT

public:
    using TCollectionItem::TCollectionItem;

    // Not owned.
    TqvxCustomExportFilter *Filter = nullptr;
};

// The export filters in the order they were made; each filter enters when
// it is constructed and leaves when it is destroyed.
class TqvxExportFilterCollection : public TCollection
{
    Q_OBJECT

public:
    TqvxExportFilterCollection();

    // Ignores nullptr and a filter already listed.
    void Register(TqvxCustomExportFilter *filter);
    void UnRegister(TqvxCustomExportFilter *filter);
    TqvxExportFilterItem *GetItem(int index) const;
};

class TqvxPropertyEditorItem : public TCollectionItem
{
    Q_OBJECT

public:
    using TCollectionItem::TCollectionItem;

    // The property's type name as reflection gives it ("TColor", "TFont",
    // "String").
    QString PropertyType;
    // The class whose property the editor serves; nullptr for every class.
    TClass ComponentClass = nullptr;
    // The property the editor serves; empty for every property of the type.
    QString PropertyName;
    // A TqvxPropertyEditor descendant.
    TClass EditorClass = nullptr;
};

class TqvxPropertyEditorCollection : public TCollection
{
    Q_OBJECT

public:
    TqvxPropertyEditorCollection();

    void Register(const QString &propertyType, TClass componentClass, const QString &propertyName,
                  TClass editorClass);
    TqvxPropertyEditorItem *GetItem(int index) const;
};

TqvxObjectCollection *qvxObjects();
TqvxExportFilterCollection *qvxExportFilters();
// Takes a filter out of the export-filter registry when there is one; a
// filter freed after the unit's end finds none and makes none.
void qvxUnregisterExportFilter(TqvxCustomExportFilter *filter);
TqvxPropertyEditorCollection *qvxPropertyEditors();

// Registers the standard property editors.
void InitializeQvxRegistries();
// Frees the registries.
void FinalizeQvxRegistries();
