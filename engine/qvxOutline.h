#pragma once

// The outline of a prepared report, kept in the "outline" element of the
// prepared pages' document: nested "item" elements with the attributes
// "text", "page" (index from 0) and "top" (pixels).  The current item's
// children form the current level; AddItem descends into the item it adds,
// LevelUp climbs back.

#include "report/model/qvxCustomOutline.h"

class TqvxXMLDocument;

class TqvxOutline : public TqvxCustomOutline
{
    Q_OBJECT

public:
    // previewPages owns the outline and gives the page of new items;
    // document holds the "outline" element.
    TqvxOutline(TqvxCustomPreviewPages *previewPages, TqvxXMLDocument *document);

    int Count() override;
    void AddItem(const QString &text, int top) override;
    void LevelDown(int index) override;
    void LevelRoot() override;
    void LevelUp() override;
    // Page and top are left as they are when the item lacks them.
    void GetItem(int index, QString &text, int &page, int &top) override;
    // The later siblings of `from`, with all their children, move to the
    // store's current page (where a kept run of bands went), their tops by
    // newTop less the first one's top.  With `from` nullptr (the level was
    // empty when the run started) every item of the current level moves.
    void ShiftItems(TqvxXMLItem *from, int newTop) override;
    // The last item of the current level, nullptr when it has none.
    TqvxXMLItem *GetCurPosition() override;

    // The item whose children form the current level; nullptr before the
    // first LevelRoot.
    TqvxXMLItem *CurItem() const { return m_curItem; }
    // Forgets the current level (the document was cleared).
    void Reset() { m_curItem = nullptr; }

private:
    TqvxXMLItem *outlineItem() const;

    TqvxXMLDocument *m_document;
    TqvxXMLItem *m_curItem = nullptr;
};
