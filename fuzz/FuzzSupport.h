#pragma once

// Shared by the fuzz targets.

#include "toolkit/core/Exceptions.h"

#include <QCoreApplication>

// Runs an action on fuzzed input; the runtime's exceptions are the expected
// answer to bad input, anything else (a crash, a sanitizer report) is not.
template <class Action>
void Guarded(Action action)
{
    try {
        action();
    } catch (const Exception &) {
    }
}

// Makes the core application the object model needs, once for the process;
// name (a literal) is the target's program name.
inline void StartCoreApplication(const char *name)
{
    static int argc = 1;
    static char *argv[] = {const_cast<char *>(name), nullptr};
    static QCoreApplication application(argc, argv);
}
