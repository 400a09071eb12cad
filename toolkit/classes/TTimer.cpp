#include "toolkit/classes/TTimer.h"

TTimer::TTimer(TComponent *owner) : TComponent(owner)
{
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] { Timer(); });
}

void TTimer::SetEnabled(bool enabled)
{
    m_enabled = enabled;
    update();
}

void TTimer::SetInterval(int interval)
{
    m_interval = interval;
    update();
}

void TTimer::SetOnTimer(const TNotifyEvent &handler)
{
    m_onTimer = handler;
    update();
}

void TTimer::update()
{
    if (m_enabled && m_interval > 0 && m_onTimer)
        m_timer.start(m_interval);
    else
        m_timer.stop();
}

void TTimer::Timer()
{
    if (m_onTimer)
        m_onTimer(this);
}
