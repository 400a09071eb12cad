#include "toolkit/widgets/TGroupBox.h"

#include <QGroupBox>
#include <QStylePainter>
#include <qdrawutil.h>

namespace {

constexpr int kCaptionIndent = 8;
constexpr int kCaptionPadding = 2;

QRect captionRect(const QGroupBox &box)
{
    if (box.title().isEmpty())
        return QRect();
    const QFontMetrics metrics = box.fontMetrics();
    const int width = metrics.horizontalAdvance(box.title()) + 2 * kCaptionPadding;
    const QRect rect(kCaptionIndent, 0, qMin(width, box.width() - 2 * kCaptionIndent), metrics.height());
    return QStyle::visualRect(box.layoutDirection(), box.rect(), rect);
}

int frameTop(const QGroupBox &box)
{
    return box.fontMetrics().height() / 2;
}

// The classic group box: the frame line runs through the middle of the
// caption, which sits on it near the leading edge, so that controls placed
// from 16 pixels down lie inside the frame whatever the style.
class ClassicGroupBox : public QGroupBox
{
protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter painter(this);
        // An etched line, as classic dialogs draw it; styles draw their
        // group frames below the caption, wherever the controls lie.
        qDrawShadeRect(&painter, rect().adjusted(0, frameTop(*this), 0, 0), palette(), true, 1, 0);
        if (title().isEmpty())
            return;
        const QRect caption = captionRect(*this);
        painter.fillRect(caption, palette().brush(backgroundRole()));
        painter.drawItemText(caption, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), title(),
                             foregroundRole());
    }
};

} // namespace

TGroupBox::TGroupBox(TComponent *owner) : TWinControl(owner, new ClassicGroupBox)
{
    Widget()->setAutoFillBackground(true);
    SetParentColor(true);
    SetControlStyle(ControlStyle() | csSetCaption);
    SetBounds(0, 0, 185, 105);
}

void TGroupBox::SetCaption(const QString &caption)
{
    TWinControl::SetCaption(caption);
    static_cast<QGroupBox *>(Widget())->setTitle(caption);
}

TRect TGroupBox::CaptionRect() const
{
    return TRect::FromQRect(captionRect(*static_cast<const QGroupBox *>(Widget())));
}

int TGroupBox::FrameTop() const
{
    return frameTop(*static_cast<const QGroupBox *>(Widget()));
}
