#include "toolkit/classes/ObjectHandles.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/TObject.h"

#include <QHash>
#include <QMutex>

#include <atomic>

namespace {

// Handles walk the positive 31-bit values in steps of a large odd number,
// which visits every value once before any comes round again: a freed
// object's handle is not given out again for two thousand million
// acquisitions, and neighbouring handles lie far apart.  Values below
// smallestHandle (the small integers a script computes) are never handles.
constexpr quint32 handleMask = 0x7FFFFFFF;
constexpr quint32 firstHandle = 0x4B1D5EED;
constexpr quint32 handleStep = 0x2C9277B5;
constexpr quint32 smallestHandle = 0x10000;

struct Registry {
    QMutex mutex;
    QHash<qint32, TObject *> objects;
    // Every object alive, with its generation.
    QHash<const TObject *, quint32> alive;
    quint32 last = firstHandle - handleStep;
    quint32 births = 0;

    qint32 nextFreeHandle()
    {
        do {
            last = (last + handleStep) & handleMask;
        } while (last < smallestHandle || objects.contains(qint32(last)));
        return qint32(last);
    }
};

// Counts the handles given up, so that a thread's last lookup (below) is
// trusted only while no handle has gone since.
std::atomic<quint64> releases{0};

struct LastFound {
    quint64 releases = ~quint64(0);
    qint32 handle = 0;
    TObject *object = nullptr;
};
thread_local LastFound lastFound;

// Never destroyed: objects freed while the process exits, after the
// statics, still release their handles.
Registry &registry()
{
    static Registry *instance = new Registry;
    return *instance;
}

} // namespace

qint32 ObjectHandleRegistry::Acquire(const TObject *object)
{
    return acquire(object, nullptr);
}

qint32 ObjectHandleRegistry::Acquire(const TObject *object, quint32 generation)
{
    return acquire(object, &generation);
}

qint32 ObjectHandleRegistry::acquire(const TObject *object, const quint32 *generation)
{
    if (!object)
        return 0;
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    const auto found = r.alive.constFind(object);
    if (found == r.alive.constEnd() || (generation && *found != *generation))
        throw EInvalidObject(QStringLiteral("Invalid object reference (freed object)"));
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
    if (object->m_handle != 0)
        releases.fetch_add(1, std::memory_order_acq_rel);
    r.objects.remove(object->m_handle);
    object->m_handle = 0;
}

void ObjectHandleRegistry::Born(const TObject *object)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    // 0 is no generation; after four thousand million births the count
    // comes round again, past any address kept that long.
    if (++r.births == 0)
        ++r.births;
    r.alive.insert(object, r.births);
}

void ObjectHandleRegistry::Died(const TObject *object)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    r.alive.remove(object);
}

quint32 ObjectHandleRegistry::Generation(const TObject *object)
{
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    return r.alive.value(object, 0);
}

TObject *ObjectHandleRegistry::Find(qint32 handle)
{
    // Read before the lookup: a release after it makes the entry stale.
    const quint64 released = releases.load(std::memory_order_acquire);
    if (handle != 0 && lastFound.handle == handle && lastFound.releases == released)
        return lastFound.object;
    Registry &r = registry();
    QMutexLocker lock(&r.mutex);
    TObject *object = r.objects.value(handle, nullptr);
    if (object)
        lastFound = {released, handle, object};
    return object;
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
