#include "report/model/qvxCustomPreviewPages.h"

#include "report/model/qvxCustomOutline.h"

#include <QRegularExpression>

QString qvxTextWithoutTags(const QString &text)
{
    static const QRegularExpression tag(QStringLiteral("<[^<>]*>"));
    QString plain = text;
    return plain.remove(tag);
}

TqvxCustomPreviewPages::TqvxCustomPreviewPages(TqvxReportLink *report) : m_report(report)
{
}

TqvxCustomPreviewPages::~TqvxCustomPreviewPages() = default;

void TqvxCustomPreviewPages::SetOutline(std::unique_ptr<TqvxCustomOutline> outline)
{
    m_outline = std::move(outline);
}
