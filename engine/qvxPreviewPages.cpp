#include "engine/qvxPreviewPages.h"

#include "engine/qvxPreparedItems.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxDataBand.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxPictureCache.h"
#include "report/views/qvxPictureView.h"
#include "report/report/qvxReport.h"
#include "report/report/qvxReportOptions.h"
#include "report/model/qvxServices.h"
#include "report/xml/qvxXMLItem.h"

TqvxReportPage *TqvxPreviewPages::GetPage(int index)
{
    return ReportPageOf(GetPageObject(index));
}

void TqvxPreviewPages::AddPage(TqvxReportPage *page)
{
    AddPageObject(page);
}

void TqvxPreviewPages::AddSourcePage(TqvxReportPage *page)
{
    AddSourcePageObject(page);
}

void TqvxPreviewPages::AddPicture(TqvxPictureView *picture)
{
    picture->SetImageIndex(PictureCache()->AddPicture(picture->Picture()));
}

bool TqvxPreviewPages::BandExists(TqvxBand *band)
{
    return BandExistsObject(band);
}

void TqvxPreviewPages::ModifyPage(int index, TqvxReportPage *page)
{
    ModifyPageObject(index, page);
}

TqvxReportPage *TqvxPreviewPages::ReportPageOf(TqvxComponent *page)
{
    return qobject_cast<TqvxReportPage *>(page);
}

TqvxPageMargins TqvxPreviewPages::PageMargins(const TqvxComponent *page) const
{
    const auto *reportPage = qobject_cast<const TqvxReportPage *>(page);
    if (!reportPage)
        return {};
    return {reportPage->LeftMargin(), reportPage->TopMargin(), reportPage->RightMargin(),
            reportPage->BottomMargin(), reportPage->MirrorMargins()};
}

TqvxStoreBand TqvxPreviewPages::BandOf(const TqvxComponent *object) const
{
    if (!qobject_cast<const TqvxBand *>(object))
        return TqvxStoreBand::None;
    if (qobject_cast<const TqvxPageHeader *>(object))
        return TqvxStoreBand::PageHeader;
    if (qobject_cast<const TqvxPageFooter *>(object))
        return TqvxStoreBand::PageFooter;
    if (qobject_cast<const TqvxColumnFooter *>(object))
        return TqvxStoreBand::ColumnFooter;
    if (qobject_cast<const TqvxReportTitle *>(object))
        return TqvxStoreBand::ReportTitle;
    if (qobject_cast<const TqvxOverlay *>(object))
        return TqvxStoreBand::Overlay;
    if (qobject_cast<const TqvxDataBand *>(object))
        return TqvxStoreBand::DataBand;
    return TqvxStoreBand::Other;
}

std::unique_ptr<TqvxComponent> TqvxPreviewPages::NewPageBackground(TqvxComponent *page, double left, double top,
                                                                   double width, double height)
{
    auto background = std::make_unique<TqvxPictureView>(nullptr);
    background->SetName(QStringLiteral("_pagebackground"));
    if (const auto *reportPage = qobject_cast<const TqvxReportPage *>(page)) {
        background->SetColor(reportPage->Color());
        background->SetFrame(reportPage->Frame());
        background->SetPicture(reportPage->BackPicture());
    }
    background->SetStretched(true);
    background->SetKeepAspectRatio(false);
    background->SetBounds(left, top, width, height);
    return background;
}

void TqvxPreviewPages::AssignCopy(TqvxComponent *copy, TqvxComponent *templ)
{
    auto *picture = qobject_cast<TqvxPictureView *>(templ);
    if (!picture) {
        TqvxPreparedStore::AssignCopy(copy, templ);
        return;
    }
    const bool stored = picture->IsPictureStored();
    picture->SetIsPictureStored(false);
    TqvxPreparedStore::AssignCopy(copy, templ);
    picture->SetIsPictureStored(stored);
}

void TqvxPreviewPages::ObjectRebuilt(TqvxComponent *object)
{
    auto *picture = qobject_cast<TqvxPictureView *>(object);
    if (picture && picture->Picture()->Graphic() == nullptr)
        PictureCache()->GetPicture(picture->ImageIndex(), picture->Picture());
}

// A picture view takes its picture from the cache only while it has none.
bool TqvxPreviewPages::Refillable(const TqvxComponent *object) const
{
    return !qobject_cast<const TqvxPictureView *>(object) && TqvxPreparedStore::Refillable(object);
}

void TqvxPreviewPages::AddFrom(TqvxReportLink *report)
{
    auto *other = report ? dynamic_cast<TqvxPreparedStore *>(report->PreviewPages()) : nullptr;
    if (other && other != this)
        AddFromPages(other);
}

void TqvxPreviewPages::SaveReportSettings(TqvxXMLItem *item)
{
    const TqvxReport *rep = report();
    item->SetName(rep ? rep->ClassName() : QStringLiteral("TqvxReport"));
    if (!rep)
        return;
    item->SetProp(QStringLiteral("DotMatrixReport"), rep->DotMatrixReport() ? QStringLiteral("1") : QStringLiteral("0"));
    item->SetProp(QStringLiteral("PreviewOptions.OutlineVisible"),
                  rep->PreviewOptions()->OutlineVisible() ? QStringLiteral("1") : QStringLiteral("0"));
    qvxSetIntProp(item, QStringLiteral("PreviewOptions.OutlineWidth"), rep->PreviewOptions()->OutlineWidth());
    item->SetProp(QStringLiteral("ReportOptions.Name"), rep->ReportOptions()->Name());
}

void TqvxPreviewPages::LoadReportSettings(TqvxXMLItem *item)
{
    TqvxReport *rep = report();
    if (!rep)
        return;
    rep->SetDotMatrixReport(item->GetProp(QStringLiteral("DotMatrixReport")) == QLatin1String("1"));
    rep->PreviewOptions()->SetOutlineVisible(item->GetProp(QStringLiteral("PreviewOptions.OutlineVisible"))
                                             == QLatin1String("1"));
    rep->PreviewOptions()->SetOutlineWidth(qvxIntPropOr(item, QStringLiteral("PreviewOptions.OutlineWidth"),
                                                        rep->PreviewOptions()->OutlineWidth()));
    rep->ReportOptions()->SetName(item->GetProp(QStringLiteral("ReportOptions.Name")));
}

TqvxPreparedOptions TqvxPreviewPages::Options() const
{
    const TqvxReport *rep = report();
    if (!rep)
        return m_options;
    TqvxPreparedOptions options;
    options.useFileCache = rep->EngineOptions()->UseFileCache();
    options.maxMemSize = rep->EngineOptions()->MaxMemSize();
    options.maxPreparedMemory = rep->EngineOptions()->MaxPreparedMemory();
    options.tempDir = rep->EngineOptions()->TempDir();
    options.threadSafeMode = rep->EngineOptions()->ThreadSafeMode();
    options.pagesInCache = rep->PreviewOptions()->PagesInCache();
    options.pictureCacheInFile = rep->PreviewOptions()->PictureCacheInFile();
    return options;
}

void InitializeQvxPreviewPages()
{
    TqvxServices services;
    services.NewPreviewPages = [](TqvxReportLink *report) -> TqvxCustomPreviewPages * {
        return new TqvxPreviewPages(report);
    };
    qvxInstallServices(services);
}

void FinalizeQvxPreviewPages()
{
    qvxRemoveServices();
}
