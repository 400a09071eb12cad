// The report's events around databases and its custom data, and the choice
// of its printer.

#include "report/RecordingServices.h"
#include "report/data/qvxCustomDB.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/xml/qvxXMLItem.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/classes/TStrings.h"

#include <gtest/gtest.h>

namespace {

// A connection that records what it is told to do.
class TRecordingDatabase : public TqvxCustomDatabase
{
public:
    using TqvxCustomDatabase::TqvxCustomDatabase;

    bool GetConnected() override { return connected; }

    bool connected = false;
    QStringList calls;

protected:
    void DoSetConnected(bool value) override
    {
        calls << (value ? QStringLiteral("connect") : QStringLiteral("disconnect"));
        connected = value;
    }
};

// Two printers, the first current.
class TTwoPrinters : public TqvxPrinterList
{
public:
    TqvxPrinterDefaults CurrentDefaults() override { return {}; }
    QStringList Names() override { return {QStringLiteral("Office"), QStringLiteral("Labels")}; }
    void SetPrinterIndex(int index) override { current = index; }

    int current = 0;
};

class ReportEvents : public ::testing::Test
{
protected:
    void SetUp() override
    {
        report = std::make_unique<TqvxReport>();
        report->EngineOptions()->SetNewSilentMode(simSilent);
        database = new TRecordingDatabase(report.get());
        database->SetParent(report.get());
        database->SetName(QStringLiteral("Database1"));
    }

    TRecordingServicesScope services;
    std::unique_ptr<TqvxReport> report;
    TRecordingDatabase *database = nullptr;
};

TEST_F(ReportEvents, TheReportMayRefuseAConnectionAndHearsOfADisconnection)
{
    QStringList heard;
    bool allow = false;
    report->OnBeforeConnect = [&](TqvxCustomDatabase *sender, bool &connected) {
        heard << QStringLiteral("before ") + sender->Name();
        connected = allow;
    };
    report->OnAfterDisconnect = [&](TqvxCustomDatabase *sender) { heard << QStringLiteral("after ") + sender->Name(); };

    database->SetConnected(true);
    EXPECT_FALSE(database->GetConnected());
    EXPECT_TRUE(database->calls.isEmpty());
    allow = true;
    database->SetConnected(true);
    database->SetConnected(false);
    EXPECT_EQ(database->calls, (QStringList{"connect", "disconnect"}));
    EXPECT_EQ(heard, (QStringList{"before Database1", "before Database1", "after Database1"}));

    // Outside a report a connection is nobody's to refuse.
    TRecordingDatabase alone;
    alone.SetConnected(true);
    EXPECT_TRUE(alone.GetConnected());
}

TEST(ReportCustomData, TravelsWithTheReportFile)
{
    TRecordingServicesScope services;
    TqvxReport saved;
    saved.SetOnSaveCustomData(
        [](TqvxXMLItem *item) { item->SetProp(QStringLiteral("Licence"), QStringLiteral("A-17")); });
    TMemoryStream stream;
    saved.SaveToStream(&stream);

    TqvxReport loaded;
    loaded.EngineOptions()->SetNewSilentMode(simSilent);
    QString read;
    loaded.SetOnGetCustomData([&](TqvxXMLItem *item) { read = item->GetProp(QStringLiteral("Licence")); });
    stream.SetPosition(0);
    loaded.LoadFromStream(&stream);
    EXPECT_EQ(read, QStringLiteral("A-17"));
    EXPECT_EQ(loaded.Errors()->Count(), 0);
}

TEST_F(ReportEvents, SelectPrinterTakesTheNamedPrinterWhenItIsInstalled)
{
    TTwoPrinters printers;
    qvxSetPrinters(&printers);
    report->PrintOptions()->SetPrinter(QStringLiteral("labels"));
    report->SelectPrinter();
    EXPECT_EQ(printers.current, 1);
    report->PrintOptions()->SetPrinter(QStringLiteral("Warehouse"));
    report->SelectPrinter();
    EXPECT_EQ(printers.current, 1);
    qvxSetPrinters(nullptr);
}

} // namespace
