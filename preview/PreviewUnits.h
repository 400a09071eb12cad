#pragma once

// Registers the preview library's units, after those of the libraries it
// stands on, in program order.
void RegisterPreviewUnits();
