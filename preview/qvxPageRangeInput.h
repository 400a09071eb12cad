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
// Whether the text is a list of page numbers and ranges that printing and
// export can read; empty is (all pages).
bool qvxIsPageRange(const QString &text);
// The message for a page-number text that is no page range.
QString qvxPageRangeError(const QString &text);

// Makes the edit a page-number field: keys are filtered as they are typed
// and what arrives otherwise (pasting) is cleaned as it changes.
// onChange runs after every change of the text that is kept.
void qvxMakePageNumberField(TEdit *edit, std::function<void()> onChange);
