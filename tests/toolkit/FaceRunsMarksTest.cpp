// Grapheme clusters of syllabic scripts that hold characters of no script
// of their own: a mark or joiner stays with the Thai or Devanagari letters
// it follows, so that the face chosen for them shows it too.

#include "toolkit/graphics/FaceRuns.h"
#include "toolkit/graphics/FontEngine.h"

#include <gtest/gtest.h>

// Here the line's face has every character but the Thai and Devanagari
// ones, and no face has those, so that each of their clusters is a run of
// its own, shown as U+FFFD.  A combining mark of no script of its own, a
// joiner or non-joiner, a variation selector, an enclosing mark or an
// overlay after or between such letters belongs to their cluster: every one
// of them lies in the replaced runs, none in a run of the line's face,
// which would shape it apart from the letters it joins or marks.
TEST(FaceRuns, AMarkOrJoinerInsideThaiOrDevanagariTextStaysWithItsLetters)
{
    const TFontFacePtr face = TFontEngine::Face(QStringLiteral("Arial"), false, false);
    const auto syllabic = [](QStringView text) {
        for (const QChar c : text)
            if ((c.unicode() >= 0x0E00 && c.unicode() <= 0x0E7F) || (c.unicode() >= 0x0900 && c.unicode() <= 0x097F))
                return true;
        return false;
    };
    const TFaceCovers covers = [&](const TFontFace &, QStringView text) { return !syllabic(text); };
    for (const QString &letters : {
             QStringLiteral("क्\u200Dष"),          // a joiner asking for the half form
             QStringLiteral("क्\u200Cष"),          // a non-joiner
             QStringLiteral("नमस्ते\u0301"),        // a combining acute at the end
             QStringLiteral("ภา\u0301ษา"),         // a combining acute inside
             QStringLiteral("ก\u200Dข"),           // a joiner between Thai letters
             QStringLiteral("ไทย\uFE0F"),          // a variation selector
             QStringLiteral("क\u20DDख"),           // an enclosing mark
             QStringLiteral("ก\u0336ข"),           // an overlay
         }) {
        const QString line = QStringLiteral("x ") + letters + QStringLiteral(" y");
        SCOPED_TRACE(line.toStdString());
        QString replaced;
        QString kept;
        for (const TFaceRun &run : FaceRuns(face, line, false, false, false, covers)) {
            if (run.Replaced)
                replaced += line.mid(run.Start, run.Length);
            else
                kept += line.mid(run.Start, run.Length);
        }
        EXPECT_EQ(replaced, letters);
        EXPECT_EQ(kept, QStringLiteral("x  y"));
    }
}
