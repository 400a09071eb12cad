#pragma once

// A host class with a published property of every kind, for scripts.

#include "toolkit/classes/Events.h"
#include "toolkit/classes/TComponent.h"
#include "toolkit/core/Variants.h"

#include <QObject>

namespace HostSample {
Q_NAMESPACE

enum THostKind { hkNone, hkSmall, hkLarge };
Q_ENUM_NS(THostKind)

enum THostFlag { hfA = 0x1, hfB = 0x2, hfC = 0x4 };
Q_DECLARE_FLAGS(THostFlags, THostFlag)
Q_FLAG_NS(THostFlags)

} // namespace HostSample
Q_DECLARE_OPERATORS_FOR_FLAGS(HostSample::THostFlags)

class THostItem : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(int Count MEMBER count)
    Q_PROPERTY(bool Enabled MEMBER enabled)
    Q_PROPERTY(double Ratio MEMBER ratio)
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(HostSample::THostKind Kind MEMBER kind)
    Q_PROPERTY(HostSample::THostFlags Flags MEMBER flags)
    Q_PROPERTY(THostItem *Next MEMBER next)
    Q_PROPERTY(QChar Mark MEMBER mark)
    Q_PROPERTY(Variant Data READ Data WRITE SetData)
    Q_PROPERTY(int Serial READ Serial)
    Q_PROPERTY(TNotifyEvent OnChange READ OnChange WRITE SetOnChange)

public:
    using TComponent::TComponent;

    Variant Data() const { return data; }
    void SetData(const Variant &value) { data = value; }
    int Serial() const { return 77; }
    TNotifyEvent OnChange() const { return onChange; }
    void SetOnChange(const TNotifyEvent &handler) { onChange = handler; }

    int count = 0;
    bool enabled = false;
    double ratio = 0;
    QString caption;
    HostSample::THostKind kind = HostSample::hkNone;
    HostSample::THostFlags flags;
    THostItem *next = nullptr;
    QChar mark = u'-';
    Variant data;
    TNotifyEvent onChange;
};
