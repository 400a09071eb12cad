#pragma once

// Enumerations and sets shared by the report classes.  They live in one
// namespace so that several classes publish them as properties.

#include <QFlags>
#include <QObject>

namespace ReportTypes {
Q_NAMESPACE

// What a designer may not do to an object.
enum TqvxRestriction {
    rfDontModify = 0x01,
    rfDontSize = 0x02,
    rfDontMove = 0x04,
    rfDontDelete = 0x08,
    rfDontEdit = 0x10,
};
Q_DECLARE_FLAGS(TqvxRestrictions, TqvxRestriction)
Q_FLAG_NS(TqvxRestrictions)

// How a view places itself in its container (see AlignChildren).
enum TqvxAlign { baNone, baLeft, baRight, baCenter, baWidth, baBottom, baClient };
Q_ENUM_NS(TqvxAlign)

} // namespace ReportTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(ReportTypes::TqvxRestrictions)

using ReportTypes::TqvxAlign;
using ReportTypes::TqvxRestriction;
using ReportTypes::TqvxRestrictions;
using enum ReportTypes::TqvxAlign;
using enum ReportTypes::TqvxRestriction;

// The style flags of a report object.
enum TqvxComponentStyleFlag : quint8 {
    // Set by the constructor: the object is copied into prepared pages.
    csoCopy = 0x02,
    // The object keeps extra data as nested XML elements
    // (WriteNestedProperties, ReadNestedProperty).
    csoNestedData = 0x08,
};
