#include "report/data/qvxDataSet.h"

#include "common/TestSupport.h"
#include "report/StubReport.h"
#include "report/data/qvxCustomDB.h"
#include "report/data/qvxReportDataSets.h"
#include "report/data/qvxUserDataSet.h"
#include "toolkit/classes/ClassRegistry.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Exceptions.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Walks a data set as the engine does and counts the events.
struct Walk {
    int records = 0;
    int nexts = 0;
    int priors = 0;

    explicit Walk(TqvxDataSet &dataSet)
    {
        dataSet.SetOnNext([this](TObject *) { ++nexts; });
        dataSet.SetOnPrior([this](TObject *) { ++priors; });
    }

    // Stops after limit records so that a fault cannot hang the test.
    void run(TqvxDataSet &dataSet, int limit = 100)
    {
        dataSet.First();
        while (!dataSet.Eof() && records < limit) {
            ++records;
            dataSet.Next();
        }
    }
};

TqvxUserDataSet *countedDataSet(TComponent *owner, int count)
{
    auto *dataSet = NewObject<TqvxUserDataSet>(owner);
    dataSet->SetRangeEnd(reCount);
    dataSet->SetRangeEndCount(count);
    return dataSet;
}

} // namespace

TEST(DataSet, ACountOfZeroEndsAtOnce)
{
    std::unique_ptr<TqvxUserDataSet> dataSet(countedDataSet(nullptr, 0));
    Walk walk(*dataSet);
    walk.run(*dataSet);
    EXPECT_EQ(walk.records, 0);
    EXPECT_EQ(dataSet->RecNo(), 0);
    // Next and Prior at the first record stay there.
    dataSet->Next();
    EXPECT_EQ(dataSet->RecNo(), 0);
    dataSet->Prior();
    EXPECT_EQ(dataSet->RecNo(), 0);
    EXPECT_EQ(walk.nexts, 0);
    EXPECT_EQ(walk.priors, 0);
}

TEST(DataSet, ACountedWalkStopsOnTheLastRecord)
{
    std::unique_ptr<TqvxUserDataSet> dataSet(countedDataSet(nullptr, 11));
    Walk walk(*dataSet);
    walk.run(*dataSet);
    EXPECT_EQ(walk.records, 11);
    EXPECT_EQ(dataSet->RecNo(), 10);
    EXPECT_TRUE(dataSet->Eof());
    EXPECT_EQ(walk.nexts, 10);

    dataSet->Prior();
    EXPECT_EQ(dataSet->RecNo(), 9);
    EXPECT_EQ(walk.priors, 1);
}

TEST(DataSet, OnCheckEOFEndsEarlyButNotLate)
{
    std::unique_ptr<TqvxUserDataSet> dataSet(countedDataSet(nullptr, 11));
    Walk walk(*dataSet);
    int told = 0;
    dataSet->SetOnCheckEOF([&](TObject *sender, bool &eof) {
        EXPECT_EQ(sender, dataSet.get());
        if (eof)
            ++told;
        eof = dataSet->RecNo() >= 4;
    });
    walk.run(*dataSet);
    EXPECT_EQ(walk.records, 4);

    // Past the count the handler is told of the end and cannot undo it.
    dataSet->SetOnCheckEOF([&](TObject *, bool &eof) {
        if (eof)
            ++told;
        eof = false;
    });
    Walk rest(*dataSet);
    rest.run(*dataSet);
    EXPECT_EQ(rest.records, 11);
    EXPECT_EQ(told, 1);
}

TEST(DataSet, WithoutACountTheHandlerAloneDecides)
{
    TqvxDataSet dataSet;
    int calls = 0;
    dataSet.SetOnCheckEOF([&](TObject *, bool &eof) { eof = ++calls > 3; });
    Walk walk(dataSet);
    walk.run(dataSet);
    EXPECT_EQ(walk.records, 3);
    EXPECT_EQ(dataSet.RecordCount(), 0);
}

TEST(DataSet, AUserDataSetThatWouldNeverEndIsEmptyAndSaysWhy)
{
    TStubReport report;
    auto *dataSet = NewObject<TqvxUserDataSet>(&report);
    dataSet->SetUserName(QStringLiteral("Rows"));
    Walk walk(*dataSet);
    walk.run(*dataSet);
    EXPECT_EQ(walk.records, 0);
    ASSERT_EQ(report.errors->Count(), 1);
    EXPECT_TRUE(report.errors->Strings(0).contains(QStringLiteral("\"Rows\"")));
}

TEST(DataSet, RecordCountNeedsACountedWalkFromTheFirstRecord)
{
    std::unique_ptr<TqvxUserDataSet> dataSet(countedDataSet(nullptr, 7));
    EXPECT_EQ(dataSet->RecordCount(), 7);
    dataSet->SetRangeBegin(rbCurrent);
    EXPECT_EQ(dataSet->RecordCount(), 0);
    dataSet->SetRangeBegin(rbFirst);
    dataSet->SetRangeEnd(reCurrent);
    EXPECT_EQ(dataSet->RecordCount(), 0);
}

TEST(DataSet, UserValuesComeFromBothEventsInTurn)
{
    TqvxUserDataSet dataSet;
    EXPECT_TRUE(VarIsNull(dataSet.GetValue(QStringLiteral("Param"))));
    EXPECT_EQ(dataSet.GetDisplayText(QStringLiteral("Param")), QString());

    QStringList asked;
    dataSet.SetOnGetValue([&](const QString &name, Variant &value) {
        asked << name;
        value = Variant(QStringLiteral("Ток"));
    });
    dataSet.SetOnNewGetValue([&](TObject *sender, const QString &, Variant &value) {
        EXPECT_EQ(sender, &dataSet);
        value = Variant(value.AsString() + QStringLiteral(" 250 А"));
    });
    EXPECT_EQ(dataSet.GetDisplayText(QStringLiteral("unlisted")), QStringLiteral("Ток 250 А"));
    EXPECT_EQ(asked, QStringList{QStringLiteral("unlisted")});
}

TEST(DataSet, FieldsAreTheListedNames)
{
    TqvxUserDataSet dataSet;
    dataSet.Fields()->SetText(QStringLiteral("Param\nValue\n"));
    EXPECT_EQ(dataSet.FieldsCount(), 2);
    EXPECT_TRUE(dataSet.HasField(QStringLiteral("value")));
    EXPECT_FALSE(dataSet.HasField(QStringLiteral("line")));

    TqvxCustomDBDataSet table;
    EXPECT_EQ(table.FieldsCount(), 0);
    EXPECT_TRUE(table.OpenDataSource());
    EXPECT_FALSE(table.HasField(QStringLiteral("Param")));
}

TEST(DataSet, UserNamesMustNotBeBlank)
{
    TqvxUserDataSet dataSet;
    EXPECT_THROW(dataSet.SetUserName(QStringLiteral("   ")), Exception);
    dataSet.SetUserName(QStringLiteral(" A "));
    EXPECT_EQ(dataSet.UserName(), QStringLiteral(" A "));
}

TEST(DataSet, ARenameTakesTheUserNameAlongWhileItWasTheName)
{
    TqvxUserDataSet dataSet;
    dataSet.SetName(QStringLiteral("Data1"));
    EXPECT_EQ(dataSet.UserName(), QStringLiteral("Data1"));
    dataSet.SetName(QStringLiteral("Data2"));
    EXPECT_EQ(dataSet.UserName(), QStringLiteral("Data2"));
    dataSet.SetUserName(QStringLiteral("Rows"));
    dataSet.SetName(QStringLiteral("Data3"));
    EXPECT_EQ(dataSet.UserName(), QStringLiteral("Rows"));
}

TEST(DataSet, TheGlobalListHoldsEveryLiveDataSet)
{
    // Compares only what the test adds after the data sets that already
    // live, without concatenating lists (appending an empty QList hands a
    // null source to memcpy).
    const qsizetype before = qvxDataSetList()->Items().size();
    const auto added = [before] { return qvxDataSetList()->Items().mid(before); };
    auto first = std::make_unique<TqvxUserDataSet>();
    auto second = std::make_unique<TqvxCustomDBDataSet>();
    EXPECT_EQ(added(), (QList<TqvxDataSet *>{first.get(), second.get()}));
    first.reset();
    EXPECT_EQ(added(), QList<TqvxDataSet *>{second.get()});
    second.reset();
    EXPECT_TRUE(added().isEmpty());
    EXPECT_EQ(qvxDataSetList()->Items().size(), before);
}

TEST(DataSetLookup, EachReportFindsItsOwnAndBothFindTheShared)
{
    TStubReport first;
    TStubReport second;
    auto *firstA = NewObject<TqvxUserDataSet>(&first);
    firstA->SetUserName(QStringLiteral("A"));
    auto *secondA = NewObject<TqvxUserDataSet>(&second);
    secondA->SetUserName(QStringLiteral("A"));
    TqvxUserDataSet shared;
    shared.SetUserName(QStringLiteral("Shared"));

    EXPECT_EQ(qvxFindDataSet(&first, nullptr, QStringLiteral("a")), firstA);
    EXPECT_EQ(qvxFindDataSet(&second, nullptr, QStringLiteral("A")), secondA);
    EXPECT_EQ(qvxFindDataSet(&first, nullptr, QStringLiteral("SHARED")), &shared);
    EXPECT_EQ(qvxFindDataSet(&second, nullptr, QStringLiteral("Shared")), &shared);

    // Nothing of that name: the current data set; no name: none.
    EXPECT_EQ(qvxFindDataSet(&first, &shared, QStringLiteral("B")), &shared);
    EXPECT_EQ(qvxFindDataSet(&first, &shared, QString()), nullptr);
    EXPECT_EQ(qvxFindDataSet(nullptr, &shared, QStringLiteral("A")), &shared);

    // Without the global list, only the report's own list counts.
    first.engineOptions->SetUseGlobalDataSetList(false);
    EXPECT_EQ(qvxFindDataSet(&first, nullptr, QStringLiteral("Shared")), nullptr);
    first.dataSets->Add()->SetDataSet(&shared);
    EXPECT_EQ(qvxFindDataSet(&first, nullptr, QStringLiteral("Shared")), &shared);
}

TEST(ReportDataSets, ItemsFollowTheirDataSets)
{
    TStubReport report;
    auto dataSet = std::make_unique<TqvxUserDataSet>();
    dataSet->SetUserName(QStringLiteral("Rows"));

    TqvxReportDataSets &list = *report.dataSets;
    TqvxDataSetItem *byObject = list.Add();
    byObject->SetDataSet(dataSet.get());
    TqvxDataSetItem *byName = list.Add();
    byName->SetDataSetName(QStringLiteral("rows"));
    EXPECT_EQ(byName->DataSet(), dataSet.get());
    EXPECT_EQ(list.Find(dataSet.get()), byObject);
    EXPECT_EQ(list.Find(QStringLiteral("ROWS")), byObject);

    list.Initialize();
    EXPECT_EQ(dataSet->ReportRef(), &report);

    // A renamed data set is known by its new name; a freed one is gone.
    dataSet->SetUserName(QStringLiteral("Lines"));
    EXPECT_EQ(byObject->DataSetName(), QStringLiteral("Lines"));
    dataSet.reset();
    EXPECT_EQ(byObject->DataSet(), nullptr);
    EXPECT_EQ(byObject->DataSetName(), QStringLiteral("Rows"));
    EXPECT_EQ(list.Find(QStringLiteral("Lines")), nullptr);
    list.Initialize();
    list.Finalize();
}

TEST(DataSet, ReportFilesKeepTheRangeFieldsAndWholePixelPosition)
{
    RegisterClass<TStubReport>();
    TStubReport report;
    report.SetName(QStringLiteral("Report1"));
    auto *dataSet = NewObject<TqvxUserDataSet>(&report);
    dataSet->SetName(QStringLiteral("UserDataSet1"));
    dataSet->SetUserName(QStringLiteral("Состав"));
    dataSet->SetRangeEnd(reCount);
    dataSet->SetRangeEndCount(5);
    dataSet->Fields()->SetText(QStringLiteral("line\n"));
    dataSet->SetLeft(10.6);
    dataSet->SetTop(20);

    TMemoryStream stream;
    report.SaveToStream(&stream);
    stream.SetPosition(0);
    TStubReport read;
    read.LoadFromStream(&stream);
    EXPECT_EQ(read.errors->Count(), 0) << read.errors->Text().toStdString();
    auto *copy = qobject_cast<TqvxUserDataSet *>(read.FindObject(QStringLiteral("UserDataSet1")));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->UserName(), QStringLiteral("Состав"));
    EXPECT_EQ(copy->RangeEnd(), reCount);
    EXPECT_EQ(copy->RangeEndCount(), 5);
    EXPECT_EQ(copy->Fields()->Strings(0), QStringLiteral("line"));
    EXPECT_EQ(copy->Left(), 11);
    EXPECT_EQ(copy->Top(), 20);
    EXPECT_EQ(copy->Width(), TqvxDialogComponent::IconSize);
}
