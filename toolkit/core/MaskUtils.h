#pragma once

// FormatMaskText: a raw value laid out by an edit mask.
//
// An edit mask is "mask;save-literals;blank".  In the mask:
//   L l   a letter (required / optional)      A a  a letter or digit
//   C c   any character                      0 9  a digit   # a digit or sign
//   >     upper-case what follows            <    lower-case what follows
//   <>    stop changing case                 !    fill from the right
//   :  /  the time / date separator          _    a blank
//   \x    x as a literal; any other character is a literal
// With save-literals "0" the value holds only the entered characters and the
// literals are inserted; otherwise the value already holds them in place.
// Positions the value does not fill show a blank, at the end, or at the
// start after "!".  The characters themselves are not checked.

#include "toolkit/core/FormatSettings.h"

#include <QString>

QString FormatMaskText(const QString &editMask, const QString &value,
                       const TFormatSettings &settings = FormatSettings);
