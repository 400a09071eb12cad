#pragma once

// Cursor identifiers and their Qt shapes.

#include <Qt>

using TCursor = int;

enum : TCursor {
    crDefault = 0,
    crNone = -1,
    crArrow = -2,
    crCross = -3,
    crIBeam = -4,
    crSize = -22,
    crSizeNESW = -6,
    crSizeNS = -7,
    crSizeNWSE = -8,
    crSizeWE = -9,
    crUpArrow = -10,
    crHourGlass = -11,
    crDrag = -12,
    crNoDrop = -13,
    crHSplit = -14,
    crVSplit = -15,
    crMultiDrag = -16,
    crSQLWait = -17,
    crNo = -18,
    crAppStart = -19,
    crHelp = -20,
    crHandPoint = -21,
    crSizeAll = -22,
};

// Cursors a program adds to the screen's table under numbers of its own
// (positive ones); a number registered again takes the new shape.
void RegisterCursor(TCursor cursor, Qt::CursorShape shape);
void UnregisterCursor(TCursor cursor);

// crDefault answers Qt::ArrowCursor, as does a number nobody registered;
// callers that want the parent's cursor unset theirs instead.
Qt::CursorShape QtCursorShape(TCursor cursor);
