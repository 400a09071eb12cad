#include "app/QuestionnaireTemplate.h"

#include "report/report/qvxReport.h"
#include "report/xml/qvxXMLEscape.h"
#include "report/xml/qvxXMLItem.h"
#include "report/model/qvxXMLSerializer.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/core/Exceptions.h"

#include <QFile>
#include <QScopeGuard>

// The resource lives in a static library: it is registered on first use.
static void initQuestionnaireResource()
{
    Q_INIT_RESOURCE(QuestionnaireReport);
}

namespace {

void readHostData(TqvxReport *report, TComponent *host, TqvxXMLItem *data)
{
    TqvxXMLSerializer *serializer = report->CurrentSerializer();
    for (int i = 0; i < data->Count(); ++i) {
        TqvxXMLItem *item = data->Items(i);
        const QString name = item->GetProp(QStringLiteral("Name"));
        TComponent *component = host->FindComponent(name);
        if (!component || component->ClassName() != item->Name()) {
            report->Errors()->Add(QStringLiteral("The template's %1 \"%2\" is not a component of the window")
                                      .arg(item->Name(), name));
            continue;
        }
        serializer->XMLToObj(item->Text(), component);
    }
}

} // namespace

void LoadQuestionnaireTemplate(TqvxReport *report, TComponent *host)
{
    initQuestionnaireResource();
    QFile file(QStringLiteral(":/app/QuestionnaireReport.xml"));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("The questionnaire's report template is missing"));
    TMemoryStream stream;
    stream.WriteBuffer(file.readAll());
    stream.SetPosition(0);
    LoadQuestionnaireTemplate(report, host, &stream);
}

void LoadQuestionnaireTemplate(TqvxReport *report, TComponent *host, TStream *stream)
{
    const TqvxCustomDataEvent previous = report->OnGetCustomData();
    const auto restore = qScopeGuard([&] { report->SetOnGetCustomData(previous); });
    report->SetOnGetCustomData([report, host](TqvxXMLItem *data) { readHostData(report, host, data); });
    report->LoadFromStream(stream);
}

void SaveQuestionnaireTemplate(TqvxReport *report, const QList<TComponent *> &hostComponents, TStream *stream)
{
    const TqvxCustomDataEvent previous = report->OnSaveCustomData();
    const auto restore = qScopeGuard([&] { report->SetOnSaveCustomData(previous); });
    report->SetOnSaveCustomData([report, hostComponents](TqvxXMLItem *data) {
        for (TComponent *component : hostComponents) {
            TqvxXMLItem *item = data->Add();
            item->SetName(component->ClassName());
            item->SetText(report->CurrentSerializer()->ObjToXML(component).trimmed());
            // A report component leaves its name to its element; others
            // publish it with their properties.
            if (item->GetProp(QStringLiteral("Name")).isEmpty())
                item->SetText(QStringLiteral("Name=\"") + qvxXMLEncode(component->Name()) + QStringLiteral("\" ")
                              + item->Text());
        }
    });
    report->SaveToStream(stream);
}
