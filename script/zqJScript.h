#pragma once

// The JScript language: its grammar, registered under its name.
void RegisterJScript();
