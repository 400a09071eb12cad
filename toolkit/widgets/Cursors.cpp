#include "toolkit/widgets/Cursors.h"

#include <QHash>

namespace {

QHash<TCursor, Qt::CursorShape> &registeredCursors()
{
    static QHash<TCursor, Qt::CursorShape> cursors;
    return cursors;
}

constexpr TIdentMapEntry cursorNames[] = {
    {crDefault, "crDefault"},
    {crArrow, "crArrow"},
    {crCross, "crCross"},
    {crIBeam, "crIBeam"},
    {crSizeNESW, "crSizeNESW"},
    {crSizeNS, "crSizeNS"},
    {crSizeNWSE, "crSizeNWSE"},
    {crSizeWE, "crSizeWE"},
    {crUpArrow, "crUpArrow"},
    {crHourGlass, "crHourGlass"},
    {crDrag, "crDrag"},
    {crNoDrop, "crNoDrop"},
    {crHSplit, "crHSplit"},
    {crVSplit, "crVSplit"},
    {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},
    {crNo, "crNo"},
    {crAppStart, "crAppStart"},
    {crHelp, "crHelp"},
    {crHandPoint, "crHandPoint"},
    {crSizeAll, "crSizeAll"},
    {crNone, "crNone"},
};

} // namespace

void RegisterCursor(TCursor cursor, Qt::CursorShape shape)
{
    registeredCursors().insert(cursor, shape);
}

void UnregisterCursor(TCursor cursor)
{
    registeredCursors().remove(cursor);
}

bool CursorToIdent(TCursor cursor, QString &ident)
{
    return IntToIdent(cursor, ident, cursorNames);
}

bool IdentToCursor(const QString &ident, TCursor &cursor)
{
    return IdentToInt(ident, cursor, cursorNames);
}

void GetCursorValues(const TGetStrProc &proc)
{
    GetIdentValues(proc, cursorNames);
}

Qt::CursorShape QtCursorShape(TCursor cursor)
{
    switch (cursor) {
    case crNone:
        return Qt::BlankCursor;
    case crCross:
        return Qt::CrossCursor;
    case crIBeam:
        return Qt::IBeamCursor;
    case crSizeAll:
        return Qt::SizeAllCursor;
    case crSizeNESW:
        return Qt::SizeBDiagCursor;
    case crSizeNS:
        return Qt::SizeVerCursor;
    case crSizeNWSE:
        return Qt::SizeFDiagCursor;
    case crSizeWE:
        return Qt::SizeHorCursor;
    case crUpArrow:
        return Qt::UpArrowCursor;
    case crHourGlass:
    case crSQLWait:
        return Qt::WaitCursor;
    case crDrag:
    case crMultiDrag:
        return Qt::DragCopyCursor;
    case crNoDrop:
    case crNo:
        return Qt::ForbiddenCursor;
    case crHSplit:
        return Qt::SplitHCursor;
    case crVSplit:
        return Qt::SplitVCursor;
    case crAppStart:
        return Qt::BusyCursor;
    case crHelp:
        return Qt::WhatsThisCursor;
    case crHandPoint:
        return Qt::PointingHandCursor;
    default:
        return registeredCursors().value(cursor, Qt::ArrowCursor);
    }
}
