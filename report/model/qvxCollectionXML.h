#pragma once

// Collections as nested elements of report files: one child element "item"
// per collection item, its attributes the item's published properties.

class TCollection;
class TqvxComponent;
class TqvxXMLItem;

// Writes the items of collection as children of item.  An item taken over
// from a parent report carries its InheritedName, and only its differences
// from the same item of ancestor (when given) are written.  owner is the
// object the collection belongs to; its report's current serializer is
// used when there is one.
void qvxWriteCollectionXML(TCollection *collection, TqvxXMLItem *item, TqvxComponent *owner,
                           TCollection *ancestor = nullptr);

// Reads the children of item into collection: an element with the
// InheritedName of an existing item updates that item, any other adds one.
void qvxReadCollectionXML(TCollection *collection, TqvxXMLItem *item, TqvxComponent *owner);
