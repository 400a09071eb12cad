#include "report/RecordingServices.h"
#include "report/ReportTestClasses.h"
#include "report/model/qvxCustomProgress.h"
#include "report/model/qvxGlobals.h"
#include "report/model/qvxServices.h"
#include "toolkit/classes/TList.h"
#include "toolkit/core/Exceptions.h"

#include "common/TestSupport.h"

#include <QRecursiveMutex>
#include <gtest/gtest.h>

namespace {

TEST(ReportServices, AreMadeOnlyByInstalledMakersAndNamedWhenMissing)
{
    qvxRemoveServices();
    TTestReport report;
    try {
        qvxNewEngine(&report);
        FAIL() << "an engine without a maker";
    } catch (const Exception &e) {
        EXPECT_EQ(e.Message(), QStringLiteral("No report engine is installed"));
    }
    EXPECT_THROW(qvxNewPreviewPages(&report), Exception);
    EXPECT_THROW(qvxNewPreviewForm(), Exception);
    EXPECT_EQ(qvxNewProgress(), nullptr);

    TqvxServices services;
    services.NewEngine = [](TqvxReportLink *r) { return new TRecordingEngine(r); };
    qvxInstallServices(services);
    services = {};
    services.NewPreviewPages = [](TqvxReportLink *r) { return new TRecordingPreviewPages(r); };
    qvxInstallServices(services); // keeps the engine's maker

    std::unique_ptr<TqvxCustomEngine> engine(qvxNewEngine(&report));
    std::unique_ptr<TqvxCustomPreviewPages> pages(qvxNewPreviewPages(&report));
    EXPECT_NE(qobject_cast<TRecordingEngine *>(engine.get()), nullptr);
    EXPECT_EQ(engine->Report(), &report);
    EXPECT_EQ(pages->Report(), &report);
    qvxRemoveServices();
    EXPECT_FALSE(qvxServices().NewEngine);
}

TEST(ReportServices, EngineKeepsTheRunFieldsScriptsRead)
{
    TTestReport report;
    TRecordingEngine engine(&report);
    ASSERT_NE(engine.NotifyList(), nullptr);
    EXPECT_EQ(engine.NotifyList()->Count(), 0);
    EXPECT_FALSE(engine.Running());
    engine.onRun = [&] { EXPECT_TRUE(engine.Running()); };
    EXPECT_TRUE(engine.Run(true, false, nullptr));
    EXPECT_EQ(engine.calls, QStringList{QStringLiteral("Run(1,0,none)")});

    // Published fields go through the same getters as C++ callers.
    engine.SetPageHeight(700.5);
    engine.SetCurY(12.25);
    EXPECT_DOUBLE_EQ(engine.property("PageHeight").toDouble(), 700.5);
    EXPECT_DOUBLE_EQ(engine.property("CurY").toDouble(), 12.25);
    EXPECT_TRUE(engine.setProperty("CurColumn", 2));
    EXPECT_EQ(engine.CurColumn(), 2);
}

TEST(ReportServices, PreparedPagesOwnTheirOutline)
{
    TTestReport report;
    const int freed = TRecordingOutline::freed;
    {
        TRecordingPreviewPages pages(&report);
        ASSERT_NE(pages.Outline(), nullptr);
        EXPECT_EQ(pages.Outline()->PreviewPages(), &pages);
        EXPECT_EQ(pages.CurPage(), -1);
        EXPECT_EQ(pages.AddPageAction(), apWriteOver);
    }
    EXPECT_EQ(TRecordingOutline::freed, freed + 1);
}

TEST(ReportLibraryGlobals, ExistWhileTheUnitRuns)
{
    QRecursiveMutex *lock = qvxLibraryLock();
    ASSERT_NE(lock, nullptr);
    lock->lock();
    EXPECT_TRUE(lock->tryLock()); // recursive: the loader may take it again
    lock->unlock();
    lock->unlock();

    // The page hand is not the pointing hand of a link.
    EXPECT_EQ(QtCursorShape(crHand), Qt::OpenHandCursor);
    EXPECT_NE(QtCursorShape(crHand), QtCursorShape(crHandPoint));
    EXPECT_NE(QtCursorShape(crZoom), Qt::ArrowCursor);
    EXPECT_NE(QtCursorShape(crFormat), Qt::ArrowCursor);
    EXPECT_EQ(QtCursorShape(153), Qt::ArrowCursor);

    ASSERT_NE(qvxQV2Events(), nullptr);
    EXPECT_FALSE(qvxQV2Events()->OnGetValue);
    EXPECT_FALSE(qvxQV2Events()->OnUnknownName);
    EXPECT_FALSE(qvxQV2Events()->OnPrepareScript);
}

} // namespace
