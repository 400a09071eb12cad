#pragma once

// An object with one property of every kind the standard property editors
// serve, and a designer that counts what it is told.

#include "report/editors/qvxPropertyEditor.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/classes/TComponent.h"
#include "toolkit/graphics/GraphicsObjects.h"

#include <functional>
#include <memory>

class TEditedSample : public TComponent
{
    Q_OBJECT
    Q_PROPERTY(int Count MEMBER count)
    Q_PROPERTY(QString Caption MEMBER caption)
    Q_PROPERTY(int Color MEMBER color)
    Q_PROPERTY(int Charset MEMBER charset)
    Q_PROPERTY(int Cursor MEMBER cursor)
    Q_PROPERTY(int ModalResult MEMBER modalResult)
    Q_PROPERTY(int ShortCut MEMBER shortCut)
    Q_PROPERTY(double Stamp MEMBER stamp)
    Q_PROPERTY(TFont *Font READ Font WRITE SetFont)

public:
    explicit TEditedSample(TComponent *owner = nullptr) : TComponent(owner), m_font(std::make_unique<TFont>()) {}

    TFont *Font() const { return m_font.get(); }
    void SetFont(TFont *font) { m_font->Assign(font); }

    int count = 0;
    QString caption;
    int color = 0;
    int charset = 1;
    int cursor = 0;
    int modalResult = 0;
    int shortCut = 0;
    double stamp = 0;

private:
    std::unique_ptr<TFont> m_font;
};

class CountingDesigner : public TqvxDesigner
{
public:
    void BeforeChange() override
    {
        ++before;
        if (onBefore)
            onBefore();
    }
    void AfterChange() override
    {
        ++after;
        if (onAfter)
            onAfter();
    }

    int before = 0;
    int after = 0;
    std::function<void()> onBefore;
    std::function<void()> onAfter;
};

// An editor of type Editor for one property of the given samples.
template <class Editor>
std::unique_ptr<Editor> editorFor(const char *property, std::initializer_list<TEditedSample *> samples,
                                  TqvxDesigner *designer = nullptr)
{
    auto editor = std::make_unique<Editor>(designer);
    for (TEditedSample *sample : samples)
        editor->AddComponent(sample, GetPropInfo(sample, QString::fromLatin1(property)));
    return editor;
}
