#include "FontTestSupport.h"
#include "ToolTestSupport.h"

#include "common/TestSupport.h"
#include "toolkit/graphics/FontEngine.h"

#include <QFile>
#include <QTemporaryDir>

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

namespace {

QString writeTemporary(const QTemporaryDir &dir, const QByteArray &font)
{
    const QString path = dir.filePath(QStringLiteral("font.ttf"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(font);
    return path;
}

struct Outline {
    bool loaded = false;
    QList<FT_Vector> points;
    QByteArray tags;
    QList<short> contours;

    bool operator==(const Outline &other) const
    {
        if (loaded != other.loaded || tags != other.tags || contours != other.contours
            || points.size() != other.points.size())
            return false;
        for (qsizetype i = 0; i < points.size(); ++i)
            if (points[i].x != other.points[i].x || points[i].y != other.points[i].y)
                return false;
        return true;
    }
};

Outline outlineOf(FT_Face face, int glyph)
{
    Outline outline;
    if (FT_Load_Glyph(face, FT_UInt(glyph), FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING) != 0)
        return outline;
    const FT_Outline &o = face->glyph->outline;
    outline.loaded = true;
    outline.points = QList<FT_Vector>(o.points, o.points + o.n_points);
    outline.tags = QByteArray(reinterpret_cast<const char *>(o.tags), o.n_points);
    outline.contours = QList<short>(o.contours, o.contours + o.n_contours);
    return outline;
}

} // namespace

QString fontToolsPython()
{
    return QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                              : QStringLiteral("python3");
}

QByteArray testFont(const QString &name)
{
    QFile file(testDataPath(QStringLiteral("fonts/") + name));
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

InstalledFont installedFont(const QString &family, bool bold, bool italic)
{
    const TFontFacePtr face = TFontEngine::Face(family, bold, italic);
    return {face->FileData(), face->File().FaceIndex};
}

QString otsComplaint(const QByteArray &font)
{
    QTemporaryDir dir;
    QString output;
    const int code = runTool(QStringLiteral("ots-sanitize"),
                             {writeTemporary(dir, font), dir.filePath(QStringLiteral("out.ttf"))}, &output);
    return code == 0 ? QString() : QStringLiteral("ots-sanitize (%1): %2").arg(code).arg(output);
}

QString fontToolsComplaint(const QByteArray &font)
{
    QTemporaryDir dir;
    const QString script = QStringLiteral(
        "import sys\n"
        "from fontTools.ttLib import TTFont\n"
        "f = TTFont(sys.argv[1], checkChecksums=2)\n"
        "for tag in f.keys():\n"
        "    f[tag]\n");
    QString output;
    const int code = runTool(fontToolsPython(), {QStringLiteral("-c"), script, writeTemporary(dir, font)}, &output);
    return code == 0 ? QString() : QStringLiteral("fontTools (%1): %2").arg(code).arg(output);
}

QString fontToolsOutput(const QByteArray &font, const QString &code)
{
    QTemporaryDir dir;
    const QString script = QStringLiteral("import sys\nfrom fontTools.ttLib import TTFont\nf = TTFont(sys.argv[1])\n")
        + code;
    QString output;
    runTool(fontToolsPython(), {QStringLiteral("-c"), script, writeTemporary(dir, font)}, &output);
    return output.trimmed();
}

QList<int> glyphsWithOtherOutlines(const QByteArray &original, int faceIndex, const QByteArray &subset,
                                   const QList<int> &glyphs)
{
    FT_Library library = nullptr;
    FT_Init_FreeType(&library);
    FT_Face before = nullptr, after = nullptr;
    QList<int> differing;
    const bool opened =
        FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte *>(original.constData()), original.size(),
                           faceIndex, &before) == 0
        && FT_New_Memory_Face(library, reinterpret_cast<const FT_Byte *>(subset.constData()), subset.size(), 0,
                              &after) == 0;
    for (int g : glyphs) {
        if (!opened) {
            differing.append(g);
            continue;
        }
        const Outline expected = outlineOf(before, g);
        if (expected.loaded && !(outlineOf(after, g) == expected))
            differing.append(g);
    }
    if (after)
        FT_Done_Face(after);
    if (before)
        FT_Done_Face(before);
    FT_Done_FreeType(library);
    return differing;
}

quint32 wholeFileSum(const QByteArray &font)
{
    QByteArray padded = font;
    padded.append(QByteArray((4 - font.size() % 4) % 4, '\0'));
    quint32 sum = 0;
    for (qsizetype i = 0; i < padded.size(); i += 4)
        sum += TTF_Helpers::ReadU32(padded, i);
    return sum;
}

TableLocation findTable(const QByteArray &font, quint32 tag, qint64 faceOffset)
{
    const quint16 count = TTF_Helpers::ReadU16(font, faceOffset + 4);
    for (int i = 0; i < count; ++i) {
        const qint64 entry = faceOffset + 12 + 16 * i;
        if (TTF_Helpers::ReadU32(font, entry) == tag)
            return {TTF_Helpers::ReadU32(font, entry + 8), TTF_Helpers::ReadU32(font, entry + 12)};
    }
    return {};
}

QByteArray glyphBytes(const QByteArray &font, int g, qint64 faceOffset)
{
    const TableLocation head = findTable(font, "head", faceOffset);
    const TableLocation loca = findTable(font, "loca", faceOffset);
    const TableLocation glyf = findTable(font, "glyf", faceOffset);
    const bool isShort = TTF_Helpers::ReadS16(font, head.offset + 50) == 0;
    auto location = [&](int index) -> qint64 {
        return isShort ? 2 * qint64(TTF_Helpers::ReadU16(font, loca.offset + 2 * index))
                       : qint64(TTF_Helpers::ReadU32(font, loca.offset + 4 * index));
    };
    return font.mid(glyf.offset + location(g), location(g + 1) - location(g));
}
