// Runs one report through the library as the program does and writes the
// PDF file, for comparing what two builds make of the same reports
// (scripts/compare-builds).
//
//   report_to_pdf [--lines FILE] REPORT.xml OUT.pdf
//   report_to_pdf [--lines FILE] --questionnaire FILLING.json OUT.pdf
//
// The first form loads a report file.  The second loads the questionnaire's
// own template and fills it as the main window does: FILLING holds the
// values of the window's variables ("variables": {name: text}), the rows of
// the two choice grids ("characteristics", "accessories": [[parameter,
// value], ...]) and the lines of the composition ("composition": [...]).
// With --lines, the lines each memo of the prepared pages draws on a canvas
// are written to FILE: a line "page P memo NAME" before each memo, then one
// line per drawn line of text.  The exit status is 0 when the report was
// prepared and exported, else 1 with the reason on stderr.

#include "app/AppUnits.h"
#include "app/QuestionnaireTemplate.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/data/qvxUserDataSet.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxVariables.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/Units.h"
#include "toolkit/graphics/RecordingCanvas.h"
#include "toolkit/widgets/ModalRunner.h"

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace {

// Nobody answers: a message goes to stderr, every other dialog is
// cancelled.
class QuietRunner : public ModalRunner
{
public:
    int RunForm(TCustomForm &) override { return mrCancel; }
    int MessageBox(const TMessageBoxRequest &request) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(request.Text));
        return mrCancel;
    }
    bool InputQuery(TInputRequest &) override { return false; }
    bool FileDialog(TFileDialogRequest &) override { return false; }
    bool ColorDialog(TColor &) override { return false; }
    bool FontDialog(TFontData &) override { return false; }
    bool PrintDialog(TPrintRequest &) override { return false; }
};

struct Filling {
    QMap<QString, QString> variables;
    QList<QStringList> grids[2];
    QStringList composition;
};

Filling readFilling(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("cannot read %1").arg(fileName));
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll(), &error).object();
    if (error.error != QJsonParseError::NoError)
        throw Exception(QStringLiteral("%1: %2").arg(fileName, error.errorString()));
    Filling filling;
    const QJsonObject variables = root.value(QStringLiteral("variables")).toObject();
    for (auto it = variables.begin(); it != variables.end(); ++it)
        filling.variables.insert(it.key(), it.value().toString());
    const char *grids[2] = {"characteristics", "accessories"};
    for (int grid = 0; grid < 2; ++grid)
        for (const QJsonValue &row : root.value(QLatin1String(grids[grid])).toArray())
            filling.grids[grid].append({row.toArray().at(0).toString(), row.toArray().at(1).toString()});
    for (const QJsonValue &line : root.value(QStringLiteral("composition")).toArray())
        filling.composition.append(line.toString());
    return filling;
}

// The questionnaire's template in a report on a host that holds its data
// sets, as the main window holds them, filled as the window fills it
// before saving.
class Questionnaire
{
public:
    explicit Questionnaire(const QString &fillingFile) : m_filling(readFilling(fillingFile))
    {
        for (int grid = 0; grid < 2; ++grid)
            m_grids[grid] = dataSet(QStringLiteral("qvxUserDataSet%1").arg(grid + 1), [this, grid](const QString &field, Variant &value) {
                const QStringList row = m_filling.grids[grid].value(m_grids[grid]->RecNo());
                value = row.value(field == QLatin1String("Param") ? 0 : 1);
            });
        m_composition = dataSet(QStringLiteral("qvxUserDataSet3"), [this](const QString &, Variant &value) {
            value = m_filling.composition.value(m_composition->RecNo());
        });
        auto *pdf = NewObject<TqvxPDFExport>(&m_host);
        pdf->SetName(QStringLiteral("qvxPDFExport1"));
        m_report = NewObject<TqvxReport>(&m_host);
        m_report->SetName(QStringLiteral("qvxReport1"));
        TqvxReport &report = *m_report;
        LoadQuestionnaireTemplate(&report, &m_host);
        for (int grid = 0; grid < 2; ++grid)
            m_grids[grid]->SetRangeEndCount(int(m_filling.grids[grid].size()));
        m_composition->SetRangeEndCount(std::max(1, int(m_filling.composition.size())));
        for (auto it = m_filling.variables.cbegin(); it != m_filling.variables.cend(); ++it)
            report.Variables()->SetVariable(it.key(), it.value());
        report.OnGetValue = [this](const QString &name, Variant &value) {
            const auto it = m_filling.variables.constFind(name);
            if (it != m_filling.variables.cend())
                value = *it;
        };
    }

    TqvxReport &Report() { return *m_report; }

private:
    template <typename Handler>
    TqvxUserDataSet *dataSet(const QString &name, Handler handler)
    {
        auto *set = NewObject<TqvxUserDataSet>(&m_host);
        set->SetName(name);
        set->SetOnGetValue(handler);
        return set;
    }

    Filling m_filling;
    TComponent m_host;
    TqvxUserDataSet *m_grids[2] = {};
    TqvxUserDataSet *m_composition = nullptr;
    TqvxReport *m_report = nullptr;
};

// The lines each memo of the prepared pages draws: its texts drawn at one
// height make one line.
void writeLines(TqvxReport &report, const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw Exception(QStringLiteral("cannot write %1").arg(fileName));
    QTextStream out(&file);
    TqvxCustomPreviewPages *pages = report.PreviewPages();
    for (int index = 0; index < pages->Count(); ++index) {
        TqvxReportPage *page = pages->GetPage(index);
        for (TqvxComponent *object : page->GetAllObjects()) {
            auto *memo = qobject_cast<TqvxMemoView *>(object);
            if (!memo)
                continue;
            TRecordingCanvas canvas;
            memo->Draw(&canvas, 1, 1, 0, 0);
            out << "page " << index + 1 << " memo " << memo->Name() << '\n';
            QString line;
            int top = 0;
            bool open = false;
            for (const TCanvasRecord &record : canvas.TextRecords()) {
                if (open && record.Bounds.Top != top) {
                    out << "  " << line << '\n';
                    line.clear();
                }
                line += record.Text;
                top = record.Bounds.Top;
                open = true;
            }
            if (open)
                out << "  " << line << '\n';
        }
    }
}

int run(const QStringList &arguments)
{
    QStringList args = arguments;
    QString linesFile;
    bool questionnaire = false;
    while (!args.isEmpty() && args.front().startsWith(QLatin1String("--"))) {
        const QString option = args.takeFirst();
        if (option == QLatin1String("--lines") && !args.isEmpty())
            linesFile = args.takeFirst();
        else if (option == QLatin1String("--questionnaire"))
            questionnaire = true;
        else
            args.clear();
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: report_to_pdf [--lines FILE] [--questionnaire] INPUT OUT.pdf\n");
        return 2;
    }
    std::unique_ptr<TqvxReport> own;
    std::unique_ptr<Questionnaire> filled;
    if (questionnaire) {
        filled = std::make_unique<Questionnaire>(args[0]);
    } else {
        own.reset(NewObject<TqvxReport>());
        own->SetName(QStringLiteral("Report1"));
        own->LoadFromFile(args[0], true);
    }
    TqvxReport &report = filled ? filled->Report() : *own;
    report.SetShowProgress(false);
    if (!report.PrepareReport(true)) {
        std::fprintf(stderr, "%s: the report was not prepared\n", qPrintable(args[0]));
        return 1;
    }
    const std::unique_ptr<TqvxPDFExport> pdf(NewObject<TqvxPDFExport>());
    pdf->SetShowDialog(false);
    pdf->SetShowProgress(false);
    pdf->SetFileName(args[1]);
    if (!report.Export(pdf.get())) {
        std::fprintf(stderr, "%s: the export failed\n", qPrintable(args[0]));
        return 1;
    }
    if (!linesFile.isEmpty())
        writeLines(report, linesFile);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    RegisterAppUnits();
    Units::InitializeAll();
    QuietRunner runner;
    ModalRunner::Install(&runner);
    int status = 1;
    try {
        status = run(application.arguments().mid(1));
    } catch (const Exception &error) {
        std::fprintf(stderr, "%s\n", qPrintable(error.Message()));
    }
    ModalRunner::Install(nullptr);
    Units::FinalizeAll();
    return status;
}
