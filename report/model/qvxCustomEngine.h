#pragma once

// The engine as the report model knows it: the object that turns a report
// template into prepared pages.  The report makes one engine with itself as
// Report (through the installed services, report/qvxServices.h), links it
// to its prepared pages, and reaches it only through this class; scripts
// see the published fields under the name "Engine".
//
// Positions are pixels at 96 per inch, relative to the printable area of
// the current page.

#include "toolkit/classes/Events.h"
#include "toolkit/classes/TPersistent.h"
#include "toolkit/core/DateUtils.h"
#include "toolkit/core/Variants.h"

#include <QString>

#include <memory>

class TList;
class TqvxBand;
class TqvxCustomPreviewPages;
class TqvxDialogPage;
class TqvxReportLink;
class TqvxReportPage;

// Shows a dialog page in place of its own modal showing.
TOOLKIT_EVENT(TqvxRunDialogEvent, void(TqvxDialogPage *page))

class TqvxCustomEngine : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(int CurColumn READ CurColumn WRITE SetCurColumn)
    Q_PROPERTY(int CurVColumn READ CurVColumn WRITE SetCurVColumn)
    Q_PROPERTY(double CurX READ CurX WRITE SetCurX)
    Q_PROPERTY(double CurY READ CurY WRITE SetCurY)
    Q_PROPERTY(bool FinalPass READ FinalPass WRITE SetFinalPass)
    Q_PROPERTY(double PageHeight READ GetPageHeight WRITE SetPageHeight)
    Q_PROPERTY(double PageWidth READ PageWidth WRITE SetPageWidth)
    Q_PROPERTY(double StartDate READ StartDate WRITE SetStartDate)
    Q_PROPERTY(double StartTime READ StartTime WRITE SetStartTime)
    Q_PROPERTY(int TotalPages READ TotalPages WRITE SetTotalPages)
    Q_PROPERTY(bool SecondScriptCall READ SecondScriptCall WRITE SetSecondScriptCall)
    Q_PROPERTY(bool DoublePass READ DoublePass)

public:
    // report is not owned; the report frees its engine.
    explicit TqvxCustomEngine(TqvxReportLink *report);
    ~TqvxCustomEngine() override;

    // The virtual operations, in the order the engine overrides them.

    // The printable height of the current page; the base answers the field.
    virtual double GetPageHeight() const { return m_pageHeight; }
    // Ends the current output page.
    virtual void EndPage() = 0;
    // Gives up every band kept together so far; nothing in the base.
    virtual void BreakAllKeep() {}
    // Moves output to the next column, or to a new page after the last.
    virtual void NewColumn() = 0;
    // Ends the current output page and starts a new one.
    virtual void NewPage() = 0;
    // Outputs the band at the current position.
    virtual void ShowBand(TqvxBand *band) = 0;
    // Outputs the first band of that class on the current report page.
    virtual void ShowBand(TClass bandClass) = 0;
    // Heights of the page and column headers and footers of the current
    // page.
    virtual double HeaderHeight() = 0;
    virtual double FooterHeight() = 0;
    // The space left on the current page above the footers.
    virtual double FreeSpace() = 0;
    // The value of the aggregate SUM, AVG, MIN, MAX or COUNT of expression
    // over band (nullptr: the current band), as collected so far.
    virtual Variant GetAggregateValue(const QString &name, const QString &expression, TqvxBand *band,
                                      int flags) = 0;
    // Builds the report (only page when given) into the prepared pages,
    // running the dialog pages first when runDialogs is set.  False when
    // the run did not complete (a dialog was cancelled, the layout check
    // failed); errors inside raise.
    virtual bool Run(bool runDialogs, bool clearLast, TqvxReportPage *page) = 0;

    // The current page column and vertical column, counted from 1.
    int CurColumn() const { return m_curColumn; }
    void SetCurColumn(int value) { m_curColumn = value; }
    int CurVColumn() const { return m_curVColumn; }
    void SetCurVColumn(int value) { m_curVColumn = value; }
    // The line number of the band being shown ("Line") and the running
    // line number ("Line#").
    int CurLine() const { return m_curLine; }
    void SetCurLine(int value) { m_curLine = value; }
    int CurLineThrough() const { return m_curLineThrough; }
    void SetCurLineThrough(int value) { m_curLineThrough = value; }
    double CurX() const { return m_curX; }
    void SetCurX(double value) { m_curX = value; }
    double CurY() const { return m_curY; }
    void SetCurY(double value) { m_curY = value; }
    // False only during the first pass of a two-pass run.
    bool FinalPass() const { return m_finalPass; }
    void SetFinalPass(bool value) { m_finalPass = value; }
    // Objects told of every printed data band; the report empties it
    // before each script preparation.
    TList *NotifyList() const { return m_notifyList.get(); }
    void SetPageHeight(double value) { m_pageHeight = value; }
    double PageWidth() const { return m_pageWidth; }
    void SetPageWidth(double value) { m_pageWidth = value; }
    // Not owned; set when the report links its prepared pages.
    TqvxCustomPreviewPages *PreviewPages() const { return m_previewPages; }
    void SetPreviewPages(TqvxCustomPreviewPages *value) { m_previewPages = value; }
    TqvxReportLink *Report() const { return m_report; }
    // True while Run builds the report; script events fire only then.
    bool Running() const { return m_running; }
    void SetRunning(bool value) { m_running = value; }
    // The date and the time of day the run started ("Date", "Time").
    TDateTime StartDate() const { return m_startDate; }
    void SetStartDate(TDateTime value) { m_startDate = value; }
    TDateTime StartTime() const { return m_startTime; }
    void SetStartTime(TDateTime value) { m_startTime = value; }
    // The page count found by the first pass of a two-pass run, else 0
    // ("TotalPages#").
    int TotalPages() const { return m_totalPages; }
    void SetTotalPages(int value) { m_totalPages = value; }
    TqvxRunDialogEvent OnRunDialog() const { return m_onRunDialog; }
    void SetOnRunDialog(const TqvxRunDialogEvent &value) { m_onRunDialog = value; }
    bool SecondScriptCall() const { return m_secondScriptCall; }
    void SetSecondScriptCall(bool value) { m_secondScriptCall = value; }
    // Whether the report runs in two passes: its engine options say, which
    // the engine reads from its report.
    virtual bool DoublePass() const = 0;

private:
    int m_curColumn = 0;
    int m_curVColumn = 0;
    int m_curLine = 0;
    int m_curLineThrough = 0;
    double m_curX = 0;
    double m_curY = 0;
    bool m_finalPass = false;
    std::unique_ptr<TList> m_notifyList;
    double m_pageHeight = 0;
    double m_pageWidth = 0;
    TqvxCustomPreviewPages *m_previewPages = nullptr;
    TqvxReportLink *m_report;
    bool m_running = false;
    TDateTime m_startDate = 0;
    TDateTime m_startTime = 0;
    int m_totalPages = 0;
    TqvxRunDialogEvent m_onRunDialog;
    bool m_secondScriptCall = false;
};

// Declares the engine's published fields.
void InitializeQvxCustomEngine();
