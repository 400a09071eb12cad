#pragma once

// A text on the parent's background.  With AutoSize the label takes the size
// of its text (only the height when it wraps words).

#include "toolkit/widgets/TControl.h"

class QLabel;

class TLabel : public TControl
{
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(ControlTypes::TAlignment Alignment READ Alignment WRITE SetAlignment)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(ControlTypes::TTextLayout Layout READ Layout WRITE SetLayout)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)

public:
    explicit TLabel(TComponent *owner);

    void SetCaption(const QString &caption) override;
    TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout layout);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    // Paints the parent's background behind the text when false.
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent);
    TControl *FocusControl() const { return m_focusControl; }
    void SetFocusControl(TControl *control) { m_focusControl = control; }

protected:
    void Changed() override;

private:
    QLabel *label() const;
    void applyAlignment();
    void adjustSize();

    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    bool m_wordWrap = false;
    bool m_autoSize = true;
    bool m_transparent = false;
    TControl *m_focusControl = nullptr;
};
