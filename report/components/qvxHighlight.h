#pragma once

// A conditional highlight of a memo: when Condition evaluates to True
// while the report is prepared, the memo takes the highlight's font, fill
// and frame (as ApplyFont, ApplyFill and ApplyFrame say) and its
// visibility.  A memo keeps a list of them and applies the first that
// holds.

#include "report/components/qvxFill.h"
#include "report/components/qvxFrame.h"
#include "toolkit/classes/TCollection.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <memory>

class TqvxHighlight : public TCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(bool Active READ Active WRITE SetActive)
    Q_PROPERTY(bool ApplyFont READ ApplyFont WRITE SetApplyFont)
    Q_PROPERTY(bool ApplyFill READ ApplyFill WRITE SetApplyFill)
    Q_PROPERTY(bool ApplyFrame READ ApplyFrame WRITE SetApplyFrame)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(QString Condition READ Condition WRITE SetCondition)
    Q_PROPERTY(ViewTypes::TqvxFillType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TqvxCustomFill *Fill READ Fill WRITE SetFill)
    Q_PROPERTY(TqvxFrame *Frame READ Frame WRITE SetFrame)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

public:
    explicit TqvxHighlight(TCollection *collection = nullptr);
    ~TqvxHighlight() override;

    // Shows the highlight in the designer; not stored, not copied.
    bool Active() const { return m_active; }
    void SetActive(bool value) { m_active = value; }
    bool ApplyFont() const { return m_applyFont; }
    void SetApplyFont(bool value) { m_applyFont = value; }
    bool ApplyFill() const { return m_applyFill; }
    void SetApplyFill(bool value) { m_applyFill = value; }
    bool ApplyFrame() const { return m_applyFrame; }
    void SetApplyFrame(bool value) { m_applyFrame = value; }
    // Arial 10, red, at 96 pixels per inch.
    TFont *Font() const { return m_font.get(); }
    void SetFont(const TFont *value) { m_font->Assign(value); }
    // The brush fill's BackColor (clNone for other fills); not stored.
    TColor Color() const { return m_fill.BackColor(); }
    void SetColor(TColor value) { m_fill.SetBackColor(value); }
    QString Condition() const { return m_condition; }
    void SetCondition(const QString &value) { m_condition = value; }
    TqvxFillType FillType() const { return m_fill.FillType(); }
    void SetFillType(TqvxFillType value) { m_fill.SetFillType(value); }
    TqvxCustomFill *Fill() const { return m_fill.Fill(); }
    void SetFill(const TqvxCustomFill *value) { m_fill.SetFill(value); }
    TqvxFrame *Frame() const { return m_frame.get(); }
    void SetFrame(const TqvxFrame *value) { m_frame->Assign(value); }
    bool Visible() const { return m_visible; }
    void SetVisible(bool value) { m_visible = value; }

    // Copies everything but Active.
    void Assign(const TPersistent *source) override;

private:
    bool m_active = false;
    bool m_applyFont = true;
    bool m_applyFill = true;
    bool m_applyFrame = false;
    std::unique_ptr<TFont> m_font;
    QString m_condition;
    TqvxFillSlot m_fill;
    std::unique_ptr<TqvxFrame> m_frame;
    bool m_visible = true;
};

class TqvxHighlightCollection : public TCollection
{
    Q_OBJECT

public:
    TqvxHighlightCollection();

    TqvxHighlight *Items(int index) const;
};

// Declares what highlights publish.
void InitializeQvxHighlight();
