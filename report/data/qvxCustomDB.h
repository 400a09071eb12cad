#pragma once

// The bases of database access: data sets over database tables and the
// connections they use.  No database driver exists in this system; these
// classes give descendants their common published face.

#include "report/data/qvxDataSet.h"
#include "toolkit/classes/TStrings.h"

#include <memory>

class TqvxCustomDBDataSet : public TqvxDataSet
{
    Q_OBJECT
    Q_PROPERTY(bool CloseDataSource READ CloseDataSource WRITE SetCloseDataSource)
    Q_PROPERTY(TStrings *FieldAliases READ FieldAliases WRITE SetFieldAliases)
    Q_PROPERTY(bool OpenDataSource READ OpenDataSource WRITE SetOpenDataSource)
    Q_PROPERTY(TNotifyEvent OnClose READ OnClose WRITE SetOnClose)
    Q_PROPERTY(TNotifyEvent OnOpen READ OnOpen WRITE SetOnOpen)

public:
    explicit TqvxCustomDBDataSet(TComponent *owner = nullptr);
    ~TqvxCustomDBDataSet() override;

    // The data source is closed after the report's run.
    bool CloseDataSource() const { return m_closeDataSource; }
    void SetCloseDataSource(bool value) { m_closeDataSource = value; }
    // "field=alias" lines: the names under which report texts know fields.
    TStrings *FieldAliases() const { return m_fieldAliases.get(); }
    void SetFieldAliases(const TStrings *value);
    // The data source is opened for the report's run.
    using TqvxDataSet::OpenDataSource;
    using TqvxDataSet::SetOpenDataSource;

    // The number of names GetFieldList yields.
    int FieldsCount() override;

private:
    bool m_closeDataSource = false;
    std::unique_ptr<TStrings> m_fieldAliases;
};

// A database connection of a dialog page.  Every operation is empty in the
// base: disconnected, no name, no login prompt, no parameters.
class TqvxCustomDatabase : public TqvxDialogComponent
{
    Q_OBJECT

public:
    static constexpr TqvxObjectKind PaletteKind = okData;

    using TqvxDialogComponent::TqvxDialogComponent;

    virtual bool GetConnected();
    // Connects or disconnects through DoSetConnected.  A connection is
    // first offered to the report's OnBeforeConnect, which may refuse it;
    // the report's OnAfterDisconnect follows a disconnection.
    void SetConnected(bool value);
    virtual QString GetDatabaseName();
    virtual void SetDatabaseName(const QString &value);
    virtual bool GetLoginPrompt();
    virtual void SetLoginPrompt(bool value);
    // Replaces the content of params by the connection's parameters.
    virtual void GetParams(TStrings *params);
    virtual void SetParams(const TStrings *params);

protected:
    // The connection's own connecting and disconnecting; nothing in the base.
    virtual void DoSetConnected(bool value);
};

void InitializeQvxCustomDB();
