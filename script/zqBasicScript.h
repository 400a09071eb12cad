#pragma once

// The BasicScript language: its grammar, registered under its name.
void RegisterBasicScript();
