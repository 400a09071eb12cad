#pragma once

// The program speaks Russian: the texts of the libraries under it that a
// user can meet (why a file could not be written, what is wrong with an
// expression or a script, a number typed that is not one, why an export, a
// print or a link was refused) are given Russian forms here, installed as a
// translator of the application, and the script engine's message texts are
// replaced by Russian ones.  Qt's own dialogs have Qt's catalogues
// (QtDialogs.h); the few texts those lack are here too.

// Installs the Russian texts.
void InitializeRussianTexts();
// Removes them; the script engine's messages are English again.
void FinalizeRussianTexts();
