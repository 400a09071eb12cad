#include "toolkit/widgets/TMemo.h"

#include "toolkit/widgets/TControlStrings.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace {

// The text area of a memo shows whole lines only: it ends below the last
// line that fits whole, and the rest of the box stays blank.  Where the
// first line stands depends on the scroll position (a line carried over
// from the line above starts a pixel down), so the text area is fitted
// again whenever the text scrolls, changes or is laid out anew.
class TMemoEditor final : public QPlainTextEdit
{
public:
    TMemoEditor()
    {
        // The text is set in from the sides by the text area's margins
        // rather than the document's, which would also set the first line
        // apart from the others at the top.
        document()->setDocumentMargin(0);
        setViewportMargins(TextInset, 0, TextInset, 0);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Base);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this] { fitWholeLines(); });
        connect(this, &QPlainTextEdit::textChanged, this, [this] { fitWholeLines(); });
    }

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QPlainTextEdit::resizeEvent(event);
        fitWholeLines();
    }

    void changeEvent(QEvent *event) override
    {
        QPlainTextEdit::changeEvent(event);
        if (event->type() == QEvent::FontChange)
            fitWholeLines();
    }

private:
    static constexpr int TextInset = 4;

    // The distance from one line to the next, as the editor lays out a
    // line of its font.
    int linePitch() const
    {
        const QFontMetricsF metrics(document()->defaultFont());
        const qreal leading = metrics.leading();
        const int pitch = int(std::ceil(metrics.ascent() + metrics.descent() + std::max<qreal>(leading, 0)));
        return std::max(1, leading < 0 ? pitch + int(std::ceil(leading)) : pitch);
    }

    // Where the first line that starts inside the text area starts.
    int firstLineTop() const
    {
        const QTextBlock block = firstVisibleBlock();
        if (!block.isValid() || !block.layout())
            return 0;
        const qreal blockTop = blockBoundingGeometry(block).translated(contentOffset()).top();
        const QTextLayout *layout = block.layout();
        for (int i = 0; i < layout->lineCount(); ++i)
            if (const qreal top = blockTop + layout->lineAt(i).y(); top >= 0)
                return int(std::ceil(top));
        return 0;
    }

    void fitWholeLines()
    {
        const QMargins margins = viewportMargins();
        const int height = viewport()->height() + margins.top() + margins.bottom();
        const int top = firstLineTop();
        const int pitch = linePitch();
        const int lines = std::max(1, (height - top) / pitch);
        const int blank = std::max(0, height - top - lines * pitch);
        if (blank != margins.bottom())
            setViewportMargins(margins.left(), margins.top(), margins.right(), blank);
    }
};

} // namespace

TMemo::TMemo(TComponent *owner)
    : TWinControl(owner, new TMemoEditor), m_lines(std::make_unique<TControlStrings>([this] { pushLines(); }))
{
    editor()->viewport()->installEventFilter(this);
    editor()->setTabChangesFocus(true);
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 185, 89);
    SetScrollBars(ssNone);
    QObject::connect(editor(), &QPlainTextEdit::textChanged, this, [this] { textEdited(); });
}

TMemo::~TMemo() = default;

QPlainTextEdit *TMemo::editor() const
{
    return static_cast<QPlainTextEdit *>(Widget());
}

QWidget *TMemo::MouseWidget() const
{
    return editor()->viewport();
}

TStrings *TMemo::Lines() const
{
    return m_lines.get();
}

void TMemo::SetLines(const TStrings *lines)
{
    m_lines->Assign(lines);
}

QString TMemo::Caption() const
{
    return m_lines->Text();
}

void TMemo::SetCaption(const QString &text)
{
    m_lines->SetText(text);
}

void TMemo::pushLines()
{
    m_pushing = true;
    editor()->setPlainText(m_lines->Lines().join(QLatin1Char('\n')));
    m_pushing = false;
    Change();
}

void TMemo::textEdited()
{
    if (m_pushing)
        return;
    QString text = editor()->toPlainText();
    if (m_maxLength > 0 && text.size() > m_maxLength) {
        text.truncate(m_maxLength);
        m_pushing = true;
        editor()->setPlainText(text);
        editor()->moveCursor(QTextCursor::End);
        m_pushing = false;
    }
    m_lines->Reload(text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n')));
    Change();
}

void TMemo::Change()
{
    if (OnChange)
        OnChange(this);
}

bool TMemo::ReadOnly() const
{
    return editor()->isReadOnly();
}

void TMemo::SetReadOnly(bool readOnly)
{
    editor()->setReadOnly(readOnly);
    // A read-only memo still shows its caret when focused and moves it by
    // the keys, so a keyboard user sees where the focus is and can scroll.
    if (readOnly)
        editor()->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void TMemo::SetScrollBars(TScrollStyle scrollBars)
{
    m_scrollBars = scrollBars;
    const bool horizontal = scrollBars == ssHorizontal || scrollBars == ssBoth;
    const bool vertical = scrollBars == ssVertical || scrollBars == ssBoth;
    editor()->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    editor()->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    applyWrap();
}

void TMemo::SetWordWrap(bool wordWrap)
{
    m_wordWrap = wordWrap;
    applyWrap();
}

void TMemo::applyWrap()
{
    // A horizontal scroll bar means long lines stay whole.
    const bool horizontal = m_scrollBars == ssHorizontal || m_scrollBars == ssBoth;
    editor()->setLineWrapMode(m_wordWrap && !horizontal ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

void TMemo::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    QTextOption option = editor()->document()->defaultTextOption();
    option.setAlignment(alignment == taCenter         ? Qt::AlignHCenter
                        : alignment == taRightJustify ? Qt::AlignRight
                                                      : Qt::AlignLeft);
    editor()->document()->setDefaultTextOption(option);
}

void TMemo::SetMaxLength(int length)
{
    m_maxLength = qMax(0, length);
}

void TMemo::SetWantTabs(bool want)
{
    m_wantTabs = want;
    editor()->setTabChangesFocus(!want);
}

bool TMemo::WantsKey(int key) const
{
    return (key == VK_RETURN && m_wantReturns) || (key == VK_TAB && m_wantTabs);
}
