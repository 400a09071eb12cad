// Text shown in a document font.  Where the font's face lacks a character,
// or cannot be embedded at all, the faces fontconfig offers for that
// character stand in, each a document font of its own; a character no
// usable face has is shown as U+FFFD.  Faces are chosen within the line's
// directional runs in display order, so right-to-left words keep their
// order when another face shows them.  A line whose glyphs do not give its
// text back through the ToUnicode maps carries it as ActualText; so does a
// glyph that also stands for characters that show nothing (a joiner, a
// variation selector), with its cluster's text alone.

#include "export/pdf/qvxExportPDF.h"

#include "toolkit/graphics/FaceRuns.h"

#include <QMap>

#include <algorithm>

namespace {

// Whether the font shows every character of the text.
bool showsAll(const TqvxPDFFont &font, QStringView text)
{
    return ShowsAll(text, [&font](char32_t c) { return font.Covers(c); });
}

const QString replacementCharacter = QStringLiteral("\uFFFD");

} // namespace

QByteArray TqvxPDFExport::ShowText(TqvxPDFFont *font, const QByteArray &size, const QString &line, bool rightToLeft,
                                   QList<quint16> *shownGlyphs)
{
    bool exact = true;
    if (showsAll(*font, line)) {
        QList<QString> hidden;
        QList<quint16> glyphs = font->GetGlyphs(line, rightToLeft, &exact, &hidden);
        const QByteArray shown = exact ? showGlyphs(glyphs, hidden) : WithActualText(line, PdfShowGlyphs(glyphs));
        if (shownGlyphs)
            *shownGlyphs = std::move(glyphs);
        return shown;
    }
    if (shownGlyphs)
        shownGlyphs->clear();

    // The faces are chosen as the canvas and the text layout choose them,
    // among the faces the document can embed.
    const auto covers = [this, font](const TFontFace &face, QStringView cluster) {
        const TqvxPDFFont *shownBy = documentFont(face, *font);
        return shownBy && showsAll(*shownBy, cluster);
    };
    const TFontStyles style = font->Font().Style();
    struct Segment {
        TqvxPDFFont *Font;
        QList<quint16> Glyphs;
        QList<QString> Hidden;
    };
    QList<Segment> shownOrder;
    QMap<int, QString> logicalOrder; // the text shown, by its start in the line
    for (const TFaceRun &run : FaceRuns(font->SharedFace(), line, rightToLeft, style.testFlag(fsBold),
                                        style.testFlag(fsItalic), covers)) {
        const QString text = run.Replaced ? replacementCharacter : line.mid(run.Start, run.Length);
        logicalOrder[run.Start] = text;
        TqvxPDFFont *shownBy = documentFont(*run.Face, *font);
        if (!shownBy || !shownBy->Unusable().isEmpty()) {
            // Nothing can show it (the font cannot be embedded and no face
            // has U+FFFD): it stays in the text alone.
            exact = false;
            continue;
        }
        Segment segment{shownBy, {}, {}};
        bool segmentExact = true;
        segment.Glyphs = shownBy->GetGlyphs(text, run.RightToLeft, &segmentExact, &segment.Hidden);
        exact = exact && segmentExact;
        shownOrder.append(std::move(segment));
    }

    QString text;
    for (const QString &runText : std::as_const(logicalOrder))
        text += runText;
    QByteArray shown;
    const TqvxPDFFont *current = font;
    for (const Segment &segment : shownOrder) {
        if (segment.Font != current) {
            shown += segment.Font->ResourceName + ' ' + size + " Tf\n";
            current = segment.Font;
        }
        shown += exact ? showGlyphs(segment.Glyphs, segment.Hidden) : PdfShowGlyphs(segment.Glyphs);
    }
    if (current != font)
        shown += font->ResourceName + ' ' + size + " Tf\n";
    return exact ? shown : WithActualText(text, shown);
}

bool TqvxPDFExport::ShowText(TqvxPDFContentText &out, TqvxPDFFont *font, int size, const QString &line,
                             bool rightToLeft, double spacing, const TqvxPDFInkLimits *limits)
{
    // Most lines are Latin and Cyrillic the font has: shown from its table.
    bool within = false;
    if (!line.isEmpty() && font->ShowSimply(out, line, size, spacing, limits, &within))
        return within;
    QList<quint16> glyphs;
    out << ShowText(font, QByteArray::number(size), line, rightToLeft, limits ? &glyphs : nullptr);
    return limits && !glyphs.isEmpty() && limits->Hold(font->Ink(glyphs, size, spacing));
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

QByteArray TqvxPDFExport::showGlyphs(const QList<quint16> &glyphs, const QList<QString> &hidden)
{
    if (hidden.isEmpty())
        return PdfShowGlyphs(glyphs);
    // A glyph that also stands for characters that show nothing carries its
    // cluster's text alone, so that the words around it stay words.
    QByteArray shown;
    qsizetype from = 0;
    for (qsizetype i = 0; i < glyphs.size(); ++i) {
        if (hidden.value(i).isEmpty())
            continue;
        if (i > from)
            shown += PdfShowGlyphs(glyphs.mid(from, i - from));
        shown += WithActualText(hidden[i], PdfShowGlyphs({glyphs[i]}));
        from = i + 1;
    }
    if (from < glyphs.size())
        shown += PdfShowGlyphs(glyphs.mid(from));
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
