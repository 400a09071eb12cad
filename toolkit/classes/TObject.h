#pragma once

// The root of the class hierarchy.
//
// Every toolkit and report class derives from TObject, which is a QObject so
// that published properties are Q_PROPERTY declarations and class names come
// from the meta-object.  Every class that derives from TObject declares
// Q_OBJECT, on a line of its own; a class without it reports its parent's
// name and properties.
//
// Ownership is never expressed through QObject parents: components keep
// their own owner and owned list (TComponent), and a TObject has no QObject
// parent.
//
// Construction is two-step where virtual methods must run once the object is
// complete: NewObject<T>(args...) constructs, then calls the virtual
// AfterConstruction.  Constructors never rely on virtual dispatch.
//
// Destruction mirrors it: `delete` through a pointer of a TObject class (and
// so unique_ptr and the like) first runs the virtual BeforeDestruction while
// the object is still of its own class (it gives up the handle; a component
// also tells its partners and leaves its owner and parent), then the C++
// destructors.  An object destroyed otherwise (on the stack, or deleted as a
// bare QObject) runs the same steps from its destructors instead, when only
// the base parts are left.

#include <QObject>
#include <QString>

#include <new>
#include <utility>

// A class reference: the class's meta-object.
using TClass = const QMetaObject *;

template <class T>
TClass ClassOf()
{
    return &T::staticMetaObject;
}

class TObject : public QObject
{
    Q_OBJECT

public:
    TObject();
    ~TObject() override;

    // The class name exactly as declared ("TqvxMemoView").
    QString ClassName() const;
    TClass ClassType() const { return metaObject(); }

    // True when the object's class is cls or descends from it.
    bool InheritsFrom(TClass cls) const;
    template <class T>
    bool InheritsFrom() const { return InheritsFrom(ClassOf<T>()); }

    // The object's 32-bit handle in the registry of live objects, assigned
    // on first request (see toolkit/classes/ObjectHandles.h).
    qint32 Handle() const;

    // Runs once the object is fully constructed (see NewObject).
    virtual void AfterConstruction() {}
    // Runs before the destructors, while the object is whole.  It may run
    // again from the destructors, so each step must be one that does nothing
    // the second time.  Overrides call the inherited one last.
    virtual void BeforeDestruction();

    // `delete` on any TObject: BeforeDestruction, then the destructors.
    static void operator delete(TObject *object, std::destroying_delete_t);
    // The pair used by `new`; the plain delete only frees the memory of an
    // object whose constructor threw.
    static void *operator new(std::size_t size);
    static void operator delete(void *block);
    // Construction in place (Qt's meta-types construct so).
    static void *operator new(std::size_t, void *place) noexcept { return place; }
    static void operator delete(void *, void *) noexcept {}

private:
    friend class ObjectHandleRegistry;
    mutable qint32 m_handle = 0;
};

// Completes the construction of a new object by running its
// AfterConstruction.  When that throws, the object is freed and the
// exception passes on.
TObject *Constructed(TObject *object);

// Constructs a T in two steps: the constructor, then AfterConstruction.
template <class T, class... Args>
T *NewObject(Args &&...args)
{
    return static_cast<T *>(Constructed(new T(std::forward<Args>(args)...)));
}

// Class references.
QString ClassNameOf(TClass cls);
// The parent class; nullptr for TObject itself.
TClass ClassParentOf(TClass cls);
// True when cls is ancestor or descends from it.
bool ClassInheritsFrom(TClass cls, TClass ancestor);
