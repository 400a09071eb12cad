#pragma once

// The store of a prepared report, over report components.
//
// The engine hands it pages and printed objects while a report runs; the
// preview, printing and export read pages back.  Everything lives in one XML
// document under the root "preparedreport" (children "previewpages",
// "outline", "anchors", "logicalpagenumbers", "cutted"; saved files add
// "report", "sourcepages", "dictionary" and "picturecache"), so that pages
// can be swapped out to a temporary file, saved and loaded again.
//
// Printed objects are not kept whole.  Every report page that prints is
// copied once (a source page); each object on a copy gets a short unique
// name in the dictionary and keeps its full attribute text (its baseline,
// held in the copy's BaseName).  A printed object is then an element named
// by that short name whose attributes are its differences from the copy.
// Pages are rebuilt from these texts on demand and kept in a small cache,
// most recently used first.
//
// This class works on components.  The operations of the prepared-pages
// interface that take the report's page, band and picture classes, and the
// few places where the store needs to know those classes, are supplied by
// the report's own store class through the protected hooks below.

#include "engine/qvxAnchors.h"
#include "engine/qvxDictionary.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxXMLSerializer.h"
#include "report/xml/qvxXMLDocument.h"
#include "toolkit/classes/NameHash.h"
#include "toolkit/classes/Streams.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class TBitmap;
class TqvxOutline;
class TqvxPictureCache;

// What a page is to the export walk: its margins in millimetres.
struct TqvxPageMargins {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    bool mirror = false;
};

// The report settings the store follows.
struct TqvxPreparedOptions {
    bool useFileCache = false;
    int maxMemSize = 10; // megabytes
    // Megabytes of pages kept in memory, whatever useFileCache says.
    int maxPreparedMemory = 256;
    QString tempDir;
    int pagesInCache = 50;
    bool pictureCacheInFile = false;
    bool threadSafeMode = false;
};

// The error text for a page range whose pages (numbered from 1) are none of
// a report's count pages; empty where the range is empty (all pages) or
// names one of them.
QString qvxRangeWithoutPagesError(const QString &range, const QList<int> &pages, int count);

// The bands the store treats apart.
enum class TqvxStoreBand { None, Other, PageHeader, PageFooter, ColumnFooter, ReportTitle, Overlay, DataBand };

class TqvxPreparedStore : public TqvxCustomPreviewPages
{
    Q_OBJECT

public:
    explicit TqvxPreparedStore(TqvxReportLink *report);
    ~TqvxPreparedStore() override;

    int Count() override;
    TPoint GetPageSize(int index) override;
    void Clear() override;
    void Initialize() override;
    void AddObject(TqvxComponent *object) override;
    void AddToSourcePage(TqvxComponent *object) override;
    void BeginPass() override;
    void ClearFirstPassPages() override;
    void CutObjects(int position) override;
    void Finish() override;
    void IncLogicalPageNumber() override;
    void ResetLogicalPageNumber() override;
    void PasteObjects(double x, double y) override;
    // The anchors after index `from` move to the current page (where a kept
    // run of bands went), their tops by newTop less the first one's top.
    void ShiftAnchors(int from, int newTop) override;
    int GetCurPosition() override;
    int GetAnchorCurPosition() override;
    double GetLastY(double x) override;
    int GetLogicalPageNo() override;
    int GetLogicalTotalPages() override;
    void AddEmptyPage(int index) override;
    void DeletePage(int index) override;
    void LoadFromStream(TStream *stream, bool allowPartialLoading) override;
    void SaveToStream(TStream *stream) override;
    bool LoadFromFile(const QString &fileName, bool exceptionIfNotFound) override;
    void SaveToFile(const QString &fileName) override;
    bool Export(TqvxCustomExportFilter *filter) override;
    void AddAnchor(const QString &text) override;
    int GetAnchorPage(const QString &text) override;
    bool FindAnchor(const QString &text, int &page, int &top) override;

    // The operations of the interface, on components.

    // The rebuilt page index, owned by the page cache: valid until the cache
    // lets it go (see SharedPage); nullptr when index is out of range.
    TqvxComponent *GetPageObject(int index);
    // The same page, held also by the caller for as long as it likes.
    std::shared_ptr<TqvxComponent> SharedPage(int index);
    // Calls read with page index (nullptr when out of range) for a reader
    // that does not keep it and changes no more of its objects than a
    // refill sets back (their bounds, visibility, tag, text and whether a
    // memo takes expressions): the cached page where there is one, else a
    // page built for the call alone, from objects of pages read so before
    // where they can be refilled, and taken apart after.
    void ReadPageObject(int index, const std::function<void(TqvxComponent *)> &read);
    // Read from the cached page where there is one (a script in the
    // preview may have changed it), else from the stored page without
    // building it where its objects allow (qvxPreparedTexts.cpp), else
    // from the page ReadPageObject builds.
    TqvxPageTexts PageTexts(int index) override;
    // Looks through the cached page where there is one, else through the
    // stored page's texts: each object's text attribute, or its dictionary
    // entry's text where it has none (qvxPreparedTexts.cpp).
    bool PageMayShowText(int index, const QString &text, bool caseSensitive) override;
    void AddPageObject(TqvxComponent *page);
    void AddSourcePageObject(TqvxComponent *page);
    void ModifyPageObject(int index, TqvxComponent *page);
    // Appends the pages of another store, whole, with its anchors and
    // outline moved by this store's page count.
    void AddFromPages(TqvxPreparedStore *other);
    bool BandExistsObject(const TqvxComponent *band);
    // Sets the paper of an endless page to width x height pixels.
    void UpdatePageDimensions(TqvxComponent *page, double width, double height);
    // Frees every rebuilt page, and the decoded pictures their views shared.
    void ClearPageCache();

    TqvxXMLDocument *XMLDoc() { return &m_doc; }
    TqvxDictionary *Dictionary() { return &m_dictionary; }
    TqvxPictureCache *PictureCache() { return m_pictureCache.get(); }
    TqvxAnchors *Anchors() { return &m_anchors; }
    TqvxOutline *PreparedOutline() const;
    const std::vector<std::unique_ptr<TqvxComponent>> &SourcePages() const { return m_sourcePages; }
    // The index of the source page copied from page, -1 when none.
    int SourcePageIndex(const TqvxComponent *page) const;
    TqvxXMLItem *PagesItem();
    // The bottom of the last band of a report appended by AddFrom.
    double LastY() const { return m_lastY; }

protected:
    // Supplied by the report's store class.
    virtual TqvxReportPage *ReportPageOf(TqvxComponent *page) = 0;
    virtual TqvxPreparedOptions Options() const = 0;
    virtual TqvxPageMargins PageMargins(const TqvxComponent *page) const = 0;
    virtual TqvxStoreBand BandOf(const TqvxComponent *object) const = 0;
    // The object exported before the objects of a page: its colour, frame
    // and background picture over the given bounds, named
    // "_pagebackground".
    virtual std::unique_ptr<TqvxComponent> NewPageBackground(TqvxComponent *page, double left, double top,
                                                             double width, double height) = 0;
    // Assigns a template object to its copy on a source page; the report's
    // store leaves picture data out of the copy, since a printed picture
    // lives in the picture cache.
    virtual void AssignCopy(TqvxComponent *copy, TqvxComponent *templ);
    // Finishes an object rebuilt from its texts (a picture view loads its
    // picture from the picture cache).
    virtual void ObjectRebuilt(TqvxComponent *object) = 0;
    // Whether an exported object of this class may be kept and refilled for
    // a later page: false where ObjectRebuilt or the class itself keeps
    // state that refilling would not set again.
    virtual bool Refillable(const TqvxComponent *object) const;
    // The report element of a saved file, written and read.
    virtual void SaveReportSettings(TqvxXMLItem *item) = 0;
    virtual void LoadReportSettings(TqvxXMLItem *item) = 0;

private:
    struct CacheEntry {
        int index;
        std::shared_ptr<TqvxComponent> page;
    };

    // An object rebuilt for the export walk, children after their parent.
    struct RebuiltObject {
        TqvxComponent *object;
        // Its dictionary entry; nullptr for an object written whole.
        const TqvxComponent *source;
        // Whether its difference text holds only what a refill sets again.
        bool refillable;
    };

    // The cached page index; nullptr when there is none, or while the
    // engine runs (the page it builds may have grown since it was cached).
    TqvxComponent *cachedPage(int index) const;

    // What the search reads of a page and its objects, read from their
    // stored texts (qvxPreparedTexts.cpp).
    struct PagePlace {
        // The page's own position and its margins, in pixels.
        double left = 0;
        double top = 0;
        double leftMargin = 0;
        double topMargin = 0;
        // False where the stored texts cannot say where the objects land
        // (a dot-matrix page snaps them to its character cells).
        bool readable = false;
    };
    struct TextValues {
        double left = 0;
        double top = 0;
        double width = 0;
        double height = 0;
        bool visible = false;
        // A memo view, and one shown in the preview (vsPreview).
        bool memo = false;
        bool previewed = false;
        bool htmlTags = false;
        // Its page-count macros are put in (AllowExpressions).
        bool expressions = true;
        // Laid out by its parent's alignment when the page is built.
        bool aligned = false;
        QString text;
    };
    struct TextTemplate {
        // The values of an object rebuilt from its dictionary entry alone.
        TextValues values;
        // Whether an object of the entry has the template's values with
        // those of its difference text put over them: false where building
        // it does more (a highlight applied, a class that snaps its
        // bounds).
        bool overlaid = false;
    };
    // What each text holds of the text PageMayShowText was last asked for,
    // as bits (see matchInText: its words, the whole text, its start and
    // its end), kept for the texts met so far.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(QStringView text) const noexcept { return qHash(text, QHashSeed::globalSeed()); }
        std::size_t operator()(QByteArrayView text) const noexcept { return qHash(text, QHashSeed::globalSeed()); }
    };
    struct BytesEqual {
        using is_transparent = void;
        bool operator()(QByteArrayView a, QByteArrayView b) const noexcept { return a == b; }
    };
    struct SearchMatches {
        // The text sought.
        QString text;
        bool caseSensitive = false;
        // What the page-count macros of the texts were put in with.
        int totalPages = 0;
        int copyNo = 0;
        QStringList words;
        // The bits of all the words.
        quint64 allWords = 0;
        // Where the text has a blank.
        QList<qsizetype> blanks;
        // By text attribute as an element in memory and as the swap file
        // hold it (escaped), and by dictionary entry for an object without
        // one; the first two are emptied when they pass kSearchMatchBytes.
        std::unordered_map<QString, quint64, TextHash, TNameEqual> byValue;
        std::unordered_map<QByteArray, quint64, TextHash, BytesEqual> byStoredValue;
        qint64 valueBytes = 0;
        std::unordered_map<const TqvxComponent *, quint64> byEntry;
        // Room for a stored element's name, looked up in the dictionary.
        QString name;
    };
    static constexpr qint64 kSearchMatchBytes = 4 << 20;
    void searchText(const QString &text, bool caseSensitive);
    bool pageMayShow(quint64 found) const;
    quint64 matchOfObject(QStringView name, QStringView attributes);
    quint64 matchOfStoredObject(QByteArrayView name, QByteArrayView attributes);
    template <class Values, class View, class Decode>
    quint64 matchOfValue(Values &values, View rawValue, Decode &&decode);
    quint64 matchOfEntry(const TqvxComponent *source);
    // text as a memo shows it on a page (qvxPreparedTexts.cpp).
    QString shownText(QString text, bool allowExpressions);
    // What text holds with and without its page-count macros put in:
    // whether the object puts them in is not looked up.
    quint64 matchInShown(const QString &text);
    // With and without the text's tags: whether the object reads them is
    // not looked up.
    quint64 matchIn(const QString &text) const;
    quint64 matchInText(const QString &text) const;

    TqvxPageTexts builtPageTexts(TqvxComponent *page);
    bool readStoredTexts(int index, TqvxPageTexts &texts);
    PagePlace pagePlace(TqvxComponent *source, const TqvxXMLItem *item);
    PagePlace placeOf(TqvxComponent *page);
    bool readStoredObjects(TqvxXMLItem *item, double parentLeft, double parentTop, const PagePlace &place,
                           TqvxPageTexts &texts);
    TextValues storedObjectValues(TqvxXMLItem *item);
    const TextTemplate &textTemplate(const TqvxComponent *source);
    static TextValues valuesOf(TqvxComponent *object);
    static bool overlayDiff(const QString &diff, TextValues &values);

    TqvxXMLItem *curPageItem();
    TqvxXMLItem *logicalItem();
    // The logical page numbers to and from their element, which holds them
    // only while a file is written or read; the element written, nullptr
    // when the document has none.
    TqvxXMLItem *writeLogicalPages();
    void readLogicalPages();
    bool finalPassOfTwo() const;
    void WriteObject(TqvxComponent *object, TqvxXMLItem *parent, bool whole);
    // Whether objects added to the page item are written whole.  The engine
    // adds every object of a page to the same item: the answer for the last
    // page name asked is kept.
    bool writesWholePage(const TqvxXMLItem *page);
    // A page with its objects as one element, and read back.
    static void writeWholePage(TqvxComponent *page, TqvxXMLItem *item);
    static void readWholePage(TqvxComponent *page, TqvxXMLItem *item, TqvxXMLSerializer &serializer);
    void registerCopy(TqvxComponent *templ, TqvxComponent *copy, const QString &base);
    // What objects are built from: the object's full attribute text, a
    // memo's text left out (parsedSource shares the object's own instead).
    static QString baselineText(TqvxComponent *object, TqvxXMLSerializer &serializer);
    // Rebuilds page index; with rebuilt, its objects made from dictionary
    // entries may be refilled ones kept from pages exported before, and
    // every object rebuilt is listed there.
    std::shared_ptr<TqvxComponent> buildPage(int index, std::vector<RebuiltObject> *rebuilt = nullptr);
    void BuildObjects(TqvxXMLItem *item, TqvxComponent *parent, TqvxXMLSerializer &serializer,
                      std::vector<RebuiltObject> *rebuilt = nullptr);
    // A kept object of source, set back to the entry's own values and
    // filled with diff, which sets nothing else (and the text when
    // setsText); nullptr when none is kept.
    TqvxComponent *refilled(const TqvxComponent *source, const QString &diff, bool setsText,
                            TqvxXMLSerializer &serializer);
    // Takes an exported page apart: its rebuilt objects that may be refilled
    // are kept for later pages, the rest is freed.
    void recycle(std::shared_ptr<TqvxComponent> page, const std::vector<RebuiltObject> &rebuilt);
    // Frees the kept objects.
    void clearSpares();
    // A source page's own attributes as Assign writes them (every value, no
    // children), written and parsed once for the pages rebuilt from it
    // (source pages do not change once copied).
    const TqvxParsedComponent &parsedSourcePage(TqvxComponent *source);
    // The full text of a dictionary entry, split once.
    const TqvxParsedComponent &parsedSource(const TqvxComponent *source);
    TqvxComponent *sourcePageOfItem(const TqvxXMLItem *item) const;
    void swapOutPages();
    // Whether pages go to the swap file: with useFileCache, or once the
    // pages passed maxPreparedMemory.
    bool swapsPages(const TqvxPreparedOptions &options) const { return options.useFileCache || m_swapping; }
    void loadDocument(TStream *stream, bool allowPartialLoading);
    void readSourcePages(TqvxXMLSerializer &serializer);
    void readDictionary();
    void checkPageItems();
    void copyOutlineLevel(TqvxCustomOutline *from, int pageOffset);
    void exportPage(TqvxCustomExportFilter *filter, int index, const QSet<int> &pages, TBitmap *scratch);
    void exportObject(TqvxCustomExportFilter *filter, TqvxComponent *object, TBitmap *scratch);

    // The stream a partially loaded report is read from later, owned; it
    // outlives the document that reads from it.
    std::unique_ptr<TStream> m_loadStream;
    TqvxXMLDocument m_doc;
    TqvxDictionary m_dictionary;
    TqvxAnchors m_anchors;
    std::unique_ptr<TqvxPictureCache> m_pictureCache;
    std::vector<std::unique_ptr<TqvxComponent>> m_sourcePages;
    QList<CacheEntry> m_pageCache;
    // Each page's logical number and the logical page count of its run
    // (-1 until the run ends).
    struct LogicalPage {
        int number;
        int total;
    };
    std::vector<LogicalPage> m_logicalPages;
    std::unordered_map<const TqvxComponent *, TqvxParsedComponent> m_parsedSources;
    std::unordered_map<const TqvxComponent *, TqvxParsedComponent> m_parsedSourcePages;
    std::unordered_map<const TqvxComponent *, TextTemplate> m_textTemplates;
    std::unordered_map<const TqvxComponent *, PagePlace> m_pagePlaces;
    SearchMatches m_searchMatches;
    // While an export walks the pages without a preview: objects of pages
    // already exported, kept by dictionary entry for refilling, and one
    // object per entry as rebuilt from the entry alone, whose values a
    // refill sets back.
    std::unordered_map<const TqvxComponent *, std::vector<std::unique_ptr<TqvxComponent>>> m_spares;
    std::unordered_map<const TqvxComponent *, std::unique_ptr<TqvxComponent>> m_pristine;
    qsizetype m_spareCount = 0;
    qint64 m_allocatedSize = 0;
    bool m_swapping = false;
    QString m_lastPageName;
    bool m_lastPageWhole = false;
    double m_lastY = 0;
    int m_logicalPageN = 0;
    int m_firstObjectIndex = 0;
    int m_firstPageIndex = 0;
    int m_firstOutlineIndex = 0;
    bool m_allowPartialLoading = false;
};
