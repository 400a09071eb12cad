// The output of one band and the flow of pages and columns around it.

#include "engine/qvxEngine.h"

#include "engine/qvxAggregate.h"
#include "engine/qvxBandLayout.h"
#include "report/pages/qvxBands.h"
#include "report/model/qvxCustomOutline.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/views/qvxMemoView.h"
#include "report/base/qvxNumbers.h"
#include "report/base/qvxObjectTypes.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/pages/qvxSubreport.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/core/Exceptions.h"

#include <algorithm>

#include <QCoreApplication>

namespace {

template <class T>
bool is(const TqvxComponent *object)
{
    return qobject_cast<const T *>(object) != nullptr;
}

TqvxReportComponent *printable(TqvxComponent *object)
{
    return qobject_cast<TqvxReportComponent *>(object);
}

} // namespace

double TqvxEngine::GetPageHeight() const
{
    if (m_curReportPage && m_curReportPage->EndlessHeight())
        return CurY() + footerHeight();
    return TqvxCustomEngine::GetPageHeight();
}

double TqvxEngine::FreeSpace()
{
    if (m_curReportPage && m_curReportPage->EndlessHeight())
        return 1e6;
    return GetPageHeight() - (m_footerReserve != 0 ? m_footerReserve : FooterHeight()) - CurY();
}

TqvxBand *TqvxEngine::findOverlay(bool onTop) const
{
    if (m_curReportPage)
        for (TqvxComponent *object : m_curReportPage->Objects())
            if (auto *overlay = qobject_cast<TqvxOverlay *>(object); overlay && overlay->PrintOnTop() == onTop)
                return overlay;
    return nullptr;
}

void TqvxEngine::ShowBand(TClass bandClass)
{
    ShowBand(m_curReportPage ? m_curReportPage->FindBand(bandClass) : nullptr);
}

void TqvxEngine::ShowBand(TqvxBand *band)
{
    if (!band)
        return;
    if (band->KeepChild())
        StartKeep(band, 0);
    OutputBand(band);
    TqvxBand *child = band->Child();
    if (auto *dataBand = qobject_cast<TqvxDataBand *>(band); dataBand && dataBand->CurColumn() > 1)
        child = nullptr;
    if (child && (band->Visible() || band->PrintChildIfInvisible()))
        ShowBand(child);
    if (band->KeepChild())
        EndKeep(band);
    if (is<TqvxDataBand>(band))
        m_aggregates->AddValue(band, 0);
}

void TqvxEngine::OutputBand(TqvxBand *band)
{
    checkEndlessHeight();
    const bool hostsVBands = band->HostsVBands && !is<TqvxPageHeader>(band);
    double savedX = 0;
    QList<int> savedBreaks;
    TqvxBand *savedHost = nullptr;
    if (hostsVBands) {
        savedX = CurX();
        beforePrint(band);
        ShowVBands(band);
        SetCurX(0);
        SetCurLine(band->LineN);
        SetCurLineThrough(band->LineThrough);
        PreviewPages()->SetAddPageAction(apAdd);
        savedBreaks = m_vColumnBreaks;
        savedHost = m_vBandsHost;
    }
    if (band->Vertical()) {
        // Its objects join the row of its host, which goes at the cursor.
        notePlaced(band);
        ShowVerticalBand(band);
        return;
    }

    auto *dataBand = qobject_cast<TqvxDataBand *>(band);
    const bool multiColumn = dataBand && dataBand->Columns() > 1;
    if (!m_reprintingHeaders && !m_subreportInPlace && band->Visible() && band->StartNewPage() && !m_inlineTarget) {
        const bool firstLine = (dataBand || is<TqvxGroupHeader>(band)) && band->LineN == 1;
        if (!firstLine) {
            m_startNewPageBand = band;
            if (auto *group = qobject_cast<TqvxGroupHeader *>(band); group && group->ResetPageNumbers())
                PreviewPages()->ResetLogicalPageNumber();
            NewPage();
            m_startNewPageBand = nullptr;
        }
    }

    PrepareBand(band);
    band->OutputHeight = band->Height();
    try {
        if (band->Visible()) {
            // A band that takes the page past what it may grow would lose
            // what lies below that (its height stops at the coordinate limit).
            checkEndlessHeight(band->Height());
            bool split = false;
            // Headers printed again at the top of a page print where they
            // are: breaking them would print them again on the next page,
            // without end.  So do the bands of their subreports.  The report
            // title prints once and may break.
            const bool reprinted = (m_reprintingHeaders && !m_reprintingTitle) || m_subreportInPlace;
            const bool fitTest = !multiColumn && !is<TqvxOverlay>(band) && !is<TqvxNullBand>(band) &&
                                 !m_inlineTarget && !reprinted && exceeds(band->Height(), FreeSpace());
            if (fitTest) {
                band->Overflow = true;
                if (!band->AllowSplit() || m_keeping)
                    split = exceeds(band->Height(), GetPageHeight() - FooterHeight()) && !band->HostsVBands;
                else
                    split = true;
                if (!split) {
                    if (!m_keeping)
                        RecalcForNewPage(band);
                    NewColumn();
                    // The headers printed on the new page were the current
                    // band meanwhile; this band is again.
                    m_curBand = band;
                } else {
                    if (!band->AllowSplit() && band->LineThrough > 1 && !band->StartNewPage()) {
                        m_curBand = band;
                        NewColumn();
                    }
                    if (m_keeping)
                        EndKeep(band);
                    SplitBand(band);
                }
                band->Overflow = false;
            }
            if (!split) {
                notePlaced(band);
                if (!is<TqvxNullBand>(band)) {
                    band->SetLeft(multiColumn ? band->Left() + CurX() : CurX());
                    band->SetTop(CurY());
                }
                if (!m_inlineTarget) {
                    band->CreateFillMemo();
                    if (hostsVBands) {
                        m_vColumnBreaks = savedBreaks;
                        m_vBandsHost = savedHost;
                        band->SetLeft(0);
                        OutputVBandsHost(band);
                        SetCurX(savedX);
                    } else if (!(m_reprintingHeaders && PreviewPages()->BandExists(band))) {
                        addBand(band);
                    }
                } else {
                    auto *copy = new TqvxBand(m_inlineTarget);
                    copy->AssignAll(band);
                    copy->CreateFillMemo();
                }
                SetCurY(CurY() + band->Height());
            }
        }
    } catch (...) {
        band->Overflow = false;
        FinishBand(band);
        throw;
    }
    FinishBand(band);
    m_aggregates->Reset(band);
    if (band->Visible())
        ShowSubreports(band);
}

void TqvxEngine::notePlaced(TqvxBand *band)
{
    band->OutputTop = CurY();
    band->OutputPage = PreviewPages()->CurPage();
    if (m_keeping && !m_keptBands.contains(band))
        m_keptBands.append(band);
}

void TqvxEngine::PrepareBand(TqvxBand *band)
{
    m_curBand = band;
    BuildShiftTree(band);
    const bool host = band == m_vBandsHost;
    if (!host)
        beforePrint(band);
    const QList<TqvxComponent *> objects = band->Objects();
    if (!m_topsBeyondLimit.IsEmpty() || !m_heightsBeyondLimit.isEmpty())
        for (const TqvxComponent *object : objects) {
            m_topsBeyondLimit.Forget(object);
            m_heightsBeyondLimit.remove(object);
        }
    const qsizetype count = ownObjectCount(band, objects.size());
    bool stretched = false;
    bool inlineSubreports = false;
    for (qsizetype i = 0; i < count; ++i) {
        TqvxReportComponent *object = printable(objects.at(i));
        if (!object)
            continue;
        m_report->SetCurObject(object->Name());
        object->BeforePrint();
        if (!band->Visible())
            continue;
        m_report->DoBeforePrint(object);
        if (!object->Visible())
            continue;
        object->GetData();
        m_report->DoNotifyEvent(object, object->OnAfterData(), false);
        stretched = stretchObject(object) || stretched;
        if (auto *subreport = qobject_cast<TqvxSubreport *>(object); subreport && subreport->PrintOnParent())
            inlineSubreports = true;
    }
    if (!band->Visible())
        return;
    if (stretched)
        ShiftObjects(band, 0);
    if (inlineSubreports)
        ShowInlineSubreports(band);
    const double bottom = contentBottom(band);
    if (band->Stretched())
        band->SetHeight(bottom);
    m_report->SetCurObject(band->Name());
    m_report->DoNotifyEvent(band, band->OnAfterCalcHeight(), false);
    stretchToBottom(band, bottom);
}

void TqvxEngine::FinishBand(TqvxBand *band)
{
    const QList<TqvxComponent *> objects = band->Objects();
    if (band->Visible()) {
        for (TqvxComponent *object : objects) {
            m_report->SetCurObject(object->Name());
            m_report->DoAfterPrint(object);
        }
    }
    const qsizetype count = ownObjectCount(band, objects.size());
    for (qsizetype i = 0; i < count; ++i)
        if (TqvxReportComponent *object = printable(objects.at(i)))
            object->AfterPrint();
    afterPrint(band);
    if (band->OwnObjectCount >= 0) {
        while (band->Objects().size() > band->OwnObjectCount)
            delete band->Objects().last();
        band->OwnObjectCount = -1;
    }
}

qsizetype TqvxEngine::ownObjectCount(const TqvxBand *band, qsizetype count) const
{
    return band == m_vBandsHost && band->OwnObjectCount >= 0 ? std::min<qsizetype>(band->OwnObjectCount, count)
                                                             : count;
}

void TqvxEngine::beforePrint(TqvxReportComponent *object)
{
    m_report->SetCurObject(object->Name());
    object->BeforePrint();
    m_report->DoBeforePrint(object);
}

void TqvxEngine::afterPrint(TqvxReportComponent *object)
{
    m_report->SetCurObject(object->Name());
    m_report->DoAfterPrint(object);
    object->AfterPrint();
}

// --- Pages and columns ---------------------------------------------------------

void TqvxEngine::EndPage()
{
    // A stopped run prints no more footers.
    const bool footers = !terminated();
    // Moving between vertical pages ends none of their columns: the column
    // footer would land on the rows still to come.
    if (!m_showingSummary && footers && !m_verticalBreak)
        ShowColumnFooter();
    // The last page keeps its column for the summary; a page the summary
    // breaks ends like any other, and the next one starts in column 1.
    if (!m_closingLastPage || m_showingSummary) {
        SetCurX(m_columnLeft);
        SetCurColumn(1);
    }
    TqvxPageFooter *pageFooter = footers ? findBand<TqvxPageFooter>() : nullptr;
    // A page of endless height ends right below what it holds, the column
    // footer included: the page footer follows at once.
    const bool endless = m_curReportPage && m_curReportPage->EndlessHeight();
    if (m_closingLastPage && !m_showingSummary && footers) {
        m_showingSummary = true;
        try {
            TqvxBand *summary = findBand<TqvxReportSummary>();
            ShowBand(summary);
            if (summary && endless)
                setPreparedPageSize(PageWidth() + marginsWidth(),
                                    CurY() + (pageFooter ? pageFooter->Height() : 0) + marginsHeight());
        } catch (...) {
            m_showingSummary = false;
            throw;
        }
        m_showingSummary = false;
    }
    if (pageFooter) {
        if (!endless)
            SetCurY(GetPageHeight() - pageFooter->Height());
        m_footerReserve =
            m_closingLastPage && pageFooter->PrintOnLastPage() && !m_showingSummary ? pageFooter->Height() : 0;
        ShowFixedBand(pageFooter);
    }
    if (TqvxBand *overlay = findOverlay(true)) {
        SetCurY(0);
        ShowFixedBand(overlay);
    }
    m_firstPageOfRun = false;
}

void TqvxEngine::ShowFixedBand(TqvxBand *band)
{
    PrepareBand(band);
    bool suppressed = false;
    try {
        if (band->Visible()) {
            band->SetLeft(0);
            band->SetTop(CurY());
            if (auto *footer = qobject_cast<TqvxPageFooter *>(band))
                suppressed = (m_firstPageOfRun && !footer->PrintOnFirstPage()) ||
                             (m_closingLastPage && !footer->PrintOnLastPage() && !m_showingSummary);
            if (!suppressed) {
                if (!PreviewPages()->BandExists(band))
                    addBand(band);
                SetCurY(CurY() + band->Height());
            }
        }
    } catch (...) {
        FinishBand(band);
        throw;
    }
    FinishBand(band);
    if (!suppressed)
        m_aggregates->Reset(band);
}

void TqvxEngine::ShowColumnFooter()
{
    TqvxBand *footer = findBand<TqvxColumnFooter>();
    if (!footer)
        return;
    PrepareBand(footer);
    try {
        if (footer->Visible()) {
            footer->SetLeft(CurX() - m_columnLeft);
            footer->SetTop(CurY());
            addBand(footer);
            SetCurY(CurY() + footer->Height());
        }
    } catch (...) {
        FinishBand(footer);
        throw;
    }
    FinishBand(footer);
    m_aggregates->Reset(footer);
}

void TqvxEngine::NewPage()
{
    keepCutAtPage();
    m_breakingBand = m_curBand;
    // The content's bottom, before the footers move the cursor.
    const double bodyBottom = CurY();
    EndPage();
    if (m_curReportPage->EndlessHeight())
        setPreparedPageSize(PageWidth() + marginsWidth(), FooterHeight() + bodyBottom + marginsHeight());
    StartNewPreparedPage();
    m_breakingBand = nullptr;
    keepPasteAtPage();
    m_keeping = false;
    m_headerList.ClearKeepFlags();
    m_keepWithHeader = false;
    m_keepStartY = 0;
    OutlineAddPage();
}

void TqvxEngine::addPreparedPage()
{
    TqvxCustomPreviewPages *pages = PreviewPages();
    pages->AddPage(m_curReportPage);
    const int limit = m_report->EngineOptions()->MaxPages();
    if (pages->Count() > limit)
        throw Exception(QCoreApplication::translate("qvxEngine",
                                                    "The report needs more than %1 pages; its preparation was stopped")
                                .arg(limit));
}

void TqvxEngine::addBand(TqvxComponent *band)
{
    TqvxCustomPreviewPages *pages = PreviewPages();
    pages->AddObject(band);
    const int limit = m_report->EngineOptions()->MaxPageBands();
    if (pages->GetCurPosition() > limit)
        throw Exception(QCoreApplication::translate(
                            "qvxEngine", "A page of the report takes more than %1 bands; its preparation was stopped")
                            .arg(limit));
}

void TqvxEngine::checkEndlessHeight(double bandHeight) const
{
    if (m_curReportPage && m_curReportPage->EndlessHeight() && CurY() + bandHeight > MaxEndlessHeight * qv01cm)
        throw Exception(QCoreApplication::translate("qvxEngine", "The page %1 grows longer than %2 m, the most a page "
                                                             "of endless height may grow; its preparation was stopped")
                            .arg(m_curReportPage->Name())
                            .arg(MaxEndlessHeight / 1000));
}

void TqvxEngine::StartNewPreparedPage()
{
    m_footerReserve = 0;
    addPreparedPage();
    SetCurY(0);
    if (TqvxBand *overlay = findOverlay(false)) {
        ShowBand(overlay);
        SetCurY(0);
    }
    const double savedX = CurX();
    m_pageBodyTop = 0;
    // Printing a header may add or remove items; each step reads the list
    // afresh.
    for (int i = 0; i < m_headerList.Count(); ++i)
        showHeaderListItem(i);
    SetCurX(savedX);
}

void TqvxEngine::showHeaderListItem(int index)
{
    const TqvxHeaderListItem item = m_headerList.Items(index);
    SetCurX(item.Left);
    TqvxBand *band = item.Band;
    if (!band || band == m_startNewPageBand)
        return;
    if (auto *pageHeader = qobject_cast<TqvxPageHeader *>(band); pageHeader && m_firstPageOfRun &&
                                                                   !pageHeader->PrintOnFirstPage()) {
        if (!pageHeader->PrintChildIfInvisible())
            return;
        band = pageHeader->Child();
    }
    if (!band)
        return;
    if (((m_keepWithHeader && is<TqvxHeader>(band)) || item.IsInKeepList) && !m_showingFooter)
        return;
    if ((is<TqvxHeader>(band) || is<TqvxGroupHeader>(band)) && m_verticalBreak)
        return;
    if (is<TqvxHeader>(band) && band == m_breakingBand)
        return;

    const bool pageHeader = is<TqvxPageHeader>(band);
    const int savedLine = CurLine();
    const int savedLineThrough = CurLineThrough();
    const auto restore = [&] {
        m_showingPageHeader = false;
        m_reprintingHeaders = false;
        m_reprintingTitle = false;
        band->Reprinting = false;
        SetCurLine(savedLine);
        SetCurLineThrough(savedLineThrough);
    };
    band->Reprinting = true;
    SetCurLine(band->LineN);
    SetCurLineThrough(band->LineThrough);
    m_reprintingHeaders = true;
    m_showingPageHeader = pageHeader;
    m_reprintingTitle = is<TqvxReportTitle>(band);
    if (m_reprintingTitle)
        m_headerList.ClearBand(index);
    try {
        ShowBand(band);
    } catch (...) {
        restore();
        throw;
    }
    // Later columns start below the page header and its children.
    if (pageHeader)
        m_pageBodyTop = CurY();
    if (m_firstRowPending && is<TqvxReportTitle>(band))
        m_firstRowBroken = true;
    restore();
}

void TqvxEngine::NewColumn()
{
    if (!m_curReportPage || CurColumn() >= m_curReportPage->Columns()) {
        NewPage();
        return;
    }
    keepCutAtColumn();
    m_breakingBand = m_curBand;
    ShowColumnFooter();
    NextPageColumn();
    m_breakingBand = nullptr;
    keepPasteAtColumn();
    m_keeping = false;
    m_headerList.ClearKeepFlags();
    m_keepWithHeader = false;
}

double TqvxEngine::columnPosition(int column) const
{
    const TStrings *positions = m_curReportPage->ColumnPositions();
    if (column >= 1 && column <= positions->Count())
        return qvxStrToFloat(positions->Strings(column - 1)) * qv01cm;
    return (column - 1) * m_curReportPage->ColumnWidth() * qv01cm;
}

void TqvxEngine::NextPageColumn()
{
    SetCurColumn(CurColumn() + 1);
    const double x = columnPosition(CurColumn());
    SetCurY(m_pageBodyTop);
    for (int i = 0; i < m_headerList.Count(); ++i) {
        const TqvxHeaderListItem item = m_headerList.Items(i);
        SetCurX(x + item.Left);
        if (item.Band && !is<TqvxPageHeader>(item.Band) && item.Band != m_breakingBand && !item.IsInKeepList &&
            !m_keepWithHeader)
            ShowReprintedChain(item.Band);
    }
    SetCurX(x + m_columnLeft);
}

void TqvxEngine::ShowReprintedChain(TqvxBand *band)
{
    for (; band; band = band->Child()) {
        ShowReprintedBand(band);
        if (!band->Visible() && !band->PrintChildIfInvisible())
            break;
    }
}

void TqvxEngine::ShowReprintedBand(TqvxBand *band)
{
    band->Reprinting = true;
    PrepareBand(band);
    try {
        if (band->Visible()) {
            band->SetLeft(CurX());
            band->SetTop(CurY());
            addBand(band);
            SetCurY(CurY() + band->Height());
        }
    } catch (...) {
        FinishBand(band);
        band->Reprinting = false;
        throw;
    }
    FinishBand(band);
    band->Reprinting = false;
}

void TqvxEngine::RecalcForNewPage(TqvxBand *band)
{
    bool suppressing = false;
    for (TqvxComponent *object : band->Objects()) {
        if (auto *memo = qobject_cast<TqvxCustomMemoView *>(object); memo && memo->SuppressRepeated()) {
            memo->ClearValue();
            suppressing = true;
        }
    }
    if (!suppressing || band->HostsVBands)
        return;
    FinishBand(band);
    SetCurLine(band->LineN);
    SetCurLineThrough(band->LineThrough);
    SetSecondScriptCall(true);
    try {
        PrepareBand(band);
    } catch (...) {
        SetSecondScriptCall(false);
        throw;
    }
    SetSecondScriptCall(false);
}

// --- Header lists ----------------------------------------------------------------

namespace {

bool reprints(const TqvxBand *band)
{
    if (const auto *header = qobject_cast<const TqvxHeader *>(band))
        return header->ReprintOnNewPage();
    if (const auto *group = qobject_cast<const TqvxGroupHeader *>(band))
        return group->ReprintOnNewPage();
    return false;
}

} // namespace

void TqvxEngine::AddToHeaderList(TqvxBand *band)
{
    if (band && reprints(band))
        m_headerList.Add(band, m_keeping && !is<TqvxHeader>(band), m_columnLeft);
}

void TqvxEngine::RemoveFromHeaderList(TqvxBand *band)
{
    if (band)
        m_headerList.Remove(band);
}

void TqvxEngine::AddToVHeaderList(TqvxBand *band)
{
    if (band && reprints(band))
        m_vHeaderList.append(band);
}

void TqvxEngine::RemoveFromVHeaderList(TqvxBand *band)
{
    if (band)
        m_vHeaderList.removeOne(band);
}

// --- Outline ----------------------------------------------------------------------

void TqvxEngine::OutlineAddBand(TqvxBand *band)
{
    const QString text = band->OutlineText();
    if (text.isEmpty())
        return;
    m_report->SetCurObject(band->Name());
    if (!band->Visible())
        return;
    // The band's child bands, subreports or the rest of a split may have
    // gone on to later pages: the item goes on the band's own page.
    const QString caption = VarToStr(m_report->Calc(text));
    TqvxCustomPreviewPages *pages = PreviewPages();
    const int page = pages->CurPage();
    pages->SetCurPage(band->OutputPage);
    outline()->AddItem(caption, qvxRound(band->OutputTop));
    pages->SetCurPage(page);
}

void TqvxEngine::OutlineLevelUp(TqvxBand *band)
{
    if (!band->OutlineText().isEmpty())
        outline()->LevelUp();
}

void TqvxEngine::OutlineAddPage()
{
    const QString text = m_curReportPage->OutlineText();
    if (text.isEmpty())
        return;
    outline()->LevelRoot();
    m_report->SetCurObject(m_curReportPage->Name());
    outline()->AddItem(VarToStr(m_report->Calc(text)), 0);
}
