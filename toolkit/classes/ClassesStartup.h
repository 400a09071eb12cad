#pragma once

// Start-up of the object model: registers the core classes by name, their
// property tables and the toolkit's event types.

void InitializeClasses();
