#pragma once

// The small types the grid controls share: cells, the enumerations and sets
// of their published properties, and the event types through which a grid
// asks its owner for everything it shows.

#include "toolkit/widgets/ControlTypes.h"
#include "toolkit/classes/Events.h"

#include <QChar>
#include <QFlags>
#include <QObject>
#include <QString>

class TCanvas;
class TStrings;

// A cell of a grid: column and row.  Any cell with a -1 is empty.
struct TGridCell {
    int Col = 0;
    int Row = 0;

    bool operator==(const TGridCell &) const = default;
};

inline TGridCell GridCell(int col, int row) { return {col, row}; }
inline bool IsCellEqual(const TGridCell &cell1, const TGridCell &cell2) { return cell1 == cell2; }
inline bool IsCellEmpty(const TGridCell &cell) { return cell.Col == -1 || cell.Row == -1; }

namespace GridTypes {
Q_NAMESPACE

enum TGridStyle {
    gsHorzLine = 1,
    gsVertLine = 2,
    gsFullHorzLine = 4,
    gsFullVertLine = 8,
    gsListViewLike = 16,
    gsDotLines = 32,
};
Q_DECLARE_FLAGS(TGridStyles, TGridStyle)
Q_FLAG_NS(TGridStyles)

enum TGridCursorKey {
    gkArrows = 1,
    gkTabs = 2,
    gkReturn = 4,
    gkMouse = 8,
    gkMouseMove = 16,
    gkMouseWheel = 32,
};
Q_DECLARE_FLAGS(TGridCursorKeys, TGridCursorKey)
Q_FLAG_NS(TGridCursorKeys)

enum TGridCursorOffset {
    coLeft, coRight, coUp, coDown, coPageUp, coPageDown, coHome, coEnd, coGridHome, coGridEnd,
    coSelect, coFirst, coNext, coPrev
};
Q_ENUM_NS(TGridCursorOffset)

enum TGridEditStyle { geSimple, geEllipsis, gePickList, geDataList, geUserDefine };
Q_ENUM_NS(TGridEditStyle)

enum TGridEditWordWrap { ewAuto, ewEnabled, ewDisabled };
Q_ENUM_NS(TGridEditWordWrap)

enum TGridCheckKind { gcNone, gcCheckBox, gcRadioButton, gcUserDefine };
Q_ENUM_NS(TGridCheckKind)

enum TGridSortDirection { gsNone, gsAscending, gsDescending };
Q_ENUM_NS(TGridSortDirection)

// Options of the grid's text search.
enum TGridFindOption { frDown = 1, frWholeWord = 2, frMatchCase = 4 };
Q_DECLARE_FLAGS(TGridFindOptions, TGridFindOption)
Q_FLAG_NS(TGridFindOptions)

} // namespace GridTypes

Q_DECLARE_OPERATORS_FOR_FLAGS(GridTypes::TGridStyles)
Q_DECLARE_OPERATORS_FOR_FLAGS(GridTypes::TGridCursorKeys)
Q_DECLARE_OPERATORS_FOR_FLAGS(GridTypes::TGridFindOptions)

using GridTypes::TGridCheckKind;
using GridTypes::TGridCursorKey;
using GridTypes::TGridCursorKeys;
using GridTypes::TGridCursorOffset;
using GridTypes::TGridEditStyle;
using GridTypes::TGridEditWordWrap;
using GridTypes::TGridFindOption;
using GridTypes::TGridFindOptions;
using GridTypes::TGridSortDirection;
using GridTypes::TGridStyle;
using GridTypes::TGridStyles;
using enum GridTypes::TGridCheckKind;
using enum GridTypes::TGridCursorKey;
using enum GridTypes::TGridCursorOffset;
using enum GridTypes::TGridEditStyle;
using enum GridTypes::TGridEditWordWrap;
using enum GridTypes::TGridFindOption;
using enum GridTypes::TGridSortDirection;
using enum GridTypes::TGridStyle;

TOOLKIT_EVENT(TGridTextEvent, void(TObject *sender, TGridCell cell, QString &value))
TOOLKIT_EVENT(TGridCellColorsEvent, void(TObject *sender, TGridCell cell, TCanvas *canvas))
TOOLKIT_EVENT(TGridCellReadOnlyEvent, void(TObject *sender, TGridCell cell, bool &cellReadOnly))
TOOLKIT_EVENT(TGridChangingEvent, void(TObject *sender, TGridCell &cell, bool &selected))
TOOLKIT_EVENT(TGridChangedEvent, void(TObject *sender, TGridCell cell, bool selected))
TOOLKIT_EVENT(TGridCellClickEvent, void(TObject *sender, TGridCell cell, TShiftState shift, int x, int y))
TOOLKIT_EVENT(TGridEditStyleEvent, void(TObject *sender, TGridCell cell, TGridEditStyle &style))
TOOLKIT_EVENT(TGridEditListEvent, void(TObject *sender, TGridCell cell, TStrings *items))
TOOLKIT_EVENT(TGridEditCanModifyEvent, void(TObject *sender, TGridCell cell, bool &canModify))
TOOLKIT_EVENT(TGridEditCanShowEvent, void(TObject *sender, TGridCell cell, bool &canShow))
TOOLKIT_EVENT(TGridEditAcceptKeyEvent, void(TObject *sender, TGridCell cell, QChar key, bool &accept))
TOOLKIT_EVENT(TGridCellNotifyEvent, void(TObject *sender, TGridCell cell))
TOOLKIT_EVENT(TGridEditSelectNextEvent, void(TObject *sender, TGridCell cell, QString &value))
TOOLKIT_EVENT(TGridEditCloseUpEvent, void(TObject *sender, TGridCell cell, int itemIndex, bool &accept))
