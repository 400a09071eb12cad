#pragma once

// The registry of live objects.
//
// Objects travel through variants and scripts as 32-bit integer handles,
// never as addresses.  Handle 0 stands for nil.  An object receives its
// handle the first time one is asked for and gives it up when it is
// destroyed.  Handles are spread over the positive 32-bit values, far apart
// and never below 65536, so that a number a script computes does not name
// an object by chance; a handle is not given out again until every other
// value has been, so a stale handle names no object and is refused instead
// of reaching freed memory.  The registry also knows every object alive,
// handle or not, so that an address kept by a host container is checked
// before it becomes a handle; a container that keeps the object's
// Generation with the address is also told when another object has since
// been made at that address.  Thread-safe.

#include <QtGlobal>

class TObject;

class ObjectHandleRegistry
{
public:
    // The object's handle, assigning one if it has none; 0 for nullptr.
    // Raises EInvalidObject when object is no live object (a freed one).
    static qint32 Acquire(const TObject *object);
    // The same for an address kept together with the object's generation:
    // raises EInvalidObject also when another object now lives there.
    static qint32 Acquire(const TObject *object, quint32 generation);

    // The birth number of the object alive at this address, 0 when none
    // is.  No two objects of the process share one, even when one is made
    // where another was freed, so an address kept together with it tells
    // a freed object from its successor.
    static quint32 Generation(const TObject *object);

    // Forgets the object's handle (called by ~TObject).
    static void Release(const TObject *object);

    // Records an object from its construction to its destruction (called by
    // TObject's constructor and destructor); Born gives it its generation.
    static void Born(const TObject *object);
    static void Died(const TObject *object);

    // The live object with this handle, or nullptr when there is none.
    static TObject *Find(qint32 handle);

    // The object for a handle: nullptr for 0; raises EInvalidObject when the
    // handle names no live object.
    static TObject *Resolve(qint32 handle);

    static int LiveCount();

private:
    static qint32 acquire(const TObject *object, const quint32 *generation);
};

// An object kept by address in a list, with the generation it had when it
// was put there (0 for nil): the list's reader tells a freed object, or one
// made since at its address, from the object put in.
struct TObjectRef {
    TObject *Object = nullptr;
    quint32 Generation = 0;

    // The object with its generation now.
    static TObjectRef To(TObject *object);
};
