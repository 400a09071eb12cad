#include "toolkit/graphics/TextFormat.h"

#include "toolkit/graphics/Canvas.h"

namespace {

const QString ellipsis = QStringLiteral("...");

// Removes the prefix characters; returns the index of the character after
// the first single "&" (-1 when there is none).
int stripPrefixes(QString &text)
{
    QString plain;
    plain.reserve(text.size());
    int prefixIndex = -1;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('&')) {
            plain += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
            plain += QLatin1Char('&');
            ++i;
        } else if (prefixIndex < 0 && i + 1 < text.size()) {
            prefixIndex = int(plain.size());
        }
    }
    text = plain;
    return prefixIndex;
}

// Line breaks as single "\n", or none at all for a single line.
QString normalizedBreaks(const QString &text, bool singleLine)
{
    QString result = text;
    if (singleLine) {
        result.remove(QLatin1Char('\r'));
        result.remove(QLatin1Char('\n'));
    } else {
        result.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        result.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return result;
}

// Greedy word wrap: each line takes as many blank-separated words as fit.
QStringList wrapParagraph(const QString &paragraph, int width, const TTextMeasure &measure)
{
    QStringList lines;
    QString line;
    int start = 0;
    while (start < paragraph.size()) {
        int wordEnd = start;
        while (wordEnd < paragraph.size() && paragraph[wordEnd] == QLatin1Char(' '))
            ++wordEnd;
        while (wordEnd < paragraph.size() && paragraph[wordEnd] != QLatin1Char(' '))
            ++wordEnd;
        const QString candidate = line + paragraph.mid(start, wordEnd - start);
        if (!line.isEmpty() && measure(candidate) > width) {
            lines.append(line);
            line = paragraph.mid(start, wordEnd - start).trimmed();
        } else {
            line = candidate;
        }
        start = wordEnd;
    }
    lines.append(line);
    return lines;
}

QString withEllipsis(const QString &line, int width, const TTextMeasure &measure)
{
    for (qsizetype keep = line.size() - 1; keep > 0; --keep) {
        const QString cut = line.left(keep) + ellipsis;
        if (measure(cut) <= width)
            return cut;
    }
    return ellipsis;
}

} // namespace

QList<TFormattedLine> FormatText(const QString &text, unsigned flags, int width, const TTextMeasure &measure)
{
    QString source = normalizedBreaks(text, flags & DT_SINGLELINE);
    const int prefixIndex = (flags & DT_NOPREFIX) ? -1 : stripPrefixes(source);
    if (source.isEmpty())
        return {};

    QList<TFormattedLine> lines;
    int offset = 0; // position of the current line in the stripped text
    const QStringList paragraphs = source.split(QLatin1Char('\n'));
    for (const QString &paragraph : paragraphs) {
        const QStringList wrapped = (flags & DT_WORDBREAK) && !(flags & DT_SINGLELINE)
            ? wrapParagraph(paragraph, width, measure)
            : QStringList{paragraph};
        int searchFrom = 0;
        for (const QString &lineText : wrapped) {
            TFormattedLine line{lineText, measure(lineText)};
            const int lineStart = offset + int(paragraph.indexOf(lineText, searchFrom));
            searchFrom = int(paragraph.indexOf(lineText, searchFrom)) + int(lineText.size());
            if (prefixIndex >= lineStart && prefixIndex < lineStart + lineText.size())
                line.PrefixIndex = prefixIndex - lineStart;
            if ((flags & DT_END_ELLIPSIS) && line.Width > width) {
                line.Text = withEllipsis(lineText, width, measure);
                line.Width = measure(line.Text);
                if (line.PrefixIndex >= line.Text.size() - ellipsis.size())
                    line.PrefixIndex = -1;
            }
            lines.append(line);
        }
        offset += int(paragraph.size()) + 1;
    }
    return lines;
}
