#pragma once

// Registers the PDF export library's units, after those of the libraries it
// stands on, in program order.
void RegisterPdfExportUnits();
