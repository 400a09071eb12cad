// A report prepared by the engine and exported to an uncompressed file:
// the content streams of its pages are compared byte for byte with the
// streams kept in tests/data/pdf.  The pages hold rows of framed memos of
// Cyrillic and Latin text (two pages of them), and on the first page dashed
// and mixed frames, rotated, aligned, underlined and tagged memos, a fill,
// lines, shapes, a check box and a picture.
//
// On a difference the streams written are left in the build folder as
// report-content-streams.actual for a diff.

#include "PdfExportTestSupport.h"

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

// The content streams of an uncompressed file in page order, each after a
// line naming its page.
QByteArray contentStreams(const QByteArray &pdf)
{
    QByteArray result;
    int page = 0;
    for (qsizetype at = pdf.indexOf("<< /Length "); at >= 0; at = pdf.indexOf("<< /Length ", at + 1)) {
        const qsizetype lengthEnd = pdf.indexOf(' ', at + 11);
        const qsizetype dictionaryEnd = pdf.indexOf(">>", at);
        // Pictures and fonts carry a filter or more keys; page content has the length alone.
        if (pdf.mid(lengthEnd, dictionaryEnd - lengthEnd).trimmed() != "")
            continue;
        const int length = pdf.mid(at + 11, lengthEnd - at - 11).toInt();
        const qsizetype start = pdf.indexOf("stream\r\n", at) + 8;
        result += "%% page " + QByteArray::number(++page) + '\n' + pdf.mid(start, length);
    }
    return result;
}

QByteArray readFile(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(ReportContentStreams, StayAsTheyWere)
{
    // Other tests leave drawings of their own installed.
    qvxInstallPDFPageDrawing(qvxPDFPageContent());
    TContentReport content;
    ASSERT_TRUE(content.report->PrepareReport());
    ASSERT_EQ(content.report->PreviewPages()->Count(), 2);

    QTemporaryDir dir;
    TqvxPDFExport pdf;
    makeDeterministic(pdf, false);
    pdf.SetShowDialog(false);
    pdf.SetShowProgress(false);
    pdf.SetFileName(dir.filePath(QStringLiteral("report.pdf")));
    ASSERT_TRUE(content.report->Export(&pdf));
    EXPECT_EQ(qpdfComplaint(pdf.FileName()).toStdString(), "");

    const QByteArray actual = contentStreams(readFile(pdf.FileName()));
    const QByteArray expected = readFile(QStringLiteral(TEST_DATA_DIR "/pdf/report-content-streams.txt"));
    if (actual != expected) {
        QFile out(QStringLiteral("report-content-streams.actual"));
        if (out.open(QIODevice::WriteOnly))
            out.write(actual);
    }
    EXPECT_TRUE(actual == expected) << "the content streams differ; written to report-content-streams.actual";
}
