#pragma once

// Where a click on a view in the preview leads: a URL, an anchor, a page,
// a detail report or page, or a custom action.  Value (or the result of
// Expression, evaluated while the report is prepared) says where.

#include "report/base/qvxViewTypes.h"
#include "toolkit/classes/TPersistent.h"

#include <QString>

class TqvxHyperlink : public TPersistent
{
    Q_OBJECT
    Q_PROPERTY(ViewTypes::TqvxHyperlinkKind Kind READ Kind WRITE SetKind)
    Q_PROPERTY(QString DetailReport READ DetailReport WRITE SetDetailReport)
    Q_PROPERTY(QString DetailPage READ DetailPage WRITE SetDetailPage)
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
    Q_PROPERTY(QString ReportVariable READ ReportVariable WRITE SetReportVariable)
    Q_PROPERTY(QString Value READ Value WRITE SetValue)
    Q_PROPERTY(QString ValuesSeparator READ ValuesSeparator WRITE SetValuesSeparator)
    Q_PROPERTY(QString TabCaption READ TabCaption WRITE SetTabCaption)

public:
    TqvxHyperlinkKind Kind() const { return m_kind; }
    void SetKind(TqvxHyperlinkKind value) { m_kind = value; }
    QString DetailReport() const { return m_detailReport; }
    void SetDetailReport(const QString &value) { m_detailReport = value; }
    QString DetailPage() const { return m_detailPage; }
    void SetDetailPage(const QString &value) { m_detailPage = value; }
    QString Expression() const { return m_expression; }
    void SetExpression(const QString &value) { m_expression = value; }
    QString ReportVariable() const { return m_reportVariable; }
    void SetReportVariable(const QString &value) { m_reportVariable = value; }
    QString Value() const { return m_value; }
    void SetValue(const QString &value) { m_value = value; }
    // ";" unless set otherwise; stored only then.
    QString ValuesSeparator() const { return m_valuesSeparator; }
    void SetValuesSeparator(const QString &value) { m_valuesSeparator = value; }
    bool IsValuesSeparatorStored() const { return m_valuesSeparator != QLatin1String(";"); }
    QString TabCaption() const { return m_tabCaption; }
    void SetTabCaption(const QString &value) { m_tabCaption = value; }

    void Assign(const TPersistent *source) override;

    // The attributes that differ from other, named prefix + "." +
    // property; Expression is not written.
    QString Diff(const TqvxHyperlink *other, const QString &prefix = QStringLiteral("Hyperlink")) const;

private:
    TqvxHyperlinkKind m_kind = hkURL;
    QString m_detailReport;
    QString m_detailPage;
    QString m_expression;
    QString m_reportVariable;
    QString m_value;
    QString m_valuesSeparator = QStringLiteral(";");
    QString m_tabCaption;
};

// A text as a string literal of a script language: PascalScript doubles
// single quotes; C++Script and JScript escape backslashes and double
// quotes; BasicScript doubles double quotes.
QString qvxScriptStringLiteral(const QString &text, const QString &language);

// Declares what hyperlinks publish.
void InitializeQvxHyperlink();
