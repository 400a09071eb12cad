// A picture file shown by several views of a report: every view is drawn
// as the first, whichever of them decoded the file.

#include "codecs/png/PngTestSupport.h"
#include "common/LargePictureReport.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "toolkit/graphics/Bitmap.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// The grey picture carries a palette chunk, which it ignores.  It is kept
// in the report and printed on two rows: the second row's view, which takes
// the pixels the first one decoded, is drawn grey as well.
TEST(RepeatedPictures, RowsOfAGreyPictureWithAPaletteChunkAreAllDrawnGrey)
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("grey.png"));
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(GreyPngWithPalette(PngSuiteBytes(QStringLiteral("basn0g08"))));
    file.close();

    TLargePictureReport test(fileName, QSize(32, 32), TPictureLayout::BandRows, 2);
    ASSERT_TRUE(test.report->PrepareReport()) << qPrintable(test.report->Errors()->Text());
    TBitmap page;
    page.SetSize(140, 240);
    TCanvas *canvas = page.Canvas();
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(TRect(0, 0, 140, 240));
    test.report->PreviewPages()->DrawPage(0, canvas, 1, 1, 0, 0);

    // The rows' views lie at the page's top left, 100 px apart, 90 x 90 each.
    int dark = 0;
    for (int y = 3; y < 88; y += 6) {
        for (int x = 3; x < 88; x += 6) {
            const TColor first = canvas->Pixel(x, y);
            const TColor second = canvas->Pixel(x, y + 100);
            EXPECT_EQ(second, first) << "at " << x << "," << y;
            EXPECT_TRUE((first & 0xFF) == ((first >> 8) & 0xFF) && (first & 0xFF) == ((first >> 16) & 0xFF))
                << "not grey at " << x << "," << y << ": " << std::hex << first;
            dark += (first & 0xFF) < 128;
        }
    }
    EXPECT_GT(dark, 0) << "the picture is drawn";
}
