#include "report/RecordingServices.h"
#include "report/ReportTestClasses.h"
#include "report/report/qvxExportFilter.h"
#include "report/model/qvxRegistries.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/core/DateUtils.h"
#include "toolkit/core/Files.h"
#include "toolkit/widgets/ControlTypes.h"

#include "common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Writes one line per page and object and records the protocol calls.
class TTextFilter : public TqvxCustomExportFilter
{
public:
    using TqvxCustomExportFilter::TqvxCustomExportFilter;

    int ShowModal() override
    {
        calls.append(QStringLiteral("ShowModal"));
        return modalResult;
    }
    bool Start() override
    {
        calls.append(QStringLiteral("Start"));
        return startResult;
    }
    void StartPage(TqvxReportPage *, int index) override
    {
        calls.append(QStringLiteral("StartPage %1").arg(index));
        OutputStream()->WriteBuffer(QByteArray("page ") + QByteArray::number(index) + '\n');
    }
    void ExportObject(TqvxComponent *object) override
    {
        calls.append(object->Name());
        if (object->Name() == failOn)
            throw Exception(QStringLiteral("disk full"));
        OutputStream()->WriteBuffer(object->Name().toUtf8() + '\n');
        if (object->Name() == terminateOn)
            Report()->SetTerminated(true);
    }
    void FinishPage(TqvxReportPage *, int index) override { calls.append(QStringLiteral("FinishPage %1").arg(index)); }
    void Finish() override { calls.append(QStringLiteral("Finish")); }

    int modalResult = mrOk;
    bool startResult = true;
    QString failOn;
    QString terminateOn;
    QStringList calls;
};

class TUnregisteredFilter : public TTextFilter
{
public:
    TUnregisteredFilter() : TTextFilter(nullptr, false) {}
};

QByteArray fileBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Two pages of two objects each, exported to a file in a folder of its own
// that already holds the user's earlier export.
class ExportProtocol : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *name : {"Memo1", "Memo2", "Memo3", "Memo4"}) {
            auto *object = new TqvxComponent(&owner);
            object->SetName(QString::fromLatin1(name));
        }
        pages.pages = {{memo(0), memo(1)}, {memo(2), memo(3)}};
        fileName = dir.filePath(QStringLiteral("order.txt"));
        SaveFile(fileName, "earlier export\n");
        filter.SetFileName(fileName);
        filter.SetShowDialog(false);
    }

    TqvxComponent *memo(int index) { return static_cast<TqvxComponent *>(owner.Components(index)); }
    QStringList folderEntries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    QString fileName;
    TComponent owner;
    TTestReport report;
    TRecordingPreviewPages pages{&report};
    TTextFilter filter;
};

TEST_F(ExportProtocol, HandsOverEveryPageAndReplacesTheFileOnlyAtTheEnd)
{
    report.terminated = true; // left over from an earlier run
    int begun = 0;
    filter.SetOnBeginExport([&](TObject *sender) {
        EXPECT_EQ(sender, &filter);
        EXPECT_TRUE(filter.calls.isEmpty());
        ++begun;
    });
    const TDateTime before = Now();
    ASSERT_TRUE(pages.Export(&filter));

    EXPECT_EQ(begun, 1);
    EXPECT_EQ(filter.calls, QStringList({"Start", "StartPage 0", "Memo1", "Memo2", "FinishPage 0", "StartPage 1",
                                         "Memo3", "Memo4", "FinishPage 1", "Finish"}));
    EXPECT_EQ(filter.Report(), &report);
    EXPECT_GE(filter.CreationTime(), before);
    EXPECT_FALSE(report.terminated);
    EXPECT_EQ(fileBytes(fileName), QByteArray("page 0\nMemo1\nMemo2\npage 1\nMemo3\nMemo4\n"));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("order.txt")});
    EXPECT_EQ(pages.exported, QList<TqvxCustomExportFilter *>{&filter});
}

TEST_F(ExportProtocol, GoesOnlyAsFarAsTheDialogAndStartLetIt)
{
    filter.SetShowDialog(true);
    filter.modalResult = mrCancel;
    EXPECT_FALSE(pages.Export(&filter));
    EXPECT_EQ(filter.calls, QStringList{QStringLiteral("ShowModal")});

    filter.calls.clear();
    filter.modalResult = mrOk;
    filter.startResult = false;
    EXPECT_FALSE(pages.Export(&filter));
    EXPECT_EQ(filter.calls, QStringList({"ShowModal", "Start"}));

    EXPECT_FALSE(pages.Export(nullptr));
    EXPECT_EQ(fileBytes(fileName), QByteArray("earlier export\n"));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("order.txt")});
}

TEST_F(ExportProtocol, ATerminatedOrFailedExportLeavesTheUsersFileAsItWas)
{
    filter.terminateOn = QStringLiteral("Memo3");
    EXPECT_FALSE(pages.Export(&filter));
    // The page being exported still finishes; the export does not.
    EXPECT_EQ(filter.calls.mid(4), QStringList({"FinishPage 0", "StartPage 1", "Memo3", "FinishPage 1"}));
    EXPECT_EQ(fileBytes(fileName), QByteArray("earlier export\n"));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("order.txt")});

    filter.calls.clear();
    filter.terminateOn.clear();
    filter.failOn = QStringLiteral("Memo2");
    EXPECT_FALSE(pages.Export(&filter));
    EXPECT_EQ(pages.errorText, QStringLiteral("disk full"));
    EXPECT_EQ(fileBytes(fileName), QByteArray("earlier export\n"));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("order.txt")});
}

TEST_F(ExportProtocol, AFilterFreedInTheMiddleOfAnExportLeavesNoFileBehind)
{
    const QString newName = dir.filePath(QStringLiteral("new.txt"));
    {
        TTextFilter unfinished;
        unfinished.SetFileName(newName);
        unfinished.SetShowDialog(false);
        ASSERT_TRUE(unfinished.BeginExport(&report));
        ASSERT_TRUE(unfinished.StartExport());
        unfinished.StartPage(nullptr, 0);
        EXPECT_EQ(folderEntries().size(), 2);
    }
    EXPECT_FALSE(FileExists(newName));
    EXPECT_EQ(folderEntries(), QStringList{QStringLiteral("order.txt")});
}

TEST_F(ExportProtocol, WritesIntoTheCallersStreamAndLeavesItToTheCaller)
{
    TMemoryStream stream;
    {
        TTextFilter streaming;
        streaming.SetShowDialog(false);
        streaming.SetStream(&stream);
        ASSERT_TRUE(pages.Export(&streaming));
    }
    EXPECT_EQ(stream.Bytes(), QByteArray("page 0\nMemo1\nMemo2\npage 1\nMemo3\nMemo4\n"));
    stream.WriteBuffer(QByteArray("still mine"));
    EXPECT_EQ(fileBytes(fileName), QByteArray("earlier export\n"));
}

TEST(ExportFilter, EntersTheRegistryForItsLifetime)
{
    TqvxExportFilterCollection *registry = qvxExportFilters();
    const int before = registry->Count();
    {
        TTextFilter filter;
        ASSERT_EQ(registry->Count(), before + 1);
        EXPECT_EQ(registry->GetItem(before)->Filter, &filter);
        TUnregisteredFilter hidden;
        EXPECT_EQ(registry->Count(), before + 1);
    }
    EXPECT_EQ(registry->Count(), before);
}

TEST(ExportFilter, StartsWithTheSharedDefaults)
{
    TTextFilter filter;
    EXPECT_TRUE(filter.ShowDialog());
    EXPECT_TRUE(filter.UseFileCache());
    EXPECT_TRUE(filter.ShowProgress());
    EXPECT_FALSE(filter.OverwritePrompt());
    EXPECT_FALSE(filter.ExportNotPrintable());
    EXPECT_FALSE(filter.DataOnly());
    EXPECT_FALSE(filter.SlaveExport());
    EXPECT_TRUE(filter.DefaultPath().isEmpty());
    EXPECT_EQ(filter.Stream(), nullptr);
    EXPECT_EQ(filter.TqvxCustomExportFilter::ShowModal(), mrOk);
    EXPECT_TRUE(filter.TqvxCustomExportFilter::Start());
    EXPECT_TRUE(filter.GetDescription().isEmpty());
}

} // namespace
