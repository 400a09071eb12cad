// The texts of prepared pages as the preview's search reads them.
//
// Building a page makes every object from its dictionary entry's baseline
// and its difference text.  The search needs only each text object's text,
// visibility and place, so a stored page is read without building it: an
// object takes the values of its entry rebuilt alone once (its template)
// with the few attributes of its difference text that set them put over
// them.  Where a difference text sets anything else that may change those
// values, that object alone is built; where the page's alignment may move
// objects, or a dot-matrix page snaps them, the page is built.  Either way
// the search sees what the built page holds.

#include "engine/qvxPreparedStore.h"

#include "engine/qvxPreparedItems.h"
#include "report/base/qvxNumbers.h"
#include "report/base/qvxViewTypes.h"
#include "report/model/qvxCustomEngine.h"
#include "report/model/qvxXMLSerializer.h"
#include "report/pages/qvxDMP.h"
#include "report/pages/qvxPage.h"
#include "report/views/qvxMemoView.h"
#include "report/xml/qvxXMLItem.h"
#include "toolkit/core/Exceptions.h"

#include <memory>

namespace {

// Attributes of a difference text that set nothing the search reads.
bool leavesTextValues(QStringView name)
{
    static const QStringView prefixes[] = {u"Font.", u"Frame.", u"Fill.", u"Hyperlink.", u"DisplayFormat."};
    for (QStringView prefix : prefixes)
        if (name.startsWith(prefix))
            return true;
    static const QStringView names[] = {u"Tag",       u"TagStr",           u"ParentFont",     u"Color",
                                        u"FillType",  u"HAlign",           u"VAlign",         u"GapX",
                                        u"GapY",      u"CharSpacing",      u"LineSpacing",    u"ParagraphGap",
                                        u"WordWrap",  u"Underlines",       u"RTLReading",     u"Rotation",
                                        u"Cursor",    u"UseDefaultCharset", u"FirstParaBreak", u"LastParaBreak",
                                        u"Hint",      u"ShowHint"};
    for (QStringView known : names)
        if (name == known)
            return true;
    return false;
}

bool snapsItsBounds(const TqvxComponent *object)
{
    return qobject_cast<const TqvxDMPMemoView *>(object) || qobject_cast<const TqvxDMPLineView *>(object) ||
           qobject_cast<const TqvxDMPCommand *>(object);
}

} // namespace

TqvxPageTexts TqvxPreparedStore::PageTexts(int index)
{
    TqvxPageTexts texts;
    if (index < 0 || index >= Count())
        return texts;
    if (TqvxComponent *cached = cachedPage(index))
        return builtPageTexts(cached);
    if (readStoredTexts(index, texts))
        return texts;
    ReadPageObject(index, [&](TqvxComponent *page) { texts = builtPageTexts(page); });
    return texts;
}

TqvxPageTexts TqvxPreparedStore::builtPageTexts(TqvxComponent *page)
{
    TqvxPageTexts texts;
    if (!page || !ReportPageOf(page))
        return texts;
    const TqvxPageMargins margins = PageMargins(page);
    const double left = margins.left * qv01cm;
    const double top = margins.top * qv01cm;
    for (TqvxComponent *object : page->GetAllObjects()) {
        auto *memo = qobject_cast<TqvxCustomMemoView *>(object);
        if (!memo || !memo->Visible() || !memo->Visibility().testFlag(vsPreview))
            continue;
        texts.append({memo->Text(), memo->AllowHTMLTags(), left + memo->GetAbsLeft(), top + memo->GetAbsTop(),
                      memo->Width(), memo->Height()});
    }
    return texts;
}

bool TqvxPreparedStore::readStoredTexts(int index, TqvxPageTexts &texts)
{
    TqvxXMLItem *item = PagesItem()->Items(index);
    if (qvxWholePageClass(item))
        return false;
    const PagePlace place = pagePlace(sourcePageOfItem(item), item);
    if (!place.readable)
        return false;
    const bool swappedOut = item->Unloadable() && !item->Loaded();
    m_doc.LoadItem(item);
    const bool read = readStoredObjects(item, place.left, place.top, place, texts);
    // A page read back from the swap file goes out again.
    if (swappedOut) {
        m_doc.ReleaseItem(item);
        m_doc.CompactItem(item);
    }
    return read;
}

TqvxPreparedStore::PagePlace TqvxPreparedStore::pagePlace(TqvxComponent *source, const TqvxXMLItem *item)
{
    // A page's own attributes (the size of an endless page) are its alone.
    const bool ownAttributes = !item->Text().isEmpty();
    if (!ownAttributes)
        if (auto found = m_pagePlaces.find(source); found != m_pagePlaces.end())
            return found->second;
    TqvxXMLSerializer serializer;
    serializer.SetOldFormat(m_doc.OldVersion());
    std::unique_ptr<TqvxComponent> page(serializer.ReadComponent(parsedSourcePage(source), QString()));
    if (ownAttributes)
        serializer.XMLToObj(item->Text(), page.get());
    const PagePlace place = placeOf(page.get());
    if (!ownAttributes)
        m_pagePlaces.emplace(source, place);
    return place;
}

TqvxPreparedStore::PagePlace TqvxPreparedStore::placeOf(TqvxComponent *page)
{
    PagePlace place;
    const TqvxReportPage *reportPage = ReportPageOf(page);
    if (!reportPage || reportPage->IsDotMatrix())
        return place;
    const TqvxPageMargins margins = PageMargins(page);
    place.left = page->GetAbsLeft();
    place.top = page->GetAbsTop();
    place.leftMargin = margins.left * qv01cm;
    place.topMargin = margins.top * qv01cm;
    place.readable = true;
    return place;
}

bool TqvxPreparedStore::readStoredObjects(TqvxXMLItem *item, double parentLeft, double parentTop,
                                          const PagePlace &place, TqvxPageTexts &texts)
{
    for (int i = 0; i < item->Count(); ++i) {
        TqvxXMLItem *child = item->Items(i);
        const TextValues values = storedObjectValues(child);
        // The page's alignment would place it (and what it holds) anew.
        if (values.aligned && (values.memo || child->Count() > 0))
            return false;
        // Where GetAbsLeft and GetAbsTop put it.
        const double left = values.left + parentLeft;
        const double top = values.top + parentTop;
        if (values.memo && values.previewed && values.visible)
            texts.append(
                {values.text, values.htmlTags, place.leftMargin + left, place.topMargin + top, values.width, values.height});
        if (!readStoredObjects(child, left, top, place, texts))
            return false;
    }
    return true;
}

TqvxPreparedStore::TextValues TqvxPreparedStore::storedObjectValues(TqvxXMLItem *item)
{
    const TqvxComponent *source = m_dictionary.GetObject(item->Name());
    if (source) {
        const TextTemplate &entry = textTemplate(source);
        if (entry.overlaid) {
            TextValues values = entry.values;
            if (overlayDiff(item->Text(), values))
                return values;
        }
    }
    // Built as the page builds it.
    TqvxXMLSerializer serializer;
    serializer.SetOldFormat(m_doc.OldVersion());
    std::unique_ptr<TqvxComponent> object(
        source ? serializer.ReadComponent(parsedSource(source), item->Text())
               : serializer.ReadComponent(nullptr, item->Name() + QLatin1Char(' ') + item->Text()));
    if (!object)
        qvxInvalidFileFormat();
    if (auto *memo = qobject_cast<TqvxCustomMemoView *>(object.get()))
        memo->ApplyHighlight();
    return valuesOf(object.get());
}

const TqvxPreparedStore::TextTemplate &TqvxPreparedStore::textTemplate(const TqvxComponent *source)
{
    auto found = m_textTemplates.find(source);
    if (found != m_textTemplates.end())
        return found->second;
    TqvxXMLSerializer serializer;
    serializer.SetOldFormat(m_doc.OldVersion());
    std::unique_ptr<TqvxComponent> object(serializer.ReadComponent(parsedSource(source), QString()));
    if (!object)
        qvxInvalidFileFormat();
    TextTemplate entry;
    entry.values = valuesOf(object.get());
    // A highlight that holds takes over the visibility once the object is
    // built; no attribute the overlay takes makes one hold.
    const auto *memo = qobject_cast<const TqvxCustomMemoView *>(object.get());
    const bool highlighted = memo && memo->Highlights()->Count() > 0 && memo->Highlight()->Active();
    entry.overlaid = !highlighted && !snapsItsBounds(object.get());
    return m_textTemplates.emplace(source, std::move(entry)).first->second;
}

TqvxPreparedStore::TextValues TqvxPreparedStore::valuesOf(TqvxComponent *object)
{
    TextValues values;
    values.left = object->Left();
    values.top = object->Top();
    values.width = object->Width();
    values.height = object->Height();
    values.visible = object->Visible();
    values.aligned = object->IsKind(ckView) && object->ViewAlign() != baNone;
    if (const auto *memo = qobject_cast<const TqvxCustomMemoView *>(object)) {
        values.memo = true;
        values.previewed = memo->Visibility().testFlag(vsPreview);
        values.htmlTags = memo->AllowHTMLTags();
        values.text = memo->Text();
    }
    return values;
}

bool TqvxPreparedStore::overlayDiff(const QString &diff, TextValues &values)
{
    bool overlaid = true;
    TqvxXMLSerializer::ForEachAttribute(diff, [&](QStringView name, QStringView value) {
        if (!overlaid)
            return;
        double *coordinate = name == u"l"   ? &values.left
                             : name == u"t" ? &values.top
                             : name == u"w" ? &values.width
                             : name == u"h" ? &values.height
                                            : nullptr;
        if (coordinate) {
            try {
                *coordinate = TqvxXMLSerializer::CoordinateValue(value);
            } catch (const Exception &) {
                // Skipped, as reading the object skips it.
            }
        } else if (name == u"Visible" && (value == u"0" || value == u"1")) {
            values.visible = value == u"1";
        } else if (name == u"u" || name == u"x" || name == u"Text") {
            // Only a memo's text is read.
            if (values.memo)
                values.text = TqvxXMLSerializer::StoredMemoText(value);
        } else if (!leavesTextValues(name)) {
            overlaid = false;
        }
    });
    return overlaid;
}
