#pragma once

// A non-visual container of components at the top level of the
// application; it is one of the global components while it lives.

#include "toolkit/classes/Events.h"
#include "toolkit/classes/TComponent.h"

class TDataModule : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(TNotifyEvent OnCreate READ OnCreate WRITE SetOnCreate)
    Q_PROPERTY(TNotifyEvent OnDestroy READ OnDestroy WRITE SetOnDestroy)

public:
    explicit TDataModule(TComponent *owner = nullptr);
    // Runs OnDestroy first.
    ~TDataModule() override;

    // Joins the global components, then runs OnCreate.
    void AfterConstruction() override;

    TNotifyEvent OnCreate() const { return m_onCreate; }
    void SetOnCreate(const TNotifyEvent &handler) { m_onCreate = handler; }
    TNotifyEvent OnDestroy() const { return m_onDestroy; }
    void SetOnDestroy(const TNotifyEvent &handler) { m_onDestroy = handler; }

private:
    TNotifyEvent m_onCreate;
    TNotifyEvent m_onDestroy;
};
