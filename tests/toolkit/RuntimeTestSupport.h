#pragma once

// Helpers for the runtime value tests.

#include "toolkit/core/FormatSettings.h"

#include <QString>

// The message of the exception of type E that `action` raises; a note when
// it raises nothing.
template <class E, class Action>
QString MessageOf(Action action)
{
    try {
        action();
    } catch (const E &e) {
        return e.Message();
    }
    return QStringLiteral("(nothing raised)");
}

// The pinned settings with a point as decimal separator and a comma between
// thousands, for the cases that read better that way.
inline TFormatSettings PointSettings()
{
    TFormatSettings s = FormatSettings;
    s.DecimalSeparator = QLatin1Char('.');
    s.ThousandSeparator = QLatin1Char(',');
    return s;
}
