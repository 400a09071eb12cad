#pragma once

// A data set that takes every value from its owner's events: the host
// names the fields, sets the record count (RangeEnd reCount) and answers
// OnGetValue or OnNewGetValue for the current RecNo.

#include "report/data/qvxDataSet.h"
#include "toolkit/classes/TStrings.h"

#include <memory>

TOOLKIT_EVENT(TqvxGetValueEvent, void(const QString &varName, Variant &value))
TOOLKIT_EVENT(TqvxNewGetValueEvent, void(TObject *sender, const QString &varName, Variant &value))

class TqvxUserDataSet : public TqvxDataSet
{
    Q_OBJECT
    Q_PROPERTY(TStrings *Fields READ Fields WRITE SetFields)
    Q_PROPERTY(TqvxGetValueEvent OnGetValue READ OnGetValue WRITE SetOnGetValue)
    Q_PROPERTY(TqvxNewGetValueEvent OnNewGetValue READ OnNewGetValue WRITE SetOnNewGetValue)

public:
    explicit TqvxUserDataSet(TComponent *owner = nullptr);
    ~TqvxUserDataSet() override;

    // The field names, one a line.
    TStrings *Fields() const { return m_fields.get(); }
    void SetFields(const TStrings *value);

    // Null, then OnGetValue, then OnNewGetValue, each seeing the value so
    // far.  The field is handed over as the text names it, whether Fields
    // lists it or not.
    Variant GetValue(const QString &field) override;
    // The same value as text; null gives "".
    QString GetDisplayText(const QString &field) override;
    int FieldsCount() override;
    void GetFieldList(TStrings *list) override;

    // A walk that neither counts records nor has OnCheckEOF would never
    // end: such a data set is at its end at once, and a line in the
    // report's errors says why.
    bool Eof() override;

    TqvxGetValueEvent OnGetValue() const { return m_onGetValue; }
    void SetOnGetValue(const TqvxGetValueEvent &handler) { m_onGetValue = handler; }
    TqvxNewGetValueEvent OnNewGetValue() const { return m_onNewGetValue; }
    void SetOnNewGetValue(const TqvxNewGetValueEvent &handler) { m_onNewGetValue = handler; }

private:
    std::unique_ptr<TStrings> m_fields;
    TqvxGetValueEvent m_onGetValue;
    TqvxNewGetValueEvent m_onNewGetValue;
};

void InitializeQvxUserDataSet();
