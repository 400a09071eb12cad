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

// Scripts whose clusters Qt's boundary finder takes from syllable rules or
// a dictionary.  It applies them to the whole run of the script, common
// characters after it included, and there gives a boundary after each code
// unit: inside surrogate pairs, before skin tones and after joiners.
bool syllabic(char32_t c)
{
    switch (QChar::script(c)) {
    case QChar::Script_Thai:
    case QChar::Script_Lao:
    case QChar::Script_Khmer:
    case QChar::Script_Myanmar:
    case QChar::Script_Tibetan:
    case QChar::Script_Devanagari:
    case QChar::Script_Bengali:
    case QChar::Script_Gurmukhi:
    case QChar::Script_Gujarati:
    case QChar::Script_Oriya:
    case QChar::Script_Tamil:
    case QChar::Script_Telugu:
    case QChar::Script_Kannada:
    case QChar::Script_Malayalam:
    case QChar::Script_Sinhala:
        return true;
    default:
        return false;
    }
}

// Whether the character never starts a grapheme cluster: a mark, a joiner
// or non-joiner, a variation selector, a skin tone, an emoji tag.
bool joinsCluster(char32_t c)
{
    switch (QChar::category(c)) {
    case QChar::Mark_NonSpacing:
    case QChar::Mark_SpacingCombining:
    case QChar::Mark_Enclosing:
        return true;
    default:
        return c == 0x200C || c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0x1F3FB && c <= 0x1F3FF)
               || (c >= 0xE0020 && c <= 0xE007F) || (c >= 0xE0100 && c <= 0xE01EF);
    }
}

// Whether the character belongs to the stretch before it whatever it is:
// one that joins its cluster, or another format character (a direction
// mark, a soft hyphen).
bool extendsCluster(char32_t c)
{
    return joinsCluster(c) || QChar::category(c) == QChar::Other_Format;
}

bool regionalIndicator(char32_t c)
{
    return c >= 0x1F1E6 && c <= 0x1F1FF;
}

} // namespace

// The text is cut where a syllabic stretch meets the rest (before a
// character that starts a cluster of its own), and each piece goes to the
// boundary finder alone.  Of its boundaries those inside a character are
// passed over.  Regional indicators are paired into flags counting from the
// first of their sequence, which the finder does not always do.
QList<qsizetype> GraphemeClusterEnds(QStringView text)
{
    QList<qsizetype> found;
    const auto addPiece = [&](qsizetype from, qsizetype to) {
        const QStringView piece = text.mid(from, to - from);
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, piece.data(), piece.size());
        for (qsizetype end = graphemes.toNextBoundary(); end > 0; end = graphemes.toNextBoundary())
            found.append(from + end);
    };
    qsizetype from = 0;
    bool pieceSyllabic = false;
    int length = 1;
    for (qsizetype i = 0; i < text.size(); i += length) {
        const char32_t c = CharacterAt(text, i, length);
        if (i > 0 && !extendsCluster(c) && syllabic(c) != pieceSyllabic) {
            addPiece(from, i);
            from = i;
        }
        if (i == from)
            pieceSyllabic = syllabic(c);
    }
    addPiece(from, text.size());

    QList<qsizetype> ends;
    auto next = found.cbegin();
    int indicators = 0; // regional indicators right before i
    for (qsizetype i = 0; i < text.size(); i += length) {
        const char32_t c = CharacterAt(text, i, length);
        bool boundary = false;
        for (; next != found.cend() && *next <= i; ++next)
            boundary = *next == i;
        // The syllable rules put a boundary before a mark or joiner of no
        // script of its own (a combining acute, a joiner after a Thai
        // letter); it stays with the letters it marks or joins.
        if (joinsCluster(c))
            boundary = false;
        if (regionalIndicator(c) && indicators > 0)
            boundary = indicators % 2 == 0;
        if (boundary)
            ends.append(i);
        indicators = regionalIndicator(c) ? indicators + 1 : 0;
    }
    ends.append(text.size());
    return ends;
}

bool ShowsNothing(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format || IsDefaultIgnorable(c);
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
        qsizetype start = 0;
        for (const qsizetype end : GraphemeClusterEnds(runText)) {
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
