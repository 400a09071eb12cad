#include "engine/qvxEngine.h"

#include "engine/qvxAggregate.h"
#include "engine/qvxBandLayout.h"
#include "engine/qvxOutline.h"
#include "engine/qvxPreparedStore.h"
#include "report/pages/qvxBands.h"
#include "report/model/qvxCustomOutline.h"
#include "report/pages/qvxDialogPage.h"
#include "report/base/qvxObjectTypes.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/data/qvxReportDataSets.h"
#include "report/model/qvxServices.h"
#include "report/pages/qvxSubreport.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/core/DateUtils.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/widgets/TApplication.h"
#include "toolkit/widgets/TForm.h"

#include <QCoreApplication>
#include <QSet>

// What the aggregates ask of the report, answered by the engine's report.
class TqvxEngine::AggregateReport : public TqvxAggregateReport
{
public:
    explicit AggregateReport(TqvxReport *report) : m_report(report) {}

    Variant Calc(const QString &expression) override { return m_report->Calc(expression); }
    TqvxVariables *Variables() const override { return m_report->Variables(); }
    bool IsDataField(const QString &text) const override
    {
        TqvxDataSet *dataSet = nullptr;
        QString field;
        m_report->GetDataSetAndField(text, dataSet, field);
        return dataSet != nullptr;
    }
    TqvxComponent *FindObject(const QString &name) const override { return m_report->FindObject(name); }

private:
    TqvxReport *m_report;
};

TqvxEngine::TqvxEngine(TqvxReportLink *report)
    : TqvxCustomEngine(report),
      m_report(dynamic_cast<TqvxReport *>(report)),
      m_aggregateReport(m_report ? std::make_unique<AggregateReport>(m_report) : nullptr),
      m_aggregates(std::make_unique<TqvxAggregateList>(m_aggregateReport.get()))
{
}

TqvxEngine::~TqvxEngine() = default;

bool TqvxEngine::DoublePass() const
{
    return m_report && m_report->EngineOptions()->DoublePass();
}

bool TqvxEngine::terminated() const
{
    return m_report->Terminated();
}

TqvxCustomOutline *TqvxEngine::outline() const
{
    return PreviewPages()->Outline();
}

TqvxDataSet *TqvxEngine::dataSetOf(TqvxComponent *object)
{
    const QVariant link = object->property("DataSet");
    return qobject_cast<TqvxDataSet *>(link.value<TqvxComponent *>());
}

void TqvxEngine::pumpMessages()
{
    // Often enough for the window to answer at once, seldom enough that a
    // data row does not wait for the event loop.
    constexpr qint64 messageInterval = 20; // milliseconds
    if (m_report->EngineOptions()->ThreadSafeMode() || !Application)
        return;
    if (m_sinceMessages.isValid() && m_sinceMessages.elapsed() < messageInterval)
        return;
    Application->ProcessMessages();
    m_sinceMessages.start();
}

double TqvxEngine::HeaderHeight()
{
    double height = 0;
    for (TqvxBand *band = findBand<TqvxColumnHeader>(); band; band = band->Child())
        height += band->Height();
    for (TqvxBand *band = findBand<TqvxPageHeader>(); band; band = band->Child())
        height += band->Height();
    return height;
}

double TqvxEngine::footerHeight() const
{
    double height = 0;
    if (TqvxBand *band = findBand<TqvxColumnFooter>())
        height += band->Height();
    if (TqvxBand *band = findBand<TqvxPageFooter>())
        height += band->Height();
    return height;
}

double TqvxEngine::FooterHeight()
{
    return footerHeight();
}

Variant TqvxEngine::GetAggregateValue(const QString &name, const QString &expression, TqvxBand *band, int flags)
{
    return m_aggregates->GetValue(m_curBand, CurVColumn(), flags, band, expression, name.toUpper());
}

// --- The run -----------------------------------------------------------------

bool TqvxEngine::Run(bool runDialogsFirst, bool, TqvxReportPage *page)
{
    if (!m_report)
        throw Exception(QStringLiteral("The engine runs only for a report"));
    bool result = false;
    m_sinceMessages.invalidate();
    try {
        if (Prepare()) {
            const auto stopReport = [this] { m_report->DoNotifyEvent(m_report, m_report->OnStopReport(), false); };
            try {
                m_report->DataSets()->Initialize();
                m_report->DoNotifyEvent(m_report, m_report->OnStartReport(), false);
                if (!runDialogsFirst || RunDialogs()) {
                    result = true;
                    if (page) {
                        registerPage(page);
                    } else {
                        for (int i = 0; i < m_report->PagesCount(); ++i)
                            if (auto *reportPage = qobject_cast<TqvxReportPage *>(m_report->GetPages(i)))
                                registerPage(reportPage);
                    }
                    SetFinalPass(!DoublePass());
                    SetTotalPages(0);
                    PreviewPages()->BeginPass();
                    RunReportPages(page);
                    if (DoublePass() && !terminated()) {
                        SetTotalPages(PreviewPages()->Count());
                        PreviewPages()->SetCurPage(PreviewPages()->Count() - 1);
                        PreviewPages()->ClearFirstPassPages();
                        m_aggregates->ClearValues();
                        SetFinalPass(true);
                        RunReportPages(page);
                    }
                }
            } catch (...) {
                try {
                    stopReport();
                } catch (...) {
                }
                throw;
            }
            stopReport();
        }
    } catch (...) {
        finish();
        throw;
    }
    finish();
    // A stopped run keeps the pages it built: it answers as a finished one.
    return result;
}

void TqvxEngine::registerPage(TqvxReportPage *page)
{
    m_curReportPage = page;
    PreviewPages()->AddSourcePage(page);
    m_aggregates->AddItems(page);
}

void TqvxEngine::finish()
{
    m_report->DataSets()->Finalize();
    PreviewPages()->Finish();
    SetRunning(false);
}

bool TqvxEngine::Prepare()
{
    m_footerReserve = 0;
    PreviewPages()->Initialize();
    PreviewPages()->SetAddPageAction(apAdd);
    SetStartDate(Date());
    SetStartTime(Time());
    SetRunning(true);
    m_keeping = false;
    m_keepBand = nullptr;
    m_keptBands.clear();
    m_firstRowBroken = false;
    m_rowTotalsBand = nullptr;
    SetCurVColumn(0);
    m_inlineTarget = nullptr;
    m_aggregates->Clear();

    TStrings *errors = m_report->Errors();
    for (int i = 0; i < m_report->PagesCount(); ++i) {
        if (auto *page = qobject_cast<TqvxReportPage *>(m_report->GetPages(i))) {
            m_curReportPage = page;
            CheckBands(page, errors, false);
            CheckBands(page, errors, true);
        }
    }
    checkDataSets();
    checkSubreportCycles();
    return errors->Count() == 0;
}

void TqvxEngine::checkDataSets()
{
    TStrings *errors = m_report->Errors();
    TqvxDataSet *master = m_report->DataSet();
    for (int i = 0; i < m_report->PagesCount(); ++i) {
        auto *page = qobject_cast<TqvxReportPage *>(m_report->GetPages(i));
        if (!page)
            continue;
        m_curReportPage = page;
        TqvxDataSet *pageDataSet = dataSetOf(page);
        if (master && master == pageDataSet) {
            errors->Add(QStringLiteral("Cannot use the same dataset for Report.DataSet and Page.DataSet"));
            return;
        }
        for (TqvxBand *band : page->HDataBands()) {
            TqvxDataSet *dataSet = dataSetOf(band);
            if (!dataSet)
                continue;
            if (dataSet == master) {
                errors->Add(QStringLiteral("Cannot use the same dataset for Report.DataSet and Band.DataSet"));
                break;
            }
            if (dataSet == pageDataSet) {
                errors->Add(QStringLiteral("Cannot use the same dataset for Page.DataSet and Band.DataSet"));
                break;
            }
        }
    }
}

// A subreport whose page leads back to a page that is being run would run
// it again inside itself without end.
void TqvxEngine::checkSubreportCycles()
{
    QList<TqvxReportPage *> path;
    QSet<TqvxReportPage *> checked;
    const std::function<void(TqvxReportPage *)> visit = [&](TqvxReportPage *page) {
        if (checked.contains(page))
            return;
        path.append(page);
        for (TqvxComponent *object : page->GetAllObjects()) {
            auto *subreport = qobject_cast<TqvxSubreport *>(object);
            TqvxReportPage *target = subreport ? subreport->Page() : nullptr;
            if (!target)
                continue;
            if (path.contains(target))
                m_report->Errors()->Add(QCoreApplication::translate("qvxEngine", "Subreport %1 runs the page %2 inside itself")
                                            .arg(subreport->Name(), target->Name()));
            else
                visit(target);
        }
        path.removeLast();
        checked.insert(page);
    };
    for (int i = 0; i < m_report->PagesCount(); ++i)
        if (auto *page = qobject_cast<TqvxReportPage *>(m_report->GetPages(i)))
            visit(page);
}

bool TqvxEngine::RunDialogs()
{
    const QString event = m_report->OnRunDialogs().trimmed();
    if (!event.isEmpty()) {
        Variant params = VarArrayCreate({0, 0}, varVariant);
        params.PutElement({0}, Variant(true));
        m_report->DoParamEvent(event, params, false);
        return params.GetElement({0}).AsBoolean();
    }
    for (int i = 0; i < m_report->PagesCount(); ++i) {
        auto *page = qobject_cast<TqvxDialogPage *>(m_report->GetPages(i));
        if (!page || !page->Visible())
            continue;
        page->Form()->SetBorderStyle(page->BorderStyle());
        if (page->Form()->ControlCount() == 0)
            continue;
        if (OnRunDialog())
            OnRunDialog()(page);
        else
            page->ShowModal();
        if (page->ModalResult() == 2)
            return false;
    }
    return true;
}

void TqvxEngine::RunReportPages(TqvxReportPage *page)
{
    m_firstReportPage = true;
    TqvxDataSet *master = m_report->DataSet();
    if (!master) {
        RunPages(page);
        return;
    }
    master->First();
    while (!master->Eof()) {
        if (terminated())
            break;
        RunPages(page);
        master->Next();
    }
}

void TqvxEngine::RunPages(TqvxReportPage *page)
{
    if (page) {
        m_curReportPage = page;
        RunPage(page);
        m_firstReportPage = false;
        return;
    }
    for (int i = 0; i < m_report->PagesCount(); ++i) {
        auto *reportPage = qobject_cast<TqvxReportPage *>(m_report->GetPages(i));
        if (!reportPage)
            continue;
        m_curReportPage = reportPage;
        if (!reportPage->IsSubReport() && reportPage->Visible())
            RunPage(reportPage);
        if (terminated())
            break;
        m_firstReportPage = false;
    }
}

void TqvxEngine::RunPage(TqvxReportPage *page)
{
    if (page->IsSubReport()) {
        RunDataBands(page);
        return;
    }
    m_firstRowPending = true;
    m_report->DoNotifyEvent(page, page->OnBeforePrint(), false);
    if (TqvxDataSet *dataSet = dataSetOf(page)) {
        dataSet->First();
        while (!dataSet->Eof() && !terminated()) {
            RunPageOnce();
            dataSet->Next();
        }
    } else {
        for (int i = 0; i < page->PageCount() && !terminated(); ++i)
            RunPageOnce();
    }
    m_report->DoNotifyEvent(page, page->OnAfterPrint(), false);
}

void TqvxEngine::RunPageOnce()
{
    TqvxReportPage *page = m_curReportPage;
    if (!HasData(page, m_report->EngineOptions()->PrintIfEmpty() && page->PrintIfEmpty()))
        return;
    InitPage();
    ShowPageObjects();
    const QString manualBuild = page->OnManualBuild().trimmed();
    if (m_report->OnManualBuild)
        m_report->OnManualBuild(page);
    else if (!manualBuild.isEmpty())
        m_report->DoNotifyEvent(page, manualBuild, false);
    else
        RunDataBands(page);
    m_closingLastPage = true;
    if (page->EndlessHeight() || page->EndlessWidth()) {
        const double width =
            page->EndlessWidth() ? PageWidth() + marginsWidth() : page->PaperWidth() * qv01cm;
        double height = page->PaperHeight() * qv01cm;
        if (page->EndlessHeight()) {
            SetPageHeight(CurY() + FooterHeight());
            height = GetPageHeight() + marginsHeight();
        }
        setPreparedPageSize(width, height);
    }
    EndPage();
    m_closingLastPage = false;
}

double TqvxEngine::marginsWidth() const
{
    return (m_curReportPage->LeftMargin() + m_curReportPage->RightMargin()) * qv01cm;
}

double TqvxEngine::marginsHeight() const
{
    return (m_curReportPage->TopMargin() + m_curReportPage->BottomMargin()) * qv01cm;
}

void TqvxEngine::setPreparedPageSize(double width, double height)
{
    if (auto *store = qobject_cast<TqvxPreparedStore *>(PreviewPages())) {
        store->UpdatePageDimensions(m_curReportPage, width, height);
        return;
    }
    TqvxCustomPreviewPages *pages = PreviewPages();
    if (TqvxReportPage *page = pages->GetPage(pages->CurPage())) {
        page->SetPaperWidth(width / qv01cm);
        page->SetPaperHeight(height / qv01cm);
        page->SetPaperSize(256);
        pages->ModifyPage(pages->CurPage(), page);
    }
}

// The objects lying on the page outside any band print through a band of
// their own, at their page positions.
void TqvxEngine::ShowPageObjects()
{
    TqvxReportPage *page = m_curReportPage;
    QList<TqvxComponent *> loose;
    for (TqvxComponent *object : page->Objects())
        if (!qobject_cast<TqvxBand *>(object))
            loose.append(object);
    if (loose.isEmpty())
        return;
    const double savedY = CurY();
    TqvxNullBand band(nullptr);
    band.SetFont(page->Font());
    band.SetWidth(PageWidth());
    band.SetHeight(GetPageHeight());
    const auto restore = [&] {
        SetCurY(savedY);
        for (TqvxComponent *object : loose)
            object->SetParent(page);
    };
    try {
        for (TqvxComponent *object : loose)
            object->SetParent(&band);
        band.AlignChildren();
        ShowBand(&band);
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

void TqvxEngine::InitPage()
{
    TqvxReportPage *page = m_curReportPage;
    TqvxBand *title = findBand<TqvxReportTitle>();
    TqvxBand *pageHeader = findBand<TqvxPageHeader>();
    m_headerList.Clear();
    for (TqvxBand *band : page->TitleBeforeHeader() ? QList<TqvxBand *>{title, pageHeader}
                                                      : QList<TqvxBand *>{pageHeader, title})
        if (band)
            m_headerList.Add(band, false, 0);

    SetPageHeight(page->PaperHeight() * qv01cm - marginsHeight());
    SetPageWidth(page->PaperWidth() * qv01cm - marginsWidth());
    SetCurX(0);
    SetCurY(0);
    SetCurColumn(1);
    m_columnLeft = 0;
    m_vBandsHost = nullptr;
    m_firstPageOfRun = true;
    m_closingLastPage = false;
    outline()->LevelRoot();
    if (page->ResetPageNumbers())
        PreviewPages()->ResetLogicalPageNumber();

    TqvxCustomPreviewPages *pages = PreviewPages();
    if (pages->Count() == 0 || !page->PrintOnPreviousPage()) {
        StartNewPreparedPage();
    } else {
        pages->SetCurPage(pages->Count() - 1);
        SetCurY(pages->GetLastY(0));
        m_headerList.Remove(title);
        ShowBand(title);
    }
    if (m_firstReportPage)
        pages->SetFirstPage(pages->CurPage());
    m_pageBodyTop = CurY();

    TqvxBand *columnHeader = findBand<TqvxColumnHeader>();
    ShowBand(columnHeader);
    if (columnHeader)
        m_headerList.Add(columnHeader, false, 0);
    m_headerList.Remove(title);
    OutlineAddPage();
}

// --- Unit start-up -------------------------------------------------------------

void InitializeQvxEngine()
{
    RegisterClass<TqvxEngine>();
    RegisterClass<TqvxOutline>();
    TqvxServices services;
    services.NewEngine = [](TqvxReportLink *report) -> TqvxCustomEngine * { return new TqvxEngine(report); };
    qvxInstallServices(services);
}

void FinalizeQvxEngine()
{
    qvxRemoveServices();
}
