#pragma once

// The script engine's units, after the toolkit's, in the order they start.
void RegisterScriptUnits();
