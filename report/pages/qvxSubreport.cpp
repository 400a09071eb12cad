#include "report/pages/qvxSubreport.h"

#include "report/model/qvxResources.h"
#include "toolkit/graphics/Canvas.h"

TqvxSubreport::TqvxSubreport(TComponent *owner)
    : TqvxView(owner)
{
}

QString TqvxSubreport::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obSubRep"));
}

void TqvxSubreport::SetPage(TqvxReportPage *value)
{
    if (TqvxReportPage *previous = m_page; previous && previous->SubReport() == this)
        previous->SetSubReport(nullptr);
    m_page = value;
    if (value)
        value->SetSubReport(this);
}

void TqvxSubreport::Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    TqvxView::Draw(canvas, scaleX, scaleY, offsetX, offsetY);
    canvas->Font()->Assign(Font());
    canvas->Brush()->SetStyle(bsClear);
    canvas->TextOut(X() + 2, Y() + 2, Name());
}
