#pragma once

// Reports that show one large picture file in the ways its memory is
// checked and measured on: in small views read from the file, in one view
// of the picture's own size on a page large enough for it, or as a logo
// kept in the report and shown on each row of a data band.

#include "export/pdf/qvxExportPDF.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxPictureView.h"

#include <QSize>

#include <memory>

// Exports the prepared report to a PDF file without a dialog or progress.
inline bool ExportToPdfFile(TqvxReport *report, const QString &fileName)
{
    TqvxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.SetShowProgress(false);
    pdf.SetFileName(fileName);
    return report->Export(&pdf);
}

enum class TPictureLayout {
    // count views of 120 x 120 pixels on a title band, each reading the file.
    SmallViews,
    // One view reading the file, as large as the picture (count is unused).
    OwnSize,
    // One view of 90 x 90 pixels holding the picture, on a data band of
    // count rows.
    BandRows,
};

class TLargePictureReport
{
public:
    // The file holds a picture of pictureSize pixels.
    TLargePictureReport(const QString &fileName, QSize pictureSize, TPictureLayout layout, int count)
    {
        report->SetName(QStringLiteral("Report1"));
        report->SetShowProgress(false);
        report->EngineOptions()->SetNewSilentMode(simSilent);
        auto *page = new TqvxReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        switch (layout) {
        case TPictureLayout::SmallViews: {
            TqvxBand *title = band<TqvxReportTitle>(page, 130);
            for (int i = 0; i < count; ++i)
                view(title, i, i * 140, 120, 120)->SetFileLink(fileName);
            break;
        }
        case TPictureLayout::OwnSize: {
            const double pixelsPerMm = 96 / 25.4;
            const int width = pictureSize.width();
            const int height = pictureSize.height();
            page->SetPaperWidth(width / pixelsPerMm + page->LeftMargin() + page->RightMargin() + 1);
            page->SetPaperHeight(height / pixelsPerMm + page->TopMargin() + page->BottomMargin() + 1);
            TqvxBand *title = band<TqvxReportTitle>(page, height);
            title->SetWidth(width);
            view(title, 0, 0, width, height)->SetFileLink(fileName);
            break;
        }
        case TPictureLayout::BandRows: {
            auto *rows = band<TqvxMasterData>(page, 100);
            rows->SetRowCount(count);
            view(rows, 0, 0, 90, 90)->Picture()->LoadFromFile(fileName);
            break;
        }
        }
    }

    bool exportTo(const QString &fileName) { return ExportToPdfFile(report.get(), fileName); }

    std::unique_ptr<TqvxReport> report = std::make_unique<TqvxReport>();

private:
    template <class Band>
    static Band *band(TqvxReportPage *page, double height)
    {
        auto *made = new Band(page);
        made->SetName(QStringLiteral("Band1"));
        made->SetBounds(0, 0, 718, height);
        return made;
    }

    static TqvxPictureView *view(TqvxBand *band, int number, double left, double width, double height)
    {
        auto *made = new TqvxPictureView(band);
        made->SetName(QStringLiteral("Picture%1").arg(number + 1));
        made->SetBounds(left, 0, width, height);
        return made;
    }
};
