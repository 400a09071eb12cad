#pragma once

// Report variables: values the host hands to a report by name.  A report
// text names a variable in brackets; a string value is an expression.
//
// Names are free text (a leading blank is part of the name) and are found
// without regard to letter case.  Besides each report's own list there is
// one global list, consulted after the report's.

#include "report/model/qvxCollection.h"
#include "toolkit/core/Variants.h"

#include <QString>

class TqvxVariable : public TqvxCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(Variant Value READ Value WRITE SetValue)

public:
    explicit TqvxVariable(TCollection *collection = nullptr);

    QString Name() const { return m_name; }
    void SetName(const QString &value) { m_name = value; }
    // Null at creation.
    Variant Value() const { return m_value; }
    void SetValue(const Variant &value) { m_value = value; }
    // Taken over from a parent report.
    bool IsInherited() const override { return m_isInherited; }
    void SetIsInherited(bool value) { m_isInherited = value; }

    // The Name when there is one, else the generated name.
    QString GetInheritedName() const override;

    // Copies Name, Value and the inherited flag of another variable.
    void Assign(const TPersistent *source) override;

private:
    QString m_name;
    Variant m_value = Variant::Null();
    bool m_isInherited = false;
};

class TqvxVariables : public TqvxCollection
{
    Q_OBJECT

public:
    explicit TqvxVariables(TPersistent *owner = nullptr);

    // A new variable at the end.
    TqvxVariable *Add();
    TqvxVariable *Items(int index) const;
    // The first variable of that name (letter case ignored), or -1.
    int IndexOf(const QString &name) const;
    // The value, or null when no variable has that name.
    Variant GetVariable(const QString &name) const;
    // Adds the variable when there is none of that name, then gives it a
    // copy of value.
    void SetVariable(const QString &name, const Variant &value);
};

// Values keyed by variants, compared by their text as variable names are.
class TqvxArray : public TqvxVariables
{
    Q_OBJECT

public:
    explicit TqvxArray(TPersistent *owner = nullptr);

    int IndexOf(const Variant &key) const;
    // Null when there is no item for key.
    Variant GetValue(const Variant &key) const;
    // Adds an item named by the key's text when there is none.
    void SetValue(const Variant &key, const Variant &value);
};

// The process-wide variables; the entry "CopyName0" gives the value of
// CopyName#.  Exists between the unit's start and end (nullptr outside).
TqvxVariables *qvxGlobalVariables();

void InitializeQvxVariables();
void FinalizeQvxVariables();
