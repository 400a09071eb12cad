#include "report/components/qvxReportComponent.h"

#include "report/components/qvxView.h"

TqvxReportComponent::TqvxReportComponent(TComponent *owner)
    : TqvxComponent(owner)
{
}

void TqvxReportComponent::BeforePrint()
{
    m_savedLeft = Left();
    m_savedTop = Top();
    m_savedWidth = Width();
    m_savedHeight = Height();
}

void TqvxReportComponent::GetData()
{
}

void TqvxReportComponent::AfterPrint()
{
    SetBounds(m_savedLeft, m_savedTop, m_savedWidth, m_savedHeight);
}

QString TqvxReportComponent::GetComponentText()
{
    return QString();
}

TqvxRect TqvxReportComponent::GetBoundsRect()
{
    const double left = GetAbsLeft();
    const double top = GetAbsTop();
    return {left, top, left + Width(), top + Height()};
}

QList<TqvxView *> TqvxReportComponent::ShiftList() const
{
    QList<TqvxView *> views;
    for (const TGuardedRef<TqvxView> &view : m_shifts)
        if (view)
            views.append(view);
    return views;
}

void TqvxReportComponent::AddShift(TqvxView *view)
{
    m_shifts.emplace_back(this) = view;
}
