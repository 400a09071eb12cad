#include "report/components/qvxHyperlink.h"

#include "report/model/qvxDiffText.h"
#include "report/xml/qvxXMLEscape.h"
#include "toolkit/classes/PropertyDeclarations.h"

void TqvxHyperlink::Assign(const TPersistent *source)
{
    const auto *link = qobject_cast<const TqvxHyperlink *>(source);
    if (!link) {
        TPersistent::Assign(source);
        return;
    }
    m_kind = link->m_kind;
    m_detailReport = link->m_detailReport;
    m_detailPage = link->m_detailPage;
    m_expression = link->m_expression;
    m_reportVariable = link->m_reportVariable;
    m_value = link->m_value;
    m_valuesSeparator = link->m_valuesSeparator;
    m_tabCaption = link->m_tabCaption;
}

QString TqvxHyperlink::Diff(const TqvxHyperlink *other, const QString &prefix) const
{
    TqvxDiffText diff(QString(), prefix);
    if (m_kind != other->m_kind)
        diff.Number(u"Kind", m_kind);
    const struct {
        QStringView name;
        const QString &value;
        const QString &otherValue;
    } texts[] = {{u"DetailReport", m_detailReport, other->m_detailReport},
                 {u"DetailPage", m_detailPage, other->m_detailPage},
                 {u"ReportVariable", m_reportVariable, other->m_reportVariable},
                 {u"TabCaption", m_tabCaption, other->m_tabCaption},
                 {u"Value", m_value, other->m_value},
                 {u"ValuesSeparator", m_valuesSeparator, other->m_valuesSeparator}};
    for (const auto &[name, value, otherValue] : texts)
        if (value != otherValue)
            diff.Text(name, value);
    return std::move(diff).Result();
}

QString qvxScriptStringLiteral(const QString &text, const QString &language)
{
    if (language.compare(QLatin1String("PascalScript"), Qt::CaseInsensitive) == 0) {
        QString quoted = text;
        return QLatin1Char('\'') + quoted.replace(QLatin1Char('\''), QStringLiteral("''")) + QLatin1Char('\'');
    }
    QString quoted = text;
    if (language.compare(QLatin1String("BasicScript"), Qt::CaseInsensitive) == 0)
        return QLatin1Char('"') + quoted.replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
    quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

void InitializeQvxHyperlink()
{
    DescribeProperties<TqvxHyperlink>()
        .Default("Kind", hkURL)
        .Stored("ValuesSeparator", &TqvxHyperlink::IsValuesSeparatorStored);
}
