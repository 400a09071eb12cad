// Decoding and encoding PNG pictures: a 4000 x 3000 RGB photo-like image
// and a 2000 x 2000 palette image, each beside libpng on the same data.
// Reading a small picture while 1,000 or 32,000 other pictures read from
// distinct bytes are alive, once from the bytes of a live picture (whose
// decoded pixels it takes) and once from bytes no picture holds, beside
// libpng decoding the same bytes.  The ratios of our time to libpng's, and
// of a read beside 32,000 live pictures to one beside 1,000, are printed
// after the run.

#include "codecs/png/qvxPngHeader.h"
#include "codecs/png/qvxPngImage.h"
#include "toolkit/classes/Streams.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <QImage>

#include <chrono>
#include <cmath>
#include <cstring>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Smooth gradients with fine noise, as a photograph has.
QImage photoLike(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    quint32 seed = 12345;
    for (int y = 0; y < height; ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            seed = seed * 1103515245u + 12345u;
            const int noise = int((seed >> 16) & 7) - 3;
            const int r = int(128 + 100 * std::sin(x * 0.003) * std::cos(y * 0.002)) + noise;
            const int g = int(128 + 90 * std::sin((x + y) * 0.0025)) + noise;
            const int b = int(128 + 80 * std::cos(x * 0.001 - y * 0.004)) + noise;
            line[x] = qRgb(std::clamp(r, 0, 255), std::clamp(g, 0, 255), std::clamp(b, 0, 255));
        }
    }
    return image;
}

QImage paletted(int width, int height)
{
    QImage image(width, height, QImage::Format_Indexed8);
    QList<QRgb> colors;
    for (int i = 0; i < 256; ++i)
        colors.append(qRgb(i, 255 - i, (i * 7) & 255));
    image.setColorTable(colors);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.scanLine(y)[x] = uchar(((x / 16) ^ (y / 16)) + ((x * y) >> 12));
    return image;
}

QByteArray encodeOurs(const QImage &image)
{
    TPNGObject png;
    png.AssignHandle(image, false, 0);
    TMemoryStream stream;
    png.SaveToStream(&stream);
    return stream.Bytes();
}

void decodeOurs(const QByteArray &bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes);
    stream.SetPosition(0);
    TPNGObject png;
    png.LoadFromStream(&stream);
    benchmark::DoNotOptimize(png.Header()->Image.constBits());
}

// libpng decoding to the file's own samples (palette indices stay indices).
void decodeLibpng(const QByteArray &bytes)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    struct Source {
        const QByteArray *bytes;
        qsizetype at;
    } source{&bytes, 0};
    png_set_read_fn(png, &source, [](png_structp p, png_bytep out, png_size_t count) {
        auto *s = static_cast<Source *>(png_get_io_ptr(p));
        std::memcpy(out, s->bytes->constData() + s->at, count);
        s->at += qsizetype(count);
    });
    png_read_info(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    std::vector<png_byte> pixels(rowBytes * height);
    std::vector<png_bytep> rows(height);
    for (png_uint_32 y = 0; y < height; ++y)
        rows[y] = pixels.data() + y * rowBytes;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(pixels.data());
}

QByteArray encodeLibpng(const QImage &image)
{
    png_image out{};
    out.version = PNG_IMAGE_VERSION;
    out.width = png_uint_32(image.width());
    out.height = png_uint_32(image.height());
    QImage source = image;
    std::vector<png_color> colormap;
    if (image.format() == QImage::Format_Indexed8) {
        out.format = PNG_FORMAT_RGB_COLORMAP;
        out.colormap_entries = png_uint_32(image.colorCount());
        for (QRgb c : image.colorTable())
            colormap.push_back({png_byte(qRed(c)), png_byte(qGreen(c)), png_byte(qBlue(c))});
    } else {
        source = image.convertToFormat(QImage::Format_RGB888);
        out.format = PNG_FORMAT_RGB;
    }
    png_alloc_size_t size = 0;
    png_image_write_get_memory_size(out, size, 0, source.constBits(), source.bytesPerLine(),
                                    colormap.empty() ? nullptr : colormap.data());
    QByteArray bytes(qsizetype(size), Qt::Uninitialized);
    png_image_write_to_memory(&out, bytes.data(), &size, 0, source.constBits(), source.bytesPerLine(),
                              colormap.empty() ? nullptr : colormap.data());
    bytes.truncate(qsizetype(size));
    return bytes;
}

const QImage &testImage(bool photo)
{
    static const QImage photoImage = photoLike(4000, 3000);
    static const QImage paletteImage = paletted(2000, 2000);
    return photo ? photoImage : paletteImage;
}

std::map<std::string, double> &times()
{
    static std::map<std::string, double> t;
    return t;
}

// Keeps the mean time of a step of the run, for the ratios.
template <class Step>
void run(benchmark::State &state, const std::string &name, Step step)
{
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state)
        step();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    times()[name] = seconds / double(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

void Decode(benchmark::State &state, bool photo, bool ours)
{
    const QByteArray bytes = encodeOurs(testImage(photo));
    run(state, std::string(photo ? "photo" : "palette") + (ours ? " decode ours" : " decode libpng"),
        [&] { ours ? decodeOurs(bytes) : decodeLibpng(bytes); });
}

void Encode(benchmark::State &state, bool photo, bool ours)
{
    const QImage &image = testImage(photo);
    run(state, std::string(photo ? "photo" : "palette") + (ours ? " encode ours" : " encode libpng"),
        [&] { benchmark::DoNotOptimize(ours ? encodeOurs(image) : encodeLibpng(image)); });
}

// A 16 x 16 RGB picture whose pixels differ with index.
QByteArray smallPicture(int index)
{
    QImage image(16, 16, QImage::Format_RGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, qRgb(index & 0xFF, (index >> 8) & 0xFF, (x * 16 + y) & 0xFF));
    return encodeOurs(image);
}

// Pictures read from count distinct files, held alive.
struct LivePictures {
    explicit LivePictures(int count) : count(count)
    {
        for (int i = 0; i < count; ++i) {
            bytes.append(smallPicture(i));
            TMemoryStream stream;
            stream.WriteBuffer(bytes.back());
            stream.SetPosition(0);
            pictures.push_back(std::make_unique<TPNGObject>());
            pictures.back()->LoadFromStream(&stream);
        }
    }
    const int count;
    QList<QByteArray> bytes;
    std::vector<std::unique_ptr<TPNGObject>> pictures;
};

// The live pictures of the running benchmark, made again only when their
// count changes.
const LivePictures &livePictures(int count)
{
    static std::unique_ptr<LivePictures> held;
    if (!held || held->count != count) {
        held.reset();
        held = std::make_unique<LivePictures>(count);
    }
    return *held;
}

// Each step reads one picture, from the bytes of the next live picture
// (held) or from bytes no live picture has.  Held reads go round all the
// live pictures, so that beside 32,000 of them they meet bytes and pixels
// in memory colder than beside 1,000.
void ReadBesideLivePictures(benchmark::State &state, bool held, bool ours)
{
    const int live = int(state.range(0));
    const LivePictures &pictures = livePictures(live);
    const QByteArray other = smallPicture(live);
    int next = 0;
    const std::string name = std::string(held ? "held" : "new") + " read beside " + std::to_string(live) +
                             (ours ? " ours" : " libpng");
    run(state, name, [&] {
        const QByteArray &bytes = held ? pictures.bytes[next++ % live] : other;
        ours ? decodeOurs(bytes) : decodeLibpng(bytes);
    });
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK_CAPTURE(Decode, PhotoOurs, true, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, PhotoLibpng, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, PaletteOurs, false, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Decode, PaletteLibpng, false, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, PhotoOurs, true, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, PhotoLibpng, true, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, PaletteOurs, false, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Encode, PaletteLibpng, false, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ReadBesideLivePictures, HeldOurs, true, true)->Arg(1000)->Arg(32000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadBesideLivePictures, HeldLibpng, true, false)->Arg(1000)->Arg(32000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadBesideLivePictures, NewOurs, false, true)->Arg(1000)->Arg(32000)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(ReadBesideLivePictures, NewLibpng, false, false)->Arg(1000)->Arg(32000)->Unit(benchmark::kMicrosecond);

// Prints what ours / their is for the times of two runs, where both ran.
void printRatio(const std::string &label, const std::string &ours, const std::string &their)
{
    const auto mine = times().find(ours);
    const auto other = times().find(their);
    if (mine != times().end() && other != times().end() && other->second > 0)
        std::printf("%s = %.2f\n", label.c_str(), mine->second / other->second);
}

// Printed when the program ends, after every benchmark has run.
struct RatioReport {
    RatioReport() { times(); }
    ~RatioReport()
    {
        for (const char *image : {"photo", "palette"})
            for (const char *step : {"decode", "encode"}) {
                const std::string key = std::string(image) + " " + step;
                printRatio(key + ": ours / libpng", key + " ours", key + " libpng");
            }
        for (const std::string read : {"held", "new"}) {
            for (const char *live : {"1000", "32000"}) {
                const std::string key = read + " read beside " + live;
                printRatio(key + ": ours / libpng", key + " ours", key + " libpng");
            }
            printRatio(read + " read: beside 32000 / beside 1000 live pictures", read + " read beside 32000 ours",
                       read + " read beside 1000 ours");
        }
    }
} ratioReport;

} // namespace
