#pragma once

// Enumerations and sets of views, frames, fills and text layout.  They live
// in one namespace so that several classes publish them as properties.

#include <QFlags>
#include <QObject>

namespace ViewTypes {
Q_NAMESPACE

// Horizontal and vertical alignment of text in its box.
enum TqvxHAlign { haLeft, haRight, haCenter, haBlock };
Q_ENUM_NS(TqvxHAlign)
enum TqvxVAlign { vaTop, vaBottom, vaCenter };
Q_ENUM_NS(TqvxVAlign)

// How an object grows with its content and moves with the objects above it.
enum TqvxStretchMode { smDontStretch, smActualHeight, smMaxHeight };
Q_ENUM_NS(TqvxStretchMode)
enum TqvxShiftMode { smDontShift, smAlways, smWhenOverlapped };
Q_ENUM_NS(TqvxShiftMode)

// Where a view shows: preview 1, export 2, print 4.
enum TqvxVisibilityType { vsPreview = 0x1, vsExport = 0x2, vsPrint = 0x4 };
Q_DECLARE_FLAGS(TqvxVisibilityTypes, TqvxVisibilityType)
Q_FLAG_NS(TqvxVisibilityTypes)

enum TqvxHyperlinkKind { hkURL, hkAnchor, hkPageNumber, hkDetailReport, hkDetailPage, hkCustom };
Q_ENUM_NS(TqvxHyperlinkKind)

enum TqvxFormatKind { fkText, fkNumeric, fkDateTime, fkBoolean };
Q_ENUM_NS(TqvxFormatKind)

// Frames: the line styles and the sides drawn (left 1, right 2, top 4,
// bottom 8).
enum TqvxFrameStyle { fsSolid, fsDash, fsDot, fsDashDot, fsDashDotDot, fsDouble, fsAltDot, fsSquare };
Q_ENUM_NS(TqvxFrameStyle)
enum TqvxFrameType { ftLeft = 0x1, ftRight = 0x2, ftTop = 0x4, ftBottom = 0x8 };
Q_DECLARE_FLAGS(TqvxFrameTypes, TqvxFrameType)
Q_FLAG_NS(TqvxFrameTypes)

// Fills: the kind of a fill object, the gradients and the glass halves.
enum TqvxFillType { ftBrush, ftGradient, ftGlass };
Q_ENUM_NS(TqvxFillType)
enum TqvxGradientStyle { gsHorizontal, gsVertical, gsElliptic, gsRectangle, gsVertCenter, gsHorizCenter };
Q_ENUM_NS(TqvxGradientStyle)
enum TqvxGlassFillOrientation { foVertical, foHorizontal, foVerticalMirror, foHorizontalMirror };
Q_ENUM_NS(TqvxGlassFillOrientation)

} // namespace ViewTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(ViewTypes::TqvxVisibilityTypes)
Q_DECLARE_OPERATORS_FOR_FLAGS(ViewTypes::TqvxFrameTypes)

using ViewTypes::TqvxFillType;
using ViewTypes::TqvxFormatKind;
using ViewTypes::TqvxFrameStyle;
using ViewTypes::TqvxFrameType;
using ViewTypes::TqvxFrameTypes;
using ViewTypes::TqvxGlassFillOrientation;
using ViewTypes::TqvxGradientStyle;
using ViewTypes::TqvxHAlign;
using ViewTypes::TqvxHyperlinkKind;
using ViewTypes::TqvxShiftMode;
using ViewTypes::TqvxStretchMode;
using ViewTypes::TqvxVAlign;
using ViewTypes::TqvxVisibilityType;
using ViewTypes::TqvxVisibilityTypes;
using enum ViewTypes::TqvxFillType;
using enum ViewTypes::TqvxFormatKind;
using enum ViewTypes::TqvxFrameStyle;
using enum ViewTypes::TqvxFrameType;
using enum ViewTypes::TqvxGlassFillOrientation;
using enum ViewTypes::TqvxGradientStyle;
using enum ViewTypes::TqvxHAlign;
using enum ViewTypes::TqvxHyperlinkKind;
using enum ViewTypes::TqvxShiftMode;
using enum ViewTypes::TqvxStretchMode;
using enum ViewTypes::TqvxVAlign;
using enum ViewTypes::TqvxVisibilityType;
