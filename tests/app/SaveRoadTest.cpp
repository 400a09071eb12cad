#include "MainFormFixture.h"

#include "export/pdf/qvxExportPDF.h"
#include "report/pages/qvxBands.h"
#include "report/views/qvxMemoView.h"
#include "report/report/qvxReport.h"
#include "report/data/qvxReportDataSets.h"
#include "report/data/qvxUserDataSet.h"
#include "report/model/qvxVariables.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// The save road on the recording engine and store: the engine runs
// whatever the test gives it, and the store hands its pages (none unless
// the test gives some) to the PDF filter, which writes a real file.
class SaveRoadTest : public MainFormFixture
{
protected:
    SaveRoadTest() : MainFormFixture(true)
    {
        runner.onFile = [this](TFileDialogRequest &request) {
            if (chosen.isEmpty())
                return false;
            request.FileName = dir.filePath(chosen);
            return true;
        };
    }

    TRecordingEngine *engine() const { return static_cast<TRecordingEngine *>(form->qvxReport1->Engine()); }
    TRecordingPreviewPages *pages() const
    {
        return static_cast<TRecordingPreviewPages *>(form->qvxReport1->PreviewPages());
    }

    // The report variables by their place in the template: the description,
    // the order code, the three organisation fields and the quantity.
    QString variable(int index) const
    {
        TqvxVariables *variables = form->qvxReport1->Variables();
        return variables->GetVariable(variables->Items(index)->Name()).AsString();
    }
    QString description() const { return variable(1); }
    QString orderCode() const { return variable(2); }

    // Completes grid 1 with the capacity option and the trip unit type
    // given, when some current and some poles and execution lead there.
    bool CompleteWith(int capacity, int tripUnit)
    {
        for (std::size_t current = 0; current < CurrentOptions.size(); ++current) {
            if (!(CurrentOptions[current].Mask & (1u << capacity)))
                continue;
            form->Button3Click(nullptr);
            Choose(G1, 0, int(current));
            Choose(G1, 1, capacity);
            for (int row = 2; row < 4; ++row)
                Choose(G1, row, FirstOffered(G1, row));
            if (!Offered(G1, 4).contains(Caption(G1, 4, tripUnit)))
                continue;
            Complete({int(current), capacity, form->Rules().Choice(G1, 2), form->Rules().Choice(G1, 3), tripUnit});
            return form->Button1->Enabled();
        }
        return false;
    }

    QString readFile(const QString &name) const
    {
        QFile file(dir.filePath(name));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
    }

    QTemporaryDir dir;
    QString chosen = QStringLiteral("questionnaire.pdf");
};

} // namespace

TEST_F(SaveRoadTest, TheSaveButtonWritesTheVariablesPreparesAsksAndExports)
{
    Complete({1, 1, 0, 0, 0, 0});
    form->Edit1->SetText(QStringLiteral("O'Neil & Co"));
    form->Edit2->SetText(QStringLiteral("1 Main St., +1 555 0100"));
    form->Edit3->SetText(QStringLiteral("J. O'Neil"));
    form->Edit4->SetValue(12);
    ASSERT_TRUE(form->Button1->Enabled());
    form->Button1->Click();

    EXPECT_EQ(engine()->calls, QStringList{QStringLiteral("Run(1,0,none)")});
    EXPECT_EQ(variable(3), QStringLiteral("O'Neil & Co"));
    EXPECT_EQ(variable(4), QStringLiteral("1 Main St., +1 555 0100"));
    EXPECT_EQ(variable(5), QStringLiteral("J. O'Neil"));
    EXPECT_EQ(variable(6), QStringLiteral("12"));
    EXPECT_EQ(description(), form->Rules().Description());
    EXPECT_EQ(orderCode(), QStringLiteral("T010S02A1A00000AOEM"));
    EXPECT_EQ(form->qvxUserDataSet3->RangeEndCount(), form->Rules().Composition().size());

    ASSERT_EQ(runner.fileRequests.size(), 1u);
    const TFileDialogRequest &request = runner.fileRequests[0];
    EXPECT_TRUE(request.Save);
    EXPECT_EQ(request.Filters, QStringList{QStringLiteral("Файл Adobe PDF (*.pdf)")});
    EXPECT_EQ(request.DefaultExt, QStringLiteral("pdf"));
    EXPECT_TRUE(request.OverwritePrompt);
    EXPECT_TRUE(request.FileName.isEmpty());
    EXPECT_TRUE(request.Title.isEmpty());
    EXPECT_TRUE(request.InitialDir.isEmpty());

    EXPECT_EQ(pages()->exported, QList<TqvxCustomExportFilter *>{form->qvxPDFExport1});
    EXPECT_EQ(form->qvxPDFExport1->FileName(), dir.filePath(chosen));
    EXPECT_TRUE(readFile(chosen).startsWith(QStringLiteral("%PDF-")));
    EXPECT_TRUE(runner.messages.empty());
    EXPECT_FALSE(form->Saving());
}

TEST_F(SaveRoadTest, TheQuantityIsTheClampedValue)
{
    Complete({1, 1});
    form->Edit4->SetText(QStringLiteral("12345678"));
    ASSERT_TRUE(form->SaveAsPdf());
    EXPECT_EQ(variable(6), QStringLiteral("999999"));
    form->Edit4->SetText(QStringLiteral("0"));
    ASSERT_TRUE(form->SaveAsPdf());
    EXPECT_EQ(variable(6), QStringLiteral("1"));
}

TEST_F(SaveRoadTest, DataSetsAnswerFromTheChoicesWhileTheReportRuns)
{
    Complete({1, 1, 0, 0, 0, 0});
    const QStringList composition = form->Rules().Composition();
    engine()->onRun = [&] {
        const auto walk = [](TqvxUserDataSet *dataSet, const std::function<void(int)> &check) {
            dataSet->First();
            int records = 0;
            while (!dataSet->Eof()) {
                check(records++);
                dataSet->Next();
            }
            return records;
        };
        for (int grid : {G1, G2}) {
            TqvxUserDataSet *dataSet = grid == G1 ? form->qvxUserDataSet1 : form->qvxUserDataSet2;
            const int rows = grid == G1 ? TSelectionRules::ParamRowCount : TSelectionRules::AccessoryRowCount;
            EXPECT_EQ(walk(dataSet,
                           [&](int row) {
                               EXPECT_EQ(dataSet->GetValue(QStringLiteral("Param")).AsString(),
                                         QString::fromUtf8(grid == G1 ? ParamCaptions[row] : AccessoryCaptions[row]));
                               EXPECT_EQ(dataSet->GetValue(QStringLiteral("Value")).AsString(),
                                         form->Rules().ChoiceCaption(grid, row));
                           }),
                      rows);
        }
        EXPECT_EQ(walk(form->qvxUserDataSet3,
                       [&](int row) {
                           EXPECT_EQ(form->qvxUserDataSet3->GetValue(QStringLiteral("line")).AsString(),
                                     composition[row]);
                       }),
                  composition.size());
    };
    ASSERT_TRUE(form->SaveAsPdf());
    // Reading changes nothing.
    EXPECT_EQ(form->Rules().Composition(), composition);
    EXPECT_EQ(form->Rules().Choice(G1, 0), 1);
}

TEST_F(SaveRoadTest, TheReportShowsTheTextsAsTheyWereEntered)
{
    Complete({1, 1, 0, 0, 0, 0});
    form->Edit1->SetText(QStringLiteral("O'Neil & Co"));
    form->Edit4->SetValue(7);
    // What a memo of the template shows while the report runs, line by line.
    const auto shown = [this](const char *name) {
        auto *memo = qobject_cast<TqvxMemoView *>(form->qvxReport1->FindObject(QLatin1String(name)));
        EXPECT_NE(memo, nullptr) << name;
        if (!memo)
            return QStringList();
        memo->BeforePrint();
        memo->GetData();
        QStringList lines;
        for (int i = 0; i < memo->Memo()->Count(); ++i)
            lines.append(memo->Memo()->Get(i));
        memo->AfterPrint();
        return lines;
    };
    QStringList code;
    const auto checkAll = [&] {
        EXPECT_EQ(shown("Memo16"), QStringList{QStringLiteral("O'Neil & Co")});
        EXPECT_EQ(shown("Memo17"), QStringList{QString()});
        EXPECT_EQ(shown("Memo20"), QStringList{QStringLiteral("7")});
        EXPECT_EQ(shown("Memo8"), QStringList{form->Rules().Description()});
        code = shown("Memo10");
        // The data memos read their own data set, whatever its name: the
        // characteristic and the accessory rows share one.
        form->qvxUserDataSet1->First();
        form->qvxUserDataSet2->First();
        EXPECT_EQ(shown("Memo2"), QStringList{QString::fromUtf8(ParamCaptions[0])});
        EXPECT_EQ(shown("Memo3"), QStringList{form->Rules().ChoiceCaption(G1, 0)});
        EXPECT_EQ(shown("Memo5"), QStringList{QString::fromUtf8(AccessoryCaptions[0])});
        EXPECT_EQ(shown("Memo6"), QStringList{form->Rules().ChoiceCaption(G2, 0)});
    };
    engine()->onRun = checkAll;
    ASSERT_TRUE(form->SaveAsPdf());
    engine()->onRun = [&] { code = shown("Memo10"); };
    EXPECT_EQ(code, QStringList{form->Rules().OrderCode() + QStringLiteral("OEM")});

    // The second-version capacities under the electronic trip unit have a
    // two-line code, shown as it is.
    int designs = 0;
    for (int capacity : {13, 15, 19, 23, 25}) {
        if (!CompleteWith(capacity, 1))
            continue;
        ++designs;
        ASSERT_TRUE(form->SaveAsPdf());
        const QString base = form->Rules().OrderCode();
        ASSERT_FALSE(base.isEmpty());
        EXPECT_EQ(orderCode(), base + QStringLiteral("OEM\r\n") + base + QStringLiteral("SKD")) << capacity;
        EXPECT_EQ(code, QStringList({base + QStringLiteral("OEM"), base + QStringLiteral("SKD")})) << capacity;
    }
    EXPECT_GT(designs, 0) << "no second-version capacity offers the electronic trip unit";

    // Without a model the code is "OEM" alone.
    pressInDialog = 2;
    form->Button3Click(nullptr);
    Complete({1, 7});
    ASSERT_EQ(form->Rules().ModelNo(), 0);
    ASSERT_TRUE(form->SaveAsPdf());
    EXPECT_EQ(orderCode(), QStringLiteral("OEM"));
    EXPECT_EQ(code, QStringList{QStringLiteral("OEM")});
}

TEST_F(SaveRoadTest, ValueEventsCheckTheirRecordAndKeepUnknownFields)
{
    Complete({1, 1, 0, 0, 0, 0});
    Variant value(QStringLiteral("kept"));
    form->qvxUserDataSet1GetValue(QStringLiteral("param"), value);
    EXPECT_EQ(value.AsString(), QStringLiteral("kept"));
    form->qvxUserDataSet2GetValue(QStringLiteral("Other"), value);
    EXPECT_EQ(value.AsString(), QStringLiteral("kept"));

    // Records past the rows or lines there are answer empty texts.
    const auto last = [](TqvxUserDataSet *dataSet, int count) {
        dataSet->SetRangeEndCount(count);
        dataSet->First();
        for (int i = 1; i < count; ++i)
            dataSet->Next();
    };
    last(form->qvxUserDataSet1, TSelectionRules::ParamRowCount + 2);
    EXPECT_EQ(form->qvxUserDataSet1->GetValue(QStringLiteral("Param")).AsString(), QString());
    EXPECT_EQ(form->qvxUserDataSet1->GetValue(QStringLiteral("Value")).AsString(), QString());
    last(form->qvxUserDataSet2, TSelectionRules::AccessoryRowCount + 1);
    EXPECT_EQ(form->qvxUserDataSet2->GetValue(QStringLiteral("Value")).AsString(), QString());
    const int lines = int(form->Rules().Composition().size());
    last(form->qvxUserDataSet3, lines + 3);
    EXPECT_EQ(form->qvxUserDataSet3->GetValue(QStringLiteral("line")).AsString(), QString());
    // A reset under a running report leaves the count behind the lines.
    form->Button3Click(nullptr);
    last(form->qvxUserDataSet3, lines);
    EXPECT_EQ(form->qvxUserDataSet3->GetValue(QStringLiteral("line")).AsString(), QString());
}

TEST_F(SaveRoadTest, WhileSavingTheWindowTakesNoInputAndStaysOpen)
{
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    Complete({1, 1});
    form->Button1->SetFocus();
    QApplication::processEvents();
    ASSERT_TRUE(form->Button1->Focused());
    const QList<TControl *> inputs = {form->Edit1, form->Edit2,  form->Edit3,   form->InspectorGrid1,
                                      form->InspectorGrid2, form->Edit4, form->Button1, form->Button3,
                                      form->Button2};
    engine()->onRun = [&] {
        EXPECT_TRUE(form->Saving());
        for (TControl *input : inputs)
            EXPECT_FALSE(input->Widget()->isEnabled()) << input->Name().toStdString();
        // A second save, a reset or a close finds the window busy.
        EXPECT_FALSE(form->SaveAsPdf());
        form->Close();
        EXPECT_TRUE(form->Visible());
    };
    ASSERT_TRUE(form->SaveAsPdf());
    EXPECT_EQ(engine()->calls.size(), 1);
    EXPECT_FALSE(form->Saving());
    for (TControl *input : inputs)
        EXPECT_TRUE(input->Widget()->isEnabled()) << input->Name().toStdString();
    EXPECT_TRUE(form->Button1->Focused());
    form->Close();
    EXPECT_FALSE(form->Visible());
}

TEST_F(SaveRoadTest, ACancelledDialogWritesNothingAndKeepsTheName)
{
    Complete({1, 1});
    ASSERT_TRUE(form->SaveAsPdf());
    const QString first = dir.filePath(chosen);

    chosen.clear();
    EXPECT_FALSE(form->SaveAsPdf());
    EXPECT_EQ(pages()->exported.size(), 1);
    EXPECT_EQ(form->qvxPDFExport1->FileName(), first);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("questionnaire.pdf")});

    // The next save offers the last name again and prepares afresh.
    chosen = QStringLiteral("second.pdf");
    ASSERT_TRUE(form->SaveAsPdf());
    ASSERT_EQ(runner.fileRequests.size(), 3u);
    EXPECT_EQ(runner.fileRequests[1].FileName, first);
    EXPECT_EQ(runner.fileRequests[2].FileName, first);
    EXPECT_EQ(engine()->calls.size(), 3);
    EXPECT_TRUE(readFile(chosen).startsWith(QStringLiteral("%PDF-")));
}

TEST_F(SaveRoadTest, ABuildTheUserStoppedAsksForNoFile)
{
    Complete({1, 1});
    // The engine keeps the pages of a stopped build and answers true.
    engine()->onRun = [this] { form->qvxReport1->SetTerminated(true); };
    EXPECT_FALSE(form->SaveAsPdf());
    EXPECT_TRUE(runner.fileRequests.empty());
    EXPECT_TRUE(pages()->exported.isEmpty());
}

TEST_F(SaveRoadTest, AFailedPreparationAsksForNoFile)
{
    Complete({1, 1});
    engine()->runResult = false;
    EXPECT_FALSE(form->SaveAsPdf());
    EXPECT_TRUE(runner.fileRequests.empty());
    EXPECT_TRUE(pages()->exported.isEmpty());
    EXPECT_TRUE(form->Button1->Widget()->isEnabled());
}

TEST_F(SaveRoadTest, AStoppedExportLeavesThePreviousFileAndIsNoSuccess)
{
    Complete({1, 1});
    {
        QFile previous(dir.filePath(chosen));
        ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
        previous.write("previous");
    }
    TqvxMemoView memo(nullptr);
    memo.SetText(QStringLiteral("text"));
    engine()->onRun = [&] { pages()->pages = {{&memo, &memo}}; };
    // The user cancels the export as it begins.
    form->qvxPDFExport1->SetOnBeginExport([this](TObject *) { form->qvxReport1->SetTerminated(true); });

    EXPECT_FALSE(form->SaveAsPdf());
    EXPECT_EQ(pages()->exported.size(), 1);
    EXPECT_EQ(readFile(chosen), QStringLiteral("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{chosen});
    EXPECT_TRUE(runner.messages.empty());
}

TEST_F(SaveRoadTest, BindingsByObjectSurviveRepeatedSaves)
{
    Complete({1, 1});
    ASSERT_TRUE(form->SaveAsPdf());
    ASSERT_TRUE(form->SaveAsPdf());
    TqvxReport *report = form->qvxReport1;
    const auto dataSetOf = [report](const char *name) {
        TqvxComponent *object = report->FindObject(QLatin1String(name));
        return object ? object->property("DataSet").value<TqvxComponent *>() : nullptr;
    };
    EXPECT_EQ(dataSetOf("MasterData1"), form->qvxUserDataSet1);
    EXPECT_EQ(dataSetOf("Memo3"), form->qvxUserDataSet1);
    EXPECT_EQ(dataSetOf("MasterData2"), form->qvxUserDataSet2);
    EXPECT_EQ(dataSetOf("Memo5"), form->qvxUserDataSet2);
    EXPECT_EQ(dataSetOf("Memo6"), form->qvxUserDataSet2);
    EXPECT_EQ(dataSetOf("MasterData3"), form->qvxUserDataSet3);
    EXPECT_EQ(report->DataSets()->Items(0)->DataSet(), form->qvxUserDataSet2);
    EXPECT_EQ(report->DataSets()->Items(1)->DataSet(), form->qvxUserDataSet1);
    EXPECT_EQ(report->Errors()->Count(), 0);
}
