#include "export/pdf/qvxPDFFont.h"

#include "export/pdf/qvxPDFStrings.h"
#include "export/pdf/qvxTrueTypeCollection.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/TextShaping.h"

#include <algorithm>
#include <cmath>

namespace {

const QStringList &cjkFaces()
{
    static const QStringList faces = {QStringLiteral("MS UI Gothic"), QStringLiteral("MS Gothic"),
                                      QStringLiteral("MS Mincho"), QStringLiteral("SimSun"),
                                      QStringLiteral("Gulim")};
    return faces;
}

int toGlyphSpace(double value, int unitsPerEm)
{
    return int(std::lround(value * 1000.0 / unitsPerEm));
}

// What a descriptor says of a face that has no usable metrics.
TqvxPDFFontMetrics fallbackMetrics()
{
    TqvxPDFFontMetrics m;
    m.BBoxLeft = -665;
    m.BBoxBottom = -325;
    m.BBoxRight = 2000;
    m.BBoxTop = 1006;
    m.Ascent = 905;
    m.Descent = -212;
    m.Leading = 150;
    m.CapHeight = 1117;
    m.StemV = 88;
    m.AvgWidth = 441;
    m.MaxWidth = 2000;
    return m;
}

} // namespace

bool IsCJKFace(const QString &name)
{
    return cjkFaces().contains(name);
}

TqvxPDFFont::TqvxPDFFont(const TFont &font, TFontFacePtr face) : m_face(std::move(face))
{
    m_font.Assign(&font);
    if (!m_face)
        m_face = TFontEngine::Face(font.Name(), font.Style().testFlag(fsBold), font.Style().testFlag(fsItalic));
    m_substituted = m_face->File().Family.compare(font.Name(), Qt::CaseInsensitive) != 0;
}

bool TqvxPDFFont::Matches(const TFont &font) const
{
    if (font.Name() != m_font.Name())
        return false;
    const TFontStyles styleBits = fsBold | fsItalic;
    return IsCJKFace(font.Name()) || (font.Style() & styleBits) == (m_font.Style() & styleBits);
}

QList<quint16> TqvxPDFFont::GetGlyphs(const QString &text, bool rightToLeft)
{
    QList<quint16> result;
    result.reserve(text.size());
    QList<int> starts;
    QList<bool> given;
    for (const TGlyphRun &run : ShapeLine(*m_face, text, rightToLeft)) {
        const int count = int(run.Glyphs.size());
        const int runEnd = run.Start + run.Length;
        const auto ascending = [](const TShapedGlyph &a, const TShapedGlyph &b) { return a.Cluster >= b.Cluster; };
        if (!run.RightToLeft && std::adjacent_find(run.Glyphs.cbegin(), run.Glyphs.cend(), ascending)
                                    == run.Glyphs.cend()) {
            // One glyph per cluster in logical order, as in most lines.
            for (int n = 0; n < count; ++n) {
                const TShapedGlyph &glyph = run.Glyphs[n];
                const int end = n + 1 < count ? run.Glyphs[n + 1].Cluster : runEnd;
                record(glyph.Glyph, glyph.Advance, QStringView(text).mid(glyph.Cluster, end - glyph.Cluster));
                result.append(quint16(glyph.Glyph));
            }
            continue;
        }
        // A cluster's text runs up to the next cluster of the run.
        starts.clear();
        for (const TShapedGlyph &glyph : run.Glyphs)
            starts.append(glyph.Cluster);
        if (!std::is_sorted(starts.begin(), starts.end()))
            std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        given.fill(false, starts.size());

        for (int n = 0; n < count; ++n) {
            // Logical order: a right-to-left run lists its last glyph first.
            const TShapedGlyph &glyph = run.Glyphs[run.RightToLeft ? count - 1 - n : n];
            const auto at = std::lower_bound(starts.begin(), starts.end(), glyph.Cluster);
            const auto k = int(at - starts.begin());
            QStringView characters;
            if (!given[k]) {
                given[k] = true;
                const int end = k + 1 < starts.size() ? starts[k + 1] : runEnd;
                characters = QStringView(text).mid(glyph.Cluster, end - glyph.Cluster);
            }
            record(glyph.Glyph, glyph.Advance, characters);
        }
        for (const TShapedGlyph &glyph : run.Glyphs)
            result.append(quint16(glyph.Glyph));
    }
    return result;
}

void TqvxPDFFont::record(quint32 glyph, int advance, QStringView text)
{
    const auto id = quint16(glyph);
    const auto found = m_index.constFind(id);
    if (found != m_index.constEnd()) {
        if (m_characters[*found].isEmpty())
            m_characters[*found] = text.toString();
        return;
    }
    m_index.insert(id, int(m_glyphs.size()));
    m_glyphs.append(id);
    m_widths.append(toGlyphSpace(advance, m_face->UnitsPerEm()));
    m_characters.append(text.toString());
}

QByteArray TqvxPDFFont::GetPDFName() const
{
    QByteArray name = PdfName(m_face->File().Family);
    if (IsCJKFace(m_font.Name()))
        return name;
    QByteArray suffix;
    if (m_font.Style().testFlag(fsBold))
        suffix += "Bold";
    if (m_font.Style().testFlag(fsItalic))
        suffix += "Italic";
    if (!suffix.isEmpty())
        name += ',' + suffix;
    return name;
}

TqvxPDFFontMetrics TqvxPDFFont::Metrics() const
{
    const TFontDesignMetrics &d = m_face->Design();
    const int em = d.UnitsPerEm;
    const bool hasTypo = d.TypoAscender != 0 || d.TypoDescender != 0;
    const int ascent = hasTypo ? d.TypoAscender : d.HheaAscender;
    if (em <= 0 || (ascent == 0 && d.WinAscent == 0))
        return fallbackMetrics();
    TqvxPDFFontMetrics m;
    m.BBoxLeft = toGlyphSpace(d.BBoxLeft, em);
    m.BBoxBottom = toGlyphSpace(d.BBoxBottom, em);
    m.BBoxRight = toGlyphSpace(d.BBoxRight, em);
    m.BBoxTop = toGlyphSpace(d.BBoxTop, em);
    m.ItalicAngle = int(std::lround(d.ItalicAngle));
    m.Ascent = toGlyphSpace(ascent, em);
    m.Descent = toGlyphSpace(hasTypo ? d.TypoDescender : d.HheaDescender, em);
    const int height = toGlyphSpace(d.WinAscent + d.WinDescent, em);
    m.Leading = std::max(0, height - 1000);
    m.CapHeight = height;
    m.StemV = int(std::lround(std::pow(d.Weight / 65.0, 2))) + 50;
    m.AvgWidth = toGlyphSpace(d.AverageWidth, em);
    m.MaxWidth = toGlyphSpace(d.MaxAdvance, em);
    return m;
}

TqvxPDFFontFile TqvxPDFFont::GetFontFile(const TqvxPDFWarningSink &warning) const
{
    const QByteArray &file = m_face->FileData();
    const int faceIndex = m_face->File().FaceIndex;
    TrueTypeCollection collection;
    collection.OnWarning = warning;
    try {
        collection.LoadFromMemory(file);
        if (collection.IsCFF(m_font, faceIndex))
            return {collection.GetFaceFontData(m_font, faceIndex), true};
        const QByteArray subset = collection.GetSubsetFontData(m_font, m_glyphs, faceIndex);
        if (!subset.isEmpty())
            return {subset, false};
    } catch (const Exception &error) {
        if (warning)
            warning(QStringLiteral("%1: %2; the whole font is embedded").arg(m_face->File().FileName, error.Message()));
    }
    try {
        const QByteArray whole = collection.GetFaceFontData(m_font, faceIndex);
        if (!whole.isEmpty())
            return {whole, false};
    } catch (const Exception &) {
    }
    return {file, false};
}
