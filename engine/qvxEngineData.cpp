// The data-band loops: records, headers and footers, groups, drill-down and
// band columns.

#include "engine/qvxEngine.h"

#include "engine/qvxAggregate.h"
#include "report/pages/qvxBands.h"
#include "report/model/qvxCustomOutline.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/data/qvxDataSet.h"
#include "report/views/qvxMemoView.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/VariantOps.h"

namespace {

QList<TqvxBand *> dataBandsOf(TqvxComponent *owner)
{
    if (auto *page = qobject_cast<TqvxReportPage *>(owner))
        return page->HDataBands();
    if (auto *band = qobject_cast<TqvxBand *>(owner))
        return band->Details();
    return {};
}

bool differs(const Variant &a, const Variant &b)
{
    try {
        return VarCompareValue(a, b) != vrEqual;
    } catch (const Exception &) {
        // Values that cannot be compared (a text against a number) differ.
        return true;
    }
}

} // namespace

bool TqvxEngine::HasData(TqvxComponent *owner, bool flag)
{
    if (flag)
        return true;
    const QList<TqvxBand *> bands = dataBandsOf(owner);
    if (bands.isEmpty())
        return !qobject_cast<TqvxReportPage *>(owner);
    for (TqvxBand *band : bands) {
        auto *dataBand = qobject_cast<TqvxDataBand *>(band);
        TqvxDataSet *dataSet = dataSetOf(band);
        if (!dataBand || !dataSet)
            continue;
        m_report->DoNotifyEvent(band, dataBand->OnMasterDetail(), false);
        dataSet->First();
        while (!dataSet->Eof()) {
            if (HasData(band, dataBand->PrintIfDetailEmpty()))
                return true;
            dataSet->Next();
        }
    }
    return false;
}

void TqvxEngine::RunDataBands(TqvxComponent *owner)
{
    pumpMessages();
    if (terminated())
        return;
    FooterKeepStart footerStart;
    RowStart row;
    row.y = CurY();
    for (TqvxBand *band : dataBandsOf(owner)) {
        runDataBand(band, footerStart, row);
        if (terminated())
            return;
        m_firstRowPending = false;
    }
}

TqvxDataSet *TqvxEngine::beginBandLoop(TqvxBand *band)
{
    auto *dataBand = qobject_cast<TqvxDataBand *>(band);
    TqvxDataSet *dataSet = dataSetOf(band);
    if (!dataBand || !dataSet)
        return nullptr;
    dataSet->First();
    band->LineN = 1;
    band->LineThrough = 1;
    setBandColumn(dataBand, 1);
    ResetSuppressValues(band);
    return dataSet;
}

void TqvxEngine::runDataBand(TqvxBand *band, FooterKeepStart &footerStart, RowStart &row)
{
    TqvxDataSet *dataSet = beginBandLoop(band);
    if (!dataSet)
        return;
    auto *dataBand = static_cast<TqvxDataBand *>(band);
    bool isFirst = true;
    while (!dataSet->Eof()) {
        const QString filter = dataBand->Filter().trimmed();
        const bool passes = filter.isEmpty() || !differs(m_report->Calc(filter), Variant(true));
        if (passes && HasData(band, dataBand->PrintIfDetailEmpty())) {
            showDataRecord(dataBand, isFirst, footerStart, row);
            isFirst = false;
        }
        if (!band->Group() && dataBand->KeepTogether())
            EndKeep(band);
        dataSet->Next();
        // Rows count through the groups, which restart LineN.
        if ((dataBand->RowCount() != 0 && dataBand->RowCount() < band->LineThrough) || terminated())
            break;
    }
    closeBandColumns(dataBand, row);
    // A stopped run leaves the band without its footers.
    if (!isFirst && !terminated())
        closeDataBand(dataBand, footerStart);
}

void TqvxEngine::showDataRecord(TqvxDataBand *band, bool isFirst, FooterKeepStart &footerStart, RowStart &row)
{
    TqvxBand *header = band->Header();
    if (isFirst) {
        if (band->KeepHeader() && header) {
            if (m_firstRowPending)
                m_firstRowPending = !m_firstRowBroken;
            m_keepWithHeader = !m_firstRowPending;
            StartKeep(band, 0);
        }
        AddToHeaderList(header);
        ShowBand(header);
        if (band->KeepTogether())
            StartKeep(band, 0);
    } else if (!band->Group() && band->KeepTogether()) {
        StartKeep(band, 0);
    }
    if (band->Group()) {
        if (isFirst)
            InitGroups(band, band->Group(), true, 0);
        else
            CheckGroupChange(band, band->Group(), row);
    }
    if (band->KeepFooter())
        footerStart = {PreviewPages()->GetCurPosition(), CurY()};
    if (band->Columns() >= 2 && band->CurColumn() == 1) {
        row.position = PreviewPages()->GetCurPosition();
        row.outline = outline()->GetCurPosition();
        row.anchor = PreviewPages()->GetAnchorCurPosition();
        // The page totals take the row once it is placed for good; a record
        // kept together that begins the row is part of it.
        if ((!m_keeping || keepBeganInRow(row)) && !m_rowTotalsBand) {
            m_aggregates->StartKeep();
            m_rowTotalsBand = band;
        }
    }

    row.y = CurY();
    SetCurLine(band->LineN);
    SetCurLineThrough(band->LineThrough);
    ShowBand(band);
    m_keepWithHeader = false;
    if (isFirst && band->KeepHeader() && header) {
        // Should the first row be the last as well, the keep of its footer
        // reaches back to the header, which would else stay behind alone.
        // (A header carried over with its row already heads a page.)
        if (band->KeepFooter() && m_keeping && m_keepBand == band)
            footerStart = {m_keepPosition, m_keepStartY};
        EndKeep(band);
    }
    m_drillPath.append({band->Name(), band->LineThrough});
    ++band->LineN;
    ++band->LineThrough;
    NextBandColumn(band, row);

    OutlineAddBand(band);
    RunDataBands(band);
    m_drillPath.removeLast();
    OutlineLevelUp(band);
    m_firstRowPending = false;
    if (band->FooterAfterEach() && !terminated())
        ShowBand(band->Footer());
}

void TqvxEngine::closeDataBand(TqvxDataBand *band, const FooterKeepStart &footerStart)
{
    TqvxBand *header = band->Header();
    if (band->Group())
        ShowGroupFooters(band->Group(), 0, band);
    if (m_keeping)
        RemoveFromHeaderList(header);
    if (!band->FooterAfterEach()) {
        if (band->KeepFooter())
            startFooterKeep(band, footerStart);
        m_showingFooter = true;
        try {
            ShowBand(band->Footer());
        } catch (...) {
            m_showingFooter = false;
            throw;
        }
        if (band->KeepFooter())
            EndKeep(band);
        m_showingFooter = false;
    }
    RemoveFromHeaderList(header);
    if (band->Group() && band->KeepTogether())
        EndKeep(band);
}

// --- Groups ------------------------------------------------------------------------

void TqvxEngine::InitGroups(TqvxBand *band, TqvxBand *first, bool isFirst, int from)
{
    const QList<TqvxBand *> groups = first->Groups();
    for (int i = from; i < groups.size(); ++i) {
        TqvxBand *header = groups.at(i);
        if (isFirst) {
            header->LineN = 1;
            header->LineThrough = 1;
            ResetSuppressValues(header);
        } else {
            ++header->LineN;
            if (i + 1 < groups.size())
                groups.at(i + 1)->LineN = 0;
            ++header->LineThrough;
        }
    }
    UpdateDrillDown(band, first);
    for (int i = from; i < groups.size(); ++i) {
        auto *header = qobject_cast<TqvxGroupHeader *>(groups.at(i));
        if (!header)
            continue;
        SetCurLine(header->LineN);
        SetCurLineThrough(header->LineThrough);
        m_report->SetCurObject(header->Name());
        header->LastValue = m_report->Calc(header->Condition());
        if (header->KeepTogether())
            StartKeep(header, 0);
        ShowBand(header);
        OutlineAddBand(header);
        if (header->Vertical())
            AddToVHeaderList(header);
        else
            AddToHeaderList(header);
    }
}

void TqvxEngine::CheckGroupChange(TqvxBand *band, TqvxBand *first, const RowStart &row)
{
    UpdateDrillDown(band, first);
    const QList<TqvxBand *> groups = first->Groups();
    int level = -1;
    for (int i = 0; i < groups.size() && level < 0; ++i) {
        auto *header = qobject_cast<TqvxGroupHeader *>(groups.at(i));
        if (!header)
            continue;
        m_report->SetCurObject(header->Name());
        if (differs(m_report->Calc(header->Condition()), header->LastValue))
            level = i;
    }
    if (level < 0)
        return;
    auto *dataBand = qobject_cast<TqvxDataBand *>(band);
    closeBandColumns(dataBand, row);
    // The footers see the last record of the group that ended.
    TqvxDataSet *dataSet = dataSetOf(band);
    dataSet->Prior();
    ShowGroupFooters(first, level, band);
    dataSet->Next();
    InitGroups(band, first, false, level);
    band->LineN = 1;
    ResetSuppressValues(band);
}

void TqvxEngine::ShowGroupFooters(TqvxBand *first, int from, TqvxBand *band)
{
    const QList<TqvxBand *> groups = first->Groups();
    for (int i = int(groups.size()) - 1; i >= from; --i) {
        auto *header = qobject_cast<TqvxGroupHeader *>(groups.at(i));
        if (!header)
            continue;
        if (TqvxBand *footer = header->Footer()) {
            auto *groupFooter = qobject_cast<TqvxGroupFooter *>(footer);
            if (groupFooter && groupFooter->HideIfSingleDataRecord() && band->LineN <= 2)
                m_aggregates->Reset(footer);
            else
                ShowBand(footer);
        }
        OutlineLevelUp(header);
        if (header->Vertical())
            RemoveFromVHeaderList(header);
        else
            RemoveFromHeaderList(header);
        if (header->KeepTogether())
            EndKeep(header);
    }
}

void TqvxEngine::UpdateDrillDown(TqvxBand *band, TqvxBand *first)
{
    const QList<TqvxBand *> groups = first->Groups();
    auto *firstHeader = qobject_cast<TqvxGroupHeader *>(first);
    for (int i = 0; i < groups.size(); ++i) {
        auto *header = qobject_cast<TqvxGroupHeader *>(groups.at(i));
        if (!header || !header->DrillDown())
            continue;
        QString name;
        for (const DrillStep &step : std::as_const(m_drillPath))
            name += step.Name + QLatin1Char('.') + QString::number(step.Line) + QLatin1Char('.');
        name += header->Name() + QLatin1Char('.') + QString::number(header->LineThrough);
        header->SetDrillName(name);
        bool expanded = m_report->DrillState()->IndexOf(name) >= 0;
        if (header->ExpandDrillDown())
            expanded = !expanded;
        if (header->Child() && !(firstHeader && firstHeader->ShowChildIfDrillDown()))
            header->Child()->SetVisible(expanded);
        for (int j = i + 1; j < groups.size(); ++j) {
            groups.at(j)->SetVisible(expanded);
            if (TqvxBand *footer = groups.at(j)->Footer())
                footer->SetVisible(expanded);
        }
        band->SetVisible(expanded);
        if (!header->ShowFooterIfDrillDown() && header->Footer())
            header->Footer()->SetVisible(expanded);
        if (!expanded)
            return;
    }
}

// --- Band columns -------------------------------------------------------------

void TqvxEngine::setBandColumn(TqvxDataBand *band, int column)
{
    band->SetCurColumn(column);
    if (band->CurColumn() == 1)
        band->MaxY = 0;
}

// Closes an unfinished row of band columns.
void TqvxEngine::closeBandColumns(TqvxDataBand *band, const RowStart &row)
{
    if (!band || band->Columns() <= 1)
        return;
    setBandColumn(band, band->Columns());
    NextBandColumn(band, row);
    endRowTotals(band);
}

void TqvxEngine::endRowTotals(TqvxBand *band)
{
    if (m_rowTotalsBand != band)
        return;
    m_rowTotalsBand = nullptr;
    // A run kept together that began inside the row holds its values on.
    if (!m_keeping)
        m_aggregates->EndKeep();
}

void TqvxEngine::NextBandColumn(TqvxDataBand *band, const RowStart &row)
{
    if (band->Columns() <= 1 || !band->Visible())
        return;
    band->MaxY = std::max(band->MaxY, CurY());
    if (band->CurColumn() < band->Columns()) {
        SetCurY(row.y);
    } else if (GetPageHeight() - FooterHeight() - band->MaxY > 0.0001 || m_curReportPage->EndlessHeight()) {
        SetCurY(band->MaxY);
    } else if (m_keeping && !keepBeganInRow(row)) {
        NewColumn();
    } else {
        // The row does not fit: it moves whole to the next column or page,
        // with the outline items and anchors made in it.  A run kept
        // together inside it goes along.
        if (m_keeping)
            BreakAllKeep();
        PreviewPages()->CutObjects(row.position);
        NewColumn();
        PreviewPages()->PasteObjects(CurX(), CurY());
        shiftMarks(row.y, row.outline, row.anchor);
        band->OutputTop += CurY() - row.y;
        band->OutputPage = PreviewPages()->CurPage();
        SetCurY(CurY() + band->MaxY - row.y);
    }
    if (band->CurColumn() == band->Columns())
        endRowTotals(band);
    setBandColumn(band, band->CurColumn() + 1);
}

bool TqvxEngine::keepBeganInRow(const RowStart &row) const
{
    return m_keeping && m_keepPosition >= row.position;
}

void TqvxEngine::ResetSuppressValues(TqvxBand *band)
{
    for (TqvxComponent *object : band->Objects())
        if (auto *memo = qobject_cast<TqvxCustomMemoView *>(object))
            memo->SetLastValue(Variant());
}
