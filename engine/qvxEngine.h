#pragma once

// The report engine: runs a report over its data sets and lays its bands out
// onto prepared pages.
//
// Run checks the band layout of every report page, then makes one or two
// passes over the report pages (once per record of the report's master data
// set); each run of a page walks its data bands, their headers, footers,
// groups and details, and hands every band to ShowBand.  ShowBand places the
// band at the cursor (CurX, CurY), breaks to a new column or page when the
// band does not fit above the footers, prints the headers again at the top
// of each new page and column and the footers at the bottom of each page,
// and writes the band into the prepared pages.
//
// Objects that need more room grow and push the objects below them down;
// a band that does not fit may be split over pages; runs of bands marked to
// stay together move to the next page as one; subreports run other report
// pages beside or inside their band.
//
// Positions are pixels at 96 per inch from the top-left corner of the
// printable area of the current page.

#include "engine/qvxHeaderList.h"
#include "report/model/qvxCustomEngine.h"
#include "report/pages/qvxPage.h"

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QString>

#include <memory>

class TqvxAggregateList;
class TqvxComponent;
class TqvxCustomOutline;
class TqvxDataBand;
class TqvxDataSet;
class TqvxReport;
class TqvxReportComponent;
class TqvxStretcheable;
class TqvxXMLItem;

// The most a page of endless height grows, in millimetres (100 m): far past
// any paper, and short of the memory one page item may take.
inline constexpr double MaxEndlessHeight = 100000;

class TqvxEngine : public TqvxCustomEngine
{
    Q_OBJECT

public:
    // report is the report that owns the engine.
    explicit TqvxEngine(TqvxReportLink *report);
    ~TqvxEngine() override;

    // For a page of endless height, the height its content has reached
    // (CurY plus the footers); else the printable height.
    double GetPageHeight() const override;
    // Closes the current prepared page: column footer, report summary on
    // the last page of a run, page footer, overlay on top.
    void EndPage() override;
    // Ends any run of bands kept together.
    void BreakAllKeep() override;
    // The next page column, or a new page after the last column.
    void NewColumn() override;
    // Closes the page and starts the next one, carrying kept bands over.
    void NewPage() override;
    // Outputs the band with its chain of child bands; nullptr does nothing.
    void ShowBand(TqvxBand *band) override;
    // ShowBand of the first band of that class on the current report page.
    void ShowBand(TClass bandClass) override;
    double HeaderHeight() override;
    double FooterHeight() override;
    // The height left above the footers; 1e6 on a page of endless height.
    double FreeSpace() override;
    Variant GetAggregateValue(const QString &name, const QString &expression, TqvxBand *band,
                              int flags) override;
    // Builds the report (only page when given).  False when the layout
    // check failed, a dialog was cancelled or the run was stopped.
    bool Run(bool runDialogs, bool clearLast, TqvxReportPage *page) override;
    bool DoublePass() const override;

    // The bands printed again at the top of each new page and column.
    const TqvxHeaderList &HeaderList() const { return m_headerList; }

private:
    class AggregateReport;
    struct DrillStep {
        QString Name;
        int Line;
    };
    // Where the current row of band columns began: the object position on
    // the page, the cursor, and the last outline item and anchor before it.
    struct RowStart {
        int position = 0;
        double y = 0;
        TqvxXMLItem *outline = nullptr;
        int anchor = -1;
    };
    // Where the run that a kept footer takes along begins: the object
    // position on the page and the cursor.
    struct FooterKeepStart {
        int position = 0;
        double y = 0;
    };

    bool terminated() const;
    // Whether height does not fit into space.  Heights are sums of
    // millimetres turned into pixels, so a band made to fit exactly may
    // come out larger by a rounding error; that much still fits.
    static bool exceeds(double height, double space) { return height - space > 1e-4; }
    TqvxCustomOutline *outline() const;
    // Appends a prepared page for the current report page; past the
    // report's page limit the run stops with an error.
    void addPreparedPage();
    // Writes a band onto the current prepared page; past the report's
    // limit of bands on one page the run stops with an error.
    void addBand(TqvxComponent *band);
    // A page of endless height stops growing at MaxEndlessHeight: past it,
    // or where a band of that height would take it past it, the run stops
    // with an error.
    void checkEndlessHeight(double bandHeight = 0) const;
    static TqvxDataSet *dataSetOf(TqvxComponent *object);
    // The first band of that class on the current report page.
    template <class T>
    T *findBand() const
    {
        return m_curReportPage ? m_curReportPage->FindBand<T>() : nullptr;
    }
    double footerHeight() const;
    // The first overlay printed over (under) the page's content.
    TqvxBand *findOverlay(bool onTop) const;
    // Lets pending window messages run (the progress window's cancel
    // button among them): at the first step of a run, then whenever
    // messageInterval has passed since they last ran.
    void pumpMessages();

    // --- Run and passes -----------------------------------------------------
    bool Prepare();
    void checkDataSets();
    void checkSubreportCycles();
    bool RunDialogs();
    void registerPage(TqvxReportPage *page);
    void RunReportPages(TqvxReportPage *page);
    void RunPages(TqvxReportPage *page);
    void RunPage(TqvxReportPage *page);
    void RunPageOnce();
    void ShowPageObjects();
    void InitPage();
    void finish();
    // Gives the current prepared page a paper of width x height pixels.
    void setPreparedPageSize(double width, double height);
    double marginsWidth() const;
    double marginsHeight() const;

    // --- Band output and page flow ------------------------------------------
    void OutputBand(TqvxBand *band);
    // Remembers that the band's own output starts at the cursor on the
    // current page (its outline item points there).
    void notePlaced(TqvxBand *band);
    void PrepareBand(TqvxBand *band);
    void FinishBand(TqvxBand *band);
    // How many of the first `count` objects of the band are its own: on the
    // host of vertical bands, those before the copies the vertical bands
    // put on it; else all.
    qsizetype ownObjectCount(const TqvxBand *band, qsizetype count) const;
    // The object's output begins: the object's own step, then the report's
    // handler and script, with the object as the report's current object.
    void beforePrint(TqvxReportComponent *object);
    // The object's output has ended: the report's handler and script, then
    // the object's own step.
    void afterPrint(TqvxReportComponent *object);
    void StartNewPreparedPage();
    void showHeaderListItem(int index);
    void ShowFixedBand(TqvxBand *band);
    void ShowColumnFooter();
    void NextPageColumn();
    // The left of page column `column` (from 1) in pixels.
    double columnPosition(int column) const;
    void ShowReprintedChain(TqvxBand *band);
    void ShowReprintedBand(TqvxBand *band);
    void RecalcForNewPage(TqvxBand *band);
    void AddToHeaderList(TqvxBand *band);
    void RemoveFromHeaderList(TqvxBand *band);
    void AddToVHeaderList(TqvxBand *band);
    void RemoveFromVHeaderList(TqvxBand *band);
    void OutlineAddBand(TqvxBand *band);
    void OutlineLevelUp(TqvxBand *band);
    void OutlineAddPage();
    void ShowVerticalBand(TqvxBand *band);
    void copyVerticalObjects(TqvxBand *band);
    void OutputVBandsHost(TqvxBand *host);

    // --- Data loops, groups and columns -------------------------------------
    // The data bands of owner (a report page: its top-level data bands; a
    // data band: its details) with their headers, footers, groups and
    // details, once per record.
    void RunDataBands(TqvxComponent *owner);
    // Whether a data band of owner has a record to print (always with
    // flag); a data band without details has.
    bool HasData(TqvxComponent *owner, bool flag);
    // Starts the walk of a data band: first record, counters, first column;
    // nullptr for a band without a data set.
    TqvxDataSet *beginBandLoop(TqvxBand *band);
    void runDataBand(TqvxBand *band, FooterKeepStart &footerStart, RowStart &row);
    void showDataRecord(TqvxDataBand *band, bool isFirst, FooterKeepStart &footerStart, RowStart &row);
    void closeDataBand(TqvxDataBand *band, const FooterKeepStart &footerStart);
    void InitGroups(TqvxBand *band, TqvxBand *first, bool isFirst, int from);
    void CheckGroupChange(TqvxBand *band, TqvxBand *first, const RowStart &row);
    void ShowGroupFooters(TqvxBand *first, int from, TqvxBand *band);
    void UpdateDrillDown(TqvxBand *band, TqvxBand *first);
    void NextBandColumn(TqvxDataBand *band, const RowStart &row);
    void closeBandColumns(TqvxDataBand *band, const RowStart &row);
    // The run kept together began where the row did or later.
    bool keepBeganInRow(const RowStart &row) const;
    // The row of band columns is placed: its values join the page totals.
    void endRowTotals(TqvxBand *band);
    static void setBandColumn(TqvxDataBand *band, int column);
    static void ResetSuppressValues(TqvxBand *band);
    void ShowVBands(TqvxBand *host);
    void RunVBands(const QList<TqvxBand *> &bands);

    // --- Stretching, splitting, keeping and subreports ----------------------
    // Starts keeping the bands output from now on together (position: the
    // object position on the page where the run starts, 0 for the current
    // one); only the band that started it ends it.
    void StartKeep(TqvxBand *band, int position);
    // Starts the keep of a data band's footer at the run it takes along.
    void startFooterKeep(TqvxBand *band, const FooterKeepStart &start);
    void EndKeep(TqvxBand *band);
    // The kept run's values join the page totals, unless the row of band
    // columns the run began in holds them until the row is placed.
    void endKeptTotals();
    // Grows a stretchable object to its content; true when it grew.
    bool stretchObject(TqvxComponent *object);
    void ShiftObjects(TqvxComponent *parent, double distance);
    // The bottom of an object of the band being prepared, beyond the
    // coordinate limit too.
    double bottomBeyondLimit(const TqvxComponent *object) const;
    // The lowest object bottom of the band (with the dot-matrix allowance),
    // beyond the coordinate limit too.
    double contentBottom(TqvxBand *band) const;
    void stretchToBottom(TqvxBand *band, double bottom);
    void ShowInlineSubreports(TqvxBand *band);
    void ShowSubreports(TqvxBand *band);
    // Outputs a band that does not fit part by part over columns and pages.
    struct SplitState;
    void SplitBand(TqvxBand *band);
    void layoutSplitPart(SplitState &split);
    // The height of the last part of a stretching object, remaining being
    // what is left of its stretched height and room the part's.
    double lastPartHeight(SplitState &split, TqvxStretcheable *view, double remaining, double room);
    void FitSplitPart(SplitState &split, TqvxBand *band);
    void OutputSplitPart(SplitState &split, TqvxBand *band);
    void keepCutAtPage();
    void keepPasteAtPage();
    void keepCutAtColumn();
    void keepPasteAtColumn();
    // The outline items and anchors made since the objects from `startY`
    // were cut go where they were pasted, at the cursor.
    void shiftMarks(double startY, TqvxXMLItem *outlinePosition, int anchorPosition);
    // The bands placed inside the kept run go where it went.
    void shiftKeptBands();

    TqvxReport *m_report;
    QElapsedTimer m_sinceMessages;
    std::unique_ptr<AggregateReport> m_aggregateReport;
    std::unique_ptr<TqvxAggregateList> m_aggregates;
    // The band being output; aggregate look-ups go by it.
    TqvxBand *m_curBand = nullptr;
    TqvxHeaderList m_headerList;
    // Set when a pass starts, until the first report page has been visited.
    bool m_firstReportPage = false;
    // Where a new page column starts: below the title and page header.
    double m_pageBodyTop = 0;
    // No row of this page run has printed yet, and the title broke the page
    // before the first one.
    bool m_firstRowPending = false;
    bool m_firstRowBroken = false;
    // The page ending is the last of its page run; a band's footer prints.
    bool m_closingLastPage = false;
    bool m_showingFooter = false;
    // The prepared page is the first of this page run.
    bool m_firstPageOfRun = false;
    // The height of a page footer already printed on the last page, which a
    // page printed on the previous one keeps free.
    double m_footerReserve = 0;
    // The band output when a page or column break was asked for, and the
    // band whose StartNewPage asked: neither is reprinted as a header.
    TqvxBand *m_breakingBand = nullptr;
    TqvxBand *m_startNewPageBand = nullptr;
    // While inline subreports run: the band receiving copies of their bands.
    TqvxBand *m_inlineTarget = nullptr;
    // Bands of the header list are being printed at a page start; the one
    // printing is a page header, or the report title.
    bool m_reprintingHeaders = false;
    bool m_showingPageHeader = false;
    bool m_reprintingTitle = false;
    // The bands of a subreport of a reprinted header are output: they
    // print in place, without fit test or page break.
    bool m_subreportInPlace = false;
    bool m_showingSummary = false;
    // The vertical-band output is moving between its pages: no data or
    // group header is printed again and no column footer closes a column.
    bool m_verticalBreak = false;
    // The enclosing data rows of the details being built, outermost first.
    QList<DrillStep> m_drillPath;
    // The tops of objects as they were placed, beyond the coordinate limit
    // too: below an object taller than the limit the tops stop at it.
    class TopsBeyondLimit
    {
    public:
        double Top(const TqvxComponent *object) const { return object->Top() + m_cut.value(object); }
        // Sets the top of object as far as its coordinate goes and keeps
        // what the limit cut off.
        void SetTop(TqvxComponent *object, double top);
        void Forget(const TqvxComponent *object) { m_cut.remove(object); }
        bool IsEmpty() const { return m_cut.isEmpty(); }

    private:
        QHash<const TqvxComponent *, double> m_cut;
    };
    // How far the objects of the band being prepared lie beyond what their
    // coordinates hold: their tops, and the heights of objects taller than
    // the coordinate limit, which stop at it.
    TopsBeyondLimit m_topsBeyondLimit;
    QHash<const TqvxComponent *, double> m_heightsBeyondLimit;
    // The run of kept bands: whether it is on, the band that started it,
    // where it started (cursor, object, outline item and anchor positions).
    bool m_keeping = false;
    TqvxBand *m_keepBand = nullptr;
    bool m_keepWithHeader = false;
    double m_keepStartY = 0;
    int m_keepPosition = 0;
    TqvxXMLItem *m_keepOutlinePosition = nullptr;
    int m_keepAnchorPosition = -1;
    // The bands placed since the kept run started.
    QList<TqvxBand *> m_keptBands;
    // The band whose current row of columns keeps its values apart from
    // the page totals until the row is placed.
    TqvxBand *m_rowTotalsBand = nullptr;
    // The header a kept run took out of the header list at a page break.
    TqvxBand *m_keptHeader = nullptr;
    TqvxReportPage *m_curReportPage = nullptr;
    // The origin of the page columns (subreports move it).
    double m_columnLeft = 0;
    // Vertical bands: the headers repeated on each vertical page, the
    // horizontal band receiving their objects, and the object counts of
    // that band at which the vertical pages begin.
    QList<TqvxBand *> m_vHeaderList;
    TqvxBand *m_vBandsHost = nullptr;
    QList<int> m_vColumnBreaks;
};

// Registers the engine and outline classes (scripts know them by name) and
// installs the engine as the report services' engine.
void InitializeQvxEngine();
void FinalizeQvxEngine();
