#pragma once

// Cursor identifiers, their names and their Qt shapes.

#include "toolkit/core/IdentMaps.h"

#include <QString>
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

// The cursor-name table ("crDefault" ... "crNone", 22 names; crSize, an
// alias of crSizeAll, has none): the name of a cursor and the cursor of a
// name (case-insensitive).  Both answer false when the table has no entry.
bool CursorToIdent(TCursor cursor, QString &ident);
bool IdentToCursor(const QString &ident, TCursor &cursor);

// Calls proc with each name of the table in table order.
void GetCursorValues(const TGetStrProc &proc);
