#pragma once

// Qt's own dialogs and texts in the program: the save dialog, its question
// before overwriting, the buttons of message boxes.  They speak Russian, as
// the rest of the program does, and remember nothing on disk: the program
// keeps no settings, so Qt's dialogs keep what they remember (the file
// dialog's folders and history) for the session only.

// Installs Qt's Russian translations when they are installed on the system
// (the texts stay English otherwise) and points Qt's user settings where
// nothing is written.
void InitializeQtDialogs();
// Removes the translations.
void FinalizeQtDialogs();
