#pragma once

// The PascalScript language: its grammar, registered under its name.
void RegisterPascalScript();
