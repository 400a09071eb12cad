#pragma once

// Russian hyphenation of a word that does not fit on its line.

#include <QStringView>

// The number of characters of the word starting at text[wordStart] to put
// before a hyphen, when the characters before text[overflow] are what fits;
// 0 when the word cannot be broken there.  The word ends at the first of
// " .,-;" at or after overflow.  A hyphen may follow a consonant unless a
// vowel or a sign comes next, and a vowel unless "Й" or a doubled
// consonant and a vowel come next; both parts must have two characters or
// more and a vowel.  The break chosen is the last one before overflow.
int qvxBreakWord(QStringView text, int wordStart, int overflow);
