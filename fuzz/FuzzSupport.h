#pragma once

// Shared by the fuzz targets.

#include "toolkit/core/Exceptions.h"

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
