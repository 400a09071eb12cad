// Text shown in a document font.  Where the font's face lacks a character,
// or cannot be embedded at all, the faces fontconfig offers for that
// character stand in, each a document font of its own; a character no
// usable face has is shown as U+FFFD, which carries the character's own
// text.  Faces are chosen within the line's directional runs in display
// order, so right-to-left words keep their order when another face shows
// them.  A line whose glyphs do not give its text back through the
// ToUnicode maps carries it as ActualText; so do the glyphs of a cluster
// that also holds characters that show nothing (a joiner, a variation
// selector, a direction mark), with the cluster's text alone.  Glyphs the shaper moves off the pen (marks on their base) are
// moved there by the numbers of TJ arrays and a text rise, while a copy of
// no width at the pen gives their text where readers look for it.

#include "export/pdf/qvxExportPDF.h"

#include "toolkit/graphics/FaceRuns.h"

#include <QMap>

#include <algorithm>
#include <utility>

namespace {

// Whether the font shows every character of the text.
bool showsAll(const TqvxPDFFont &font, QStringView text)
{
    return ShowsAll(text, [&font](char32_t c) { return font.Covers(c); });
}

const QString replacementCharacter = QStringLiteral("\uFFFD");

} // namespace

QByteArray TqvxPDFExport::ShowText(TqvxPDFFont *font, int size, const QString &line, bool rightToLeft,
                                   TqvxPDFShapedText *shownGlyphs, double spacing)
{
    if (showsAll(*font, line)) {
        TqvxPDFShapedText shaped = font->Shape(line, rightToLeft);
        const QByteArray shown = shaped.Exact
            ? showGlyphs(shaped, size, spacing)
            : WithActualText(line, showPlaced(shaped, 0, shaped.Glyphs.size(), size, true, spacing));
        if (shownGlyphs)
            *shownGlyphs = std::move(shaped);
        return shown;
    }
    if (shownGlyphs)
        *shownGlyphs = {};

    // The faces are chosen as the canvas and the text layout choose them,
    // among the faces the document can embed.
    const auto covers = [this, font](const TFontFace &face, QStringView cluster) {
        const TqvxPDFFont *shownBy = documentFont(face, *font);
        return shownBy && showsAll(*shownBy, cluster);
    };
    const TFontStyles style = font->Font().Style();
    struct Segment {
        TqvxPDFFont *Font;
        TqvxPDFShapedText Shaped;
        // The cluster a U+FFFD stands for, whose text it carries.
        QString Replaced;
    };
    QList<Segment> shownOrder;
    QMap<int, QString> logicalOrder; // the text shown, by its start in the line
    bool exact = true;
    for (const TFaceRun &run : FaceRuns(font->SharedFace(), line, rightToLeft, style.testFlag(fsBold),
                                        style.testFlag(fsItalic), covers)) {
        const QString text = line.mid(run.Start, run.Length);
        logicalOrder[run.Start] = text;
        TqvxPDFFont *shownBy = documentFont(*run.Face, *font);
        if (!shownBy || !shownBy->Unusable().isEmpty()) {
            // Nothing can show it (the font cannot be embedded and no face
            // has U+FFFD): it stays in the text alone.
            exact = false;
            continue;
        }
        // A cluster no face shows is drawn as U+FFFD but read as itself.
        Segment segment{shownBy, shownBy->Shape(run.Replaced ? replacementCharacter : text, run.RightToLeft),
                        run.Replaced ? text : QString()};
        exact = exact && segment.Shaped.Exact;
        shownOrder.append(std::move(segment));
    }

    QString text;
    for (const QString &runText : std::as_const(logicalOrder))
        text += runText;
    const QByteArray sizeText = QByteArray::number(size);
    QByteArray shown;
    const TqvxPDFFont *current = font;
    for (const Segment &segment : shownOrder) {
        if (segment.Font != current) {
            shown += segment.Font->ResourceName + ' ' + sizeText + " Tf\n";
            current = segment.Font;
        }
        if (!exact)
            shown += showPlaced(segment.Shaped, 0, segment.Shaped.Glyphs.size(), size, true, spacing);
        else if (!segment.Replaced.isEmpty())
            shown += WithActualText(segment.Replaced,
                                    showPlaced(segment.Shaped, 0, segment.Shaped.Glyphs.size(), size, true, spacing));
        else
            shown += showGlyphs(segment.Shaped, size, spacing);
    }
    if (current != font)
        shown += font->ResourceName + ' ' + sizeText + " Tf\n";
    return exact ? shown : WithActualText(text, shown);
}

bool TqvxPDFExport::ShowText(TqvxPDFContentText &out, TqvxPDFFont *font, int size, const QString &line,
                             bool rightToLeft, double spacing, const TqvxPDFInkLimits *limits)
{
    // Most lines are Latin and Cyrillic the font has: shown from its table.
    bool within = false;
    if (!line.isEmpty() && font->ShowSimply(out, line, size, spacing, limits, &within))
        return within;
    TqvxPDFShapedText shaped;
    out << ShowText(font, size, line, rightToLeft, limits ? &shaped : nullptr, spacing);
    return limits && !shaped.Glyphs.isEmpty() && limits->Hold(font->Ink(shaped, size, spacing));
}

TqvxPDFFont *TqvxPDFExport::documentFont(const TFontFace &face, TqvxPDFFont &font)
{
    return &face == &font.Face() ? &font : FaceFont(face.File(), font);
}

QByteArray TqvxPDFExport::WithActualText(const QString &text, const QByteArray &shown)
{
    // Content streams are encrypted whole, so the string goes in plain.
    return "/Span <</ActualText <FEFF" + StrToHex4(text) + ">>> BDC\n" + shown + "EMC\n";
}

QByteArray TqvxPDFExport::showGlyphs(const TqvxPDFShapedText &shaped, int size, double spacing)
{
    const qsizetype count = shaped.Glyphs.size();
    if (shaped.Spans.isEmpty())
        return showPlaced(shaped, 0, count, size, false, spacing);
    // The glyphs of a cluster with characters that show nothing carry its
    // text together, so that the words around them stay words.
    QByteArray shown;
    qsizetype from = 0;
    for (const TqvxPDFGlyphSpan &span : shaped.Spans) {
        if (span.First > from)
            shown += showPlaced(shaped, from, span.First, size, false, spacing);
        shown += WithActualText(span.Text,
                                showPlaced(shaped, span.First, span.First + span.Count, size, true, spacing));
        from = span.First + span.Count;
    }
    if (from < count)
        shown += showPlaced(shaped, from, count, size, false, spacing);
    return shown;
}

QByteArray TqvxPDFExport::showPlaced(const TqvxPDFShapedText &shaped, qsizetype first, qsizetype end, int size,
                                     bool inSpan, double spacing)
{
    if (shaped.Places.isEmpty())
        return PdfShowGlyphs(shaped.Glyphs.mid(first, end - first));
    // Glyphs are shown in TJ arrays whose numbers move the pen on by what
    // the shaper adds to a glyph's width.
    QByteArray shown;
    QByteArrayList parts;
    QByteArray codes;
    const auto moveBy = [&](double move) {
        const QByteArray number = PdfNumber(move);
        if (number == "0" || number == "-0")
            return;
        if (!codes.isEmpty())
            parts.append('(' + std::exchange(codes, {}) + ')');
        parts.append(number);
    };
    const auto showParts = [&] {
        if (!codes.isEmpty())
            parts.append('(' + std::exchange(codes, {}) + ')');
        if (!parts.isEmpty())
            shown += '[' + parts.join(' ') + "] TJ\n";
        parts.clear();
    };
    // The character spacing in glyph space.
    const double spaced = size > 0 ? spacing * 1000 / size : 0;
    double move = 0;
    for (qsizetype i = first; i < end; ++i) {
        const TqvxPDFGlyphPlace &at = shaped.Places[i];
        char code[4];
        const QByteArray glyph(code, PutGlyphCode(code, shaped.Glyphs[i]) - code);
        // A glyph that does not move the pen on (a mark) stands where the
        // font puts it on its neighbour and takes no spacing: after the
        // glyph it sits on, it goes back before that glyph's spacing, which
        // its own then brings back; ahead of it (right to left), the
        // spacing after it is taken back.
        if (!at.Moves && !at.Leads)
            move += spaced;
        moveBy(move);
        move = -at.Advance + (!at.Moves && at.Leads ? spaced : 0);
        if (at.X == 0 && at.Y == 0) {
            codes += glyph;
            continue;
        }
        showParts();
        // A glyph moved off its pen (a mark on its base) is drawn there
        // without text of its own, or readers would take it for a
        // character of another word or line; a copy of no width at the pen
        // gives its text in its place.  Inside a span, whose text readers
        // place from where its first glyph stands to where its last one
        // ends, only a first and a last glyph need it.
        QByteArray drawn = '[' + (at.X != 0 ? QByteArray::number(-at.X) + ' ' : QByteArray()) + '(' + glyph + ')';
        drawn += (at.X != 0 ? ' ' + QByteArray::number(at.X) : QByteArray()) + "] TJ\n";
        if (at.Y != 0)
            drawn = PdfNumber(at.Y * size / 1000.0) + " Ts\n" + drawn + "0 Ts\n";
        const QByteArray atThePen = "0 Tz\n(" + glyph + ") Tj\n100 Tz\n";
        if (!inSpan || i == first)
            shown += atThePen;
        shown += inSpan ? drawn : WithActualText(QString(), drawn);
        if (inSpan && i == end - 1)
            shown += atThePen;
    }
    moveBy(move);
    showParts();
    return shown;
}

TqvxPDFFont *TqvxPDFExport::FaceFont(const TFontFile &file, const TqvxPDFFont &font)
{
    const QString key = file.FileName + QLatin1Char('#') + QString::number(file.FaceIndex);
    if (m_unusableFaces.contains(key))
        return nullptr;
    for (const auto &known : m_fonts) {
        const TFontFile &knownFile = known->Face().File();
        if (knownFile.FileName == file.FileName && knownFile.FaceIndex == file.FaceIndex
            && known->Unusable().isEmpty()) {
            known->SetSubstituted();
            return known.get();
        }
    }
    TFont style;
    style.SetName(file.Family);
    style.SetStyle(font.Font().Style() & (TFontStyles(fsBold) | fsItalic));
    std::unique_ptr<TqvxPDFFont> added;
    try {
        added = std::make_unique<TqvxPDFFont>(style, TFontEngine::Face(file));
    } catch (const Exception &) {
        m_unusableFaces.insert(key);
        return nullptr;
    }
    if (!added->Unusable().isEmpty()) {
        m_unusableFaces.insert(key);
        return nullptr;
    }
    added->SetSubstituted();
    return addFont(std::move(added));
}
