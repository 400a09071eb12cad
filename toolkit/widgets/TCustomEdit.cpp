#include "toolkit/widgets/TCustomEdit.h"

#include <QLineEdit>

TCustomEdit::TCustomEdit(TComponent *owner) : TCustomEdit(owner, new QLineEdit) {}

TCustomEdit::TCustomEdit(TComponent *owner, QLineEdit *edit) : TWinControl(owner, edit)
{
    SetTabStop(true);
    SetColor(clWindow);
    SetBounds(0, 0, 121, 21);
    QObject::connect(edit, &QLineEdit::textChanged, this, [this] {
        applyCase();
        Change();
    });
}

QLineEdit *TCustomEdit::Edit() const
{
    return static_cast<QLineEdit *>(Widget());
}

QString TCustomEdit::Caption() const
{
    return Edit()->text();
}

void TCustomEdit::SetCaption(const QString &text)
{
    if (text == Edit()->text())
        return;
    Edit()->setText(text);
    Edit()->setModified(false);
}

void TCustomEdit::Change()
{
    if (OnChange)
        OnChange(this);
}

void TCustomEdit::SetMaxLength(int length)
{
    m_maxLength = qMax(0, length);
    Edit()->setMaxLength(m_maxLength > 0 ? m_maxLength : 32767);
}

bool TCustomEdit::ReadOnly() const
{
    return Edit()->isReadOnly();
}

void TCustomEdit::SetReadOnly(bool readOnly)
{
    Edit()->setReadOnly(readOnly);
}

void TCustomEdit::SetCharCase(TEditCharCase charCase)
{
    m_charCase = charCase;
    applyCase();
}

void TCustomEdit::applyCase()
{
    const QString text = Edit()->text();
    const QString cased = m_charCase == ecUpperCase   ? text.toUpper()
                          : m_charCase == ecLowerCase ? text.toLower()
                                                      : text;
    if (cased != text) {
        const int cursor = Edit()->cursorPosition();
        Edit()->setText(cased);
        Edit()->setCursorPosition(cursor);
    }
}

void TCustomEdit::SetPasswordChar(QChar passwordChar)
{
    m_passwordChar = passwordChar;
    Edit()->setEchoMode(passwordChar.isNull() ? QLineEdit::Normal : QLineEdit::Password);
}

void TCustomEdit::SetBorderStyle(TBorderStyle style)
{
    m_borderStyle = style == bsNone ? bsNone : bsSingle;
    Edit()->setFrame(m_borderStyle != bsNone);
}

void TCustomEdit::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    const Qt::Alignment horizontal = alignment == taCenter         ? Qt::AlignHCenter
                                     : alignment == taRightJustify ? Qt::AlignRight
                                                                   : Qt::AlignLeft;
    Edit()->setAlignment(horizontal | Qt::AlignVCenter);
}

void TCustomEdit::SetTextMargins(int left, int top, int right, int bottom)
{
    Edit()->setTextMargins(left, top, right, bottom);
}

bool TCustomEdit::Modified() const
{
    return Edit()->isModified();
}

void TCustomEdit::SetModified(bool modified)
{
    Edit()->setModified(modified);
}

int TCustomEdit::SelStart() const
{
    return Edit()->hasSelectedText() ? Edit()->selectionStart() : Edit()->cursorPosition();
}

void TCustomEdit::SetSelStart(int start)
{
    Edit()->setCursorPosition(start);
}

int TCustomEdit::SelLength() const
{
    return Edit()->selectionLength();
}

void TCustomEdit::SetSelLength(int length)
{
    Edit()->setSelection(SelStart(), length);
}

QString TCustomEdit::SelText() const
{
    return Edit()->selectedText();
}

void TCustomEdit::SelectAll()
{
    Edit()->selectAll();
}

void TCustomEdit::ClearSelection()
{
    if (!ReadOnly())
        Edit()->del();
}

bool TCustomEdit::CanUndo() const
{
    return !ReadOnly() && Edit()->isUndoAvailable();
}

void TCustomEdit::Undo()
{
    if (!ReadOnly())
        Edit()->undo();
}

void TCustomEdit::CutToClipboard()
{
    if (!ReadOnly())
        Edit()->cut();
}

void TCustomEdit::CopyToClipboard()
{
    Edit()->copy();
}

void TCustomEdit::PasteFromClipboard()
{
    if (!ReadOnly())
        Edit()->paste();
}

void TCustomEdit::DoEnter()
{
    if (m_autoSelect)
        SelectAll();
    TWinControl::DoEnter();
}
