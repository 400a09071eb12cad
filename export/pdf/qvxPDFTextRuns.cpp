// Text shown in a document font.  Where the font's face lacks a character,
// or cannot be embedded at all, the faces fontconfig offers for that
// character stand in, each a document font of its own; a character no
// usable face has is shown as U+FFFD.  Faces are chosen within the line's
// directional runs in display order, so right-to-left words keep their
// order when another face shows them.  A line whose glyphs do not give its
// text back through the ToUnicode maps carries it as ActualText.

#include "export/pdf/qvxExportPDF.h"

#include "toolkit/graphics/TextShaping.h"

#include <QMap>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

// Characters that show nothing of their own: controls, format characters
// (joiners, direction marks, the soft hyphen) and variation selectors.
bool showsNothing(char32_t c)
{
    const QChar::Category category = QChar::category(c);
    return category == QChar::Other_Control || category == QChar::Other_Format || (c >= 0xFE00 && c <= 0xFE0F)
        || (c >= 0xE0100 && c <= 0xE01EF);
}

// The first character of the text the font lacks; 0 when it has them all.
char32_t firstMissing(const TqvxPDFFont &font, QStringView text)
{
    // The face is asked first: most characters are covered, and the
    // category of those is not needed.
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text[i].unicode();
        if (QChar::isSurrogate(c)) {
            // A lone surrogate counts as U+FFFD, as in the text's UCS-4 form.
            const bool paired = QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
            c = paired ? QChar::surrogateToUcs4(text[i], text[i + 1]) : char32_t(0xFFFD);
            i += paired ? 1 : 0;
        }
        if (!font.Covers(c) && !showsNothing(c))
            return c;
    }
    return 0;
}

const QString replacementCharacter = QStringLiteral("\uFFFD");

} // namespace

QByteArray TqvxPDFExport::ShowText(TqvxPDFFont *font, const QByteArray &size, const QString &line, bool rightToLeft,
                                   QList<quint16> *shownGlyphs)
{
    bool exact = true;
    if (firstMissing(*font, line) == 0) {
        QList<quint16> glyphs = font->GetGlyphs(line, rightToLeft, &exact);
        const QByteArray shown = PdfShowGlyphs(glyphs);
        if (shownGlyphs)
            *shownGlyphs = std::move(glyphs);
        return exact ? shown : WithActualText(line, shown);
    }
    if (shownGlyphs)
        shownGlyphs->clear();

    // Faces are chosen within the line's directional runs, taken in the
    // order they show on the page, so that the words of a right-to-left run
    // stay in their order whatever faces show them.
    struct Segment {
        TqvxPDFFont *Font;
        QString Text;
        bool RightToLeft;
    };
    QList<Segment> shownOrder;
    QMap<int, QString> logicalOrder; // the text shown, by start of its run
    for (const TGlyphRun &run : ShapeLine(font->Face(), line, rightToLeft)) {
        const QString runText = line.mid(run.Start, run.Length);
        QList<Segment> segments;
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, runText);
        for (qsizetype start = 0; start < runText.size();) {
            const qsizetype end = std::max(graphemes.toNextBoundary(), start + 1);
            QString cluster = runText.mid(start, end - start);
            start = end;
            TqvxPDFFont *shownBy = showingFont(*font, cluster);
            if (!shownBy) {
                cluster = replacementCharacter;
                shownBy = showingFont(*font, cluster);
                if (!shownBy && font->Unusable().isEmpty())
                    shownBy = font;
            }
            if (!shownBy || !shownBy->Unusable().isEmpty()) {
                // Nothing to show it with: only a lone joiner or mark of a
                // font that cannot be embedded comes here.
                if (!segments.isEmpty())
                    segments.last().Text += cluster;
                continue;
            }
            if (!segments.isEmpty() && segments.last().Font == shownBy)
                segments.last().Text += cluster;
            else
                segments.append({shownBy, cluster, run.RightToLeft});
        }
        QString &shownText = logicalOrder[run.Start];
        for (const Segment &segment : segments)
            shownText += segment.Text;
        if (run.RightToLeft)
            std::reverse(segments.begin(), segments.end());
        shownOrder += segments;
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
        bool segmentExact = true;
        shown += PdfShowGlyphs(segment.Font->GetGlyphs(segment.Text, segment.RightToLeft, &segmentExact));
        exact = exact && segmentExact;
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

TqvxPDFFont *TqvxPDFExport::showingFont(TqvxPDFFont &font, QStringView cluster)
{
    return firstMissing(font, cluster) == 0 ? &font : FallbackFont(font, cluster);
}

QByteArray TqvxPDFExport::WithActualText(const QString &text, const QByteArray &shown)
{
    // Content streams are encrypted whole, so the string goes in plain.
    return "/Span <</ActualText <FEFF" + StrToHex4(text) + ">>> BDC\n" + shown + "EMC\n";
}

TqvxPDFFont *TqvxPDFExport::FallbackFont(const TqvxPDFFont &font, QStringView cluster)
{
    const char32_t missing = firstMissing(font, cluster);
    const TFontStyles style = font.Font().Style();
    for (const TFontFile &file :
         TFontEngine::CoveringFaces(missing, style.testFlag(fsBold), style.testFlag(fsItalic))) {
        TqvxPDFFont *candidate = FaceFont(file, font);
        if (candidate && firstMissing(*candidate, cluster) == 0)
            return candidate;
    }
    return nullptr;
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
