#pragma once

// Calls OnTimer every Interval milliseconds while Enabled, Interval > 0 and
// a handler is assigned.

#include "toolkit/classes/Events.h"
#include "toolkit/classes/TComponent.h"

#include <QTimer>

class TTimer : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(int Interval READ Interval WRITE SetInterval)

public:
    explicit TTimer(TComponent *owner);

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    int Interval() const { return m_interval; }
    void SetInterval(int interval);
    TNotifyEvent OnTimer() const { return m_onTimer; }
    void SetOnTimer(const TNotifyEvent &handler);

protected:
    virtual void Timer();

private:
    void update();

    QTimer m_timer;
    bool m_enabled = true;
    int m_interval = 1000;
    TNotifyEvent m_onTimer;
};
