#pragma once

// Registers the engine library's units, after those of the libraries it
// stands on, in program order.
void RegisterEngineUnits();
