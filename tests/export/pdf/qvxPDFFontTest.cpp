#include "FontTestSupport.h"
#include "PdfExportTestSupport.h"
#include "ToolTestSupport.h"
#include "common/FontPlacement.h"

#include "export/pdf/qvxExportPDF.h"
#include "export/pdf/qvxPDFFont.h"
#include "export/pdf/qvxTrueTypeCollection.h"
#include "export/pdf/qvxTrueTypeFont.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>

namespace {

std::unique_ptr<TFont> reportFont(const QString &name, TFontStyles style = {})
{
    auto font = std::make_unique<TFont>();
    font->SetName(name);
    font->SetSize(10);
    font->SetStyle(style);
    return font;
}

// A font of tests/data/fonts, or the font file at an absolute path.
TFontFacePtr testFace(const QString &name)
{
    TFontFile file;
    file.FileName = QDir::isAbsolutePath(name) ? name : QStringLiteral(TEST_DATA_DIR "/fonts/") + name;
    return TFontEngine::Face(file);
}

class PDFFonts : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return QDir::isAbsolutePath(name) ? name : dir.filePath(name); }

    QByteArray exportChecked(TqvxPDFExport &pdf, const QList<QList<TqvxComponent *>> &pages, const QString &name)
    {
        const QByteArray bytes = exportPages(pdf, pages, path(name));
        EXPECT_EQ(xrefComplaint(bytes).toStdString(), "") << name.toStdString();
        EXPECT_EQ(qpdfComplaint(path(name)).toStdString(), "") << name.toStdString();
        return bytes;
    }

    // A page on which the face of a test font file shows text in the
    // family's name, exported to file + ".pdf" with fonts embedded and
    // checked; the export's warnings go to warnings when given.
    QByteArray exportFace(const QString &family, const QString &file, const QString &text,
                          QStringList *warnings = nullptr);

    // The page of "ABCA" in simple.ttf, a face with a sound character map.
    QImage soundFacePage();
    // The page of "ABCA" in a test face whose map has broken subtables
    // beside sound ones looks as the sound face's page, its text comes
    // back, the test face alone is embedded, its subset passes the checkers
    // and maps the sound characters alone.
    void expectDrawnAsTheSoundFace(const QString &family, const QString &file, const QImage &soundPage);

    TestPageDrawing drawing;
    QTemporaryDir dir;
};

} // namespace

TEST(PDFFont, StylesMakeFontsOfTheirOwnExceptForCJKFaces)
{
    TqvxPDFExport pdf;
    TqvxPDFFont *regular = pdf.FindFont(*reportFont(QStringLiteral("Arial")));
    TqvxPDFFont *bold = pdf.FindFont(*reportFont(QStringLiteral("Arial"), fsBold));
    EXPECT_NE(regular, bold);
    EXPECT_EQ(pdf.FindFont(*reportFont(QStringLiteral("Arial"), fsUnderline)), regular);
    EXPECT_EQ(regular->ResourceName, "/F0");
    EXPECT_EQ(bold->ResourceName, "/F1");
    EXPECT_EQ(pdf.FindFont(*reportFont(QStringLiteral("MS UI Gothic"), fsBold)),
              pdf.FindFont(*reportFont(QStringLiteral("MS UI Gothic"))));
}

TEST(PDFFont, NamesTheFaceActuallyUsed)
{
    TqvxPDFFont arial(*reportFont(QStringLiteral("Arial"), fsBold | fsItalic));
    EXPECT_TRUE(arial.IsSubstituted());
    EXPECT_EQ(arial.GetPDFName(), "Liberation#20Sans,BoldItalic");
    TqvxPDFFont dejaVu(*reportFont(QStringLiteral("DejaVu Sans")));
    EXPECT_FALSE(dejaVu.IsSubstituted());
    EXPECT_EQ(dejaVu.GetPDFName(), "DejaVu#20Sans");
}

TEST(PDFFont, RecordsEachGlyphOnceWithItsWidthAndText)
{
    TqvxPDFFont font(*reportFont(QStringLiteral("DejaVu Sans")));
    const QList<quint16> glyphs = font.GetGlyphs(QStringLiteral("abba"));
    ASSERT_EQ(glyphs.size(), 4);
    EXPECT_EQ(glyphs[0], glyphs[3]);
    EXPECT_EQ(font.Glyphs(), (QList<quint16>{glyphs[0], glyphs[1]}));
    EXPECT_EQ(font.Characters(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    const TFontFace &face = font.Face();
    EXPECT_EQ(font.Widths()[0], qRound(face.GlyphAdvance(glyphs[0]) * 1000.0 / face.UnitsPerEm()));
}

TEST(PDFFont, GlyphsRecordedInAnyOrderAreFoundAgain)
{
    TqvxPDFFont font(*reportFont(QStringLiteral("DejaVu Sans")));
    bool exact = false;
    const QList<quint16> first = font.GetGlyphs(QStringLiteral("zA"), false, &exact);
    EXPECT_TRUE(exact);
    const QList<quint16> again = font.GetGlyphs(QStringLiteral("Azz"), false, &exact);
    EXPECT_TRUE(exact);
    EXPECT_EQ(again, (QList<quint16>{first[1], first[0], first[0]}));
    EXPECT_EQ(font.Characters(), (QStringList{QStringLiteral("z"), QStringLiteral("A")}));
}

TEST(PDFFont, RightToLeftTextComesInVisualOrderAndMapsBackToItsCharacters)
{
    TqvxPDFFont font(*reportFont(QStringLiteral("DejaVu Sans")));
    const QString hebrew = QStringLiteral("שלום");
    const QList<quint16> glyphs = font.GetGlyphs(hebrew, true);
    ASSERT_EQ(glyphs.size(), 4);
    EXPECT_EQ(glyphs.first(), font.Face().GlyphIndex(U'ם'));
    EXPECT_EQ(glyphs.last(), font.Face().GlyphIndex(U'ש'));
    EXPECT_EQ(font.Characters().first(), QStringLiteral("ש"));
}

TEST(PDFFont, ALigatureStandsForAllItsCharacters)
{
    TqvxPDFFont font(*reportFont(QStringLiteral("DejaVu Sans")));
    // Lam and alef join into one glyph in Arabic shaping.
    const QList<quint16> glyphs = font.GetGlyphs(QStringLiteral("لا"), true);
    ASSERT_EQ(glyphs.size(), 1);
    EXPECT_EQ(font.Characters(), QStringList{QStringLiteral("لا")});
}

TEST(PDFFont, GlyphZeroStandsForTheReplacementCharacterOnly)
{
    TqvxPDFFont font(*reportFont(QStringLiteral("DejaVu Sans")));
    bool exact = true;
    const QList<quint16> glyphs = font.GetGlyphs(QStringLiteral("a\u0378"), false, &exact);
    ASSERT_EQ(glyphs.size(), 2);
    EXPECT_EQ(glyphs[1], 0);
    EXPECT_FALSE(exact);
    EXPECT_EQ(font.Characters(), (QStringList{QStringLiteral("a"), QStringLiteral("\uFFFD")}));
    font.GetGlyphs(QStringLiteral("\u0379"), false, &exact);
    EXPECT_FALSE(exact);
    EXPECT_EQ(font.Characters().size(), 2);
}

// Lines shown from the font's table of Latin and Cyrillic glyphs come out
// as the shaper shows them, with the same ink and the same glyphs recorded;
// lines with other characters (marks, Greek, Hebrew, controls, a soft
// hyphen) and lines whose glyphs stand for other text already are shown as
// before.
TEST(PDFFont, LatinAndCyrillicLinesShowAsTheShaperShowsThem)
{
    TqvxPDFExport shaped;
    TqvxPDFExport simple;
    TqvxPDFFont *before = shaped.FindFont(*reportFont(QStringLiteral("Arial")));
    TqvxPDFFont *after = simple.FindFont(*reportFont(QStringLiteral("Arial")));
    const QString lines[] = {QStringLiteral("Строка 1.1: ZMT-250 (a\\b), ёЁ ґ"),
                             QStringLiteral("abba"),
                             QStringLiteral("Cafe\u0301"),
                             QStringLiteral("soft\u00ADhyphen\ttab"),
                             QStringLiteral("Ωμέγα ZMT"),
                             QStringLiteral("שלום ZMT"),
                             QStringLiteral("\u0528\u0529 ZMT"),
                             // The glyph of Å recorded for A and a ring first:
                             // shown for Å it needs the text alongside.
                             QStringLiteral("A\u030A"),
                             QStringLiteral("\u00C5 ZMT"),
                             QStringLiteral(" "),
                             QString(),
                             QStringLiteral("Строка 1.1: ZMT-250 (a\\b), ёЁ ґ")};
    for (const QString &line : lines) {
        for (const bool rightToLeft : {false, true}) {
            TqvxPDFShapedText glyphs;
            const QByteArray expected = shaped.ShowText(before, 10, line, rightToLeft, &glyphs);
            const TqvxPDFInk ink = glyphs.Glyphs.isEmpty() ? TqvxPDFInk() : before->Ink(glyphs, 10, 0.5);
            TqvxPDFContentText text;
            simple.ShowText(text, after, 10, line, rightToLeft, 0.5, nullptr);
            EXPECT_EQ(QByteArray(text.Data(), text.Size()), expected) << line.toStdString();
            // The ink against limits just around it, a hair inside it on
            // each side, and far around it.
            const TqvxPDFInkLimits around{100, 200, 100 + ink.Left, 100 + ink.Right, 200 + ink.Bottom, 200 + ink.Top};
            QList<TqvxPDFInkLimits> limits{around, around, around, around, around, around};
            limits[1].Left += 0.001;
            limits[2].Right -= 0.001;
            limits[3].Bottom += 0.001;
            limits[4].Top -= 0.001;
            limits[5] = {100, 200, 0, 1000, 0, 1000};
            for (const TqvxPDFInkLimits &limit : limits) {
                TqvxPDFContentText again;
                EXPECT_EQ(simple.ShowText(again, after, 10, line, rightToLeft, 0.5, &limit), limit.Hold(ink))
                    << line.toStdString() << ' ' << limit.Left << ' ' << limit.Right << ' ' << limit.Bottom << ' '
                    << limit.Top;
                EXPECT_EQ(QByteArray(again.Data(), again.Size()), expected);
            }
        }
    }
    EXPECT_EQ(after->Glyphs(), before->Glyphs());
    EXPECT_EQ(after->Widths(), before->Widths());
    EXPECT_EQ(after->Characters(), before->Characters());
    EXPECT_EQ(simple.Fonts().size(), shaped.Fonts().size());
    ASSERT_TRUE(after->Characters().contains(QStringLiteral("A\u030A")));
    EXPECT_EQ(after->FontOperands(10), "/F0 10");
    EXPECT_EQ(after->FontOperands(12), "/F0 12");
}

TEST(PDFFont, DescriptorMetricsComeFromTheFaceInGlyphSpace)
{
    TqvxPDFFont italic(*reportFont(QStringLiteral("DejaVu Sans"), fsItalic));
    const TqvxPDFFontMetrics m = italic.Metrics();
    EXPECT_EQ(m.ItalicAngle, -11);
    EXPECT_GT(m.Ascent, 700);
    EXPECT_LT(m.Descent, 0);
    EXPECT_GT(m.AvgWidth, 0);
}

TEST_F(PDFFonts, TextOfFourScriptsComesBackExactly)
{
    auto latin = textObject(QStringLiteral("The quick brown fox"), 20, 20, QStringLiteral("DejaVu Sans"));
    auto cyrillic = textObject(QStringLiteral("Съешь же ещё этих булок"), 20, 60, QStringLiteral("Arial"));
    auto hebrew = textObject(QStringLiteral("שלום עולם"), 20, 100, QStringLiteral("DejaVu Sans"));
    hebrew->SetGroupIndex(1);
    auto arabic = textObject(QStringLiteral("مرحبا بالعالم"), 20, 140, QStringLiteral("DejaVu Sans"));
    arabic->SetGroupIndex(1);
    TqvxPDFExport pdf;
    makeDeterministic(pdf, true);
    pdf.SetEmbeddedFonts(true);
    exportChecked(pdf, {{latin.get(), cyrillic.get(), hebrew.get(), arabic.get()}}, QStringLiteral("scripts.pdf"));

    const QStringList lines = extractedText(path(QStringLiteral("scripts.pdf"))).split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("The quick brown fox"));
    EXPECT_EQ(lines[1], QStringLiteral("Съешь же ещё этих булок"));
    EXPECT_EQ(lines[2], QStringLiteral("שלום עולם"));
    EXPECT_EQ(lines[3], QStringLiteral("مرحبا بالعالم"));

    const QString fonts = toolOutput(QStringLiteral("pdffonts"), {path(QStringLiteral("scripts.pdf"))});
    EXPECT_TRUE(fonts.contains(QStringLiteral("DejaVu Sans                          CID TrueType      Identity-H       yes no  yes")))
        << fonts.toStdString();
    EXPECT_TRUE(fonts.contains(QStringLiteral("Liberation Sans                      CID TrueType      Identity-H       yes no  yes")))
        << fonts.toStdString();
}

TEST_F(PDFFonts, ASubstitutedFaceTravelsWithTheDocumentAnyway)
{
    auto arial = textObject(QStringLiteral("Arial is Liberation"), 20, 20, QStringLiteral("Arial"));
    auto dejaVu = textObject(QStringLiteral("DejaVu stays home"), 20, 60, QStringLiteral("DejaVu Sans"));
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    const QByteArray bytes = exportChecked(pdf, {{arial.get(), dejaVu.get()}}, QStringLiteral("substitute.pdf"));
    EXPECT_EQ(bytes.count("/FontFile2 "), 1);
    EXPECT_TRUE(bytes.contains("/BaseFont /Liberation#20Sans\r\n"));
    const QString fonts = toolOutput(QStringLiteral("pdffonts"), {path(QStringLiteral("substitute.pdf"))});
    EXPECT_TRUE(fonts.contains(QStringLiteral("Liberation Sans                      CID TrueType      Identity-H       yes no  yes")))
        << fonts.toStdString();
    EXPECT_TRUE(fonts.contains(QStringLiteral("DejaVu Sans                          CID TrueType      Identity-H       no  no  yes")))
        << fonts.toStdString();
    EXPECT_EQ(extractedText(path(QStringLiteral("substitute.pdf"))).trimmed(),
              QStringLiteral("Arial is Liberation\nDejaVu stays home"));
}

TEST_F(PDFFonts, EmbeddedSubsetsPassTheSanitizer)
{
    auto text = textObject(QStringLiteral("Subset fonts, шрифты"), 20, 20, QStringLiteral("DejaVu Sans"));
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetEmbeddedFonts(true);
    const QByteArray bytes = exportChecked(pdf, {{text.get()}}, QStringLiteral("subset.pdf"));
    const qsizetype header = bytes.lastIndexOf("<< /Length ", bytes.indexOf(" /Length1 "));
    ASSERT_GE(header, 0);
    const QList<QByteArray> words = bytes.mid(header, bytes.indexOf(">>", header) - header).split(' ');
    ASSERT_GE(words.size(), 5);
    EXPECT_EQ(words[2], words[4]); // "<< /Length n /Length1 n"
    const qsizetype data = bytes.indexOf("stream\r\n", header) + 8;
    const QByteArray font = bytes.mid(data, words[2].toInt());
    EXPECT_EQ(otsComplaint(font), QString());
    EXPECT_EQ(fontToolsComplaint(font), QString());
}

namespace {

// A page drawing that shows a line of text at 100 points with its baseline
// at (100, 400) points, in the font of a test face.
struct FaceDrawing {
    FaceDrawing(const QString &family, const QString &file, const QString &text)
    {
        qvxInstallPDFPageDrawing({nullptr, [=](TqvxPDFExport &pdf, TqvxView *) {
                                      TqvxPDFFont *font = pdf.FindFont(*reportFont(family), testFace(file));
                                      TqvxPDFExport::Write(pdf.PageContent(), "BT\r\n" + font->ResourceName
                                                                                  + " 100 Tf\r\n100 400 Td\r\n");
                                      TqvxPDFExport::Write(pdf.PageContent(), pdf.ShowText(font, 100, text));
                                      TqvxPDFExport::Write(pdf.PageContent(), "ET\r\n");
                                  }});
    }
};

QByteArray PDFFonts::exportFace(const QString &family, const QString &file, const QString &text,
                                QStringList *warnings)
{
    FaceDrawing drawing(family, file, text);
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetEmbeddedFonts(true);
    if (warnings)
        pdf.OnWarning = [warnings](const QString &warning) { *warnings << warning; };
    auto any = textObject(QStringLiteral("x"), 0, 0);
    return exportChecked(pdf, {{any.get()}}, file + QStringLiteral(".pdf"));
}

// The embedded font files of a document written uncompressed.
QList<QByteArray> embeddedFonts(const QByteArray &pdf)
{
    QList<QByteArray> fonts;
    for (qsizetype at = pdf.indexOf("/FontFile"); at >= 0; at = pdf.indexOf("/FontFile", at + 1)) {
        const int object = pdf.mid(at + 11, 8).trimmed().split(' ').value(0).toInt();
        const QByteArray head = "\r\n" + QByteArray::number(object) + " 0 obj\r\n";
        const qsizetype start = pdf.indexOf(head);
        const qsizetype length = pdf.indexOf("/Length ", start) + 8;
        const qsizetype data = pdf.indexOf("stream\r\n", start) + 8;
        fonts.append(pdf.mid(data, pdf.mid(length, 12).split(' ').value(0).toInt()));
    }
    return fonts;
}

QImage PDFFonts::soundFacePage()
{
    exportFace(QStringLiteral("Test Sans"), QStringLiteral("simple.ttf"), QStringLiteral("ABCA"));
    return renderedPage(path(QStringLiteral("simple.ttf.pdf")), path(QStringLiteral("simple")));
}

void PDFFonts::expectDrawnAsTheSoundFace(const QString &family, const QString &file, const QImage &soundPage)
{
    const QString text = QStringLiteral("ABCA");
    QStringList warnings;
    const QByteArray bytes = exportFace(family, file, text, &warnings);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
    const QString pdf = path(file + QStringLiteral(".pdf"));
    EXPECT_EQ(extractedText(pdf).simplified(), text);
    const QList<QByteArray> fonts = embeddedFonts(bytes);
    EXPECT_EQ(fonts.size(), 1) << "the test face alone";
    for (const QByteArray &font : fonts) {
        EXPECT_EQ(otsComplaint(font), QString());
        EXPECT_EQ(fontToolsComplaint(font), QString());
    }
    EXPECT_EQ(fontToolsOutput(fonts.value(0), QStringLiteral("print(sorted({(c, f.getGlyphID(g)) for t in f['cmap'].tables\n"
                                                             "                for c, g in t.cmap.items()}))")),
              QStringLiteral("[(32, 5), (65, 1), (66, 2), (67, 4)]"));
    EXPECT_EQ(renderedPage(pdf, path(file)), soundPage) << "the glyphs drawn are not those of the text";
}

bool dark(const QImage &page, int x, int y)
{
    return qGray(page.pixel(x, y)) < 128;
}

} // namespace

TEST_F(PDFFonts, CFFFacesAreSubsetAndWrittenAsCIDFontType0)
{
    struct Case {
        QString family, file, text;
    };
    for (const Case &c : {Case{QStringLiteral("Test CFF"), QStringLiteral("cff.otf"), QStringLiteral("A")},
                          Case{QStringLiteral("Test CID"), QStringLiteral("cffcid.otf"), QStringLiteral("A")}}) {
        const QString &file = c.file;
        SCOPED_TRACE(file.toStdString());
        FaceDrawing drawing(c.family, file, c.text);
        TqvxPDFExport pdf;
        makeDeterministic(pdf, false);
        pdf.SetEmbeddedFonts(true);
        auto any = textObject(QStringLiteral("x"), 0, 0);
        const QString name = file + QStringLiteral(".pdf");
        const QByteArray bytes = exportChecked(pdf, {{any.get()}}, name);
        EXPECT_TRUE(bytes.contains("/Subtype /CIDFontType0\r\n"));
        EXPECT_TRUE(bytes.contains("/Version /1.6\r\n"));
        const QList<QByteArray> fonts = embeddedFonts(bytes);
        ASSERT_EQ(fonts.size(), 1);
        const QByteArray &subset = fonts[0];
        EXPECT_TRUE(subset.startsWith("OTTO"));
        EXPECT_EQ(otsComplaint(subset), QString());
        EXPECT_EQ(fontToolsComplaint(subset), QString());

        const QString listed = toolOutput(QStringLiteral("pdffonts"), {path(name)});
        EXPECT_TRUE(listed.contains(QStringLiteral("CID Type 0C (OT)  Identity-H       yes"))) << listed.toStdString();
        EXPECT_FALSE(listed.contains(QStringLiteral("Mismatch"))) << listed.toStdString();
        EXPECT_EQ(extractedText(path(name)).trimmed(), c.text);
    }
    // Glyph 1 of the CID-keyed face (CID 5) is a square from (10, 0) to (50, 70)
    // points off the origin; the other glyphs are triangles and a diamond.
    const QImage page = renderedPage(path(QStringLiteral("cffcid.otf.pdf")), path(QStringLiteral("cid")));
    ASSERT_FALSE(page.isNull());
    const double k = 96.0 / 72;
    const auto at = [&](double x, double y) { return dark(page, int((100 + x) * k), page.height() - int((400 + y) * k)); };
    EXPECT_TRUE(at(12, 67));
    EXPECT_TRUE(at(48, 3));
    EXPECT_TRUE(at(30, 35));
    EXPECT_FALSE(at(60, 35));
}

TEST_F(PDFFonts, AFaceTheReaderRefusesIsReplacedAndReportedOnce)
{
    for (const QString &file : {QStringLiteral("cmap6.ttf"), QStringLiteral("simple.woff"),
                                QStringLiteral("nooutlines.ttf")}) {
        SCOPED_TRACE(file.toStdString());
        FaceDrawing drawing(QStringLiteral("Test Sans"), file, QStringLiteral("ABBA"));
        TqvxPDFExport pdf;
        makeDeterministic(pdf, false);
        pdf.SetEmbeddedFonts(true);
        QStringList warnings;
        pdf.OnWarning = [&warnings](const QString &text) { warnings << text; };
        auto any = textObject(QStringLiteral("x"), 0, 0);
        const QString name = file + QStringLiteral(".pdf");
        const QByteArray bytes = exportChecked(pdf, {{any.get(), any.get()}}, name);
        ASSERT_EQ(warnings.size(), 1);
        EXPECT_TRUE(warnings[0].contains(QStringLiteral("cannot be embedded"))) << warnings[0].toStdString();
        EXPECT_EQ(bytes.count("/FontFile2 "), 1); // Liberation Sans only
        EXPECT_EQ(extractedText(path(name)).simplified(), QStringLiteral("ABBA"));
    }
}

TEST_F(PDFFonts, CharactersTheFaceLacksComeFromFacesThatHaveThemOrAsReplacementCharacters)
{
    // Liberation Sans lacks the emoji and the ffi ligature, which DejaVu
    // faces have; no face has the unassigned U+0378, which is drawn as
    // U+FFFD but read as itself.
    auto text = textObject(QStringLiteral("Smile 😀😁\u0378 ﬂow oﬃce"), 20, 20, QStringLiteral("Arial"));
    auto again = textObject(QStringLiteral("S😀"), 20, 60, QStringLiteral("Arial"));
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    const QByteArray bytes = exportChecked(pdf, {{text.get(), again.get()}}, QStringLiteral("fallback.pdf"));
    EXPECT_EQ(extractedText(path(QStringLiteral("fallback.pdf"))).simplified(),
              QStringLiteral("Smile 😀😁\u0378 ﬂow oﬃce S😀"));
    const QString fonts = toolOutput(QStringLiteral("pdffonts"), {path(QStringLiteral("fallback.pdf"))});
    EXPECT_TRUE(fonts.contains(QStringLiteral("DejaVu Sans                          CID TrueType      Identity-H       yes")))
        << fonts.toStdString();
    // Glyph 0 is not used, and the ToUnicode maps name it only in their
    // code space ranges.
    EXPECT_EQ(bytes.count("<0000> <"), bytes.count("<0000> <FFFF>\r\nendcodespacerange"));
}

namespace {

// A page that shows a line at 30 points with its baseline at (100, 400)
// points in a report font: as the export shows it, or each glyph of the
// face placed alone where HarfBuzz places it, or the glyphs of the face
// each at the pen the widths before it leave.
struct PlacedLineDrawing {
    enum Placing { AsExported, ByHarfBuzz, AtThePen };
    PlacedLineDrawing(const QString &family, const QString &text, const TFontFacePtr &face, Placing placing)
    {
        qvxInstallPDFPageDrawing({nullptr, [=](TqvxPDFExport &pdf, TqvxView *) {
                                      TqvxPDFFont *font = pdf.FindFont(*reportFont(family));
                                      QByteArray content = "BT\r\n" + font->ResourceName + " 30 Tf\r\n";
                                      if (placing == ByHarfBuzz) {
                                          content += placedByHarfBuzz(pdf, face, text);
                                      } else if (placing == AtThePen) {
                                          TqvxPDFFont *shownBy = pdf.FindFont(*reportFont(face->File().Family), face);
                                          content += shownBy->ResourceName + " 30 Tf\r\n100 400 Td\r\n"
                                              + PdfShowGlyphs(shownBy->GetGlyphs(text));
                                      } else {
                                          content += "100 400 Td\r\n" + pdf.ShowText(font, 30, text);
                                      }
                                      TqvxPDFExport::Write(pdf.PageContent(), content + "ET\r\n");
                                  }});
    }

    static QByteArray placedByHarfBuzz(TqvxPDFExport &pdf, const TFontFacePtr &face, const QString &text)
    {
        TqvxPDFFont *font = pdf.FindFont(*reportFont(face->File().Family), face);
        const QList<quint16> recorded = font->GetGlyphs(text);
        int unitsPerEm = 0;
        const QList<TPlacedGlyph> placed =
            HarfBuzzPlacement(face->FileData(), unsigned(face->File().FaceIndex), text, &unitsPerEm);
        EXPECT_EQ(recorded.size(), placed.size());
        QByteArray content = font->ResourceName + " 30 Tf\r\n";
        for (const TPlacedGlyph &glyph : placed) {
            EXPECT_TRUE(recorded.contains(quint16(glyph.Glyph)));
            content += "1 0 0 1 " + PdfNumber(100 + glyph.X * 30 / unitsPerEm) + ' '
                + PdfNumber(400 + glyph.Y * 30 / unitsPerEm) + " Tm <" + GlyphsToHex4({quint16(glyph.Glyph)})
                + "> Tj\r\n";
        }
        return content;
    }
};

} // namespace

// A line's marks are shown where the font's mark positioning puts them:
// the page of the line as the export shows it looks, to half a pixel, as
// the page of its glyphs each placed where HarfBuzz places it.  Hebrew
// points in Arial's face, Arabic harakat in DejaVu Sans, Thai marks
// stacked above a consonant in the face standing in for Arial; Latin
// letters, which the shaper does not move, are the control.  Readers take
// the same text from the line as from its glyphs each left at its pen.
TEST_F(PDFFonts, MarksAreShownWhereTheFontPlacesThem)
{
    struct Case {
        QString family;
        QString text;
        TFontFacePtr face;
    };
    const TFontFacePtr arial = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    const TFontFacePtr dejaVu = TFontEngine::Face(QStringLiteral("DejaVu Sans"), false, false);
    QList<Case> cases = {
        {QStringLiteral("Arial"), QStringLiteral("\u05E9\u05C1\u05B8\u05DC\u05D5\u05B9\u05DD"), arial},
        {QStringLiteral("Arial"), QStringLiteral("\u05D1\u05BC\u05B0\u05E8\u05B5\u05D0\u05E9\u05C1\u05B4"), arial},
        {QStringLiteral("Arial"), QStringLiteral("Hamburg 250"), arial},
        {QStringLiteral("DejaVu Sans"), QStringLiteral("\u0628\u0650\u0633\u0652\u0645\u0650"), dejaVu},
        {QStringLiteral("DejaVu Sans"), QStringLiteral("\u0645\u064F\u062D\u064E\u0645\u0651\u064E\u062F"), dejaVu},
    };
    if (const TFontFacePtr thai = TFontEngine::CoveringFace(0x0E1B, false, false))
        cases.append({QStringLiteral("Arial"), QStringLiteral("\u0E1B\u0E31\u0E49\u0E19\u0E1F\u0E37\u0E48\u0E19"), thai});
    else
        std::cout << "[ NOTE     ] no installed face has Thai letters: Thai marks not checked\n";
    int index = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const QString name = QStringLiteral("marks%1-").arg(index++);
        QImage pages[3];
        QString texts[3];
        for (const auto placing :
             {PlacedLineDrawing::AsExported, PlacedLineDrawing::ByHarfBuzz, PlacedLineDrawing::AtThePen}) {
            PlacedLineDrawing drawing(c.family, c.text, c.face, placing);
            TqvxPDFExport pdf;
            makeDeterministic(pdf, false);
            pdf.SetEmbeddedFonts(true);
            auto any = textObject(QStringLiteral("x"), 0, 0);
            const QString file = name + QString::number(placing);
            exportChecked(pdf, {{any.get()}}, file + QStringLiteral(".pdf"));
            pages[placing] = renderedPage(path(file + QStringLiteral(".pdf")), path(file));
            texts[placing] = extractedText(path(file + QStringLiteral(".pdf")));
        }
        ASSERT_FALSE(pages[PlacedLineDrawing::AsExported].isNull());
        EXPECT_LT(GreatestGreyDifference(pages[PlacedLineDrawing::AsExported], pages[PlacedLineDrawing::ByHarfBuzz]),
                  128);
        EXPECT_EQ(texts[PlacedLineDrawing::AsExported], texts[PlacedLineDrawing::AtThePen]);
    }
}

TEST_F(PDFFonts, EveryCharacterOfAClusterIsKept)
{
    // é alone first, then é with a circumflex, then e with an acute and a
    // circumflex composed into the same é glyph by the shaper.
    auto text = textObject(QStringLiteral("é é\u0302 e\u0301\u0302 x"), 20, 20, QStringLiteral("DejaVu Sans"));
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetEmbeddedFonts(true);
    exportChecked(pdf, {{text.get()}}, QStringLiteral("clusters.pdf"));
    EXPECT_EQ(extractedText(path(QStringLiteral("clusters.pdf"))).simplified().normalized(QString::NormalizationForm_D),
              QStringLiteral("é é\u0302 e\u0301\u0302 x").normalized(QString::NormalizationForm_D));
}

namespace {

// Every font of a document written with Identity-H travels with it.
void expectEveryIdentityFontEmbedded(const QString &file)
{
    const QString listed = toolOutput(QStringLiteral("pdffonts"), {file});
    int fonts = 0;
    for (const QString &line : listed.split(u'\n')) {
        const QRegularExpressionMatch match = QRegularExpression(QStringLiteral("Identity-H\\s+(\\w+)")).match(line);
        if (!match.hasMatch())
            continue;
        ++fonts;
        EXPECT_EQ(match.captured(1), QStringLiteral("yes")) << line.toStdString();
    }
    EXPECT_GT(fonts, 0) << listed.toStdString();
}

} // namespace

TEST_F(PDFFonts, AFaceDrawsOnlyTheGlyphsItsSubsetCanHold)
{
    struct Case {
        QString family, file, text;
    };
    // The space of the first face lies past its glyph table; "C" of the
    // second maps to a glyph it does not have; the only subtable of the
    // third has no segment, so other faces show all its text.
    for (const Case &c : {Case{QStringLiteral("Test Sans"), QStringLiteral("badloca.ttf"), QStringLiteral("AB BA")},
                          Case{QStringLiteral("Test Cmap Twelve"), QStringLiteral("cmap12missing.ttf"),
                               QStringLiteral("ABCA")},
                          Case{QStringLiteral("Test Four Only Empty"), QStringLiteral("cmap4onlyempty.ttf"),
                               QStringLiteral("ABCA")}}) {
        SCOPED_TRACE(c.file.toStdString());
        QStringList warnings;
        const QByteArray bytes = exportFace(c.family, c.file, c.text, &warnings);
        const QString name = c.file + QStringLiteral(".pdf");
        EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
        expectEveryIdentityFontEmbedded(path(name));
        EXPECT_EQ(extractedText(path(name)).simplified(), c.text);
        const QList<QByteArray> fonts = embeddedFonts(bytes);
        EXPECT_GE(fonts.size(), 2) << "the test face and its stand-in";
        for (const QByteArray &font : fonts) {
            EXPECT_EQ(otsComplaint(font), QString());
            EXPECT_EQ(fontToolsComplaint(font), QString());
        }
    }
}

// A copy of DejaVu Sans named "Test Hostile" whose format 12 subtables map
// U+0001..U+1FFF to glyphs 1..8191: past its 6,253 glyphs, and in range to
// the wrong glyphs ("H" to glyph 72).  Those subtables are left out
// whole, and its format 4 subtables map the text: the page looks as DejaVu
// Sans draws it, the hostile face alone is embedded, every embedded program
// passes the sanitizer, and no mapping left in it points past its glyphs.
TEST_F(PDFFonts, ACharacterMapSubtableMappingPastTheGlyphCountIsLeftOutWhole)
{
    const QString dejaVu = TFontEngine::Resolve(QStringLiteral("DejaVu Sans"), false, false).FileName;
    ASSERT_TRUE(dejaVu.endsWith(QStringLiteral("DejaVuSans.ttf"))) << dejaVu.toStdString();
    const QString hostile = path(QStringLiteral("hostile.ttf"));
    const QString script = QStringLiteral(
        "import sys\n"
        "from fontTools.ttLib import TTFont\n"
        "f = TTFont(sys.argv[1])\n"
        "for record in f['name'].names:\n"
        "    if record.nameID in (1, 3, 4, 16):\n"
        "        record.string = 'Test Hostile'\n"
        "    elif record.nameID == 6:\n"
        "        record.string = 'TestHostile'\n"
        "assert len(f.getGlyphOrder()) < 0x2000\n"
        "for table in f['cmap'].tables:\n"
        "    if table.format == 12:\n"
        "        table.cmap = {c: 'glyph%d' % c for c in range(1, 0x2000)}\n"
        "formats = sorted(t.format for t in f['cmap'].tables if t.platformID == 3)\n"
        "assert formats == [4, 12], formats\n"
        "f.save(sys.argv[2])\n");
    QString complaint;
    ASSERT_EQ(runTool(fontToolsPython(), {QStringLiteral("-c"), script, dejaVu, hostile}, &complaint), 0)
        << complaint.toStdString();

    const QString text = QStringLiteral("Hi, Мир 1");
    QStringList warnings;
    const QByteArray bytes = exportFace(QStringLiteral("Test Hostile"), hostile, text, &warnings);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
    const QString file = hostile + QStringLiteral(".pdf");
    EXPECT_EQ(extractedText(file).simplified(), text);
    const QList<QByteArray> fonts = embeddedFonts(bytes);
    ASSERT_EQ(fonts.size(), 1) << "the hostile face alone";
    EXPECT_EQ(otsComplaint(fonts[0]), QString());
    EXPECT_EQ(fontToolsComplaint(fonts[0]), QString());
    EXPECT_EQ(fontToolsOutput(fonts[0], QStringLiteral("n = len(f.getGlyphOrder())\n"
                                                       "print(all(f.getGlyphID(g) < n for t in f['cmap'].tables\n"
                                                       "          for g in t.cmap.values()))")),
              QStringLiteral("True"));

    const QString reference = path(QStringLiteral("dejavu.ttf"));
    ASSERT_TRUE(QFile::copy(dejaVu, reference));
    exportFace(QStringLiteral("DejaVu Sans"), reference, text);
    const QImage drawn = renderedPage(file, path(QStringLiteral("hostile")));
    const QImage expected = renderedPage(reference + QStringLiteral(".pdf"), path(QStringLiteral("dejavu")));
    ASSERT_FALSE(drawn.isNull());
    EXPECT_EQ(drawn, expected) << "the glyphs drawn are not those of the text";
}

// Test faces one of whose character map subtables has its groups (or
// segments) out of order: a last group mapping "B" past the glyph count,
// overlapping groups, a group starting past its end, groups not sorted by
// start, and overlapping format 4 segments.  The broken subtable is left
// out whole: the page looks as the face with a sound map draws it, the
// subset passes the sanitizer, and its map holds the sound mappings alone.
TEST_F(PDFFonts, ACharacterMapSubtableWithRangesOutOfOrderIsLeftOutWhole)
{
    const QImage expected = soundFacePage();
    ASSERT_FALSE(expected.isNull());
    struct Case {
        QString family, file;
    };
    for (const Case &c : {Case{QStringLiteral("Test Twelve Out Of Order"), QStringLiteral("cmap12outoforder.ttf")},
                          Case{QStringLiteral("Test Twelve Overlapping"), QStringLiteral("cmap12overlapping.ttf")},
                          Case{QStringLiteral("Test Twelve Reversed"), QStringLiteral("cmap12reversed.ttf")},
                          Case{QStringLiteral("Test Twelve Unsorted"), QStringLiteral("cmap12unsorted.ttf")},
                          Case{QStringLiteral("Test Four Overlapping"), QStringLiteral("cmap4overlapping.ttf")}}) {
        SCOPED_TRACE(c.file.toStdString());
        expectDrawnAsTheSoundFace(c.family, c.file, expected);
    }
}

namespace {

// The glyph of each character as the subsetter reads a face's map.
QString subsetterGlyphs(const QString &file, const QString &characters)
{
    const QByteArray font = testFont(file);
    TrueTypeFont face(font, 0);
    face.LoadFont(SkippedTables());
    QStringList glyphs;
    for (const QChar c : characters) {
        quint32 glyph = 0;
        for (const TCmapRange &range : face.cmap->MappedRanges())
            if (range.First <= c.unicode() && c.unicode() <= range.Last)
                glyph = range.Glyph + (c.unicode() - range.First);
        glyphs.append(QString::number(glyph));
    }
    return glyphs.join(u' ');
}

QString engineGlyphs(const QString &file, const QString &characters)
{
    const TFontFacePtr face = testFace(file);
    QStringList glyphs;
    for (const QChar c : characters)
        glyphs.append(QString::number(face->GlyphIndex(c.unicode())));
    return glyphs.join(u' ');
}

} // namespace

// Test faces whose (3,1) format 4 subtable has no segment, lacks the
// closing segment U+FFFF..U+FFFF (ending at "C", or running from U+FFFB to
// U+FFFF), or has a segment reading its glyphs outside its glyph array (at
// an odd offset into it, or in its range offsets, where shaping and a
// plain reading find different glyphs), their (0,3) subtable sound; a
// face with 4,096 format 12 subtables mapping past its glyphs; and a face
// whose format 12 subtable maps "A" to B and "B" to a ring before a group
// running past U+10FFFF, which sanitizers refuse.  The font engine and the
// subsetter leave the broken subtables out alike: for each character the
// engine's glyph is the one the subsetter reads and the sound face's, the
// page looks as the sound face draws it, and the subset passes the
// sanitizer with the sound mappings alone.
TEST_F(PDFFonts, BrokenFormat4SubtablesAreLeftOutWholeByTheEngineAndTheSubsetAlike)
{
    const QImage expected = soundFacePage();
    ASSERT_FALSE(expected.isNull());
    const QString characters = QStringLiteral(" ABC\uFFFD");
    const QString soundGlyphs = engineGlyphs(QStringLiteral("simple.ttf"), characters);
    EXPECT_EQ(soundGlyphs.toStdString(), "5 1 2 4 0");
    struct Case {
        QString family, file;
    };
    for (const Case &c : {Case{QStringLiteral("Test Four Empty"), QStringLiteral("cmap4empty.ttf")},
                          Case{QStringLiteral("Test Four Unclosed"), QStringLiteral("cmap4unclosed.ttf")},
                          Case{QStringLiteral("Test Four To FFFF"), QStringLiteral("cmap4toffff.ttf")},
                          Case{QStringLiteral("Test Four Odd Offset"), QStringLiteral("cmap4oddoffset.ttf")},
                          Case{QStringLiteral("Test Four Own Offsets"), QStringLiteral("cmap4ownoffsets.ttf")},
                          Case{QStringLiteral("Test Many Twelve"), QStringLiteral("cmap12many.ttf")},
                          Case{QStringLiteral("Test Twelve Past Unicode"), QStringLiteral("cmap12pastunicode.ttf")}}) {
        SCOPED_TRACE(c.file.toStdString());
        EXPECT_EQ(engineGlyphs(c.file, characters).toStdString(), soundGlyphs.toStdString());
        EXPECT_EQ(subsetterGlyphs(c.file, characters).toStdString(), soundGlyphs.toStdString());
        expectDrawnAsTheSoundFace(c.family, c.file, expected);
    }
}

TEST_F(PDFFonts, EveryEmbeddedProgramOfAVariableFontPassesTheCheckers)
{
    for (const QString &file : {QStringLiteral("variable.ttf"), QStringLiteral("variablegdef.ttf")}) {
        SCOPED_TRACE(file.toStdString());
        const QByteArray bytes = exportFace(QStringLiteral("Test Variable"), file, QStringLiteral("ABCA"));
        const QString name = file + QStringLiteral(".pdf");
        const QList<QByteArray> fonts = embeddedFonts(bytes);
        EXPECT_EQ(fonts.size(), 1);
        for (const QByteArray &font : fonts) {
            EXPECT_EQ(otsComplaint(font), QString());
            EXPECT_EQ(fontToolsComplaint(font), QString());
        }
        EXPECT_EQ(extractedText(path(name)).simplified(), QStringLiteral("ABCA"));
    }
}

namespace {

struct PlacedWord {
    QString text;
    double left;
};

// The words pdftotext finds on the first page with their left edges.
QList<PlacedWord> placedWords(const QString &file)
{
    const QString html = toolOutput(QStringLiteral("pdftotext"),
                                    {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                                     QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                     QStringLiteral("1"), file, QStringLiteral("-")});
    QList<PlacedWord> words;
    const QRegularExpression word(QStringLiteral("<word xMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto match = word.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        words.append({found.captured(2), found.captured(1).toDouble()});
    }
    return words;
}

// The left edge of a word, however the tool orders its letters; -1 when
// it is not there.
double leftOf(const QList<PlacedWord> &words, const QString &wanted)
{
    QString reversed = wanted;
    std::reverse(reversed.begin(), reversed.end());
    for (const PlacedWord &word : words)
        if (word.text == wanted || word.text == reversed)
            return word.left;
    return -1;
}

} // namespace

TEST_F(PDFFonts, RightToLeftWordsKeepTheirOrderWhicheverFaceShowsThem)
{
    struct Case {
        QString font;    // the report's font; some have the script, some not
        QString text;    // in logical order
        QStringList leftToRight; // its words as they stand on the page
        bool rightToLeft;
    };
    const QString hello = QStringLiteral("مرحبا"), world = QStringLiteral("بالعالم");
    const QString shalom = QStringLiteral("שלום"), olam = QStringLiteral("עולם");
    const QList<Case> cases = {
        {QStringLiteral("Arial"), hello + u' ' + world, {world, hello}, false},        // no Arabic
        {QStringLiteral("Arial"), hello + u' ' + world, {world, hello}, true},
        {QStringLiteral("DejaVu Sans"), hello + u' ' + world, {world, hello}, false},  // has Arabic
        {QStringLiteral("DejaVu Serif"), shalom + u' ' + olam, {olam, shalom}, false}, // no Hebrew
        {QStringLiteral("Arial"), shalom + u' ' + olam, {olam, shalom}, false},        // has Hebrew
        // A number after Arabic words belongs to their run and stands left
        // of them.
        {QStringLiteral("Arial"), QStringLiteral("ZMT ") + hello + u' ' + world + QStringLiteral(" 250"),
         {QStringLiteral("ZMT"), QStringLiteral("250"), world, hello}, false},
        {QStringLiteral("DejaVu Sans"), QStringLiteral("ZMT ") + hello + u' ' + world + QStringLiteral(" 250"),
         {QStringLiteral("ZMT"), QStringLiteral("250"), world, hello}, false},
        {QStringLiteral("DejaVu Serif"), shalom + QStringLiteral(" ZMT ") + olam,
         {olam, QStringLiteral("ZMT"), shalom}, true},
    };
    int index = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE((c.font + u' ' + c.text).toStdString());
        auto line = textObject(c.text, 20, 20, c.font);
        line->SetGroupIndex(c.rightToLeft ? 1 : 0);
        TqvxPDFExport pdf;
        makeDeterministic(pdf, false);
        const QString name = QStringLiteral("bidi%1.pdf").arg(index++);
        exportChecked(pdf, {{line.get()}}, name);
        const QList<PlacedWord> words = placedWords(path(name));
        double previous = -1;
        for (const QString &word : c.leftToRight) {
            const double left = leftOf(words, word);
            ASSERT_GE(left, 0) << word.toStdString();
            EXPECT_GT(left, previous) << word.toStdString();
            previous = left;
        }
    }
}
