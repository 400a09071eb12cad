#pragma once

// Helpers shared by the parts of the prepared pages that keep their state as
// attributes of XML items: integer attributes read and written as decimal
// text, and the named children of the document root.

#include <QString>

class TqvxXMLItem;
struct QMetaObject;

// StrToInt of the attribute; raises EConvertError on text that is no
// number, also on an empty one.
int qvxIntProp(const TqvxXMLItem *item, const QString &name);
// The attribute as an integer, or fallback when it is absent or empty.
int qvxIntPropOr(const TqvxXMLItem *item, const QString &name, int fallback);
void qvxSetIntProp(TqvxXMLItem *item, const QString &name, int value);

// The page class a page element is named by when the page is stored whole
// (edited, or appended from another report), or nullptr for a page built
// from a source page.
const QMetaObject *qvxWholePageClass(const TqvxXMLItem *item);

// Raises TqvxInvalidXMLException "Invalid file format".
[[noreturn]] void qvxInvalidFileFormat();
