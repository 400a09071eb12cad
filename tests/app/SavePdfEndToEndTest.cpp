#include "MainFormFixture.h"

#include "common/AsNobody.h"
#include "common/MessageBoxText.h"
#include "common/SmallFileSystem.h"

#include "export/pdf/ToolTestSupport.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/model/qvxOptions.h"
#include "report/model/qvxCustomPreviewPages.h"
#include "report/base/qvxNumbers.h"
#include "report/pages/qvxPage.h"
#include "report/views/qvxMemoView.h"
#include "toolkit/graphics/RecordingCanvas.h"
#include "report/report/qvxReport.h"
#include "report/data/qvxUserDataSet.h"
#include "toolkit/core/Files.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <utility>

namespace {

// The whole road as the user takes it, on the program's own engine and
// PDF filter: the window is filled through its controls, the save button
// pressed and the save dialog answered; the file is then read back with
// the independent PDF tools.
class SavePdfEndToEndTest : public MainFormFixture
{
protected:
    void SetUp() override
    {
        if (!programServices)
            GTEST_SKIP() << "the report engine or the prepared-pages store is not installed in this build, so the "
                            "report cannot be prepared";
        runner.onFile = [this](TFileDialogRequest &request) {
            request.FileName = dir.filePath(chosen);
            return true;
        };
        form->Show();
        QApplication::setActiveWindow(form->Widget());
        QApplication::processEvents();
    }

    void Fill(const QString &organisation)
    {
        form->Edit1->SetFocus();
        Type(organisation);
        form->Edit2->SetText(QStringLiteral("1 Main St., +1 555 0100"));
        form->Edit3->SetText(QStringLiteral("J. Smith"));
        form->Edit4->SetValue(12);
        Complete({1, 1, 0, 0, 0, 0}, true);
    }

    // Gives the field the focus, as a click on it does.
    void Focus(TEdit *edit)
    {
        QApplication::processEvents();
        QApplication::setActiveWindow(form->Widget());
        edit->SetFocus();
        QApplication::processEvents();
        ASSERT_TRUE(edit->Focused());
    }

    // Puts text on the clipboard and pastes it over the field's text with
    // Ctrl+V; the field then holds shown.
    void Paste(TEdit *edit, const QString &text, const QString &shown)
    {
        QApplication::clipboard()->setText(text);
        Focus(edit);
        edit->SelectAll();
        Key(Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(edit->Text().toStdString(), shown.toStdString());
    }
    void Paste(TEdit *edit, const QString &text) { Paste(edit, text, text); }

    // Presses the save button; the save shows one message in Russian, and
    // it holds expected.
    void SaveShowing(const QString &expected);

    // Presses the save button and answers the dialog with name.
    QString Save(const QString &name)
    {
        chosen = name;
        EXPECT_TRUE(form->Button1->Enabled());
        form->Button1->Click();
        return dir.filePath(name);
    }

    // The document's text in content order, every run of white space one
    // blank.
    static QString Text(const QString &fileName) { return PageTexts(fileName).join(QLatin1Char(' ')); }

    // The text of each page, as Text gives the document's.
    static QStringList PageTexts(const QString &fileName)
    {
        QString output;
        EXPECT_EQ(runTool(QStringLiteral("pdftotext"),
                          {QStringLiteral("-raw"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), fileName,
                           QStringLiteral("-")},
                          &output),
                  0);
        QStringList pages = output.split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        for (QString &page : pages)
            page = page.simplified();
        pages.removeAll(QString());
        return pages;
    }

    // The top of the first word of text on page 1, in points.
    static double WordTop(const QString &fileName, const QString &word)
    {
        QString output;
        runTool(QStringLiteral("pdftotext"),
                {QStringLiteral("-bbox"), QStringLiteral("-enc"), QStringLiteral("UTF-8"), QStringLiteral("-f"),
                 QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), fileName, QStringLiteral("-")},
                &output);
        const QRegularExpression pattern(QStringLiteral("<word xMin=\"[^\"]*\" yMin=\"([^\"]*)\"[^>]*>%1</word>")
                                             .arg(QRegularExpression::escape(word)));
        const QRegularExpressionMatch match = pattern.match(output);
        EXPECT_TRUE(match.hasMatch()) << word.toStdString();
        return match.captured(1).toDouble();
    }

    QString MemoText(const char *name) const
    {
        auto *memo = qobject_cast<TqvxMemoView *>(form->qvxReport1->FindObject(QLatin1String(name)));
        return memo ? memo->Text().simplified() : QString();
    }

    QTemporaryDir dir;
    QString chosen;
};

} // namespace

TEST_F(SavePdfEndToEndTest, TheSavedFileHoldsTheFilledQuestionnaire)
{
    Fill(QStringLiteral("O'Neil & Co"));
    const QString file = Save(QStringLiteral("questionnaire.pdf"));
    ASSERT_TRUE(QFile::exists(file));
    QString complaint;
    EXPECT_EQ(runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), file}, &complaint), 0)
        << complaint.toStdString();

    // The viewer keeps its tool bar, menu and window as the reader has them.
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    for (const char *preference : {"/HideToolbar", "/HideMenubar", "/HideWindowUI", "/FitWindow", "/CenterWindow"})
        EXPECT_FALSE(bytes.contains(preference)) << preference;

    const QString text = Text(file);
    for (const char *memo : {"Memo13", "Memo14", "Memo15", "Memo21", "Memo22", "Memo23", "Memo24", "Memo1", "Memo4",
                             "Memo19", "Memo7", "Memo11"})
        EXPECT_TRUE(text.contains(MemoText(memo))) << memo;
    for (int row = 0; row < TSelectionRules::ParamRowCount; ++row) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(ParamCaptions[row]).simplified())) << row;
        EXPECT_TRUE(text.contains(form->Rules().ChoiceCaption(G1, row).simplified())) << row;
    }
    for (int row = 0; row < TSelectionRules::AccessoryRowCount; ++row) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(AccessoryCaptions[row]).simplified())) << row;
        EXPECT_TRUE(text.contains(form->Rules().ChoiceCaption(G2, row).simplified())) << row;
    }
    EXPECT_TRUE(text.contains(QStringLiteral("O'Neil & Co")));
    EXPECT_TRUE(text.contains(MemoText("Memo19") + QStringLiteral(" 12")));
    EXPECT_TRUE(text.contains(QStringLiteral("1 Main St., +1 555 0100")));
    EXPECT_TRUE(text.contains(QStringLiteral("J. Smith")));
    EXPECT_TRUE(text.contains(form->Rules().Description().simplified()));
    EXPECT_TRUE(text.contains(form->Rules().OrderCode() + QStringLiteral("OEM")));
    for (const QString &line : form->Rules().Composition())
        EXPECT_TRUE(text.contains(line.simplified())) << line.toStdString();

    // The accessory rows grow with their text, one below the other: their
    // memos (13 pixels of text within gaps of 5) are taller than designed.
    for (int row = 1; row < TSelectionRules::AccessoryRowCount; ++row) {
        const auto top = [&](int r) {
            return WordTop(file, QString::fromUtf8(AccessoryCaptions[r]).section(QLatin1Char(' '), 0, 0));
        };
        EXPECT_GE(top(row) - top(row - 1), 18) << row;
    }

    // A second save offers the same name and writes the same text.
    const QString again = Save(QStringLiteral("again.pdf"));
    ASSERT_EQ(runner.fileRequests.size(), 2u);
    EXPECT_EQ(runner.fileRequests[1].FileName, file);
    EXPECT_EQ(Text(again), text);
}

TEST_F(SavePdfEndToEndTest, ALongOrganisationNameWrapsAndItsRowGrows)
{
    Fill(QStringLiteral("Short"));
    const QString shortName = Save(QStringLiteral("short.pdf"));
    const QString name = QStringLiteral("Limited liability company Northern Switchgear Works of the united "
                                        "engineering group, department of procurement and supply");
    form->Edit1->SetText(name);
    const QString longName = Save(QStringLiteral("long.pdf"));

    EXPECT_TRUE(Text(longName).contains(name));
    // The address row below starts lower by at least one more line.
    const QString address = MemoText("Memo22").section(QLatin1Char(' '), 0, 0);
    EXPECT_GT(WordTop(longName, address), WordTop(shortName, address) + 8);
}

TEST_F(SavePdfEndToEndTest, ALongCompositionContinuesOnTheNextPageLineByLine)
{
    Fill(QStringLiteral("O'Neil & Co"));
    Save(QStringLiteral("first.pdf"));
    // More composition lines than a page holds, run through the template.
    QStringList lines;
    for (int i = 1; i <= 80; ++i)
        lines.append(QStringLiteral("Composition line %1 of a long design").arg(i, 2, 10, QLatin1Char('0')));
    TqvxUserDataSet *composition = form->qvxUserDataSet3;
    composition->SetRangeEndCount(int(lines.size()));
    composition->SetOnGetValue(
        [&](const QString &, Variant &value) { value = lines.value(composition->RecNo()); });
    ASSERT_TRUE(form->qvxReport1->PrepareReport(true));
    const QString file = dir.filePath(QStringLiteral("long.pdf"));
    form->qvxPDFExport1->SetFileName(file);
    ASSERT_TRUE(form->qvxReport1->Export(form->qvxPDFExport1));

    QString info;
    ASSERT_EQ(runTool(QStringLiteral("pdfinfo"), {file}, &info), 0);
    const QRegularExpressionMatch pages = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    ASSERT_TRUE(pages.hasMatch());
    EXPECT_GE(pages.captured(1).toInt(), 2);
    const QString text = Text(file);
    qsizetype at = 0;
    for (const QString &line : lines) {
        const qsizetype found = text.indexOf(line, at);
        EXPECT_GE(found, at) << line.toStdString();
        at = qMax(at, found);
    }
}

TEST_F(SavePdfEndToEndTest, AStoppedExportLeavesThePreviousFile)
{
    Fill(QStringLiteral("O'Neil & Co"));
    const QString file = dir.filePath(QStringLiteral("stopped.pdf"));
    {
        QFile previous(file);
        ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
        previous.write("previous");
    }
    // The user stops the export as it begins.
    form->qvxPDFExport1->SetOnBeginExport([this](TObject *) { form->qvxReport1->SetTerminated(true); });
    chosen = QStringLiteral("stopped.pdf");
    EXPECT_FALSE(form->SaveAsPdf());
    QFile previous(file);
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), QByteArray("previous"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("stopped.pdf")});
}

TEST_F(SavePdfEndToEndTest, TheTitleRowIsFilled)
{
    Fill(QStringLiteral("O'Neil & Co"));
    const QString file = Save(QStringLiteral("look.pdf"));
    // Page 1 at the report's own 96 pixels per inch, as a portable pixmap.
    const QString image = dir.filePath(QStringLiteral("page"));
    ASSERT_EQ(runTool(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-r"), QStringLiteral("96"), QStringLiteral("-f"), QStringLiteral("1"),
                       QStringLiteral("-l"), QStringLiteral("1"), QStringLiteral("-singlefile"), file, image}),
              0);
    QFile ppm(image + QStringLiteral(".ppm"));
    ASSERT_TRUE(ppm.open(QIODevice::ReadOnly));
    QList<QByteArray> header;
    for (int line = 0; line < 3; ++line)
        header += ppm.readLine().trimmed().split(' ');
    ASSERT_EQ(header.size(), 4);
    ASSERT_EQ(header[0], "P6");
    const int width = header[1].toInt();
    const QByteArray pixels = ppm.readAll();
    const auto pixel = [&](int x, int y) {
        const qsizetype at = (qsizetype(y) * width + x) * 3;
        return QColor(quint8(pixels[at]), quint8(pixels[at + 1]), quint8(pixels[at + 2]));
    };
    // Colours travel with two decimals per channel.
    const auto near = [](const QColor &a, const QColor &b) {
        return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2 && qAbs(a.blue() - b.blue()) <= 2;
    };
    // The title starts at the top margin (10 mm, 37.8 pixels).  Inside the
    // title memo, left of its centred text: its fill, 15853019.
    EXPECT_PRED2(near, pixel(45, 50), QColor(0xDB, 0xE4, 0xF1));
    // Inside the memo below it, which has no fill.
    EXPECT_PRED2(near, pixel(45, 78), QColor(Qt::white));
}

TEST_F(SavePdfEndToEndTest, AFileThatCannotBeWrittenIsReportedOnce)
{
    Fill(QStringLiteral("O'Neil & Co"));
    // A folder that does not exist, and a name taken by a folder.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("taken.pdf/inside")));
    for (const QString &name : {QStringLiteral("missing/questionnaire.pdf"), QStringLiteral("taken.pdf")}) {
        runner.messages.clear();
        Save(name);
        ASSERT_EQ(runner.messages.size(), 1u) << name.toStdString();
        EXPECT_EQ(runner.messages[0].Type, mtError);
        EXPECT_TRUE(runner.messages[0].Text.startsWith(QStringLiteral("Были обнаружены следующие ошибки:")))
            << runner.messages[0].Text.toStdString();
    }
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("taken.pdf/inside"))).isDir());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("taken.pdf")});
}

// A name with dots of its own gets ".pdf" after it; a name that ends in
// ".pdf", in any letter case, is written as it is.
TEST_F(SavePdfEndToEndTest, ANameWithADotIsSavedWithTheExtension)
{
    Fill(QStringLiteral("O'Neil & Co"));
    for (const QString &name : {QStringLiteral("Заказ от 08.12.2026"), QStringLiteral("Q.PDF"),
                                QStringLiteral("v1.0.Pdf"), QStringLiteral("точка.")})
        Save(name);
    EXPECT_TRUE(runner.messages.empty()) << runner.messages[0].Text.toStdString();
    const QStringList written = {QStringLiteral("Q.PDF"), QStringLiteral("v1.0.Pdf"),
                                 QStringLiteral("Заказ от 08.12.2026.pdf"), QStringLiteral("точка.pdf")};
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), written);
    for (const QString &name : written)
        EXPECT_TRUE(Text(dir.filePath(name)).contains(QStringLiteral("O'Neil & Co"))) << name.toStdString();
}

TEST_F(SavePdfEndToEndTest, ErrorsRaisedToTheSaveButtonAreShownThere)
{
    Fill(QStringLiteral("O'Neil & Co"));
    form->qvxReport1->EngineOptions()->SetNewSilentMode(simReThrow);
    chosen = QStringLiteral("missing/questionnaire.pdf");
    EXPECT_THROW(form->SaveAsPdf(), Exception);
    EXPECT_TRUE(runner.messages.empty());
    EXPECT_NO_THROW(Save(chosen));
    ASSERT_EQ(runner.messages.size(), 1u);
    EXPECT_TRUE(runner.messages[0].Text.startsWith(QStringLiteral("Были обнаружены следующие ошибки:")));
    EXPECT_FALSE(form->Saving());
    EXPECT_TRUE(form->Button1->Enabled());
}

TEST_F(SavePdfEndToEndTest, AnUndeterminedModelStillEndsWithTheOrderCode)
{
    // Several models fit; the user leaves the choice to the manager.
    pressInDialog = 2;
    Complete({1, 7});
    ASSERT_EQ(form->Rules().ModelNo(), 0);
    ASSERT_TRUE(form->Rules().Composition().isEmpty());
    const QString file = Save(QStringLiteral("undetermined.pdf"));
    const QString text = Text(file);
    EXPECT_TRUE(text.contains(QStringLiteral("НЕ ОПРЕДЕЛЁН")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("Структурный состав OEM"))) << text.toStdString();
    // The heading of the composition stands on the page of its row and the
    // order code, and no page ends with a heading.
    const QStringList pageTexts = PageTexts(file);
    ASSERT_FALSE(pageTexts.isEmpty());
    EXPECT_TRUE(pageTexts.last().endsWith(QStringLiteral("Структурный состав OEM"))) << pageTexts.last().toStdString();
    for (const QString &page : pageTexts)
        for (const char *heading : {"Memo1", "Memo4", "Memo7", "Memo11"})
            EXPECT_FALSE(page.endsWith(MemoText(heading))) << page.toStdString();

    // "OEM" alone is legible, at the size of the template's other texts.
    QString boxes;
    runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")}, &boxes);
    const QRegularExpressionMatch oem =
        QRegularExpression(QStringLiteral("yMin=\"([^\"]*)\" xMax=\"[^\"]*\" yMax=\"([^\"]*)\">OEM<")).match(boxes);
    ASSERT_TRUE(oem.hasMatch()) << boxes.toStdString();
    EXPECT_GE(oem.captured(2).toDouble() - oem.captured(1).toDouble(), 9.0);

    // Every composition row is closed on all sides, and the last of them
    // stays on the page of the closing line below it.
    TqvxCustomPreviewPages *pages = form->qvxReport1->PreviewPages();
    int lastRowPage = -1;
    int closingPage = -1;
    for (int index = 0; index < pages->Count(); ++index)
        for (TqvxComponent *object : pages->GetPage(index)->GetAllObjects()) {
            if (object->Name() == QLatin1String("Line1"))
                closingPage = index;
            if (auto *row = qobject_cast<TqvxMemoView *>(object); row && row->Name() == QLatin1String("Memo12")) {
                lastRowPage = index;
                EXPECT_EQ(int(row->Frame()->Typ().toInt()), int((ftLeft | ftRight | ftTop | ftBottom).toInt()));
            }
        }
    EXPECT_GE(lastRowPage, 0);
    EXPECT_EQ(lastRowPage, closingPage);
}

// Whatever the organisation fields hold prints as the fields show it on
// their one line, and nothing in them is evaluated.
TEST_F(SavePdfEndToEndTest, PastedTextPrintsAsItsFieldShowsIt)
{
    Fill(QStringLiteral("start"));
    QString longText;
    while (longText.size() < 3000)
        longText += QStringLiteral("Длинное наименование %1 ").arg(longText.size());
    struct Pasted {
        QString text;
        QString field; // what the field holds and shows
        QString printed;
    };
    const auto same = [](const QString &text) { return Pasted{text, text, text}; };
    // A line break of any kind and a tab are one blank in the field and in
    // the document; format characters that show nothing in the field
    // print as nothing.
    const QString joined = QStringLiteral("ООО «Альфа» филиал № 2");
    const QList<Pasted> hostile = {
        {QStringLiteral("ООО «Альфа»\nфилиал № 2"), joined, joined},
        {QStringLiteral("ООО «Альфа»\r\nфилиал № 2"), joined, joined},
        {QStringLiteral("ООО «Альфа»\rфилиал № 2"), joined, joined},
        {QStringLiteral("Отдел\tснабжения\t№ 3"), QStringLiteral("Отдел снабжения № 3"),
         QStringLiteral("Отдел снабжения № 3")},
        {QStringLiteral("мяг\u00ADкий нуле\u200Bвой\u2060шаг\uFEFF"), QStringLiteral("мяг\u00ADкий нуле\u200Bвой\u2060шаг\uFEFF"),
         QStringLiteral("мягкий нулевойшаг")},
        same(QStringLiteral("O'Neil's \"Best\" ''doubled'' '")),
        same(QStringLiteral("a [b] [Описание] [Код для заказа] [Date] [qvxUserDataSet1.\"Param\"] [1+1]")),
        same(QStringLiteral("<b>bold</b> <i>it</i> &amp; <font color=\"red\">red</font>")),
        same(QStringLiteral("' + Report.Name + '")),
        same(QStringLiteral("IIF(True, 'a', 'b')")),
        same(QStringLiteral("']; end. begin ['")),
        same(QStringLiteral("#13#10 \\n \" + \" ; // { } (* *)")),
        same(QStringLiteral("Ωμέγα Ж ä € ∑ ≤ 𝔸 😀")),
        // Characters Liberation and DejaVu lack come from another installed
        // face, here one of a TrueType collection.
        same(QStringLiteral("中文字体 测试")),
    };
    for (const Pasted &pasted : hostile) {
        for (TEdit *edit : {form->Edit1, form->Edit2, form->Edit3})
            Paste(edit, pasted.text, pasted.field);
        const QString file = Save(QStringLiteral("pasted.pdf"));
        ASSERT_TRUE(runner.messages.empty()) << pasted.text.toStdString() << ": "
                                             << runner.messages[0].Text.toStdString();
        QString complaint;
        EXPECT_EQ(runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), file}, &complaint), 0)
            << complaint.toStdString();
        EXPECT_EQ(Text(file).count(pasted.printed), 3) << pasted.text.toStdString() << "\n" << Text(file).toStdString();
    }
    // The last document's Chinese characters are drawn by an embedded face.
    QString fonts;
    runTool(QStringLiteral("pdffonts"), {dir.filePath(QStringLiteral("pasted.pdf"))}, &fonts);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("WenQuanYi.*CID TrueType\\s+Identity-H\\s+yes"))
                    .match(fonts)
                    .hasMatch())
        << fonts.toStdString();
    for (TEdit *edit : {form->Edit1, form->Edit2, form->Edit3})
        Paste(edit, longText);
    const QString file = Save(QStringLiteral("long.pdf"));
    EXPECT_TRUE(runner.messages.empty()) << runner.messages[0].Text.toStdString();
    EXPECT_EQ(Text(file).count(longText.simplified()), 3);
}

// Every text run of the saved questionnaire lies wholly inside its cell,
// and a value sits on its caption's baseline where they share a row: each
// memo of the prepared pages drawn on a recording canvas at the report's
// own scale, and every word of the PDF, as pdftotext places it, within the
// frame of the memo it stands in.
TEST_F(SavePdfEndToEndTest, EveryTextLiesInsideItsCell)
{
    Fill(QStringLiteral("O'Neil & Co"));
    const QString file = Save(QStringLiteral("cells.pdf"));
    TqvxCustomPreviewPages *pages = form->qvxReport1->PreviewPages();
    ASSERT_GT(pages->Count(), 0);
    QString boxes;
    ASSERT_EQ(runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")}, &boxes), 0);
    const QStringList pdfPages = boxes.split(QStringLiteral("<page "), Qt::SkipEmptyParts).mid(1);
    ASSERT_EQ(pdfPages.size(), pages->Count());
    const QRegularExpression wordPattern(
        QStringLiteral("xMin=\"([^\"]*)\" yMin=\"([^\"]*)\" xMax=\"([^\"]*)\" yMax=\"([^\"]*)\">([^<]*)<"));
    QHash<QString, int> textTops;
    for (int index = 0; index < pages->Count(); ++index) {
        TqvxReportPage *page = pages->GetPage(index);
        ASSERT_NE(page, nullptr);
        // The framed cells of the page in points from its top left corner.
        constexpr double PointsPerMillimetre = 72 / 25.4;
        QList<QPair<QRectF, QString>> cells;
        for (TqvxComponent *object : page->GetAllObjects())
            if (auto *memo = qobject_cast<TqvxMemoView *>(object); memo && memo->Frame()->Typ() != 0)
                cells.append({QRectF(page->LeftMargin() * PointsPerMillimetre + memo->GetAbsLeft() * 0.75,
                                     page->TopMargin() * PointsPerMillimetre + memo->GetAbsTop() * 0.75,
                                     memo->Width() * 0.75, memo->Height() * 0.75),
                              memo->Name()});
        for (QRegularExpressionMatchIterator words = wordPattern.globalMatch(pdfPages[index]); words.hasNext();) {
            const QRegularExpressionMatch word = words.next();
            const QRectF box(QPointF(word.captured(1).toDouble(), word.captured(2).toDouble()),
                             QPointF(word.captured(3).toDouble(), word.captured(4).toDouble()));
            const auto cell = std::find_if(cells.cbegin(), cells.cend(),
                                           [&](const auto &c) { return c.first.contains(box.center()); });
            if (cell == cells.cend())
                continue;
            EXPECT_TRUE(box.top() >= cell->first.top() && box.bottom() <= cell->first.bottom())
                << cell->second.toStdString() << " on page " << index + 1 << ": \"" << word.captured(5).toStdString()
                << "\" from " << box.top() << " to " << box.bottom() << " pt in " << cell->first.top() << " to "
                << cell->first.bottom();
        }

        for (TqvxComponent *object : page->GetAllObjects()) {
            auto *memo = qobject_cast<TqvxMemoView *>(object);
            // The order code's one-pixel text is drawn out of sight on
            // purpose.
            if (!memo || memo->Font()->Height() == 1)
                continue;
            TRecordingCanvas canvas;
            memo->Draw(&canvas, 1, 1, 0, 0);
            const TRect cell(qvxRound(memo->GetAbsLeft()), qvxRound(memo->GetAbsTop()),
                             qvxRound(memo->GetAbsLeft() + memo->Width()),
                             qvxRound(memo->GetAbsTop() + memo->Height()));
            for (const TCanvasRecord &text : canvas.TextRecords()) {
                EXPECT_TRUE(text.Bounds.Top >= cell.Top && text.Bounds.Bottom <= cell.Bottom
                            && text.Bounds.Left >= cell.Left && text.Bounds.Right <= cell.Right)
                    << memo->Name().toStdString() << " on page " << index + 1 << ": \"" << text.Text.toStdString()
                    << "\" at " << text.Bounds.Left << "," << text.Bounds.Top << "-" << text.Bounds.Right << ","
                    << text.Bounds.Bottom << " in " << cell.Left << "," << cell.Top << "-" << cell.Right << ","
                    << cell.Bottom;

                if (!textTops.contains(memo->Name()))
                    textTops[memo->Name()] = text.Bounds.Top;
            }
        }
    }
    // The quantity stands on the line of its caption.
    ASSERT_TRUE(textTops.contains(QStringLiteral("Memo19")) && textTops.contains(QStringLiteral("Memo20")));
    EXPECT_EQ(textTops[QStringLiteral("Memo20")], textTops[QStringLiteral("Memo19")]);
}

namespace {

// Whatever is left of a message once the quoted names of files, folders
// and expressions and the name of the report object are taken out holds
// no English word.
void checkRussian(QString text)
{
    text.remove(QRegularExpression(QStringLiteral("\"[^\"]*\"|'[^']*'|: [A-Za-z]+\\d+$")));
    const QRegularExpressionMatch english = QRegularExpression(QStringLiteral("[A-Za-z]{3,}")).match(text);
    EXPECT_FALSE(english.hasMatch()) << english.captured(0).toStdString() << " in " << text.toStdString();
}

} // namespace

void SavePdfEndToEndTest::SaveShowing(const QString &expected)
{
    runner.messages.clear();
    form->Button1->Click();
    ASSERT_EQ(runner.messages.size(), 1u) << expected.toStdString();
    EXPECT_TRUE(runner.messages[0].Text.contains(expected)) << runner.messages[0].Text.toStdString();
    checkRussian(runner.messages[0].Text);
}

// What goes wrong on the way speaks Russian too: the reason a file cannot
// be written, with its name, in one box; and what is wrong with an
// expression.
TEST_F(SavePdfEndToEndTest, FailuresAreReportedInRussian)
{
    Fill(QStringLiteral("O'Neil & Co"));

    Save(QStringLiteral("missing/questionnaire.pdf"));
    ASSERT_EQ(runner.messages.size(), 1u);
    const QString missing = runner.messages[0].Text;
    const QString folder = dir.filePath(QStringLiteral("missing"));
    EXPECT_TRUE(missing.contains(QStringLiteral("Папка \"%1/\" не существует.").arg(folder)))
        << missing.toStdString();
    checkRussian(missing);

    // A file over the size limit the system sets.
    runner.messages.clear();
    struct rlimit previous;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    struct rlimit limit = previous;
    limit.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    Save(QStringLiteral("large.pdf"));
    setrlimit(RLIMIT_FSIZE, &previous);
    ASSERT_EQ(runner.messages.size(), 1u);
    const QString large = runner.messages[0].Text;
    EXPECT_TRUE(large.contains(QStringLiteral("Файл слишком велик"))) << large.toStdString();
    checkRussian(large);

    // An expression the report's language cannot read.
    try {
        form->qvxReport1->Calc(QStringLiteral("1 +"));
        ADD_FAILURE() << "the expression was taken";
    } catch (const Exception &e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("Ожидается выражение"))) << e.Message().toStdString();
        checkRussian(e.Message());
    }
}

// Nothing typed into the organisation fields is evaluated: every name the
// memos know as a macro or a built-in value, in any letter case and
// anywhere in the text, prints as it was typed.
TEST_F(SavePdfEndToEndTest, TypedMacrosPrintAsTyped)
{
    Fill(QStringLiteral("start"));
    const QStringList names = {QStringLiteral("TotalPages#"), QStringLiteral("CopyName#"), QStringLiteral("TotalPages"),
                               QStringLiteral("Page#"),       QStringLiteral("Page"),      QStringLiteral("Line#"),
                               QStringLiteral("Line"),        QStringLiteral("Date"),      QStringLiteral("Time")};
    const QList<TEdit *> fields = {form->Edit1, form->Edit2, form->Edit3};
    for (const QString &name : names) {
        const QStringList typed = {QLatin1Char('[') + name + QLatin1Char(']'),
                                   QStringLiteral("ООО [%1] «Альфа»").arg(name.toLower()),
                                   QStringLiteral("Отдел снабжения [%1]").arg(name.toUpper())};
        for (int i = 0; i < fields.size(); ++i) {
            fields[i]->SetText(QString());
            Focus(fields[i]);
            Type(typed[i]);
            ASSERT_EQ(fields[i]->Text(), typed[i]);
        }
        const QString text = Text(Save(QStringLiteral("macros.pdf")));
        ASSERT_TRUE(runner.messages.empty()) << runner.messages[0].Text.toStdString();
        for (const QString &field : typed)
            EXPECT_TRUE(text.contains(field)) << field.toStdString() << " in\n" << text.toStdString();
    }
}

// A file the user may not write is not replaced, though the user said
// yes to replacing it: one message names it and says why.
TEST_F(SavePdfEndToEndTest, AReadOnlyFileIsKept)
{
    Fill(QStringLiteral("O'Neil & Co"));
    const QString file = dir.filePath(QStringLiteral("q.pdf"));
    {
        QFile previous(file);
        ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
        previous.write("previous");
    }
    ::chmod(QFile::encodeName(file).constData(), 0444);
    Save(QStringLiteral("q.pdf"));
    ASSERT_EQ(runner.messages.size(), 1u);
    EXPECT_TRUE(runner.messages[0].Text.contains(
        QStringLiteral("Файл \"%1\" доступен только для чтения и не может быть заменён.").arg(file)))
        << runner.messages[0].Text.toStdString();
    QFile previous(file);
    ASSERT_TRUE(previous.open(QIODevice::ReadOnly));
    EXPECT_EQ(previous.readAll(), QByteArray("previous"));
    EXPECT_EQ(previous.permissions() & (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther),
              0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("q.pdf")});
}

// An ordinary user saves over a file of their own in a folder they may not
// write (root's): the file is written in place.
TEST_F(SavePdfEndToEndTest, SavesOverTheUsersFileInAFolderTheyCannotWrite)
{
    const QString organisation = QStringLiteral("ООО «Альфа»");
    if (NobodyRun::Child()) {
        Fill(organisation);
        const QString file = NobodyRun::Folder() + QStringLiteral("/q.pdf");
        runner.onFile = [&](TFileDialogRequest &request) {
            request.FileName = file;
            return true;
        };
        form->Button1->Click();
        EXPECT_TRUE(runner.messages.empty()) << runner.messages[0].Text.toStdString();
        EXPECT_TRUE(Text(file).contains(organisation));
        return;
    }
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir folder;
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    const QString file = folder.filePath(QStringLiteral("q.pdf"));
    {
        QFile previous(file);
        ASSERT_TRUE(previous.open(QIODevice::WriteOnly));
        previous.write("previous");
    }
    ASSERT_EQ(::chown(QFile::encodeName(file).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    const NobodyRun run = NobodyRun::Run(folder.path());
    if (run.skipped)
        GTEST_SKIP() << "the test cannot start as nobody: " << run.output.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    QString complaint;
    EXPECT_EQ(runTool(QStringLiteral("qpdf"), {QStringLiteral("--check"), file}, &complaint), 0)
        << complaint.toStdString();
    EXPECT_TRUE(Text(file).contains(organisation));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("q.pdf")});
}

// Saving in place fails where a folder or a pipe has the name, where the
// temporary folder is full, and where the file is removed or replaced by a
// link or a pipe while the export runs: each save shows one message in
// Russian that names the folder or file that failed and why (a folder as
// the save beside a file names it), and a file that is there keeps its
// content.
TEST_F(SavePdfEndToEndTest, FailuresOfASaveInPlaceAreNamedOnceInRussian)
{
    if (NobodyRun::Child()) {
        Fill(QStringLiteral("O'Neil & Co"));
        const QString folder = NobodyRun::Folder();
        const QString file = folder + QStringLiteral("/q.pdf");
        runner.onFile = [&](TFileDialogRequest &request) {
            request.FileName = file;
            return true;
        };
        // nobody owns the closed folder and may open it for a moment.
        const auto replaceFile = [&](const std::function<void(const QByteArray &)> &replace) {
            ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0755), 0);
            const QByteArray name = QFile::encodeName(file);
            ::unlink(name.constData());
            replace(name);
            ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
        };
        const auto previous = [](const QByteArray &name) { SaveFile(QFile::decodeName(name), "previous"); };

        for (const QString &name : {QStringLiteral("taken.pdf"), QStringLiteral("pipe.pdf")}) {
            runner.onFile = [&](TFileDialogRequest &request) {
                request.FileName = folder + QLatin1Char('/') + name;
                return true;
            };
            SaveShowing(QStringLiteral("Не удалось создать файл \"%1/%2\". %3")
                            .arg(folder, name,
                                 name == QStringLiteral("pipe.pdf") ? QStringLiteral("Это не обычный файл.")
                                                                    : QStringLiteral("Это папка.")));
        }
        runner.onFile = [&](TFileDialogRequest &request) {
            request.FileName = file;
            return true;
        };
        SaveShowing(QStringLiteral("Не удалось записать файл \"%1\": его новое содержимое не удалось сохранить во "
                                   "временной папке \"%2\". На устройстве не осталось места.")
                        .arg(file, TempFolder()));
        QFile kept(file);
        EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == "previous");

        // With room in the temporary folder, the file is taken away while
        // the pages are exported.
        qputenv("TMPDIR", qgetenv("QVX_ROOMY_TMPDIR"));
        std::function<void(const QByteArray &)> replacement;
        form->qvxReport1->OnProgress = [&](TqvxReport *, TqvxProgressType type, int) {
            if (type == ptExporting && replacement)
                replaceFile(std::exchange(replacement, nullptr));
        };
        replacement = [](const QByteArray &) {};
        SaveShowing(QStringLiteral("Не удалось записать файл \"%1\". Файл был удалён во время сохранения.").arg(file));
        replaceFile(previous);
        replacement = [](const QByteArray &name) { ASSERT_EQ(::symlink("elsewhere.pdf", name.constData()), 0); };
        SaveShowing(QStringLiteral("Не удалось записать файл \"%1\". Это не обычный файл.").arg(file));
        replaceFile(previous);
        replacement = [](const QByteArray &name) { ASSERT_EQ(::mkfifo(name.constData(), 0644), 0); };
        SaveShowing(QStringLiteral("Не удалось записать файл \"%1\". Это не обычный файл.").arg(file));
        return;
    }
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    SmallFileSystem full;
    if (!full.Failure().isEmpty())
        GTEST_SKIP() << full.Failure().toStdString();
    QTemporaryDir roomy;
    ASSERT_EQ(::chown(QFile::encodeName(roomy.path()).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("q.pdf"));
    SaveFile(file, "previous");
    for (const QString &name : {file, folder.path()})
        ASSERT_EQ(::chown(QFile::encodeName(name).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    ASSERT_TRUE(QDir(folder.path()).mkpath(QStringLiteral("taken.pdf/inside")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.filePath(QStringLiteral("pipe.pdf"))).constData(), 0666), 0);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0555);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("TMPDIR"), full.TemporaryFolder());
    environment.insert(QStringLiteral("QVX_ROOMY_TMPDIR"), roomy.path());
    const NobodyRun run = NobodyRun::Run(folder.path(), environment);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    if (run.skipped)
        GTEST_SKIP() << "the test cannot start as nobody: " << run.output.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    struct stat left {};
    EXPECT_TRUE(::lstat(QFile::encodeName(file).constData(), &left) == 0 && S_ISFIFO(left.st_mode));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList({QStringLiteral("pipe.pdf"), QStringLiteral("q.pdf"), QStringLiteral("taken.pdf")}));
    // Qt keeps a run-time folder of nobody's there; no file is left.
    for (const QString &temporary : {full.TemporaryFolder(), roomy.path()})
        EXPECT_EQ(QDir(temporary).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList())
            << temporary.toStdString();
}

// An ordinary user saves beside the file in a folder of their own, and
// the folder is renamed while the pages are exported, with nothing or
// another folder put at its name: each save shows one message in Russian
// that says what became of the folder; the file keeps its content in the
// renamed folder, and nothing is left there, in the folder put in its
// place or in the temporary folder.
TEST_F(SavePdfEndToEndTest, ASaveWhoseFolderIsRenamedMeanwhileLeavesNothingBehind)
{
    if (NobodyRun::Child()) {
        Fill(QStringLiteral("O'Neil & Co"));
        const QString folder = NobodyRun::Folder() + QStringLiteral("/save");
        const QString file = folder + QStringLiteral("/q.pdf");
        runner.onFile = [&](TFileDialogRequest &request) {
            request.FileName = file;
            return true;
        };
        std::function<void()> meanwhile;
        form->qvxReport1->OnProgress = [&](TqvxReport *, TqvxProgressType type, int) {
            if (type == ptExporting && meanwhile)
                std::exchange(meanwhile, nullptr)();
        };
        const auto renameTo = [&](const QString &renamed, bool replaced) {
            meanwhile = [=] {
                ASSERT_TRUE(QDir().rename(folder, renamed));
                if (replaced) {
                    ASSERT_TRUE(QDir().mkdir(folder));
                }
            };
        };
        renameTo(NobodyRun::Folder() + QStringLiteral("/renamed"), false);
        SaveShowing(QStringLiteral("Не удалось создать файл \"%1\". Папка \"%2/\" не существует.").arg(file, folder));
        ASSERT_TRUE(QDir().mkdir(folder));
        SaveFile(file, "previous");
        renameTo(NobodyRun::Folder() + QStringLiteral("/replaced"), true);
        SaveShowing(QStringLiteral("Не удалось создать файл \"%1\". Папка \"%2/\" была перемещена или заменена во "
                                   "время сохранения.")
                        .arg(file, folder));
        return;
    }
    if (const QString why = NobodyRun::Impossible(); !why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir home;
    QTemporaryDir temporary;
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("save")));
    SaveFile(home.filePath(QStringLiteral("save/q.pdf")), "previous");
    for (const QString &name : {home.path(), home.filePath(QStringLiteral("save")),
                                home.filePath(QStringLiteral("save/q.pdf")), temporary.path()})
        ASSERT_EQ(::chown(QFile::encodeName(name).constData(), NobodyRun::Uid, NobodyRun::Gid), 0);
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("TMPDIR"), temporary.path());
    const NobodyRun run = NobodyRun::Run(home.path(), environment);
    if (run.skipped)
        GTEST_SKIP() << "the test cannot start as nobody: " << run.output.toStdString();
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    const auto entries = [&](const QString &folder) {
        return QDir(home.filePath(folder)).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    };
    for (const QString &renamed : {QStringLiteral("renamed"), QStringLiteral("replaced")}) {
        EXPECT_EQ(entries(renamed), QStringList{QStringLiteral("q.pdf")}) << renamed.toStdString();
        QFile kept(home.filePath(renamed + QStringLiteral("/q.pdf")));
        EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == "previous") << renamed.toStdString();
    }
    EXPECT_EQ(entries(QStringLiteral("save")), QStringList());
    EXPECT_EQ(QDir(temporary.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList());
}

namespace {

// What a message box showed: its lines as they stand on the screen (joined
// by line feeds), the font and width of its text, and what selecting each
// path in it and copying gives.
struct ShownMessage {
    QString text;
    QFont font;
    int width = 0;
    QStringList copiedPaths;
};

const QRegularExpression &QuotedPath()
{
    static const QRegularExpression quotedPath(QStringLiteral("\"([^\"]*/[^\"]*)\""));
    return quotedPath;
}

// Selects each quoted path of the view's text, as a user drags over it,
// copies it, and answers what the clipboard then holds.
QStringList CopyEachPath(QTextEdit *view)
{
    QStringList copied;
    const QString text = view->document()->toRawText();
    for (QRegularExpressionMatchIterator it = QuotedPath().globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch path = it.next();
        QTextCursor selection(view->document());
        selection.setPosition(int(path.capturedStart(1)));
        selection.setPosition(int(path.capturedEnd(1)), QTextCursor::KeepAnchor);
        view->setTextCursor(selection);
        QApplication::clipboard()->clear();
        view->copy();
        copied.append(QApplication::clipboard()->text());
    }
    return copied;
}

// Shows the request in a real message box, reads what it shows once it is
// up, and closes it.
int ShowAndRead(const TMessageBoxRequest &request, ShownMessage &shown)
{
    QElapsedTimer waited;
    waited.start();
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QTextEdit *view = MessageBoxText(box);
        if (!view || !view->isVisible()) {
            if (waited.elapsed() > 30000)
                poll.stop();
            return;
        }
        poll.stop();
        shown.text = ShownLines(view).join(QLatin1Char('\n'));
        shown.font = view->font();
        shown.width = view->viewport()->width();
        shown.copiedPaths = CopyEachPath(view);
        box->accept();
    });
    poll.start();
    InteractiveModalRunner real;
    return real.MessageBox(request);
}

QString WithoutBlanks(QString text)
{
    return text.remove(QLatin1Char(' ')).remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
}

} // namespace

// A path in an error box is one unit: it moves to the next line whole, and
// only a path wider than a line breaks, after one of its slashes where a
// part between them is not wider than a line itself.  The box breaks its
// lines itself, on the screen only: every path, selected and copied, is the
// path, broken over lines or not.
TEST_F(SavePdfEndToEndTest, AnErrorBoxKeepsEachPathWhole)
{
    Fill(QStringLiteral("O'Neil & Co"));
    ShownMessage shown;
    runner.onMessage = [&](const TMessageBoxRequest &request) { return ShowAndRead(request, shown); };
    int brokenPaths = 0;
    for (int length = 2; length <= 120; length += 7) {
        const QString folder = QStringLiteral("нет-такой-папки %1").arg(QString(length, QLatin1Char('x')));
        const QString file = Save(folder + QStringLiteral("/sub-folder/q.pdf"));
        ASSERT_EQ(runner.messages.size(), 1u);
        const TMessageBoxRequest request = runner.messages[0];
        runner.messages.clear();
        ASSERT_FALSE(shown.text.isEmpty()) << "the message box did not show";
        EXPECT_TRUE(request.Text.contains(QStringLiteral("Не удалось создать файл \"%1\"").arg(file)))
            << request.Text.toStdString();
        EXPECT_EQ(WithoutBlanks(shown.text).toStdString(), WithoutBlanks(request.Text).toStdString());

        const QFontMetricsF metrics(shown.font);
        const QStringList lines = shown.text.split(QLatin1Char('\n'));
        // The blanks a line ends with stand beyond its end.
        static const QRegularExpression trailingBlanks(QStringLiteral(" +$"));
        for (const QString &line : lines)
            EXPECT_LE(metrics.horizontalAdvance(QString(line).remove(trailingBlanks)), shown.width)
                << "\"" << line.toStdString() << "\" is cut off";
        QStringList paths;
        for (QRegularExpressionMatchIterator it = QuotedPath().globalMatch(shown.text); it.hasNext();)
            paths.append(it.next().captured(1));
        for (int i = 0; i < paths.size(); ++i) {
            const QString &path = paths[i];
            const QString whole = QString(path).remove(QLatin1Char('\n'));
            EXPECT_EQ(shown.copiedPaths.value(i).toUtf8(), whole.toUtf8());
            if (!path.contains(QLatin1Char('\n')))
                continue;
            ++brokenPaths;
            // With its quotes and the full stop after it.
            EXPECT_GT(metrics.horizontalAdvance(QStringLiteral("\"%1\".").arg(whole)), shown.width)
                << "\"" << whole.toStdString() << "\" fits a line of " << shown.width << " but is broken";
            // After a slash, or inside a part between slashes that is
            // wider than a line itself.
            for (qsizetype at = path.indexOf(QLatin1Char('\n')); at >= 0; at = path.indexOf(QLatin1Char('\n'), at + 1)) {
                const qsizetype partStart = path.lastIndexOf(QLatin1Char('/'), at - 1) + 1;
                const qsizetype partEnd = path.indexOf(QLatin1Char('/'), at);
                const QString part = path.mid(partStart, partEnd < 0 ? -1 : partEnd + 1 - partStart).remove(QLatin1Char('\n'));
                EXPECT_TRUE(path[at - 1] == QLatin1Char('/') || metrics.horizontalAdvance(part) > shown.width)
                    << "\"" << whole.toStdString() << "\" is broken before \"" << path.mid(at + 1).toStdString() << "\"";
            }
        }
        shown = ShownMessage();
    }
    // The longest paths are wider than the box.
    EXPECT_GT(brokenPaths, 0);
}
