#include "engine/qvxPreparedStore.h"

#include "engine/qvxOutline.h"
#include "engine/qvxPreparedItems.h"
#include "report/model/qvxComponent.h"
#include "report/model/qvxCustomEngine.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxNumbers.h"
#include "report/base/qvxObjectTypes.h"
#include "report/base/qvxTextUtils.h"
#include "report/base/TWideStrings.h"
#include "report/report/qvxPictureCache.h"
#include "report/model/qvxReportLink.h"
#include "report/xml/qvxXMLItem.h"
#include "report/model/qvxXMLSerializer.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/SysUtils.h"

#include <algorithm>
#include <cmath>

namespace {

bool isWholePage(const TqvxXMLItem *item)
{
    return qvxWholePageClass(item) != nullptr;
}

TqvxComponent *newLike(const TqvxComponent *source, TComponent *owner)
{
    return static_cast<TqvxComponent *>(CreateObject(source->ClassType(), owner));
}

// The bytes an element written for a page takes in memory: the element
// itself and its two texts in UTF-16 with their headers.  The memory
// budgets of the options are counted in these.
qint64 elementBytes(const TqvxXMLItem *item)
{
    constexpr qint64 textHeader = 32;
    return qint64(sizeof(TqvxXMLItem)) + 2 * textHeader + 2 * (item->Name().size() + item->Text().capacity());
}

// A float attribute, or fallback when the attribute is absent.
double floatProp(const TqvxXMLItem *item, const QString &name, double fallback)
{
    const QString text = item->GetProp(name);
    return text.isEmpty() ? fallback : qvxStrToFloat(text);
}

} // namespace

TqvxPreparedStore::TqvxPreparedStore(TqvxReportLink *report)
    : TqvxCustomPreviewPages(report), m_anchors(&m_doc), m_pictureCache(std::make_unique<TqvxPictureCache>())
{
    m_doc.Root()->SetName(QStringLiteral("preparedreport"));
    SetOutline(std::make_unique<TqvxOutline>(this, &m_doc));
}

TqvxPreparedStore::~TqvxPreparedStore()
{
    ClearPageCache();
}

TqvxOutline *TqvxPreparedStore::PreparedOutline() const
{
    return static_cast<TqvxOutline *>(Outline());
}

TqvxXMLItem *TqvxPreparedStore::PagesItem()
{
    return m_doc.Root()->FindItem(QStringLiteral("previewpages"));
}

TqvxXMLItem *TqvxPreparedStore::logicalItem()
{
    return m_doc.Root()->FindItem(QStringLiteral("logicalpagenumbers"));
}

TqvxXMLItem *TqvxPreparedStore::curPageItem()
{
    TqvxXMLItem *pages = PagesItem();
    if (CurPage() < 0 || CurPage() >= pages->Count())
        throw Exception(QStringLiteral("No current prepared page"));
    TqvxXMLItem *item = pages->Items(CurPage());
    m_doc.LoadItem(item);
    return item;
}

bool TqvxPreparedStore::finalPassOfTwo() const
{
    return Engine() && Engine()->DoublePass() && Engine()->FinalPass();
}

int TqvxPreparedStore::Count()
{
    return PagesItem()->Count();
}

int TqvxPreparedStore::SourcePageIndex(const TqvxComponent *page) const
{
    for (std::size_t i = 0; i < m_sourcePages.size(); ++i)
        if (m_sourcePages[i]->LinkedObject() == page)
            return int(i);
    return -1;
}

TqvxComponent *TqvxPreparedStore::sourcePageOfItem(const TqvxXMLItem *item) const
{
    int index = -1;
    if (!item->Name().startsWith(QLatin1String("page"), Qt::CaseInsensitive) ||
        !TryStrToInt(item->Name().mid(4), index) || index < 0 || index >= int(m_sourcePages.size()))
        qvxInvalidFileFormat();
    return m_sourcePages[std::size_t(index)].get();
}

// Clearing and the run

void TqvxPreparedStore::Clear()
{
    ClearPageCache();
    clearSpares();
    m_parsedSources.clear();
    m_parsedSourcePages.clear();
    m_textTemplates.clear();
    m_pagePlaces.clear();
    m_searchMatches = SearchMatches();
    m_sourcePages.clear();
    m_logicalPages.clear();
    PreparedOutline()->Reset();
    m_doc.Clear();
    m_loadStream.reset();
    m_dictionary.Clear();
    m_pictureCache->Clear();
    SetCurPage(-1);
    m_allocatedSize = 0;
    m_swapping = false;
    m_lastY = 0;
}

void TqvxPreparedStore::Initialize()
{
    const TqvxPreparedOptions options = Options();
    m_pictureCache->SetUseFileCache(options.pictureCacheInFile);
    m_pictureCache->SetTempDir(options.tempDir);
    m_doc.SetTempDir(options.tempDir);
    Report()->DoProgressStart(ptRunning);
}

void TqvxPreparedStore::Finish()
{
    m_lastY = 0;
    ClearPageCache();
    for (const auto &page : m_sourcePages)
        page->SetLinkedObject(nullptr);
    Report()->DoProgressStop(ptRunning);
}

void TqvxPreparedStore::ClearPageCache()
{
    m_pageCache.clear();
    m_pictureCache->ReleaseDecoded();
}

// Source pages and the dictionary

void TqvxPreparedStore::registerCopy(TqvxComponent *templ, TqvxComponent *copy, const QString &base)
{
    if (templ)
        templ->SetLinkedObject(copy);
    const QString sourceName =
        QStringLiteral("Page") + QString::number(m_sourcePages.size() - 1) + QLatin1Char('.') + copy->Name();
    const QString name = m_dictionary.AddUnique(base, sourceName, copy);
    TqvxXMLSerializer serializer;
    copy->SetBaseName(baselineText(copy, serializer));
    copy->SetDictionaryName(name);
    if (templ)
        templ->SetDictionaryName(name);
}

namespace {

// Holds an object's memo text aside for a scope: what is written of the
// object meanwhile leaves the text out, which is shared instead.
class TextAside
{
public:
    explicit TextAside(TqvxComponent *object) : m_text(object->MemoText())
    {
        if (m_text)
            m_aside.Swap(*m_text);
    }
    ~TextAside()
    {
        if (m_text)
            m_text->Swap(m_aside);
    }
    TextAside(const TextAside &) = delete;
    TextAside &operator=(const TextAside &) = delete;

    // The text held aside; nullptr for an object without one.
    const TWideStrings *Text() const { return m_text ? &m_aside : nullptr; }

private:
    TWideStrings *m_text;
    TWideStrings m_aside;
};

} // namespace

QString TqvxPreparedStore::baselineText(TqvxComponent *object, TqvxXMLSerializer &serializer)
{
    const TextAside aside(object);
    return serializer.WriteComponentStr(object);
}

void TqvxPreparedStore::AssignCopy(TqvxComponent *copy, TqvxComponent *templ)
{
    // One text serves the template and its copy.
    const TextAside aside(templ);
    copy->Assign(templ);
    if (const TWideStrings *text = aside.Text())
        if (TWideStrings *copyText = copy->MemoText())
            copyText->Assign(text);
}

void TqvxPreparedStore::AddSourcePageObject(TqvxComponent *page)
{
    QList<std::pair<TqvxComponent *, TqvxComponent *>> pairs;
    std::function<TqvxComponent *(TqvxComponent *, TqvxComponent *)> copyTree =
        [&](TqvxComponent *templ, TqvxComponent *parentCopy) {
            TqvxComponent *copy = newLike(templ, parentCopy);
            AssignCopy(copy, templ);
            copy->SetName(templ->Name());
            if (parentCopy)
                copy->SetParent(parentCopy);
            pairs.append(std::make_pair(templ, copy));
            for (TqvxComponent *child : templ->Objects())
                copyTree(child, copy);
            return copy;
        };
    std::unique_ptr<TqvxComponent> pageCopy(copyTree(page, nullptr));
    pageCopy->SetLinkedObject(page);
    m_sourcePages.push_back(std::move(pageCopy));
    for (qsizetype i = 1; i < pairs.size(); ++i) {
        auto [templ, copy] = pairs.at(i);
        copy->SetLinkedObject(templ);
        const QString base = copy->IsKind(ckBand) ? QStringLiteral("b") : copy->BaseName().left(1).toLower();
        registerCopy(templ, copy, base);
    }
}

void TqvxPreparedStore::AddToSourcePage(TqvxComponent *object)
{
    if (m_sourcePages.empty())
        return;
    TqvxComponent *page = m_sourcePages.back().get();
    TqvxComponent *copy = newLike(object, page);
    AssignCopy(copy, object);
    copy->SetParent(page);
    copy->CreateUniqueName();
    copy->SetLinkedObject(object);
    registerCopy(object, copy, copy->BaseName().left(1).toLower());
}

// Adding pages and objects

void TqvxPreparedStore::swapOutPages()
{
    TqvxXMLItem *pages = PagesItem();
    for (int i = pages->Count() - 2; i >= 0 && !pages->Compacted(i); --i) {
        TqvxXMLItem *item = pages->Items(i);
        if (!item->Loaded())
            break;
        m_doc.UnloadItem(item);
        // What stays of the page is its offset in the swap file.
        m_doc.CompactItem(item);
    }
    m_allocatedSize = 0;
}

void TqvxPreparedStore::AddPageObject(TqvxComponent *page)
{
    TqvxXMLItem *pages = PagesItem();
    const TqvxPreparedOptions options = Options();
    // Once pages go to the swap file, no more of them stay in memory than
    // the file cache keeps: refilling the whole budget between swaps would
    // spread each page's elements over all of it.
    const qint64 megabytes =
        swapsPages(options) ? std::min(options.maxMemSize, options.maxPreparedMemory) : options.maxPreparedMemory;
    if (m_allocatedSize > megabytes * (qint64(1) << 20)) {
        m_swapping = true;
        swapOutPages();
    }
    SetCurPage(CurPage() + 1);
    if (Count() > CurPage() && AddPageAction() != apAdd)
        return;
    TqvxXMLItem *item = pages->Add();
    item->SetName(QStringLiteral("page") + QString::number(SourcePageIndex(page)));
    if (Count() > 2)
        item->SetUnloadable(true);
    Report()->InternalOnProgress(ptRunning, CurPage() + 1);
    SetAddPageAction(apWriteOver);
    SetCurPage(Count() - 1);
    IncLogicalPageNumber();
}

void TqvxPreparedStore::AddObject(TqvxComponent *object)
{
    TqvxXMLItem *page = curPageItem();
    WriteObject(object, page, writesWholePage(page));
}

bool TqvxPreparedStore::writesWholePage(const TqvxXMLItem *page)
{
    if (page->Name() != m_lastPageName) {
        m_lastPageName = page->Name();
        m_lastPageWhole = isWholePage(page);
    }
    return m_lastPageWhole;
}

void TqvxPreparedStore::WriteObject(TqvxComponent *object, TqvxXMLItem *parent, bool whole)
{
    if (!object->Visible())
        return;
    TqvxXMLItem *item = parent->Add();
    TqvxComponent *linked = object->LinkedObject();
    if (!linked || whole) {
        item->SetName(ClassNameOf(object->ClassType()));
        item->SetText(object->AllDiff(nullptr));
    } else {
        item->SetName(object->DictionaryName());
        const bool firstOfTwo = Engine() && Engine()->DoublePass() && !Engine()->FinalPass();
        QString diff = firstOfTwo ? object->InternalDiff(linked) : object->Diff(linked);
        qvxDropSpareRoom(diff);
        item->SetText(diff);
    }
    m_allocatedSize += elementBytes(item);
    for (TqvxComponent *child : object->Objects())
        WriteObject(child, item, whole);
}

// Reading pages

TqvxComponent *TqvxPreparedStore::GetPageObject(int index)
{
    return SharedPage(index).get();
}

std::shared_ptr<TqvxComponent> TqvxPreparedStore::SharedPage(int index)
{
    if (index < 0 || index >= Count())
        return nullptr;
    const bool running = Engine() && Engine()->Running();
    for (qsizetype i = 0; i < m_pageCache.size(); ++i) {
        if (m_pageCache.at(i).index != index)
            continue;
        if (!running) {
            m_pageCache.move(i, 0);
            return m_pageCache.first().page;
        }
        m_pageCache.removeAt(i);
        break;
    }
    std::shared_ptr<TqvxComponent> page = buildPage(index);
    m_pageCache.prepend({index, page});
    const TqvxPreparedOptions options = Options();
    if (m_pageCache.size() > 1 && m_pageCache.size() > options.pagesInCache) {
        const CacheEntry last = m_pageCache.takeLast();
        TqvxXMLItem *pages = PagesItem();
        if (swapsPages(options) && !pages->Compacted(last.index)) {
            TqvxXMLItem *item = pages->Items(last.index);
            if (item->Unloadable()) {
                m_doc.UnloadItem(item);
                m_doc.CompactItem(item);
            }
        }
    }
    return page;
}

void TqvxPreparedStore::ReadPageObject(int index, const std::function<void(TqvxComponent *)> &read)
{
    if (index < 0 || index >= Count()) {
        read(nullptr);
        return;
    }
    if (TqvxComponent *cached = cachedPage(index)) {
        read(cached);
        return;
    }
    TqvxXMLItem *item = PagesItem()->Items(index);
    const bool swappedOut = item->Unloadable() && !item->Loaded();
    std::vector<RebuiltObject> rebuilt;
    std::shared_ptr<TqvxComponent> page = buildPage(index, &rebuilt);
    // A page read back from the swap file goes out again: its objects are
    // made.
    if (swappedOut) {
        m_doc.ReleaseItem(item);
        m_doc.CompactItem(item);
    }
    read(page.get());
    recycle(std::move(page), rebuilt);
}

TqvxComponent *TqvxPreparedStore::cachedPage(int index) const
{
    if (Engine() && Engine()->Running())
        return nullptr;
    for (const CacheEntry &entry : m_pageCache)
        if (entry.index == index)
            return entry.page.get();
    return nullptr;
}

std::shared_ptr<TqvxComponent> TqvxPreparedStore::buildPage(int index, std::vector<RebuiltObject> *rebuilt)
{
    TqvxXMLItem *item = PagesItem()->Items(index);
    m_doc.LoadItem(item);
    TqvxXMLSerializer serializer;
    serializer.SetOldFormat(m_doc.OldVersion());
    std::shared_ptr<TqvxComponent> page;
    if (isWholePage(item)) {
        page.reset(static_cast<TqvxComponent *>(CreateObject(qvxWholePageClass(item), nullptr)));
        if (!page->IsKind(ckPage))
            qvxInvalidFileFormat();
        readWholePage(page.get(), item, serializer);
    } else {
        TqvxComponent *source = sourcePageOfItem(item);
        page.reset(serializer.ReadComponent(parsedSourcePage(source), QString()));
        page->SetName(source->Name());
        if (!item->Text().isEmpty())
            serializer.XMLToObj(item->Text(), page.get());
        BuildObjects(item, page.get(), serializer, rebuilt);
    }
    page->AlignChildren();
    return page;
}

void TqvxPreparedStore::writeWholePage(TqvxComponent *page, TqvxXMLItem *item)
{
    TqvxXMLSerializer serializer;
    serializer.WriteRootComponent(page, true, item);
    // The root element leaves its name out; the page keeps it.
    item->SetProp(QStringLiteral("Name"), page->Name());
}

void TqvxPreparedStore::readWholePage(TqvxComponent *page, TqvxXMLItem *item, TqvxXMLSerializer &serializer)
{
    serializer.ReadRootComponent(page, item);
    page->SetName(item->GetProp(QStringLiteral("Name")));
}

namespace {

// Whether a difference text sets nothing but what a refill sets back from
// the entry: the bounds, the visibility, the tag and a memo's text.
bool onlyRefilledAttributes(const QString &diff, bool *setsText)
{
    bool only = true;
    *setsText = false;
    TqvxXMLSerializer::ForEachAttribute(diff, [&](QStringView name, QStringView) {
        if (name == u"u" || name == u"x" || name == u"Text")
            *setsText = true;
        else if (name != u"l" && name != u"t" && name != u"w" && name != u"h" && name != u"Visible" && name != u"Tag")
            only = false;
    });
    return only;
}

// At most this many objects are kept for refilling.
constexpr qsizetype maxSpares = 20000;

} // namespace

void TqvxPreparedStore::BuildObjects(TqvxXMLItem *item, TqvxComponent *parent, TqvxXMLSerializer &serializer,
                                     std::vector<RebuiltObject> *rebuilt)
{
    for (int i = 0; i < item->Count(); ++i) {
        TqvxXMLItem *child = item->Items(i);
        const TqvxComponent *source = m_dictionary.GetObject(child->Name());
        bool setsText = false;
        const bool refillable = source && rebuilt && onlyRefilledAttributes(child->Text(), &setsText);
        TqvxComponent *object = refillable ? refilled(source, child->Text(), setsText, serializer) : nullptr;
        const bool wasKept = object != nullptr;
        if (!object) {
            object = source ? serializer.ReadComponent(parsedSource(source), child->Text())
                            : serializer.ReadComponent(nullptr, child->Name() + QLatin1Char(' ') + child->Text());
            if (!object)
                qvxInvalidFileFormat();
        }
        object->SetParent(parent);
        if (source && !wasKept)
            object->SetName(source->Name());
        if (auto *memo = qobject_cast<TqvxCustomMemoView *>(object))
            memo->ApplyHighlight();
        ObjectRebuilt(object);
        if (rebuilt)
            rebuilt->push_back({object, source, refillable});
        BuildObjects(child, object, serializer, rebuilt);
    }
}

TqvxComponent *TqvxPreparedStore::refilled(const TqvxComponent *source, const QString &diff, bool setsText,
                                           TqvxXMLSerializer &serializer)
{
    const auto kept = m_spares.find(source);
    if (kept == m_spares.end() || kept->second.empty())
        return nullptr;
    auto &pristine = m_pristine[source];
    if (!pristine)
        pristine.reset(serializer.ReadComponent(parsedSource(source), QString()));
    std::unique_ptr<TqvxComponent> object = std::move(kept->second.back());
    kept->second.pop_back();
    --m_spareCount;

    object->SetIsLoading(true);
    object->SetLeft(pristine->Left());
    object->SetTop(pristine->Top());
    object->SetWidth(pristine->Width());
    object->SetHeight(pristine->Height());
    object->SetVisible(pristine->Visible());
    object->SetTag(pristine->Tag());
    if (auto *memo = qobject_cast<TqvxCustomMemoView *>(object.get())) {
        const auto *pristineMemo = static_cast<const TqvxCustomMemoView *>(pristine.get());
        // The page-count pass of the page before may have turned it off.
        memo->SetAllowExpressions(pristineMemo->AllowExpressions());
        if (!setsText)
            memo->Memo()->Assign(pristineMemo->Memo());
    }
    serializer.ReadPersistentStr(nullptr, object.get(), diff);
    object->SetIsLoading(false);
    object->Loaded();
    return object.release();
}

bool TqvxPreparedStore::Refillable(const TqvxComponent *object) const
{
    if (!object->Objects().isEmpty())
        return false;
    if (const auto *memo = qobject_cast<const TqvxCustomMemoView *>(object))
        return memo->Highlights()->Count() == 0 && !memo->AutoWidth();
    return true;
}

void TqvxPreparedStore::recycle(std::shared_ptr<TqvxComponent> page, const std::vector<RebuiltObject> &rebuilt)
{
    // Children come after their parents in the list: taken from the end,
    // every object has lost its rebuilt children when its turn comes.
    for (auto it = rebuilt.rbegin(); it != rebuilt.rend(); ++it) {
        std::unique_ptr<TqvxComponent> object(it->object);
        object->SetParent(nullptr);
        if (it->refillable && m_spareCount < maxSpares && Refillable(object.get())) {
            m_spares[it->source].push_back(std::move(object));
            ++m_spareCount;
        }
    }
    page.reset();
}

void TqvxPreparedStore::clearSpares()
{
    m_spares.clear();
    m_pristine.clear();
    m_spareCount = 0;
}

const TqvxParsedComponent &TqvxPreparedStore::parsedSourcePage(TqvxComponent *source)
{
    auto found = m_parsedSourcePages.find(source);
    if (found == m_parsedSourcePages.end()) {
        TMemoryStream stream;
        source->SaveToStream(&stream, false, true, false);
        stream.SetPosition(0);
        TqvxXMLDocument document;
        document.LoadFromStream(&stream);
        // The element is named "inherited" for a page of an ancestor report.
        const QString text = source->ClassName() + QLatin1Char(' ') + document.Root()->Text();
        found = m_parsedSourcePages.emplace(source, TqvxXMLSerializer::ParseComponent(text)).first;
    }
    return found->second;
}

const TqvxParsedComponent &TqvxPreparedStore::parsedSource(const TqvxComponent *source)
{
    auto found = m_parsedSources.find(source);
    if (found == m_parsedSources.end()) {
        if (source->BaseName().trimmed().isEmpty())
            qvxInvalidFileFormat();
        TqvxParsedComponent parsed = TqvxXMLSerializer::ParseComponent(source->BaseName());
        if (const TWideStrings *text = source->MemoText()) {
            auto shared = std::make_shared<TWideStrings>();
            shared->Assign(text);
            parsed.memoText = std::move(shared);
        }
        found = m_parsedSources.emplace(source, std::move(parsed)).first;
    }
    return found->second;
}

TPoint TqvxPreparedStore::GetPageSize(int index)
{
    if (index < 0 || index >= Count())
        return TPoint(0, 0);
    TqvxXMLItem *pages = PagesItem();
    const bool compacted = pages->Compacted(index);
    TqvxXMLItem *item = pages->Items(index);
    const TqvxComponent *page = isWholePage(item) || !item->Text().isEmpty() ? GetPageObject(index)
                                                                             : sourcePageOfItem(item);
    const TPoint size(qvxRound(page->Width()), qvxRound(page->Height()));
    // Asking every page's size keeps no page's element.
    if (compacted)
        m_doc.CompactItem(pages->Items(index));
    return size;
}

void TqvxPreparedStore::UpdatePageDimensions(TqvxComponent *, double width, double height)
{
    // The size belongs to the current page alone: other pages built from
    // the same source page keep theirs.
    TqvxXMLItem *item = curPageItem();
    item->SetProp(QStringLiteral("PaperSize"), QStringLiteral("256"));
    item->SetProp(QStringLiteral("PaperWidth"), TqvxXMLSerializer::FloatToText(width / qv01cm));
    item->SetProp(QStringLiteral("PaperHeight"), TqvxXMLSerializer::FloatToText(height / qv01cm));
    ClearPageCache();
}

// Passes and logical page numbers

void TqvxPreparedStore::BeginPass()
{
    m_firstPageIndex = Count() - 1;
    if (Count() > 0) {
        // The page may have gone to the swap file: its objects count.
        TqvxXMLItem *last = PagesItem()->Items(m_firstPageIndex);
        m_doc.LoadItem(last);
        m_firstObjectIndex = last->Count();
        m_firstOutlineIndex = m_doc.Root()->FindItem(QStringLiteral("outline"))->Count();
    }
    ResetLogicalPageNumber();
}

void TqvxPreparedStore::ClearFirstPassPages()
{
    ClearPageCache();
    PreparedOutline()->Reset();
    TqvxXMLItem *pages = PagesItem();
    if (m_firstPageIndex >= pages->Count())
        m_firstPageIndex = pages->Count() - 1;
    if (m_firstPageIndex != -1) {
        TqvxXMLItem *page = pages->Items(m_firstPageIndex);
        m_doc.LoadItem(page);
        while (page->Count() > m_firstObjectIndex)
            delete page->Items(page->Count() - 1);
        while (pages->Count() > m_firstPageIndex + 1)
            delete pages->Items(pages->Count() - 1);
        TqvxXMLItem *outline = m_doc.Root()->FindItem(QStringLiteral("outline"));
        while (outline->Count() > m_firstOutlineIndex)
            delete outline->Items(outline->Count() - 1);
    } else {
        TqvxXMLItem *root = m_doc.Root();
        for (int i = 0; i < root->Count(); ++i) {
            TqvxXMLItem *child = root->Items(i);
            if (child->Name().compare(QLatin1String("anchors"), Qt::CaseInsensitive) != 0 &&
                child->Name().compare(QLatin1String("logicalpagenumbers"), Qt::CaseInsensitive) != 0)
                child->Clear();
        }
    }
    ResetLogicalPageNumber();
    SetCurPage(m_firstPageIndex);
    m_allocatedSize = 0;
}

void TqvxPreparedStore::IncLogicalPageNumber()
{
    if (finalPassOfTwo())
        return;
    ++m_logicalPageN;
    // The element is made where it always was among the document's, for
    // the files written.
    logicalItem();
    m_logicalPages.push_back({m_logicalPageN, -1});
}

void TqvxPreparedStore::ResetLogicalPageNumber()
{
    if (finalPassOfTwo())
        return;
    logicalItem();
    for (int i = CurPage(); i > m_firstPageIndex; --i) {
        if (i < 0 || i >= int(m_logicalPages.size()))
            continue;
        LogicalPage &page = m_logicalPages[std::size_t(i)];
        page.total = m_logicalPageN;
        if (page.number == 1)
            break;
    }
    m_logicalPageN = 0;
}

int TqvxPreparedStore::GetLogicalPageNo()
{
    if (CurPage() >= 0 && CurPage() < int(m_logicalPages.size()))
        return m_logicalPages[std::size_t(CurPage())].number;
    return CurPage() - FirstPage() + 1;
}

int TqvxPreparedStore::GetLogicalTotalPages()
{
    if (CurPage() >= 0 && CurPage() < int(m_logicalPages.size()))
        return std::max(m_logicalPages[std::size_t(CurPage())].total, 0);
    return (Engine() ? Engine()->TotalPages() : Count()) - FirstPage();
}

// Cut and paste, layout questions

void TqvxPreparedStore::CutObjects(int position)
{
    TqvxXMLItem *page = curPageItem();
    TqvxXMLItem *cutted = m_doc.Root()->FindItem(QStringLiteral("cutted"));
    while (position >= 0 && page->Count() > position)
        cutted->AddItem(page->Items(position));
}

void TqvxPreparedStore::PasteObjects(double x, double y)
{
    TqvxXMLItem *cutted = m_doc.Root()->FindItem(QStringLiteral("cutted"));
    if (cutted->Count() > 0) {
        TqvxXMLItem *page = curPageItem();
        // An attribute left out of a difference text is the source copy's.
        auto position = [this](const TqvxXMLItem *item, const QString &name, bool horizontal) {
            const TqvxComponent *source = m_dictionary.GetObject(item->Name());
            const double fallback = !source ? 0 : horizontal ? source->Left() : source->Top();
            return floatProp(item, name, fallback);
        };
        const double dx = x - position(cutted->Items(0), QStringLiteral("l"), true);
        const double dy = y - position(cutted->Items(0), QStringLiteral("t"), false);
        while (cutted->Count() > 0) {
            TqvxXMLItem *item = cutted->Items(0);
            item->SetProp(QStringLiteral("l"),
                          TqvxXMLSerializer::FloatToText(position(item, QStringLiteral("l"), true) + dx));
            item->SetProp(QStringLiteral("t"),
                          TqvxXMLSerializer::FloatToText(position(item, QStringLiteral("t"), false) + dy));
            page->AddItem(item);
        }
    }
    delete cutted;
}

int TqvxPreparedStore::GetCurPosition()
{
    return curPageItem()->Count();
}

bool TqvxPreparedStore::BandExistsObject(const TqvxComponent *band)
{
    const TqvxStoreBand kind = BandOf(band);
    TqvxXMLItem *page = curPageItem();
    for (int i = 0; i < page->Count(); ++i) {
        const TqvxComponent *object = m_dictionary.GetObject(page->Items(i)->Name());
        if (!object)
            continue;
        if (object->LinkedObject() == band)
            return true;
        const TqvxStoreBand objectKind = BandOf(object);
        if (objectKind == kind && (kind == TqvxStoreBand::PageFooter || kind == TqvxStoreBand::ColumnFooter))
            return true;
    }
    return false;
}

double TqvxPreparedStore::GetLastY(double x)
{
    TqvxXMLItem *page = curPageItem();
    double result = 0;
    for (int i = 0; i < page->Count(); ++i) {
        const TqvxXMLItem *item = page->Items(i);
        const TqvxComponent *band = m_dictionary.GetObject(item->Name());
        if (!band || !band->IsKind(ckBand))
            continue;
        const TqvxStoreBand kind = BandOf(band);
        if (kind == TqvxStoreBand::PageFooter || kind == TqvxStoreBand::Overlay)
            continue;
        const double left = floatProp(item, QStringLiteral("l"), band->Left());
        if (x != 0 && std::abs(x - left) >= 0.001 && kind != TqvxStoreBand::PageHeader &&
            kind != TqvxStoreBand::ReportTitle)
            continue;
        const double bottom = floatProp(item, QStringLiteral("t"), band->Top()) +
                              floatProp(item, QStringLiteral("h"), band->Height());
        result = std::max(result, bottom);
    }
    if (result == 0 && m_lastY != 0)
        result = m_lastY;
    return result;
}

// Editing from the preview

void TqvxPreparedStore::AddEmptyPage(int index)
{
    TqvxXMLItem *pages = PagesItem();
    if (pages->Count() == 0 || index < 0 || index >= pages->Count())
        return;
    const TqvxXMLItem *model = pages->Items(index);
    auto item = std::make_unique<TqvxXMLItem>();
    item->SetName(model->Name());
    if (!isWholePage(model))
        item->SetText(model->Text());
    pages->InsertItem(index, item.release());
    ClearPageCache();
}

void TqvxPreparedStore::DeletePage(int index)
{
    TqvxXMLItem *pages = PagesItem();
    if (pages->Count() < 2 || index < 0 || index >= pages->Count())
        return;
    ClearPageCache();
    delete pages->Items(index);
}

void TqvxPreparedStore::ModifyPageObject(int index, TqvxComponent *page)
{
    TqvxXMLItem *pages = PagesItem();
    if (index < 0 || index >= pages->Count())
        return;
    TqvxXMLItem *item = pages->Items(index);
    m_doc.LoadItem(item);
    item->Clear();
    writeWholePage(page, item);
    item->SetUnloadable(false);
    ClearPageCache();
}

// Anchors

void TqvxPreparedStore::AddAnchor(const QString &text)
{
    m_anchors.Add(text, CurPage(), Engine() ? Engine()->CurY() : 0);
}

int TqvxPreparedStore::GetAnchorPage(const QString &text)
{
    return m_anchors.GetPage(text);
}

bool TqvxPreparedStore::FindAnchor(const QString &text, int &page, int &top)
{
    const TqvxXMLItem *anchor = m_anchors.Find(text);
    if (!anchor)
        return false;
    page = qvxIntProp(anchor, QStringLiteral("page"));
    top = qvxIntProp(anchor, QStringLiteral("top"));
    return true;
}

int TqvxPreparedStore::GetAnchorCurPosition()
{
    return m_anchors.GetCurPosition();
}

void TqvxPreparedStore::ShiftAnchors(int from, int newTop)
{
    m_anchors.Shift(from, CurPage(), newTop);
}
