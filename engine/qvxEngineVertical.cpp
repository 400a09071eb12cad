// Vertical bands: laid out left to right across the horizontal band that
// hosts them, over as many vertical pages as they need.

#include "engine/qvxEngine.h"

#include "engine/qvxAggregate.h"
#include "report/pages/qvxBands.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/data/qvxDataSet.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/components/qvxView.h"
#include "toolkit/classes/ClassRegistry.h"

void TqvxEngine::ShowVBands(TqvxBand *host)
{
    m_vBandsHost = host;
    host->OwnObjectCount = int(host->Objects().size());
    host->SetAllowSplit(false);
    const int page = PreviewPages()->CurPage();
    m_vHeaderList.clear();
    m_vColumnBreaks = {0};
    SetCurVColumn(0);
    if (auto *hostPage = qobject_cast<TqvxReportPage *>(host->GetPage()))
        RunVBands(hostPage->VDataBands());
    m_vColumnBreaks.append(int(host->Objects().size()));
    PreviewPages()->SetCurPage(page);
}

void TqvxEngine::RunVBands(const QList<TqvxBand *> &bands)
{
    for (TqvxBand *band : bands) {
        if (terminated())
            return;
        TqvxDataSet *dataSet = beginBandLoop(band);
        if (!dataSet)
            continue;
        auto *dataBand = static_cast<TqvxDataBand *>(band);
        SetCurLine(band->LineN);
        SetCurLineThrough(band->LineThrough);
        bool isFirst = true;
        while (!dataSet->Eof()) {
            if (isFirst) {
                ShowBand(band->Header());
                AddToVHeaderList(band->Header());
            }
            if (band->Group()) {
                if (isFirst)
                    InitGroups(band, band->Group(), true, 0);
                else
                    CheckGroupChange(band, band->Group(), RowStart());
            }
            isFirst = false;
            SetCurLine(band->LineN);
            SetCurLineThrough(band->LineThrough);
            ShowBand(band);
            ++band->LineN;
            ++band->LineThrough;
            RunVBands(band->Details());
            if (dataBand->FooterAfterEach() && !terminated())
                ShowBand(band->Footer());
            dataSet->Next();
            if ((dataBand->RowCount() != 0 && dataBand->RowCount() < band->LineThrough) || terminated())
                break;
        }
        if (terminated())
            return;
        if (band->Group())
            ShowGroupFooters(band->Group(), 0, band);
        if (!isFirst) {
            RemoveFromVHeaderList(band->Header());
            if (!dataBand->FooterAfterEach())
                ShowBand(band->Footer());
        }
    }
}

void TqvxEngine::ShowVerticalBand(TqvxBand *band)
{
    const bool dataBand = qobject_cast<TqvxDataBand *>(band) != nullptr;
    const bool footer = qobject_cast<TqvxFooter *>(band) || qobject_cast<TqvxGroupFooter *>(band);
    if (dataBand)
        SetCurVColumn(CurVColumn() + 1);
    m_curBand = footer ? band : m_vBandsHost;
    beforePrint(band);
    if (band->Visible() && m_vBandsHost) {
        if (PageWidth() < band->Width() + CurX()) {
            if (!m_curReportPage->EndlessWidth()) {
                TqvxCustomPreviewPages *pages = PreviewPages();
                if (pages->CurPage() < pages->Count() - 1)
                    pages->SetCurPage(pages->CurPage() + 1);
                else
                    addPreparedPage();
                SetCurX(0);
                m_vColumnBreaks.append(int(m_vBandsHost->Objects().size()));
                const QList<TqvxBand *> headers = m_vHeaderList;
                for (TqvxBand *header : headers)
                    ShowBand(header);
            } else {
                SetPageWidth(PageWidth() + band->Width());
            }
        }
        copyVerticalObjects(band);
        SetCurX(CurX() + band->Width());
    }
    afterPrint(band);
    if (dataBand && m_vBandsHost)
        m_aggregates->AddValue(m_vBandsHost, CurVColumn());
    else if (footer)
        m_aggregates->Reset(band);
}

// The part of the vertical band that crosses the host band is copied onto
// the host at the current horizontal position.
void TqvxEngine::copyVerticalObjects(TqvxBand *band)
{
    const QList<TqvxComponent *> objects = band->Objects();
    for (TqvxComponent *object : objects) {
        auto *view = qobject_cast<TqvxView *>(object);
        if (!view || view->HomeBand() != m_vBandsHost)
            continue;
        beforePrint(view);
        view->GetData();
        m_report->DoNotifyEvent(view, view->OnAfterData(), false);
        auto *copy = static_cast<TqvxComponent *>(CreateObject(view->ClassType(), m_vBandsHost));
        if (copy->Parent() != m_vBandsHost)
            copy->SetParent(m_vBandsHost);
        copy->Assign(view);
        copy->SetDictionaryName(view->DictionaryName());
        copy->SetLinkedObject(view->LinkedObject());
        copy->SetLeft(CurX() + copy->Left());
        view->AfterPrint();
    }
}

// Writes the host once per vertical page, each time with the objects that
// belong on that page.
void TqvxEngine::OutputVBandsHost(TqvxBand *host)
{
    TqvxCustomPreviewPages *pages = PreviewPages();
    const int page = pages->CurPage();
    const double y = CurY();
    const double x = CurX();
    pages->SetAddPageAction(apWriteOver);
    const QList<TqvxComponent *> objects = host->Objects();
    QList<bool> visible;
    for (TqvxComponent *object : objects)
        visible.append(object->Visible());
    const auto restore = [&] {
        for (qsizetype i = 0; i < objects.size(); ++i)
            objects.at(i)->SetVisible(visible.at(i));
        pages->SetCurPage(page);
        SetCurY(y);
        SetCurX(x);
        pages->SetAddPageAction(apAdd);
    };
    try {
        const int slices = int(m_vColumnBreaks.size()) - 1;
        for (int k = 0; k < slices; ++k) {
            for (qsizetype i = 0; i < objects.size(); ++i)
                objects.at(i)->SetVisible(visible.at(i) && i >= m_vColumnBreaks.at(k) &&
                                          i < m_vColumnBreaks.at(k + 1));
            addBand(host);
            if (slices == 1)
                break;
            m_verticalBreak = true;
            if (k == slices - 1)
                EndPage();
            else
                NewPage();
            m_verticalBreak = false;
        }
    } catch (...) {
        m_verticalBreak = false;
        restore();
        throw;
    }
    restore();
}
