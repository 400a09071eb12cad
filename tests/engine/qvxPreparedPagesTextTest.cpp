// A report of varied objects prepared by the engine: the saved prepared
// pages are compared byte for byte with the files kept in tests/data/engine.
// The report has a title with framed, highlighted, formatted and linked
// memos, a picture, lines, shapes, a check box and a subreport; a page
// header, grouped data rows over two pages and a page footer with page
// numbers.  It is prepared in one pass and in two.  A report of a memo split
// over pages is kept the same way, as a report file and as prepared pages.
//
// On a difference the saved pages are left in the build folder as
// <name>.actual for a diff.

#include "EngineTestReport.h"

#include "report/base/qvxViewTypes.h"
#include "report/components/qvxFrame.h"
#include "report/model/qvxOptions.h"
#include "report/pages/qvxSubreport.h"
#include "report/report/qvxReportOptions.h"
#include "report/views/qvxChBox.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxPictureView.h"
#include "report/views/qvxShapeView.h"
#include "toolkit/classes/Streams.h"
#include "toolkit/graphics/Bitmap.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

namespace {

constexpr int itemCount = 36;

QList<QHash<QString, Variant>> itemRows()
{
    QList<QHash<QString, Variant>> rows;
    for (int i = 0; i < itemCount; ++i)
        rows.append({{QStringLiteral("Group"), Variant(QStringLiteral("Серия %1").arg(i / 10 + 1))},
                     {QStringLiteral("Name"), Variant(QStringLiteral("Выключатель ZMT-%1 <Ø & \"ток\">").arg(i))},
                     {QStringLiteral("Qty"), Variant(i * 7 % 13)},
                     {QStringLiteral("Price"), Variant(i * 12.345 + 0.005)}});
    return rows;
}

void setArial(TFont &font, double size, TFontStyles style = {})
{
    font.SetName(QStringLiteral("Arial"));
    font.SetSize(size);
    font.SetStyle(style);
}

class TVariedReport
{
public:
    explicit TVariedReport(bool doublePass)
    {
        test.report->EngineOptions()->SetDoublePass(doublePass);
        items = test.dataSet("Items", itemRows());
        addTitle();
        addPageHeader();
        addRows();
        addFooter();
    }

    // The prepared pages as the store saves them.
    QByteArray saved() const
    {
        TMemoryStream stream;
        test.store()->SaveToStream(&stream);
        stream.SetPosition(0);
        return stream.ReadToEnd();
    }

    TEngineTestReport test;
    TMemoryDataSet *items = nullptr;

private:
    void addTitle()
    {
        auto *title = test.band<TqvxReportTitle>("Title", 0, 260);
        auto *heading = test.memo(title, "Heading", QStringLiteral("Опросный лист\r\nOrder of [1 + 2 * 3] items"),
                                  0, 0, 300, 40);
        TFont headingFont;
        setArial(headingFont, 14, fsBold);
        heading->SetFont(&headingFont);
        heading->SetHAlign(haCenter);
        heading->Frame()->SetTyp(ftLeft | ftRight | ftTop | ftBottom);
        heading->Frame()->SetStyle(fsDouble);
        heading->Frame()->SetWidth(2.5);
        heading->SetColor(clYellow);

        auto *mixed = test.memo(title, "Mixed", QStringLiteral("Mixed sides"), 320, 0, 200, 40);
        mixed->Frame()->SetTyp(ftLeft | ftTop | ftBottom);
        mixed->Frame()->LeftLine()->SetStyle(fsDot);
        mixed->Frame()->LeftLine()->SetColor(clRed);
        mixed->Frame()->TopLine()->SetStyle(fsDashDot);
        mixed->Frame()->TopLine()->SetWidth(1.5);
        mixed->Frame()->SetDropShadow(true);

        auto *link = test.memo(title, "Link", QStringLiteral("Site of the maker"), 0, 50, 200, 20);
        link->Hyperlink()->SetKind(hkURL);
        link->Hyperlink()->SetValue(QStringLiteral("https://example.com/catalogue?n=[1 + 1]"));
        link->SetRotation(90);

        auto *lineView = new TqvxLineView(title);
        lineView->SetName(QStringLiteral("Rule"));
        lineView->SetBounds(0, 80, 300, 0);
        lineView->Frame()->SetWidth(2);
        auto *diagonal = new TqvxLineView(title);
        diagonal->SetName(QStringLiteral("Diagonal"));
        diagonal->SetDiagonal(true);
        diagonal->SetArrowEnd(true);
        diagonal->SetBounds(0, 90, 100, 40);
        diagonal->Frame()->SetStyle(fsDash);

        const TqvxShapeKind shapes[] = {skRoundRectangle, skEllipse, skDiamond};
        for (int i = 0; i < 3; ++i) {
            auto *shape = new TqvxShapeView(title);
            shape->SetName(QStringLiteral("Shape%1").arg(i + 1));
            shape->SetShape(shapes[i]);
            shape->SetBounds(320 + i * 60, 60, 50, 50);
        }

        auto *check = new TqvxCheckBoxView(title);
        check->SetName(QStringLiteral("Check"));
        check->SetExpression(QStringLiteral("2 > 1"));
        check->SetBounds(520, 60, 20, 20);

        QImage image(8, 4, QImage::Format_RGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgb(x * 32, y * 64, 200));
        TBitmap bitmap;
        bitmap.SetImage(image);
        auto *picture = new TqvxPictureView(title);
        picture->SetName(QStringLiteral("Picture"));
        picture->SetBounds(560, 60, 32, 16);
        picture->Picture()->SetGraphic(&bitmap);

        auto *subreportPage = new TqvxReportPage(test.report.get());
        subreportPage->SetName(QStringLiteral("NotesPage"));
        auto *notes = new TqvxMasterData(subreportPage);
        notes->SetName(QStringLiteral("Notes"));
        notes->SetBounds(0, 0, 300, 18);
        notes->SetRowCount(3);
        test.memo(notes, "Note", QStringLiteral("Примечание [Line#]"), 0, 0, 300, 18);
        auto *subreport = new TqvxSubreport(title);
        subreport->SetName(QStringLiteral("NotesList"));
        subreport->SetBounds(0, 150, 300, 20);
        subreport->SetPage(subreportPage);
    }

    void addPageHeader()
    {
        auto *header = test.band<TqvxPageHeader>("Header", 300, 24);
        auto *caption = test.memo(header, "Caption", QStringLiteral("Наименование\tName"), 0, 0, 718, 22);
        caption->Frame()->SetTyp(ftBottom);
        caption->Frame()->SetColor(clBlue);
    }

    void addRows()
    {
        auto *group = test.band<TqvxGroupHeader>("Group", 340, 22);
        group->SetCondition(QStringLiteral("Items.\"Group\""));
        test.memo(group, "GroupName", QStringLiteral("[Items.\"Group\"]"), 0, 0, 300, 20);

        auto *rows = test.band<TqvxMasterData>("Rows", 380, 26);
        rows->SetDataSet(items);
        auto *name = test.memo(rows, "Name", QStringLiteral("[Line#]. [Items.\"Name\"]"), 0, 0, 400, 22);
        name->Frame()->SetTyp(ftLeft | ftRight | ftTop | ftBottom);
        name->Hyperlink()->SetKind(hkAnchor);
        name->Hyperlink()->SetValue(QStringLiteral("item[Items.\"Qty\"]"));

        auto *qty = test.memo(rows, "Qty", QStringLiteral("[Items.\"Qty\"]"), 410, 0, 80, 22);
        qty->SetHAlign(haRight);
        qty->Highlight()->SetCondition(QStringLiteral("Value > 6"));
        qty->Highlight()->SetColor(clRed);
        TFont bold;
        setArial(bold, 10, fsBold);
        qty->Highlight()->SetFont(&bold);

        auto *price = test.memo(rows, "Price", QStringLiteral("[Items.\"Price\"]"), 500, 0, 120, 22);
        TqvxFormat format;
        format.SetKind(fkNumeric);
        format.SetFormatStr(QStringLiteral("%2.2f"));
        format.SetDecimalSeparator(QStringLiteral(","));
        price->SetDisplayFormat(&format);
        price->SetHAlign(haRight);
        price->Frame()->SetTyp(ftBottom);
        price->Frame()->SetStyle(fsDashDotDot);
    }

    void addFooter()
    {
        auto *footer = test.band<TqvxPageFooter>("Footer", 1000, 24);
        test.memo(footer, "PageNumber", QStringLiteral("Страница [Page#] из [TotalPages#]"), 500, 0, 218, 20);
    }
};

QByteArray readFile(const QString &name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void expectSavedAsKept(const QByteArray &actual, const QString &name)
{
    const QByteArray expected = readFile(testDataPath(QStringLiteral("engine/") + name));
    if (actual != expected) {
        QFile out(name + QStringLiteral(".actual"));
        if (out.open(QIODevice::WriteOnly))
            out.write(actual);
    }
    EXPECT_TRUE(actual == expected) << "the saved pages differ; written to " << name.toStdString() << ".actual";
}

// Lines of a memo text: short ones in several scripts and with the
// characters a file escapes, empty ones, and paragraphs of several output
// lines, so that pages end inside paragraphs too.
QString splitMemoText()
{
    QStringList lines;
    for (int i = 1; i <= 160; ++i) {
        if (i % 13 == 0)
            lines.append(QString());
        else if (i % 9 == 0)
            lines.append(QStringLiteral("Абзац %1: ").arg(i) + QStringLiteral("слово %1 & <b>word</b> ").arg(i).repeated(12));
        else
            lines.append(QStringLiteral("%1\t\"ток\" < 5 A & 𝄞 Ø").arg(i));
    }
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

TEST(PreparedPagesText, ASplitMemoSavesItsReportAndPagesAsTheyDid)
{
    for (const bool tags : {false, true}) {
        SCOPED_TRACE(tags ? "with tags" : "without tags");
        TEngineTestReport test;
        auto *data = test.band<TqvxMasterData>("Rows", 0, 30);
        data->SetRowCount(1);
        data->SetAllowSplit(true);
        data->SetStretched(true);
        TqvxMemoView *memo = test.memo(data, "Long", splitMemoText(), 0, 0, 400, 30);
        memo->SetStretchMode(smActualHeight);
        memo->SetAllowHTMLTags(tags);
        test.memo(data, "Fixed", QStringLiteral("Fixed & \"kept\""), 420, 0, 200, 20);
        const QString suffix = tags ? QStringLiteral("-tags.xml") : QStringLiteral(".xml");
        // The file keeps when the report was made and changed.
        test.report->ReportOptions()->SetCreateDate(46364.5);
        test.report->ReportOptions()->SetLastChange(46364.5);

        TMemoryStream reportFile;
        test.report->SaveToStream(&reportFile);
        reportFile.SetPosition(0);
        expectSavedAsKept(reportFile.ReadToEnd(), QStringLiteral("split-memo-report") + suffix);

        ASSERT_TRUE(test.prepare()) << test.lines(test.errors());
        ASSERT_GE(test.pageCount(), 3);
        TMemoryStream pages;
        test.store()->SaveToStream(&pages);
        pages.SetPosition(0);
        expectSavedAsKept(pages.ReadToEnd(), QStringLiteral("split-memo-prepared") + suffix);
    }
}

TEST(PreparedPagesText, OnePassSavesAsItDid)
{
    TVariedReport varied(false);
    ASSERT_TRUE(varied.test.prepare()) << varied.test.lines(varied.test.errors());
    ASSERT_EQ(varied.test.pageCount(), 2);
    expectSavedAsKept(varied.saved(), QStringLiteral("prepared-one-pass.xml"));
}

TEST(PreparedPagesText, TwoPassesSaveAsTheyDid)
{
    TVariedReport varied(true);
    ASSERT_TRUE(varied.test.prepare()) << varied.test.lines(varied.test.errors());
    ASSERT_EQ(varied.test.pageCount(), 2);
    expectSavedAsKept(varied.saved(), QStringLiteral("prepared-two-passes.xml"));
}
