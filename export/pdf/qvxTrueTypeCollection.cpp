#include "export/pdf/qvxTrueTypeCollection.h"

#include "export/pdf/qvxCFFSubset.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/GraphicsObjects.h"

namespace {

// Japanese face names and the English full names their faces carry.
struct FaceNamePair {
    const char16_t *japanese;
    const char16_t *english;
};

constexpr FaceNamePair JapaneseFaceNames[] = {
    {u"\uFF2D\uFF33 \u30B4\u30B7\u30C3\u30AF", u"MS Gothic"},
    {u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF", u"MS PGothic"},
    {u"\uFF2D\uFF33 \u660E\u671D", u"MS Mincho"},
    {u"\uFF2D\uFF33 \uFF30\u660E\u671D", u"MS PMincho"},
    {u"\u30E1\u30A4\u30EA\u30AA", u"Meiryo"},
};

QString fullNameOf(const TFont &font)
{
    QString name = font.Name();
    for (const FaceNamePair &pair : JapaneseFaceNames)
        if (name == QString::fromUtf16(pair.japanese)) {
            name = QString::fromUtf16(pair.english);
            break;
        }
    if (font.Style().testFlag(fsBold))
        name += QStringLiteral(" Bold");
    if (font.Style().testFlag(fsItalic))
        name += QStringLiteral(" Italic");
    return name;
}

// Without fvar nothing may refer to the font's axes: GDEF's item variation
// store (version 1.3) and the feature variations of GSUB and GPOS (version
// 1.1) go, and each table takes the version before them.  What they held
// stays behind unreferenced; the offsets of the rest are kept.
void dropVariationData(const TrueTypeFont &face)
{
    struct Versioned {
        quint32 tag;
        quint16 minorWithVariations;
        qint64 offsetField;
    };
    static const Versioned versioned[] = {
        {FontTag("GDEF"), 3, 14}, {FontTag("GSUB"), 1, 10}, {FontTag("GPOS"), 1, 10}};
    for (const auto &table : face.Tables())
        for (const Versioned &kind : versioned) {
            const QByteArrayView data = table->Data();
            if (table->tag != kind.tag || data.size() < kind.offsetField + 4 || TTF_Helpers::ReadU16(data, 0) != 1 ||
                TTF_Helpers::ReadU16(data, 2) < kind.minorWithVariations)
                continue;
            QByteArray earlier = data.toByteArray();
            TTF_Helpers::WriteU16(earlier, 2, kind.minorWithVariations - 1);
            TTF_Helpers::WriteU32(earlier, kind.offsetField, 0);
            table->Replace(earlier);
        }
}

} // namespace

const QList<quint32> &SkippedTables()
{
    // The variation tables describe the glyphs of the whole font: a subset
    // is the default instance.
    static const QList<quint32> tags = {FontTag("EBLC"), FontTag("EBDT"), FontTag("hdmx"), FontTag("VDMX"),
                                        FontTag("DSIG"), FontTag("fvar"), FontTag("gvar"), FontTag("avar"),
                                        FontTag("cvar"), FontTag("HVAR"), FontTag("VVAR"), FontTag("MVAR"),
                                        FontTag("STAT")};
    return tags;
}

const QList<quint32> &SkippedCFFTables()
{
    static const QList<quint32> tags = SkippedTables()
        + QList<quint32>{FontTag("GSUB"), FontTag("GPOS"), FontTag("GDEF"), FontTag("BASE"), FontTag("JSTF"),
                         FontTag("MATH"), FontTag("VORG")};
    return tags;
}

TrueTypeCollection::TrueTypeCollection() = default;
TrueTypeCollection::~TrueTypeCollection() = default;

void TrueTypeCollection::LoadFromMemory(const QByteArray &image)
{
    m_faces.clear();
    m_image = image;
    m_collection = m_cff = false;
    const quint32 signature = TTF_Helpers::ReadU32(m_image, 0);
    QList<qint64> offsets;
    if (signature == 0x00010000) {
        offsets.append(0);
    } else if (signature == FontTag("ttcf")) {
        const quint32 version = TTF_Helpers::ReadU32(m_image, 4);
        if (version != 0x00010000 && version != 0x00020000)
            TTF_Helpers::FormatError("Unknown font collection version");
        const quint32 numFonts = TTF_Helpers::ReadU32(m_image, 8);
        TTF_Helpers::Slice(m_image, 12, 4 * qint64(numFonts));
        m_collection = true;
        for (quint32 i = 0; i < numFonts; ++i)
            offsets.append(TTF_Helpers::ReadU32(m_image, 12 + 4 * qint64(i)));
    } else if (signature == FontTag("OTTO")) {
        m_cff = true;
        offsets.append(0);
    } else {
        TTF_Helpers::FormatError("TrueType font format error");
    }
    for (qint64 offset : offsets)
        m_faces.push_back(std::make_unique<TrueTypeFont>(m_image, offset, 2, [this](const QString &message) {
            if (OnWarning)
                OnWarning(message);
        }));
}

int TrueTypeCollection::ChooseFace(const TFont &font, int faceIndex) const
{
    if (m_faces.empty())
        return -1;
    if (faceIndex >= 0 && faceIndex < FaceCount())
        return faceIndex;
    const QString wanted = fullNameOf(font);
    for (int i = 0; i < FaceCount(); ++i) {
        TrueTypeFont face(m_image, Face(i).FaceOffset(), 0);
        face.ReadTableDirectory({});
        if (face.FullName() == wanted)
            return i;
    }
    return FaceCount() - 1;
}

bool TrueTypeCollection::IsCFF(const TFont &font, int faceIndex) const
{
    const int chosen = ChooseFace(font, faceIndex);
    if (chosen < 0)
        return m_cff;
    TrueTypeFont face(m_image, Face(chosen).FaceOffset(), 0);
    face.ReadTableDirectory({});
    return face.IsCFF();
}

QByteArray TrueTypeCollection::GetSubsetFontData(const TFont &font, const QList<quint16> &usedGlyphs, int faceIndex)
{
    const int chosen = ChooseFace(font, faceIndex);
    if (chosen < 0)
        return QByteArray();
    TrueTypeFont &face = Face(chosen);
    face.ReadTableDirectory({});
    if (face.IsCFF())
        return subsetCFF(face, usedGlyphs);
    face.LoadFont(SkippedTables());
    dropVariationData(face);
    for (quint16 glyph : usedGlyphs)
        face.AddGlyph(glyph);
    return face.SaveSubset();
}

QByteArray TrueTypeCollection::subsetCFF(TrueTypeFont &face, const QList<quint16> &usedGlyphs)
{
    face.ReadTableDirectory(SkippedCFFTables());
    face.CheckTableChecksums();
    for (const auto &table : face.Tables())
        if (table->tag == FontTag("CFF ")) {
            table->Replace(TqvxCFFFont(table->Data()).Subset(usedGlyphs));
            return face.SaveFace();
        }
    TTF_Helpers::FormatError("CFF2 outlines cannot be subset");
}

QByteArray TrueTypeCollection::GetFaceFontData(const TFont &font, int faceIndex) const
{
    const int chosen = ChooseFace(font, faceIndex);
    if (!m_collection || chosen < 0)
        return m_image;
    TrueTypeFont face(m_image, Face(chosen).FaceOffset(), 0);
    face.ReadTableDirectory({});
    return face.SaveFace();
}
