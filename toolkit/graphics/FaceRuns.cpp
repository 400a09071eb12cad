#include "toolkit/graphics/FaceRuns.h"

#include "toolkit/graphics/TextShaping.h"

#include <QHash>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

const QString replacementCharacter = QStringLiteral("\uFFFD");

// The first character of the cluster the face does not show; 0 when it
// shows them all.
char32_t firstMissing(const TFontFace &face, QStringView cluster, const TFaceCovers &covers)
{
    int length = 1;
    for (qsizetype i = 0; i < cluster.size(); i += length) {
        const char32_t c = CharacterAt(cluster, i, length);
        if (!covers(face, cluster.mid(i, length)))
            return c;
    }
    return 0;
}

// The face that shows the cluster: the line's own when it can, else the
// first face fontconfig offers for the first character it lacks that shows
// the whole cluster; null when none does.
TFontFacePtr showingFace(const TFontFacePtr &face, QStringView cluster, bool bold, bool italic,
                         const TFaceCovers &covers)
{
    if (covers(*face, cluster))
        return face;
    const char32_t missing = firstMissing(*face, cluster, covers);
    return TFontEngine::CoveringFace(missing ? missing : 0xFFFD, bold, italic,
                                     [&](const TFontFace &candidate) { return covers(candidate, cluster); });
}

// The end of the grapheme cluster that begins at start.  Qt's boundary
// finder puts boundaries inside surrogate pairs in lines that also hold
// Thai or Indic text; those are passed over, as the pair is one character.
qsizetype clusterEnd(QTextBoundaryFinder &graphemes, QStringView text, qsizetype start)
{
    for (qsizetype end = graphemes.toNextBoundary(); end > 0; end = graphemes.toNextBoundary())
        if (end > start && !(end < text.size() && text[end - 1].isHighSurrogate() && text[end].isLowSurrogate()))
            return end;
    int length = 1;
    CharacterAt(text, start, length);
    return start + length;
}

} // namespace

bool ShowsNothing(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format || (c >= 0xFE00 && c <= 0xFE0F)
        || (c >= 0xE0100 && c <= 0xE01EF);
}

QList<TFaceRun> FaceRuns(const TFontFacePtr &face, QStringView text, bool rightToLeft, bool bold, bool italic,
                         const TFaceCovers &covers)
{
    if (text.isEmpty())
        return {};
    if (covers(*face, text))
        return {{0, int(text.size()), rightToLeft, face, false}};

    // Faces are chosen within the line's directional runs, taken in the
    // order they show on the page, so that the words of a right-to-left run
    // stay in their order whatever faces show them.
    QList<TFaceRun> shown;
    // The face of each character that is a cluster of its own, as chosen.
    QHash<char32_t, TFontFacePtr> chosen;
    const auto faceOf = [&](QStringView cluster) {
        int length = 0;
        const char32_t c = CharacterAt(cluster, 0, length);
        if (length != cluster.size())
            return showingFace(face, cluster, bold, italic, covers);
        auto it = chosen.constFind(c);
        if (it == chosen.constEnd())
            it = chosen.insert(c, showingFace(face, cluster, bold, italic, covers));
        return *it;
    };
    for (const TGlyphRun &run : DirectionalRuns(text, rightToLeft)) {
        const QStringView runText = text.mid(run.Start, run.Length);
        const qsizetype first = shown.size();
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, runText.data(), runText.size());
        for (qsizetype start = 0; start < runText.size();) {
            const qsizetype end = clusterEnd(graphemes, runText, start);
            const QStringView cluster = runText.mid(start, end - start);
            const int at = run.Start + int(start);
            start = end;
            if (TFontFacePtr shownBy = faceOf(cluster)) {
                if (shown.size() > first && shown.last().Face == shownBy && !shown.last().Replaced)
                    shown.last().Length += int(cluster.size());
                else
                    shown.append({at, int(cluster.size()), run.RightToLeft, std::move(shownBy), false});
                continue;
            }
            TFontFacePtr replacedBy = showingFace(face, replacementCharacter, bold, italic, covers);
            shown.append({at, int(cluster.size()), run.RightToLeft, replacedBy ? replacedBy : face, true});
        }
        if (run.RightToLeft)
            std::reverse(shown.begin() + first, shown.end());
    }
    return shown;
}
