#include "EngineTestReport.h"

#include "engine/qvxEngine.h"
#include "report/ReportTestClasses.h"
#include "report/base/TWideStrings.h"
#include "report/data/qvxReportDataSets.h"
#include "report/model/qvxServices.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/TStrings.h"

TEngineServicesScope::TEngineServicesScope() : m_saved(qvxServices())
{
    TqvxServices services;
    services.NewEngine = [](TqvxReportLink *report) -> TqvxCustomEngine * { return new TqvxEngine(report); };
    services.NewPreviewPages = [](TqvxReportLink *report) -> TqvxCustomPreviewPages * {
        return new TqvxPreviewPages(report);
    };
    qvxInstallServices(services);
}

TEngineServicesScope::~TEngineServicesScope()
{
    qvxRemoveServices();
    qvxInstallServices(m_saved);
}

TMemoryDataSet::TMemoryDataSet(TComponent *owner) : TqvxUserDataSet(owner)
{
    SetRangeEnd(reCount);
    SetOnGetValue([this](const QString &field, Variant &value) {
        if (RecNo() >= 0 && RecNo() < rows.size())
            value = rows.at(RecNo()).value(field, Variant::Null());
    });
}

void TMemoryDataSet::SetRows(const QList<QHash<QString, Variant>> &values)
{
    rows = values;
    SetRangeEndCount(int(rows.size()));
}

void TMemoryDataSet::First()
{
    if (rowsOnFirst)
        SetRows(rowsOnFirst());
    TqvxUserDataSet::First();
}

double TProbeView::DrawPart()
{
    partLines = std::min(int((Height() + 1e-9) / line), m_remaining);
    m_remaining -= partLines;
    return partLines > 0 ? Height() - partLines * line : Height();
}

TEngineTestReport::TEngineTestReport()
{
    RegisterReportTestClasses();
    RegisterClass<TProbeView>();
    report = std::make_unique<TqvxReport>();
    report->SetName(QStringLiteral("Report1"));
    report->EngineOptions()->SetNewSilentMode(simSilent);
    // The test keeps pointers to the template's objects across runs.
    report->EngineOptions()->SetDestroyForms(false);
    page = new TqvxReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetPaperSize(9);
    page->SetLeftMargin(10);
    page->SetRightMargin(10);
    page->SetTopMargin(10);
    page->SetBottomMargin(10);
}

TEngineTestReport::~TEngineTestReport()
{
    report.reset();
}

TqvxMemoView *TEngineTestReport::memo(TqvxComponent *parent, const char *name, const QString &text, double left,
                                      double top, double width, double height)
{
    auto *result = new TqvxMemoView(parent);
    result->SetName(QString::fromLatin1(name));
    result->SetBounds(left, top, width, height);
    result->SetText(text);
    return result;
}

TProbeView *TEngineTestReport::probe(TqvxComponent *parent, const char *name, double top, double height,
                                     double content, TqvxStretchMode mode, double left, double width)
{
    auto *result = new TProbeView(parent);
    result->SetName(QString::fromLatin1(name));
    result->SetBounds(left, top, width, height);
    result->content = content;
    result->SetStretchMode(mode);
    return result;
}

TMemoryDataSet *TEngineTestReport::dataSet(const char *name, int count)
{
    QList<QHash<QString, Variant>> rows;
    for (int i = 1; i <= count; ++i)
        rows.append({{QStringLiteral("N"), Variant(i)}});
    return dataSet(name, rows);
}

TMemoryDataSet *TEngineTestReport::dataSet(const char *name, const QList<QHash<QString, Variant>> &rows)
{
    auto owned = std::make_unique<TMemoryDataSet>();
    TMemoryDataSet *result = owned.get();
    result->SetName(QString::fromLatin1(name));
    result->SetUserName(QString::fromLatin1(name));
    result->SetRows(rows);
    report->DataSets()->Add()->SetDataSet(result);
    dataSets.push_back(std::move(owned));
    return result;
}

TqvxPreviewPages *TEngineTestReport::store() const
{
    return static_cast<TqvxPreviewPages *>(report->PreviewPages());
}

bool TEngineTestReport::prepare()
{
    return report->PrepareReport();
}

QStringList TEngineTestReport::errors() const
{
    QStringList lines;
    for (int i = 0; i < report->Errors()->Count(); ++i)
        lines.append(report->Errors()->Strings(i));
    return lines;
}

int TEngineTestReport::pageCount() const
{
    return store()->Count();
}

namespace {

QString memoText(const TqvxComponent *object)
{
    const TWideStrings *text = object->MemoText();
    return text ? text->GetText().replace(QLatin1String("\r\n"), QLatin1String("\n")).trimmed() : QString();
}

} // namespace

QStringList TEngineTestReport::bandList(int index) const
{
    QStringList lines;
    TqvxComponent *preparedPage = store()->GetPageObject(index);
    if (!preparedPage)
        return lines;
    for (TqvxComponent *object : preparedPage->Objects()) {
        QString line = object->Name() + QLatin1Char(' ') + QString::number(object->Top());
        QStringList texts;
        const auto *band = qobject_cast<TqvxBand *>(object);
        for (TqvxComponent *child : object->Objects())
            if (child->MemoText() && !(band && child == band->FillMemo()))
                texts.append(memoText(child));
        if (!texts.isEmpty())
            line += QLatin1String(": ") + texts.join(QLatin1String(" | "));
        lines.append(line);
    }
    return lines;
}

double TEngineTestReport::bandTop(int index, const QString &name) const
{
    TqvxComponent *preparedPage = store()->GetPageObject(index);
    if (!preparedPage)
        return -1;
    for (TqvxComponent *object : preparedPage->Objects())
        if (object->Name() == name)
            return object->Top();
    return -1;
}

QStringList TEngineTestReport::texts(int index) const
{
    QStringList result;
    TqvxComponent *preparedPage = store()->GetPageObject(index);
    if (!preparedPage)
        return result;
    for (TqvxComponent *object : preparedPage->GetAllObjects())
        if (object->MemoText())
            result.append(memoText(object));
    return result;
}
