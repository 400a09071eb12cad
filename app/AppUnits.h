#pragma once

// Registers the units of the questionnaire application, after those of the
// libraries it stands on.
void RegisterAppUnits();
