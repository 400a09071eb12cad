#include "toolkit/widgets/TLabel.h"

#include <QFontMetrics>
#include <QLabel>

TLabel::TLabel(TComponent *owner) : TControl(owner, new QLabel)
{
    label()->setTextFormat(Qt::PlainText);
    label()->setAutoFillBackground(true);
    SetParentColor(true);
    SetControlStyle(ControlStyle() | csSetCaption);
    SetBounds(0, 0, 65, 17);
    applyAlignment();
}

QLabel *TLabel::label() const
{
    return static_cast<QLabel *>(Widget());
}

void TLabel::SetCaption(const QString &caption)
{
    TControl::SetCaption(caption);
    label()->setText(caption);
    adjustSize();
}

void TLabel::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    applyAlignment();
}

void TLabel::SetLayout(TTextLayout layout)
{
    m_layout = layout;
    applyAlignment();
}

void TLabel::SetWordWrap(bool wordWrap)
{
    m_wordWrap = wordWrap;
    label()->setWordWrap(wordWrap);
    adjustSize();
}

void TLabel::SetAutoSize(bool autoSize)
{
    m_autoSize = autoSize;
    adjustSize();
}

void TLabel::SetTransparent(bool transparent)
{
    m_transparent = transparent;
    label()->setAutoFillBackground(!transparent);
}

void TLabel::applyAlignment()
{
    Qt::Alignment alignment = m_alignment == taCenter         ? Qt::AlignHCenter
                              : m_alignment == taRightJustify ? Qt::AlignRight
                                                              : Qt::AlignLeft;
    alignment |= m_layout == tlCenter ? Qt::AlignVCenter : m_layout == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
    label()->setAlignment(alignment);
}

void TLabel::Changed()
{
    adjustSize();
}

void TLabel::adjustSize()
{
    if (!m_autoSize)
        return;
    const QFontMetrics metrics(label()->font());
    if (m_wordWrap) {
        const QRect text = metrics.boundingRect(QRect(0, 0, qMax(1, Width()), 0), Qt::TextWordWrap, Caption());
        SetBounds(Left(), Top(), Width(), text.height());
    } else {
        const QSize text = metrics.size(0, Caption().isEmpty() ? QStringLiteral(" ") : Caption());
        SetBounds(Left(), Top(), Caption().isEmpty() ? Width() : text.width(), text.height());
    }
}
