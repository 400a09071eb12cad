// Reports prepared by the engine and exported as users run them: a memo
// that grows to a long text splits over many pages, and every line reaches
// the file once, in order, as pdftotext reads it back; an export that runs
// out of memory says so.

#include "PdfExportTestSupport.h"
#include "common/MemoryLimit.h"
#include "common/SplitMemoReport.h"
#include "common/WordsParagraph.h"
#include "ToolTestSupport.h"

#include "report/model/qvxCustomPreviewPages.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

namespace {

// Numbered lines; every seventh is a paragraph of several output lines,
// so that pages end inside paragraphs too, and every eleventh is empty.
QStringList numberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        if (i % 11 == 0)
            lines.append(QString());
        else if (i % 7 == 0)
            lines.append(QStringLiteral("L%1").arg(i) + QStringLiteral(" слово%1").arg(i).repeated(30));
        else
            lines.append(QStringLiteral("L%1 short line").arg(i));
    }
    return lines;
}

QStringList words(const QString &text)
{
    return text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// "" when the words of read are those of written, else where they part.
std::string firstDifference(const QStringList &read, const QStringList &written)
{
    for (qsizetype i = 0; i < std::max(read.size(), written.size()); ++i)
        if (read.value(i) != written.value(i))
            return QStringLiteral("word %1: read \"%2\" after \"%3\", written \"%4\"")
                .arg(i)
                .arg(read.mid(i, 8).join(QLatin1Char(' ')), read.mid(std::max<qsizetype>(i - 8, 0), std::min<qsizetype>(i, 8)).join(QLatin1Char(' ')),
                     written.mid(i, 8).join(QLatin1Char(' ')))
                .toStdString();
    return {};
}

// Exports report into a file of dir, without a dialog or a progress
// window, and answers its name; qpdf finds nothing wrong with it.
QString exportedFile(TqvxReport &report, const QTemporaryDir &dir)
{
    TqvxPDFExport pdf;
    pdf.SetShowDialog(false);
    pdf.SetShowProgress(false);
    // Text with elements is written as text, not as a picture of it.
    pdf.SetHTMLTags(false);
    const QString file = dir.filePath(QStringLiteral("report.pdf"));
    pdf.SetFileName(file);
    EXPECT_TRUE(report.Export(&pdf));
    EXPECT_EQ(qpdfComplaint(file).toStdString(), "");
    return file;
}

// Where each page's part of "Memo1" lies, in points from the page's top
// left corner.
struct TPartBox {
    double left, top, right, bottom;
};

QList<TPartBox> memoPartBoxes(TqvxReport &report)
{
    constexpr double pointsAPixel = 72.0 / 96;
    constexpr double pointsAMillimetre = 72 / 25.4;
    QList<TPartBox> boxes;
    TqvxCustomPreviewPages *pages = report.PreviewPages();
    for (int index = 0; index < pages->Count(); ++index) {
        TqvxReportPage *page = pages->GetPage(index);
        const double left = page->LeftMargin() * pointsAMillimetre;
        const double top = page->TopMargin() * pointsAMillimetre;
        for (TqvxComponent *object : page->GetAllObjects())
            if (object->Name() == QLatin1String("Memo1"))
                boxes.append({left + object->GetAbsLeft() * pointsAPixel, top + object->GetAbsTop() * pointsAPixel,
                              left + (object->GetAbsLeft() + object->Width()) * pointsAPixel,
                              top + (object->GetAbsTop() + object->Height()) * pointsAPixel});
    }
    return boxes;
}

// The first word of the file, in page order, whose middle lies outside
// its page's part of "Memo1" (a word's box is the font's, a little taller
// than its line); "" when none does.
std::string wordOutsideItsPart(const QList<QList<TPdfWord>> &pages, const QList<TPartBox> &boxes)
{
    if (pages.size() != boxes.size())
        return QStringLiteral("%1 pages, %2 parts").arg(pages.size()).arg(boxes.size()).toStdString();
    for (qsizetype page = 0; page < pages.size(); ++page) {
        const TPartBox &box = boxes.at(page);
        for (const TPdfWord &word : pages.at(page)) {
            const double middle = (word.top + word.bottom) / 2;
            if (middle < box.top || middle > box.bottom || word.left < box.left || word.right > box.right)
                return QStringLiteral("page %1 of %2: \"%3\" at %4, %5 to %6, %7 outside the part's %8, %9 to %10, %11")
                    .arg(page + 1)
                    .arg(pages.size())
                    .arg(word.text)
                    .arg(word.left)
                    .arg(word.top)
                    .arg(word.right)
                    .arg(word.bottom)
                    .arg(box.left)
                    .arg(box.top)
                    .arg(box.right)
                    .arg(box.bottom)
                    .toStdString();
        }
    }
    return {};
}

// The first line that a part of "Memo1", drawn as the preview draws the
// objects of its page, puts outside itself, where its clip hides it; ""
// when none does.
std::string drawnLineOutsideItsPart(TqvxReport &report)
{
    TqvxCustomPreviewPages *pages = report.PreviewPages();
    for (int index = 0; index < pages->Count(); ++index) {
        for (TqvxComponent *object : pages->GetPage(index)->GetAllObjects()) {
            auto *part = qobject_cast<TqvxMemoView *>(object);
            if (!part || part->Name() != QLatin1String("Memo1"))
                continue;
            TRecordingCanvas canvas;
            part->Draw(&canvas, 1, 1, 0, 0);
            const double top = part->GetAbsTop();
            const double bottom = top + part->Height();
            for (const TCanvasRecord &line : canvas.TextRecords())
                if (line.Bounds.Top < top || line.Bounds.Bottom > bottom)
                    return QStringLiteral("page %1 of %2: \"%3\" from %4 to %5, the part from %6 to %7")
                        .arg(index + 1)
                        .arg(pages->Count())
                        .arg(line.Text.left(40))
                        .arg(line.Bounds.Top)
                        .arg(line.Bounds.Bottom)
                        .arg(top)
                        .arg(bottom)
                        .toStdString();
        }
    }
    return {};
}

} // namespace

TEST(ExportPDFReport, AMemoSplitOverManyPagesShowsEveryLineOnceInOrder)
{
    const QStringList lines = numberedLines(3000);
    for (const bool tags : {false, true}) {
        SCOPED_TRACE(tags ? "with tags" : "without tags");
        QString text = lines.join(QStringLiteral("\r\n"));
        // With tags a bold passage runs over many pages; the elements are
        // not text.
        if (tags)
            text.replace(QStringLiteral("L100 "), QStringLiteral("<b>L100 ")).replace(QStringLiteral("L900 "),
                                                                                       QStringLiteral("</b>L900 "));
        std::unique_ptr<TqvxReport> report = SplitMemoReport(text, 400, tags);
        ASSERT_TRUE(report->PrepareReport());
        ASSERT_GT(report->PreviewPages()->Count(), 40);

        QTemporaryDir dir;
        const QString file = exportedFile(*report, dir);
        EXPECT_EQ(firstDifference(words(extractedText(file)), words(lines.join(QLatin1Char(' ')))), "");
    }
}

// One paragraph of a megabyte of random Cyrillic words splits over about
// 95 A4 pages, each part laid out from where the last one ended; those
// layouts may take a line or two more than the whole paragraph's did, and
// the last part is as tall as its own lines: every word reaches the file
// once, in order, inside its page's part, drawn there in the preview too,
// and the memo below it in the band comes after its last line.
TEST(ExportPDFReport, AParagraphOfAMegabyteShowsEveryWordOnceInsideItsParts)
{
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    // Seeds whose parts take a line more than the whole paragraph did.
    for (const quint32 seed : {11u, 20u}) {
        SCOPED_TRACE(seed);
        const QString text = RandomCyrillicParagraph(560000, seed);
        std::unique_ptr<TqvxReport> report = SplitMemoReport(text, 680, false, &font);
        auto *below = new TqvxMemoView(report->FindObject(QStringLiteral("MasterData1")));
        below->SetName(QStringLiteral("Below"));
        below->SetBounds(0, 20, 200, 20);
        below->SetText(QStringLiteral("TAILMARK"));
        ASSERT_TRUE(report->PrepareReport());
        EXPECT_EQ(drawnLineOutsideItsPart(*report), "");

        QTemporaryDir dir;
        QList<QList<TPdfWord>> pages = PdfWords(exportedFile(*report, dir));
        ASSERT_GT(pages.size(), 60);
        ASSERT_FALSE(pages.back().isEmpty());
        const TPdfWord tail = pages.back().takeLast();
        const QList<TPartBox> parts = memoPartBoxes(*report);
        EXPECT_EQ(tail.text, QStringLiteral("TAILMARK"));
        EXPECT_GE(tail.top, parts.back().bottom);
        EXPECT_EQ(wordOutsideItsPart(pages, parts), "");
        QStringList read;
        for (const QList<TPdfWord> &page : pages)
            for (const TPdfWord &word : page)
                read.append(word.text);
        EXPECT_EQ(firstDifference(read, words(text)), "");
    }
}

// A memo taller than a coordinate may be (1,000,000 pixels: about 59,000
// lines of 10 points) splits as a shorter one does, its last part as tall
// as the lines it holds, and the memos below it in the band come after
// its last line, however far past the limit that lies: the one always
// shifted and the one shifted when overlapped, side by side.
TEST(ExportPDFReport, AMemoTallerThanAnyCoordinateShowsEveryLineOnceInOrder)
{
    for (const int count : {59400, 120000, 200000}) {
        SCOPED_TRACE(count);
        QStringList lines;
        for (int i = 1; i <= count; ++i)
            lines.append(QStringLiteral("L%1").arg(i));
        std::unique_ptr<TqvxReport> report = SplitMemoReport(lines.join(QStringLiteral("\r\n")), 400, false);
        TqvxComponent *band = report->FindObject(QStringLiteral("MasterData1"));
        auto *below = new TqvxMemoView(band);
        below->SetName(QStringLiteral("Below"));
        below->SetBounds(0, 20, 200, 20);
        below->SetText(QStringLiteral("TAILMARK"));
        auto *overlapped = new TqvxMemoView(band);
        overlapped->SetName(QStringLiteral("Overlapped"));
        overlapped->SetBounds(200, 30, 200, 20);
        overlapped->SetShiftMode(smWhenOverlapped);
        overlapped->SetText(QStringLiteral("OVERLAPMARK"));
        ASSERT_TRUE(report->PrepareReport());
        QTemporaryDir dir;
        TqvxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetShowProgress(false);
        const QString file = dir.filePath(QStringLiteral("memo.pdf"));
        pdf.SetFileName(file);
        ASSERT_TRUE(report->Export(&pdf));
        EXPECT_EQ(firstDifference(words(extractedText(file)), lines + QStringList{QStringLiteral("TAILMARK"), QStringLiteral("OVERLAPMARK")}),
                  "");
    }
}

// Memos of numbered lines one below the other that reach past the
// coordinate limit (two each lower than the limit, two each taller, one
// taller alone), and below them "TAILMARK", stretched to the band's
// bottom, beside the taller "SIDEMARK": the band ends with the two marks,
// TAILMARK as tall as SIDEMARK, on the page of the last lines, and no page
// is blank.
TEST(ExportPDFReport, AMemoStretchedToTheBottomBelowMemosPastTheCoordinateLimitEndsTheBand)
{
    struct Layout {
        int memos;
        int linesEach;
    };
    for (const Layout layout : {Layout{2, 40000}, Layout{2, 70000}, Layout{1, 70000}}) {
        SCOPED_TRACE(QStringLiteral("%1 x %2 lines").arg(layout.memos).arg(layout.linesEach).toStdString());
        QStringList lines;
        for (int i = 1; i <= layout.memos * layout.linesEach; ++i)
            lines.append(QStringLiteral("L%1").arg(i));
        std::unique_ptr<TqvxReport> report =
            SplitMemoReport(lines.mid(0, layout.linesEach).join(QStringLiteral("\r\n")), 400, false);
        TqvxComponent *band = report->FindObject(QStringLiteral("MasterData1"));
        for (int i = 1; i < layout.memos; ++i) {
            auto *memo = new TqvxMemoView(band);
            memo->SetName(QStringLiteral("Memo%1").arg(i + 1));
            memo->SetBounds(0, 20 * i, 400, 20);
            memo->SetStretchMode(smActualHeight);
            memo->SetText(lines.mid(i * layout.linesEach, layout.linesEach).join(QStringLiteral("\r\n")));
        }
        const double below = 20 * layout.memos;
        auto *tail = new TqvxMemoView(band);
        tail->SetName(QStringLiteral("Tail"));
        tail->SetBounds(0, below, 200, 20);
        tail->SetStretchMode(smMaxHeight);
        tail->SetText(QStringLiteral("TAILMARK"));
        auto *side = new TqvxMemoView(band);
        side->SetName(QStringLiteral("Side"));
        side->SetBounds(200, below, 200, 40);
        side->SetText(QStringLiteral("SIDEMARK"));
        ASSERT_TRUE(report->PrepareReport());

        TqvxCustomPreviewPages *pages = report->PreviewPages();
        const auto placeOnLastPage = [&](const QString &name) {
            for (TqvxComponent *object : pages->GetPage(pages->Count() - 1)->GetAllObjects())
                if (object->Name() == name)
                    return QStringLiteral("%1+%2").arg(object->Top()).arg(object->Height()).toStdString();
            return std::string("not on the last page");
        };
        const std::string sidePlace = placeOnLastPage(QStringLiteral("Side"));
        EXPECT_TRUE(sidePlace.ends_with("+40")) << sidePlace;
        EXPECT_EQ(placeOnLastPage(QStringLiteral("Tail")), sidePlace);

        QTemporaryDir dir;
        const QStringList pageTexts = extractedPages(exportedFile(*report, dir));
        ASSERT_EQ(pageTexts.size(), pages->Count());
        QList<int> blankPages;
        for (int i = 0; i < pageTexts.size(); ++i)
            if (words(pageTexts.at(i)).isEmpty())
                blankPages.append(i + 1);
        EXPECT_EQ(blankPages, QList<int>());
        const QStringList lastWords = words(pageTexts.last());
        EXPECT_EQ(lastWords.mid(lastWords.size() - 2).join(QLatin1Char(' ')).toStdString(), "TAILMARK SIDEMARK");
        EXPECT_EQ(firstDifference(words(pageTexts.join(QString())),
                                  lines + QStringList{QStringLiteral("TAILMARK"), QStringLiteral("SIDEMARK")}),
                  "");
    }
}

// Two memos of 70,000 numbered lines each, both taller than the
// coordinate limit, and "TAILMARK" below them, each 22 pixels below the
// top of the one above, on pages with margins of 10 mm: the second memo's
// text ends with a line break or not, and TAILMARK grows to its text or
// is stretched to the band's bottom.  The prepared pages hold every line
// once, in order, and no page is blank; on the last of its 2,259 pages
// TAILMARK stands below the second memo's part, and in a file of that
// page below its last line.
TEST(ExportPDFReport, AMemoBelowTwoMemosPastTheCoordinateLimitStartsBelowTheLastLine)
{
    const int linesEach = 70000;
    QStringList lines;
    for (int i = 1; i <= 2 * linesEach; ++i)
        lines.append(QStringLiteral("L%1").arg(i));
    const QString first = lines.mid(0, linesEach).join(QStringLiteral("\r\n"));
    const QString second = lines.mid(linesEach).join(QStringLiteral("\r\n"));
    struct Case {
        const char *name;
        bool finalBreak;
        TqvxStretchMode tailMode;
    };
    for (const Case test : {Case{"actual height", false, smActualHeight}, Case{"final line break", true, smActualHeight},
                            Case{"stretched to the bottom", false, smMaxHeight}}) {
        SCOPED_TRACE(test.name);
        std::unique_ptr<TqvxReport> report = SplitMemoReport(first, 400, false);
        auto *page = static_cast<TqvxReportPage *>(report->FindObject(QStringLiteral("Page1")));
        page->SetLeftMargin(10);
        page->SetRightMargin(10);
        page->SetTopMargin(10);
        page->SetBottomMargin(10);
        TqvxComponent *band = report->FindObject(QStringLiteral("MasterData1"));
        auto *memo = new TqvxMemoView(band);
        memo->SetName(QStringLiteral("Memo2"));
        memo->SetBounds(0, 22, 400, 20);
        memo->SetStretchMode(smActualHeight);
        memo->SetText(test.finalBreak ? second + QStringLiteral("\r\n") : second);
        auto *tail = new TqvxMemoView(band);
        tail->SetName(QStringLiteral("Tail"));
        tail->SetBounds(0, 44, 200, 20);
        tail->SetStretchMode(test.tailMode);
        tail->SetText(QStringLiteral("TAILMARK"));
        ASSERT_TRUE(report->PrepareReport());

        TqvxCustomPreviewPages *pages = report->PreviewPages();
        const int count = pages->Count();
        QList<int> blankPages;
        QStringList read;
        for (int index = 0; index < count; ++index) {
            const TqvxPageTexts texts = pages->PageTexts(index);
            if (texts.isEmpty())
                blankPages.append(index + 1);
            for (const TqvxPageText &text : texts)
                read += words(text.Text);
        }
        EXPECT_EQ(blankPages, QList<int>());
        EXPECT_EQ(firstDifference(read, lines + QStringList{QStringLiteral("TAILMARK")}), "");
        // The second memo's part and TAILMARK.
        const TqvxPageTexts last = pages->PageTexts(count - 1);
        ASSERT_EQ(last.size(), 2);
        EXPECT_GE(last.at(1).Top, last.at(0).Top + last.at(0).Height)
            << "the part from " << last.at(0).Top << " to " << last.at(0).Top + last.at(0).Height;

        QTemporaryDir dir;
        TqvxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetShowProgress(false);
        pdf.SetPageNumbers(QString::number(count));
        const QString file = dir.filePath(QStringLiteral("last.pdf"));
        pdf.SetFileName(file);
        ASSERT_TRUE(report->Export(&pdf));
        const QList<QList<TPdfWord>> pdfWords = PdfWords(file);
        ASSERT_EQ(pdfWords.size(), 1);
        const QList<TPdfWord> &onLast = pdfWords.first();
        ASSERT_GE(onLast.size(), 2);
        const TPdfWord &lastLine = onLast.at(onLast.size() - 2);
        const TPdfWord &mark = onLast.last();
        EXPECT_EQ(lastLine.text, QStringLiteral("L140000"));
        EXPECT_EQ(mark.text, QStringLiteral("TAILMARK"));
        EXPECT_GE(mark.top, lastLine.bottom) << mark.text.toStdString() << " from " << mark.top << " to " << mark.bottom
                                             << ", " << lastLine.text.toStdString() << " from " << lastLine.top
                                             << " to " << lastLine.bottom;
    }
}

// A memo of many short lines split over thousands of pages prepares and
// exports in a small multiple of its text: its lines are not strings of
// their own, and the engine's copy of it, the pages rebuilt from it and the
// template saved around the run do not each take a copy of the text.
TEST(ExportPDFReport, AMemoOfManyShortLinesTakesLittleMoreMemoryThanItsText)
{
    if (!AddressSpaceLimitWorks)
        GTEST_SKIP() << "the address sanitizer's shadow leaves no room for a limit on the address space";
    // 400,000 lines of four characters: 2.4 million characters with the
    // line breaks, 4.8 MB.
    const int count = 400000;
    QString text;
    text.reserve(qsizetype(count) * 6);
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("%1\r\n").arg(i % 10000, 4, 10, QLatin1Char('0'));
    std::unique_ptr<TqvxReport> report = SplitMemoReport(text, 400, false);
    report->EngineOptions()->SetSilentMode(true);
    QTemporaryDir dir;
    // It takes about 60 MB more; each line a string of its own and a few
    // whole copies of the text took three times that.
    ExpectWithinMemory(qint64(120) << 20, [&] {
        const bool prepared = report->PrepareReport();
        TqvxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetShowProgress(false);
        pdf.SetFileName(dir.filePath(QStringLiteral("lines.pdf")));
        const bool exported = prepared && report->Export(&pdf);
        std::fprintf(stderr, "prepared: %d, exported: %d\n", int(prepared), int(exported));
        return exported;
    });
}

// The memory runs out while the pages are exported: the export fails with
// one line in the report's errors, and the program goes on.
TEST(ExportPDFReport, RunningOutOfMemoryIsOneClearError)
{
    if (!AddressSpaceLimitWorks)
        GTEST_SKIP() << "the address sanitizer's shadow leaves no room for a limit on the address space";
    auto report = std::make_unique<TqvxReport>();
    report->SetShowProgress(false);
    report->EngineOptions()->SetSilentMode(true);
    auto *page = new TqvxReportPage(report.get());
    page->SetName(QStringLiteral("Page1"));
    page->SetEndlessHeight(true);
    auto *data = new TqvxMasterData(page);
    data->SetName(QStringLiteral("MasterData1"));
    data->SetBounds(0, 0, 718, 20);
    data->SetRowCount(15000);
    auto *memo = new TqvxMemoView(data);
    memo->SetName(QStringLiteral("Memo1"));
    memo->SetBounds(0, 0, 400, 20);
    memo->SetText(QStringLiteral("Row [Line#] of a page that takes more memory to export than there is"));
    QTemporaryDir dir;
    ExpectWithinMemory(qint64(1) << 30, [&] {
        if (!report->PrepareReport())
            return false;
        // What the prepared page needs to be read back for export is more.
        LimitMemoryTo(qint64(16) << 20);
        TqvxPDFExport pdf;
        pdf.SetShowDialog(false);
        pdf.SetShowProgress(false);
        pdf.SetFileName(dir.filePath(QStringLiteral("rows.pdf")));
        const bool exported = report->Export(&pdf);
        QStringList errors;
        for (int i = 0; i < report->Errors()->Count(); ++i)
            errors.append(report->Errors()->Strings(i));
        std::fprintf(stderr, "exported: %d, errors: %s\n", int(exported), qPrintable(errors.join(QLatin1Char('|'))));
        return !exported && errors.size() == 1 && errors.at(0).contains(QStringLiteral("more memory"));
    });
}

// A page header that shows the page count beside a value holding the
// macro's text: the file shows the count and the value as it was, on
// every page.
TEST(ExportPDFReport, AValueHoldingAPageMacroPrintsAsItIsBesideThePageCount)
{
    std::unique_ptr<TqvxReport> report = SplitMemoReport(numberedLines(300).join(QStringLiteral("\r\n")), 400, false);
    auto *header = new TqvxPageHeader(report->FindObject(QStringLiteral("Page1")));
    header->SetName(QStringLiteral("PageHeader1"));
    header->SetBounds(0, 0, 718, 20);
    auto *pages = new TqvxMemoView(header);
    pages->SetName(QStringLiteral("Pages"));
    pages->SetBounds(0, 0, 700, 20);
    pages->SetText(QStringLiteral("Страница [Page#] из [TotalPages#], заказчик ['[TotalPages#]']"));
    ASSERT_TRUE(report->PrepareReport());
    const int count = report->PreviewPages()->Count();
    ASSERT_GE(count, 3);

    QTemporaryDir dir;
    const QString text = extractedText(exportedFile(*report, dir));
    for (int page = 1; page <= count; ++page)
        EXPECT_TRUE(text.contains(QStringLiteral("Страница %1 из %2, заказчик [TotalPages#]").arg(page).arg(count)))
            << page << ": " << text.left(400).toStdString();
}
