#include "report/RecordingServices.h"
#include "report/ReportTestClasses.h"
#include "common/RecordingPreview.h"
#include "report/model/qvxCustomPreview.h"
#include "report/model/qvxCustomProgress.h"
#include "report/model/qvxServices.h"
#include "report/pages/qvxBands.h"
#include "report/report/qvxExportFilter.h"
#include "report/data/qvxUserDataSet.h"
#include "report/report/qvxExpressionCache.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/data/qvxReportDataSets.h"
#include "report/report/qvxReportOptions.h"
#include "report/model/qvxVariables.h"
#include "report/components/qvxView.h"
#include "script/zqScript.h"
#include "script/zqVariables.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// Stops the export at its first object; starting the export again from
// inside it must be refused.
class TStoppingFilter : public TqvxCustomExportFilter
{
public:
    using TqvxCustomExportFilter::TqvxCustomExportFilter;

    void ExportObject(TqvxComponent *) override
    {
        auto *report = static_cast<TqvxReport *>(Report());
        reentered = report->Export(this);
        report->SetTerminated(stop);
    }

    bool stop = true;
    bool reentered = true;
};

class ReportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterReportTestClasses();
        report = std::make_unique<TqvxReport>();
        report->SetName(QStringLiteral("Report1"));
        report->EngineOptions()->SetNewSilentMode(simSilent);
    }
    void TearDown() override { report.reset(); }

    TRecordingEngine *engine() const { return static_cast<TRecordingEngine *>(report->Engine()); }
    TTestMemo *addMemo(const QString &name, const QString &text)
    {
        auto *memo = new TTestMemo(report.get());
        memo->SetParent(report.get());
        memo->SetName(name);
        memo->Memo()->SetText(text);
        return memo;
    }
    void setVariable(const QString &name, const Variant &value) { report->Variables()->SetVariable(name, value); }
    void setScript(const QString &text) { report->ScriptText()->SetText(text); }

    TRecordingServicesScope services;
    std::unique_ptr<TqvxReport> report;
};

TEST_F(ReportTest, BuiltinNamesComeFromTheEngineAndThePages)
{
    engine()->SetStartDate(46000);
    engine()->SetStartTime(0.5);
    engine()->SetTotalPages(7);
    engine()->SetCurLine(3);
    engine()->SetCurLineThrough(12);
    report->PreviewPages()->SetCurPage(4);
    qvxGlobalVariables()->SetVariable(QStringLiteral("CopyName0"), QStringLiteral("Копия"));
    EXPECT_EQ(report->Calc(QStringLiteral("Date")).AsDouble(), 46000.0);
    EXPECT_EQ(report->Calc(QStringLiteral("time")).AsDouble(), 0.5);
    EXPECT_EQ(report->Calc(QStringLiteral("Page")).AsInteger(), 1);
    EXPECT_EQ(report->Calc(QStringLiteral("Page#")).AsInteger(), 5);
    EXPECT_EQ(report->Calc(QStringLiteral("TotalPages")).AsInteger(), 0);
    EXPECT_EQ(report->Calc(QStringLiteral("TotalPages#")).AsInteger(), 7);
    EXPECT_EQ(report->Calc(QStringLiteral("Line")).AsInteger(), 3);
    EXPECT_EQ(report->Calc(QStringLiteral("Line#")).AsInteger(), 12);
    EXPECT_EQ(report->Calc(QStringLiteral("CopyName#")).AsString(), QStringLiteral("Копия"));
    qvxGlobalVariables()->Clear();
    // A built-in name wins over a variable of the same name.
    setVariable(QStringLiteral("Line"), QStringLiteral("99"));
    EXPECT_EQ(report->Calc(QStringLiteral("Line")).AsInteger(), 3);
}

TEST_F(ReportTest, NamesResolveInOrderEventsVariablesGlobalsScript)
{
    ASSERT_TRUE(report->PrepareScript());
    report->SetScriptValue(5);
    EXPECT_EQ(report->Calc(QStringLiteral("Value")).AsInteger(), 5);
    TTestMemo *memo = addMemo(QStringLiteral("Memo1"), QString());
    report->SetScriptSelf(memo);
    EXPECT_EQ(report->Calc(QStringLiteral("Self")).AsInteger(), memo->Handle());
    report->Script()->SetVariable(QStringLiteral("Shared"), QStringLiteral("script"));
    EXPECT_EQ(report->Calc(QStringLiteral("Shared")).AsString(), QStringLiteral("script"));
    qvxGlobalVariables()->SetVariable(QStringLiteral("Shared"), QStringLiteral("global"));
    EXPECT_EQ(report->Calc(QStringLiteral("Shared")).AsString(), QStringLiteral("global"));
    setVariable(QStringLiteral("Shared"), QStringLiteral("'variable'"));
    EXPECT_EQ(report->Calc(QStringLiteral("Shared")).AsString(), QStringLiteral("variable"));
    report->OnGetValue = [](const QString &name, Variant &value) {
        if (name == QLatin1String("Shared"))
            value = QStringLiteral("event");
    };
    EXPECT_EQ(report->Calc(QStringLiteral("Shared")).AsString(), QStringLiteral("event"));
    qvxGlobalVariables()->Clear();
}

TEST_F(ReportTest, VariablesHoldExpressionsTextsAndEmptyStrings)
{
    setVariable(QStringLiteral("Quoted"), QStringLiteral("'ABC'"));
    setVariable(QStringLiteral("Lines"), QStringLiteral("ABC\r\nDEF"));
    setVariable(QStringLiteral("Total"), QStringLiteral("1 + 2"));
    setVariable(QStringLiteral("Empty"), QString());
    setVariable(QStringLiteral("Number"), 5);
    ASSERT_TRUE(report->PrepareScript());
    EXPECT_EQ(report->Calc(QStringLiteral("Quoted")).AsString(), QStringLiteral("ABC"));
    EXPECT_EQ(report->Calc(QStringLiteral("Lines")).AsString(), QStringLiteral("ABC\r\nDEF"));
    EXPECT_EQ(report->Calc(QStringLiteral("Total")).AsInteger(), 3);
    EXPECT_EQ(report->Calc(QStringLiteral("Empty")).AsString(), QString());
    EXPECT_EQ(report->Calc(QStringLiteral("Number")).AsInteger(), 5);
}

TEST_F(ReportTest, VariablesTakePartInLargerExpressionsInEveryLanguage)
{
    setVariable(QStringLiteral("Total"), QStringLiteral("1 + 2"));
    setVariable(QStringLiteral("Number"), 5);
    const QList<std::pair<const char *, const char *>> languages{
        {"PascalScript", "begin end."}, {"C++Script", "{}"}, {"BasicScript", ""}, {"JScript", ""}};
    for (const auto &[language, main] : languages) {
        report->SetScriptLanguage(QLatin1String(language));
        setScript(QLatin1String(main));
        // Variables hold expressions of the report's language.
        setVariable(QStringLiteral("Title"), QLatin1String(language) == QLatin1String("PascalScript")
                                                 ? QStringLiteral("'Sum'")
                                                 : QStringLiteral("\"Sum\""));
        ASSERT_TRUE(report->PrepareScript()) << language << report->Errors()->Text().toStdString();
        EXPECT_EQ(report->Calc(QStringLiteral("Total * Number")).AsInteger(), 15) << language;
        EXPECT_EQ(report->Calc(QStringLiteral("Title + Title")).AsString(), QStringLiteral("SumSum")) << language;
    }
    // The value is read at each evaluation, so a changed variable is seen by
    // the wrapper compiled before; a name nothing knows stays an error.
    report->SetScriptLanguage(QStringLiteral("PascalScript"));
    setScript(QStringLiteral("begin end."));
    ASSERT_TRUE(report->PrepareScript());
    EXPECT_EQ(report->Calc(QStringLiteral("Total * Number")).AsInteger(), 15);
    setVariable(QStringLiteral("Number"), 2);
    EXPECT_EQ(report->Calc(QStringLiteral("Total * Number")).AsInteger(), 6);
    EXPECT_THROW(report->Calc(QStringLiteral("Total * Unknown")), Exception);
}

TEST_F(ReportTest, AVariableCycleStopsWithAnErrorLine)
{
    setVariable(QStringLiteral("A"), QStringLiteral("B"));
    setVariable(QStringLiteral("B"), QStringLiteral("A"));
    setVariable(QStringLiteral("Self1"), QStringLiteral("Self1"));
    ASSERT_TRUE(report->PrepareScript());
    EXPECT_THROW(report->Calc(QStringLiteral("A")), Exception);
    EXPECT_THROW(report->Calc(QStringLiteral("Self1")), Exception);
    EXPECT_TRUE(report->Errors()->Text().contains(QStringLiteral("Циклические ссылки не допускаются: ")));
}

TEST_F(ReportTest, WrapperTextsPerLanguage)
{
    const QString e = QStringLiteral("A + 1");
    EXPECT_EQ(TqvxExpressionCache::WrapperText(QStringLiteral("PascalScript"), 0, e),
              QStringLiteral("function qv3f0: Variant; begin Result := A + 1 end; begin end."));
    EXPECT_EQ(TqvxExpressionCache::WrapperText(QStringLiteral("c++script"), 12, e),
              QStringLiteral("Variant qv3f12() { return A + 1; } {}"));
    EXPECT_EQ(TqvxExpressionCache::WrapperText(QStringLiteral("BasicScript"), 1, e),
              QStringLiteral("function qv3f1\r\nreturn A + 1\r\nend function"));
    EXPECT_EQ(TqvxExpressionCache::WrapperText(QStringLiteral("JScript"), 2, e),
              QStringLiteral("function qv3f2() { return A + 1; }"));
    EXPECT_EQ(TqvxExpressionCache::WrapperText(QStringLiteral("Lua"), 2, e), QString());
}

TEST_F(ReportTest, EachExpressionTextCompilesOnceUntilTheNextPreparation)
{
    for (const QString &language : {QStringLiteral("PascalScript"), QStringLiteral("C++Script"),
                                   QStringLiteral("BasicScript"), QStringLiteral("JScript")}) {
        ASSERT_TRUE(report->PrepareScript());
        report->ExpressionCache()->SetScriptLanguage(language);
        EXPECT_EQ(report->Calc(QStringLiteral("2 * 3")).AsInteger(), 6) << language.toStdString();
        EXPECT_EQ(report->Calc(QStringLiteral("2 * 3")).AsInteger(), 6);
        EXPECT_EQ(report->Calc(QStringLiteral("2 * 4")).AsInteger(), 8);
        EXPECT_EQ(report->ExpressionCache()->Count(), 2) << language.toStdString();
        EXPECT_NE(report->ExpressionCache()->Script()->FindLocal(QStringLiteral("qv3f1")), nullptr);
    }
}

TEST_F(ReportTest, ExpressionErrorsNameTheObjectAndJoinTheList)
{
    ASSERT_TRUE(report->PrepareScript());
    report->SetCurObject(QStringLiteral("Memo1"));
    try {
        report->Calc(QStringLiteral("1 +"));
        FAIL() << "a broken expression";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Ошибка в выражении '1 +': "))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().endsWith(QStringLiteral(": Memo1")));
        EXPECT_EQ(report->Errors()->Count(), 1);
    }
    EXPECT_EQ(report->ExpressionCache()->Count(), 0);
    try {
        report->CalcFromScript(QStringLiteral("1 +"));
        FAIL() << "a broken expression";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Error in Calc expression:Ошибка в выражении")));
    }
}

TEST_F(ReportTest, DivisionByZeroIsIgnoredOnlyWhenAsked)
{
    ASSERT_TRUE(report->PrepareScript());
    report->EngineOptions()->SetIgnoreDevByZero(true);
    EXPECT_TRUE(report->Calc(QStringLiteral("1 / 0")).IsNull());
    report->EngineOptions()->SetIgnoreDevByZero(false);
    EXPECT_THROW(report->Calc(QStringLiteral("1 / 0")), Exception);
}

TEST_F(ReportTest, DataSetFieldsOnlyInTheirExactForm)
{
    TqvxDataSet *dataSet = nullptr;
    QString field;
    report->GetDataSetAndField(QStringLiteral("DS.\"A\" + DS.\"B\""), dataSet, field);
    EXPECT_EQ(dataSet, nullptr);
    report->GetDataSetAndField(QStringLiteral("DS.\"F\" + 1"), dataSet, field);
    EXPECT_EQ(dataSet, nullptr);
    EXPECT_TRUE(field.isEmpty());
}

TEST_F(ReportTest, PrepareReportCollectsErrorsAndRefusesASecondRun)
{
    engine()->onRun = [&] {
        EXPECT_FALSE(report->PrepareReport());
        EXPECT_THROW(report->Clear(), EInvalidOperation);
        EXPECT_THROW(report->LoadFromFile(QStringLiteral("any.fr3")), EInvalidOperation);
        throw Exception(QStringLiteral("engine failed"));
    };
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(report->Errors()->Text(), QStringLiteral("engine failed\r\n"));
    report->EngineOptions()->SetNewSilentMode(simReThrow);
    try {
        report->PrepareReport();
        FAIL() << "simReThrow";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Были обнаружены следующие ошибки:")));
    }
    engine()->onRun = nullptr;
    report->EngineOptions()->SetNewSilentMode(simSilent);
    setScript(QStringLiteral("begin\n  x := \nend."));
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_TRUE(report->Errors()->Text().startsWith(QStringLiteral("Ошибка в скрипте ")));
}

TEST_F(ReportTest, MissingDataSetsStopThePreparation)
{
    report->DataSets()->Add()->SetDataSetName(QStringLiteral("Gone"));
    EXPECT_FALSE(report->PrepareReport());
    EXPECT_EQ(report->Errors()->Text(), QStringLiteral("Набор данных \"Gone\" не найден\r\n"));
    EXPECT_TRUE(engine()->calls.isEmpty());
}

TEST_F(ReportTest, SavesAndLoadsVariablesPasswordAndScript)
{
    addMemo(QStringLiteral("Memo1"), QStringLiteral("text"));
    setVariable(QStringLiteral("Org"), QString());
    setVariable(QStringLiteral("Sum"), QStringLiteral("1 + 2"));
    report->ReportOptions()->SetPassword(QStringLiteral("secret"));
    report->SetScriptLanguage(QStringLiteral("JScript"));
    setScript(QStringLiteral("var a = 1;"));
    TMemoryStream stream;
    report->SaveToStream(&stream);
    EXPECT_EQ(report->ReportOptions()->Password(), QStringLiteral("secret"));
    const QByteArray bytes(static_cast<const char *>(stream.Memory()), int(stream.Size()));
    EXPECT_FALSE(bytes.contains("secret"));

    TqvxReport loaded;
    loaded.EngineOptions()->SetNewSilentMode(simSilent);
    loaded.ReportOptions()->SetPresetPassword(QStringLiteral("secret"));
    stream.SetPosition(0);
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(loaded.ReportOptions()->Password(), QStringLiteral("secret"));
    EXPECT_EQ(loaded.Variables()->Count(), 2);
    EXPECT_EQ(loaded.Variables()->GetVariable(QStringLiteral("Sum")).AsString(), QStringLiteral("1 + 2"));
    EXPECT_EQ(loaded.ScriptLanguage(), QStringLiteral("JScript"));
    EXPECT_NE(loaded.FindObject(QStringLiteral("Memo1")), nullptr);
    EXPECT_NE(qobject_cast<TqvxDataPage *>(loaded.FindObject(QStringLiteral("Data"))), nullptr);
    EXPECT_EQ(loaded.PagesCount(), 1);
    EXPECT_EQ(loaded.GetPages(0), loaded.FindObject(QStringLiteral("Data")));
    EXPECT_EQ(loaded.GetPages(1), nullptr);
    EXPECT_EQ(loaded.Version(), QStringLiteral("5.2.3"));
}

} // namespace
namespace {

TEST_F(ReportTest, MacrosEvaluateOnlyTheChosenBranchAndAskTheEngine)
{
    engine()->aggregateValue = 42;
    setScript(QStringLiteral("var r, s, c, g: Variant;\nbegin\n  r := IIF(1 > 2, 1 div 0, 'no');\n"
                             "  s := SUM(Value);\n  c := COUNT;\n  g := Get('Missing');\n  Set('Answer', 42)"
                             "\nend."));
    ASSERT_TRUE(report->PrepareScript()) << report->Errors()->Text().toStdString();
    report->Script()->Execute();
    const auto value = [&](const char *name) { return report->Script()->Find(QLatin1String(name))->GetValue(); };
    EXPECT_EQ(value("r").AsString(), QStringLiteral("no"));
    EXPECT_EQ(value("s").AsInteger(), 42);
    EXPECT_EQ(value("c").AsInteger(), 42);
    EXPECT_TRUE(value("g").IsNull());
    EXPECT_TRUE(engine()->calls.contains(QStringLiteral("COUNT()")));
    EXPECT_TRUE(engine()->calls.contains(QStringLiteral("SUM(Value)")));
    EXPECT_TRUE(report->Errors()->Text().contains(QStringLiteral("Неизвестная переменная или поле БД: Missing")));
    EXPECT_EQ(report->Variables()->GetVariable(QStringLiteral("Answer")).AsInteger(), 42);
}

TEST_F(ReportTest, PrepareReportRunsTheEngineAndRestoresTheTemplate)
{
    addMemo(QStringLiteral("Memo1"), QString())->hint = QStringLiteral("before");
    report->ReportOptions()->SetPassword(QStringLiteral("pw"));
    report->PrintOptions()->SetSplitGap(7);
    QString seen;
    engine()->onRun = [&] {
        auto *memo = static_cast<TTestMemo *>(report->FindObject(QStringLiteral("Memo1")));
        memo->hint = QStringLiteral("changed");
        seen = report->Calc(QStringLiteral("Memo1")).IsNull() ? QString() : memo->hint;
    };
    ASSERT_TRUE(report->PrepareReport()) << report->Errors()->Text().toStdString();
    EXPECT_EQ(seen, QStringLiteral("changed"));
    EXPECT_EQ(engine()->calls.filter(QStringLiteral("Run")).size(), 1);
    auto *reloaded = static_cast<TTestMemo *>(report->FindObject(QStringLiteral("Memo1")));
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(reloaded->hint, QStringLiteral("before"));
    EXPECT_EQ(report->ReportOptions()->Password(), QStringLiteral("pw"));
    EXPECT_EQ(report->PrintOptions()->SplitGap(), 7);
    // The script's Memo1 names the reloaded object.
    EXPECT_EQ(report->Script()->FindLocal(QStringLiteral("Memo1"))->GetValue().AsInteger(), reloaded->Handle());
}

// The report's objects are lent to its script, also once they were
// reloaded after a run: a script event that runs afterwards (as the
// preview's do) cannot free the reloaded memo under the report.
TEST_F(ReportTest, AnEventAfterTheTemplateWasReloadedCannotFreeItsObjects)
{
    addMemo(QStringLiteral("Memo1"), QString());
    setScript(QStringLiteral("var refused: String;\nprocedure FreeMemo(Sender: Variant);\nbegin\n"
                             "  refused := '';\n  try Memo1.Free except refused := ExceptionClassName end\nend;\n"
                             "begin\nend."));
    ASSERT_TRUE(report->PrepareScript()) << report->Errors()->Text().toStdString();
    TqvxComponent *first = report->FindObject(QStringLiteral("Memo1"));
    report->DoNotifyEvent(first, QStringLiteral("FreeMemo"), true);
    const auto refused = [&] { return report->Script()->Find(QStringLiteral("refused"))->GetValue().AsString(); };
    EXPECT_EQ(refused(), QStringLiteral("EInvalidOperation"));

    ASSERT_TRUE(report->PrepareReport()) << report->Errors()->Text().toStdString();
    TqvxComponent *reloaded = report->FindObject(QStringLiteral("Memo1"));
    ASSERT_NE(reloaded, nullptr);
    ASSERT_EQ(report->Script()->FindLocal(QStringLiteral("Memo1"))->GetValue().AsInteger(), reloaded->Handle());
    report->DoNotifyEvent(reloaded, QStringLiteral("FreeMemo"), true);
    EXPECT_EQ(refused(), QStringLiteral("EInvalidOperation"));
    EXPECT_EQ(report->FindObject(QStringLiteral("Memo1")), reloaded);
}

TEST_F(ReportTest, AParentReportCycleIsRefused)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.fr3"));
    const QString b = dir.filePath(QStringLiteral("b.fr3"));
    {
        TqvxReport parent;
        parent.SetName(QStringLiteral("Report1"));
        new TTestMemo(&parent);
        parent.SaveToFile(b);
    }
    report->SetFileName(a);
    report->SetParentReport(b);
    ASSERT_NE(report->ParentReportObject(), nullptr);
    report->SaveToFile(a);
    EXPECT_EQ(report->ParentReport(), QStringLiteral("b.fr3"));

    // The report itself.
    EXPECT_THROW(report->SetParentReport(a), Exception);
    EXPECT_EQ(report->Errors()->Text(), QStringLiteral("Циклические ссылки не допускаются\r\n"));
    EXPECT_TRUE(report->ParentReport().isEmpty());

    // b inheriting from a, which inherits from b.
    TqvxReport other;
    other.SetName(QStringLiteral("Report1"));
    other.SetFileName(b);
    EXPECT_THROW(other.SetParentReport(QStringLiteral("a.fr3")), Exception);
    EXPECT_EQ(other.ParentReportObject(), nullptr);
    EXPECT_TRUE(other.Errors()->Text().contains(QStringLiteral("Циклические ссылки не допускаются")));
}

TEST_F(ReportTest, ExportAnswersFalseWhenStoppedAndRefusesASecondExport)
{
    QTemporaryDir dir;
    TqvxComponent object;
    auto *pages = static_cast<TRecordingPreviewPages *>(report->PreviewPages());
    pages->pages = {{&object}};
    TStoppingFilter filter;
    filter.SetShowDialog(false);
    filter.SetFileName(dir.filePath(QStringLiteral("out.txt")));
    EXPECT_FALSE(report->Export(&filter));
    EXPECT_FALSE(filter.reentered);
    EXPECT_FALSE(report->Busy());
    filter.stop = false;
    EXPECT_TRUE(report->Export(&filter));
}

TEST_F(ReportTest, ScriptEventsRunWhileTheEngineRunsOrWhenForced)
{
    TTestMemo *memo = addMemo(QStringLiteral("Memo1"), QString());
    setScript(QStringLiteral("var got: Variant;\nprocedure P(Sender: Variant);\nbegin\n  got := Sender\nend;\n"
                             "begin\nend."));
    ASSERT_TRUE(report->PrepareScript()) << report->Errors()->Text().toStdString();
    TzqCustomVariable *got = report->Script()->Find(QStringLiteral("got"));
    report->DoNotifyEvent(memo, QStringLiteral("P"));
    EXPECT_TRUE(got->GetValue().IsNull() || got->GetValue().IsEmpty());
    report->DoNotifyEvent(memo, QStringLiteral("P"), true);
    EXPECT_EQ(got->GetValue().AsInteger(), memo->Handle());
    engine()->SetRunning(true);
    report->DoNotifyEvent(nullptr, QStringLiteral("P"));
    EXPECT_EQ(got->GetValue().AsInteger(), 0);
}

TEST_F(ReportTest, PagesReachTheScriptThroughTheReportContext)
{
    // Dialog pages and views see the report only as a report context: the
    // report's own events must answer there, var arguments included.
    TTestMemo *memo = addMemo(QStringLiteral("Memo1"), QString());
    setScript(QStringLiteral("var got: Variant;\nprocedure P(Sender: Variant);\nbegin\n  got := Sender\nend;\n"
                             "procedure Q(Sender: Variant; var Key: Variant);\nbegin\n  Key := Key + 1\nend;\n"
                             "begin\nend."));
    ASSERT_TRUE(report->PrepareScript()) << report->Errors()->Text().toStdString();
    engine()->SetRunning(true);
    TqvxReportContext *context = report.get();
    context->DoNotifyEvent(memo, QStringLiteral("P"));
    EXPECT_EQ(report->Script()->Find(QStringLiteral("got"))->GetValue().AsInteger(), memo->Handle());
    QList<Variant> params{Variant(memo->Handle()), Variant(41)};
    context->DoParamEvent(QStringLiteral("Q"), params);
    EXPECT_EQ(params.at(1).AsInteger(), 42);
}

TEST_F(ReportTest, ShowReportPreparesFirstOnlyWithOldStyleProgress)
{
    TRecordingPreview preview;
    report->SetPreview(&preview);
    // Attaching a preview initialises it on the report.
    EXPECT_EQ(preview.calls, QStringList({"Init"}));
    preview.calls.clear();
    engine()->onRun = [&] {
        report->DoProgressStart(ptRunning);
        report->InternalOnProgress(ptRunning, 1);
        report->DoProgressStop(ptRunning);
    };
    report->SetOldStyleProgress(true);
    report->ShowReport();
    EXPECT_EQ(preview.calls, QStringList({"Init", "BuildStart", "BuildProgress 0", "BuildEnd", "Init"}));
    EXPECT_FALSE(report->PreparationPending());

    preview.calls.clear();
    report->SetOldStyleProgress(false);
    report->ShowReport();
    EXPECT_EQ(preview.calls, QStringList{"Init"});
    EXPECT_TRUE(report->PreparationPending());
    report->TimerTick();
    EXPECT_FALSE(report->PreparationPending());
    EXPECT_EQ(engine()->calls.filter(QStringLiteral("Run")).size(), 2);
    {
        TRecordingPreview shortLived;
        report->SetPreview(&shortLived);
    }
    EXPECT_EQ(report->Preview(), nullptr);
}

TEST_F(ReportTest, ThreadSafeModeFiresNoProgressAndShowsNoWindowOrPrompt)
{
    // A progress window that only counts how many were made.
    struct TCountedProgress : TqvxCustomProgress {
        void Execute(int, const QString &, bool, bool) override {}
        QString Message() const override { return {}; }
        void SetMessage(const QString &) override {}
        void SetPosition(int) override {}
        bool Terminated() const override { return false; }
    };
    static int windows = 0;
    windows = 0;
    TqvxServices services;
    services.NewProgress = []() -> TqvxCustomProgress * { ++windows; return new TCountedProgress; };
    qvxInstallServices(services);
    int prompts = 0;
    qvxInstallPasswordPrompt([&](QString &) { ++prompts; return false; });

    TRecordingPreview preview;
    report->SetPreview(&preview);
    QStringList events;
    report->OnProgressStart = [&](TqvxReport *, TqvxProgressType, int) { events << QStringLiteral("start"); };
    report->OnProgress = [&](TqvxReport *, TqvxProgressType, int n) { events << QString::number(n); };
    report->OnProgressStop = [&](TqvxReport *, TqvxProgressType, int) { events << QStringLiteral("stop"); };
    report->SetOldStyleProgress(true);
    engine()->onRun = [&] {
        report->DoProgressStart(ptRunning);
        report->InternalOnProgress(ptRunning, 1);
        report->DoProgressStop(ptRunning);
    };
    report->EngineOptions()->SetThreadSafeMode(true);
    preview.calls.clear();
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_TRUE(events.isEmpty()) << qPrintable(events.join(' '));
    EXPECT_EQ(windows, 0);
    EXPECT_EQ(preview.calls, QStringList{"Init"});

    report->ReportOptions()->SetPassword(QStringLiteral("pw"));
    TMemoryStream stream;
    report->SaveToStream(&stream);
    TqvxReport loaded;
    loaded.EngineOptions()->SetNewSilentMode(simSilent);
    loaded.EngineOptions()->SetThreadSafeMode(true);
    stream.SetPosition(0);
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(prompts, 0);
    EXPECT_TRUE(loaded.Errors()->Text().contains(QStringLiteral("Invalid password"))) << "refused unasked";
    EXPECT_EQ(loaded.ReportOptions()->Password(), QString());

    // The same run and load without the mode: events, a window, a prompt.
    report->EngineOptions()->SetThreadSafeMode(false);
    ASSERT_TRUE(report->PrepareReport());
    EXPECT_EQ(events, QStringList({"start", "1", "stop"}));
    EXPECT_EQ(windows, 1);
    loaded.EngineOptions()->SetThreadSafeMode(false);
    stream.SetPosition(0);
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(prompts, 1);
    qvxInstallPasswordPrompt({});
    report->SetPreview(nullptr);
}

TEST_F(ReportTest, AChildReportTakesOverItsParentsObjectsAndVariables)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("base.fr3"));
    {
        TqvxReport parent;
        parent.SetName(QStringLiteral("Report1"));
        auto *memo = new TTestMemo(&parent);
        memo->SetParent(&parent);
        memo->SetName(QStringLiteral("Header"));
        memo->hint = QStringLiteral("from the parent");
        parent.Variables()->SetVariable(QStringLiteral("Org"), QStringLiteral("'Firm'"));
        parent.SaveToFile(base);
    }
    report->SetFileName(dir.filePath(QStringLiteral("child.fr3")));
    report->SetParentReport(base);
    auto *header = qobject_cast<TTestMemo *>(report->FindObject(QStringLiteral("Header")));
    ASSERT_NE(header, nullptr);
    EXPECT_TRUE(header->IsInherited());
    EXPECT_EQ(header->hint, QStringLiteral("from the parent"));
    EXPECT_EQ(report->Variables()->GetVariable(QStringLiteral("Org")).AsString(), QStringLiteral("'Firm'"));
    header->hint = QStringLiteral("changed here");
    report->SaveToFile(report->FileName());

    TqvxReport loaded;
    loaded.EngineOptions()->SetNewSilentMode(simSilent);
    ASSERT_TRUE(loaded.LoadFromFile(report->FileName()));
    auto *loadedHeader = qobject_cast<TTestMemo *>(loaded.FindObject(QStringLiteral("Header")));
    ASSERT_NE(loadedHeader, nullptr);
    EXPECT_EQ(loadedHeader->hint, QStringLiteral("changed here"));
    EXPECT_EQ(loaded.ParentReport(), QStringLiteral("base.fr3"));
    EXPECT_EQ(loaded.Errors()->Count(), 0) << loaded.Errors()->Text().toStdString();

    report->SetParentReport(QString());
    EXPECT_FALSE(header->IsInherited());
}

TEST_F(ReportTest, PreviewHandlersReadTheirLastArgumentBack)
{
    auto *view = new TqvxStretcheable(report.get());
    view->SetParent(report.get());
    view->SetName(QStringLiteral("Shape1"));
    view->SetOnPreviewClick(QStringLiteral("Click"));
    view->SetOnMouseUp(QStringLiteral("Up"));
    setScript(QStringLiteral("var seen: Variant;\n"
                             "procedure Click(Sender, Button, Shift: Variant; var Modified: Variant);\n"
                             "begin\n  seen := Button;\n  Modified := 1 = 1\nend;\n"
                             "procedure Up(Sender, X, Y, Button, Shift: Variant; var Refresh: Variant);\n"
                             "begin\n  seen := X + Y\nend;\n"
                             "begin\nend."));
    ASSERT_TRUE(report->PrepareScript()) << report->Errors()->Text().toStdString();
    QStringList events;
    report->OnClickObject = [&](TqvxView *, TMouseButton, TShiftState, bool &modified) {
        events << (modified ? QStringLiteral("click, modified") : QStringLiteral("click"));
    };
    bool modified = false;
    report->DoPreviewClick(view, mbRight, TShiftState(), modified, false);
    EXPECT_TRUE(modified);
    EXPECT_EQ(events, QStringList{"click, modified"});
    TzqCustomVariable *seen = report->Script()->Find(QStringLiteral("seen"));
    EXPECT_EQ(seen->GetValue().AsInteger(), int(mbRight));
    // No double-click handler: only the event.
    modified = false;
    report->DoPreviewClick(view, mbLeft, TShiftState(), modified, true);
    EXPECT_FALSE(modified);
    bool refresh = true;
    report->DoMouseUp(view, 2, 3, mbLeft, TShiftState(), refresh);
    EXPECT_TRUE(refresh);
    EXPECT_EQ(seen->GetValue().AsInteger(), 5);
}

TEST_F(ReportTest, AggregatesTakeTheirBandAndFlagsFromTheArgumentTexts)
{
    auto *band = new TqvxReportSummary(report.get());
    band->SetParent(report.get());
    band->SetName(QStringLiteral("Summary1"));
    addMemo(QStringLiteral("Memo1"), QString());
    setScript(QStringLiteral("var s: Variant;\nbegin\n  s := SUM(Value, Summary1, 1 + 2);\n  s := MAX(Value, Memo1)\nend."));
    ASSERT_TRUE(report->PrepareScript()) << report->Errors()->Text().toStdString();
    EXPECT_THROW(report->Script()->Execute(), Exception);
    EXPECT_EQ(engine()->aggregateBand, static_cast<TqvxBand *>(band));
    EXPECT_EQ(engine()->aggregateFlags, 3);
    EXPECT_EQ(engine()->calls, QStringList{"SUM(Value)"});
}

TEST_F(ReportTest, TheCacheTellsCaseAndKeepsTheMainScriptFlag)
{
    ASSERT_TRUE(report->PrepareScript());
    EXPECT_EQ(report->Calc(QStringLiteral("'abc'")).AsString(), QStringLiteral("abc"));
    EXPECT_EQ(report->Calc(QStringLiteral("'ABC'")).AsString(), QStringLiteral("ABC"));
    EXPECT_EQ(report->ExpressionCache()->Count(), 2);
    report->Script()->IsMainScript = false;
    report->Calc(QStringLiteral("1 + 1"));
    EXPECT_FALSE(report->Script()->IsMainScript);
    report->Script()->IsMainScript = true;
    EXPECT_THROW(report->Calc(QStringLiteral("1 div 0")), Exception);
    EXPECT_TRUE(report->Script()->IsMainScript);
}

TEST_F(ReportTest, TheTemplateSavedInATemporaryFileIsDeletedAfterTheRun)
{
    QTemporaryDir dir;
    report->EngineOptions()->SetUseFileCache(true);
    report->EngineOptions()->SetTempDir(dir.path());
    addMemo(QStringLiteral("Memo1"), QString());
    QStringList during;
    engine()->onRun = [&] { during = QDir(dir.path()).entryList(QDir::Files); };
    ASSERT_TRUE(report->PrepareReport()) << report->Errors()->Text().toStdString();
    EXPECT_EQ(during.size(), 1);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_NE(report->FindObject(QStringLiteral("Memo1")), nullptr);
}

TEST_F(ReportTest, DataSetsSharingAUserNameKeepTheirBandsThroughRepeatedRuns)
{
    std::unique_ptr<TqvxUserDataSet> first = std::make_unique<TqvxUserDataSet>();
    std::unique_ptr<TqvxUserDataSet> second = std::make_unique<TqvxUserDataSet>();
    first->SetUserName(QStringLiteral("Rows"));
    second->SetUserName(QStringLiteral("Rows"));
    report->DataSets()->Add()->SetDataSet(first.get());
    report->DataSets()->Add()->SetDataSet(second.get());
    for (const auto &[name, dataSet] : {std::pair{"Band1", first.get()}, std::pair{"Band2", second.get()}}) {
        auto *band = new TqvxMasterData(report.get());
        band->SetParent(report.get());
        band->SetName(QLatin1String(name));
        band->SetDataSet(dataSet);
    }
    for (int run = 0; run < 2; ++run) {
        ASSERT_TRUE(report->PrepareReport()) << report->Errors()->Text().toStdString();
        auto *band1 = qobject_cast<TqvxDataBand *>(report->FindObject(QStringLiteral("Band1")));
        auto *band2 = qobject_cast<TqvxDataBand *>(report->FindObject(QStringLiteral("Band2")));
        ASSERT_TRUE(band1 && band2);
        EXPECT_EQ(band1->DataSet(), first.get()) << run;
        EXPECT_EQ(band2->DataSet(), second.get()) << run;
    }
    report.reset();
}

} // namespace

TEST_F(ReportTest, AFaultyVariableNothingUsesDoesNotStopThePreparation)
{
    setVariable(QStringLiteral("Broken"), QStringLiteral("10 div 0"));
    EXPECT_NO_THROW(EXPECT_TRUE(report->PrepareReport()));
    EXPECT_EQ(report->Errors()->Count(), 0);
}

TEST_F(ReportTest, AFaultyVariableInUseFailsThePreparationWithOneLine)
{
    setVariable(QStringLiteral("Broken"), QStringLiteral("10 div 0"));
    setVariable(QStringLiteral("A"), QStringLiteral("B + 1"));
    setVariable(QStringLiteral("B"), QStringLiteral("A + 1"));
    addMemo(QStringLiteral("Memo1"), QString());
    for (const QString &name : {QStringLiteral("Broken"), QStringLiteral("A")}) {
        engine()->onRun = [&] {
            report->SetCurObject(QStringLiteral("Memo1"));
            report->Calc(name);
        };
        bool prepared = true;
        EXPECT_NO_THROW(prepared = report->PrepareReport()) << name.toStdString();
        EXPECT_FALSE(prepared) << name.toStdString();
        EXPECT_EQ(report->Errors()->Count(), 1) << report->Errors()->Text().toStdString();
    }
}
