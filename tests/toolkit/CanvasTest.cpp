#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/FaceRuns.h"
#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/TextShaping.h"

#include "common/FontPlacement.h"
#include "common/ScriptSamples.h"
#include "common/TestSupport.h"

#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <fontconfig/fontconfig.h>

namespace {

// A white image with a canvas on it.
struct Surface {
    QImage image;
    TCanvas canvas;

    explicit Surface(int width = 40, int height = 30) : image(width, height, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        canvas.SetDevice(&image);
    }
    // Arial of that pixel height, drawn without a background.
    void useArial(int height)
    {
        canvas.Font()->SetName(QStringLiteral("Arial"));
        canvas.Font()->SetHeight(-height);
        canvas.Brush()->SetStyle(bsClear);
    }
    TColor at(int x, int y)
    {
        canvas.ReleaseHandle();
        return QColorToColor(image.pixelColor(x, y));
    }
};

TEST(CanvasRules, FillRectExcludesRightAndBottomEdges)
{
    Surface s;
    s.canvas.Brush()->SetColor(clRed);
    s.canvas.FillRect(Rect(2, 3, 10, 8));
    EXPECT_EQ(s.at(2, 3), clRed);
    EXPECT_EQ(s.at(9, 7), clRed);
    EXPECT_EQ(s.at(10, 7), clWhite);
    EXPECT_EQ(s.at(9, 8), clWhite);
    EXPECT_EQ(s.at(1, 3), clWhite);
}

TEST(CanvasRules, RectangleFramesItsOuterPixels)
{
    Surface s;
    s.canvas.Brush()->SetColor(clYellow);
    s.canvas.Rectangle(5, 5, 15, 12);
    EXPECT_EQ(s.at(5, 5), clBlack);
    EXPECT_EQ(s.at(14, 11), clBlack);
    EXPECT_EQ(s.at(14, 5), clBlack);
    EXPECT_EQ(s.at(5, 11), clBlack);
    EXPECT_EQ(s.at(6, 6), clYellow);
    EXPECT_EQ(s.at(13, 10), clYellow);
    EXPECT_EQ(s.at(15, 8), clWhite);
    EXPECT_EQ(s.at(10, 12), clWhite);
}

TEST(CanvasRules, LineToLeavesTheEndPixel)
{
    Surface s;
    s.canvas.MoveTo(2, 4);
    s.canvas.LineTo(12, 4);
    EXPECT_EQ(s.at(2, 4), clBlack);
    EXPECT_EQ(s.at(11, 4), clBlack);
    EXPECT_EQ(s.at(12, 4), clWhite);
    EXPECT_EQ(s.canvas.PenPos(), Point(12, 4));

    s.canvas.MoveTo(20, 2);
    s.canvas.LineTo(20, 9);
    EXPECT_EQ(s.at(20, 8), clBlack);
    EXPECT_EQ(s.at(20, 9), clWhite);
}

TEST(CanvasRules, XorPenDrawnTwiceRestoresThePixels)
{
    Surface s;
    s.canvas.Brush()->SetColor(clRed);
    s.canvas.FillRect(Rect(0, 0, 40, 10));
    s.canvas.Pen()->SetMode(pmXor);
    s.canvas.Pen()->SetColor(clWhite);
    for (int pass = 0; pass < 2; ++pass) {
        s.canvas.MoveTo(0, 5);
        s.canvas.LineTo(30, 5);
        EXPECT_EQ(s.at(3, 5), pass == 0 ? TColor(0xFFFF00) : clRed);
        EXPECT_EQ(s.at(3, 15), clWhite);
    }
    s.canvas.Pen()->SetMode(pmNot);
    s.canvas.MoveTo(0, 20);
    s.canvas.LineTo(10, 20);
    EXPECT_EQ(s.at(5, 20), clBlack);
}

TEST(CanvasRules, PixelsReadAndWrite)
{
    Surface s;
    s.canvas.SetPixel(7, 8, clNavy);
    EXPECT_EQ(s.canvas.Pixel(7, 8), clNavy);
    EXPECT_EQ(s.canvas.Pixel(8, 8), clWhite);
    EXPECT_EQ(s.canvas.Pixel(-1, 0), clNone);
}

TEST(CanvasRules, CanvasWithoutDeviceMeasuresButDoesNotDraw)
{
    TCanvas canvas;
    EXPECT_GT(canvas.TextWidth(QStringLiteral("abc")), 0);
    try {
        canvas.FillRect(Rect(0, 0, 5, 5));
        FAIL() << "drawing without a device";
    } catch (const EInvalidOperation &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Canvas does not allow drawing"));
    }
    EXPECT_THROW(canvas.TextOut(0, 0, QStringLiteral("x")), EInvalidOperation);
}

TEST(CanvasClipping, IntersectExcludeAndRestore)
{
    Surface s;
    s.canvas.Brush()->SetColor(clBlue);
    s.canvas.SaveClip();
    s.canvas.IntersectClipRect(Rect(0, 0, 10, 10));
    s.canvas.ExcludeClipRect(Rect(0, 0, 5, 5));
    EXPECT_EQ(s.canvas.ClipRect(), Rect(0, 0, 10, 10));
    s.canvas.FillRect(Rect(0, 0, 40, 30));
    EXPECT_EQ(s.at(2, 2), clWhite);
    EXPECT_EQ(s.at(7, 2), clBlue);
    EXPECT_EQ(s.at(9, 9), clBlue);
    EXPECT_EQ(s.at(10, 9), clWhite);
    s.canvas.RestoreClip();
    EXPECT_EQ(s.canvas.ClipRect(), Rect(0, 0, 40, 30));
    s.canvas.FillRect(Rect(0, 0, 40, 30));
    EXPECT_EQ(s.at(2, 2), clBlue);

    // Disjoint clips leave nothing to paint.
    s.canvas.IntersectClipRect(Rect(0, 0, 5, 5));
    s.canvas.IntersectClipRect(Rect(10, 10, 15, 15));
    s.canvas.Brush()->SetColor(clRed);
    s.canvas.FillRect(Rect(0, 0, 40, 30));
    EXPECT_EQ(s.at(2, 2), clBlue);
    EXPECT_EQ(s.at(12, 12), clBlue);
}

TEST(CanvasEdges, RaisedAndSunkenEdgesUseTheClassicFourColours)
{
    Surface s;
    TRect rect = Rect(0, 0, 10, 10);
    s.canvas.DrawEdge(rect, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_EQ(s.at(0, 0), ColorToRGB(cl3DLight));
    EXPECT_EQ(s.at(9, 0), ColorToRGB(cl3DDkShadow)); // the dark edge owns the corner
    EXPECT_EQ(s.at(9, 9), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(s.at(1, 1), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(s.at(8, 8), ColorToRGB(clBtnShadow));
    EXPECT_EQ(s.at(2, 2), clWhite);
    EXPECT_EQ(rect, Rect(2, 2, 8, 8));

    TRect sunken = Rect(20, 0, 30, 10);
    s.canvas.DrawEdge(sunken, EDGE_SUNKEN, BF_LEFT | BF_TOP | BF_MIDDLE);
    EXPECT_EQ(s.at(20, 5), ColorToRGB(clBtnShadow));
    EXPECT_EQ(s.at(21, 5), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(s.at(29, 9), ColorToRGB(clBtnFace)); // no right or bottom edge asked for
    EXPECT_EQ(sunken, Rect(20, 0, 30, 10));
}

TEST(CanvasPatterns, FocusRectTwiceRestoresAndHalftoneInverts)
{
    Surface s;
    s.canvas.DrawFocusRect(Rect(2, 2, 12, 8));
    EXPECT_EQ(s.at(2, 2), clBlack);
    EXPECT_EQ(s.at(3, 2), clWhite);
    EXPECT_EQ(s.at(4, 2), clBlack);
    EXPECT_EQ(s.at(5, 5), clWhite);
    s.canvas.DrawFocusRect(Rect(2, 2, 12, 8));
    EXPECT_EQ(s.at(2, 2), clWhite);
    EXPECT_EQ(s.at(4, 2), clWhite);

    s.canvas.Brush()->SetBitmap(AllocPatternBitmap(clBlack, clWhite));
    s.canvas.PatBlt(Rect(20, 10, 30, 20), PATINVERT);
    EXPECT_EQ(s.at(20, 10), clWhite);
    EXPECT_EQ(s.at(21, 10), clBlack);
    EXPECT_EQ(s.at(21, 11), clWhite);
    EXPECT_EQ(s.at(30, 10), clWhite);
}

TEST(CanvasImages, DrawLeavesOutTheTransparentColour)
{
    TBitmap bitmap;
    bitmap.SetSize(4, 4);
    bitmap.Canvas()->Brush()->SetColor(clLime);
    bitmap.Canvas()->FillRect(Rect(0, 0, 4, 4));
    bitmap.Canvas()->SetPixel(0, 3, clRed);
    bitmap.Canvas()->SetPixel(2, 1, clRed);
    EXPECT_EQ(bitmap.TransparentColor(), clRed); // the bottom-left pixel
    bitmap.SetTransparent(true);

    Surface s;
    s.canvas.Draw(10, 10, &bitmap);
    EXPECT_EQ(s.at(10, 10), clLime);
    EXPECT_EQ(s.at(12, 11), clWhite);
    EXPECT_EQ(s.at(13, 13), clLime);
    EXPECT_EQ(s.at(14, 14), clWhite);

    s.canvas.StretchDraw(Rect(20, 0, 28, 8), &bitmap);
    EXPECT_EQ(s.at(27, 7), clLime);
    EXPECT_EQ(s.at(20, 7), clWhite);
}

TEST(CanvasImages, CopyRectCopiesPixelsWithTheCopyMode)
{
    Surface source;
    source.canvas.Brush()->SetColor(clRed);
    source.canvas.FillRect(Rect(0, 0, 5, 5));
    Surface target;
    target.canvas.CopyRect(Rect(10, 10, 15, 15), &source.canvas, Rect(0, 0, 5, 5));
    EXPECT_EQ(target.at(10, 10), clRed);
    EXPECT_EQ(target.at(14, 14), clRed);
    EXPECT_EQ(target.at(15, 15), clWhite);

    target.canvas.SetCopyMode(cmSrcInvert);
    target.canvas.CopyRect(Rect(10, 10, 15, 15), &source.canvas, Rect(0, 0, 5, 5));
    EXPECT_EQ(target.at(12, 12), clBlack);

    TCanvas detached;
    EXPECT_THROW(target.canvas.CopyRect(Rect(0, 0, 2, 2), &detached, Rect(0, 0, 2, 2)), EInvalidOperation);
}

// --- Text --------------------------------------------------------------------

struct InkBox {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
};

InkBox inkOf(const QImage &image, QRgb background)
{
    InkBox box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF)) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

TEST(CanvasText, TextIsPlacedByTheTopLeftOfItsCell)
{
    Surface s(100, 50);
    s.useArial(20);
    TCanvas &canvas = s.canvas;
    const TFontMetrics metrics = canvas.FontMetrics();
    EXPECT_EQ(metrics.Ascent, 18);
    EXPECT_EQ(metrics.Descent, 4);
    EXPECT_EQ(canvas.TextHeight(QStringLiteral("^j")), 22);

    canvas.TextOut(10, 5, QStringLiteral("H"));
    canvas.ReleaseHandle();
    const InkBox ink = inkOf(s.image, qRgb(255, 255, 255));
    const int baseline = 5 + metrics.Ascent;
    EXPECT_EQ(ink.bottom, baseline - 1);       // H sits on the baseline
    EXPECT_NEAR(ink.top, baseline - 14, 1);     // cap height of 0.69 em
    EXPECT_NEAR(ink.left, 10 + 2, 1);           // left side bearing of 0.08 em
    EXPECT_EQ(canvas.PenPos(), Point(10 + canvas.TextWidth(QStringLiteral("H")), 5));
}

// Text printed through Qt's PDF print engine stays text in its own fonts,
// its glyphs where the screen draws them.
TEST(CanvasText, PrintedTextStaysTextWhereTheScreenDrawsIt)
{
    const auto draw = [](TCanvas &canvas) {
        canvas.Font()->SetName(QStringLiteral("Arial"));
        canvas.Font()->SetHeight(-40);
        canvas.Brush()->SetStyle(bsClear);
        canvas.TextOut(30, 20, QStringLiteral("Выключатель Hello"));
        canvas.Font()->SetStyle(TFontStyles(fsBold));
        canvas.TextOut(30, 100, QStringLiteral("Bold Жирный"));
    };
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(96);
        printer.setFullPage(true);
        printer.setPageSize(QPageSize(QSizeF(127, 63.5), QPageSize::Millimeter)); // 480 x 240 pixels
        TCanvas canvas;
        canvas.SetDevice(&printer);
        canvas.SetIsPrinter(true);
        draw(canvas);
        canvas.SetDevice(nullptr);
    }
    const auto run = [](const QString &program, const QStringList &arguments) {
        QProcess process;
        process.start(program, arguments);
        process.waitForFinished(60000);
        return QString::fromUtf8(process.readAllStandardOutput());
    };
    const QString fonts = run(QStringLiteral("pdffonts"), {pdf});
    EXPECT_TRUE(fonts.contains(QStringLiteral("LiberationSans "))) << fonts.toStdString();
    EXPECT_TRUE(fonts.contains(QStringLiteral("LiberationSans-Bold "))) << fonts.toStdString();
    const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), pdf,
                                                           QStringLiteral("-")});
    EXPECT_TRUE(text.contains(QStringLiteral("Выключатель Hello"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Bold Жирный"))) << text.toStdString();

    run(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-png"),
                                      QStringLiteral("-singlefile"), pdf, dir.filePath(QStringLiteral("page"))});
    const QImage printed(dir.filePath(QStringLiteral("page.png")));
    ASSERT_EQ(printed.size(), QSize(480, 240));
    Surface screen(480, 240);
    draw(screen.canvas);
    screen.canvas.ReleaseHandle();
    const InkBox onScreen = inkOf(screen.image, qRgb(255, 255, 255));
    const InkBox onPaper = inkOf(printed.convertToFormat(QImage::Format_RGB32), qRgb(255, 255, 255));
    EXPECT_NEAR(onPaper.left, onScreen.left, 1);
    EXPECT_NEAR(onPaper.top, onScreen.top, 1);
    EXPECT_NEAR(onPaper.right, onScreen.right, 1);
    EXPECT_NEAR(onPaper.bottom, onScreen.bottom, 1);
}

namespace {

// Font files of the tests' data that fontconfig offers by their family
// names while the object lives.
struct TestDataFaces {
    explicit TestDataFaces(std::initializer_list<const char *> files)
    {
        for (const char *file : files) {
            const QByteArray path = QByteArray(TEST_DATA_DIR "/fonts/") + file;
            FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8 *>(path.constData()));
        }
        TFontEngine::Clear();
    }
    ~TestDataFaces()
    {
        FcConfigAppFontClear(nullptr);
        TFontEngine::Clear();
    }
};

} // namespace

// A face one of whose character map subtables maps characters past its
// glyphs or past U+10FFFF, has its groups or segments out of order, lacks
// the closing segment or reads glyphs outside its glyph array, draws the
// glyphs of its usable subtable, as the same face with a sound map draws
// them, never those of the broken subtable (B for "A", a ring for "B",
// nothing for "A" or "C").
TEST(CanvasText, AFaceWithABrokenCharacterMapDrawsItsUsableSubtablesGlyphs)
{
    const TestDataFaces faces({"simple.ttf", "cmap12broken.ttf", "cmap12outoforder.ttf", "cmap12overlapping.ttf",
                               "cmap12reversed.ttf", "cmap12unsorted.ttf", "cmap4overlapping.ttf", "cmap4empty.ttf",
                               "cmap4unclosed.ttf", "cmap4toffff.ttf", "cmap4oddoffset.ttf", "cmap4ownoffsets.ttf",
                               "cmap12many.ttf", "cmap12pastunicode.ttf"});
    const auto draw = [](const QString &family) {
        Surface s(160, 50);
        s.canvas.Font()->SetName(family);
        s.canvas.Font()->SetHeight(-40);
        s.canvas.Brush()->SetStyle(bsClear);
        s.canvas.TextOut(5, 5, QStringLiteral("ABC"));
        s.canvas.ReleaseHandle();
        return s.image;
    };
    ASSERT_EQ(TFontEngine::Resolve(QStringLiteral("Test Sans"), false, false).Family, QStringLiteral("Test Sans"));
    const QImage sound = draw(QStringLiteral("Test Sans"));
    EXPECT_NE(inkOf(sound, qRgb(255, 255, 255)).right, -1) << "nothing drawn";
    for (const char *name : {"Test Broken Twelve", "Test Twelve Out Of Order", "Test Twelve Overlapping",
                             "Test Twelve Reversed", "Test Twelve Unsorted", "Test Four Overlapping",
                             "Test Four Empty", "Test Four Unclosed", "Test Four To FFFF", "Test Four Odd Offset",
                             "Test Four Own Offsets", "Test Many Twelve", "Test Twelve Past Unicode"}) {
        const QString family = QLatin1String(name);
        ASSERT_EQ(TFontEngine::Resolve(family, false, false).Family, family);
        EXPECT_EQ(draw(family), sound) << name;
    }
}

TEST(CanvasText, TextOutPaintsItsCellOnASolidBrush)
{
    Surface s;
    s.canvas.Font()->SetHeight(-12);
    s.canvas.Brush()->SetColor(clAqua);
    s.canvas.TextOut(3, 4, QStringLiteral("ab"));
    const int w = s.canvas.TextWidth(QStringLiteral("ab"));
    const int h = s.canvas.TextHeight(QStringLiteral("ab"));
    EXPECT_EQ(s.at(3, 4), clAqua);
    EXPECT_EQ(s.at(3 + w - 1, 4 + h - 1), clAqua);
    EXPECT_EQ(s.at(3 + w, 4), clWhite);
    EXPECT_EQ(s.at(3, 4 + h), clWhite);
}

TEST(CanvasText, MeasuringAgreesWithTheFontEngine)
{
    TCanvas canvas;
    canvas.Font()->SetName(QStringLiteral("Times New Roman"));
    canvas.Font()->SetHeight(-75);
    const QString text = QStringLiteral("Заказ ZMT-250, 3 полюса");
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Times New Roman"), false, false);
    const qint64 units = TextAdvance(*face, text);
    EXPECT_EQ(canvas.TextWidth(text), qRound64(units * 75.0 / face->UnitsPerEm()));

    const QList<int> extents = canvas.CharacterExtents(text);
    ASSERT_EQ(extents.size(), text.size());
    EXPECT_EQ(extents.last(), canvas.TextWidth(text));
    EXPECT_EQ(extents[0], canvas.TextWidth(text.left(1)));
    for (int i = 1; i < extents.size(); ++i)
        EXPECT_GE(extents[i], extents[i - 1]);
}

// Each extent is the running sum of design advances at the em size, rounded
// half away from zero; sizes of a power of two put many sums on a half.
TEST(CanvasText, ExtentsRoundEachRunningSumHalfAwayFromZero)
{
    TCanvas canvas;
    canvas.Font()->SetName(QStringLiteral("Arial"));
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    const QString text = QStringLiteral("Выключатель ZMT-250, 3P; In = 160 A");
    const QList<int> advances = CharacterAdvances(*face, text);
    int halves = 0;
    for (int size = 1; size <= 600; ++size) {
        canvas.Font()->SetHeight(-size);
        const QList<int> extents = canvas.CharacterExtents(text);
        ASSERT_EQ(extents.size(), text.size());
        const double scale = double(size) / face->UnitsPerEm();
        qint64 sum = 0;
        for (int i = 0; i < text.size(); ++i) {
            sum += advances[i];
            const double exact = sum * scale;
            halves += exact - std::floor(exact) == 0.5;
            ASSERT_EQ(extents[i], std::lround(exact)) << "size " << size << ", unit " << i;
        }
    }
    EXPECT_GT(halves, 0);
}

// The canvas keeps the face it measured with; every change of the font in
// between must still be seen.
TEST(CanvasText, MeasuringFollowsEachChangeOfTheFont)
{
    TCanvas canvas;
    const QString text = QStringLiteral("Заказ ZMT-250");
    auto widthWith = [&](const QString &name, int height, TFontStyles style) {
        canvas.Font()->SetName(name);
        canvas.Font()->SetHeight(height);
        canvas.Font()->SetStyle(style);
        return canvas.TextWidth(text);
    };
    const int arial = widthWith(QStringLiteral("Arial"), -40, {});
    const int twice = widthWith(QStringLiteral("Arial"), -80, {});
    EXPECT_EQ(canvas.CharacterExtents(text).last(), twice);
    EXPECT_NEAR(twice, 2 * arial, 2);
    EXPECT_NE(widthWith(QStringLiteral("Arial"), -40, TFontStyles(fsBold)), arial);
    EXPECT_NE(widthWith(QStringLiteral("Courier New"), -40, {}), arial);
    EXPECT_EQ(widthWith(QStringLiteral("Arial"), -40, {}), arial);
    EXPECT_EQ(canvas.FontMetrics().Height, canvas.TextHeight(text));
    EXPECT_GT(canvas.FontMetrics().Height, 40);

    // Faces loaded again after the engine let them go measure the same.
    TFontEngine::Clear();
    EXPECT_EQ(canvas.TextWidth(text), arial);
}

TEST(CanvasText, RotatedFontsTurnTheLineAboutItsOrigin)
{
    Surface s(60, 120);
    s.useArial(20);
    s.canvas.Font()->SetOrientation(900); // reads upwards
    s.canvas.TextOut(10, 110, QStringLiteral("HHHH"));
    s.canvas.ReleaseHandle();
    const InkBox ink = inkOf(s.image, qRgb(255, 255, 255));
    EXPECT_GE(ink.left, 10);
    EXPECT_LT(ink.right, 10 + 22);
    EXPECT_LT(ink.bottom, 110);
    EXPECT_NEAR(ink.top, 110 - s.canvas.TextWidth(QStringLiteral("HHHH")), 3);
}

TEST(CanvasText, PositiveHeightIsTheCellHeight)
{
    TCanvas canvas;
    canvas.Font()->SetName(QStringLiteral("Arial"));
    canvas.Font()->SetHeight(23);
    EXPECT_EQ(canvas.TextHeight(QStringLiteral("x")), 23);
    EXPECT_EQ(canvas.FontMetrics().InternalLeading, 23 - qRound(23 * 2048.0 / (1854 + 434)));
}

// The first column from `from` on with a dark pixel in rows 0..height-1.
int firstDarkColumn(const QImage &image, int from)
{
    for (int x = from; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128)
                return x;
    return -1;
}

TEST(CanvasText, ExtTextOutHonoursAdvancesClipAndOpaqueRect)
{
    Surface s(120, 40);
    s.useArial(20);
    TCanvas &canvas = s.canvas;
    QImage &image = s.image;

    const QList<int> dx{60, 10};
    canvas.ExtTextOut(5, 2, 0, nullptr, QStringLiteral("ll"), &dx);
    canvas.ReleaseHandle();
    const int first = firstDarkColumn(image, 0);
    ASSERT_GE(first, 5);
    EXPECT_EQ(firstDarkColumn(image, first + 5), first + 60);

    image.fill(Qt::white);
    canvas.Brush()->SetColor(clYellow);
    const TRect rect = Rect(0, 0, 70, 30);
    canvas.ExtTextOut(5, 2, ETO_OPAQUE | ETO_CLIPPED, &rect, QStringLiteral("WWWWWWWWWW"));
    canvas.ReleaseHandle();
    EXPECT_EQ(QColorToColor(image.pixelColor(69, 29)), clYellow);
    EXPECT_EQ(firstDarkColumn(image.copy(70, 0, 50, 40), 0), -1); // clipped at the right edge
    EXPECT_EQ(firstDarkColumn(image.copy(0, 30, 120, 10), 0), -1);
}

TEST(CanvasShapes, EllipsePolygonAndPolylineStayInsideTheirBounds)
{
    Surface s;
    s.canvas.Brush()->SetColor(clRed);
    s.canvas.Pen()->SetStyle(psClear);
    s.canvas.Ellipse(0, 0, 20, 10);
    EXPECT_EQ(s.at(10, 5), clRed);
    EXPECT_EQ(s.at(0, 0), clWhite);
    EXPECT_EQ(s.at(20, 5), clWhite);
    EXPECT_EQ(s.at(10, 10), clWhite);

    s.canvas.Pen()->SetStyle(psSolid);
    s.canvas.Polygon({Point(25, 0), Point(35, 0), Point(35, 10), Point(25, 10)});
    EXPECT_EQ(s.at(30, 5), clRed);
    EXPECT_EQ(s.at(25, 0), clBlack);

    s.canvas.Polyline({Point(0, 20), Point(10, 20), Point(10, 28)});
    EXPECT_EQ(s.at(0, 20), clBlack);
    EXPECT_EQ(s.at(10, 20), clBlack);
    EXPECT_EQ(s.at(10, 27), clBlack);
    EXPECT_EQ(s.at(10, 28), clWhite); // the last point is left out

    s.canvas.Brush()->SetStyle(bsHorizontal);
    s.canvas.Brush()->SetColor(clBlue);
    s.canvas.FillRect(Rect(20, 20, 40, 30));
    int blue = 0, white = 0;
    for (int y = 20; y < 30; ++y) {
        blue += s.at(30, y) == clBlue;
        white += s.at(30, y) == clWhite;
    }
    EXPECT_GT(blue, 0);  // hatch lines
    EXPECT_GT(white, 0); // and the background left alone between them
}

// Characters the font's face lacks are measured and drawn with the face
// that stands in for them (the first one fontconfig offers): Chinese,
// Hangul and Arabic in Arial measure as in their own faces, alone and after
// Cyrillic, and Chinese looks exactly as drawn in its own face.  A
// character no face has (Thai here) takes the width of the U+FFFD that is
// shown for each of its clusters.
TEST(CanvasText, CharactersTheFaceLacksAreMeasuredAndDrawnWithTheirStandIn)
{
    constexpr int size = 20;
    Surface arial(260, 40);
    arial.useArial(size);
    const TFontFacePtr liberation = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    const auto exactWidth = [](const TFontFacePtr &face, const QString &text) {
        return double(TextAdvance(*face, text)) * size / face->UnitsPerEm();
    };
    // Words without blanks: a blank comes from Arial's own face.
    for (const QString &text : {QStringLiteral("北京市朝阳区建国路"), QStringLiteral("서울특별시강남구"),
                                QStringLiteral("المشتريات")}) {
        SCOPED_TRACE(text.toStdString());
        const TFontFacePtr standIn = TFontEngine::CoveringFace(text.front().unicode(), false, false);
        ASSERT_TRUE(standIn);
        ASSERT_TRUE(FaceCoversText(*standIn, text));
        EXPECT_EQ(arial.canvas.TextWidth(text), std::lround(exactWidth(standIn, text)));
        const QString mixed = QStringLiteral("тел. ") + text;
        EXPECT_NEAR(arial.canvas.TextWidth(mixed),
                    exactWidth(liberation, QStringLiteral("тел. ")) + exactWidth(standIn, text), 1);
        const QList<int> extents = arial.canvas.CharacterExtents(mixed);
        ASSERT_EQ(extents.size(), mixed.size());
        EXPECT_EQ(extents.last(), arial.canvas.TextWidth(mixed));
    }

    const QString chinese = QStringLiteral("北京市朝阳区建国路");
    const TFontFacePtr chineseFace = TFontEngine::CoveringFace(chinese.front().unicode(), false, false);
    ASSERT_TRUE(chineseFace);
    const TFontFile standIn = chineseFace->File();
    EXPECT_TRUE(standIn.Family.startsWith(QStringLiteral("WenQuanYi"))) << standIn.Family.toStdString();
    Surface own(260, 40);
    own.canvas.Font()->SetName(standIn.Family);
    own.canvas.Font()->SetHeight(-size);
    own.canvas.Brush()->SetStyle(bsClear);
    ASSERT_EQ(TFontEngine::Resolve(standIn.Family, false, false).FileName, standIn.FileName);
    // Both lines on one baseline.
    arial.canvas.TextOut(4, 10, chinese);
    own.canvas.TextOut(4, 10 + arial.canvas.FontMetrics().Ascent - own.canvas.FontMetrics().Ascent, chinese);
    arial.canvas.ReleaseHandle();
    own.canvas.ReleaseHandle();
    EXPECT_NE(inkOf(arial.image, qRgb(255, 255, 255)).right, -1);
    EXPECT_EQ(arial.image, own.image);

    const QString thai = QStringLiteral("กขคง");
    const QString replacement = QStringLiteral("\uFFFD");
    const TFontFacePtr shownBy = FaceCoversText(*liberation, replacement)
        ? liberation
        : TFontEngine::CoveringFace(0xFFFD, false, false);
    if (!TFontEngine::CoveringFace(thai.front().unicode(), false, false)) {
        EXPECT_EQ(arial.canvas.TextWidth(thai), std::lround(4 * exactWidth(shownBy, replacement)));
    }
}

// An emoji measures the same after Thai, Devanagari or Sinhala as alone
// and after Latin, though Qt's boundary finder breaks its surrogate pair in
// such lines.
TEST(CanvasText, AnEmojiAfterThaiOrIndicTextMeasuresAsAlone)
{
    Surface arial;
    arial.useArial(20);
    for (const QString &emoji : {QStringLiteral("👩"), QStringLiteral("😀"), QStringLiteral("👍")}) {
        const int alone = arial.canvas.TextWidth(emoji);
        for (const QString &before : {QStringLiteral("a "), QStringLiteral("ก "), QStringLiteral("नमस्ते "),
                                      QStringLiteral("ශ්‍රී ")}) {
            SCOPED_TRACE((before + emoji).toStdString());
            EXPECT_NEAR(arial.canvas.TextWidth(before + emoji) - arial.canvas.TextWidth(before), alone, 1);
        }
    }
}

// Characters that show nothing (joiners, variation selectors, direction
// marks, the byte-order mark, the soft hyphen) take no room and draw
// nothing: a word with five of them inside measures and draws as without.
TEST(CanvasText, CharactersThatShowNothingTakeNoRoom)
{
    Surface plain(200, 40);
    plain.useArial(20);
    plain.canvas.TextOut(4, 8, QStringLiteral("abcd end"));
    plain.canvas.ReleaseHandle();
    const int width = plain.canvas.TextWidth(QStringLiteral("abcd end"));
    for (const char16_t c : InvisibleCharacters()) {
        SCOPED_TRACE(int(c));
        const QString text = QStringLiteral("ab") + QString(5, QChar(c)) + QStringLiteral("cd end");
        Surface s(200, 40);
        s.useArial(20);
        EXPECT_EQ(s.canvas.TextWidth(text), width);
        const QList<int> extents = s.canvas.CharacterExtents(text);
        EXPECT_EQ(extents[1], extents[6]);
        EXPECT_EQ(extents.last(), width);
        s.canvas.TextOut(4, 8, text);
        s.canvas.ReleaseHandle();
        EXPECT_EQ(s.image, plain.image);
    }
    // The heart as keyboards type it measures as the heart alone.
    Surface s;
    s.useArial(20);
    EXPECT_EQ(s.canvas.TextWidth(QStringLiteral("\u2764\uFE0F end")), s.canvas.TextWidth(QStringLiteral("\u2764 end")));
}

// A cluster drawn by the canvas at 40 pixels against its glyphs drawn
// where HarfBuzz places them, from the same face at the same size: the
// pictures differ by less than half a pixel's shift anywhere.
void expectDrawnWhereTheFontPlacesThem(const QString &fontName, const TFontFacePtr &face, const QString &text)
{
    SCOPED_TRACE(text.toStdString());
    constexpr int size = 40;
    Surface drawn(200, 100);
    drawn.canvas.Font()->SetName(fontName);
    drawn.canvas.Font()->SetHeight(-size);
    drawn.canvas.Brush()->SetStyle(bsClear);
    const int ascent = drawn.canvas.FontMetrics().Ascent;
    drawn.canvas.TextOut(40, 20, text);
    drawn.canvas.ReleaseHandle();

    int unitsPerEm = 0;
    const QList<TPlacedGlyph> placed =
        HarfBuzzPlacement(face->FileData(), unsigned(face->File().FaceIndex), text, &unitsPerEm);
    const double scale = double(size) / unitsPerEm;
    QList<quint32> glyphs;
    QList<QPointF> positions;
    for (const TPlacedGlyph &glyph : placed) {
        glyphs.append(glyph.Glyph);
        positions.append(QPointF(glyph.X * scale, ascent - glyph.Y * scale));
    }
    QGlyphRun run;
    run.setRawFont(QRawFont(face->FileData(), size, QFont::PreferNoHinting));
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    QImage expected(drawn.image.size(), QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setPen(Qt::black);
    painter.translate(40, 20);
    painter.drawGlyphRun(QPointF(0, 0), run);
    painter.end();

    EXPECT_NE(inkOf(drawn.image, qRgb(255, 255, 255)).right, -1) << "nothing drawn";
    EXPECT_LT(GreatestGreyDifference(drawn.image, expected), 128);
}

// Marks are drawn where the font's mark positioning puts them: above and
// below Hebrew letters in Arial's face, Arabic harakat in DejaVu Sans;
// Latin letters, which the shaper does not move, are the control.
TEST(CanvasText, MarksAreDrawnWhereTheFontPlacesThem)
{
    const TFontFacePtr arial = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    for (const QString &text : {QStringLiteral("\u05D1\u05BC\u05B0"), QStringLiteral("\u05E9\u05C1\u05B8"),
                                QStringLiteral("\u05DC\u05B9"), QStringLiteral("Hag")})
        expectDrawnWhereTheFontPlacesThem(QStringLiteral("Arial"), arial, text);
    const TFontFacePtr dejaVu = TFontEngine::Face(QStringLiteral("DejaVu Sans"), false, false);
    for (const QString &text :
         {QStringLiteral("\u0628\u0650"), QStringLiteral("\u0633\u0652"), QStringLiteral("\u0628\u0651\u064E")})
        expectDrawnWhereTheFontPlacesThem(QStringLiteral("DejaVu Sans"), dejaVu, text);
}

// Thai vowels and tone marks stack above a consonant, in the face that
// stands in for Arial's missing Thai.
TEST(CanvasText, ThaiMarksStackWhereTheFontPlacesThem)
{
    const TFontFacePtr thai = TFontEngine::CoveringFace(0x0E1B, false, false);
    if (!thai)
        GTEST_SKIP() << "no installed face has Thai letters";
    for (const QString &text : {QStringLiteral("\u0E1B\u0E31\u0E49"), QStringLiteral("\u0E1F\u0E37\u0E48"),
                                QStringLiteral("\u0E19\u0E31\u0E48")})
        expectDrawnWhereTheFontPlacesThem(QStringLiteral("Arial"), thai, text);
}

TEST(CanvasRules, LockIsRecursive)
{
    TCanvas canvas;
    canvas.Lock();
    canvas.Lock();
    EXPECT_EQ(canvas.LockCount(), 2);
    canvas.Unlock();
    EXPECT_TRUE(canvas.TryLock());
    canvas.Unlock();
    canvas.Unlock();
    EXPECT_EQ(canvas.LockCount(), 0);
}

} // namespace
