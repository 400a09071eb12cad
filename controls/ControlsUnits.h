#pragma once

// The grid controls' units, after the toolkit's, in the order they start.
void RegisterControlsUnits();
