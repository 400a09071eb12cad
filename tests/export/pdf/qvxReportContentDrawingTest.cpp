// A report prepared by the engine and exported: every page must look as it
// did when its content was written with the operators kept in
// tests/data/pdf/report-content-before.txt (the content streams of each
// page, made before the content was written with fewer bytes).  The file
// written is copied with those streams in place of its own, and both are
// rendered by pdftoppm and read by pdftotext: the pixels may differ by one
// grey level at most, the text not at all.  The pages hold rows of framed
// memos of Cyrillic and Latin text (two pages of them), and on the first
// page dashed and mixed frames, rotated, aligned, underlined and tagged
// memos, a fill, lines, shapes, a check box and a picture.
//
// On a difference both files are left in the build folder.

#include "PdfExportTestSupport.h"
#include "ToolTestSupport.h"

#include "export/pdf/qvxPDFPageContent.h"

#include "report/base/qvxViewTypes.h"
#include "report/components/qvxFrame.h"
#include "report/data/qvxReportDataSets.h"
#include "report/data/qvxUserDataSet.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/views/qvxChBox.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/views/qvxPictureView.h"
#include "report/views/qvxShapeView.h"
#include "toolkit/graphics/Bitmap.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

constexpr int rowCount = 45;

QString rowText(int row)
{
    return QStringLiteral("Строка %1: автоматический выключатель ZMT-250, rated current %2 A, номер QV-%3")
        .arg(row + 1)
        .arg(16 * (row % 16 + 1))
        .arg(row);
}

TqvxMemoView *memo(TComponent *band, const QString &text, double left, double top, double width, double height)
{
    auto *result = new TqvxMemoView(band);
    result->CreateUniqueName();
    result->SetBounds(left, top, width, height);
    result->SetText(text);
    TFont font;
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(10);
    result->SetFont(&font);
    return result;
}

class TContentReport
{
public:
    TContentReport()
    {
        report->SetName(QStringLiteral("Report1"));
        report->SetShowProgress(false);
        rows->SetName(QStringLiteral("Rows"));
        rows->SetUserName(QStringLiteral("Rows"));
        rows->SetRangeEnd(reCount);
        rows->SetRangeEndCount(rowCount);
        rows->SetOnGetValue([this](const QString &, Variant &value) { value = rowText(rows->RecNo()); });
        report->DataSets()->Add()->SetDataSet(rows.get());

        auto *page = new TqvxReportPage(report.get());
        page->SetName(QStringLiteral("Page1"));
        addTitle(page);
        auto *data = new TqvxMasterData(page);
        data->SetName(QStringLiteral("MasterData1"));
        data->SetBounds(0, 400, 718, 25);
        data->SetDataSet(rows.get());
        auto *row = memo(data, QStringLiteral("[Rows.\"Text\"]"), 0, 0, 680, 20);
        row->Frame()->SetTyp(ftLeft | ftRight | ftTop | ftBottom);
    }

    std::unique_ptr<TqvxReport> report = std::make_unique<TqvxReport>();
    std::unique_ptr<TqvxUserDataSet> rows = std::make_unique<TqvxUserDataSet>();

private:
    void addTitle(TqvxReportPage *page)
    {
        auto *title = new TqvxReportTitle(page);
        title->SetName(QStringLiteral("ReportTitle1"));
        title->SetBounds(0, 0, 718, 380);

        auto *dashed = memo(title, QStringLiteral("Пунктирная рамка, dashed frame"), 0, 0, 200, 30);
        dashed->Frame()->SetTyp(ftLeft | ftRight | ftTop | ftBottom);
        dashed->Frame()->SetStyle(fsDash);
        dashed->Frame()->SetWidth(2);
        dashed->SetColor(clYellow);

        auto *mixed = memo(title, QStringLiteral("Mixed sides\r\nвторая строка"), 220, 0, 200, 40);
        mixed->Frame()->SetTyp(ftLeft | ftTop | ftBottom);
        mixed->Frame()->LeftLine()->SetStyle(fsDot);
        mixed->Frame()->LeftLine()->SetColor(clRed);
        mixed->Frame()->TopLine()->SetStyle(fsDashDot);
        mixed->Frame()->TopLine()->SetWidth(1.5);
        mixed->Frame()->BottomLine()->SetStyle(fsDouble);
        mixed->Frame()->BottomLine()->SetWidth(3);

        auto *rotated = memo(title, QStringLiteral("Повёрнутый текст"), 440, 0, 30, 150);
        rotated->SetRotation(90);
        auto *upsideDown = memo(title, QStringLiteral("Upside down"), 480, 0, 120, 30);
        upsideDown->SetRotation(180);

        const TqvxHAlign aligns[] = {haLeft, haRight, haCenter, haBlock};
        const TqvxVAlign valigns[] = {vaTop, vaBottom, vaCenter, vaTop};
        for (int i = 0; i < 4; ++i) {
            auto *aligned = memo(title,
                                 QStringLiteral("Выравнивание %1: a long line that wraps over the width of the "
                                                "memo, так что строк несколько")
                                     .arg(i),
                                 0, 60 + i * 60, 200, 55);
            aligned->SetHAlign(aligns[i]);
            aligned->SetVAlign(valigns[i]);
            aligned->Frame()->SetTyp(ftBottom);
        }

        auto *underlined = memo(title, QStringLiteral("Подчёркнутый, underlined"), 220, 60, 200, 20);
        TFont font;
        font.Assign(underlined->Font());
        font.SetStyle(fsUnderline | fsBold);
        underlined->SetFont(&font);
        auto *lines = memo(title, QStringLiteral("First\r\nSecond\r\nThird"), 220, 90, 200, 60);
        lines->SetUnderlines(true);
        auto *tagged = memo(title, QStringLiteral("Plain <b>bold</b> and <i>курсив</i> <u>under</u>"), 220, 160,
                            300, 20);
        tagged->SetAllowHTMLTags(true);

        auto *line = new TqvxLineView(title);
        line->CreateUniqueName();
        line->SetBounds(220, 200, 150, 0);
        auto *diagonal = new TqvxLineView(title);
        diagonal->CreateUniqueName();
        diagonal->SetDiagonal(true);
        diagonal->SetBounds(220, 210, 100, 40);
        diagonal->Frame()->SetStyle(fsDash);

        const TqvxShapeKind shapes[] = {skRectangle, skRoundRectangle, skEllipse, skTriangle, skDiamond};
        for (int i = 0; i < 5; ++i) {
            auto *shape = new TqvxShapeView(title);
            shape->CreateUniqueName();
            shape->SetShape(shapes[i]);
            shape->SetBounds(440 + (i % 3) * 60, 160 + (i / 3) * 60, 50, 50);
        }

        auto *check = new TqvxCheckBoxView(title);
        check->CreateUniqueName();
        check->SetChecked(true);
        check->SetBounds(620, 0, 20, 20);

        QImage image(16, 8, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 16, y * 32, 128));
        TBitmap bitmap;
        bitmap.SetImage(image);
        auto *picture = new TqvxPictureView(title);
        picture->CreateUniqueName();
        picture->SetBounds(620, 40, 32, 16);
        picture->Picture()->SetGraphic(&bitmap);
    }
};

// The content streams of an uncompressed file in page order: where each
// one's bytes start and how many there are.
struct TStreamPlace {
    qsizetype LengthAt = 0; // the digits of its /Length
    qsizetype LengthSize = 0;
    qsizetype Start = 0;
    qsizetype Size = 0;
};

QList<TStreamPlace> contentStreams(const QByteArray &pdf)
{
    QList<TStreamPlace> result;
    for (qsizetype at = pdf.indexOf("<< /Length "); at >= 0; at = pdf.indexOf("<< /Length ", at + 1)) {
        const qsizetype lengthEnd = pdf.indexOf(' ', at + 11);
        const qsizetype dictionaryEnd = pdf.indexOf(">>", at);
        // Pictures and fonts carry a filter or more keys; page content has the length alone.
        if (pdf.mid(lengthEnd, dictionaryEnd - lengthEnd).trimmed() != "")
            continue;
        TStreamPlace place;
        place.LengthAt = at + 11;
        place.LengthSize = lengthEnd - place.LengthAt;
        place.Size = pdf.mid(place.LengthAt, place.LengthSize).toInt();
        place.Start = pdf.indexOf("stream\r\n", at) + 8;
        result.append(place);
    }
    return result;
}

// The streams of the file kept: each after a line "%% page N".
QList<QByteArray> keptStreams(const QByteArray &kept)
{
    QList<QByteArray> result;
    for (qsizetype at = kept.indexOf("%% page "); at >= 0;) {
        const qsizetype start = kept.indexOf('\n', at) + 1;
        const qsizetype next = kept.indexOf("%% page ", start);
        result.append(kept.mid(start, next < 0 ? -1 : next - start));
        at = next;
    }
    return result;
}

// The file with its page contents replaced, its cross-reference table
// rebuilt by qpdf.
bool writeWithContents(const QByteArray &pdf, const QList<QByteArray> &contents, const QString &fileName)
{
    QByteArray result = pdf;
    const QList<TStreamPlace> places = contentStreams(pdf);
    if (places.size() != contents.size())
        return false;
    for (qsizetype i = places.size() - 1; i >= 0; --i) {
        const TStreamPlace &place = places[i];
        result.replace(place.Start, place.Size, contents[i]);
        result.replace(place.LengthAt, place.LengthSize, QByteArray::number(contents[i].size()));
    }
    const QString broken = fileName + QStringLiteral(".unfixed");
    QFile out(broken);
    if (!out.open(QIODevice::WriteOnly) || out.write(result) != result.size())
        return false;
    out.close();
    // Exit code 3: qpdf warned about the offsets it repaired.
    const int code = runTool(QStringLiteral("qpdf"), {broken, fileName});
    return code == 0 || code == 3;
}

QByteArray readFile(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every page of a file as grey pixels at a resolution.
QList<QImage> renderedPages(const QString &fileName, int dpi)
{
    const QString prefix = fileName + QStringLiteral("-") + QString::number(dpi);
    runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-gray"),
                                         QStringLiteral("-png"), fileName, prefix});
    QList<QImage> pages;
    for (int page = 1;; ++page) {
        const QImage image(QStringLiteral("%1-%2.png").arg(prefix).arg(page));
        if (image.isNull())
            break;
        pages.append(image.convertToFormat(QImage::Format_Grayscale8));
    }
    return pages;
}

// The largest difference of a pixel between two pages, and how many pixels
// differ by more than one grey level.
struct TPixelDifference {
    int Largest = 0;
    int Count = 0;
};

TPixelDifference difference(const QImage &a, const QImage &b)
{
    TPixelDifference result;
    for (int y = 0; y < a.height(); ++y) {
        const uchar *p = a.constScanLine(y);
        const uchar *q = b.constScanLine(y);
        for (int x = 0; x < a.width(); ++x) {
            const int d = std::abs(int(p[x]) - int(q[x]));
            result.Largest = std::max(result.Largest, d);
            result.Count += d > 1 ? 1 : 0;
        }
    }
    return result;
}

} // namespace

TEST(ReportContentDrawing, PagesLookAsBefore)
{
    // Other tests leave drawings of their own installed.
    qvxInstallPDFPageDrawing(qvxPDFPageContent());
    TContentReport content;
    ASSERT_TRUE(content.report->PrepareReport());
    ASSERT_EQ(content.report->PreviewPages()->Count(), 2);

    QTemporaryDir dir;
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetEmbeddedFonts(true);
    pdf.SetShowDialog(false);
    pdf.SetShowProgress(false);
    const QString now = dir.filePath(QStringLiteral("now.pdf"));
    pdf.SetFileName(now);
    ASSERT_TRUE(content.report->Export(&pdf));
    EXPECT_EQ(qpdfComplaint(now).toStdString(), "");

    const QString before = dir.filePath(QStringLiteral("before.pdf"));
    const QList<QByteArray> kept = keptStreams(readFile(QStringLiteral(TEST_DATA_DIR "/pdf/report-content-before.txt")));
    ASSERT_EQ(kept.size(), 2);
    ASSERT_TRUE(writeWithContents(readFile(now), kept, before));

    bool same = extractedText(now) == extractedText(before);
    EXPECT_EQ(extractedText(now).toStdString(), extractedText(before).toStdString());
    EXPECT_FALSE(extractedText(now).trimmed().isEmpty());
    // A point, a pixel of the report and a printer's dot a pixel.
    for (const int dpi : {72, 96, 300}) {
        const QList<QImage> pagesNow = renderedPages(now, dpi);
        const QList<QImage> pagesBefore = renderedPages(before, dpi);
        ASSERT_EQ(pagesNow.size(), 2);
        ASSERT_EQ(pagesBefore.size(), 2);
        for (int page = 0; page < 2; ++page) {
            ASSERT_EQ(pagesNow[page].size(), pagesBefore[page].size());
            const TPixelDifference d = difference(pagesNow[page], pagesBefore[page]);
            EXPECT_EQ(d.Count, 0) << "page " << page + 1 << " at " << dpi << " dpi: " << d.Count
                                  << " pixels differ, by up to " << d.Largest << " grey levels";
            same = same && d.Count == 0;
        }
    }
    if (!same) {
        QFile::copy(now, QStringLiteral("report-content-now.pdf"));
        QFile::copy(before, QStringLiteral("report-content-before.pdf"));
    }
}
