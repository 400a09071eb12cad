#include "toolkit/graphics/FontEngine.h"
#include "toolkit/graphics/TextShaping.h"

#include "common/TestSupport.h"

#include <QFileInfo>
#include <gtest/gtest.h>
#include <hb.h>

namespace {

struct OfficeFace {
    const char *requested;
    bool bold;
    bool italic;
    const char *family;
    const char *file;
};

TEST(FontResolution, OfficeNamesResolveToTheInstalledFaces)
{
    const OfficeFace faces[] = {
        {"Arial", false, false, "Liberation Sans", "LiberationSans-Regular.ttf"},
        {"Arial", true, false, "Liberation Sans", "LiberationSans-Bold.ttf"},
        {"Arial", true, true, "Liberation Sans", "LiberationSans-BoldItalic.ttf"},
        {"Times New Roman", false, true, "Liberation Serif", "LiberationSerif-Italic.ttf"},
        {"Courier New", false, false, "Liberation Mono", "LiberationMono-Regular.ttf"},
        {"MS Sans Serif", false, false, "Liberation Sans", "LiberationSans-Regular.ttf"},
        {"Tahoma", false, false, "Liberation Sans", "LiberationSans-Regular.ttf"},
        {"Verdana", true, false, "DejaVu Sans", "DejaVuSans-Bold.ttf"},
        {"Arial Unicode MS", false, false, "DejaVu Sans", "DejaVuSans.ttf"},
    };
    for (const OfficeFace &f : faces) {
        SCOPED_TRACE(f.requested);
        const TFontFile file = TFontEngine::Resolve(QString::fromLatin1(f.requested), f.bold, f.italic);
        EXPECT_EQ(file.Family, QString::fromLatin1(f.family));
        EXPECT_EQ(QFileInfo(file.FileName).fileName(), QString::fromLatin1(f.file));
        EXPECT_EQ(file.FaceIndex, 0);
        EXPECT_EQ(file.Bold, f.bold);
        EXPECT_EQ(file.Italic, f.italic);
        EXPECT_TRUE(file.Substituted);
    }
    EXPECT_FALSE(TFontEngine::Resolve(QStringLiteral("Liberation Sans"), false, false).Substituted);
}

TEST(FontMetrics, DesignMetricsAndSizedMetricsOfArial)
{
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    const TFontDesignMetrics &d = face->Design();
    EXPECT_EQ(d.UnitsPerEm, 2048);
    EXPECT_EQ(d.WinAscent, 1854);
    EXPECT_EQ(d.WinDescent, 434);
    EXPECT_EQ(d.Weight, 400);
    EXPECT_EQ(d.ItalicAngle, 0);
    EXPECT_FALSE(d.FixedPitch);
    EXPECT_EQ(d.PostScriptName, QStringLiteral("LiberationSans"));

    // The metrics at 1000 units per em that the PDF writer reads.
    const TFontMetrics m = face->Metrics(1000);
    EXPECT_EQ(m.Ascent, 905);
    EXPECT_EQ(m.Descent, 212);
    EXPECT_EQ(m.Height, 1117);
    EXPECT_EQ(m.InternalLeading, 117);
    EXPECT_EQ(m.AverageWidth, qRound(d.AverageWidth * 1000.0 / 2048));
    EXPECT_EQ(m.MaxWidth, qRound(d.MaxAdvance * 1000.0 / 2048));

    const TFontFacePtr italic = TFontEngine::Face(QStringLiteral("Arial"), false, true);
    EXPECT_LT(italic->Design().ItalicAngle, 0);
    EXPECT_EQ(TFontEngine::Face(QStringLiteral("Courier New"), false, false)->Design().FixedPitch, true);
}

TEST(FontMetrics, AdvancesAreUnhintedDesignUnits)
{
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    const quint32 a = face->GlyphIndex(U'a');
    EXPECT_NE(a, 0u);
    EXPECT_EQ(face->GlyphAdvance(a), 1139);
    EXPECT_EQ(face->GlyphIndex(U'\x4E00'), 0u); // no CJK in Liberation
    // Kerning stays off: "AV" is as wide as its letters.
    EXPECT_EQ(TextAdvance(*face, u"AV"), TextAdvance(*face, u"A") + TextAdvance(*face, u"V"));
}

// The table a face keeps of its characters must give HarfBuzz's own answers,
// on first use and when read again, in a face with kerning (Liberation
// Sans) and in one with Arabic shaping (DejaVu Sans), and for characters it
// lacks or that lie outside the table.
TEST(FontMetrics, KeptGlyphsAndAdvancesAreHarfBuzzsAnswers)
{
    for (const char *name : {"Arial", "DejaVu Sans"}) {
        SCOPED_TRACE(name);
        const TFontFacePtr face = TFontEngine::Face(QString::fromLatin1(name), false, false);
        auto *font = static_cast<hb_font_t *>(face->HarfBuzzFont());
        const char32_t characters[] = {U'A', U'V', U'a', U'\u0416', U'\u0627', U'\u0644', U'\u05E9', U'\u4E00',
                                       U'\uFFFD', U'\U0001F600', U'\U0010FFFF', 0};
        for (int pass = 0; pass < 2; ++pass) {
            for (const char32_t c : characters) {
                hb_codepoint_t glyph = 0;
                if (!hb_font_get_nominal_glyph(font, c, &glyph))
                    glyph = 0;
                const TNominalGlyph kept = face->NominalGlyph(c);
                EXPECT_EQ(kept.Glyph, glyph) << unsigned(c);
                EXPECT_EQ(face->GlyphIndex(c), glyph) << unsigned(c);
                EXPECT_EQ(kept.Advance, hb_font_get_glyph_h_advance(font, glyph)) << unsigned(c);
            }
        }
        // Glyphs that only shaping reaches (Arabic contextual forms) have
        // their advances kept too.
        for (const TGlyphRun &run : ShapeLine(*face, u"\u0633\u0644\u0627\u0645"))
            for (const TShapedGlyph &shaped : run.Glyphs) {
                EXPECT_EQ(shaped.Advance, hb_font_get_glyph_h_advance(font, shaped.Glyph));
                EXPECT_EQ(face->GlyphAdvance(shaped.Glyph), shaped.Advance);
            }
        EXPECT_EQ(face->GlyphAdvance(0x20000), hb_font_get_glyph_h_advance(font, 0x20000));
    }
}

TFontFacePtr testFace(const char *name)
{
    TFontFile file;
    file.FileName = QStringLiteral(TEST_DATA_DIR "/fonts/") + QLatin1String(name);
    return TFontEngine::Face(file);
}

QList<quint32> shapedGlyphs(const TFontFace &face, const QString &text)
{
    QList<quint32> glyphs;
    for (const TGlyphRun &run : ShapeLine(face, text))
        for (const TShapedGlyph &shaped : run.Glyphs)
            glyphs.append(shaped.Glyph);
    return glyphs;
}

// A character map subtable that maps any character past the face's glyph
// count is left out whole, as font sanitizers leave it out: the characters
// come from the face's next usable subtable, not from the part of the
// broken one in range (which maps "A" to B and "B" to a ring), and a face
// without another usable subtable has no glyph for any character.
TEST(FontMetrics, ACharacterMapSubtableMappingPastTheGlyphCountIsLeftOutWhole)
{
    const TFontFacePtr broken = testFace("cmap12broken.ttf");
    const TFontFacePtr sound = testFace("simple.ttf");
    for (const char32_t c : {U'A', U'B', U'C', U' ', U'@', U'E'})
        EXPECT_EQ(broken->GlyphIndex(c), sound->GlyphIndex(c)) << unsigned(c);
    EXPECT_EQ(broken->GlyphIndex(U'A'), 1u);
    // A combining mark takes the line to HarfBuzz's shaping.
    const QString text = QStringLiteral("ABC A\u0301");
    EXPECT_EQ(shapedGlyphs(*broken, text), shapedGlyphs(*sound, text));

    // Its one subtable maps "C" to glyph 60 of six.
    const TFontFacePtr missing = testFace("cmap12missing.ttf");
    for (const char32_t c : {U'A', U'B', U'C'})
        EXPECT_EQ(missing->GlyphIndex(c), 0u) << unsigned(c);
    EXPECT_EQ(missing->NominalGlyph(U'C').Advance, missing->GlyphAdvance(0));
}

// A subtable whose groups or segments are not sorted and apart is left out
// whole as well: shaping looks characters up by a binary search over them,
// which here finds a ring for "B" or nothing for "A" or "C", and a group
// out of order may map past the glyph count unseen by a reading in order.
// The faces draw as the same face with a sound map draws.
TEST(FontMetrics, ACharacterMapSubtableWithRangesOutOfOrderIsLeftOutWhole)
{
    const TFontFacePtr sound = testFace("simple.ttf");
    const QString text = QStringLiteral("ABC A\u0301");
    for (const char *file : {"cmap12outoforder.ttf", "cmap12overlapping.ttf", "cmap12reversed.ttf",
                             "cmap12unsorted.ttf", "cmap4overlapping.ttf"}) {
        SCOPED_TRACE(file);
        const TFontFacePtr broken = testFace(file);
        for (const char32_t c : {U'A', U'B', U'C', U' '})
            EXPECT_EQ(broken->GlyphIndex(c), sound->GlyphIndex(c)) << unsigned(c);
        EXPECT_EQ(shapedGlyphs(*broken, text), shapedGlyphs(*sound, text));
    }
}

// Broken format 4 subtables are left out whole too, beside a sound one:
// one without segments; one without the closing segment U+FFFF..U+FFFF;
// one whose last segment runs from U+FFFB to U+FFFF (mapping U+FFFD to B);
// one whose segment reads its glyphs at an odd offset into the glyph array
// (shaping reads them aligned, finding no glyph for "A" and glyph 256 for
// "B"); one whose segment reads its glyph from the range offsets (shaping
// finds none for "A").  Beside them a face with 4,096 format 12 subtables
// over the whole code space, each read once by its one group, and one whose
// format 12 subtable maps "A" to B and "B" to a ring before a group running
// past U+10FFFF.  A face whose only subtable has no segment has no glyph
// for any character.
TEST(FontMetrics, BrokenFormat4SubtablesAreLeftOutWhole)
{
    const TFontFacePtr sound = testFace("simple.ttf");
    const QString text = QStringLiteral("ABC A\u0301\uFFFD");
    for (const char *file : {"cmap4empty.ttf", "cmap4unclosed.ttf", "cmap4toffff.ttf", "cmap4oddoffset.ttf",
                             "cmap4ownoffsets.ttf", "cmap12many.ttf", "cmap12pastunicode.ttf"}) {
        SCOPED_TRACE(file);
        const TFontFacePtr broken = testFace(file);
        for (const char32_t c : {U'A', U'B', U'C', U' ', U'\uFFFD'})
            EXPECT_EQ(broken->GlyphIndex(c), sound->GlyphIndex(c)) << unsigned(c);
        EXPECT_EQ(shapedGlyphs(*broken, text), shapedGlyphs(*sound, text));
    }
    const TFontFacePtr empty = testFace("cmap4onlyempty.ttf");
    for (const char32_t c : {U'A', U'B', U'C', U' '})
        EXPECT_EQ(empty->GlyphIndex(c), 0u) << unsigned(c);
}

TEST(FontData, FileBytesAndSingleTables)
{
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    const QByteArray &bytes = face->FileData();
    ASSERT_GE(bytes.size(), 12);
    EXPECT_EQ(bytes.left(4), QByteArray("\x00\x01\x00\x00", 4));
    const QByteArray head = face->Table(FontTag("head"));
    ASSERT_EQ(head.size(), 54);
    EXPECT_EQ(quint8(head[18]) << 8 | quint8(head[19]), 2048); // unitsPerEm
    EXPECT_TRUE(face->Table(FontTag("zzzz")).isEmpty());
    EXPECT_EQ(TFontEngine::Face(QStringLiteral("arial"), false, false), face); // cached
}

// --- Shaping -------------------------------------------------------------------

QList<int> clustersOf(const QList<TGlyphRun> &runs)
{
    QList<int> clusters;
    for (const TGlyphRun &run : runs)
        for (const TShapedGlyph &glyph : run.Glyphs)
            clusters.append(glyph.Cluster);
    return clusters;
}

TEST(TextShaping, LatinAndCyrillicKeepTheirLogicalOrder)
{
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    for (const QString &text : {QStringLiteral("office"), QStringLiteral("Выключатель")}) {
        const QList<TGlyphRun> runs = ShapeLine(*face, text);
        ASSERT_EQ(runs.size(), 1);
        EXPECT_FALSE(runs[0].RightToLeft);
        QList<int> expected;
        for (int i = 0; i < text.size(); ++i)
            expected.append(i);
        EXPECT_EQ(clustersOf(runs), expected);
        for (int i = 0; i < text.size(); ++i)
            EXPECT_EQ(runs[0].Glyphs[i].Glyph, face->GlyphIndex(text[i].unicode()));
    }
    // No "fi" ligature: every letter keeps its glyph.
    EXPECT_EQ(ShapeLine(*face, u"fi")[0].Glyphs.size(), 2);
}

// A line that begins like plain Latin text and goes on with characters
// that need bidi or shaping is shaped as a whole.
TEST(TextShaping, LinesThatTurnComplexAfterTheirStartAreShapedWhole)
{
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    const QList<TGlyphRun> mixed = ShapeLine(*face, u"ZMT \u05E9\u05DC\u05D5\u05DD");
    ASSERT_EQ(mixed.size(), 2);
    EXPECT_FALSE(mixed[0].RightToLeft);
    EXPECT_TRUE(mixed[1].RightToLeft);
    EXPECT_EQ(clustersOf(mixed), (QList<int>{0, 1, 2, 3, 7, 6, 5, 4}));

    const QList<TGlyphRun> accented = ShapeLine(*face, u"Cafe\u0301");
    ASSERT_EQ(accented.size(), 1);
    EXPECT_EQ(accented[0].Length, 5);
    EXPECT_EQ(clustersOf(accented).first(4), (QList<int>{0, 1, 2, 3}));
}

TEST(TextShaping, HebrewRunsRightToLeft)
{
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    const QString hebrew = QStringLiteral("שלום");
    const QList<TGlyphRun> runs = ShapeLine(*face, hebrew);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_TRUE(runs[0].RightToLeft);
    EXPECT_EQ(clustersOf(runs), (QList<int>{3, 2, 1, 0}));
    EXPECT_EQ(runs[0].Glyphs[0].Glyph, face->GlyphIndex(U'ם'));

    // Latin inside a right-to-left paragraph: the Hebrew word comes out on
    // the right, the Latin one on the left, each in its own order.
    const QString mixed = QStringLiteral("שלום ZMT");
    const QList<TGlyphRun> mixedRuns = ShapeLine(*face, mixed, true);
    ASSERT_GE(mixedRuns.size(), 2);
    EXPECT_FALSE(mixedRuns.first().RightToLeft);
    EXPECT_EQ(mixedRuns.first().Glyphs.first().Cluster, 5);
    EXPECT_TRUE(mixedRuns.last().RightToLeft);
    EXPECT_EQ(mixedRuns.last().Glyphs.last().Cluster, 0);
}

TEST(TextShaping, ArabicIsJoinedAndReversed)
{
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Arial Unicode MS"), false, false);
    const QString arabic = QStringLiteral("سلام");
    const QList<TGlyphRun> runs = ShapeLine(*face, arabic);
    ASSERT_EQ(runs.size(), 1);
    EXPECT_TRUE(runs[0].RightToLeft);
    const QList<int> clusters = clustersOf(runs);
    EXPECT_EQ(clusters.first(), 3);
    EXPECT_EQ(clusters.last(), 0);
    // The first letter takes its initial form, not the isolated one.
    EXPECT_NE(runs[0].Glyphs.last().Glyph, face->GlyphIndex(U'س'));

    const QList<int> advances = CharacterAdvances(*face, arabic);
    qint64 sum = 0;
    for (int advance : advances)
        sum += advance;
    EXPECT_EQ(sum, TextAdvance(*face, arabic));
}

TEST(TextShaping, SurrogatePairsAndEmptyText)
{
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    EXPECT_TRUE(ShapeLine(*face, u"").isEmpty());
    const QString text = QStringLiteral("a") + QString::fromUcs4(U"\U0001D400") + QStringLiteral("b");
    const QList<int> advances = CharacterAdvances(*face, text);
    ASSERT_EQ(advances.size(), 4);
    EXPECT_EQ(advances[2], 0); // the low surrogate shares its pair's advance
}

} // namespace
