#include "report/pages/qvxBand.h"

#include "report/views/qvxCharGrid.h"
#include "report/base/qvxNumbers.h"
#include "report/pages/qvxPage.h"
#include "report/model/qvxResources.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/graphics/Colors.h"

void TqvxFillGap::Assign(const TPersistent *source)
{
    const auto *gap = qobject_cast<const TqvxFillGap *>(source);
    if (!gap) {
        TPersistent::Assign(source);
        return;
    }
    m_top = gap->m_top;
    m_left = gap->m_left;
    m_right = gap->m_right;
    m_bottom = gap->m_bottom;
}

TqvxBand::TqvxBand(TComponent *owner)
    : TqvxReportComponent(owner),
      m_fillGap(std::make_unique<TqvxFillGap>())
{
    AddKind(ckBand);
}

TqvxBand::~TqvxBand() = default;

QString TqvxBand::GetDescription() const
{
    return qvxResources()->Get(QStringLiteral("obBand"));
}

namespace {

bool onDotMatrixPage(const TqvxComponent *band)
{
    const auto *page = qobject_cast<const TqvxReportPage *>(band->Parent());
    return page && page->IsDotMatrix();
}

} // namespace

void TqvxBand::SetLeft(double value)
{
    TqvxReportComponent::SetLeft(onDotMatrixPage(this) ? qvxRoundToCell(value, qv1CharX) : value);
}

void TqvxBand::SetTop(double value)
{
    TqvxReportComponent::SetTop(onDotMatrixPage(this) ? qvxRoundToCell(value, qv1CharY) : value);
}

void TqvxBand::SetHeight(double value)
{
    TqvxReportComponent::SetHeight(onDotMatrixPage(this) ? qvxRoundToCell(value, qv1CharY) : value);
}

void TqvxBand::SetFillType(TqvxFillType value)
{
    if (value != m_fill.FillType())
        m_fill.SetFillType(value);
}

void TqvxBand::SetChild(TqvxBand *value)
{
    for (const TqvxBand *band = value; band; band = band->Child())
        if (band == this)
            throw Exception(qvxResources()->Get(QStringLiteral("clCirRefNotAllow")));
    m_child = value;
}

void TqvxBand::CreateFillMemo()
{
    if (IsKind(ckNullBand))
        return;
    if (const auto *brush = qobject_cast<const TqvxBrushFill *>(Fill())) {
        if (brush->BackColor() == clNone && brush->ForeColor() == clBlack && brush->Style() == bsSolid)
            return;
    }
    if (!m_fillMemo)
        m_fillMemo = NewObject<TqvxMemoView>(this);
    TqvxMemoView *memo = m_fillMemo;
    memo->SetParent(this);
    memo->SetFill(Fill());
    memo->SetBounds(m_fillGap->Left(), m_fillGap->Top(), Width() - m_fillGap->Left() - m_fillGap->Right(),
                    Height() - m_fillGap->Top() - m_fillGap->Bottom());
    memo->MoveToFront();
}

void TqvxBand::Draw(TCanvas *canvas, double scaleX, double scaleY, double offsetX, double offsetY)
{
    if (!IsDesigning())
        return;
    const int x = qvxRound(GetAbsLeft() * scaleX + offsetX);
    const int y = qvxRound(GetAbsTop() * scaleY + offsetY);
    const int x1 = qvxRound((GetAbsLeft() + Width()) * scaleX + offsetX);
    const int y1 = qvxRound((GetAbsTop() + Height()) * scaleY + offsetY);
    Fill()->Draw(canvas, x, y, x1, y1, scaleX, scaleY);
}
