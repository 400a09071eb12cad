#pragma once

// Escaping of XML attribute values as the report files write them.
//
// The writer escapes only the characters that could break an attribute or a
// line or that XML does not allow as they are (the control characters below
// a blank, '"', '&', '<', '>') and always as decimal character references
// ("&#60;"); every other character is copied unchanged.  The
// reader understands decimal references and the four named entities
// &quot; &amp; &lt; &gt;; anything else is kept literally.  Every text
// survives an encode/decode round trip.

#include <QString>

QString qvxXMLEncode(const QString &text);
// The same appended to out.
void qvxAppendXMLEncoded(QString &out, QStringView text);
// The length of the encoded text, so that a long one is made at its size.
qsizetype qvxXMLEncodedSize(QStringView text);

// Decodes references in one pass: a produced '&' never starts a new
// reference ("&amp;lt;" gives "&lt;").  A reference that is not a valid
// decimal code point, or has no ';' close behind it, stays as written.
QString qvxXMLDecode(const QString &text);
QString qvxXMLDecode(QStringView text);
// The length of the decoded text, so that a long one is made at its size
// (the escaped form is longer).
qsizetype qvxXMLDecodedSize(QStringView text);
// The decoded text appended to out.
void qvxAppendXMLDecoded(QString &out, QStringView text);

class Variant;

// A variant as an attribute value: numbers in plain decimal (floats with a
// '.' whatever the locale), dates as full date and time, Booleans as "1" or
// "0", strings escaped; Empty, Null and other kinds as empty text.
QString qvxVariantToXMLText(const Variant &value);
