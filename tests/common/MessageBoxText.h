#pragma once

// The text of a real message box as the user sees it: the view that shows
// it, and the lines it stands in on the screen.

#include <QAbstractTextDocumentLayout>
#include <QMessageBox>
#include <QStringList>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

inline QTextEdit *MessageBoxText(const QMessageBox *box)
{
    return box ? box->findChild<QTextEdit *>(QStringLiteral("messageText")) : nullptr;
}

// Each line as it stands on the screen, with the blanks it ends with.
inline QStringList ShownLines(const QTextEdit *view)
{
    QStringList lines;
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            const QTextLine line = block.layout()->lineAt(i);
            lines.append(block.text().mid(line.textStart(), line.textLength()));
        }
    return lines;
}

// Whether every line lies wholly inside the view: none is cut off.
inline bool LinesInside(const QTextEdit *view)
{
    const QSizeF text = view->document()->documentLayout()->documentSize();
    return QRectF(view->viewport()->rect()).contains(QRectF(QPointF(), text));
}
