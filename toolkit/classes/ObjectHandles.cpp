#include "toolkit/classes/ObjectHandles.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/classes/TObject.h"

#include <QHash>
#include <QMutex>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

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

// A lock held for a few instructions: taking it is one atomic exchange,
// and a thread that finds it taken gives way until it is free.
class ShortLock
{
public:
    void lock() noexcept
    {
        while (m_held.exchange(true, std::memory_order_acquire)) {
            while (m_held.load(std::memory_order_relaxed))
                std::this_thread::yield();
        }
    }
    void unlock() noexcept { m_held.store(false, std::memory_order_release); }

private:
    std::atomic<bool> m_held{false};
};

// The objects alive, each with its generation: an open-addressing table of
// addresses split into shards by the address's hash, each under its own
// lock, so that making and freeing an object costs one short uncontended
// lock and a probe or two.  A shard numbers its births itself: generation =
// birth count * shardCount + shard, unique over the whole process without a
// shared counter.
class LiveSet
{
public:
    static constexpr quint32 shardBits = 4;
    static constexpr quint32 shardCount = 1u << shardBits;

    // The object's generation from now on.
    quint32 born(const TObject *object)
    {
        const quint64 hash = hashOf(object);
        Shard &shard = m_shards[hash >> (64 - shardBits)];
        std::lock_guard lock(shard.mutex);
        // 0 is no generation; after four thousand million births in all
        // the count comes round again, past any address kept that long.
        if (++shard.births >= (quint32(1) << (32 - shardBits)))
            shard.births = 1;
        const quint32 generation = (shard.births << shardBits) | quint32(&shard - m_shards);
        shard.insert(object, generation, hash);
        return generation;
    }

    void died(const TObject *object)
    {
        const quint64 hash = hashOf(object);
        Shard &shard = m_shards[hash >> (64 - shardBits)];
        std::lock_guard lock(shard.mutex);
        shard.remove(object, hash);
    }

    // The generation of the object alive at this address, 0 when none is;
    // with the shard locked while check runs on it.
    template <class Check>
    auto withGeneration(const TObject *object, Check &&check)
    {
        const quint64 hash = hashOf(object);
        Shard &shard = m_shards[hash >> (64 - shardBits)];
        std::lock_guard lock(shard.mutex);
        return check(shard.find(object, hash));
    }

private:
    struct Slot {
        const TObject *object = nullptr;
        quint32 generation = 0;
    };

    // Linear probing, at most half full; a removal moves the entries after
    // it back so that no search ever has to step over a hole.
    struct alignas(64) Shard {
        ShortLock mutex;
        quint32 births = 0;
        quint32 count = 0;
        std::size_t mask = 0;
        std::unique_ptr<Slot[]> slots;

        std::size_t home(quint64 hash) const { return std::size_t(hash) & mask; }

        quint32 find(const TObject *object, quint64 hash) const
        {
            if (!slots)
                return 0;
            for (std::size_t i = home(hash);; i = (i + 1) & mask) {
                const Slot &slot = slots[i];
                if (slot.object == object)
                    return slot.generation;
                if (!slot.object)
                    return 0;
            }
        }

        void insert(const TObject *object, quint32 generation, quint64 hash)
        {
            if (!slots || (count + 1) * 2 > mask + 1)
                grow();
            for (std::size_t i = home(hash);; i = (i + 1) & mask) {
                Slot &slot = slots[i];
                if (slot.object == object) {
                    slot.generation = generation;
                    return;
                }
                if (!slot.object) {
                    slot = {object, generation};
                    ++count;
                    return;
                }
            }
        }

        void remove(const TObject *object, quint64 hash)
        {
            if (!slots)
                return;
            std::size_t hole = home(hash);
            while (slots[hole].object != object) {
                if (!slots[hole].object)
                    return;
                hole = (hole + 1) & mask;
            }
            --count;
            // Each entry after the hole whose home is not between the hole
            // and itself moves into the hole.
            for (std::size_t i = (hole + 1) & mask; slots[i].object; i = (i + 1) & mask) {
                const std::size_t want = home(hashOf(slots[i].object));
                if (((i - want) & mask) >= ((i - hole) & mask)) {
                    slots[hole] = slots[i];
                    hole = i;
                }
            }
            slots[hole] = Slot{};
        }

        void grow()
        {
            const std::size_t capacity = slots ? (mask + 1) * 2 : 256;
            std::unique_ptr<Slot[]> old = std::exchange(slots, std::make_unique<Slot[]>(capacity));
            const std::size_t oldCapacity = old ? mask + 1 : 0;
            mask = capacity - 1;
            for (std::size_t j = 0; j < oldCapacity; ++j) {
                if (!old[j].object)
                    continue;
                std::size_t i = home(hashOf(old[j].object));
                while (slots[i].object)
                    i = (i + 1) & mask;
                slots[i] = old[j];
            }
        }
    };

    // The address mixed so that objects made one after another spread over
    // the table (the finaliser of MurmurHash3): the top bits pick the
    // shard, the low bits the slot.
    static quint64 hashOf(const TObject *object)
    {
        quint64 h = quint64(quintptr(object));
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        return h ^ (h >> 33);
    }

    Shard m_shards[shardCount];
};

// The handles given out, with their objects.
struct Handles {
    QMutex mutex;
    QHash<qint32, TObject *> objects;
    quint32 last = firstHandle - handleStep;

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
// statics, still leave the registry.
LiveSet &liveSet()
{
    static LiveSet *instance = new LiveSet;
    return *instance;
}

Handles &handles()
{
    static Handles *instance = new Handles;
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
    return liveSet().withGeneration(object, [&](quint32 alive) {
        if (alive == 0 || (generation && alive != *generation))
            throw EInvalidObject(QStringLiteral("Invalid object reference (freed object)"));
        Handles &h = handles();
        QMutexLocker lock(&h.mutex);
        if (object->m_handle == 0) {
            object->m_handle = h.nextFreeHandle();
            h.objects.insert(object->m_handle, const_cast<TObject *>(object));
        }
        return object->m_handle;
    });
}

void ObjectHandleRegistry::Release(const TObject *object)
{
    Handles &h = handles();
    QMutexLocker lock(&h.mutex);
    if (object->m_handle == 0)
        return;
    releases.fetch_add(1, std::memory_order_acq_rel);
    h.objects.remove(object->m_handle);
    object->m_handle = 0;
}

void ObjectHandleRegistry::Born(const TObject *object)
{
    liveSet().born(object);
}

void ObjectHandleRegistry::Died(const TObject *object)
{
    liveSet().died(object);
}

quint32 ObjectHandleRegistry::Generation(const TObject *object)
{
    return liveSet().withGeneration(object, [](quint32 alive) { return alive; });
}

TObjectRef TObjectRef::To(TObject *object)
{
    return {object, object ? ObjectHandleRegistry::Generation(object) : 0};
}

TObject *ObjectHandleRegistry::Find(qint32 handle)
{
    // Read before the lookup: a release after it makes the entry stale.
    const quint64 released = releases.load(std::memory_order_acquire);
    if (handle != 0 && lastFound.handle == handle && lastFound.releases == released)
        return lastFound.object;
    Handles &h = handles();
    QMutexLocker lock(&h.mutex);
    TObject *object = h.objects.value(handle, nullptr);
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
    Handles &h = handles();
    QMutexLocker lock(&h.mutex);
    return int(h.objects.size());
}
