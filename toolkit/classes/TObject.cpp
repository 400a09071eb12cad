#include "toolkit/classes/TObject.h"

#include "toolkit/classes/ObjectHandles.h"

TObject::TObject()
{
    ObjectHandleRegistry::Born(this);
}

TObject::~TObject()
{
    TObject::BeforeDestruction();
    ObjectHandleRegistry::Died(this);
}

void TObject::BeforeDestruction()
{
    if (m_handle != 0)
        ObjectHandleRegistry::Release(this);
}

void *TObject::operator new(std::size_t size)
{
    return ::operator new(size);
}

void TObject::operator delete(void *block)
{
    ::operator delete(block);
}

void TObject::operator delete(TObject *object, std::destroying_delete_t)
{
    object->BeforeDestruction();
    // The complete object's address, which a class with several bases may
    // place before its TObject part.
    void *block = dynamic_cast<void *>(object);
    object->~TObject();
    ::operator delete(block);
}

QString TObject::ClassName() const
{
    return ClassNameOf(metaObject());
}

bool TObject::InheritsFrom(TClass cls) const
{
    return ClassInheritsFrom(metaObject(), cls);
}

qint32 TObject::Handle() const
{
    return ObjectHandleRegistry::Acquire(this);
}

TObject *Constructed(TObject *object)
{
    try {
        object->AfterConstruction();
    } catch (...) {
        delete object;
        throw;
    }
    return object;
}

QString ClassNameOf(TClass cls)
{
    return cls ? QString::fromLatin1(cls->className()) : QString();
}

TClass ClassParentOf(TClass cls)
{
    if (!cls || cls == ClassOf<TObject>())
        return nullptr;
    return cls->superClass();
}

bool ClassInheritsFrom(TClass cls, TClass ancestor)
{
    return cls && ancestor && cls->inherits(ancestor);
}
