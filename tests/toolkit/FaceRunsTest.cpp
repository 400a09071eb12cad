#include "toolkit/graphics/FaceRuns.h"
#include "toolkit/graphics/FontEngine.h"

#include <gtest/gtest.h>

#include <atomic>
#include <dlfcn.h>
#include <fontconfig/fontconfig.h>

namespace {

std::atomic<int> fontSorts = 0;

} // namespace

// Fontconfig's sort, counted: this program's own definition comes before
// the library's.
extern "C" FcFontSet *FcFontSort(FcConfig *config, FcPattern *pattern, FcBool trim, FcCharSet **coverage,
                                 FcResult *result)
{
    using Sort = FcFontSet *(*)(FcConfig *, FcPattern *, FcBool, FcCharSet **, FcResult *);
    static const auto librarySort = reinterpret_cast<Sort>(dlsym(RTLD_NEXT, "FcFontSort"));
    ++fontSorts;
    return librarySort(config, pattern, trim, coverage, result);
}

namespace {

TFontFacePtr arial()
{
    return TFontEngine::Face(QStringLiteral("Arial"), false, false);
}

// count characters from first on.
QString characters(char32_t first, int count)
{
    QString text;
    for (char32_t c = first; c < first + char32_t(count); ++c)
        text += QString::fromUcs4(&c, 1);
    return text;
}

} // namespace

// The faces that stand in for characters a face lacks are sorted once for
// all the characters the same faces have, not once for each character:
// thousands of distinct ideographs cost one sort, characters no face has
// none.
TEST(FaceRuns, StandInsForManyDistinctCharactersCostOneSortOfTheFaces)
{
    for (const QString &text : {characters(0x5000, 3000), characters(0xF1000, 3000)}) {
        SCOPED_TRACE(text.left(1).toStdString());
        const int before = fontSorts;
        const QList<TFaceRun> runs = FaceRuns(arial(), text, false, true, true);
        EXPECT_LE(fontSorts - before, 1);
        ASSERT_FALSE(runs.isEmpty());
        EXPECT_EQ(runs.last().Start + runs.last().Length, text.size());
    }
}

// Qt's grapheme boundary finder breaks surrogate pairs in lines that also
// hold Thai, Devanagari or Sinhala.  Each emoji still keeps its pair
// whole, and every run is shown by a face that has each of its characters,
// or is the U+FFFD of a cluster no face shows.
TEST(FaceRuns, EmojiAmongThaiAndIndicTextKeepTheirSurrogatePairsAndAFaceThatShowsThem)
{
    const TFontFacePtr face = arial();
    const QString replacement = QStringLiteral("\uFFFD");
    const TFontFacePtr replacedBy =
        FaceCoversText(*face, replacement) ? face : TFontEngine::CoveringFace(0xFFFD, false, false);
    for (const QString &line :
         {QStringLiteral("ก 👩"), QStringLiteral("ภาษาไทย 😀 ok"), QStringLiteral("नमस्ते 👍"),
          QStringLiteral("ශ්‍රී ලංකා 🎉"), QStringLiteral("กข👩‍💻 x"), QStringLiteral("ก न ශ 👩👍 a 😀")}) {
        SCOPED_TRACE(line.toStdString());
        qsizetype end = 0;
        for (const TFaceRun &run : FaceRuns(face, line, false, false, false)) {
            const QStringView text = QStringView(line).mid(run.Start, run.Length);
            EXPECT_EQ(run.Start, end);
            end = run.Start + run.Length;
            EXPECT_FALSE(text.front().isLowSurrogate()) << run.Start;
            EXPECT_FALSE(text.back().isHighSurrogate()) << run.Start;
            if (run.Replaced) {
                EXPECT_EQ(run.Face, replacedBy ? replacedBy : face);
                continue;
            }
            EXPECT_TRUE(FaceCoversText(*run.Face, text))
                << text.toString().toStdString() << " in " << run.Face->File().Family.toStdString();
        }
        EXPECT_EQ(end, line.size());
    }
}

// After Thai or Indic text an emoji sequence is still one cluster: the
// joiners, skin tones, variation selectors and flag halves stay with the
// emoji they join, so that one face shapes the whole.  Here the line's face
// has every character but the pictographs, and no face has those: each
// sequence is one run of U+FFFD, and the text between them keeps its face.
TEST(FaceRuns, AnEmojiSequenceAfterThaiOrIndicTextIsOneCluster)
{
    const TFontFacePtr face = arial();
    const auto pictograph = [](QStringView text) {
        for (qsizetype i = 0; i < text.size(); ++i)
            if (text[i].isSurrogate() || text[i] == u'\u2764')
                return true;
        return false;
    };
    const TFaceCovers covers = [&](const TFontFace &, QStringView text) { return !pictograph(text); };
    const QString family = QStringLiteral("👩‍👩‍👧");
    const QString coder = QStringLiteral("👩🏽‍💻");
    const QString flag = QStringLiteral("🇷🇺");
    const QString heart = QStringLiteral("❤️");
    for (const QString &before : {QStringLiteral("ก "), QStringLiteral("ภาษาไทย"), QStringLiteral("नमस्ते "),
                                  QStringLiteral("ශ්‍රී "), QStringLiteral("a "), QStringLiteral("กั้ e\u0301 ")}) {
        const QString line = before + family + QStringLiteral(" x ") + coder + flag + heart + QStringLiteral(" ฯ");
        SCOPED_TRACE(line.toStdString());
        QStringList replaced;
        QString kept;
        for (const TFaceRun &run : FaceRuns(face, line, false, false, false, covers)) {
            const QString text = line.mid(run.Start, run.Length);
            if (run.Replaced)
                replaced.append(text);
            else
                kept += text;
        }
        EXPECT_EQ(replaced, QStringList({family, coder, flag, heart}));
        EXPECT_EQ(kept, before + QStringLiteral(" x  ฯ"));
    }
}

// The shaper leaves the combining grapheme joiner and variation selectors
// out, so a face that lacks them still shows the letter they follow: an
// ideograph a stand-in face shows keeps that face, and no cluster of this
// text is replaced.
TEST(FaceRuns, CharactersTheShaperLeavesOutNeedNoGlyph)
{
    const TFontFacePtr face = arial();
    for (const QString &line : {QStringLiteral("自動\u034f遮断器"), QStringLiteral("定\ufe0f格"),
                                QStringLiteral("a\u034f\u0301 自\u034f")}) {
        SCOPED_TRACE(line.toStdString());
        for (const TFaceRun &run : FaceRuns(face, line, false, false, false))
            EXPECT_FALSE(run.Replaced) << line.mid(run.Start, run.Length).toStdString();
    }
}
