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

// Where a data set starts and ends its walk.
enum TqvxRangeBegin { rbFirst, rbCurrent };
Q_ENUM_NS(TqvxRangeBegin)
enum TqvxRangeEnd { reLast, reCurrent, reCount };
Q_ENUM_NS(TqvxRangeEnd)

// The kind of a data set's field, for converting nulls.
enum TqvxFieldType { fftNumeric, fftString, fftBoolean };
Q_ENUM_NS(TqvxFieldType)

// How a report reports its error list: a message box, nothing, or an
// exception.
enum TqvxSilentMode { simMessageBoxes, simSilent, simReThrow };
Q_ENUM_NS(TqvxSilentMode)

// The buttons of the preview window; the set is kept in two bytes.
enum TqvxPreviewButton {
    pbPrint = 0x0001,
    pbLoad = 0x0002,
    pbSave = 0x0004,
    pbExport = 0x0008,
    pbZoom = 0x0010,
    pbFind = 0x0020,
    pbOutline = 0x0040,
    pbPageSetup = 0x0080,
    pbTools = 0x0100,
    pbEdit = 0x0200,
    pbNavigator = 0x0400,
    pbExportQuick = 0x0800,
    pbNoClose = 0x1000,
    pbNoFullScreen = 0x2000,
    pbNoEmail = 0x4000,
};
Q_DECLARE_FLAGS(TqvxPreviewButtons, TqvxPreviewButton)
Q_FLAG_NS(TqvxPreviewButtons)

enum TqvxZoomMode { zmDefault, zmWholePage, zmPageWidth, zmManyPages };
Q_ENUM_NS(TqvxZoomMode)

// How pages are put on the printer's sheets.
enum TqvxPrintMode { pmDefault, pmSplit, pmJoin, pmScale };
Q_ENUM_NS(TqvxPrintMode)
enum TqvxPrintPages { ppAll, ppOdd, ppEven };
Q_ENUM_NS(TqvxPrintPages)

} // namespace ReportTypes
Q_DECLARE_OPERATORS_FOR_FLAGS(ReportTypes::TqvxRestrictions)
Q_DECLARE_OPERATORS_FOR_FLAGS(ReportTypes::TqvxPreviewButtons)

using ReportTypes::TqvxAlign;
using ReportTypes::TqvxRestriction;
using ReportTypes::TqvxRestrictions;
using ReportTypes::TqvxFieldType;
using ReportTypes::TqvxPreviewButton;
using ReportTypes::TqvxPreviewButtons;
using ReportTypes::TqvxPrintMode;
using ReportTypes::TqvxPrintPages;
using ReportTypes::TqvxRangeBegin;
using ReportTypes::TqvxRangeEnd;
using ReportTypes::TqvxSilentMode;
using ReportTypes::TqvxZoomMode;
using enum ReportTypes::TqvxAlign;
using enum ReportTypes::TqvxRestriction;
using enum ReportTypes::TqvxFieldType;
using enum ReportTypes::TqvxPreviewButton;
using enum ReportTypes::TqvxPrintMode;
using enum ReportTypes::TqvxPrintPages;
using enum ReportTypes::TqvxRangeBegin;
using enum ReportTypes::TqvxRangeEnd;
using enum ReportTypes::TqvxSilentMode;
using enum ReportTypes::TqvxZoomMode;

// The style flags of a report object.
enum TqvxComponentStyleFlag : quint8 {
    // Prepared pages describe the object by the serializer's full attribute
    // text rather than by its own Diff (views set it; memos, lines, shapes
    // and pictures clear it).
    csoGenericDiff = 0x01,
    // Set by the constructor: the object is copied into prepared pages.
    csoCopy = 0x02,
    // The object keeps extra data as nested XML elements
    // (WriteNestedProperties, ReadNestedProperty).
    csoNestedData = 0x08,
};

// What a report object is, for the base classes that treat some of their
// descendants apart.  Each class adds its kind in its constructor
// (TqvxComponent::AddKind); a descendant keeps its ancestors' kinds.
enum TqvxComponentKind : quint16 {
    ckPage = 0x01,       // a page: GetPage stops there
    ckDialogPage = 0x02, // a dialog form: positions below it start afresh
    ckBand = 0x04,       // a band: its Top always goes into differences
    ckNullBand = 0x08,   // the band of loose objects: AllDiff adds its position
    ckView = 0x10,       // a view: AlignChildren places it by ViewAlign()
};
Q_DECLARE_FLAGS(TqvxComponentKinds, TqvxComponentKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqvxComponentKinds)

// The groups of the designer's object palette.
enum TqvxObjectKind : quint8 { okData = 1, okReport = 2, okDialog = 4, okDotMatrix = 8 };
Q_DECLARE_FLAGS(TqvxObjectKinds, TqvxObjectKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(TqvxObjectKinds)
