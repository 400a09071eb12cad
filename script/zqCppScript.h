#pragma once

// The C++Script language: its grammar, registered under its name.
void RegisterCppScript();
