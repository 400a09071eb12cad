#pragma once

// Start-up of the controls unit: the control, form and dialog classes and
// their event types go into the class registry, so that scripts and stored
// forms create them by name.

void InitializeControlClasses();
