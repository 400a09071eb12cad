// Printing through a real print queue: a private CUPS scheduler with a
// cups-pdf queue (scripts/print-server, started around these tests by
// CTest) takes the jobs the report's print road sends.  The document each
// job carries is checked with pdffonts and pdftotext (text, fonts, page
// order), the file cups-pdf prints with pdfinfo (pages, sizes) and by the
// colours of its pages (page order: the PostScript step of the queue turns
// every font into unnamed Type 3 glyphs, so the printed file has no text to
// read); what cups-pdf cannot show (duplex, copy handling) is read from the
// job's attributes.

#include "common/TestSupport.h"
#include "engine/PreparedReport.h"
#include "engine/qvxPrinter.h"
#include "preview/DialogKeys.h"
#include "report/model/qvxResources.h"
#include "export/pdf/ToolTestSupport.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/model/qvxOptions.h"
#include "report/report/qvxReportOptions.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/ScriptedModalRunner.h"
#include "toolkit/graphics/Colors.h"
#include "toolkit/widgets/TComboBox.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QMap>
#include <QRegularExpression>
#include <QSizeF>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>

#include <cups/cups.h>

#include <gtest/gtest.h>

namespace {

// The server CTest started: read from the folder QVX_PRINT_SERVER names.
struct PrintServer {
    QString socket;
    QString queue;
    QString out;
    QString spool;
    QString log;
    QString skipped; // why there is none
};

const PrintServer &printServer()
{
    static const PrintServer server = [] {
        PrintServer s;
        const QString state = qEnvironmentVariable("QVX_PRINT_SERVER");
        if (state.isEmpty()) {
            s.skipped = QStringLiteral("no print server: run these tests through ctest, which starts one");
            return s;
        }
        QFile skipped(state + QStringLiteral("/skipped"));
        if (skipped.open(QIODevice::ReadOnly)) {
            s.skipped = QString::fromUtf8(skipped.readAll()).trimmed();
            return s;
        }
        QFile file(state + QStringLiteral("/server"));
        if (!file.open(QIODevice::ReadOnly)) {
            s.skipped = QStringLiteral("the print server did not leave its address in %1").arg(state);
            return s;
        }
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            const QString key = line.section(QLatin1Char('='), 0, 0);
            const QString value = line.section(QLatin1Char('='), 1);
            if (key == QLatin1String("socket"))
                s.socket = value;
            else if (key == QLatin1String("queue"))
                s.queue = value;
            else if (key == QLatin1String("out"))
                s.out = value;
            else if (key == QLatin1String("spool"))
                s.spool = value;
            else if (key == QLatin1String("root"))
                s.log = value + QStringLiteral("/log/error_log");
        }
        return s;
    }();
    return server;
}

// A job as the queue saw it: its attributes, the document it carried and
// the file cups-pdf printed.
struct PrintedJob {
    int id = 0;
    QMap<QString, QString> attributes;
    QString document;
    QString file;
};

// Pages of a PDF file: their sizes in points as a reader shows them (turned
// pages turned back) and their texts.
struct PdfPages {
    QList<QSizeF> sizes;
    QStringList texts;
    QString fonts;
};

PdfPages readPdf(const QString &file)
{
    PdfPages pages;
    QString info;
    runTool(QStringLiteral("pdfinfo"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                        QStringLiteral("9999"), file},
            &info);
    static const QRegularExpression sizeLine(QStringLiteral(R"(Page\s+\d+ size:\s+([\d.]+) x ([\d.]+) pts)"));
    static const QRegularExpression rotLine(QStringLiteral(R"(Page\s+\d+ rot:\s+(\d+))"));
    for (auto it = sizeLine.globalMatch(info); it.hasNext();) {
        const auto match = it.next();
        pages.sizes << QSizeF(match.captured(1).toDouble(), match.captured(2).toDouble());
    }
    int index = 0;
    for (auto it = rotLine.globalMatch(info); it.hasNext() && index < pages.sizes.size(); ++index)
        if (it.next().captured(1).toInt() % 180 == 90)
            pages.sizes[index].transpose();

    const QString textFile = file + QStringLiteral(".txt");
    runTool(QStringLiteral("pdftotext"), {QStringLiteral("-enc"), QStringLiteral("UTF-8"), file, textFile});
    QFile text(textFile);
    if (text.open(QIODevice::ReadOnly)) {
        pages.texts = QString::fromUtf8(text.readAll()).split(QLatin1Char('\f'));
        if (!pages.texts.isEmpty() && pages.texts.last().trimmed().isEmpty())
            pages.texts.removeLast();
    }
    runTool(QStringLiteral("pdffonts"), {file}, &pages.fonts);
    return pages;
}

// The "Page N" labels of each page, joined: "1 2+3" is page 1 then a sheet
// with pages 2 and 3.
QString pageLabels(const PdfPages &pages)
{
    static const QRegularExpression label(QStringLiteral(R"(Page (\d+))"));
    QStringList sheets;
    for (const QString &text : pages.texts) {
        QList<int> numbers;
        for (auto it = label.globalMatch(text); it.hasNext();)
            numbers << it.next().captured(1).toInt();
        // Pages joined on a sheet in any reading order.
        std::sort(numbers.begin(), numbers.end());
        QStringList joined;
        for (int number : numbers)
            joined << QString::number(number);
        sheets << joined.join(QLatin1Char('+'));
    }
    return sheets.join(QLatin1Char(' '));
}

// The pages on each printed sheet, told by their colours (page N is filled
// with pageColor (N - 1)), joined as pageLabels does.
QString sheetPages(const QString &file)
{
    QTemporaryDir dir;
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("24"), QStringLiteral("-png"), file,
                                         dir.filePath(QStringLiteral("sheet"))});
    QStringList sheets;
    const QDir images(dir.path());
    for (const QString &name : images.entryList({QStringLiteral("sheet*.png")}, QDir::Files, QDir::Name)) {
        const QImage image = QImage(images.filePath(name)).convertToFormat(QImage::Format_RGB32);
        QStringList pages;
        for (int index = 0; index < 6; ++index) {
            const QRgb wanted = ColorToQColor(pageColor(index)).rgb();
            int count = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    count += image.pixel(x, y) == wanted;
            if (count >= 4)
                pages << QString::number(index + 1);
        }
        sheets << pages.join(QLatin1Char('+'));
    }
    return sheets.join(QLatin1Char(' '));
}

// The box of the dark pixels (text) of an image.
QRect inkOf(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 60)
                box |= QRect(x, y, 1, 1);
    return box;
}

// The first page of a PDF file at 300 dots per inch.
QImage firstPageImage(const QString &file)
{
    QTemporaryDir dir;
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-f"),
                                         QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                         QStringLiteral("-png"), QStringLiteral("-singlefile"), file,
                                         dir.filePath(QStringLiteral("page"))});
    return QImage(dir.filePath(QStringLiteral("page.png"))).convertToFormat(QImage::Format_RGB32);
}

// Word boxes of the first page (pdftotext -bbox): text, left and top in
// points.
struct WordBox {
    QString text;
    double left = 0;
    double top = 0;
};

QList<WordBox> firstPageWords(const QString &file)
{
    const QString html = file + QStringLiteral(".html");
    runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-f"), QStringLiteral("1"),
                                          QStringLiteral("-l"), QStringLiteral("1"), file, html});
    QFile in(html);
    QList<WordBox> words;
    if (!in.open(QIODevice::ReadOnly))
        return words;
    static const QRegularExpression word(
        QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="[\d.]+">([^<]*)</word>)re"));
    for (auto it = word.globalMatch(QString::fromUtf8(in.readAll())); it.hasNext();) {
        const auto match = it.next();
        words << WordBox{match.captured(3), match.captured(1).toDouble(), match.captured(2).toDouble()};
    }
    return words;
}

const QString kCyrillic = QStringLiteral("Выключатель ЗМТ-160 ёжик Щука");

// Pages of that paper (kCustomPaper: of width x height millimetres), each
// with its "Page N" and a line of Cyrillic text.
std::function<void(TPreparedReport &)> withPaper(int paper, ObjectTypes::TPrinterOrientation orientation)
{
    return [paper, orientation](TPreparedReport &r) {
        if (paper != kCustomPaper)
            r.page->SetPaperSize(paper);
        r.page->SetOrientation(orientation);
        TqvxMemoView *line = r.addMemo(QStringLiteral("Cyrillic"), 20, 80);
        line->SetBounds(20, 80, 300, 24);
        line->Memo()->SetText(kCyrillic);
    };
}

class CupsPrinting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const PrintServer &server = printServer();
        if (!server.skipped.isEmpty())
            GTEST_SKIP() << "the print server is not running: " << server.skipped.toStdString();
        cupsSetServer(server.socket.toUtf8().constData());
        qputenv("CUPS_SERVER", server.socket.toUtf8());
        std::vector<std::unique_ptr<TqvxCustomPrinter>> list;
        list.push_back(std::make_unique<TqvxPrinter>(server.queue, QString()));
        printers = std::make_unique<TqvxPrinters>(std::move(list));
        qvxSetPrinters(printers.get());
        printer = printers->GetCurrentPrinter();
        ASSERT_TRUE(printer && printer->Initialized());
        ASSERT_FALSE(printer->Papers().isEmpty());
        ASSERT_GT(printer->Papers().size(), 1) << "the queue's papers were not read";
    }
    void TearDown() override
    {
        if (printers)
            qvxSetPrinters(saved);
    }

    std::unique_ptr<TPreparedReport> report(int pages, int paper = kA4Paper,
                                            ObjectTypes::TPrinterOrientation orientation = ObjectTypes::poPortrait,
                                            double width = 210, double height = 297)
    {
        auto prepared = std::make_unique<TPreparedReport>(pages, width, height, withPaper(paper, orientation));
        prepared->report->PrintOptions()->SetShowDialog(false);
        const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
        prepared->report->ReportOptions()->SetName(QStringLiteral("qvx %1").arg(QString::fromUtf8(test->name())));
        return prepared;
    }

    // Prints through the report's print road and waits for the queue to
    // finish the job and cups-pdf to write its file.
    PrintedJob print(TPreparedReport &prepared)
    {
        PrintedJob job;
        const QString title = prepared.report->ReportOptions()->Name();
        const int before = lastJobId(title);
        EXPECT_TRUE(prepared.store()->Print());
        QDeadlineTimer deadline(std::chrono::seconds(120));
        ipp_jstate_t state = IPP_JSTATE_PENDING;
        while (!deadline.hasExpired()) {
            job.id = lastJobId(title, &state);
            if (job.id > before && state >= IPP_JSTATE_CANCELED)
                break;
            QThread::msleep(100);
        }
        if (job.id <= before) {
            ADD_FAILURE() << "no job titled " << title.toStdString() << " reached the queue";
            return job;
        }
        EXPECT_EQ(state, IPP_JSTATE_COMPLETED) << "the job ended in state " << state << "; the scheduler says\n"
                                                << serverLog().toStdString();
        job.attributes = attributesOf(job.id);
        job.document = QStringLiteral("%1/d%2-001").arg(printServer().spool).arg(job.id, 5, 10, QLatin1Char('0'));
        const QDir out(printServer().out);
        while (!deadline.hasExpired()) {
            const QStringList files =
                out.entryList({QStringLiteral("*-job_%1.pdf").arg(job.id), QStringLiteral("job_%1-*.pdf").arg(job.id)},
                              QDir::Files);
            if (!files.isEmpty()) {
                job.file = out.filePath(files.first());
                break;
            }
            QThread::msleep(100);
        }
        EXPECT_FALSE(job.file.isEmpty()) << "cups-pdf wrote no file for job " << job.id;
        return job;
    }

    int lastJobId(const QString &title, ipp_jstate_t *state = nullptr) const
    {
        cups_job_t *jobs = nullptr;
        const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, printServer().queue.toUtf8().constData(), 0,
                                       CUPS_WHICHJOBS_ALL);
        int id = 0;
        for (int i = 0; i < count; ++i) {
            if (QString::fromUtf8(jobs[i].title) == title && jobs[i].id > id) {
                id = jobs[i].id;
                if (state)
                    *state = jobs[i].state;
            }
        }
        cupsFreeJobs(count, jobs);
        return id;
    }

    static QMap<QString, QString> attributesOf(int id)
    {
        QMap<QString, QString> attributes;
        ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        char uri[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof(uri), "ipp", nullptr, "localhost", 0, "/jobs/%d", id);
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
        ipp_t *response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
        for (ipp_attribute_t *a = ippFirstAttribute(response); a; a = ippNextAttribute(response)) {
            if (!ippGetName(a))
                continue;
            char value[1024];
            ippAttributeString(a, value, sizeof(value));
            attributes.insert(QString::fromUtf8(ippGetName(a)), QString::fromUtf8(value));
        }
        ippDelete(response);
        return attributes;
    }

    static QString serverLog()
    {
        QFile log(printServer().log);
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll().right(2000)) : QString();
    }

    TqvxPrinterList *saved = qvxPrinters();
    std::unique_ptr<TqvxPrinters> printers;
    TqvxCustomPrinter *printer = nullptr;
};

constexpr double kA4W = 595.3;
constexpr double kA4H = 841.9;

// count sheets of that size, portrait or turned.
void expectSheets(const PdfPages &pages, int count, double width, double height)
{
    EXPECT_EQ(pages.sizes.size(), count);
    for (QSizeF size : pages.sizes) {
        if (size.width() > size.height())
            size.transpose();
        EXPECT_NEAR(size.width(), width, 1.5);
        EXPECT_NEAR(size.height(), height, 1.5);
    }
}

void expectSizes(const PdfPages &pages, double width, double height)
{
    for (int i = 0; i < pages.sizes.size(); ++i) {
        EXPECT_NEAR(pages.sizes[i].width(), width, 1.5) << "page " << i + 1;
        EXPECT_NEAR(pages.sizes[i].height(), height, 1.5) << "page " << i + 1;
    }
}

TEST_F(CupsPrinting, AllPagesKeepTheirTextAndFontsWhereThePreviewDrawsThem)
{
    auto prepared = report(5);
    const PrintedJob job = print(*prepared);
    ASSERT_FALSE(job.file.isEmpty());
    const PdfPages printed = readPdf(job.file);
    EXPECT_EQ(printed.sizes.size(), 5);
    expectSizes(printed, kA4W, kA4H);
    EXPECT_EQ(sheetPages(job.file), "1 2 3 4 5");

    const PdfPages sent = readPdf(job.document);
    EXPECT_EQ(pageLabels(sent), "1 2 3 4 5");
    for (const QString &text : sent.texts)
        EXPECT_TRUE(text.simplified().contains(kCyrillic)) << text.toStdString();
    EXPECT_TRUE(sent.fonts.contains(QStringLiteral("LiberationSans "))) << sent.fonts.toStdString();

    // The ink of the first page where the preview draws it, at 300 dots
    // per inch.
    const QImage sent1 = firstPageImage(job.document);
    QImage drawn(sent1.size(), QImage::Format_RGB32);
    drawn.fill(Qt::white);
    {
        TCanvas canvas;
        canvas.SetDevice(&drawn);
        canvas.SetResolution(300, 300);
        prepared->store()->DrawPage(0, &canvas, 300 / 96.0, 300 / 96.0, 0, 0);
        canvas.SetDevice(nullptr);
    }
    const QRect sentInk = inkOf(sent1);
    const QRect drawnInk = inkOf(drawn);
    const double kTolerance = 0.3 / 25.4 * 300; // 0.3 mm in pixels
    EXPECT_NEAR(sentInk.left(), drawnInk.left(), kTolerance);
    EXPECT_NEAR(sentInk.top(), drawnInk.top(), kTolerance);
    EXPECT_NEAR(sentInk.right(), drawnInk.right(), kTolerance);
    EXPECT_NEAR(sentInk.bottom(), drawnInk.bottom(), kTolerance);

    QTemporaryDir dir;
    TqvxPDFExport filter;
    filter.SetShowDialog(false);
    filter.SetShowProgress(false);
    filter.SetFileName(dir.filePath(QStringLiteral("export.pdf")));
    ASSERT_TRUE(prepared->report->Export(&filter));
    EXPECT_LT(QFile(job.document).size(), 3 * QFile(filter.FileName()).size())
        << "text sent as text weighs about what the export does";
}

TEST_F(CupsPrinting, APageRangePrintsThosePages)
{
    auto prepared = report(5);
    prepared->report->PrintOptions()->SetPageNumbers(QStringLiteral("2-3"));
    const PrintedJob job = print(*prepared);
    EXPECT_EQ(sheetPages(job.file), "2 3");
    EXPECT_EQ(pageLabels(readPdf(job.document)), "2 3");
}

TEST_F(CupsPrinting, CollatedCopiesRepeatTheDocument)
{
    auto prepared = report(3);
    prepared->report->PrintOptions()->SetCopies(2);
    const PrintedJob job = print(*prepared);
    EXPECT_EQ(sheetPages(job.file), "1 2 3 1 2 3");
    EXPECT_EQ(job.attributes.value(QStringLiteral("copies"), QStringLiteral("1")), "1")
        << "the program sends the copies itself";
}

TEST_F(CupsPrinting, UncollatedCopiesRepeatEverySheet)
{
    auto prepared = report(3);
    prepared->report->PrintOptions()->SetCopies(2);
    prepared->report->PrintOptions()->SetCollate(false);
    const PrintedJob job = print(*prepared);
    EXPECT_EQ(sheetPages(job.file), "1 1 2 2 3 3");
    EXPECT_EQ(pageLabels(readPdf(job.document)), "1 2 3") << "the print system makes the copies";
    EXPECT_EQ(job.attributes.value(QStringLiteral("copies")), "2");
    EXPECT_EQ(job.attributes.value(QStringLiteral("multiple-document-handling")),
              "separate-documents-uncollated-copies");
}

TEST_F(CupsPrinting, LandscapeAndA5PagesPrintOnTheirPaper)
{
    auto landscape = report(2, kA4Paper, ObjectTypes::poLandscape);
    PrintedJob job = print(*landscape);
    EXPECT_EQ(sheetPages(job.file), "1 2");
    expectSizes(readPdf(job.document), kA4H, kA4W);
    // The print system turns a landscape page onto the printer's sheet.
    expectSheets(readPdf(job.file), 2, kA4W, kA4H);

    auto a5 = report(2, 11);
    a5->report->ReportOptions()->SetName(QStringLiteral("qvx A5"));
    job = print(*a5);
    EXPECT_EQ(sheetPages(job.file), "1 2");
    expectSizes(readPdf(job.document), 419.5, 595.3);
    expectSheets(readPdf(job.file), 2, 419.5, 595.3);
}

TEST_F(CupsPrinting, DuplexIsAskedOfThePrinter)
{
    auto prepared = report(2);
    prepared->report->PrintOptions()->SetDuplexOverride(quint8(dmVertical));
    const PrintedJob job = print(*prepared);
    EXPECT_EQ(job.attributes.value(QStringLiteral("sides")), "two-sided-long-edge");
    EXPECT_EQ(sheetPages(job.file), "1 2");

    auto simplex = report(1);
    simplex->report->ReportOptions()->SetName(QStringLiteral("qvx simplex"));
    EXPECT_EQ(print(*simplex).attributes.value(QStringLiteral("sides"), QStringLiteral("one-sided")), "one-sided");
}

TEST_F(CupsPrinting, PrintingToAFileWritesTheFileAndSendsNoJob)
{
    auto prepared = report(3);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("order.prn"));
    prepared->report->PrintOptions()->SetPrintFileName(file);
    const int before = lastJobId(prepared->report->ReportOptions()->Name());
    ASSERT_TRUE(prepared->store()->Print());
    const PdfPages pages = readPdf(file);
    EXPECT_EQ(pageLabels(pages), "1 2 3");
    expectSizes(pages, kA4W, kA4H);
    EXPECT_TRUE(pages.texts.value(0).simplified().contains(kCyrillic));
    EXPECT_TRUE(pages.fonts.contains(QStringLiteral("LiberationSans "))) << pages.fonts.toStdString();
    EXPECT_EQ(lastJobId(prepared->report->ReportOptions()->Name()), before);

    prepared->report->PrintOptions()->SetPrintFileName(file);
    prepared->report->PrintOptions()->SetCopies(2);
    prepared->report->PrintOptions()->SetCollate(false);
    ASSERT_TRUE(prepared->store()->Print());
    EXPECT_EQ(pageLabels(readPdf(file)), "1 1 2 2 3 3");
}

TEST_F(CupsPrinting, SplitModeCutsALargePageIntoSheets)
{
    // A3 pages on turned A4 sheets: as many pieces for each page, the
    // page's memo on its first piece.
    auto prepared = report(2, 8);
    prepared->report->PrintOptions()->SetPrintMode(pmSplit);
    prepared->report->PrintOptions()->SetPrintOnSheet(kA4Paper);
    const PrintedJob job = print(*prepared);
    const PdfPages sent = readPdf(job.document);
    const int pieces = int(sent.sizes.size()) / 2;
    EXPECT_GE(pieces, 2);
    expectSizes(sent, kA4H, kA4W);
    EXPECT_EQ(sheetPages(job.file),
              QStringLiteral("1%1 2%2").arg(QString(pieces - 1, QLatin1Char(' ')), QString(pieces - 1, QLatin1Char(' '))));
    expectSheets(readPdf(job.file), 2 * pieces, kA4W, kA4H);
}

TEST_F(CupsPrinting, JoinModePutsSmallPagesOnOneSheet)
{
    // A6 pages, four to an A4 sheet.
    auto prepared = report(5, kCustomPaper, ObjectTypes::poPortrait, 105, 148);
    prepared->report->PrintOptions()->SetPrintMode(pmJoin);
    prepared->report->PrintOptions()->SetPrintOnSheet(kA4Paper);
    const PrintedJob job = print(*prepared);
    EXPECT_EQ(sheetPages(job.file), "1+2+3+4 5");
    expectSheets(readPdf(job.file), 2, kA4W, kA4H);
    EXPECT_EQ(pageLabels(readPdf(job.document)), "1+2+3+4 5");
}

TEST_F(CupsPrinting, ScaleModeFitsEveryPageOnItsSheet)
{
    // A3 pages scaled to A4 sheets.
    auto prepared = report(2, 8);
    prepared->report->PrintOptions()->SetPrintMode(pmScale);
    prepared->report->PrintOptions()->SetPrintOnSheet(kA4Paper);
    const PrintedJob job = print(*prepared);
    EXPECT_EQ(sheetPages(job.file), "1 2");
    expectSheets(readPdf(job.file), 2, kA4W, kA4H);
    const QList<WordBox> words = firstPageWords(job.document);
    ASSERT_FALSE(words.isEmpty());
    // The label's left edge: 10 mm margin and 20 pixels on the A3 page,
    // times 210 / 297 on the sheet.
    EXPECT_NEAR(words.first().left, (10 + 20 * 25.4 / 96) * 210 / 297 / 25.4 * 72, 3);
}

TEST_F(CupsPrinting, ThePrintersSettingsDialogChoosesTheResolutionOfTheJob)
{
    ASSERT_TRUE(printer->HasPropertiesDlg()) << "the queue offers resolutions";
    ScriptedModalRunner runner;
    QString shown;
    runner.onForm = [&](TCustomForm &form) {
        QList<TComboBox *> lists;
        for (int i = 0; i < form.ComponentCount(); ++i)
            if (auto *list = qobject_cast<TComboBox *>(form.Components(i)))
                lists << list;
        ASSERT_EQ(lists.size(), 3);
        lists[2]->SetFocus();
        pressKey(lists[2], Qt::Key_Home);
        shown = lists[2]->Text();
        pressKey(lists[2], Qt::Key_Return);
    };
    printer->PropertiesDlg();
    EXPECT_EQ(shown, qvxResources()->Get(QStringLiteral("dlgDotsPerInch")).arg(150));
    EXPECT_EQ(printer->DPI(), QPoint(150, 150));

    auto prepared = report(1);
    const PrintedJob job = print(*prepared);
    EXPECT_EQ(job.attributes.value(QStringLiteral("Resolution")), "150dpi");
    EXPECT_EQ(sheetPages(job.file), "1");
}

} // namespace
