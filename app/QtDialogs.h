#pragma once

// Qt's own dialogs and texts in the program: the save dialog, its question
// before overwriting, the buttons of message boxes.  They speak Russian, as
// the rest of the program does, and remember nothing on disk: the program
// keeps no settings, so Qt's dialogs keep what they remember (the file
// dialog's folders and history) for the session only.

// Before the application object is made: Qt's dialogs show dates in the
// form of the system's locale for times, which becomes the Russian one,
// also where LC_ALL is set (its value then stands for the other categories
// only).
void UseRussianDates();

// Installs Qt's Russian catalogues (of the widgets and of the base library)
// when they are installed on the system (the texts stay English otherwise),
// makes Russian the default locale of Qt's widgets, and points Qt's user
// settings where nothing is written.
void InitializeQtDialogs();
// Removes the translations; the default locale is the system's again.
void FinalizeQtDialogs();
