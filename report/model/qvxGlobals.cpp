#include "report/model/qvxGlobals.h"

#include <QRecursiveMutex>

#include <memory>

namespace {

std::unique_ptr<QRecursiveMutex> libraryLock;
std::unique_ptr<TqvxQV2Events> qv2Events;

} // namespace

QRecursiveMutex *qvxLibraryLock()
{
    return libraryLock.get();
}

TqvxQV2Events *qvxQV2Events()
{
    return qv2Events.get();
}

void InitializeQvxGlobals()
{
    libraryLock = std::make_unique<QRecursiveMutex>();
    // The page hand that drags the pages; a link shows the pointing hand.
    RegisterCursor(crHand, Qt::OpenHandCursor);
    RegisterCursor(crZoom, Qt::CrossCursor);
    RegisterCursor(crFormat, Qt::UpArrowCursor);
    qv2Events = std::make_unique<TqvxQV2Events>();
}

void FinalizeQvxGlobals()
{
    qv2Events.reset();
    UnregisterCursor(crFormat);
    UnregisterCursor(crZoom);
    UnregisterCursor(crHand);
    libraryLock.reset();
}
