#pragma once

// Enumerations published by shapes, check boxes and report pages.  They
// live in one namespace so that several classes publish them as
// properties.

#include <QFlags>
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

// The printer styles of dot-matrix text; stored as a number, bit i for the
// i-th style.
enum TqvxDMPFontStyle {
    fsxBold = 0x1,
    fsxItalic = 0x2,
    fsxUnderline = 0x4,
    fsxSuperScript = 0x8,
    fsxSubScript = 0x10,
    fsxCondensed = 0x20,
    fsxWide = 0x40,
    fsx12cpi = 0x80,
    fsx15cpi = 0x100
};
Q_DECLARE_FLAGS(TqvxDMPFontStyles, TqvxDMPFontStyle)
Q_FLAG_NS(TqvxDMPFontStyles)

} // namespace ObjectTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(ObjectTypes::TqvxDMPFontStyles)

using ObjectTypes::TqvxCheckStyle;
using ObjectTypes::TqvxDMPFontStyle;
using ObjectTypes::TqvxDMPFontStyles;
using ObjectTypes::TqvxDuplexMode;
using ObjectTypes::TqvxShapeKind;
using ObjectTypes::TqvxUncheckStyle;
using enum ObjectTypes::TqvxCheckStyle;
using enum ObjectTypes::TqvxDMPFontStyle;
using enum ObjectTypes::TqvxDuplexMode;
using enum ObjectTypes::TqvxShapeKind;
using enum ObjectTypes::TqvxUncheckStyle;

// Screen pixels per millimetre.
inline constexpr double qv01cm = 3.77953;
