// Subsets of synthetic fonts (tests/data/fonts, made by make_test_fonts.py)
// and of installed DejaVu and Liberation faces, each checked by the
// OpenType sanitizer, fontTools' checksum check and FreeType's outlines.

#include "FontTestSupport.h"

#include "export/pdf/qvxCFFSubset.h"
#include "export/pdf/qvxTrueTypeCollection.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/graphics/TextShaping.h"

#include <QFile>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::unique_ptr<TFont> font(const QString &name, TFontStyles style = {})
{
    auto f = std::make_unique<TFont>();
    f->SetName(name);
    f->SetStyle(style);
    return f;
}

QByteArray subsetOf(const QByteArray &image, const QList<quint16> &glyphs, int faceIndex = -1,
                    const QString &name = QString())
{
    TrueTypeCollection collection;
    collection.LoadFromMemory(image);
    return collection.GetSubsetFontData(*font(name), glyphs, faceIndex);
}

// The directory is sorted, its header fits the table count, every table
// checksum is right and the file sums to 0xB1B0AFBA.
void expectSoundStructure(const QByteArray &subset)
{
    const quint16 count = TTF_Helpers::ReadU16(subset, 4);
    int power = 1;
    while (power * 2 <= count)
        power *= 2;
    EXPECT_EQ(TTF_Helpers::ReadU16(subset, 6), 16 * power);
    EXPECT_EQ(TTF_Helpers::ReadU16(subset, 10), 16 * (count - power));
    quint32 previous = 0;
    for (int i = 0; i < count; ++i) {
        const qint64 entry = 12 + 16 * i;
        const quint32 tag = TTF_Helpers::ReadU32(subset, entry);
        EXPECT_GT(tag, previous) << "directory not sorted at entry " << i;
        previous = tag;
        const qint64 offset = TTF_Helpers::ReadU32(subset, entry + 8);
        EXPECT_EQ(offset % 4, 0);
        QByteArray table = subset.mid(offset, TTF_Helpers::ReadU32(subset, entry + 12));
        if (tag == FontTag("head"))
            table.replace(8, 4, QByteArray(4, '\0'));
        EXPECT_EQ(wholeFileSum(table), TTF_Helpers::ReadU32(subset, entry + 4)) << "checksum of table " << i;
    }
    EXPECT_EQ(wholeFileSum(subset), 0xB1B0AFBAu);
}

void expectValidSubset(const QByteArray &original, int faceIndex, const QByteArray &subset, const QList<int> &kept)
{
    ASSERT_FALSE(subset.isEmpty());
    expectSoundStructure(subset);
    EXPECT_EQ(otsComplaint(subset), QString());
    EXPECT_EQ(fontToolsComplaint(subset), QString());
    EXPECT_EQ(glyphsWithOtherOutlines(original, faceIndex, subset, kept), QList<int>());
}

QList<int> nonEmptyGlyphs(const QByteArray &subset)
{
    QList<int> glyphs;
    const int count = TTF_Helpers::ReadU16(subset, findTable(subset, "maxp").offset + 4);
    for (int g = 0; g < count; ++g)
        if (!glyphBytes(subset, g).isEmpty())
            glyphs.append(g);
    return glyphs;
}

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const Exception &e) {
        return e.Message();
    }
    return QString();
}

TEST(TrueTypeSubset, KeepsTheUsedGlyphsAndGlyphZeroOfASimpleFont)
{
    const QByteArray original = testFont(QStringLiteral("simple.ttf"));
    const QByteArray subset = subsetOf(original, {2}); // B
    expectValidSubset(original, 0, subset, {0, 2});

    EXPECT_EQ(nonEmptyGlyphs(subset), QList<int>({0, 2}));
    EXPECT_EQ(glyphBytes(subset, 2), glyphBytes(original, 2));
    EXPECT_EQ(glyphBytes(subset, 0), glyphBytes(original, 0));
    // Same glyph count, short loca to its last entry.
    EXPECT_EQ(findTable(subset, "loca").length, findTable(original, "loca").length);
    EXPECT_EQ(findTable(subset, "maxp").length, findTable(original, "maxp").length);
}

TEST(TrueTypeSubset, ASecondSubsetOfTheSameFaceAddsToTheFirst)
{
    const QByteArray original = testFont(QStringLiteral("simple.ttf"));
    TrueTypeCollection collection;
    collection.LoadFromMemory(original);
    collection.GetSubsetFontData(*font(QString()), {2});
    const QByteArray second = collection.GetSubsetFontData(*font(QString()), {4});
    expectValidSubset(original, 0, second, {0, 2, 4});
    EXPECT_EQ(nonEmptyGlyphs(second), QList<int>({0, 2, 4}));
}

TEST(TrueTypeSubset, DropsAndRewritesTheTablesAsItShould)
{
    const QByteArray original = testFont(QStringLiteral("simple.ttf"));
    const QByteArray subset = subsetOf(original, {1});
    EXPECT_EQ(findTable(subset, "DSIG").offset, -1);
    ASSERT_NE(findTable(original, "DSIG").offset, -1);

    // OS/2 version 5 moves whole; prep keeps its 3 bytes.
    for (quint32 tag : {FontTag("OS/2"), FontTag("prep"), FontTag("cmap"), FontTag("hmtx"), FontTag("name"),
                        FontTag("hhea"), FontTag("maxp")}) {
        const TableLocation before = findTable(original, tag);
        const TableLocation after = findTable(subset, tag);
        EXPECT_EQ(subset.mid(after.offset, after.length), original.mid(before.offset, before.length)) << tag;
    }
    EXPECT_EQ(findTable(subset, "OS/2").length, 100);
    EXPECT_EQ(findTable(subset, "prep").length, 3);

    const TableLocation post = findTable(subset, "post");
    EXPECT_EQ(post.length, 32);
    EXPECT_EQ(TTF_Helpers::ReadU32(subset, post.offset), 0x00030000u);
    EXPECT_EQ(subset.mid(post.offset + 4, 28), original.mid(findTable(original, "post").offset + 4, 28));
}

TEST(TrueTypeSubset, TakesEveryComponentOfNestedComposites)
{
    const QByteArray original = testFont(QStringLiteral("composite.ttf"));
    // Glyph 5 = glyph 4 (A 1 + ring 7) + B 2.
    const QByteArray subset = subsetOf(original, {5});
    expectValidSubset(original, 0, subset, {0, 1, 2, 4, 5, 7});
    EXPECT_EQ(nonEmptyGlyphs(subset), QList<int>({0, 1, 2, 4, 5, 7}));
    for (int g : {1, 2, 4, 5, 7})
        EXPECT_EQ(glyphBytes(subset, g), glyphBytes(original, g)) << g;
}

TEST(TrueTypeSubset, KeepsAGlyphLongerThan65535BytesWhole)
{
    const QByteArray original = testFont(QStringLiteral("composite.ttf"));
    ASSERT_GT(glyphBytes(original, 6).size(), 65535);
    const QByteArray subset = subsetOf(original, {6, 3});
    expectValidSubset(original, 0, subset, {0, 3, 6});
    EXPECT_EQ(glyphBytes(subset, 6), glyphBytes(original, 6));
    EXPECT_EQ(glyphBytes(subset, 3), glyphBytes(original, 3));
}

TEST(TrueTypeSubset, FollowsChainsOfAnyDepthOnce)
{
    // 3000 glyphs deep, with a maxp that claims depth 1.
    const QByteArray chain = testFont(QStringLiteral("chain.ttf"));
    const QByteArray chainSubset = subsetOf(chain, {1});
    expectSoundStructure(chainSubset);
    EXPECT_EQ(otsComplaint(chainSubset), QString());
    EXPECT_EQ(nonEmptyGlyphs(chainSubset).size(), 3001);

    // Each glyph uses the next twice: 2^40 paths, 42 glyphs.
    const QByteArray doubled = testFont(QStringLiteral("doubled.ttf"));
    const QByteArray doubledSubset = subsetOf(doubled, {1});
    expectSoundStructure(doubledSubset);
    EXPECT_EQ(nonEmptyGlyphs(doubledSubset).size(), 42);
    for (int g = 0; g <= 41; ++g)
        EXPECT_EQ(glyphBytes(doubledSubset, g), glyphBytes(doubled, g)) << g;
}

TEST(TrueTypeSubset, ChoosesTheFaceOfACollection)
{
    const QByteArray ttc = testFont(QStringLiteral("collection.ttc"));
    TrueTypeCollection collection;
    collection.LoadFromMemory(ttc);
    ASSERT_EQ(collection.FaceCount(), 2);
    EXPECT_TRUE(collection.IsCollection());

    // Fontconfig's index wins over the name; the name decides without it,
    // and a name no face has gives the last face.
    EXPECT_EQ(collection.ChooseFace(*font(QStringLiteral("Test Sans"), fsBold), 0), 0);
    EXPECT_EQ(collection.ChooseFace(*font(QStringLiteral("Test Sans"), fsBold)), 1);
    EXPECT_EQ(collection.ChooseFace(*font(QStringLiteral("Test Sans"))), 0);
    EXPECT_EQ(collection.ChooseFace(*font(QStringLiteral("Other"))), 1);
    EXPECT_EQ(collection.ChooseFace(*font(QStringLiteral("Test Sans")), 7), 0);

    for (int face : {0, 1}) {
        const QByteArray subset = subsetOf(ttc, {1, 3}, face);
        expectValidSubset(ttc, face, subset, {0, 1, 3});
        EXPECT_EQ(glyphBytes(subset, 1), glyphBytes(ttc, 1, collection.Face(face).FaceOffset())) << face;
    }
    EXPECT_NE(glyphBytes(ttc, 1, collection.Face(0).FaceOffset()),
              glyphBytes(ttc, 1, collection.Face(1).FaceOffset()));

    // A Japanese face name stands for the English full name of its face.
    TrueTypeCollection japanese;
    japanese.LoadFromMemory(testFont(QStringLiteral("japanese.ttc")));
    const QString gothic = QString::fromUtf16(u"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    EXPECT_EQ(japanese.ChooseFace(*font(gothic, fsBold)), 0);
    EXPECT_EQ(japanese.ChooseFace(*font(QStringLiteral("MS PGothic"), fsBold)), 0);
    EXPECT_EQ(japanese.ChooseFace(*font(gothic, fsItalic)), 1);

    // A face whole, as a font of its own.
    const QByteArray whole = collection.GetFaceFontData(*font(QString()), 1);
    expectValidSubset(ttc, 1, whole, {0, 1, 2, 3});
    EXPECT_NE(findTable(whole, "DSIG").offset, -1);
}

// The number of operands and operators of each charstring of a CFF font
// (1 for a lone endchar), and the charset of a CID-keyed one, as fontTools
// reads them.
QStringList cffSummary(const QByteArray &font)
{
    return fontToolsOutput(font, QStringLiteral("top = f['CFF '].cff.topDictIndex[0]\n"
                                                "sizes = []\n"
                                                "for name in f.getGlyphOrder():\n"
                                                "    c = top.CharStrings[name]\n"
                                                "    c.decompile()\n"
                                                "    sizes.append(str(len(c.program)))\n"
                                                "print(' '.join(sizes))\n"
                                                "print(' '.join(top.charset) if hasattr(top, 'ROS') else '-')\n"))
        .split(QLatin1Char('\n'));
}

TEST(TrueTypeSubset, SubsetsCFFFacesKeepingGlyphNumbers)
{
    const QByteArray otf = testFont(QStringLiteral("cff.otf"));
    TrueTypeCollection collection;
    collection.LoadFromMemory(otf);
    EXPECT_EQ(collection.FaceCount(), 1);
    EXPECT_TRUE(collection.IsCFF(*font(QString())));
    const QByteArray subset = collection.GetSubsetFontData(*font(QString()), {1});
    EXPECT_TRUE(subset.startsWith("OTTO"));
    expectValidSubset(otf, 0, subset, {0, 1});

    // Unused glyphs keep their place with an endchar alone; a CID-keyed
    // font's glyph n becomes CID n.
    const QByteArray cid = testFont(QStringLiteral("cffcid.otf"));
    EXPECT_EQ(cffSummary(cid).value(1), QStringLiteral(".notdef cid00005 cid00007 cid00009"));
    const QByteArray cidSubset = subsetOf(cid, {2});
    expectSoundStructure(cidSubset);
    EXPECT_EQ(otsComplaint(cidSubset).toStdString(), "");
    EXPECT_EQ(fontToolsComplaint(cidSubset).toStdString(), "");
    const QStringList summary = cffSummary(cidSubset);
    ASSERT_GE(summary.size(), 2);
    const QStringList lengths = summary[0].split(QLatin1Char(' '));
    ASSERT_EQ(lengths.size(), 4);
    EXPECT_GT(lengths[0].toInt(), 1);
    EXPECT_EQ(lengths[1], QStringLiteral("1"));
    EXPECT_GT(lengths[2].toInt(), 1);
    EXPECT_EQ(lengths[3], QStringLiteral("1"));
    EXPECT_EQ(summary[1], QStringLiteral(".notdef cid00001 cid00002 cid00003"));
    EXPECT_EQ(findTable(cidSubset, "GSUB").offset, -1);

    // A CFF face of a collection comes out as an OpenType font of its own.
    collection.LoadFromMemory(testFont(QStringLiteral("cffcollection.ttc")));
    EXPECT_TRUE(collection.IsCFF(*font(QString()), 1));
    const QByteArray face = collection.GetSubsetFontData(*font(QString()), {1}, 1);
    EXPECT_TRUE(face.startsWith("OTTO"));
    expectValidSubset(otf, 0, face, {0, 1});

    // A CFF table cut short or with any byte damaged gives a subset or the
    // format error, never a read outside it (the sanitizer build checks).
    for (const QByteArray &font : {otf, cid}) {
        const TableLocation table = findTable(font, "CFF ");
        const QByteArray cff = font.mid(table.offset, table.length);
        EXPECT_EQ(errorOf([&] { TqvxCFFFont(QByteArrayView(cff).first(cff.size() / 2)); }),
                  QStringLiteral("CFF font format error"));
        for (qsizetype length = 0; length < cff.size(); ++length)
            errorOf([&] { TqvxCFFFont(QByteArrayView(cff).first(length)).Subset({1}); });
        for (qsizetype at = 0; at < cff.size(); ++at)
            for (const char value : {'\x00', '\x1D', '\xFF'}) {
                QByteArray damaged = cff;
                damaged[at] = value;
                errorOf([&] { TqvxCFFFont(damaged).Subset({1}); });
            }
    }
}

TEST(TrueTypeSubset, LeavesTheVariationTablesOut)
{
    const QByteArray variable = testFont(QStringLiteral("variable.ttf"));
    ASSERT_NE(findTable(variable, "gvar").offset, -1);
    const QByteArray subset = subsetOf(variable, {1});
    expectValidSubset(variable, 0, subset, {0, 1});
    for (quint32 tag : {FontTag("fvar"), FontTag("gvar"), FontTag("avar"), FontTag("STAT")})
        EXPECT_EQ(findTable(subset, tag).offset, -1) << tag;

    // GDEF's item variation store refers to fvar's axes: it goes with them,
    // and the table takes the version before it.
    const QByteArray withStore = testFont(QStringLiteral("variablegdef.ttf"));
    const TableLocation gdef = findTable(withStore, "GDEF");
    ASSERT_NE(gdef.offset, -1);
    ASSERT_EQ(withStore.mid(gdef.offset, 4), QByteArray::fromHex("00010003"));
    const QByteArray storeless = subsetOf(withStore, {1, 2});
    expectValidSubset(withStore, 0, storeless, {0, 1, 2});
    EXPECT_EQ(findTable(storeless, "HVAR").offset, -1);
    const TableLocation kept = findTable(storeless, "GDEF");
    ASSERT_NE(kept.offset, -1);
    EXPECT_EQ(storeless.mid(kept.offset, 4), QByteArray::fromHex("00010002"));
    EXPECT_EQ(fontToolsOutput(storeless, QStringLiteral("print(f['GDEF'].table.GlyphClassDef.classDefs['A'])")).trimmed(),
              QStringLiteral("1"))
        << "the rest of the table is kept";
}

TEST(TrueTypeSubset, NamesWhatItCannotRead)
{
    const QByteArray simple = testFont(QStringLiteral("simple.ttf"));
    TrueTypeCollection collection;
    EXPECT_EQ(errorOf([&] { collection.LoadFromMemory("wOFF" + simple.mid(4)); }),
              QStringLiteral("TrueType font format error"));
    EXPECT_EQ(errorOf([&] { collection.LoadFromMemory("tt"); }), QStringLiteral("TrueType font format error"));
    EXPECT_EQ(errorOf([&] { collection.LoadFromMemory(QByteArray::fromHex("7474636600030000") + simple); }),
              QStringLiteral("Unknown font collection version"));
    EXPECT_EQ(errorOf([&] { subsetOf(testFont(QStringLiteral("cmap6.ttf")), {1}); }),
              QStringLiteral("TO DO: TrimmedTable cmap format not implemented"));
    EXPECT_EQ(errorOf([&] { subsetOf(simple, {6}); }), QStringLiteral("TrueType font format error"));
    EXPECT_EQ(errorOf([&] { subsetOf(testFont(QStringLiteral("simple.woff")), {1}); }),
              QStringLiteral("TrueType font format error"));
    EXPECT_EQ(errorOf([&] { subsetOf(testFont(QStringLiteral("nooutlines.ttf")), {1}); }),
              QStringLiteral("Glyph table not found"));

    const QByteArray cmap12 = testFont(QStringLiteral("cmap12.ttf"));
    expectValidSubset(cmap12, 0, subsetOf(cmap12, {1}), {0, 1});
}

// The characters of a face's character map as the subsetter reads it, and
// whether it left a subtable out.
QString mappedCharacters(const QByteArray &font, bool *dropped)
{
    TrueTypeFont face(font, 0);
    face.LoadFont(SkippedTables());
    QString mapped;
    for (const TCmapRange &range : face.cmap->MappedRanges())
        for (char32_t c = range.First; c <= range.Last; ++c)
            mapped += QChar(c);
    *dropped = face.cmap->DroppedMappings();
    return mapped;
}

// A subtable that maps a character to a glyph the face does not have is
// left out whole as the map is read (its characters in range map to the
// wrong glyphs), and the subset's map is written from the other subtables;
// a map without such subtables moves unchanged.
TEST(TrueTypeSubset, LeavesOutSubtablesMappingPastTheGlyphCount)
{
    bool dropped = false;
    // Its (3,10) subtable maps "A" to B, and "E" on past the glyphs.
    const QByteArray broken = testFont(QStringLiteral("cmap12broken.ttf"));
    EXPECT_EQ(mappedCharacters(broken, &dropped), QStringLiteral(" ABC"));
    EXPECT_TRUE(dropped);
    const QByteArray rewritten = subsetOf(broken, {1, 2});
    expectValidSubset(broken, 0, rewritten, {0, 1, 2});
    EXPECT_EQ(fontToolsOutput(rewritten, QStringLiteral("print(sorted(f.getBestCmap().items()))")),
              QStringLiteral("[(32, 'space'), (65, 'A'), (66, 'B'), (67, 'C')]"));

    // Its one subtable maps "C" to glyph 60 of six.
    const QByteArray missing = testFont(QStringLiteral("cmap12missing.ttf"));
    EXPECT_EQ(mappedCharacters(missing, &dropped), QString());
    EXPECT_TRUE(dropped);
    const QByteArray empty = subsetOf(missing, {1});
    expectValidSubset(missing, 0, empty, {0, 1});
    EXPECT_EQ(fontToolsOutput(empty, QStringLiteral("print(sorted(f.getBestCmap().items()))")), QStringLiteral("[]"));

    const QByteArray sound = testFont(QStringLiteral("cmap12.ttf"));
    EXPECT_EQ(mappedCharacters(sound, &dropped), QStringLiteral("ABC"));
    EXPECT_FALSE(dropped);
    const QByteArray kept = subsetOf(sound, {1});
    EXPECT_EQ(kept.mid(findTable(kept, "cmap").offset, findTable(kept, "cmap").length),
              sound.mid(findTable(sound, "cmap").offset, findTable(sound, "cmap").length));
}

// A face of a TrueType collection installed from a Debian package, whose
// head checksums cover the whole table: subset as any other face.  The
// bound on the subset's size holds for this face: the subset keeps glyph
// numbers, so a face with more glyphs keeps longer metrics tables.
TEST(TrueTypeSubset, SubsetsAFaceOfAnInstalledCollection)
{
    TFontFile collection;
    collection.FileName = QStringLiteral("/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc");
    collection.Family = QStringLiteral("WenQuanYi Zen Hei");
    if (!QFile::exists(collection.FileName))
        GTEST_SKIP() << "WenQuanYi Zen Hei (fonts-wqy-zenhei) is not installed";
    const TFontFacePtr face = TFontEngine::Face(collection);
    QList<quint16> glyphs;
    for (const TGlyphRun &run : ShapeLine(*face, QStringLiteral("中文字体测试 Hello")))
        for (const TShapedGlyph &g : run.Glyphs)
            glyphs.append(quint16(g.Glyph));
    TrueTypeCollection fonts;
    QStringList warnings;
    fonts.OnWarning = [&](const QString &message) { warnings.append(message); };
    fonts.LoadFromMemory(face->FileData());
    const QByteArray subset = fonts.GetSubsetFontData(*font(face->File().Family), glyphs, face->File().FaceIndex);
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(u'\n').toStdString();
    QList<int> kept = {0};
    for (quint16 g : glyphs)
        kept.append(g);
    expectValidSubset(face->FileData(), face->File().FaceIndex, subset, kept);
    EXPECT_LT(subset.size(), face->FileData().size() / 10);
}

// Every prefix of a font, and every single damaged byte of its directory
// and tables, gives a subset or a clear error, never a crash or a read
// outside the bytes (the sanitizer build checks the latter).
TEST(TrueTypeSubset, SurvivesCutAndDamagedFonts)
{
    const QByteArray simple = testFont(QStringLiteral("simple.ttf"));
    int errors = 0;
    for (qsizetype length = 0; length < simple.size(); ++length)
        errors += errorOf([&] { subsetOf(simple.left(length), {1, 2}); }).isEmpty() ? 0 : 1;
    EXPECT_EQ(errors, simple.size());
    for (qsizetype i = 0; i < simple.size(); ++i) {
        QByteArray damaged = simple;
        damaged[i] = char(damaged[i] ^ 0xFF);
        errorOf([&] { subsetOf(damaged, {1, 2, 3}); });
    }
}

TEST(TrueTypeSubset, ReportsChecksumMismatchesAndGoesOn)
{
    const QByteArray bad = testFont(QStringLiteral("badchecksum.ttf"));
    TrueTypeCollection collection;
    QStringList warnings;
    collection.OnWarning = [&](const QString &message) { warnings.append(message); };
    collection.LoadFromMemory(bad);
    const QByteArray subset = collection.GetSubsetFontData(*font(QString()), {1});
    const TableLocation hhea = findTable(bad, "hhea");
    const quint32 computed = wholeFileSum(bad.mid(hhea.offset, hhea.length));
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings[0], QStringLiteral("Table ID \"hhea\" checksum error.%1 %2").arg(computed).arg(computed + 1));
    expectValidSubset(bad, 0, subset, {0, 1});

    TrueTypeFont strict(bad, 0, 1);
    EXPECT_EQ(errorOf([&] { strict.LoadFont(SkippedTables()); }), warnings[0]);
}

QList<quint16> glyphsOfText(const QString &family, const QString &text)
{
    const TFontFacePtr face = TFontEngine::Face(family, false, false);
    QList<quint16> glyphs;
    for (const TGlyphRun &run : ShapeLine(*face, text))
        for (const TShapedGlyph &g : run.Glyphs)
            glyphs.append(quint16(g.Glyph));
    return glyphs;
}

TEST(TrueTypeSubset, SubsetsInstalledFonts)
{
    const QString text = QStringLiteral("Счёт № 42: ÅÉîõ ǺǼ fiﬂ — «Hello», ½ ∑ Ω");
    for (const QString &family : {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"),
                                 QStringLiteral("Liberation Serif")}) {
        const InstalledFont installed = installedFont(family);
        const QList<quint16> glyphs = glyphsOfText(family, text);
        const QByteArray subset = subsetOf(installed.data, glyphs, installed.faceIndex);
        QList<int> kept = {0};
        for (quint16 g : glyphs)
            kept.append(g);
        expectValidSubset(installed.data, installed.faceIndex, subset, kept);
        EXPECT_LT(subset.size(), installed.data.size() / 2) << family.toStdString();
    }
}

} // namespace
