#include "toolkit/classes/ObjectHandles.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/TObject.h"

#include <QHash>
#include <QMutex>

#include <limits>

namespace {

struct Registry {
    QMutex mutex;
    QHash<qint32, TObject *> objects;
    qint32 last = 0;

    qint32 nextFreeHandle()
    {
        do {
            last = last == std::numeric_limits<qint32>::max() ? 1 : last + 1;
        } while (objects.contains(last));
        return last;
    }
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

} // namespace

qint32 ObjectHandleRegistry::Acquire(const TObject *object)
{
    if (!object)
        return 0;
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    if (object->m_handle == 0) {
        object->m_handle = r.nextFreeHandle();
        r.objects.insert(object->m_handle, const_cast<TObject *>(object));
    }
    return object->m_handle;
}

void ObjectHandleRegistry::Release(const TObject *object)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    r.objects.remove(object->m_handle);
    object->m_handle = 0;
}

TObject *ObjectHandleRegistry::Find(qint32 handle)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    return r.objects.value(handle, nullptr);
}

TObject *ObjectHandleRegistry::Resolve(qint32 handle)
{
    if (handle == 0)
        return nullptr;
    if (TObject *object = Find(handle))
        return object;
    throw EInvalidObject(QStringLiteral("Invalid object reference (handle %1)").arg(handle));
}

int ObjectHandleRegistry::LiveCount()
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    return r.objects.size();
}
