#pragma once

// The text of a message box, in lines the view breaks itself: each file
// path in it (a text in double quotes holding a slash) stands whole on its
// line, and only a path wider than a line breaks, after one of its slashes
// where it can.  The breaks are where lines end on the screen, never
// characters of the text: whatever the user selects and copies, with the
// mouse or the keyboard, is the message's own text.  Every character
// stands on a line: a tab as a blank, a line separator (U+2028) as the end
// of a line, as a paragraph separator or a line feed is.

#include <QTextEdit>

class MessageTextView : public QTextEdit
{
public:
    // Shows text, read-only and selectable, in lines no wider than
    // lineWidth pixels of the view's font.
    MessageTextView(const QString &text, qreal lineWidth, QWidget *parent);

    // As wide as the widest line and as high as all lines.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // The selected characters as they stand in the text.
    QMimeData *createMimeDataFromSelection() const override;

private:
    // The position in the text of a position of the document, which holds
    // the text's paragraphs with one character between them where the text
    // may have two (CR LF).
    qsizetype textPosition(int position) const;

    QString m_text;
};
