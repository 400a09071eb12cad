#include "toolkit/graphics/Metafile.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include "common/TestSupport.h"

#include "toolkit/classes/Streams.h"
#include "toolkit/core/Exceptions.h"

#include <QImage>
#include <QtEndian>
#include <gtest/gtest.h>

#include <limits>

namespace {

void drawScene(TCanvas &canvas)
{
    canvas.Font()->SetName(QStringLiteral("Arial"));
    canvas.Font()->SetHeight(-12);
    canvas.Brush()->SetColor(clYellow);
    canvas.Rectangle(2, 2, 30, 20);
    canvas.Pen()->SetColor(clRed);
    canvas.MoveTo(0, 25);
    canvas.LineTo(40, 25);
    canvas.IntersectClipRect(Rect(0, 0, 20, 40));
    canvas.Brush()->SetStyle(bsClear);
    canvas.Font()->SetColor(clBlue);
    canvas.TextOut(4, 27, QStringLiteral("Заказ"));
}

QImage drawnDirectly()
{
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas;
    canvas.SetDevice(&image);
    drawScene(canvas);
    canvas.ReleaseHandle();
    return image;
}

TEST(RecordingCanvas, KeepsEveryCallWithItsToolsAndTextBounds)
{
    TRecordingCanvas recorder;
    drawScene(recorder);
    const TCanvasRecords &records = recorder.Records();
    ASSERT_EQ(records.size(), 5);
    EXPECT_EQ(records[0].Op, TCanvasOp::Rectangle);
    EXPECT_EQ(records[0].Bounds, Rect(2, 2, 30, 20));
    EXPECT_EQ(records[0].Brush.Color, clYellow);
    EXPECT_EQ(records[2].Op, TCanvasOp::LineTo);
    EXPECT_EQ(records[2].Pen.Color, clRed);
    const QList<TCanvasRecord> texts = recorder.TextRecords();
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0].Text, QStringLiteral("Заказ"));
    EXPECT_EQ(texts[0].Font.Color, clBlue);
    EXPECT_EQ(texts[0].Bounds, Bounds(4, 27, recorder.TextWidth(QStringLiteral("Заказ")), 14));
    EXPECT_EQ(recorder.PenPos().Y, 27);
    EXPECT_EQ(recorder.Pixel(3, 3), clNone);
}

TEST(RecordingCanvas, PlaysBackLikeDirectDrawing)
{
    TRecordingCanvas recorder;
    drawScene(recorder);

    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas target;
    target.SetDevice(&image);
    target.Brush()->SetColor(clGreen);
    PlayRecords(recorder.Records(), &target);
    EXPECT_EQ(target.Brush()->Color(), clGreen); // the target's tools come back
    EXPECT_EQ(target.ClipRect(), Rect(0, 0, 40, 40));
    target.ReleaseHandle();
    EXPECT_EQ(image, drawnDirectly());
}

TEST(Metafile, RecordsThroughItsCanvasAndDrawsScaled)
{
    TMetafile metafile;
    {
        TMetafileCanvas canvas(&metafile, 0);
        canvas.Brush()->SetColor(clRed);
        canvas.FillRect(Rect(0, 0, 10, 10));
        canvas.Brush()->SetColor(clBlue);
        canvas.FillRect(Rect(10, 10, 20, 20));
    }
    EXPECT_FALSE(metafile.Empty());
    EXPECT_EQ(metafile.Width(), 20);
    EXPECT_EQ(metafile.Height(), 20);

    QImage image(50, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    TCanvas canvas;
    canvas.SetDevice(&image);
    canvas.StretchDraw(Rect(10, 10, 50, 50), &metafile);
    canvas.ReleaseHandle();
    EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(29, 29), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(30, 30), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(49, 49), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(9, 9), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(49, 10), QColor(Qt::white));
}

// An enhanced metafile header with the bounds left, top, right, bottom.
QByteArray emfHeader(qint32 left, qint32 top, qint32 right, qint32 bottom)
{
    QByteArray data(88, '\0');
    qToLittleEndian<qint32>(1, data.data());
    qToLittleEndian<qint32>(88, data.data() + 4);
    const qint32 bounds[4] = {left, top, right, bottom};
    for (int i = 0; i < 4; ++i)
        qToLittleEndian<qint32>(bounds[i], data.data() + 8 + 4 * i);
    data.replace(40, 4, " EMF");
    return data;
}

bool loads(TMetafile &metafile, const QByteArray &data)
{
    TMemoryStream stream;
    stream.WriteBuffer(data);
    stream.SetPosition(0);
    try {
        metafile.LoadFromStream(&stream);
        return true;
    } catch (const EInvalidGraphic &) {
        return false;
    }
}

TEST(Metafile, HeaderBoundsGiveTheFrameAndAbsurdOnesAreRefused)
{
    TMetafile metafile;
    ASSERT_TRUE(loads(metafile, emfHeader(10, 20, 109, 69)));
    EXPECT_EQ(metafile.Width(), 100);
    EXPECT_EQ(metafile.Height(), 50);
    const qint32 most = std::numeric_limits<qint32>::max();
    const qint32 least = std::numeric_limits<qint32>::min();
    EXPECT_FALSE(loads(metafile, emfHeader(0, 0, 2000000000, 10)));
    EXPECT_FALSE(loads(metafile, emfHeader(least, 0, most, 10)));
    EXPECT_FALSE(loads(metafile, emfHeader(-2, 0, most - 1, 10)));
    EXPECT_FALSE(loads(metafile, emfHeader(0, most, 10, least)));
    EXPECT_FALSE(loads(metafile, emfHeader(5, 0, 4, 10)));
    EXPECT_FALSE(loads(metafile, emfHeader(0, 0, 22528, 12850)));
    EXPECT_EQ(metafile.Width(), 100);
}

} // namespace
