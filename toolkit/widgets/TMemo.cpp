#include "toolkit/widgets/TMemo.h"

#include "toolkit/widgets/TControlStrings.h"

#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTextOption>

TMemo::TMemo(TComponent *owner)
    : TWinControl(owner, new QPlainTextEdit), m_lines(std::make_unique<TControlStrings>([this] { pushLines(); }))
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
