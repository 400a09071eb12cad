#pragma once

// Keyboard shortcuts as the classic menus keep them: a 16-bit value with the
// virtual-key code in the low byte and the modifiers in the high bits, and
// its text ("Ctrl+A", "Shift+Ctrl+F1", "Alt+BkSp").

#include "toolkit/widgets/ControlTypes.h"

#include <QString>

using TShortCut = quint16;

enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0 };

// The shortcut of a key with the Shift, Ctrl and Alt states of shift.  A key
// code above 0xFF gives 0.
TShortCut ShortCut(int key, TShiftState shift);

// The text of a shortcut: "Shift+", "Ctrl+" and "Alt+" in that order, then
// the key's name (letters and digits as themselves, "F1".."F24", "BkSp",
// "Tab", "Esc", "Enter", "Space", "PgUp", "PgDn", "End", "Home", "Left",
// "Up", "Right", "Down", "Ins", "Del").  Empty for a key without a name.
QString ShortCutToText(TShortCut shortCut);
// The reverse, ignoring case; 0 for a text that names no shortcut.
TShortCut TextToShortCut(const QString &text);

// The text that stands for no shortcut: "(None)".
QString NoShortCutText();
