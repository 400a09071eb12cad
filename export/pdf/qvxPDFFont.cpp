#include "export/pdf/qvxPDFFont.h"

#include "export/pdf/qvxPDFStrings.h"
#include "export/pdf/qvxTrueTypeCollection.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/TextShaping.h"

#include <hb.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include <QCoreApplication>

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
    m_cjk = IsCJKFace(font.Name());
    checkFace();
}

TqvxPDFFont::~TqvxPDFFont() = default;

// The face is read as the subset will read it, with glyph 0 alone.
void TqvxPDFFont::checkFace()
{
    TrueTypeCollection collection;
    try {
        collection.LoadFromMemory(m_face->FileData());
        if (collection.GetSubsetFontData(m_font, {}, m_face->File().FaceIndex).isEmpty())
            m_unusable = QStringLiteral("TrueType font format error");
        m_cff = collection.IsCFF(m_font, m_face->File().FaceIndex);
    } catch (const Exception &error) {
        m_unusable = error.Message();
    }
}

bool TqvxPDFFont::checkDrawable(quint32 glyph) const
{
    if (m_cff)
        return true;
    if (!std::exchange(m_outlinesRead, true)) {
        try {
            TrueTypeCollection collection;
            collection.LoadFromMemory(m_face->FileData());
            const int chosen = collection.ChooseFace(m_font, m_face->File().FaceIndex);
            if (chosen < 0)
                return false;
            // The face's own bytes, which it keeps for as long as it lives.
            m_outlines = std::make_unique<TrueTypeFont>(m_face->FileData(), collection.Face(chosen).FaceOffset(), 0);
            m_outlines->LoadFont(SkippedTables());
            m_drawable.assign(size_t(m_outlines->loca ? m_outlines->loca->GlyphCount() : 0) + 1, unknownGlyph);
        } catch (const Exception &) {
            m_outlines.reset();
        }
    }
    const bool drawable = m_outlines && m_outlines->GlyphDrawable(glyph);
    if (glyph < m_drawable.size())
        m_drawable[glyph] = drawable ? drawableGlyph : missingGlyph;
    return drawable;
}

bool TqvxPDFFont::Matches(const TFont &font) const
{
    if (font.Name() != m_font.Name())
        return false;
    const TFontStyles styleBits = fsBold | fsItalic;
    return (font.Style() & styleBits) == (m_font.Style() & styleBits) || IsCJKFace(font.Name());
}

namespace {

// The texts of a cluster's glyphs: one character each when there are as
// many glyphs as characters, else all of them for the first glyph.
QStringList glyphTexts(const QString &cluster, qsizetype glyphCount)
{
    const QList<uint> characters = cluster.toUcs4();
    QStringList texts(glyphCount);
    if (characters.size() == glyphCount) {
        for (qsizetype i = 0; i < glyphCount; ++i)
            texts[i] = QString::fromUcs4(reinterpret_cast<const char32_t *>(&characters[i]), 1);
    } else if (glyphCount > 0) {
        texts[0] = cluster;
    }
    return texts;
}

// The characters of a cluster that its glyphs show: the shaper leaves the
// default ignorables out, so no glyph stands for them.  hidden tells
// whether the cluster holds any.
QString shownCharacters(QStringView cluster, bool &hidden)
{
    QString shown;
    shown.reserve(cluster.size());
    for (const char32_t c : cluster.toUcs4()) {
        if (IsDefaultIgnorable(c))
            hidden = true;
        else
            shown += QString::fromUcs4(&c, 1);
    }
    return shown;
}

// Whether the cluster, at index start of the line, is a blank between
// words and characters that show nothing after it.  A blank stays a blank
// between words: those characters go with the word that follows.  (A blank
// the line starts with stands with them, where the line starts.)
bool blankBeforeHidden(int start, QStringView cluster, const QString &shown)
{
    return start > 0 && shown.size() == 1 && cluster.front().isSpace() && cluster.front() == shown.front();
}

// The glyphs of the cluster that holds the character at index c of the
// line, as a span with the cluster's text; Count 0 when no glyph shows c.
TqvxPDFGlyphSpan clusterAt(const QString &text, const QList<TGlyphRun> &runs, int c)
{
    qsizetype first = 0;
    for (const TGlyphRun &run : runs) {
        const int runEnd = run.Start + run.Length;
        if (c < run.Start || c >= runEnd || run.Glyphs.isEmpty()) {
            first += run.Glyphs.size();
            continue;
        }
        int start = run.Start;
        int end = runEnd;
        for (const TShapedGlyph &glyph : run.Glyphs) {
            if (glyph.Cluster <= c)
                start = std::max(start, glyph.Cluster);
        }
        for (const TShapedGlyph &glyph : run.Glyphs) {
            if (glyph.Cluster > start)
                end = std::min(end, glyph.Cluster);
        }
        TqvxPDFGlyphSpan span{first, 0, text.mid(start, end - start)};
        for (qsizetype n = 0; n < run.Glyphs.size(); ++n) {
            if (run.Glyphs[n].Cluster != start)
                continue;
            if (span.Count == 0)
                span.First = first + n;
            ++span.Count;
        }
        return span;
    }
    return {};
}

// A run of characters that show nothing alone (a direction mark of its
// own direction) has no glyph to carry its text: it joins the span of the
// cluster before it, or else (at the line's start, or after a blank, which
// must stay a blank between words) after it.  hidden holds such characters
// the shaper put in a blank's cluster.  False when a run has no cluster
// beside it.
bool keepHiddenRuns(const QString &text, const QList<TGlyphRun> &runs, QList<std::pair<int, int>> hidden,
                    QList<TqvxPDFGlyphSpan> &spans)
{
    for (const TGlyphRun &run : runs)
        if (run.Glyphs.isEmpty() && run.Length > 0)
            hidden.append({run.Start, run.Start + run.Length});
    if (hidden.isEmpty())
        return true;
    std::sort(hidden.begin(), hidden.end());
    bool kept = true;
    for (qsizetype i = 0; i < hidden.size(); ++i) {
        auto [start, end] = hidden[i];
        while (i + 1 < hidden.size() && hidden[i + 1].first == end)
            end = hidden[++i].second;
        const QString characters = text.mid(start, end - start);
        bool after = start > 0 && (end == text.size() || !text[start - 1].isSpace());
        TqvxPDFGlyphSpan cluster = clusterAt(text, runs, after ? start - 1 : end);
        if (cluster.Count == 0 && !after && start > 0) {
            after = true;
            cluster = clusterAt(text, runs, start - 1);
        }
        if (cluster.Count == 0) {
            kept = false;
            continue;
        }
        auto known = std::find_if(spans.begin(), spans.end(),
                                  [&cluster](const TqvxPDFGlyphSpan &span) { return span.First == cluster.First; });
        if (known == spans.end()) {
            known = std::find_if(spans.begin(), spans.end(),
                                 [&cluster](const TqvxPDFGlyphSpan &span) { return span.First > cluster.First; });
            known = spans.insert(known, std::move(cluster));
        }
        known->Text = after ? known->Text + characters : characters + known->Text;
    }
    return kept;
}

} // namespace

TqvxPDFShapedText TqvxPDFFont::Shape(const QString &text, bool rightToLeft)
{
    TqvxPDFShapedText shaped;
    QList<quint16> &result = shaped.Glyphs;
    bool same = true;
    result.reserve(text.size());
    const QList<TGlyphRun> runs = ShapeLine(*m_face, text, rightToLeft);
    QList<std::pair<int, int>> afterBlanks; // characters that show nothing in a blank's cluster
    bool placed = false;
    for (const TGlyphRun &run : runs) {
        const int runEnd = run.Start + run.Length;
        const qsizetype first = result.size();
        const auto notAscending = [](const TShapedGlyph &a, const TShapedGlyph &b) { return a.Cluster >= b.Cluster; };
        if (!run.RightToLeft
            && std::adjacent_find(run.Glyphs.cbegin(), run.Glyphs.cend(), notAscending) == run.Glyphs.cend()) {
            // One glyph per cluster in logical order, as in most lines: each
            // stands for its cluster's text.
            const TShapedGlyph *glyphs = run.Glyphs.constData();
            const QChar *characters = text.constData();
            const qsizetype count = run.Glyphs.size();
            for (qsizetype n = 0; n < count; ++n) {
                const TShapedGlyph &glyph = glyphs[n];
                const int end = n + 1 < count ? glyphs[n + 1].Cluster : runEnd;
                const QStringView cluster(characters + glyph.Cluster, end - glyph.Cluster);
                if (cluster.size() == 1 && !cluster.front().isSurrogate()) {
                    same = record(glyph.Glyph, glyph.Advance, cluster) && same;
                    continue;
                }
                bool holdsHidden = false;
                const QString shown = shownCharacters(cluster, holdsHidden);
                same = record(glyph.Glyph, glyph.Advance, shown) && same;
                if (holdsHidden && n + 1 < count && blankBeforeHidden(glyph.Cluster, cluster, shown))
                    afterBlanks.append({glyph.Cluster + 1, end});
                else if (holdsHidden)
                    shaped.Spans.append({first + n, 1, cluster.toString()});
            }
        } else {
            same = recordReordered(text, run, first, shaped.Spans, afterBlanks) && same;
        }
        result.resize(first + run.Glyphs.size());
        std::transform(run.Glyphs.cbegin(), run.Glyphs.cend(), result.begin() + first,
                       [](const TShapedGlyph &glyph) { return quint16(glyph.Glyph); });
        // Places are kept from the first glyph moved off its pen on.
        for (qsizetype n = 0; n < run.Glyphs.size(); ++n) {
            TqvxPDFGlyphPlace at = place(run.Glyphs[n]);
            at.Leads = !at.Moves && run.RightToLeft;
            placed = placed || at.X != 0 || at.Y != 0 || at.Advance != 0 || !at.Moves;
            if (placed) {
                shaped.Places.resize(first + n);
                shaped.Places.append(at);
            }
        }
    }
    shaped.Exact = keepHiddenRuns(text, runs, std::move(afterBlanks), shaped.Spans) && same;
    return shaped;
}

QList<quint16> TqvxPDFFont::GetGlyphs(const QString &text, bool rightToLeft, bool *exact)
{
    TqvxPDFShapedText shaped = Shape(text, rightToLeft);
    if (exact)
        *exact = shaped.Exact && shaped.Spans.isEmpty();
    return std::move(shaped.Glyphs);
}

TqvxPDFGlyphPlace TqvxPDFFont::place(const TShapedGlyph &glyph) const
{
    const int em = m_face->UnitsPerEm();
    const int advance = toGlyphSpace(glyph.Advance, em) - m_widths[m_index[quint16(glyph.Glyph)]];
    return {toGlyphSpace(glyph.XOffset, em), toGlyphSpace(glyph.YOffset, em), advance, glyph.Advance != 0};
}

bool TqvxPDFFont::recordReordered(const QString &text, const TGlyphRun &run, qsizetype first,
                                  QList<TqvxPDFGlyphSpan> &spans, QList<std::pair<int, int>> &afterBlanks)
{
    const int runEnd = run.Start + run.Length;
    // Logical order: a right-to-left run lists its last glyph first.
    QList<TShapedGlyph> logical = run.Glyphs;
    if (run.RightToLeft)
        std::reverse(logical.begin(), logical.end());
    bool same = true;
    const qsizetype spansBefore = spans.size();
    for (qsizetype from = 0; from < logical.size();) {
        qsizetype next = from + 1;
        while (next < logical.size() && logical[next].Cluster == logical[from].Cluster)
            ++next;
        // A cluster's text runs up to the next cluster of the run.
        const int start = logical[from].Cluster;
        int end = runEnd;
        for (qsizetype k = next; k < logical.size(); ++k)
            if (logical[k].Cluster > start) {
                end = std::min(end, logical[k].Cluster);
                break;
            }
        const QStringView cluster = QStringView(text).mid(start, std::max(0, end - start));
        bool holdsHidden = false;
        const QString shown = shownCharacters(cluster, holdsHidden);
        const QStringList texts = glyphTexts(shown, next - from);
        if (holdsHidden && next < logical.size() && blankBeforeHidden(start, cluster, shown)) {
            afterBlanks.append({start + 1, end});
        } else if (holdsHidden) {
            // The cluster's glyphs stand side by side in visual order too.
            const qsizetype shownFirst = run.RightToLeft ? logical.size() - next : from;
            spans.append({first + shownFirst, next - from, cluster.toString()});
        }
        for (qsizetype g = from; g < next; ++g)
            same = record(logical[g].Glyph, logical[g].Advance, texts[g - from]) && same;
        from = next;
    }
    if (run.RightToLeft)
        std::reverse(spans.begin() + spansBefore, spans.end());
    return same;
}

bool TqvxPDFFont::recordNew(quint16 id, int advance, QStringView text)
{
    const QString given = id == 0 ? QStringLiteral("\uFFFD") : text.toString();
    if (id >= m_index.size())
        m_index.resize(size_t(id) + 1, -1);
    m_index[id] = int(m_glyphs.size());
    m_glyphs.append(id);
    m_widths.append(toGlyphSpace(advance, m_face->UnitsPerEm()));
    m_characters.append(given);
    hb_glyph_extents_t extents{};
    if (!m_face->HarfBuzzFont()
        || !hb_font_get_glyph_extents(static_cast<hb_font_t *>(m_face->HarfBuzzFont()), id, &extents))
        extents = {};
    const double scale = 1000.0 / m_face->UnitsPerEm();
    m_extents.push_back({float(extents.x_bearing * scale), float((extents.x_bearing + extents.width) * scale),
                         float((extents.y_bearing + extents.height) * scale), float(extents.y_bearing * scale),
                         float(m_widths.back())});
    const Extents &added = m_extents.back();
    if (added.Right > added.Left) {
        m_inkLeft = std::min(m_inkLeft, added.Left);
        m_inkRight = std::max(m_inkRight, added.Right);
        m_inkBottom = std::min(m_inkBottom, added.Bottom);
        m_inkTop = std::max(m_inkTop, added.Top);
    }
    m_backwards = m_backwards || added.Advance < 0;
    return given == text;
}

TqvxPDFInk TqvxPDFFont::Ink(const TqvxPDFShapedText &shaped, double size, double spacing) const
{
    const size_t known = m_index.size();
    InkSum ink(size, spacing);
    for (qsizetype i = 0; i < shaped.Glyphs.size(); ++i) {
        const quint16 glyph = shaped.Glyphs[i];
        const int at = glyph < known ? m_index[glyph] : -1;
        if (at < 0)
            return {};
        ink.Add(m_extents[size_t(at)], shaped.Places.isEmpty() ? TqvxPDFGlyphPlace() : shaped.Places[i]);
    }
    return ink.Ink();
}

TqvxPDFFont::SimpleCharacter &TqvxPDFFont::simpleCharacter(char16_t character)
{
    SimpleCharacter &known = m_simpleCharacters[character];
    // Glyph 0 is never covered, so 0 stands for a character not asked yet.
    if (known.Glyph == 0)
        known.Glyph = IsSimplyShaped(character) && Covers(character) ? m_face->GlyphIndex(character) : noGlyph;
    return known;
}

bool TqvxPDFFont::ShowSimply(TqvxPDFContentText &out, QStringView text, double size, double spacing,
                             const TqvxPDFInkLimits *limits, bool *within)
{
    if (m_simpleCharacters.empty())
        m_simpleCharacters.resize(simpleCharacters);
    SimpleCharacter *const table = m_simpleCharacters.data();
    const qsizetype count = text.size();
    const char16_t *const characters = reinterpret_cast<const char16_t *>(text.utf16());
    const qint64 start = out.Size();
    char *at = BeginShowGlyphs(out.Extend(ShowGlyphsRoom(count)));
    const auto refuse = [&] {
        out.Cut(out.Data() + start);
        return false;
    };
    // Each glyph stands for its own character, as the shaper's clusters
    // would say.  Glyphs are recorded only once the whole line is known to
    // be shown here: another line goes to the shaper as it is.
    bool checked = false;
    bool exact = true;
    qint64 advanced = 0;
    for (qsizetype i = 0; i < count; ++i) {
        if (characters[i] >= simpleCharacters)
            return refuse();
        SimpleCharacter &known = table[characters[i]];
        if (known.At < 0) {
            if (!checked) {
                for (qsizetype j = i; j < count; ++j)
                    if (characters[j] >= simpleCharacters || simpleCharacter(characters[j]).Glyph == noGlyph)
                        return refuse();
                checked = true;
            }
            const char16_t character = characters[i];
            known.Exact = record(known.Glyph, m_face->NominalGlyph(character).Advance, QStringView(&character, 1));
            known.At = m_index[known.Glyph];
            known.Advance = int(m_extents[size_t(known.At)].Advance);
            known.CodeLength = quint8(PutGlyphCode(known.Code, quint16(known.Glyph)) - known.Code);
        }
        exact = exact && known.Exact;
        std::memcpy(at, known.Code, sizeof known.Code);
        at += known.CodeLength;
        advanced += known.Advance;
    }
    if (!exact)
        return refuse();
    out.Cut(EndShowGlyphs(at));
    if (!limits)
        return true;

    // Where the glyphs advance forwards, the ink lies between the start
    // and the last glyph's place, widened by the extremes of every glyph
    // recorded (and a little for the rounding of sums along the line).
    if (size > 0 && spacing >= 0 && !m_backwards && count > 0) {
        const double k = size / 1000;
        const double last = double(advanced - table[characters[count - 1]].Advance) * k + double(count - 1) * spacing;
        const double slack = 1e-6 * (1 + last + size);
        const TqvxPDFInk box{true, std::min(0.0, m_inkLeft * k) - slack, std::max(0.0, last + m_inkRight * k) + slack,
                             std::min(0.0, m_inkBottom * k) - slack, std::max(0.0, m_inkTop * k) + slack};
        if (limits->Hold(box)) {
            *within = true;
            return true;
        }
    }
    InkSum ink(size, spacing);
    for (qsizetype i = 0; i < count; ++i)
        ink.Add(m_extents[size_t(table[characters[i]].At)]);
    *within = limits->Hold(ink.Ink());
    return true;
}

const QByteArray &TqvxPDFFont::FontOperands(int size)
{
    if (m_operands.isEmpty() || size != m_operandSize) {
        m_operands = ResourceName + ' ' + QByteArray::number(size);
        m_operandSize = size;
    }
    return m_operands;
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
    TrueTypeCollection collection;
    collection.OnWarning = warning;
    try {
        collection.LoadFromMemory(m_face->FileData());
        const int faceIndex = m_face->File().FaceIndex;
        return {collection.GetSubsetFontData(m_font, m_glyphs, faceIndex), m_cff};
    } catch (const Exception &error) {
        if (warning)
            warning(QCoreApplication::translate("qvxExportPDF", "%1: %2; the font is not embedded")
                            .arg(m_face->File().FileName, error.Message()));
    }
    return {};
}
