#pragma once

// Values that pass between the report and the services it drives: the
// engine, the prepared pages, the preview and the progress display.

#include <QObject>

namespace ServiceTypes {
Q_NAMESPACE

// The long operation a progress display reports on.
enum TqvxProgressType { ptRunning, ptExporting, ptPrinting };
Q_ENUM_NS(TqvxProgressType)

// What AddPage of the prepared pages does next: move onto the following
// page when there is one (write over), or always append one (add).
enum TqvxAddPageAction : quint8 { apWriteOver, apAdd };
Q_ENUM_NS(TqvxAddPageAction)

// The mouse action the preview hands to the prepared pages.
enum TqvxMouseAction : quint8 { maClick, maDblClick, maMove, maMouseUp };
Q_ENUM_NS(TqvxMouseAction)

} // namespace ServiceTypes

using ServiceTypes::TqvxAddPageAction;
using ServiceTypes::TqvxMouseAction;
using ServiceTypes::TqvxProgressType;
using enum ServiceTypes::TqvxAddPageAction;
using enum ServiceTypes::TqvxMouseAction;
using enum ServiceTypes::TqvxProgressType;
