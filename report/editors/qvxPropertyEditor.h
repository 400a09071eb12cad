#pragma once

// The base of the property editors an object inspector uses to show and
// change one published property of a selection of objects as text.
//
// An editor is given the objects and, for each, the reflected property it
// edits (Properties is parallel to Components; an entry may be nullptr and
// that object is then left alone).  It reads the value of the first object
// and writes a new value to all of them.  For the inspector it turns the
// value into a display text (GetValue) and back (SetValue), lists the values
// to choose from (GetValues fills Values), cycles or opens a dialog (Edit),
// and draws its drop-down entries and its row (DrawListItem, DrawValue).

#include "toolkit/classes/TObject.h"
#include "toolkit/graphics/Rects.h"
#include "toolkit/widgets/ControlTypes.h"

#include <QFlags>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class TCanvas;
class TCustomListBox;
class TList;
class TPropInfo;
class TStringList;

// What the inspector is told when the editors change the selection.  The
// program has no designer of its own; an inspector that has one passes it to
// the editors.
class TqvxDesigner
{
public:
    virtual ~TqvxDesigner() = default;

    // An ordinal value is about to be written to the selection.
    virtual void BeforeChange() = 0;
    // It has been written to every object of the selection.
    virtual void AfterChange() = 0;
};

enum TqvxPropertyAttribute : quint8 {
    paValueList = 1,     // GetValues lists the values to choose from
    paSortList = 2,      // ... sorted
    paDialog = 4,        // Edit opens a dialog
    paMultiSelect = 8,   // the editor serves a selection of several objects
    paSubProperties = 16, // the value is an object with properties of its own
    paReadOnly = 32,     // the text cannot be typed over
    paOwnerDraw = 64,    // DrawListItem and DrawValue add a picture
};
Q_DECLARE_FLAGS(TqvxPropertyAttributes, TqvxPropertyAttribute)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqvxPropertyAttributes)

class TqvxPropertyEditor : public TObject
{
    Q_OBJECT

public:
    explicit TqvxPropertyEditor(TqvxDesigner *designer);
    ~TqvxPropertyEditor() override;

    TqvxDesigner *Designer() const { return m_designer; }
    // The edited objects.
    TList *Components() const { return m_components.get(); }
    // The property of each object, parallel to Components.
    const QList<const TPropInfo *> &Properties() const { return m_properties; }
    // Adds an object with its property (nullptr: the object is not written).
    void AddComponent(TObject *component, const TPropInfo *property);

    // Height of one list entry in pixels; the drawing offsets depend on it.
    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int height) { m_itemHeight = height; }
    // The values GetValues listed.
    TStringList *Values() const { return m_values.get(); }

    // Cycles to the entry of Values after the current text (the first one
    // after the last or when the current text is not listed); false when
    // there are no values.  Editors with a dialog open it instead and answer
    // whether the user confirmed.
    virtual bool Edit();
    virtual TqvxPropertyAttributes GetAttributes() const { return paMultiSelect; }
    // The name of the first object's property.
    virtual QString GetName() const;
    virtual int GetListExtraWidth() const { return m_itemHeight + 2; }
    virtual QString GetValue() const;
    // Empties Values and makes it sorted exactly for paSortList.
    virtual void GetValues();
    // Parses the text and writes the value; the base editor ignores it.
    virtual void SetValue(const QString &value);
    // Draws entry index of a drop-down list on the list's canvas.
    virtual void DrawListItem(TCustomListBox *list, int index, const TRect &rect, TOwnerDrawState state);
    // Draws the value in the inspector row.
    virtual void DrawValue(TCanvas *canvas, const TRect &rect);

    // The value of the first object.  An object-valued property reads as
    // the object's handle.
    qint64 GetOrdValue() const;
    double GetFloatValue() const;
    QString GetStrValue() const;
    // Writes to every object that has a property, in order.  An
    // object-valued property takes an object's handle.  SetOrdValue tells
    // the designer before the first and after the last assignment.
    void SetOrdValue(qint64 value);
    void SetFloatValue(double value);
    void SetStrValue(const QString &value);

    // Appends to Values (the call-back of the name-table enumerations).
    void AddValue(const QString &value);

protected:
    // The first object's property; raises EPropertyError when there is none.
    const TPropInfo &firstProperty() const;
    TObject *firstComponent() const;

private:
    void assignToAll(const std::function<void(const TPropInfo &, TObject *)> &assign);

    TqvxDesigner *m_designer;
    std::unique_ptr<TList> m_components;
    QList<const TPropInfo *> m_properties;
    int m_itemHeight = 0;
    std::unique_ptr<TStringList> m_values;
};
