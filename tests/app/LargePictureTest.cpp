// Large pictures in a report prepared by the engine and exported to PDF
// (here, where the PNG codec and the PDF filter are both registered).
//
// A picture above the size limit fails its own view only: the view stays
// empty, one error line names it and its size, and the rest of the report
// prepares, draws and exports.  A picture of the limit's size (8192 x 8192)
// is prepared and exported within 700 MB: the run happens in a child
// process (this test program again, running one test) whose peak resident
// size is read from /proc, under an address-space limit that stops a
// runaway before it burdens the machine.

#include "common/GeneratedPng.h"
#include "common/LargePictureReport.h"
#include "engine/qvxPreparedStore.h"
#include "export/pdf/ToolTestSupport.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/model/qvxErrors.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxMemoView.h"
#include "report/views/qvxPictureView.h"
#include "toolkit/graphics/RecordingCanvas.h"
#include "toolkit/graphics/Picture.h"
#include "toolkit/classes/Streams.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <sys/resource.h>

namespace {

constexpr qint64 MiB = 1024 * 1024;

// A title band holding a memo and a picture view showing fileName.
class TPictureReport
{
public:
    explicit TPictureReport(const QString &fileName)
    {
        report->SetName(QStringLiteral("Report1"));
        report->SetShowProgress(false);
        report->EngineOptions()->SetNewSilentMode(simSilent);
        auto *page = new TqvxReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        auto *title = new TqvxReportTitle(page);
        title->SetName(QStringLiteral("ReportTitle1"));
        title->SetBounds(0, 0, 718, 400);
        auto *memo = new TqvxMemoView(title);
        memo->SetName(QStringLiteral("Caption"));
        memo->SetBounds(0, 0, 400, 20);
        memo->SetText(QStringLiteral("Survey of the switchboard"));
        picture = new TqvxPictureView(title);
        picture->SetName(QStringLiteral("Scan"));
        picture->SetBounds(0, 40, 300, 300);
        picture->SetFileLink(fileName);
    }

    bool exportTo(const QString &fileName) { return ExportToPdfFile(report.get(), fileName); }

    std::unique_ptr<TqvxReport> report = std::make_unique<TqvxReport>();
    TqvxPictureView *picture = nullptr;
};

const TqvxPictureView *preparedPicture(TqvxReport *report)
{
    TqvxComponent *page = static_cast<TqvxPreparedStore *>(report->PreviewPages())->GetPageObject(0);
    return page ? qobject_cast<const TqvxPictureView *>(page->FindObject(QStringLiteral("Scan"))) : nullptr;
}

qint64 statusKiB(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    return -1;
}

bool sanitized()
{
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#endif
#endif
    return false;
}

const char *const childVariable = "QVX_LARGE_PICTURE_RUN";

// What qpdf --check says of a file that does not pass; empty when it does.
QString qpdfComplaint(const QString &fileName)
{
    QString output;
    return runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), fileName}, &output) == 0 ? QString() : output;
}

QString extractedText(const QString &fileName)
{
    QString text;
    runTool(QStringLiteral("pdftotext"), {fileName, QStringLiteral("-")}, &text);
    return text;
}

} // namespace

TEST(LargePictures, AnOversizePictureFailsItsOwnViewOnly)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(QStringLiteral("oversize.png"));
    ASSERT_TRUE(WriteGeneratedPng(picture, 8193, 8192));
    TPictureReport test(picture);

    EXPECT_FALSE(test.report->PrepareReport()) << "the error is reported";
    const QStringList errors = test.report->Errors()->Text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(errors.size(), 1) << qPrintable(errors.join(u'\n'));
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Scan: "))) << qPrintable(errors[0]);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("8193 x 8192"))) << qPrintable(errors[0]);

    ASSERT_EQ(test.report->PreviewPages()->Count(), 1);
    const TqvxPictureView *prepared = preparedPicture(test.report.get());
    ASSERT_NE(prepared, nullptr);
    EXPECT_EQ(prepared->Picture()->Width(), 0);
    TRecordingCanvas canvas;
    test.report->PreviewPages()->DrawPage(0, &canvas, 1, 1, 0, 0);
    QString drawn;
    for (const TCanvasRecord &record : canvas.TextRecords())
        drawn += record.Text;
    EXPECT_TRUE(drawn.contains(QStringLiteral("Survey of the switchboard"))) << qPrintable(drawn);

    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    ASSERT_TRUE(test.exportTo(pdf));
    EXPECT_EQ(qpdfComplaint(pdf).toStdString(), "");
    EXPECT_TRUE(extractedText(pdf).contains(QStringLiteral("Survey of the switchboard")));
}

namespace {

// What the child process is to run: the picture's size, its layout and
// count (tests/common/LargePictureReport.h), and, where the export alone is
// held to a memory limit, how many MiB more than preparing left it may take.
struct TChildCase {
    int width = 8192;
    int height = 8192;
    TPictureLayout layout = TPictureLayout::SmallViews;
    int count = 1;
    int exportHeadroomMiB = 0;

    QByteArray text() const
    {
        return QByteArray::number(width) + ' ' + QByteArray::number(height) + ' ' + QByteArray::number(int(layout)) +
               ' ' + QByteArray::number(count) + ' ' + QByteArray::number(exportHeadroomMiB);
    }
    static TChildCase fromText(const QByteArray &text)
    {
        const QList<QByteArray> fields = text.split(' ');
        if (fields.size() != 5)
            return {};
        return {fields[0].toInt(), fields[1].toInt(), TPictureLayout(fields[2].toInt()), fields[3].toInt(),
                fields[4].toInt()};
    }
};

const char *const caseVariable = "QVX_LARGE_PICTURE_CASE";

// The part of the tests below that runs in the child process; skipped when
// run on its own.
TEST(LargePictures, PreparedAndExportedInTheChild)
{
    const QByteArray folder = qgetenv(childVariable);
    if (folder.isEmpty())
        GTEST_SKIP() << "runs in the child process of the tests of a picture's memory";
    const TChildCase run = TChildCase::fromText(qgetenv(caseVariable));
    const qint64 startKiB = statusKiB("VmRSS:");
    // Far above the address space the run needs, so that only a runaway meets it.
    const rlimit limit{rlim_t(statusKiB("VmSize:") * 1024 + 3072 * MiB), RLIM_INFINITY};
    ASSERT_EQ(setrlimit(RLIMIT_AS, &limit), 0);

    const QString dir = QString::fromLocal8Bit(folder);
    TLargePictureReport test(dir + QStringLiteral("/limit.png"), QSize(run.width, run.height), run.layout, run.count);
    ASSERT_TRUE(test.report->PrepareReport()) << qPrintable(test.report->Errors()->Text());
    if (run.exportHeadroomMiB > 0) {
        const rlimit lowered{rlim_t(statusKiB("VmSize:") * 1024 + run.exportHeadroomMiB * MiB), RLIM_INFINITY};
        ASSERT_EQ(setrlimit(RLIMIT_AS, &lowered), 0);
    }
    const QString pdf = dir + QStringLiteral("/report.pdf");
    ASSERT_TRUE(test.exportTo(pdf)) << qPrintable(test.report->Errors()->Text());
    QFile peak(dir + QStringLiteral("/peak"));
    ASSERT_TRUE(peak.open(QIODevice::WriteOnly));
    peak.write(QByteArray::number((statusKiB("VmHWM:") - startKiB) / 1024) + ' ' +
               QByteArray::number(statusKiB("VmHWM:") / 1024));
}

// The peak resident sizes of a child run, in MiB: above the program's own,
// and of the whole process; the PDF it wrote is dir/report.pdf.
struct TChildPeaks {
    qint64 aboveStart = 0;
    qint64 process = 0;
};

TChildPeaks runInChild(const QTemporaryDir &dir, const TChildCase &run)
{
    TChildPeaks peaks;
    if (!WriteGeneratedPng(dir.filePath(QStringLiteral("limit.png")), run.width, run.height)) {
        ADD_FAILURE() << "the picture could not be written";
        return peaks;
    }
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(childVariable), dir.path());
    environment.insert(QString::fromLatin1(caseVariable), QString::fromLatin1(run.text()));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=LargePictures.PreparedAndExportedInTheChild")});
    if (!child.waitForFinished(600000) || child.exitCode() != 0) {
        ADD_FAILURE() << child.readAll().toStdString();
        return peaks;
    }
    QFile peak(dir.filePath(QStringLiteral("peak")));
    if (!peak.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "the child wrote no peak";
        return peaks;
    }
    const QList<QByteArray> fields = peak.readAll().split(' ');
    peaks.aboveStart = fields.value(0).toLongLong();
    peaks.process = fields.value(1).toLongLong();
    EXPECT_EQ(qpdfComplaint(dir.filePath(QStringLiteral("report.pdf"))).toStdString(), "");
    return peaks;
}

} // namespace

TEST(LargePictures, PictureOfTheLimitsSizeStaysWithin700MB)
{
    if (sanitized())
        GTEST_SKIP() << "the sanitizer's shadow memory hides the picture's";
    QTemporaryDir dir;
    const TChildPeaks peaks = runInChild(dir, {});
    EXPECT_GT(peaks.aboveStart, 0);
    RecordProperty("peak_MB", int(peaks.aboveStart));
    EXPECT_LT(peaks.aboveStart, 700) << "MB above the program's own";
}

// Drawn at its own size, the picture is held decoded once, and the page's
// image of it is made and compressed without further copies of its size; a
// logo on every row of a band is decoded once for all its views.
TEST(LargePictures, APictureAtItsOwnSizeOrOnTenRowsKeepsTheProcessWithin700MB)
{
    if (sanitized())
        GTEST_SKIP() << "the sanitizer's shadow memory hides the picture's";
    for (const TChildCase &run : {TChildCase{8192, 8192, TPictureLayout::OwnSize, 1, 0},
                                  TChildCase{4096, 4096, TPictureLayout::BandRows, 10, 0}}) {
        QTemporaryDir dir;
        const TChildPeaks peaks = runInChild(dir, run);
        EXPECT_GT(peaks.process, 0) << run.text().constData();
        RecordProperty("process_peak_MB_" + std::to_string(int(run.layout)), int(peaks.process));
        EXPECT_LT(peaks.process, 700) << "MB for the whole process: " << run.text().constData();
    }
}

// Five views reading the same file share one decoded picture from loading
// on, and the five entries of the same bytes in the prepared pages share
// one as well, so preparing and exporting need little more than one
// picture's pixels.
TEST(LargePictures, FiveViewsOfOnePictureExportWithinTheMemoryOfOne)
{
    if (sanitized())
        GTEST_SKIP() << "an address-space limit leaves the sanitizer no room";
    QTemporaryDir dir;
    const TChildPeaks peaks = runInChild(dir, {8192, 8192, TPictureLayout::SmallViews, 5, 512});
    EXPECT_GT(peaks.process, 0);
    RecordProperty("process_peak_MB", int(peaks.process));
    EXPECT_LT(peaks.process, 700) << "MB for the whole process";
    QString images;
    ASSERT_EQ(runTool(QStringLiteral("pdfimages"), {QStringLiteral("-list"), dir.filePath(QStringLiteral("report.pdf"))},
                      &images),
              0);
    // A header of two lines, then one line for each image drawn: the five
    // views draw the same pixels, written once as one object.
    QStringList lines = images.trimmed().split(u'\n');
    ASSERT_EQ(lines.size(), 7) << qPrintable(images);
    QSet<QString> objects;
    for (const QString &line : lines.mid(2))
        objects.insert(line.simplified().section(u' ', 10, 10));
    EXPECT_EQ(objects.size(), 1) << qPrintable(images);
}

// The same picture kept in the report file: loading the file names the view
// and the size once, and preparing it goes on without the picture.
TEST(LargePictures, AnOversizePictureInTheReportFileFailsItsOwnViewOnly)
{
    QFile file(QStringLiteral(TEST_DATA_DIR "/pictures/declares-9000x8000.png"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray png = file.readAll();
    // A picture view's Picture.PropData: the property "Data", the class name
    // and the length of the picture's bytes, then the bytes.
    QByteArray data = QByteArray::fromHex("04004461746102000000020A00000054504E474F626A65637403");
    char length[4];
    qToLittleEndian<quint32>(quint32(png.size()), length);
    data += QByteArray(length, 4) + png;

    TPictureReport made{QString()};
    TMemoryStream stream;
    made.report->SaveToStream(&stream);
    QByteArray xml = stream.Bytes();
    xml.replace("Height=\"300\"/>", "Height=\"300\" Picture.PropData=\"" + data.toHex().toUpper() + "\"/>");

    TPictureReport test{QString()};
    TMemoryStream source;
    source.WriteBuffer(xml);
    source.SetPosition(0);
    test.report->LoadFromStream(&source);
    QStringList errors = test.report->Errors()->Text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(errors.size(), 1) << qPrintable(errors.join(u'\n'));
    EXPECT_TRUE(errors[0].startsWith(QStringLiteral("Scan: "))) << qPrintable(errors[0]);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("9000 x 8000"))) << qPrintable(errors[0]);
    auto *view = qobject_cast<TqvxPictureView *>(test.report->FindObject(QStringLiteral("Scan")));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Picture()->Width(), 0);

    EXPECT_TRUE(test.report->PrepareReport()) << qPrintable(test.report->Errors()->Text());
    EXPECT_EQ(test.report->PreviewPages()->Count(), 1);
}
