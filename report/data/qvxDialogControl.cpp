#include "report/data/qvxDialogControl.h"

#include "report/base/qvxNumbers.h"
#include "report/model/qvxParentForm.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/TForm.h"

TqvxDialogControl::TqvxDialogControl(TComponent *owner)
    : TqvxReportComponent(owner)
{
}

TqvxDialogControl::~TqvxDialogControl() = default;

void TqvxDialogControl::AfterConstruction()
{
    TqvxReportComponent::AfterConstruction();
    QString name = ClassName();
    name.remove(QLatin1String("Tqvx"));
    name.remove(QLatin1String("Control"));
    SetBaseName(name);
}

void TqvxDialogControl::InitControl(TControl *control)
{
    m_control.reset(control);
    applyBounds();
    m_control->SetFont(Font());
    m_control->SetParentFont(ParentFont());
    m_control->SetVisible(Visible());
    placeControl();
}

void TqvxDialogControl::placeControl()
{
    if (!m_control)
        return;
    TWinControl *parent = nullptr;
    if (auto *parentControl = qobject_cast<TqvxDialogControl *>(Parent()))
        parent = qobject_cast<TWinControl *>(parentControl->Control());
    else if (auto *host = dynamic_cast<TqvxDialogFormHost *>(Parent()))
        parent = host->DialogForm();
    m_control->SetParent(parent ? parent : qvxParentForm());
}

void TqvxDialogControl::applyBounds()
{
    if (m_control)
        m_control->SetBounds(qvxRoundToPixel(Left()), qvxRoundToPixel(Top()), qvxRoundToPixel(Width()),
                             qvxRoundToPixel(Height()));
}

void TqvxDialogControl::SetLeft(double value)
{
    TqvxReportComponent::SetLeft(value);
    applyBounds();
}

void TqvxDialogControl::SetTop(double value)
{
    TqvxReportComponent::SetTop(value);
    applyBounds();
}

void TqvxDialogControl::SetWidth(double value)
{
    TqvxReportComponent::SetWidth(value);
    applyBounds();
}

void TqvxDialogControl::SetHeight(double value)
{
    TqvxReportComponent::SetHeight(value);
    applyBounds();
}

void TqvxDialogControl::SetVisible(bool value)
{
    TqvxReportComponent::SetVisible(value);
    if (m_control)
        m_control->SetVisible(value);
}

void TqvxDialogControl::SetParentFont(bool value)
{
    TqvxReportComponent::SetParentFont(value);
    if (m_control)
        m_control->SetParentFont(value);
}

void TqvxDialogControl::FontChanged()
{
    TqvxReportComponent::FontChanged();
    if (m_control)
        m_control->SetFont(Font());
}

bool TqvxDialogControl::Enabled() const
{
    return !m_control || m_control->Enabled();
}

void TqvxDialogControl::SetEnabled(bool value)
{
    if (m_control)
        m_control->SetEnabled(value);
}

QString TqvxDialogControl::Hint() const
{
    return m_control ? m_control->Hint() : QString();
}

void TqvxDialogControl::SetHint(const QString &value)
{
    if (m_control)
        m_control->SetHint(value);
}

bool TqvxDialogControl::ShowHint() const
{
    return m_control && m_control->ShowHint();
}

void TqvxDialogControl::SetShowHint(bool value)
{
    if (m_control)
        m_control->SetShowHint(value);
}

QString TqvxDialogControl::Caption() const
{
    return m_control ? m_control->Caption() : QString();
}

void TqvxDialogControl::SetCaption(const QString &value)
{
    if (m_control)
        m_control->SetCaption(value);
}

void TqvxDialogControl::SetParent(TqvxComponent *value)
{
    TqvxReportComponent::SetParent(value);
    placeControl();
}

void TqvxDialogControl::SetName(const QString &name)
{
    const bool captionFollows = m_control && m_control->ControlStyle().testFlag(csSetCaption) && !IsLoading() &&
                                m_control->Caption() == Name();
    TqvxReportComponent::SetName(name);
    if (captionFollows)
        m_control->SetCaption(Name());
}

void TqvxDialogControl::Draw(TCanvas *canvas, double, double, double, double)
{
    if (!m_control)
        return;
    TBitmap bitmap;
    bitmap.SetSize(m_control->Width() + 1, m_control->Height() + 1);
    TCanvas *image = bitmap.Canvas();
    image->Brush()->SetStyle(bsSolid);
    image->Brush()->SetColor(clBtnFace);
    image->FillRect(TRect(0, 0, bitmap.Width(), bitmap.Height()));
    m_control->PaintTo(image, 0, 0);
    image->ReleaseHandle();
    canvas->Draw(qvxRoundToPixel(GetAbsLeft()), qvxRoundToPixel(GetAbsTop()), &bitmap);
}

void InitializeQvxDialogControl()
{
    DescribeProperties<TqvxDialogControl>()
        .Default("GroupIndex", 0)
        .Default("ParentFont", true)
        .Default("Enabled", true)
        .Default("ShowHint", false)
        .Default("Visible", true)
        .Stored("Font", &TqvxComponent::IsFontStored);
}
