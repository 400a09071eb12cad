#include "toolkit/graphics/FontEngine.h"

#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/CharacterMap.h"

#include <QBitArray>
#include <QCoreApplication>
#include <QFile>
#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>
#include <optional>
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include <hb.h>

namespace {

FT_Library freeTypeLibrary()
{
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0)
            throw EInvalidOperation(QCoreApplication::translate("FontEngine", "The font library cannot be started"));
        return lib;
    }();
    return library;
}

class TCoveringFaces;

struct Caches {
    unsigned generation = 0;
    QHash<QString, TFontFile> resolved;
    QHash<QString, TFontFacePtr> faces;
    // Made when first asked for, from any thread that measures text.
    std::shared_ptr<TCoveringFaces> covering;
    std::mutex coveringLock;
};

// Never destroyed: the units' finalisation clears the caches, and that may
// run from an exit handler after the statics are gone.
Caches &caches()
{
    static Caches *const c = new Caches;
    return *c;
}

int rounded(double value) { return int(std::lround(value)); }

QString fcString(FcPattern *pattern, const char *object)
{
    FcChar8 *value = nullptr;
    if (FcPatternGetString(pattern, object, 0, &value) != FcResultMatch || !value)
        return QString();
    return QString::fromUtf8(reinterpret_cast<const char *>(value));
}

// The pattern of a style: weight and slant, with the configuration's
// substitutions applied.
FcPattern *stylePattern(FcPattern *pattern, bool bold, bool italic)
{
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    return pattern;
}

TFontFile fontFileOf(FcPattern *match)
{
    TFontFile file;
    file.FileName = fcString(match, FC_FILE);
    FcPatternGetInteger(match, FC_INDEX, 0, &file.FaceIndex);
    file.Family = fcString(match, FC_FAMILY);
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    file.Bold = weight >= FC_WEIGHT_DEMIBOLD;
    file.Italic = slant != FC_SLANT_ROMAN;
    return file;
}

// The faces fontconfig offers for characters, best first, each of which
// has the character.  Fontconfig's sort for a character puts the faces
// that have it first, and among those the first that has the request's
// language gains over the others; so its order depends on which faces have
// the character, not on the character itself (a sort without the
// character orders them differently).  Characters are grouped by the set
// of faces that have them, and each group is sorted once a style.
class TCoveringFaces
{
public:
    TCoveringFaces()
    {
        m_all = FcCharSetCreate();
        for (FcSetName set : {FcSetSystem, FcSetApplication})
            addCharsets(FcConfigGetFonts(nullptr, set));
    }
    ~TCoveringFaces()
    {
        for (FcCharSet *charset : std::as_const(m_charsets))
            FcCharSetDestroy(charset);
        FcCharSetDestroy(m_all);
    }
    TCoveringFaces(const TCoveringFaces &) = delete;
    TCoveringFaces &operator=(const TCoveringFaces &) = delete;

    QList<TFontFile> Faces(char32_t character, bool bold, bool italic)
    {
        const std::lock_guard lock(m_lock);
        if (!FcCharSetHasChar(m_all, FcChar32(character)))
            return {};
        const qsizetype group = groupOf(character);
        std::optional<QList<TFontFile>> &faces = m_sorted[group][(bold ? 2 : 0) + (italic ? 1 : 0)];
        if (!faces)
            faces = sortedFaces(character, bold, italic);
        return *faces;
    }

private:
    // Keeps each distinct character set of the fonts once; the sets of
    // equal size are compared.
    void addCharsets(const FcFontSet *fonts)
    {
        QMultiHash<FcChar32, FcCharSet *> bySize;
        for (FcCharSet *charset : std::as_const(m_charsets))
            bySize.insert(FcCharSetCount(charset), charset);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcCharSet *charset = nullptr;
            if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &charset) != FcResultMatch)
                continue;
            FcCharSetMerge(m_all, charset, nullptr);
            const FcChar32 size = FcCharSetCount(charset);
            const auto same = [charset](const FcCharSet *other) { return FcCharSetEqual(charset, other); };
            const auto sized = bySize.equal_range(size);
            if (std::any_of(sized.first, sized.second, same))
                continue;
            m_charsets.append(FcCharSetCopy(charset));
            bySize.insert(size, charset);
        }
    }

    // The group of a character: which of the distinct character sets have
    // it.
    qsizetype groupOf(char32_t character)
    {
        if (auto it = m_groupOf.constFind(character); it != m_groupOf.constEnd())
            return *it;
        QBitArray covering(m_charsets.size());
        for (qsizetype i = 0; i < m_charsets.size(); ++i)
            covering.setBit(i, FcCharSetHasChar(m_charsets[i], FcChar32(character)));
        auto group = m_groups.constFind(covering);
        if (group == m_groups.constEnd()) {
            group = m_groups.insert(covering, m_sorted.size());
            m_sorted.emplace_back();
        }
        m_groupOf.insert(character, *group);
        return *group;
    }

    static QList<TFontFile> sortedFaces(char32_t character, bool bold, bool italic)
    {
        FcCharSet *wanted = FcCharSetCreate();
        FcCharSetAddChar(wanted, FcChar32(character));
        FcPattern *pattern = FcPatternCreate();
        FcPatternAddCharSet(pattern, FC_CHARSET, wanted);
        FcCharSetDestroy(wanted);
        stylePattern(pattern, bold, italic);
        FcResult result = FcResultNoMatch;
        FcFontSet *sorted = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
        FcPatternDestroy(pattern);
        QList<TFontFile> files;
        for (int i = 0; sorted && i < sorted->nfont; ++i) {
            FcCharSet *charset = nullptr;
            if (FcPatternGetCharSet(sorted->fonts[i], FC_CHARSET, 0, &charset) != FcResultMatch
                || !FcCharSetHasChar(charset, FcChar32(character)))
                continue;
            TFontFile file = fontFileOf(sorted->fonts[i]);
            if (!file.FileName.isEmpty())
                files.append(file);
        }
        if (sorted)
            FcFontSetDestroy(sorted);
        return files;
    }

    std::mutex m_lock;
    QList<FcCharSet *> m_charsets; // each distinct character set of the faces once
    FcCharSet *m_all = nullptr; // every character some face has
    QHash<char32_t, qsizetype> m_groupOf;
    QHash<QBitArray, qsizetype> m_groups;
    // The faces of each group for each style (regular, italic, bold, bold
    // italic), sorted when first asked for.
    QList<std::array<std::optional<QList<TFontFile>>, 4>> m_sorted;
};

std::shared_ptr<TCoveringFaces> coveringFaces()
{
    Caches &c = caches();
    const std::lock_guard lock(c.coveringLock);
    if (!c.covering)
        c.covering = std::make_shared<TCoveringFaces>();
    return c.covering;
}

// The tables of a face, but for a character map of its own.
struct ReplacedCmap {
    hb_face_t *face;
    hb_blob_t *cmap;
};

hb_blob_t *referenceTable(hb_face_t *, hb_tag_t tag, void *data)
{
    const auto *tables = static_cast<const ReplacedCmap *>(data);
    if (tag == HB_TAG('c', 'm', 'a', 'p'))
        return hb_blob_reference(tables->cmap);
    return hb_face_reference_table(tables->face, tag);
}

void destroyTables(void *data)
{
    auto *tables = static_cast<ReplacedCmap *>(data);
    hb_blob_destroy(tables->cmap);
    hb_face_destroy(tables->face);
    delete tables;
}

// The face itself, or, when subtables of its character map are broken
// (toolkit/graphics/CharacterMap.h), the face shaping with the other
// subtables alone.  Takes the reference to face.
hb_face_t *withUsableCmap(hb_face_t *face)
{
    hb_blob_t *cmap = hb_face_reference_table(face, HB_TAG('c', 'm', 'a', 'p'));
    unsigned length = 0;
    const char *data = hb_blob_get_data(cmap, &length);
    std::optional<QByteArray> usable =
        CmapWithoutBrokenSubtables(QByteArrayView(data, length), hb_face_get_glyph_count(face));
    hb_blob_destroy(cmap);
    if (!usable)
        return face;
    auto *bytes = new QByteArray(std::move(*usable));
    cmap = hb_blob_create(bytes->constData(), unsigned(bytes->size()), HB_MEMORY_MODE_READONLY, bytes,
                          [](void *kept) { delete static_cast<QByteArray *>(kept); });
    return hb_face_create_for_tables(referenceTable, new ReplacedCmap{face, cmap}, destroyTables);
}

} // namespace

TFontFace::~TFontFace()
{
    if (m_hbFont)
        hb_font_destroy(static_cast<hb_font_t *>(m_hbFont));
    if (m_ftFace)
        FT_Done_Face(static_cast<FT_Face>(m_ftFace));
}

void TFontFace::Load(const TFontFile &file)
{
    m_file = file;
    m_file.Substituted = false;
    QFile f(file.FileName);
    if (!f.open(QIODevice::ReadOnly))
        throw EInvalidOperation(QCoreApplication::translate("FontEngine", "Cannot read the font file %1").arg(file.FileName));
    m_data = f.readAll();

    FT_Face face = nullptr;
    if (FT_New_Memory_Face(freeTypeLibrary(), reinterpret_cast<const FT_Byte *>(m_data.constData()),
                           FT_Long(m_data.size()), file.FaceIndex, &face) != 0)
        throw EInvalidOperation(QCoreApplication::translate("FontEngine", "The font file %1 is not valid").arg(file.FileName));
    m_ftFace = face;

    hb_blob_t *blob = hb_blob_create(m_data.constData(), unsigned(m_data.size()), HB_MEMORY_MODE_READONLY,
                                     nullptr, nullptr);
    hb_face_t *hbFace = withUsableCmap(hb_face_create(blob, unsigned(file.FaceIndex)));
    hb_blob_destroy(blob);
    hb_font_t *hbFont = hb_font_create(hbFace);
    hb_face_destroy(hbFace);
    const int upem = face->units_per_EM > 0 ? face->units_per_EM : 1000;
    hb_font_set_scale(hbFont, upem, upem);
    m_hbFont = hbFont;

    TFontDesignMetrics &d = m_design;
    d.UnitsPerEm = upem;
    d.BBoxLeft = int(face->bbox.xMin);
    d.BBoxBottom = int(face->bbox.yMin);
    d.BBoxRight = int(face->bbox.xMax);
    d.BBoxTop = int(face->bbox.yMax);
    d.HheaAscender = face->ascender;
    d.HheaDescender = face->descender;
    d.HheaLineGap = face->height - (face->ascender - face->descender);
    d.UnderlinePosition = face->underline_position;
    d.UnderlineThickness = face->underline_thickness;
    d.FixedPitch = FT_IS_FIXED_WIDTH(face);
    if (const char *psName = FT_Get_Postscript_Name(face))
        d.PostScriptName = QString::fromLatin1(psName);

    if (auto *hhea = static_cast<TT_HoriHeader *>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA)))
        d.MaxAdvance = hhea->advance_Width_Max;
    if (auto *post = static_cast<TT_Postscript *>(FT_Get_Sfnt_Table(face, FT_SFNT_POST)))
        d.ItalicAngle = double(post->italicAngle) / 65536.0;

    auto *os2 = static_cast<TT_OS2 *>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF) {
        d.WinAscent = os2->usWinAscent;
        d.WinDescent = os2->usWinDescent;
        d.TypoAscender = os2->sTypoAscender;
        d.TypoDescender = os2->sTypoDescender;
        d.TypoLineGap = os2->sTypoLineGap;
        d.AverageWidth = os2->xAvgCharWidth;
        d.Weight = os2->usWeightClass;
        d.CapHeight = os2->version >= 2 ? os2->sCapHeight : 0;
        d.StrikeoutPosition = os2->yStrikeoutPosition;
        d.StrikeoutThickness = os2->yStrikeoutSize;
    } else {
        d.WinAscent = d.TypoAscender = d.HheaAscender;
        d.WinDescent = -d.HheaDescender;
        d.TypoDescender = d.HheaDescender;
        d.TypoLineGap = d.HheaLineGap;
        d.AverageWidth = d.MaxAdvance / 2;
        d.StrikeoutPosition = upem / 4;
        d.StrikeoutThickness = d.UnderlineThickness;
    }
    if (d.CapHeight == 0)
        d.CapHeight = d.TypoAscender;
}

TFontMetrics TFontFace::Metrics(double pixelSize) const
{
    const double scale = pixelSize / m_design.UnitsPerEm;
    TFontMetrics m;
    m.Ascent = rounded(m_design.WinAscent * scale);
    m.Descent = rounded(m_design.WinDescent * scale);
    m.Height = m.Ascent + m.Descent;
    m.InternalLeading = m.Height - rounded(pixelSize);
    const int winGap = m_design.WinAscent + m_design.WinDescent
        - (m_design.HheaAscender - m_design.HheaDescender);
    m.ExternalLeading = std::max(0, rounded((m_design.HheaLineGap - winGap) * scale));
    m.AverageWidth = rounded(m_design.AverageWidth * scale);
    m.MaxWidth = rounded(m_design.MaxAdvance * scale);
    return m;
}

quint64 TFontFace::nominalGlyph(char32_t character) const
{
    hb_codepoint_t glyph = 0;
    // A character mapped to a glyph past the face's count is one the face
    // lacks.
    auto *font = static_cast<hb_font_t *>(m_hbFont);
    if (!hb_font_get_nominal_glyph(font, character, &glyph) || glyph >= hb_face_get_glyph_count(hb_font_get_face(font)))
        glyph = 0;
    return quint64(quint32(glyphAdvance(glyph))) << 32 | glyph;
}

qint32 TFontFace::glyphAdvance(quint32 glyph) const
{
    return hb_font_get_glyph_h_advance(static_cast<hb_font_t *>(m_hbFont), glyph);
}

QByteArray TFontFace::Table(quint32 tag) const
{
    auto face = static_cast<FT_Face>(m_ftFace);
    FT_ULong length = 0;
    if (FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) != 0 || length == 0)
        return QByteArray();
    QByteArray table(qsizetype(length), Qt::Uninitialized);
    if (FT_Load_Sfnt_Table(face, tag, 0, reinterpret_cast<FT_Byte *>(table.data()), &length) != 0)
        return QByteArray();
    return table;
}

TFontFile TFontEngine::Resolve(const QString &name, bool bold, bool italic)
{
    const QString key = name.toLower() + QLatin1Char('|') + QLatin1Char(bold ? 'b' : '-')
        + QLatin1Char(italic ? 'i' : '-');
    auto &resolved = caches().resolved;
    if (auto it = resolved.constFind(key); it != resolved.constEnd())
        return *it;

    FcPattern *pattern = FcPatternCreate();
    const QByteArray family = name.toUtf8();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.constData()));
    stylePattern(pattern, bold, italic);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (!match)
        throw EInvalidOperation(QCoreApplication::translate("FontEngine", "No font is installed for \"%1\"").arg(name));

    TFontFile file = fontFileOf(match);
    file.Substituted = file.Family.compare(name, Qt::CaseInsensitive) != 0;
    FcPatternDestroy(match);
    if (file.FileName.isEmpty())
        throw EInvalidOperation(QCoreApplication::translate("FontEngine", "No font is installed for \"%1\"").arg(name));

    resolved.insert(key, file);
    return file;
}

TFontFacePtr TFontEngine::CoveringFace(char32_t character, bool bold, bool italic,
                                       const std::function<bool(const TFontFace &)> &shows)
{
    for (const TFontFile &file : coveringFaces()->Faces(character, bold, italic)) {
        TFontFacePtr face;
        try {
            face = Face(file);
        } catch (const Exception &) {
            continue; // a damaged or unreadable file stands in for nothing
        }
        if (!shows || shows(*face))
            return face;
    }
    return nullptr;
}

QStringList TFontEngine::Families()
{
    FcPattern *pattern = FcPatternCreate();
    FcObjectSet *objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet *fonts = FcFontList(nullptr, pattern, objects);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    QStringList families;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        const QString family = fcString(fonts->fonts[i], FC_FAMILY);
        if (!family.isEmpty() && !families.contains(family))
            families.append(family);
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    return families;
}

TFontFacePtr TFontEngine::Face(const QString &name, bool bold, bool italic)
{
    return Face(Resolve(name, bold, italic));
}

TFontFacePtr TFontEngine::Face(const TFontFile &file)
{
    const QString key = file.FileName + QLatin1Char('#') + QString::number(file.FaceIndex);
    auto &faces = caches().faces;
    if (auto it = faces.constFind(key); it != faces.constEnd())
        return *it;
    std::shared_ptr<TFontFace> face(new TFontFace);
    face->Load(file);
    faces.insert(key, face);
    return face;
}

void TFontEngine::Clear()
{
    caches().faces.clear();
    caches().resolved.clear();
    {
        const std::lock_guard lock(caches().coveringLock);
        caches().covering.reset();
    }
    ++caches().generation;
}

unsigned TFontEngine::Generation()
{
    return caches().generation;
}
