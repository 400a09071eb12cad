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
//
// Before it reads a page so, the search asks whether the page may hold
// its text at all.  That answer needs only the texts of the page's
// objects, not where they lie: a swapped-out page is looked through as the
// swap file holds it, without making elements or objects of it, and each
// distinct text is matched once.
//
// A text is read as the page shows it: a memo that allows expressions has
// its page-count macros put in as drawing the page puts them.

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

#include <algorithm>
#include <memory>
#include <utility>

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

// Calls take with the name and attribute text of every element in the
// stored bytes of a page element, the page's own aside, until take
// answers true.
template <class Take>
void forEachStoredObject(QByteArrayView stored, Take &&take)
{
    bool page = true;
    for (qsizetype at = stored.indexOf('<'); at >= 0; at = stored.indexOf('<', at)) {
        const qsizetype end = stored.indexOf('>', at + 1);
        if (end < 0)
            return;
        QByteArrayView tag = stored.sliced(at + 1, end - at - 1);
        at = end + 1;
        if (tag.startsWith('/') || tag.startsWith('!') || tag.startsWith('?'))
            continue;
        if (tag.endsWith('/'))
            tag.chop(1);
        if (std::exchange(page, false))
            continue;
        const qsizetype blank = tag.indexOf(' ');
        if (take(blank < 0 ? tag : tag.first(blank), blank < 0 ? QByteArrayView() : tag.sliced(blank + 1)))
            return;
    }
}

bool isAscii(QByteArrayView bytes)
{
    return std::none_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
}

// The last text attribute of a stored attribute text, found as
// TqvxXMLSerializer::ForEachAttribute finds it in the decoded text: false
// where the bytes cannot tell that (a name with a character beyond ASCII,
// which may be a blank there), else value is the raw value, null for none.
bool lastStoredTextAttribute(QByteArrayView text, QByteArrayView &value)
{
    value = QByteArrayView();
    bool readable = true;
    TqvxXMLSerializer::ForEachAttribute(text, [&](QByteArrayView name, QByteArrayView attributeValue) {
        if (!isAscii(name))
            readable = false;
        else if (name == "u" || name == "x" || name == "Text")
            value = attributeValue;
    });
    return readable;
}

// The same for the elements under a page element in memory; true when
// take stopped it.
template <class Take>
bool forEachItemObject(TqvxXMLItem *item, Take &take)
{
    for (int i = 0; i < item->Count(); ++i) {
        TqvxXMLItem *child = item->Items(i);
        if (take(QStringView(child->Name()), QStringView(child->Text())) || forEachItemObject(child, take))
            return true;
    }
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

namespace {

// The bits of matchInText: one for each of the first kMatchWords words of
// the text sought, and whether the whole of it lies within a text, a part
// of it before a blank ends a text, or the rest after a blank starts one.
constexpr int kMatchWords = 61;
constexpr quint64 kWholeText = quint64(1) << 63;
constexpr quint64 kEndsWithHead = quint64(1) << 62;
constexpr quint64 kStartsWithTail = quint64(1) << 61;

} // namespace

bool TqvxPreparedStore::PageMayShowText(int index, const QString &text, bool caseSensitive)
{
    if (index < 0 || index >= Count())
        return false;
    searchText(text, caseSensitive);
    quint64 found = 0;
    if (TqvxComponent *cached = cachedPage(index)) {
        for (const TqvxPageText &shown : builtPageTexts(cached))
            found |= matchIn(shown.Text);
        return pageMayShow(found);
    }
    const QByteArray stored = m_doc.StoredBytes(PagesItem(), index);
    if (!stored.isNull()) {
        forEachStoredObject(stored, [&](QByteArrayView name, QByteArrayView attributes) {
            found |= matchOfStoredObject(name, attributes);
            return pageMayShow(found);
        });
    } else {
        const auto take = [&](QStringView name, QStringView attributes) {
            found |= matchOfObject(name, attributes);
            return pageMayShow(found);
        };
        forEachItemObject(PagesItem()->Items(index), take);
    }
    return pageMayShow(found);
}

void TqvxPreparedStore::searchText(const QString &text, bool caseSensitive)
{
    if (text == m_searchMatches.text && caseSensitive == m_searchMatches.caseSensitive &&
        Count() == m_searchMatches.totalPages && CopyNo() == m_searchMatches.copyNo)
        return;
    m_searchMatches = SearchMatches();
    m_searchMatches.text = text;
    m_searchMatches.caseSensitive = caseSensitive;
    m_searchMatches.totalPages = Count();
    m_searchMatches.copyNo = CopyNo();
    m_searchMatches.words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    // Past kMatchWords words the first ones still tell most pages apart.
    m_searchMatches.allWords = (quint64(1) << std::min<qsizetype>(m_searchMatches.words.size(), kMatchWords)) - 1;
    for (qsizetype at = text.indexOf(QLatin1Char(' ')); at >= 0; at = text.indexOf(QLatin1Char(' '), at + 1))
        m_searchMatches.blanks.append(at);
}

bool TqvxPreparedStore::pageMayShow(quint64 found) const
{
    // Within one text, or from the end of one over others to the start of
    // another: lines join their texts with a blank.
    const quint64 words = m_searchMatches.allWords;
    const bool across = (found & kEndsWithHead) && (found & kStartsWithTail);
    return (found & words) == words && ((found & kWholeText) || across);
}

quint64 TqvxPreparedStore::matchOfObject(QStringView name, QStringView attributes)
{
    // The last text attribute wins, as reading the object applies them in
    // order.
    QStringView text;
    bool hasText = false;
    TqvxXMLSerializer::ForEachAttribute(attributes, [&](QStringView attribute, QStringView value) {
        if (attribute == u"u" || attribute == u"x" || attribute == u"Text") {
            text = value;
            hasText = true;
        }
    });
    if (hasText)
        return matchOfValue(m_searchMatches.byValue, text, [&] { return text; });
    const TqvxComponent *source = m_dictionary.GetObject(name);
    return source ? matchOfEntry(source) : 0;
}

quint64 TqvxPreparedStore::matchOfStoredObject(QByteArrayView name, QByteArrayView attributes)
{
    QByteArrayView text;
    if (!lastStoredTextAttribute(attributes, text))
        return matchOfObject(QString::fromUtf8(name), QString::fromUtf8(attributes));
    if (!text.isNull())
        return matchOfValue(m_searchMatches.byStoredValue, text, [&] { return QString::fromUtf8(text); });
    // Dictionary names are ASCII; any other name is decoded.
    QString &decoded = m_searchMatches.name;
    if (!isAscii(name))
        decoded = QString::fromUtf8(name);
    else
        decoded = QLatin1StringView(name);
    const TqvxComponent *source = m_dictionary.GetObject(decoded);
    return source ? matchOfEntry(source) : 0;
}

template <class Values, class View, class Decode>
quint64 TqvxPreparedStore::matchOfValue(Values &values, View rawValue, Decode &&decode)
{
    if (const auto found = values.find(rawValue); found != values.end())
        return found->second;
    const quint64 match = matchInShown(TqvxXMLSerializer::StoredMemoText(decode()));
    SearchMatches &matches = m_searchMatches;
    if (matches.valueBytes > kSearchMatchBytes) {
        matches.byValue.clear();
        matches.byStoredValue.clear();
        matches.valueBytes = 0;
    }
    values.emplace(typename Values::key_type(rawValue.data(), rawValue.size()), match);
    matches.valueBytes += rawValue.size() * qsizetype(sizeof(QChar)) + 64;
    return match;
}

quint64 TqvxPreparedStore::matchOfEntry(const TqvxComponent *source)
{
    SearchMatches &matches = m_searchMatches;
    if (const auto found = matches.byEntry.find(source); found != matches.byEntry.end())
        return found->second;
    const quint64 match = matchInShown(textTemplate(source).values.text);
    matches.byEntry.emplace(source, match);
    return match;
}

QString TqvxPreparedStore::shownText(QString text, bool allowExpressions)
{
    if (allowExpressions)
        TqvxCustomMemoView::PutPageMacros(text, Count(), CopyNo());
    return text;
}

quint64 TqvxPreparedStore::matchInShown(const QString &text)
{
    QString shown = text;
    if (!TqvxCustomMemoView::PutPageMacros(shown, Count(), CopyNo()))
        return matchIn(text);
    return matchIn(text) | matchIn(shown);
}

quint64 TqvxPreparedStore::matchIn(const QString &text) const
{
    return matchInText(text) | (text.contains(u'<') ? matchInText(qvxTextWithoutTags(text)) : 0);
}

quint64 TqvxPreparedStore::matchInText(const QString &text) const
{
    const SearchMatches &matches = m_searchMatches;
    const Qt::CaseSensitivity sensitivity = matches.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    quint64 bits = 0;
    for (qsizetype i = 0; i < matches.words.size() && i < kMatchWords; ++i)
        if (text.contains(matches.words.at(i), sensitivity))
            bits |= quint64(1) << i;
    // A line holds each text blanks folded, the texts after the first
    // without their leading blank, with one blank between two texts; a
    // text of blanks alone is left out.
    const QString searched = qvxSearchedText(text);
    const QStringView whole(searched);
    const QStringView head = whole.endsWith(u' ') ? whole.chopped(1) : whole;
    const QStringView tail = whole.startsWith(u' ') ? whole.sliced(1) : whole;
    if (head.trimmed().isEmpty())
        return bits;
    if (whole.contains(matches.text, sensitivity))
        bits |= kWholeText;
    const QStringView sought(matches.text);
    for (const qsizetype blank : matches.blanks) {
        if (head.endsWith(sought.first(blank), sensitivity))
            bits |= kEndsWithHead;
        if (tail.startsWith(sought.sliced(blank + 1), sensitivity))
            bits |= kStartsWithTail;
    }
    return bits;
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
        texts.append({shownText(memo->Text(), memo->AllowExpressions()), memo->AllowHTMLTags(),
                      left + memo->GetAbsLeft(), top + memo->GetAbsTop(), memo->Width(), memo->Height()});
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
            texts.append({shownText(values.text, values.expressions), values.htmlTags, place.leftMargin + left,
                          place.topMargin + top, values.width, values.height});
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
        values.expressions = memo->AllowExpressions();
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
        } else if (name == u"AllowExpressions" && (value == u"0" || value == u"1")) {
            values.expressions = value == u"1";
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
