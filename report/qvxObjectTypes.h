#pragma once

// Enumerations published by shapes, check boxes and report pages.  They
// live in one namespace so that several classes publish them as
// properties.

#include <QObject>

namespace ObjectTypes {
Q_NAMESPACE

enum TqvxShapeKind { skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond, skDiagonal1, skDiagonal2 };
Q_ENUM_NS(TqvxShapeKind)

// The mark of a checked and of an unchecked check box.
enum TqvxCheckStyle { csCross, csCheck, csLineCross, csPlus };
Q_ENUM_NS(TqvxCheckStyle)
enum TqvxUncheckStyle { usEmpty, usCross, usLineCross, usMinus };
Q_ENUM_NS(TqvxUncheckStyle)

// A report page's orientation, as the page file names it; the values are
// those of the printer layer's TPrinterOrientation.
enum TPrinterOrientation { poPortrait, poLandscape };
Q_ENUM_NS(TPrinterOrientation)

enum TqvxDuplexMode { dmNone, dmVertical, dmHorizontal, dmSimplex };
Q_ENUM_NS(TqvxDuplexMode)

} // namespace ObjectTypes

using ObjectTypes::TqvxCheckStyle;
using ObjectTypes::TqvxDuplexMode;
using ObjectTypes::TqvxShapeKind;
using ObjectTypes::TqvxUncheckStyle;
using enum ObjectTypes::TqvxCheckStyle;
using enum ObjectTypes::TqvxDuplexMode;
using enum ObjectTypes::TqvxShapeKind;
using enum ObjectTypes::TqvxUncheckStyle;

// Screen pixels per millimetre.
inline constexpr double qv01cm = 3.77953;
