#pragma once

// The anchors of a prepared report: named positions that hyperlinks and
// scripts jump to, kept as "item" elements of the document's "anchors"
// element with the attributes "text", "page" (index from 0) and "top"
// (whole pixels).

#include <QString>

class TqvxXMLDocument;
class TqvxXMLItem;

class TqvxAnchors
{
public:
    explicit TqvxAnchors(TqvxXMLDocument *document) : m_document(document) {}

    // The "anchors" element, made when missing.
    TqvxXMLItem *Item() const;

    // top is rounded to whole pixels, halves to the even one.
    void Add(const QString &text, int page, double top);
    // The last anchor of that name (case ignored), nullptr when none.
    TqvxXMLItem *Find(const QString &text) const;
    // The page number (from 1) of Find(text); 1 when there is none.
    int GetPage(const QString &text) const;
    // The number of anchors less one (-1 without anchors).
    int GetCurPosition() const;
    // The anchors after index `from` move to page, their tops by newTop
    // less the first one's top.
    void Shift(int from, int page, int newTop);

private:
    TqvxXMLDocument *m_document;
};
