// The PngSuite: every valid image decodes to its expected pixels, every
// corrupt one raises its error.

#include "PngTestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The expected RGBA samples of an image, 8 bits a sample: the high bytes of
// 16-bit samples, which the picture keeps in its image.
QList<int> expectedPixels(const QString &image, int bitDepth)
{
    const QString base = PngSuiteDir() + QStringLiteral("/json/") + image;
    QList<int> values;
    for (const QJsonValue &v : QJsonDocument::fromJson(readFile(base + QStringLiteral(".json"))).array())
        values.append(bitDepth == 16 ? v.toInt() >> 8 : v.toInt());
    return values;
}

} // namespace

TEST(PngSuiteTest, ValidImagesDecodeToTheirPixelsThroughTheFileGamma)
{
    int checked = 0;
    for (const QString &name : PngSuiteNames()) {
        if (name.startsWith(QLatin1Char('x')))
            continue;
        SCOPED_TRACE(name.toStdString());
        std::unique_ptr<TPNGObject> png;
        ASSERT_NO_THROW(png = PngFromBytes(PngSuiteBytes(name)));
        const QList<int> expected = expectedPixels(name, png->Header()->BitDepth);
        const QImage shown = png->Image().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(expected.size(), qsizetype(shown.width()) * shown.height() * 4);
        int mismatches = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const qsizetype at = (qsizetype(y) * shown.width() + x) * 4;
                const QRgb pixel = shown.pixel(x, y);
                const int alpha = expected[at + 3];
                const bool same = qAlpha(pixel) == alpha &&
                                  (alpha == 0 || (qRed(pixel) == png->GammaTable[size_t(expected[at])] &&
                                                  qGreen(pixel) == png->GammaTable[size_t(expected[at + 1])] &&
                                                  qBlue(pixel) == png->GammaTable[size_t(expected[at + 2])]));
                if (!same && mismatches++ == 0)
                    ADD_FAILURE() << "first difference at " << x << "," << y << ": " << std::hex << pixel;
            }
        }
        EXPECT_EQ(mismatches, 0);
        ++checked;
    }
    EXPECT_GE(checked, 150);
}

TEST(PngSuiteTest, CorruptImagesRaiseTheirErrors)
{
    const QList<std::pair<const char *, const char *>> expected = {
        {"xc1n0g08", "EPngInvalidIHDR"},       {"xc9n2c08", "EPngInvalidIHDR"},
        {"xcrn0g04", "EPNGInvalidFileHeader"}, {"xcsn0g01", "EPngInvalidCRC"},
        {"xd0n2c08", "EPngInvalidIHDR"},       {"xd3n2c08", "EPngInvalidIHDR"},
        {"xd9n2c08", "EPngInvalidIHDR"},       {"xdtn0g01", "EPNGNoImageData"},
        {"xhdn0g08", "EPngInvalidCRC"},        {"xlfn0g04", "EPNGInvalidFileHeader"},
        {"xs1n0g01", "EPNGInvalidFileHeader"}, {"xs2n0g01", "EPNGInvalidFileHeader"},
        {"xs4n0g01", "EPNGInvalidFileHeader"}, {"xs7n0g01", "EPNGInvalidFileHeader"},
    };
    int corrupt = 0;
    for (const QString &name : PngSuiteNames())
        corrupt += name.startsWith(QLatin1Char('x'));
    EXPECT_EQ(corrupt, expected.size());
    for (const auto &[name, exception] : expected) {
        SCOPED_TRACE(name);
        try {
            PngFromBytes(PngSuiteBytes(QLatin1String(name)));
            ADD_FAILURE() << "no exception";
        } catch (const Exception &e) {
            EXPECT_EQ(e.ClassName(), QLatin1String(exception));
        }
    }
}
