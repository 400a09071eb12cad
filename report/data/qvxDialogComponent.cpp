#include "report/data/qvxDialogComponent.h"

#include "report/base/qvxNumbers.h"
#include "report/model/qvxRegistries.h"
#include "report/model/qvxResources.h"
#include "toolkit/classes/TFiler.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/graphics/ImageList.h"

namespace {

constexpr int imageInset = 6;
constexpr int nameGap = 4;

// The object image of exactly this class, or -1.
int registeredImage(TClass cls)
{
    TqvxObjectCollection *objects = qvxObjects();
    for (int i = 0; i < objects->Count(); ++i)
        if (objects->GetItem(i)->ClassRef == cls)
            return objects->GetItem(i)->ImageIndex;
    return -1;
}

} // namespace

TqvxDialogComponent::TqvxDialogComponent(TComponent *owner)
    : TqvxReportComponent(owner)
{
    SetWidth(IconSize);
    SetHeight(IconSize);
    SetStyleFlags(StyleFlags() & ~csoCopy);
}

TqvxDialogComponent::~TqvxDialogComponent() = default;

void TqvxDialogComponent::SetComponent(TComponent *component)
{
    m_component.reset(component);
}

void TqvxDialogComponent::Draw(TCanvas *canvas, double, double, double, double)
{
    SetWidth(IconSize);
    SetHeight(IconSize);
    const int x = qvxRoundToPixel(Left());
    const int y = qvxRoundToPixel(Top());
    TRect box(x, y, x + IconSize, y + IconSize);
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(box);
    canvas->DrawEdge(box, EDGE_RAISED, BF_RECT);
    const int image = registeredImage(ClassType());
    if (image != -1)
        qvxResources()->ObjectImages()->Draw(canvas, x + imageInset, y + imageInset, image);

    TFont *font = canvas->Font();
    font->SetName(QStringLiteral("Tahoma"));
    font->SetSize(8);
    font->SetColor(clBlack);
    font->SetStyle({});
    canvas->Brush()->SetColor(clWindow);
    const int width = canvas->TextWidth(Name());
    canvas->TextOut(x + (IconSize - width) / 2, y + IconSize + nameGap, Name());
}

void TqvxDialogComponent::DefineProperties(TFiler &filer)
{
    TqvxReportComponent::DefineProperties(filer);
    filer.DefineProperty(
        QStringLiteral("pLeft"), [this](TReader &reader) { SetLeft(reader.ReadInteger()); },
        [this](TWriter &writer) { writer.WriteInteger(qvxRoundToPixel(Left())); }, true);
    filer.DefineProperty(
        QStringLiteral("pTop"), [this](TReader &reader) { SetTop(reader.ReadInteger()); },
        [this](TWriter &writer) { writer.WriteInteger(qvxRoundToPixel(Top())); }, true);
}
