#pragma once

// The outline of a prepared report as the report model knows it: a tree of
// bookmarks, each with a text, the index of its page (from 0) and its top
// in pixels.  The prepared pages own one; scripts reach it as "Outline".

#include "toolkit/classes/TPersistent.h"

#include <QString>

class TqvxCustomPreviewPages;
class TqvxXMLItem;

class TqvxCustomOutline : public TPersistent
{
    Q_OBJECT

public:
    // previewPages owns the outline.
    explicit TqvxCustomOutline(TqvxCustomPreviewPages *previewPages) : m_previewPages(previewPages) {}

    // The virtual operations, in the order the outline overrides them.

    // The number of items on the current level (0 without one).
    virtual int Count() = 0;
    // Adds a child under the current item, on the current page, and makes
    // it the current item.
    virtual void AddItem(const QString &text, int top) = 0;
    // Makes the item at index of the current level current.
    virtual void LevelDown(int index) = 0;
    virtual void LevelRoot() = 0;
    // The parent of the current item becomes current, unless the current
    // item is the root.
    virtual void LevelUp() = 0;
    virtual void GetItem(int index, QString &text, int &page, int &top) = 0;
    // Moves the items added after `from` to newTop on the current page (a
    // band carried to the next page takes its bookmarks along).
    virtual void ShiftItems(TqvxXMLItem *from, int newTop) = 0;
    // The last item added, the mark ShiftItems starts after.
    virtual TqvxXMLItem *GetCurPosition() = 0;

    TqvxCustomPreviewPages *PreviewPages() const { return m_previewPages; }

private:
    TqvxCustomPreviewPages *m_previewPages;
};
