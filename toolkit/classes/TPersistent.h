#pragma once

// Objects that can copy their state to one another and take part in
// streaming.

#include "toolkit/classes/TObject.h"

class TFiler;

class TPersistent : public TObject
{
    Q_OBJECT

public:
    TPersistent();
    ~TPersistent() override;

    // Copies the state of source into this object.  Descendants handle the
    // sources they know and call the inherited Assign for the rest, which
    // lets the source try (AssignTo); when neither side knows the other,
    // EConvertError "Cannot assign a <source class> to a <this class>"
    // ("nil" for a null source).
    virtual void Assign(const TPersistent *source);

    // Declares the object's custom (non-published) properties for the
    // binary property data kept beside the published ones.
    virtual void DefineProperties(TFiler &filer);

protected:
    // Copies this object into dest; the default refuses.
    virtual void AssignTo(TPersistent *dest) const;

    [[noreturn]] void AssignError(const TPersistent *source) const;
};
