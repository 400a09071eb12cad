#pragma once

// Typing page ranges ("1,3,5-12"; a trailing "5-" runs to the last page)
// into the page-number fields of the print and export dialogs.

#include <QString>

#include <functional>

class TEdit;

// The characters a page-number field takes: digits, ",", "-" and
// backspace.
bool qvxIsPageNumberKey(QChar key);
// The text with every character a page-number field does not take (pasted
// letters, blanks) removed.
QString qvxPageNumberText(const QString &text);
// What is wrong with a page-number text for a report of pageCount pages
// (0: not known), as a message for the user; empty when the text selects
// pages.  Empty text is all pages.  Every number must name a page of the
// report, and a range must not run backwards ("3-1" selects nothing, so it
// is refused rather than read as 1-3).
QString qvxPageRangeError(const QString &text, int pageCount);

// Makes the edit a page-number field: keys are filtered as they are typed
// and what arrives otherwise (pasting) is cleaned as it changes.
// onChange runs after every change of the text that is kept.
void qvxMakePageNumberField(TEdit *edit, std::function<void()> onChange);
