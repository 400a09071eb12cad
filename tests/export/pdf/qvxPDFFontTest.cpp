#include "FontTestSupport.h"
#include "PdfExportTestSupport.h"
#include "ToolTestSupport.h"

#include "export/pdf/qvxExportPDF.h"
#include "export/pdf/qvxPDFFont.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TFont> reportFont(const QString &name, TFontStyles style = {})
{
    auto font = std::make_unique<TFont>();
    font->SetName(name);
    font->SetSize(10);
    font->SetStyle(style);
    return font;
}

TFontFacePtr testFace(const QString &name)
{
    TFontFile file;
    file.FileName = QStringLiteral(TEST_DATA_DIR "/fonts/") + name;
    return TFontEngine::Face(file);
}

class PDFFonts : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    QByteArray exportChecked(TqvxPDFExport &pdf, const QList<QList<TqvxComponent *>> &pages, const QString &name)
    {
        const QByteArray bytes = exportPages(pdf, pages, path(name));
        EXPECT_EQ(xrefComplaint(bytes).toStdString(), "") << name.toStdString();
        EXPECT_EQ(qpdfComplaint(path(name)).toStdString(), "") << name.toStdString();
        return bytes;
    }

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

TEST_F(PDFFonts, ACFFFaceIsEmbeddedWholeAsOpenType)
{
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetEmbeddedFonts(true);
    qvxInstallPDFPageDrawing({nullptr, [](TqvxPDFExport &export_, TqvxView *) {
                                  TqvxPDFFont *font = export_.FindFont(*reportFont(QStringLiteral("Test CFF")),
                                                                       testFace(QStringLiteral("cff.otf")));
                                  font->GetGlyphs(QStringLiteral("A"));
                              }});
    auto any = textObject(QStringLiteral("x"), 0, 0);
    const QByteArray bytes = exportChecked(pdf, {{any.get()}}, QStringLiteral("cff.pdf"));
    EXPECT_TRUE(bytes.contains("<< /Subtype /OpenType /Length " + QByteArray::number(testFont("cff.otf").size())
                               + " >>"));
    EXPECT_TRUE(bytes.contains("/FontFile3 "));
    EXPECT_FALSE(bytes.contains("/FontFile2 "));
    EXPECT_TRUE(bytes.contains("/Version /1.6\r\n"));
}

TEST_F(PDFFonts, AFontTheSubsetterCannotReadIsEmbeddedWholeWithAWarning)
{
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetEmbeddedFonts(true);
    QStringList warnings;
    pdf.OnWarning = [&warnings](const QString &text) { warnings << text; };
    qvxInstallPDFPageDrawing({nullptr, [](TqvxPDFExport &export_, TqvxView *) {
                                  TqvxPDFFont *font = export_.FindFont(*reportFont(QStringLiteral("Test cmap 6")),
                                                                       testFace(QStringLiteral("cmap6.ttf")));
                                  font->GetGlyphs(QStringLiteral("A"));
                              }});
    auto any = textObject(QStringLiteral("x"), 0, 0);
    const QByteArray bytes = exportChecked(pdf, {{any.get()}}, QStringLiteral("cmap6.pdf"));
    const QByteArray size = QByteArray::number(testFont("cmap6.ttf").size());
    EXPECT_TRUE(bytes.contains("<< /Length " + size + " /Length1 " + size + " >>"));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains(QStringLiteral("the whole font is embedded")));
}
