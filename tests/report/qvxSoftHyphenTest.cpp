// Soft hyphens with the real font service (Arial resolves to Liberation
// Sans, Arabic to a stand-in face): a line breaks at one only where the
// hyphen it then shows fits too, and a memo split over parts keeps that
// hyphen at the end of a part, with or without hyphenation of its own.

#include "report/ArialLayout.h"
#include "report/text/qvxDrawText.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/graphics/GraphicsObjects.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <memory>

namespace {

const QChar shy(0x00AD);

// The letters of a text, without blanks, hyphens and soft hyphens.
QString Letters(QString text)
{
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('-'));
    text.remove(shy);
    return text;
}

} // namespace

// In every box from a few letters wide to the whole paragraph, each line,
// with the hyphen it shows where it breaks at a soft hyphen, fits its box,
// and the lines give back every letter.  Some of the boxes hold a line up
// to a soft hyphen but not with the hyphen: there the line breaks before
// the word (after a blank) or inside it, never at the soft hyphen.  Latin
// is measured by its advances, Arabic shaped as the line is drawn.
TEST(SoftHyphenBreaks, ALineBreaksAtASoftHyphenOnlyWhereItFitsWithTheHyphen)
{
    const QString latin = QStringLiteral("ab Auto") + shy + QStringLiteral("matisierungs") + shy
                          + QStringLiteral("technik und Schalt") + shy + QStringLiteral("anlagen") + shy
                          + QStringLiteral("bau");
    const QString arabic = QStringLiteral("في الخليج") + shy + QStringLiteral("للطاقة") + shy
                           + QStringLiteral("الكهربائية") + shy + QStringLiteral("والصناعات");
    for (const QString &text : {latin, arabic}) {
        SCOPED_TRACE(text.toStdString());
        int hyphenated = 0;
        QString failures;
        for (int box = 24; box <= 260; ++box) {
            const QStringList lines = Wrap(text, box);
            QString joined;
            for (const QString &line : lines) {
                // The layout's width rounds to whole units.
                if (WidthAlone(line) > (box - 1) * 6.25 + 0.5)
                    failures += QStringLiteral("%1: \"%2\"\n").arg(box).arg(line);
                if (line.endsWith(QLatin1Char('-')))
                    ++hyphenated;
                joined += line;
            }
            if (Letters(joined) != Letters(text))
                failures += QStringLiteral("%1: lost letters in %2\n").arg(box).arg(lines.join(QLatin1Char('|')));
        }
        EXPECT_EQ(failures.toStdString(), "");
        EXPECT_GT(hyphenated, 0) << "some lines break at a soft hyphen";
    }
}

namespace {

// What a memo draws, a string a line, soft hyphens and the blanks at its
// ends (which show nothing) left out.
QStringList Drawn(TqvxMemoView &memo)
{
    TRecordingCanvas canvas;
    memo.Draw(&canvas, 1, 1, 0, 0);
    QStringList lines;
    for (const TCanvasRecord &record : canvas.TextRecords())
        lines.append(QString(record.Text).remove(shy).trimmed());
    return lines;
}

} // namespace

// A memo split over parts draws, part after part, the lines the whole memo
// draws: a part that ends where a line breaks at a soft hyphen ends with
// the hyphen that line shows, and the next part goes on with the rest of
// the word; with hyphenation of the memo's own (WordBreak) and without.
TEST(SoftHyphenBreaks, APartEndingAtASoftHyphenShowsItsHyphen)
{
    QString text;
    for (int i = 0; i < 8; ++i)
        text += QStringLiteral("Leistungs") + shy + QStringLiteral("schalter") + shy + QStringLiteral("anlage ");
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    for (const bool wordBreak : {false, true}) {
        SCOPED_TRACE(wordBreak ? "with hyphenation" : "without hyphenation");
        TqvxMemoView memo;
        memo.SetFont(&font);
        memo.SetWordBreak(wordBreak);
        memo.SetText(text);
        // About one word to a line.
        memo.SetBounds(0, 0, 90, 1000);
        const QStringList whole = Drawn(memo);
        ASSERT_GT(whole.size(), 4);
        EXPECT_GT(whole.filter(QRegularExpression(QStringLiteral("[a-z]-$"))).size(), 0)
            << whole.join(QLatin1Char('|')).toStdString();

        for (const double height : {20.0, 40.0, 60.0}) {
            SCOPED_TRACE(height);
            memo.SetText(text);
            memo.SetBounds(0, 0, 90, height);
            memo.InitPart();
            QStringList parts;
            int count = 0;
            while (memo.HasNextPart()) {
                memo.DrawPart();
                parts += Drawn(memo);
                ASSERT_LE(++count, whole.size());
            }
            EXPECT_EQ(parts.join(QLatin1Char('|')).toStdString(), whole.join(QLatin1Char('|')).toStdString());
        }
    }
}
