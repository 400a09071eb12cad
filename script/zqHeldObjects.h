#pragma once

// What a script may free.
//
// Scripts reach host objects by handle, also the ones another object holds
// and frees with itself: a control's font and items, a canvas's pen, a
// report's variables.  Freeing one of those under its holder would leave
// the holder with a dangling pointer, so a script's Free frees only what is
// the script's to free: an object a script made, an object that no holder
// handed out, a component that leaves its owner and a collection item that
// leaves its collection when freed; never an object the host lent the
// script by name.  Objects are marked as they pass from their holders to
// scripts.  Thread-safe.

#include "toolkit/core/Variants.h"

class TObject;

// Marks the object with this handle as one a holder handed out (nothing
// for 0).
void zqMarkHeld(qint32 handle);
// An object result the instance holds: its handle (0 for nil), marked held.
Variant zqHeldObjectValue(const TObject *object);
// Marks an object a script constructor made: the script may free it,
// whatever it is reached through.
void zqMarkMadeByScript(const TObject *object);
// An object the host lends a script by name (the running report, its
// engine, the application): its handle, marked so that no script frees it,
// not even a component whose owner would let it go.
Variant zqLentObjectValue(const TObject *object);

// A script's Free: frees the object, or raises EInvalidOperation, naming
// its class, when the object is its holder's to free.
void zqFreeObject(TObject *object);
