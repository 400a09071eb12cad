// Pages filled to the last pixel, memos split over pages, and subreports
// on bands printed at the top of every page.

#include "EngineTestReport.h"
#include "common/WordsParagraph.h"

#include "engine/qvxEngine.h"
#include "report/base/TWideStrings.h"
#include "report/base/qvxNumbers.h"
#include "report/components/qvxFrame.h"
#include "report/pages/qvxSubreport.h"

#include "toolkit/graphics/RecordingCanvas.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

int countBands(const QStringList &bands, const QString &name)
{
    int count = 0;
    for (const QString &line : bands)
        count += line.startsWith(name + QLatin1Char(' ')) ? 1 : 0;
    return count;
}

// A page of the report holding a data band of `rows` rows named name.
TqvxReportPage *subreportPage(TEngineTestReport &test, const char *name, int rows)
{
    auto *page = new TqvxReportPage(test.report.get());
    page->SetName(QString::fromLatin1(name) + QStringLiteral("Page"));
    auto *data = new TqvxMasterData(page);
    data->SetName(QString::fromLatin1(name));
    data->SetBounds(0, 0, 200, 10);
    data->SetRowCount(rows);
    return page;
}

TqvxSubreport *subreport(TqvxBand *host, const char *name, double left, TqvxReportPage *page)
{
    auto *result = new TqvxSubreport(host);
    result->SetName(QString::fromLatin1(name));
    result->SetBounds(left, 0, 100, 10);
    result->SetPage(page);
    return result;
}

// What a memo draws, its blanks and hyphens left out.
QString drawnLetters(TqvxMemoView *memo)
{
    TRecordingCanvas canvas;
    memo->Draw(&canvas, 1, 1, 0, 0);
    QString letters;
    for (const TCanvasRecord &record : canvas.TextRecords())
        letters += record.Text;
    return letters.remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
}

// A child band "Text" that splits, holding "Memo1", 300 x 40, which grows
// to its text; the report shows the band once.
TqvxMemoView *splitMemo(TEngineTestReport &test)
{
    auto *band = test.band<TqvxChild>("Text", 0, 40);
    band->SetAllowSplit(true);
    band->SetStretched(true);
    auto *memo = test.memo(band, "Memo1", QString(), 0, 0, 300, 40);
    memo->SetStretchMode(smActualHeight);
    test.report->OnManualBuild = [&test, band](TqvxPage *) {
        static_cast<TqvxEngine *>(test.report->Engine())->ShowBand(band);
    };
    return memo;
}

// The parts of "Memo1" on the prepared pages, in page order.
QList<TqvxMemoView *> memoParts(const TEngineTestReport &test)
{
    QList<TqvxMemoView *> parts;
    for (int page = 0; page < test.pageCount(); ++page)
        for (TqvxComponent *object : test.store()->GetPageObject(page)->GetAllObjects())
            if (auto *part = qobject_cast<TqvxMemoView *>(object); part && part->Name() == QLatin1String("Memo1"))
                parts.append(part);
    return parts;
}

} // namespace

TEST(EnginePageFlow, BandsOfWholeMillimetresFillThePageExactly)
{
    // The page body is 277 mm; a header takes what whole rows leave.
    for (int rowMillimetres = 1; rowMillimetres <= 12; ++rowMillimetres) {
        SCOPED_TRACE(rowMillimetres);
        const int rows = 277 / rowMillimetres;
        const int rest = 277 % rowMillimetres;
        TEngineTestReport test;
        if (rest > 0)
            test.band<TqvxReportTitle>("Title", 0, rest * qv01cm);
        auto *data = test.band<TqvxMasterData>("Rows", 100, rowMillimetres * qv01cm);
        data->SetRowCount(rows + 1);
        ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
        EXPECT_EQ(countBands(test.bandList(0), QStringLiteral("Rows")), rows);
        EXPECT_EQ(test.pageCount(), 2);
    }
}

TEST(EnginePageFlow, SubreportsOnTheTitleAndPageHeaderPrintAllTheirRows)
{
    TEngineTestReport test;
    auto *title = test.band<TqvxReportTitle>("Title", 0, 20);
    subreport(title, "TitleLeft", 0, subreportPage(test, "LeftRows", 30));
    subreport(title, "TitleRight", 300, subreportPage(test, "RightRows", 12));
    auto *header = test.band<TqvxPageHeader>("Header", 40, 20);
    TqvxReportPage *headerPage = subreportPage(test, "HeaderRows", 3);
    // In a header printed at every page's top, a page break would print
    // the header again without end: its subreport prints in place.
    static_cast<TqvxBand *>(headerPage->FindObject(QStringLiteral("HeaderRows")))->SetStartNewPage(true);
    subreport(header, "HeaderList", 0, headerPage);
    auto *data = test.band<TqvxMasterData>("Rows", 100, 20);
    data->SetRowCount(80);

    ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
    const QStringList bands = test.bandList(0);
    EXPECT_EQ(countBands(bands, QStringLiteral("LeftRows")), 30) << test.bands(0);
    EXPECT_EQ(countBands(bands, QStringLiteral("RightRows")), 12) << test.bands(0);
    ASSERT_GE(test.pageCount(), 2);
    int rows = 0;
    for (int page = 0; page < test.pageCount(); ++page) {
        EXPECT_EQ(countBands(test.bandList(page), QStringLiteral("HeaderRows")), 3) << test.bands(page);
        rows += countBands(test.bandList(page), QStringLiteral("Rows"));
    }
    EXPECT_EQ(rows, 80);
}

TEST(EnginePageFlow, EveryLineOfAMemoSplitOverPagesIsDrawnInsideItsPart)
{
    const struct {
        double gap;
        TqvxFrameTypes frame;
        double frameWidth;
    } layouts[] = {{0, {}, 1}, {2, ftTop | ftBottom, 1}, {10, ftTop | ftBottom, 3}, {4, ftBottom, 2}};
    for (const auto &layout : layouts) {
        SCOPED_TRACE(layout.gap);
        TEngineTestReport test;
        TqvxMemoView *memo = splitMemo(test);
        memo->SetGapY(layout.gap);
        memo->Frame()->SetTyp(layout.frame);
        memo->Frame()->SetWidth(layout.frameWidth);
        QStringList text;
        for (int i = 1; i <= 300; ++i)
            text.append(QStringLiteral("Line %1").arg(i));
        memo->Memo()->SetText(text.join(QStringLiteral("\r\n")));

        ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
        ASSERT_GE(test.pageCount(), 4);
        QStringList drawn;
        for (TqvxMemoView *part : memoParts(test)) {
            TRecordingCanvas canvas;
            part->Draw(&canvas, 1, 1, 0, 0);
            const double top = part->GetAbsTop();
            const double bottom = top + part->Height();
            for (const TCanvasRecord &line : canvas.TextRecords()) {
                EXPECT_GE(line.Bounds.Top, top) << line.Text.toStdString();
                EXPECT_LE(line.Bounds.Bottom, bottom) << line.Text.toStdString();
                drawn.append(line.Text);
            }
        }
        EXPECT_EQ(drawn, text);
    }
}

// A paragraph much longer than a page is laid out part by part, each from
// where the last one ended and only as far as it needs: every character of
// it is drawn once, in order.
TEST(EnginePageFlow, ALongParagraphSplitOverPagesShowsEveryCharacterOnceInOrder)
{
    const QStringList words = {"a", "report", "of", "переоборудование", "the", "электрификация",
                               "breakers", "и", "выключатель", "moulded-case", "ZMT/ZMR", "работа"};
    const struct {
        bool tags;
        bool wordBreak;
    } cases[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto &options : cases) {
        SCOPED_TRACE(testing::Message() << "tags " << options.tags << ", word break " << options.wordBreak);
        const QString paragraph = WordsParagraph(60000, words, options.tags);
        TEngineTestReport test;
        TqvxMemoView *memo = splitMemo(test);
        memo->SetAllowHTMLTags(options.tags);
        memo->SetWordBreak(options.wordBreak);
        memo->Memo()->SetText(QStringLiteral("Intro\r\n\r\n") + paragraph + QStringLiteral("\r\nClosing line"));
        ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
        ASSERT_GE(test.pageCount(), 10);

        QString drawn;
        for (TqvxMemoView *part : memoParts(test))
            drawn += drawnLetters(part);
        QString letters = QStringLiteral("Intro") + paragraph + QStringLiteral("Closingline");
        letters.remove(QRegularExpression(QStringLiteral("<[^>]*>"))).remove(QLatin1Char(' ')).remove(QLatin1Char('-'));
        ASSERT_EQ(drawn.size(), letters.size());
        EXPECT_TRUE(drawn == letters);
    }
}

// A page of endless height does not break: a memo that would take it past
// the most it may grow stops the run with one error rather than losing its
// last lines, though it is the last band.
TEST(EnginePageFlow, AMemoTooTallForAPageOfEndlessHeightStopsTheRun)
{
    TEngineTestReport test;
    test.page->SetEndlessHeight(true);
    TqvxMemoView *memo = splitMemo(test);
    QStringList text;
    for (int i = 1; i <= 30000; ++i)
        text.append(QStringLiteral("Line %1").arg(i));
    memo->Memo()->SetText(text.join(QStringLiteral("\r\n")));
    EXPECT_FALSE(test.prepare());
    ASSERT_EQ(test.errors().size(), 1);
    EXPECT_TRUE(test.errors().at(0).contains(QStringLiteral("100 m"))) << test.errors().at(0).toStdString();
}
