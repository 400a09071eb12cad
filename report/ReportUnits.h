#pragma once

// Registers the report library's units, after those of the libraries it
// stands on, in program order.
void RegisterReportUnits();
