#include "script/zqHeldObjects.h"

#include "script/zqMessages.h"
#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/TCollection.h"
#include "toolkit/classes/TComponent.h"
#include "toolkit/core/Exceptions.h"

#include <QHash>
#include <QMutex>

#include <algorithm>

namespace {

// By strength: a stronger mark replaces a weaker one.
enum class Mark { Held, MadeByScript, Lent };

// The marks by handle.  A handle is not given out again for a long time
// after its object is gone, so a mark left behind by an object that its
// holder freed names nothing; such marks are dropped whenever the table
// has doubled since they were last looked for.
class Marks
{
public:
    // Nothing for handle 0, nil.
    void mark(qint32 handle, Mark mark)
    {
        if (handle == 0)
            return;
        QMutexLocker lock(&m_mutex);
        Mark &kept = m_marks[handle];
        kept = std::max(kept, mark);
        if (m_marks.size() >= m_dropStaleAt)
            dropStale();
    }

    // Takes the object's mark away when takes agrees to the mark it has
    // (an object without one is taken at once); false when it does not.
    template <class Take>
    bool take(qint32 handle, Take &&takes)
    {
        QMutexLocker lock(&m_mutex);
        const auto found = m_marks.constFind(handle);
        if (found != m_marks.cend() && !takes(*found))
            return false;
        m_marks.remove(handle);
        return true;
    }

private:
    void dropStale()
    {
        m_marks.removeIf([](const auto &entry) { return !ObjectHandleRegistry::Find(entry.key()); });
        m_dropStaleAt = std::max<qsizetype>(minimumDropAt, 2 * m_marks.size());
    }

    static constexpr qsizetype minimumDropAt = 1024;
    QMutex m_mutex;
    QHash<qint32, Mark> m_marks;
    qsizetype m_dropStaleAt = minimumDropAt;
};

Marks &marks()
{
    static Marks instance;
    return instance;
}

// True for the objects that leave their holder when freed, so that the
// holder never frees them a second time.
bool leavesItsHolder(const TObject *object)
{
    if (const auto *component = qobject_cast<const TComponent *>(object))
        return component->Owner();
    if (const auto *item = qobject_cast<const TCollectionItem *>(object))
        return item->Collection();
    return false;
}

Variant markedValue(const TObject *object, Mark mark)
{
    const qint32 handle = ObjectHandleRegistry::Acquire(object);
    marks().mark(handle, mark);
    return Variant(handle);
}

} // namespace

void zqMarkHeld(qint32 handle)
{
    marks().mark(handle, Mark::Held);
}

Variant zqHeldObjectValue(const TObject *object)
{
    return markedValue(object, Mark::Held);
}

void zqMarkMadeByScript(const TObject *object)
{
    marks().mark(object->Handle(), Mark::MadeByScript);
}

Variant zqLentObjectValue(const TObject *object)
{
    return markedValue(object, Mark::Lent);
}

void zqFreeObject(TObject *object)
{
    const bool mayFree = marks().take(object->Handle(), [object](Mark mark) {
        return mark == Mark::MadeByScript || (mark == Mark::Held && leavesItsHolder(object));
    });
    if (!mayFree)
        throw EInvalidOperation(QString(SObjectHeld).replace(QStringLiteral("%s"), object->ClassName()));
    delete object;
}
