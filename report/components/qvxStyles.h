#pragma once

// Named styles: a font, fill and frame that memos take by the style's name.
// A report keeps one list; a list can also be kept alone as an XML
// document whose root element is "style".

#include "report/model/qvxCollection.h"
#include "report/components/qvxFill.h"
#include "report/components/qvxFrame.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <QString>

#include <memory>

class TStream;
class TStrings;
class TqvxComponent;
class TqvxXMLItem;

// A report object that names a style (the memo view).  Setting the name
// applies the style of that name from the report's list as the style's
// Apply flags say.
class TqvxStyledObject
{
public:
    virtual ~TqvxStyledObject() = default;
    virtual QString Style() const = 0;
    virtual void SetStyle(const QString &name) = 0;
};

class TqvxStyleItem : public TqvxCollectionItem
{
    Q_OBJECT
    Q_PROPERTY(QString Name READ Name WRITE SetName)
    Q_PROPERTY(TColor Color READ Color WRITE SetColor)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)
    Q_PROPERTY(TqvxFrame *Frame READ Frame WRITE SetFrame)
    // Before Fill, so that a file sets the fill's kind before its values.
    Q_PROPERTY(ViewTypes::TqvxFillType FillType READ FillType WRITE SetFillType)
    Q_PROPERTY(TqvxCustomFill *Fill READ Fill WRITE SetFill)
    Q_PROPERTY(bool ApplyFont READ ApplyFont WRITE SetApplyFont)
    Q_PROPERTY(bool ApplyFill READ ApplyFill WRITE SetApplyFill)
    Q_PROPERTY(bool ApplyFrame READ ApplyFrame WRITE SetApplyFrame)

public:
    // Arial 10, a brush fill, the default frame; every Apply flag on.
    explicit TqvxStyleItem(TCollection *collection = nullptr);
    ~TqvxStyleItem() override;

    // Unique in the list without regard to case: a name another style has
    // raises Exception with the text "clDupName".
    QString Name() const { return m_name; }
    void SetName(const QString &value);
    // The brush fill's BackColor, a gradient's middle colour, else clNone.
    // Setting it changes only a brush fill.
    TColor Color() const;
    void SetColor(TColor value) { m_fill.SetBackColor(value); }
    TFont *Font() const { return m_font.get(); }
    void SetFont(const TFont *value) { m_font->Assign(value); }
    TqvxFrame *Frame() const { return m_frame.get(); }
    void SetFrame(const TqvxFrame *value) { m_frame->Assign(value); }
    // A new kind replaces the fill by a fresh one of that kind; a fill
    // given is copied after its kind is taken.
    TqvxFillType FillType() const { return m_fill.FillType(); }
    void SetFillType(TqvxFillType value) { m_fill.SetFillType(value); }
    TqvxCustomFill *Fill() const { return m_fill.Fill(); }
    void SetFill(const TqvxCustomFill *value) { m_fill.SetFill(value); }
    bool ApplyFont() const { return m_applyFont; }
    void SetApplyFont(bool value) { m_applyFont = value; }
    bool ApplyFill() const { return m_applyFill; }
    void SetApplyFill(bool value) { m_applyFill = value; }
    bool ApplyFrame() const { return m_applyFrame; }
    void SetApplyFrame(bool value) { m_applyFrame = value; }

    // The Name when there is one, else the generated name.
    QString GetInheritedName() const override;

    void Assign(const TPersistent *source) override;

private:
    QString m_name;
    std::unique_ptr<TFont> m_font;
    std::unique_ptr<TqvxFrame> m_frame;
    TqvxFillSlot m_fill;
    bool m_applyFont = true;
    bool m_applyFill = true;
    bool m_applyFrame = true;
};

class TqvxStyles : public TqvxCollection
{
    Q_OBJECT

public:
    // report is the owning report, whose memos Apply reaches; nullptr for a
    // list of its own.
    explicit TqvxStyles(TqvxComponent *report = nullptr);

    QString Name() const { return m_name; }
    void SetName(const QString &value) { m_name = value; }
    TqvxComponent *Report() const { return m_report; }

    TqvxStyleItem *Add();
    TqvxStyleItem *Items(int index) const;
    // The style of that name without regard to case, or nullptr.
    TqvxStyleItem *Find(const QString &name) const;
    // Replaces the content of list by the style names, in order.
    void GetList(TStrings *list) const;

    // Every memo of the report that names a style takes it again, or loses
    // the name when the list has no such style.
    void Apply();

    // The list as an element "style" with the attribute Name and one child
    // "item" per style holding its properties.
    void SaveToXMLItem(TqvxXMLItem *item);
    // Clears the list and reads it from such an element (children of
    // another name are skipped), then Apply.
    void LoadFromXMLItem(TqvxXMLItem *item, bool oldFormat);

    // A document whose root is the element above; loading ignores a
    // document with another root.  Malformed XML raises
    // TqvxInvalidXMLException.
    void SaveToStream(TStream *stream);
    void LoadFromStream(TStream *stream);
    void SaveToFile(const QString &fileName);
    void LoadFromFile(const QString &fileName);

private:
    QString m_name;
    TqvxComponent *m_report;
};

// Declares what styles publish and registers the style class.
void InitializeQvxStyles();
