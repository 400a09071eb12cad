// An export without a preview keeps the objects of each exported page and
// refills them for the next one.  What the filter sees must not depend on
// it: the same walk with a preview attached (which rebuilds every page
// afresh through the page cache) shows the filter the very same objects.

#include "EngineTestReport.h"

#include "common/RecordingPreview.h"
#include "report/base/TWideStrings.h"
#include "report/components/qvxHighlight.h"
#include "report/model/qvxXMLSerializer.h"
#include "report/pages/qvxBands.h"
#include "report/report/qvxExportFilter.h"
#include "report/views/qvxMemoView.h"
#include "report/views/qvxShapeView.h"
#include "toolkit/classes/ObjectHandles.h"

#include <gtest/gtest.h>

#include <QSet>
#include <QTemporaryDir>

namespace {

// Writes down every object it is given: its class, name, parent, bounds,
// visibility and all its stored values, defaults included.
class TDumpingFilter : public TqvxCustomExportFilter
{
public:
    TDumpingFilter() { SetShowDialog(false); }

    void ExportObject(TqvxComponent *object) override
    {
        TqvxXMLSerializer serializer;
        serializer.SetSerializeDefaultValues(true);
        QString line = QStringLiteral("%1 in %2 at %3,%4 %5x%6 visible=%7 ")
                           .arg(object->Name(), object->Parent() ? object->Parent()->Name() : QStringLiteral("-"))
                           .arg(object->Left())
                           .arg(object->Top())
                           .arg(object->Width())
                           .arg(object->Height())
                           .arg(object->Visible());
        line += serializer.WriteComponentStr(object);
        if (auto *memo = qobject_cast<TqvxCustomMemoView *>(object))
            line += QStringLiteral(" text=") + memo->Text() + QStringLiteral(" font=") + memo->Font()->Name()
                + QString::number(memo->Font()->Color()) + QString::number(memo->Font()->Style().toInt());
        objects << line;
        if (object->Name() != QStringLiteral("_pagebackground"))
            births.insert(ObjectHandleRegistry::Generation(object));
    }
    void StartPage(TqvxReportPage *page, int index) override
    {
        TqvxCustomExportFilter::StartPage(page, index);
        objects << QStringLiteral("page %1").arg(index);
    }

    QStringList objects;
    QSet<quint32> births;
};

const char rowScript[] =
    "procedure RowBefore(Sender: Variant);\n"
    "begin\n"
    "  Hidden.Visible := <Line#> mod 3 <> 0;\n"
    "  if <Line#> mod 4 = 0 then Colored.Font.Color := clRed else Colored.Font.Color := clBlack;\n"
    "  Moved.Left := 300 + (<Line#> mod 5) * 10;\n"
    "end;\n"
    "begin end.";

// A report of several pages whose rows differ in every way a printed object
// can: texts of different lengths stretching their memos, visibility, font,
// position, highlights, memos sizing their own width, page numbers resolved
// after the run; a title on the first page only and a shape on every row.
struct TMixedReport : TEngineTestReport {
    TMixedReport()
    {
        QList<QHash<QString, Variant>> rows;
        for (int i = 0; i < 150; ++i)
            rows.append({{QStringLiteral("T"), QString(QStringLiteral("строка %1 ").arg(i)).repeated(1 + i % 7)}});
        TMemoryDataSet *data = dataSet("Rows", rows);
        report->ScriptText()->SetText(QString::fromLatin1(rowScript));

        auto *title = band<TqvxReportTitle>("Title", 0, 40);
        memo(title, "TitleText", QStringLiteral("Заказ"), 0, 0, 300, 30);
        auto *header = band<TqvxPageHeader>("Header", 60, 20);
        memo(header, "Pages", QStringLiteral("Page [Page#] of [TotalPages#]"), 0, 0, 200, 18);
        auto *rowsBand = band<TqvxMasterData>("RowsBand", 100, 20);
        rowsBand->SetDataSet(data);
        rowsBand->SetOnBeforePrint(QStringLiteral("RowBefore"));
        rowsBand->SetStretched(true);
        TqvxMemoView *text = memo(rowsBand, "Text", QStringLiteral("[Line#]: [Rows.\"T\"]"), 0, 0, 200, 18);
        text->SetStretchMode(smMaxHeight);
        memo(rowsBand, "Hidden", QStringLiteral("hidden [Line#]"), 210, 0, 80, 18);
        memo(rowsBand, "Colored", QStringLiteral("colour [Line#]"), 400, 0, 80, 18);
        memo(rowsBand, "Moved", QStringLiteral("[Line#]"), 300, 0, 40, 18);
        TqvxMemoView *lit = memo(rowsBand, "Lit", QStringLiteral("[Line#]"), 500, 0, 40, 18);
        lit->Highlight()->SetCondition(QStringLiteral("<Line#> mod 2 = 0"));
        lit->Highlight()->SetApplyFill(true);
    lit->Highlight()->SetFillType(ftBrush);
        lit->Highlight()->SetColor(0x00FF00);
        TqvxMemoView *autoWidth = memo(rowsBand, "Auto", QStringLiteral("[Rows.\"T\"]"), 550, 0, 20, 18);
        autoWidth->SetAutoWidth(true);
        TqvxMemoView *right = memo(rowsBand, "Right", QStringLiteral("[Line#]"), 680, 0, 30, 18);
        right->SetAlign(baRight);
        auto *shape = new TqvxShapeView(rowsBand);
        shape->SetName(QStringLiteral("Shape"));
        shape->SetBounds(600, 0, 20, 18);
        auto *footer = band<TqvxPageFooter>("Footer", 1000, 20);
        memo(footer, "Number", QStringLiteral("[Page#]/[TotalPages#]"), 0, 0, 100, 18);
    }
};

// Exports report's prepared pages without a preview and again with one,
// and expects the filter to have seen the same objects, far fewer of them
// made in the first walk.
void expectRefillsAsRebuilt(TqvxReport *report)
{
    TDumpingFilter refilled;
    ASSERT_TRUE(report->Export(&refilled)) << report->Errors()->Text().toStdString();

    TRecordingPreview preview;
    report->SetPreview(&preview);
    TDumpingFilter afresh;
    ASSERT_TRUE(report->Export(&afresh));
    report->SetPreview(nullptr);

    ASSERT_EQ(refilled.objects.size(), afresh.objects.size());
    for (qsizetype i = 0; i < afresh.objects.size(); ++i)
        ASSERT_EQ(refilled.objects.at(i).toStdString(), afresh.objects.at(i).toStdString()) << "object " << i;
    EXPECT_LT(refilled.births.size() * 2, afresh.births.size());

    // A second walk gives the same again.
    TDumpingFilter again;
    ASSERT_TRUE(report->Export(&again));
    EXPECT_EQ(again.objects, afresh.objects);
}

} // namespace

TEST(PreparedRefill, AnExportShowsTheFilterTheSameObjectsAsPagesRebuiltAfresh)
{
    TMixedReport test;
    ASSERT_TRUE(test.prepare()) << TEngineTestReport::lines(test.errors());
    ASSERT_GE(test.pageCount(), 3);
    expectRefillsAsRebuilt(test.report.get());
}

TEST(PreparedRefill, PagesReadBackFromTheFileCacheOrASavedFileRefillAlike)
{
    TMixedReport test;
    test.report->EngineOptions()->SetUseFileCache(true);
    test.report->EngineOptions()->SetMaxMemSize(0);
    ASSERT_TRUE(test.prepare()) << TEngineTestReport::lines(test.errors());
    expectRefillsAsRebuilt(test.report.get());

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("mixed.qp3"));
    test.store()->SaveToFile(fileName);
    TMixedReport loaded;
    ASSERT_TRUE(loaded.store()->LoadFromFile(fileName, true));
    ASSERT_EQ(loaded.pageCount(), test.pageCount());
    expectRefillsAsRebuilt(loaded.report.get());
}

TEST(PreparedRefill, PagesReadForOneLookAreTheCachedPagesAndLeaveTheCacheAlone)
{
    TMixedReport test;
    ASSERT_TRUE(test.prepare()) << TEngineTestReport::lines(test.errors());
    TqvxPreviewPages *store = test.store();
    const auto dump = [](TqvxComponent *page) {
        QStringList lines;
        TqvxXMLSerializer serializer;
        serializer.SetSerializeDefaultValues(true);
        for (TqvxComponent *object : page->GetAllObjects())
            lines << object->Name() + QLatin1Char(' ') + serializer.WriteComponentStr(object);
        return lines;
    };

    // Read twice over, so that the second time every object is a refilled
    // one, against the pages the cache rebuilds.
    QList<QStringList> read;
    for (int round = 0; round < 2; ++round)
        for (int i = 0; i < test.pageCount(); ++i)
            store->ReadPageObject(i, [&](TqvxComponent *page) {
                ASSERT_NE(page, nullptr);
                read << dump(page);
            });
    for (int i = 0; i < test.pageCount(); ++i) {
        const QStringList rebuilt = dump(store->GetPageObject(i));
        EXPECT_EQ(read.at(i), rebuilt) << "page " << i;
        EXPECT_EQ(read.at(test.pageCount() + i), rebuilt) << "page " << i << ", read again";
    }

    // A cached page is the one read, and reading others evicts nothing.
    TqvxComponent *first = store->GetPageObject(0);
    store->ReadPageObject(0, [&](TqvxComponent *page) { EXPECT_EQ(page, first); });
    store->ReadPageObject(test.pageCount() - 1, [](TqvxComponent *) {});
    EXPECT_EQ(store->GetPageObject(0), first);
    store->ReadPageObject(test.pageCount(), [](TqvxComponent *page) { EXPECT_EQ(page, nullptr); });
}
