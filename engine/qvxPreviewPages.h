#pragma once

// The prepared pages of a report over the report's own classes: report
// pages, bands, memos and picture views.  The store's working is in
// TqvxPreparedStore; this class answers the operations that take those
// classes and tells the store what they are, draws pages and answers the
// mouse over them (qvxPageDrawing.cpp), and prints them
// (qvxPagePrinting.cpp).

#include "engine/qvxPreparedStore.h"
#include "report/components/qvxView.h"

#include <QPointer>

class TqvxCustomPreview;
class TqvxGroupHeader;
class TqvxHyperlink;
class TqvxReport;

class TqvxPreviewPages : public TqvxPreparedStore
{
    Q_OBJECT

public:
    explicit TqvxPreviewPages(TqvxReportLink *report) : TqvxPreparedStore(report) {}

    // The report page of page index, owned by the page cache (see
    // TqvxPreparedStore::SharedPage); nullptr when there is none.
    TqvxReportPage *GetPage(int index) override;
    void AddPage(TqvxReportPage *page) override;
    void AddSourcePage(TqvxReportPage *page) override;
    void AddPicture(TqvxPictureView *picture) override;
    bool BandExists(TqvxBand *band) override;
    void ModifyPage(int index, TqvxReportPage *page) override;

    // Draws page index at page pixels x scale + offset: the page's
    // background, then every view visible on the canvas and meant for it
    // (vsPrint on a printer canvas, else vsPreview).  On a screen canvas
    // nothing is drawn outside the paper.  Text objects learn the page
    // count, CopyNo and PrintScale first.
    void DrawPage(int index, TCanvas *canvas, double scaleX, double scaleY, double offsetX,
                  double offsetY) override;
    // The preview's mouse over page index at canvas pixel (x, y): the
    // topmost view there gets the enter, leave, click and mouse-up events,
    // sets the cursor and status texts, and a click follows its hyperlink or
    // toggles the drill-down group it lies in.
    void ObjectOver(int index, int x, int y, TMouseButton button, TShiftState shift, double scale,
                    double offsetX, double offsetY, TCursor &cursor, TqvxMouseAction action) override;
    // Appends the prepared pages of another report's store.
    void AddFrom(TqvxReportLink *report) override;
    // Prints on the current printer, after the print dialog when the print
    // options ask for it; see qvxPagePrinting.cpp.
    bool Print() override;

    // Moves the report's preview to the anchor of that name, when there is
    // one.
    void JumpToAnchor(const QString &text);

    // The scale of a page printed to fit its sheet (1 otherwise); text
    // objects drawn by DrawPage get it.
    double PrintScale() const { return m_printScale; }
    void SetPrintScale(double value) { m_printScale = value; }
    // The view the mouse was last over, until its page is freed.
    TqvxView *MouseOverObject() const { return m_mouseOverObject; }

    // Report settings the store follows (see TqvxPreparedOptions): those
    // of the report's engine and preview options, or, for a store of
    // something else than a report, the ones set here.
    void SetOptions(const TqvxPreparedOptions &options) { m_options = options; }

protected:
    TqvxReportPage *ReportPageOf(TqvxComponent *page) override;
    TqvxPreparedOptions Options() const override;
    TqvxPageMargins PageMargins(const TqvxComponent *page) const override;
    TqvxStoreBand BandOf(const TqvxComponent *object) const override;
    std::unique_ptr<TqvxComponent> NewPageBackground(TqvxComponent *page, double left, double top, double width,
                                                     double height) override;
    void AssignCopy(TqvxComponent *copy, TqvxComponent *templ) override;
    void ObjectRebuilt(TqvxComponent *object) override;
    bool Refillable(const TqvxComponent *object) const override;
    // "DotMatrixReport", "PreviewOptions.OutlineVisible",
    // "PreviewOptions.OutlineWidth" and "ReportOptions.Name" of the report.
    void SaveReportSettings(TqvxXMLItem *item) override;
    void LoadReportSettings(TqvxXMLItem *item) override;

private:
    struct HitState;

    TqvxReport *report() const;
    bool ObjectVisible(TCanvas *canvas, TqvxComponent *object, double scaleX, double scaleY, double offsetX,
                       double offsetY) const;
    void handleView(TqvxView *view, HitState &state);
    void followHyperlink(TqvxView *view);
    // The preview to add a tab of that caption to; nullptr when there is
    // none or it has such a tab already (which it then shows).
    TqvxCustomPreview *previewForNewTab(const QString &caption);
    void openDetailReport(TqvxHyperlink *link);
    void openDetailPage(TqvxHyperlink *link);
    void toggleDrillDown(TqvxGroupHeader *header);

    TqvxPreparedOptions m_options;
    double m_printScale = 1;
    QPointer<TqvxView> m_mouseOverObject;
    // The stores that detail-page links built.
    std::vector<std::unique_ptr<TqvxCustomPreviewPages>> m_detailStores;
};

// Installs the report model's maker of prepared pages (a TqvxPreviewPages
// per report).
void InitializeQvxPreviewPages();
void FinalizeQvxPreviewPages();
