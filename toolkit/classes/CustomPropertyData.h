#pragma once

// The binary form of an object's custom properties (the ones it declares in
// TPersistent::DefineProperties), kept in stored files beside the published
// properties.
//
// The form is self-describing: a sequence of properties, each its name and
// a count of typed values (32-bit integers, strings, byte blocks).  The
// reader checks every length and type against the data it has.

#include <QByteArray>

class TPersistent;

// The object's custom properties that have data; empty when there are none.
QByteArray WritePropertyData(TPersistent &object);

// Applies data written by WritePropertyData to the object.  Malformed data
// and properties the object does not define raise EReadError before any
// property is applied; so does a read procedure that asks for a value of
// another type or for more values than were stored.
void ReadPropertyData(TPersistent &object, const QByteArray &data);
