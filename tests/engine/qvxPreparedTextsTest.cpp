// The texts the preview's search reads of prepared pages come from the
// stored pages without building them where they can.  Whatever the page,
// they must be the texts, flags and rectangles of the text objects a built
// page shows in the preview: pages in memory, in the swap file, saved and
// loaded whole or partly, pages changed after they were prepared, and
// reports that mix every kind of memo and object.

#include "EngineTestReport.h"

#include "report/base/qvxViewTypes.h"
#include "report/components/qvxFormat.h"
#include "report/components/qvxHighlight.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxShapeView.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

namespace {

const char rowScript[] =
    "procedure RowBefore(Sender: Variant);\n"
    "begin\n"
    "  Hidden.Visible := <Line#> mod 3 <> 0;\n"
    "  if <Line#> mod 4 = 0 then Colored.Font.Color := clRed else Colored.Font.Color := clBlack;\n"
    "  Moved.Left := 300 + (<Line#> mod 5) * 10;\n"
    "  Tagged.AutoWidth := <Line#> mod 2 = 0;\n"
    "end;\n"
    "begin end.";

// Rows of texts of different lengths (stretching their memos) and prices,
// some hidden, moved, coloured or sizing their own width by the script; on
// the first page a title with a memo aligned to the right.
struct TMemoKindsReport : TEngineTestReport {
    explicit TMemoKindsReport(int rowCount = 120)
    {
        QList<QHash<QString, Variant>> rows;
        for (int i = 0; i < rowCount; ++i)
            rows.append({{QStringLiteral("T"), QString(QStringLiteral("строка %1 ").arg(i)).repeated(1 + i % 7)},
                         {QStringLiteral("P"), Variant(i * 12.345)}});
        TMemoryDataSet *data = dataSet("Rows", rows);
        report->ScriptText()->SetText(QString::fromLatin1(rowScript));

        auto *title = band<TqvxReportTitle>("Title", 0, 60);
        memo(title, "Heading", QStringLiteral("Заказ\r\nна выключатели\r\n"), 0, 0, 300, 40);
        memo(title, "Corner", QStringLiteral("угол"), 0, 0, 60, 18)->SetAlign(baRight);
        auto *header = band<TqvxPageHeader>("Header", 80, 20);
        memo(header, "Pages", QStringLiteral("Page [Page#] of [TotalPages#]"), 0, 0, 200, 18);
        memo(header, "Quoted", QStringLiteral("A&B \"в кавычках\" 1<2 <i>кур</i>сив"), 320, 0, 200, 18);
        auto *rowsBand = band<TqvxMasterData>("RowsBand", 120, 20);
        rowsBand->SetDataSet(data);
        rowsBand->SetOnBeforePrint(QStringLiteral("RowBefore"));
        rowsBand->SetStretched(true);
        memo(rowsBand, "Text", QStringLiteral("[Line#]: [Rows.\"T\"]"), 0, 0, 200, 18)->SetStretchMode(smMaxHeight);
        memo(rowsBand, "Hidden", QStringLiteral("hidden [Line#]"), 210, 0, 80, 18);
        memo(rowsBand, "Colored", QStringLiteral("colour [Line#]"), 400, 0, 80, 18);
        memo(rowsBand, "Moved", QStringLiteral("[Line#]"), 300, 0, 40, 18);
        memo(rowsBand, "Tagged", QStringLiteral("<b>жирный</b> [Line#]"), 480, 0, 60, 18)->SetAllowHTMLTags(true);
        TqvxMemoView *lit = memo(rowsBand, "Lit", QStringLiteral("[Line#]"), 540, 0, 30, 18);
        lit->Highlight()->SetCondition(QStringLiteral("<Line#> mod 2 = 0"));
        lit->Highlight()->SetFillType(ftBrush);
        lit->Highlight()->SetColor(0x00FF00);
        TqvxMemoView *price = memo(rowsBand, "Price", QStringLiteral("[Rows.\"P\"]"), 570, 0, 60, 18);
        price->DisplayFormat()->SetKind(fkNumeric);
        price->DisplayFormat()->SetFormatStr(QStringLiteral("%2.2f"));
        memo(rowsBand, "Printed", QStringLiteral("printed [Line#]"), 630, 0, 40, 18)
            ->SetVisibility(TqvxVisibilityTypes(vsPrint) | vsExport);
        memo(rowsBand, "Empty", QString(), 670, 0, 20, 18);
        auto *shape = new TqvxShapeView(rowsBand);
        shape->SetName(QStringLiteral("Shape"));
        shape->SetBounds(690, 0, 20, 18);
        auto *line = new TqvxLineView(rowsBand);
        line->SetName(QStringLiteral("Line"));
        line->SetBounds(0, 19, 700, 0);
        auto *footer = band<TqvxPageFooter>("Footer", 1000, 20);
        memo(footer, "Number", QStringLiteral("[Page#]/[TotalPages#]"), 0, 0, 100, 18);
    }
};

QStringList described(const TqvxPageTexts &texts)
{
    QStringList lines;
    for (const TqvxPageText &text : texts)
        lines << QStringLiteral("%1 html=%2 at %3,%4 %5x%6")
                     .arg(text.Text)
                     .arg(text.HTMLTags)
                     .arg(text.Left, 0, 'g', 17)
                     .arg(text.Top, 0, 'g', 17)
                     .arg(text.Width, 0, 'g', 17)
                     .arg(text.Height, 0, 'g', 17);
    return lines;
}

// What the search reads of a built page of a report of totalPages pages:
// each memo that is visible and meant for the preview, placed on the page
// with its margins, with the text its drawing shows.
QStringList builtTexts(TqvxReportPage *page, int totalPages)
{
    TqvxPageTexts texts;
    const double left = page->LeftMargin() * qv01cm;
    const double top = page->TopMargin() * qv01cm;
    for (TqvxComponent *object : page->GetAllObjects()) {
        auto *memo = qobject_cast<TqvxCustomMemoView *>(object);
        if (!memo || !memo->Visible() || !memo->Visibility().testFlag(vsPreview))
            continue;
        QString text = memo->Text();
        if (memo->AllowExpressions())
            TqvxCustomMemoView::PutPageMacros(text, totalPages, 0);
        texts.append({text, memo->AllowHTMLTags(), left + memo->GetAbsLeft(), top + memo->GetAbsTop(), memo->Width(),
                      memo->Height()});
    }
    return described(texts);
}

// Reads every page of store through PageTexts (nothing cached), then
// builds each and expects the same.
void expectStoredTextsAsBuilt(TqvxPreviewPages *store)
{
    ASSERT_GE(store->Count(), 3);
    store->ClearPageCache();
    QList<QStringList> read;
    for (int i = 0; i < store->Count(); ++i)
        read << described(store->PageTexts(i));
    for (int i = 0; i < store->Count(); ++i)
        EXPECT_EQ(read.at(i).join(u'\n').toStdString(), builtTexts(store->GetPage(i), store->Count()).join(u'\n').toStdString())
            << "page " << i;
    EXPECT_TRUE(store->PageTexts(store->Count()).isEmpty());
    EXPECT_TRUE(store->PageTexts(-1).isEmpty());
}

// The texts of page index as the search lines them up: tags taken out
// where the object reads them, blanks folded, texts of blanks left out.
QStringList searchedTexts(TqvxPreviewPages *store, int index)
{
    QStringList texts;
    for (const TqvxPageText &text : store->PageTexts(index)) {
        const QString searched = qvxSearchedText(text.HTMLTags ? qvxTextWithoutTags(text.Text) : text.Text).trimmed();
        if (!searched.isEmpty())
            texts << searched;
    }
    return texts;
}

bool swappedOut(TqvxPreviewPages *store, int index)
{
    TqvxXMLItem *pages = store->PagesItem();
    return pages->Compacted(index) || (pages->Items(index)->Unloadable() && !pages->Items(index)->Loaded());
}

// Whatever the search may find on a page, the look at its texts never
// says the page cannot show it: each text, in another letter case too,
// its first and last word, and its last word with the first of the next
// (a line may join them).  A word of no page is never there.  Answers how
// many pages were looked at in the swap file or the source stream.
int expectTextsShownAsRead(TqvxPreviewPages *store)
{
    const QString nowhere = QStringLiteral("отсутствует");
    int stored = 0;
    for (int i = 0; i < store->Count(); ++i) {
        const QStringList texts = searchedTexts(store, i);
        store->ClearPageCache();
        stored += swappedOut(store, i);
        QStringList sought;
        // Texts from all over the page: a few, as each look reads the page.
        for (qsizetype t = 0; t < texts.size(); t += std::max<qsizetype>(1, texts.size() / 8)) {
            const QStringList words = texts.at(t).split(u' ');
            sought << texts.at(t) << words.first() << words.last();
            if (t + 1 < texts.size())
                sought << words.last() + u' ' + texts.at(t + 1).split(u' ').first();
        }
        sought.removeDuplicates();
        for (const QString &text : std::as_const(sought)) {
            EXPECT_TRUE(store->PageMayShowText(i, text, true)) << "page " << i << ' ' << text.toStdString();
            EXPECT_TRUE(store->PageMayShowText(i, text.toUpper(), false)) << "page " << i << ' ' << text.toStdString();
        }
        EXPECT_FALSE(store->PageMayShowText(i, nowhere, false)) << "page " << i;
        if (!texts.isEmpty()) {
            EXPECT_FALSE(store->PageMayShowText(i, texts.first() + u' ' + nowhere, false)) << "page " << i;
        }
    }
    EXPECT_FALSE(store->PageMayShowText(store->Count(), nowhere, false));
    EXPECT_FALSE(store->PageMayShowText(-1, nowhere, false));
    return stored;
}

} // namespace

TEST(PreparedTexts, StoredPagesAreReadAsTheirBuiltObjectsShowThem)
{
    TMemoKindsReport test;
    ASSERT_TRUE(test.prepare()) << TEngineTestReport::lines(test.errors());
    expectStoredTextsAsBuilt(test.store());
    expectTextsShownAsRead(test.store());
    // Escaped in the stored text; words of one text that no text ends and
    // starts with, in their wrong order; a case that is not there.
    TqvxPreviewPages *store = test.store();
    EXPECT_TRUE(store->PageMayShowText(0, QStringLiteral("A&B \"в кавычках\" 1<2"), true));
    EXPECT_FALSE(store->PageMayShowText(0, QStringLiteral("на Заказ"), false));
    EXPECT_TRUE(store->PageMayShowText(0, QStringLiteral("заказ на"), false));
    EXPECT_FALSE(store->PageMayShowText(0, QStringLiteral("заказ на"), true));
    // The texts read hold what the kinds of memos make of them.
    const QString pages = described(test.store()->PageTexts(0)).join(u'\n');

    EXPECT_TRUE(pages.contains(QStringLiteral("<b>жирный</b> 2\r\n html=1")));
    EXPECT_TRUE(pages.contains(QStringLiteral("Page 1 of %1").arg(store->Count())));
    EXPECT_TRUE(pages.contains(QStringLiteral("угол\r\n html=0 at 695.9")));
    EXPECT_TRUE(pages.contains(QStringLiteral("hidden 2")));
    EXPECT_FALSE(pages.contains(QStringLiteral("hidden 3")));
    EXPECT_FALSE(pages.contains(QStringLiteral("printed")));
}

TEST(PreparedTexts, PagesInTheSwapFileOrLoadedFromAFileAreReadAsBuilt)
{
    TMemoKindsReport test(200);
    test.report->EngineOptions()->SetUseFileCache(true);
    test.report->EngineOptions()->SetMaxMemSize(0);
    ASSERT_TRUE(test.prepare()) << TEngineTestReport::lines(test.errors());
    EXPECT_GE(expectTextsShownAsRead(test.store()), test.store()->Count() / 2);
    expectStoredTextsAsBuilt(test.store());

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("kinds.qp3"));
    test.store()->SaveToFile(fileName);
    TMemoKindsReport loaded(200);
    ASSERT_TRUE(loaded.store()->LoadFromFile(fileName, true));
    expectTextsShownAsRead(loaded.store());
    expectStoredTextsAsBuilt(loaded.store());

    // Partly loaded: each page is read from the file when first asked for.
    TMemoKindsReport partly(200);
    auto stream = std::make_unique<TFileStream>(fileName, fmOpenRead | fmShareDenyWrite);
    partly.store()->LoadFromStream(stream.get(), true);
    EXPECT_GE(expectTextsShownAsRead(partly.store()), partly.store()->Count() / 2);
    expectStoredTextsAsBuilt(partly.store());
    partly.store()->Clear();
}

TEST(PreparedTexts, ChangedPagesAreReadAsTheyNowAre)
{
    TMemoKindsReport test;
    ASSERT_TRUE(test.prepare()) << TEngineTestReport::lines(test.errors());
    TqvxPreviewPages *store = test.store();
    ASSERT_GE(store->Count(), 3);

    // A script in the preview changes the page the cache holds.
    auto *clicked = qobject_cast<TqvxMemoView *>(store->GetPage(1)->FindObject(QStringLiteral("Text")));
    ASSERT_NE(clicked, nullptr);
    clicked->SetText(QStringLiteral("нажато"));
    EXPECT_TRUE(described(store->PageTexts(1)).join(u'\n').contains(QStringLiteral("нажато")));
    EXPECT_TRUE(store->PageMayShowText(1, QStringLiteral("нажато"), true));

    // A page edited in the preview is stored whole.
    TqvxReportPage *edited = store->GetPage(2);
    qobject_cast<TqvxMemoView *>(edited->FindObject(QStringLiteral("Price")))->SetText(QStringLiteral("правка"));
    store->ModifyPage(2, edited);
    expectStoredTextsAsBuilt(store);
    expectTextsShownAsRead(store);
    EXPECT_TRUE(store->PageMayShowText(2, QStringLiteral("правка"), true));
    EXPECT_TRUE(described(store->PageTexts(2)).join(u'\n').contains(QStringLiteral("правка")));

    store->AddEmptyPage(0);
    store->DeletePage(3);
    expectStoredTextsAsBuilt(store);
    expectTextsShownAsRead(store);
    EXPECT_TRUE(store->PageTexts(0).isEmpty());
}

// A page shows its page count where the memo has "[TotalPages#]", and a
// value that holds the macro shows it as it is, beside the template's own:
// the page drawn, the texts the search reads and the look at its texts
// agree on that, in memory, in the swap file and loaded from a file.
TEST(PreparedTexts, PageCountMacrosAreReadAsThePageShowsThem)
{
    const auto makeReport = [](TEngineTestReport &test) {
        QList<QHash<QString, Variant>> rows;
        for (int i = 0; i < 150; ++i)
            rows.append({{QStringLiteral("Org"), QStringLiteral("[TotalPages#]")}});
        TMemoryDataSet *data = test.dataSet("Rows", rows);
        auto *header = test.band<TqvxPageHeader>("Header", 0, 20);
        test.memo(header, "Pages", QStringLiteral("Страница [Page#] из [TotalPages#], заказчик [Rows.\"Org\"]"), 0, 0,
                  600, 18);
        auto *rowsBand = test.band<TqvxMasterData>("RowsBand", 40, 20);
        rowsBand->SetDataSet(data);
        test.memo(rowsBand, "Row", QStringLiteral("строка [Line#]"), 0, 0, 200, 18);
    };
    const auto expectShown = [](TqvxPreviewPages *store) {
        ASSERT_EQ(store->Count(), 3);
        for (int i = 0; i < store->Count(); ++i) {
            const QString shown = QStringLiteral("Страница %1 из 3, заказчик [TotalPages#]").arg(i + 1);
            store->ClearPageCache();
            EXPECT_TRUE(store->PageMayShowText(i, QStringLiteral("из 3"), true)) << i;
            EXPECT_TRUE(store->PageMayShowText(i, shown, true)) << i;
            EXPECT_FALSE(store->PageMayShowText(i, QStringLiteral("из 4"), true)) << i;
            EXPECT_TRUE(searchedTexts(store, i).contains(shown)) << searchedTexts(store, i).join(u'|').toStdString();
            // Drawn twice, as a preview repaints.
            for (int pass = 0; pass < 2; ++pass) {
                TRecordingCanvas canvas;
                store->DrawPage(i, &canvas, 1, 1, 0, 0);
                QStringList drawn;
                for (const TCanvasRecord &line : canvas.TextRecords())
                    drawn << line.Text;
                EXPECT_TRUE(drawn.contains(shown)) << drawn.join(u'|').toStdString();
                EXPECT_TRUE(searchedTexts(store, i).contains(shown)) << "from the cached page";
                EXPECT_TRUE(store->PageMayShowText(i, shown, true)) << "the cached page";
            }
        }
    };

    TEngineTestReport test;
    makeReport(test);
    ASSERT_TRUE(test.prepare()) << TEngineTestReport::lines(test.errors());
    expectShown(test.store());

    TEngineTestReport swapped;
    makeReport(swapped);
    swapped.report->EngineOptions()->SetUseFileCache(true);
    swapped.report->EngineOptions()->SetMaxMemSize(0);
    ASSERT_TRUE(swapped.prepare()) << TEngineTestReport::lines(swapped.errors());
    expectShown(swapped.store());

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("pages.qp3"));
    test.store()->SaveToFile(fileName);
    TEngineTestReport loaded;
    ASSERT_TRUE(loaded.store()->LoadFromFile(fileName, true));
    expectShown(loaded.store());
}
