#include "report/views/qvxChBox.h"

#include "report/base/qvxNumbers.h"
#include "report/data/qvxDataSet.h"
#include "report/base/qvxGraphicUtils.h"
#include "report/model/qvxRegistries.h"
#include "report/model/qvxReportContext.h"
#include "report/model/qvxResources.h"
#include "toolkit/classes/PropertyDeclarations.h"
#include "toolkit/core/Variants.h"
#include "toolkit/graphics/Canvas.h"

#include <algorithm>

TqvxCheckBoxView::TqvxCheckBoxView(TComponent *owner)
    : TqvxView(owner)
{
    SetWidth(5 * qv01cm);
    SetHeight(5 * qv01cm);
}

QString TqvxCheckBoxView::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obChBox"));
}

void TqvxCheckBoxView::drawLine(int x, int y, int x1, int y1, int width)
{
    qvxDrawThickLine(Canvas(), x, y, x1, y1, width);
}

// The two diagonals, `inset` pixels in from the box's corners.
void TqvxCheckBoxView::drawCross(int inset)
{
    const int width = inset > 0 ? std::max(1, DX() / 8) : std::max(1, FrameWidth());
    drawLine(X() + inset, Y() + inset, X1() - inset, Y1() - inset, width);
    drawLine(X1() - inset, Y() + inset, X() + inset, Y1() - inset, width);
}

void TqvxCheckBoxView::drawCheck()
{
    const int width = std::max(1, DX() / 8);
    const int footX = X() + qvxRound(DX() * 0.4);
    const int footY = Y() + qvxRound(DY() * 0.8);
    drawLine(X() + qvxRound(DX() * 0.2), Y() + qvxRound(DY() * 0.5), footX, footY, width);
    drawLine(footX, footY, X() + qvxRound(DX() * 0.8), Y() + qvxRound(DY() * 0.2), width);
}

void TqvxCheckBoxView::Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    BeginDraw(canvas, scaleX, scaleY, offsetX, offsetY);
    DrawBackground();
    {
        TqvxCanvasToolsScope tools(canvas);
        canvas->Pen()->SetColor(m_checkColor);
        canvas->Pen()->SetStyle(psSolid);
        canvas->Pen()->SetWidth(1);
        canvas->SaveClip();
        canvas->IntersectClipRect(TRect(X(), Y(), X1(), Y1()));
        const int glyphInset = qvxRound(DX() * 0.2);
        const int middleX = X() + DX() / 2;
        const int middleY = Y() + DY() / 2;
        const int lineWidth = std::max(1, FrameWidth());
        if (m_checked) {
            switch (m_checkStyle) {
            case csCross: drawCross(glyphInset); break;
            case csCheck: drawCheck(); break;
            case csLineCross: drawCross(0); break;
            case csPlus:
                drawLine(X() + 3, middleY, X1() - 2, middleY, lineWidth);
                drawLine(middleX, Y() + 3, middleX, Y1() - 2, lineWidth);
                break;
            }
        } else {
            switch (m_uncheckStyle) {
            case usEmpty: break;
            case usCross: drawCross(glyphInset); break;
            case usLineCross: drawCross(0); break;
            case usMinus: drawLine(X() + 3, middleY, X1() - 2, middleY, lineWidth); break;
            }
        }
        canvas->RestoreClip();
    }
    DrawFrame();
}

void TqvxCheckBoxView::GetData()
{
    TqvxView::GetData();
    if (auto *dataSet = qobject_cast<TqvxDataSet *>(DataSet()); dataSet && !DataField().isEmpty()) {
        const Variant value = dataSet->GetValue(DataField());
        m_checked = !VarIsNull(value) && value.AsBoolean();
        return;
    }
    if (m_expression.trimmed().isEmpty())
        return;
    if (TqvxReportContext *context = qvxReportContextOf(this)) {
        const Variant value = context->Calc(m_expression);
        m_checked = !VarIsNull(value) && value.AsBoolean();
    }
}

void InitializeQvxChBox()
{
    DescribeProperties<TqvxCheckBoxView>()
        .Default("BrushStyle", bsSolid)
        .Default("Checked", 1)
        .Default("CheckColor", clBlack)
        .TypeName("CheckColor", QStringLiteral("TColor"))
        .Default("CheckStyle", csCross)
        .Default("Color", clNone)
        .TypeName("Color", QStringLiteral("TColor"))
        .Default("UncheckStyle", usEmpty);
    qvxObjects()->RegisterObject<TqvxCheckBoxView>(nullptr, QString(), QString(), 0, 24);
}

void FinalizeQvxChBox()
{
    qvxObjects()->UnRegister(ClassOf<TqvxCheckBoxView>());
}
