#pragma once

// Event types (method pointers).
//
// Each event type is a distinct named type, not a bare std::function alias,
// so that the reflection layer can tell event properties apart and report
// their type names ("TNotifyEvent").  An empty event means "not assigned".
// Libraries declare their own events with TOOLKIT_EVENT and register them
// with RegisterMethodType (toolkit/classes/Reflection.h) so that scripts can assign them.

#include <functional>

class TObject;

#define TOOLKIT_EVENT(Name, ...)                                               \
    struct Name : std::function<__VA_ARGS__>                                   \
    {                                                                          \
        using std::function<__VA_ARGS__>::function;                            \
    };

TOOLKIT_EVENT(TNotifyEvent, void(TObject *sender))
