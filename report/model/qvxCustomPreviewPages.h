#pragma once

// The prepared pages as the report model knows them: the store that the
// engine fills while a report runs and that the preview, printing and
// export read.  The report makes one store with itself as Report (through
// the installed services, report/qvxServices.h), links it to its engine and
// reaches it only through this class.
//
// Pages are counted from 0; positions are pixels at 96 per inch.

#include "report/model/qvxServiceTypes.h"
#include "toolkit/classes/TObject.h"
#include "toolkit/graphics/Rects.h"
#include "toolkit/widgets/ControlTypes.h"
#include "toolkit/widgets/Cursors.h"

#include <QList>
#include <QString>
#include <QStringView>

#include <memory>

class TCanvas;
class TStream;
class TqvxBand;
class TqvxComponent;
class TqvxCustomEngine;
class TqvxCustomExportFilter;
class TqvxCustomOutline;
class TqvxPictureView;
class TqvxReportLink;
class TqvxReportPage;

// A text object of a prepared page as the preview's search reads it: its
// text as the page shows it (the page-count macros put in, as drawing the
// page puts them), whether that text holds HTML-like tags, and
// its rectangle on the page in pixels, the margins included.
struct TqvxPageText {
    QString Text;
    bool HTMLTags = false;
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};
using TqvxPageTexts = QList<TqvxPageText>;

// A text object's text without its HTML-like tags, as the search reads the
// text of an object that allows them.
QString qvxTextWithoutTags(const QString &text);
// The blanks and line breaks the search compares as one blank.
bool qvxIsSearchBlank(QChar c);
// Appends text to out with its blanks and line breaks as single blanks;
// afterBlank drops its leading ones.
void qvxAppendSearchedText(QString &out, QStringView text, bool afterBlank);
// Blanks and line breaks of text as single blanks.
QString qvxSearchedText(QStringView text);

class TqvxCustomPreviewPages : public TObject
{
    Q_OBJECT

public:
    // report is not owned; the report frees its store.
    explicit TqvxCustomPreviewPages(TqvxReportLink *report);
    // Frees the outline.
    ~TqvxCustomPreviewPages() override;

    // The virtual operations, in the order the store overrides them.

    virtual int Count() = 0;
    // The page object of page index, or nullptr when there are no pages.
    virtual TqvxReportPage *GetPage(int index) = 0;
    // The text objects of page index that the preview shows (visible, and
    // visible in the preview), in the page's object order; none when there
    // is no such page.
    virtual TqvxPageTexts PageTexts(int index) = 0;
    // Whether page index may show text (as qvxSearchedText makes it) on a
    // line of the texts PageTexts gives: false only where none of its text
    // objects' texts (shown or not, with or without their tags, with or
    // without their page-count macros put in) holds it
    // and it cannot run on from one to another (no text ends with a part
    // of it before a blank, or none starts with the rest, or a word of it
    // is in none).  Far cheaper than PageTexts: the stored page is looked
    // through without building or placing its objects.
    virtual bool PageMayShowText(int index, const QString &text, bool caseSensitive) = 0;
    // The rounded width and height of page index; (0, 0) when there is
    // none.
    virtual TPoint GetPageSize(int index) = 0;
    // Drops every prepared page.
    virtual void Clear() = 0;
    // Called by the engine when a run starts (Finish when it ends).
    virtual void Initialize() = 0;
    // Adds a printed object to the current page.
    virtual void AddObject(TqvxComponent *object) = 0;
    // Adds a page built from page (see AddPageAction).
    virtual void AddPage(TqvxReportPage *page) = 0;
    // Keeps a copy of a report page, and of one object that was not on it,
    // for the pages built from it.
    virtual void AddSourcePage(TqvxReportPage *page) = 0;
    virtual void AddToSourcePage(TqvxComponent *object) = 0;
    // Marks the start of a pass; ClearFirstPassPages drops what the first
    // pass of a two-pass run added.
    virtual void BeginPass() = 0;
    virtual void ClearFirstPassPages() = 0;
    // Lifts the objects of the current page from position (an object count,
    // see GetCurPosition) on; PasteObjects puts them on the current page
    // again, moved to (x, y).
    virtual void CutObjects(int position) = 0;
    virtual void Finish() = 0;
    virtual void IncLogicalPageNumber() = 0;
    virtual void ResetLogicalPageNumber() = 0;
    virtual void PasteObjects(double x, double y) = 0;
    // Moves the anchors added after position `from` to newTop on the
    // current page.
    virtual void ShiftAnchors(int from, int newTop) = 0;
    // Puts the view's picture into the picture cache and its number into
    // the view's ImageIndex.
    virtual void AddPicture(TqvxPictureView *picture) = 0;
    // True when the band was printed on the current page.
    virtual bool BandExists(TqvxBand *band) = 0;
    // The number of objects on the current page, and of anchors minus one.
    virtual int GetCurPosition() = 0;
    virtual int GetAnchorCurPosition() = 0;
    // The bottom of the lowest object of the current page that covers x.
    virtual double GetLastY(double x) = 0;
    // The page number and page count within the current logical group
    // ("Page", "TotalPages").
    virtual int GetLogicalPageNo() = 0;
    virtual int GetLogicalTotalPages() = 0;
    virtual void AddEmptyPage(int index) = 0;
    virtual void DeletePage(int index) = 0;
    // Stores an edited page object as page index.
    virtual void ModifyPage(int index, TqvxReportPage *page) = 0;
    // Draws page index onto canvas: page pixels times the scales, moved by
    // the offsets (canvas pixels of the paper's top-left corner).
    virtual void DrawPage(int index, TCanvas *canvas, double scaleX, double scaleY, double offsetX,
                          double offsetY) = 0;
    // Answers the mouse over page index: fires the view's events, follows
    // its hyperlink and sets cursor, which the caller presets.
    virtual void ObjectOver(int index, int x, int y, TMouseButton button, TShiftState shift, double scale,
                            double offsetX, double offsetY, TCursor &cursor, TqvxMouseAction action) = 0;
    // Appends the prepared pages of another report.
    virtual void AddFrom(TqvxReportLink *report) = 0;
    virtual void LoadFromStream(TStream *stream, bool allowPartialLoading) = 0;
    virtual void SaveToStream(TStream *stream) = 0;
    // False when the file does not exist and exceptionIfNotFound is off.
    virtual bool LoadFromFile(const QString &fileName, bool exceptionIfNotFound) = 0;
    virtual void SaveToFile(const QString &fileName) = 0;
    // False when no printer is installed or the print dialog is cancelled.
    virtual bool Print() = 0;
    // Hands every page to filter (see TqvxCustomExportFilter).  False when
    // filter is nullptr, the filter's dialog or Start refuses, the report
    // was terminated, or an error ended the export.
    virtual bool Export(TqvxCustomExportFilter *filter) = 0;

    // Anchors, which scripts set and hyperlinks jump to: AddAnchor keeps
    // the text with the current page and the engine's CurY; GetAnchorPage
    // answers the page number (from 1) of the anchor with that text, 1 when
    // there is none.
    virtual void AddAnchor(const QString &text) = 0;
    virtual int GetAnchorPage(const QString &text) = 0;
    // Where the last anchor of that name (case ignored) lies: its page
    // (from 0) and its top in pixels; false when no anchor has it.
    virtual bool FindAnchor(const QString &text, int &page, int &top) = 0;

    // Set to apAdd by the engine when a run starts; every AddPage resets it
    // to apWriteOver.
    TqvxAddPageAction AddPageAction() const { return m_addPageAction; }
    void SetAddPageAction(TqvxAddPageAction value) { m_addPageAction = value; }
    // The current page; -1 after Clear.
    int CurPage() const { return m_curPage; }
    void SetCurPage(int value) { m_curPage = value; }
    // The page number (from 1) the preview shows.
    int CurrentPreviewPage() const { return m_currentPreviewPage; }
    void SetCurrentPreviewPage(int value) { m_currentPreviewPage = value; }
    // The first page of the current report within the store.
    int FirstPage() const { return m_firstPage; }
    void SetFirstPage(int value) { m_firstPage = value; }
    // The copy being printed (from 1); 0 outside printing.
    int CopyNo() const { return m_copyNo; }
    void SetCopyNo(int value) { m_copyNo = value; }
    // Owned; given by the store that makes it.
    TqvxCustomOutline *Outline() const { return m_outline.get(); }
    TqvxReportLink *Report() const { return m_report; }
    // The report's engine, not owned; set when the report links the two.
    TqvxCustomEngine *Engine() const { return m_engine; }
    void SetEngine(TqvxCustomEngine *value) { m_engine = value; }

protected:
    // Takes the outline over (made with this store as its owner).
    void SetOutline(std::unique_ptr<TqvxCustomOutline> outline);

private:
    TqvxAddPageAction m_addPageAction = apWriteOver;
    int m_curPage = -1;
    int m_currentPreviewPage = 0;
    int m_firstPage = 0;
    int m_copyNo = 0;
    std::unique_ptr<TqvxCustomOutline> m_outline;
    TqvxReportLink *m_report;
    TqvxCustomEngine *m_engine = nullptr;
};
