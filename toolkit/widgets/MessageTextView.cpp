#include "toolkit/widgets/MessageTextView.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <cmath>

namespace {

// Where a line of text may break: after each position of the result.
QList<bool> breakOpportunities(const QString &text)
{
    QList<bool> breaks(text.size() + 1, false);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    for (qsizetype at = finder.toNextBoundary(); at >= 0; at = finder.toNextBoundary())
        breaks[at] = true;
    return breaks;
}

// Where the lines of a paragraph may break, and which of its characters
// belong to a file path.
struct LineBreaks {
    QList<bool> before; // a line may begin at each position
    QList<bool> inPath;
};

// Keeps each file path of text (a text in double quotes holding a slash)
// whole: no break inside it, but after its slashes when it is (with its
// quotes) wider than lineWidth, and where it would break anyway inside a
// part between slashes that is wider than lineWidth still.
void keepPathsWhole(const QString &text, LineBreaks &breaks, const QFontMetricsF &metrics, qreal lineWidth)
{
    static const QRegularExpression quoted(QStringLiteral("\"([^\"\n]*)\""));
    for (QRegularExpressionMatchIterator it = quoted.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (!match.captured(1).contains(QLatin1Char('/')))
            continue;
        // The path with its quotes and what holds on to them.
        qsizetype unitEnd = match.capturedEnd(0);
        while (unitEnd < text.size() && !breaks.before[unitEnd])
            ++unitEnd;
        const QString unit = text.mid(match.capturedStart(0), unitEnd - match.capturedStart(0)).trimmed();
        const bool overlong = metrics.horizontalAdvance(unit) > lineWidth;
        qsizetype part = match.capturedStart(1);
        for (qsizetype at = part; at < match.capturedEnd(1); ++at) {
            breaks.inPath[at] = true;
            if (text[at] != QLatin1Char('/') && at + 1 < match.capturedEnd(1))
                continue;
            const bool partOverlong = overlong && metrics.horizontalAdvance(text.mid(part, at + 1 - part)) > lineWidth;
            for (qsizetype inside = part + 1; inside <= at; ++inside)
                breaks.before[inside] = breaks.before[inside] && partOverlong;
            breaks.before[at + 1] = overlong;
            part = at + 1;
        }
        breaks.before[match.capturedEnd(1)] = false;
    }
}

// The number of characters on each line of a paragraph broken at its
// opportunities into lines of at most lineWidth (a unit wider than a line
// stands alone on its line).  The blanks a line ends with count for its
// width only where they belong to a path; elsewhere they give way to the
// line break.  An empty paragraph is one empty line.
QList<int> lineLengths(const QString &paragraph, const QFontMetricsF &metrics, qreal lineWidth)
{
    LineBreaks breaks{breakOpportunities(paragraph), QList<bool>(paragraph.size(), false)};
    keepPathsWhole(paragraph, breaks, metrics, lineWidth);
    const auto shownWidth = [&](qsizetype start, qsizetype end) {
        while (end > start && paragraph[end - 1] == QLatin1Char(' ') && !breaks.inPath[end - 1])
            --end;
        return metrics.horizontalAdvance(paragraph.mid(start, end - start));
    };
    QList<int> lengths;
    qsizetype start = 0;
    while (start < paragraph.size()) {
        qsizetype end = -1;
        for (qsizetype at = start + 1; at <= paragraph.size(); ++at) {
            if (!breaks.before[at] && at < paragraph.size())
                continue;
            if (end >= 0 && shownWidth(start, at) > lineWidth)
                break;
            end = at;
        }
        lengths.append(int(end - start));
        start = end;
    }
    if (lengths.isEmpty())
        lengths.append(0);
    return lengths;
}

// Lays each paragraph of a document out in the lines lineLengths gives,
// one under the other from the top left; the width the document is given
// is not looked at.
class MessageLinesLayout : public QAbstractTextDocumentLayout
{
public:
    MessageLinesLayout(QTextDocument *document, qreal lineWidth)
        : QAbstractTextDocumentLayout(document), m_lineWidth(lineWidth)
    {
    }

    void draw(QPainter *painter, const PaintContext &context) override
    {
        painter->save();
        painter->setPen(context.palette.color(QPalette::Text));
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            QList<QTextLayout::FormatRange> selections;
            for (const Selection &selection : context.selections) {
                const int start = std::max(selection.cursor.selectionStart() - block.position(), 0);
                const int end = std::min(selection.cursor.selectionEnd() - block.position(), block.length());
                if (start < end)
                    selections.append({start, end - start, selection.format});
            }
            block.layout()->draw(painter, QPointF(), selections, context.clip);
            const int cursor = context.cursorPosition - block.position();
            if (cursor >= 0 && cursor < block.length())
                block.layout()->drawCursor(painter, QPointF(), cursor);
        }
        painter->restore();
    }

    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override
    {
        // The line at the point's height; above the first line the first,
        // below the last the last.
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            const QTextLayout *layout = block.layout();
            for (int i = 0; i < layout->lineCount(); ++i) {
                const QTextLine line = layout->lineAt(i);
                const QRectF rect = line.naturalTextRect().translated(layout->position());
                if (point.y() >= rect.bottom() && (block.next().isValid() || i + 1 < layout->lineCount()))
                    continue;
                if (accuracy == Qt::ExactHit && !rect.contains(point))
                    return -1;
                return block.position() + line.xToCursor(point.x() - layout->position().x());
            }
        }
        return -1;
    }

    int pageCount() const override { return 1; }
    QSizeF documentSize() const override { return m_size; }
    QRectF frameBoundingRect(QTextFrame *) const override { return QRectF(QPointF(), m_size); }

    QRectF blockBoundingRect(const QTextBlock &block) const override
    {
        const QTextLayout *layout = block.layout();
        return layout ? layout->boundingRect().translated(layout->position()) : QRectF();
    }

protected:
    void documentChanged(int, int, int) override
    {
        const QFontMetricsF metrics(document()->defaultFont());
        qreal top = 0;
        qreal width = 0;
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            QTextLayout *layout = block.layout();
            layout->setPosition(QPointF(0, top));
            layout->beginLayout();
            qreal height = 0;
            for (const int length : lineLengths(block.text(), metrics, m_lineWidth)) {
                QTextLine line = layout->createLine();
                line.setNumColumns(length);
                line.setPosition(QPointF(0, height));
                height += line.height();
                width = std::max(width, line.naturalTextWidth());
            }
            layout->endLayout();
            block.setLineCount(layout->lineCount());
            top += height;
        }
        m_size = QSizeF(width, top);
        Q_EMIT documentSizeChanged(m_size);
        Q_EMIT update();
    }

private:
    qreal m_lineWidth;
    QSizeF m_size;
};

// The text as the document holds it, character for character: a tab as a
// blank (Qt ends a line given its number of characters at a tab, which it
// counts as the characters of its width), and a line separator as the end
// of a paragraph (Qt ends the line there, leaving the rest of the
// paragraph's characters on no line).
QString shownText(QString text)
{
    text.replace(QLatin1Char('\t'), QLatin1Char(' '));
    text.replace(QChar::LineSeparator, QChar::ParagraphSeparator);
    return text;
}

} // namespace

MessageTextView::MessageTextView(const QString &text, qreal lineWidth, QWidget *parent)
    : QTextEdit(parent), m_text(text)
{
    auto *document = new QTextDocument(this);
    document->setDocumentLayout(new MessageLinesLayout(document, lineWidth));
    document->setDefaultFont(font());
    document->setPlainText(shownText(text));
    setDocument(document);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Focus stays with the box's buttons until the text is clicked.
    setFocusPolicy(Qt::ClickFocus);
    setTabChangesFocus(true);
    setLineWrapMode(NoWrap);
    setFrameStyle(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The text stands on the box itself, as a label's does.
    viewport()->setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize MessageTextView::sizeHint() const
{
    // A pixel beyond the widest line leaves room for the cursor after it.
    const QSizeF size = document()->documentLayout()->documentSize();
    return QSize(int(std::ceil(size.width())) + 1, int(std::ceil(size.height())));
}

QSize MessageTextView::minimumSizeHint() const
{
    return sizeHint();
}

qsizetype MessageTextView::textPosition(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    qsizetype start = 0;
    for (QTextBlock before = document()->begin(); before != block; before = before.next()) {
        start += before.length() - 1;
        start += m_text.mid(start, 2) == QStringLiteral("\r\n") ? 2 : 1;
    }
    return start + position - block.position();
}

QMimeData *MessageTextView::createMimeDataFromSelection() const
{
    const QTextCursor selection = textCursor();
    const qsizetype start = textPosition(selection.selectionStart());
    auto *data = new QMimeData;
    data->setText(m_text.mid(start, textPosition(selection.selectionEnd()) - start));
    return data;
}
