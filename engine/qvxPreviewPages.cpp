#include "engine/qvxPreviewPages.h"

#include "report/qvxBands.h"
#include "report/qvxDataBand.h"
#include "report/qvxPage.h"
#include "report/qvxPictureCache.h"
#include "report/qvxPictureView.h"

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

void TqvxPreviewPages::ObjectRebuilt(TqvxComponent *object)
{
    auto *picture = qobject_cast<TqvxPictureView *>(object);
    if (picture && picture->Picture()->Graphic() == nullptr)
        PictureCache()->GetPicture(picture->ImageIndex(), picture->Picture());
}
