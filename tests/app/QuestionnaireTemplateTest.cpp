#include "MainFormFixture.h"

#include "app/QuestionnaireTemplate.h"
#include "export/pdf/qvxExportPDF.h"
#include "report/pages/qvxBands.h"
#include "report/components/qvxFill.h"
#include "report/components/qvxFrame.h"
#include "report/views/qvxLineView.h"
#include "report/views/qvxMemoView.h"
#include "report/pages/qvxPage.h"
#include "report/report/qvxReport.h"
#include "report/data/qvxReportDataSets.h"
#include "report/data/qvxUserDataSet.h"
#include "report/model/qvxVariables.h"
#include "toolkit/classes/Streams.h"

#include <QFile>

namespace {

constexpr double BandWidth = 718.1107;
constexpr TColor HeaderFill = 15853019;
constexpr TColor TitleColor = 8210719;
constexpr int AllSides = ftLeft | ftRight | ftTop | ftBottom;

class QuestionnaireTemplateTest : public MainFormFixture
{
protected:
    TqvxReport *report() const { return form->qvxReport1; }

    template <class T>
    T *object(const char *name) const
    {
        auto *found = qobject_cast<T *>(report()->FindObject(QString::fromLatin1(name)));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QList<TComponent *> hostComponents() const
    {
        return {form->qvxUserDataSet1, form->qvxUserDataSet2, form->qvxUserDataSet3, form->qvxPDFExport1};
    }

    static QByteArray embeddedTemplate()
    {
        QFile file(QStringLiteral(":/app/QuestionnaireReport.xml"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
};

struct BandRow {
    const char *name;
    const char *className;
    double top, height;
    const char *child;
    bool keepChild, stretched, allowSplit;
    const char *dataSet;
};

struct MemoRow {
    const char *name;
    const char *band;
    double left, top, width, height;
    int fontHeight;
    bool bold;
    int frame;
    TqvxStretchMode stretch;
    bool gap5; // both gaps 5, else the memo's defaults
    TqvxHAlign align;
    const char *dataSet;
    const char *field;
};

} // namespace

TEST_F(QuestionnaireTemplateTest, LoadsWithoutErrors)
{
    EXPECT_EQ(report()->Errors()->Count(), 0) << report()->Errors()->Text().toStdString();
    EXPECT_EQ(report()->Owner(), form.get());
    EXPECT_EQ(report()->Name(), QStringLiteral("qvxReport1"));
}

TEST_F(QuestionnaireTemplateTest, ReportSettings)
{
    EXPECT_EQ(report()->Version(), QStringLiteral("5.2.3"));
    EXPECT_FALSE(report()->DotMatrixReport());
    EXPECT_EQ(report()->IniFile(), QStringLiteral("\\Software\\Quorvel Labs"));
    EXPECT_EQ(report()->PreviewOptions()->Buttons().toInt(), 0xFFF);
    EXPECT_EQ(report()->PreviewOptions()->Zoom(), 1);
    EXPECT_EQ(report()->PrintOptions()->Printer(), QStringLiteral("По умолчанию"));
    EXPECT_EQ(report()->PrintOptions()->PrintOnSheet(), 0);
    EXPECT_DOUBLE_EQ(report()->ReportOptions()->CreateDate(), 43061.393541);
    EXPECT_DOUBLE_EQ(report()->ReportOptions()->LastChange(), 43266.529483);
    EXPECT_EQ(report()->ScriptLanguage(), QStringLiteral("PascalScript"));
    EXPECT_EQ(report()->ScriptText()->Text(), QStringLiteral("begin\r\n\r\nend.\r\n"));
}

TEST_F(QuestionnaireTemplateTest, DataSetsAndTheirListEntries)
{
    struct Expected {
        TqvxUserDataSet *dataSet;
        const char *userName;
        int count;
        const char *fields;
    };
    const Expected expected[] = {{form->qvxUserDataSet1, "qvxUserDataSet1", 11, "Param\r\nValue\r\n"},
                                 {form->qvxUserDataSet2, "qvxUserDataSet1", 5, "Param\r\nValue\r\n"},
                                 {form->qvxUserDataSet3, "qvxUserDataSet3", 0, "line\r\n"}};
    for (const Expected &e : expected) {
        EXPECT_EQ(e.dataSet->Owner(), form.get());
        EXPECT_EQ(e.dataSet->UserName(), QLatin1String(e.userName)) << e.dataSet->Name().toStdString();
        EXPECT_EQ(e.dataSet->RangeEnd(), reCount);
        EXPECT_EQ(e.dataSet->RangeEndCount(), e.count);
        EXPECT_EQ(e.dataSet->Fields()->Text(), QLatin1String(e.fields));
    }

    // The accessory set comes first under the shared name: lookups by name
    // find it, which is why every binding of the template is by object.
    TqvxReportDataSets *list = report()->DataSets();
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Items(0)->DataSet(), form->qvxUserDataSet2);
    EXPECT_EQ(list->Items(1)->DataSet(), form->qvxUserDataSet1);
    EXPECT_EQ(list->Items(2)->DataSet(), form->qvxUserDataSet3);
    EXPECT_EQ(list->Items(0)->DataSetName(), QStringLiteral("qvxUserDataSet1"));
    EXPECT_EQ(list->Items(1)->DataSetName(), QStringLiteral("qvxUserDataSet1"));
    EXPECT_EQ(list->Items(2)->DataSetName(), QStringLiteral("qvxUserDataSet3"));
}

TEST_F(QuestionnaireTemplateTest, VariablesInOrder)
{
    const QStringList names = {
        QStringLiteral(" Опросный лист"),
        QStringLiteral("Описание"),
        QStringLiteral("Код для заказа"),
        QStringLiteral("Наименование организации"),
        QStringLiteral("Адрес и номер телефона организации"),
        QStringLiteral("ФИО контактного лица"),
        QStringLiteral("Количество данного типоисполнения")
    };
    TqvxVariables *variables = report()->Variables();
    ASSERT_EQ(variables->Count(), names.size());
    for (int i = 0; i < names.size(); ++i) {
        EXPECT_EQ(variables->Items(i)->Name(), names[i]);
        // The heading and the two results have no value; the organisation
        // fields and the quantity start as empty texts.
        EXPECT_EQ(variables->Items(i)->Value().IsNull(), i < 3) << i;
        if (i >= 3) {
            EXPECT_EQ(variables->Items(i)->Value().AsString(), QString()) << i;
        }
    }
}

TEST_F(QuestionnaireTemplateTest, PagesAndBands)
{
    auto *data = object<TqvxDataPage>("Data");
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->Width(), 1000);
    EXPECT_EQ(data->Height(), 1000);
    auto *page = object<TqvxReportPage>("Page1");
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(report()->PagesCount(), 2);
    EXPECT_EQ(report()->GetPages(0), data);
    EXPECT_EQ(report()->GetPages(1), page);
    EXPECT_EQ(page->PaperSize(), 9);
    EXPECT_EQ(page->PaperWidth(), 210);
    EXPECT_EQ(page->PaperHeight(), 297);
    for (double margin : {page->LeftMargin(), page->RightMargin(), page->TopMargin(), page->BottomMargin()})
        EXPECT_EQ(margin, 10);

    const BandRow bands[] = {
        {"ReportTitle1", "TqvxReportTitle", 18.89765, 83.14966, "Child2", true, false, false, nullptr},
        {"Child2", "TqvxChild", 124.72449, 18.89765, "Child3", true, true, false, nullptr},
        {"Child3", "TqvxChild", 166.29932, 18.89765, "Child4", true, true, false, nullptr},
        {"Child4", "TqvxChild", 207.87415, 18.89765, "Child5", true, true, false, nullptr},
        {"Child5", "TqvxChild", 249.44898, 173.85838, nullptr, false, false, false, nullptr},
        {"Header1", "TqvxHeader", 483.77984, 30.23624, nullptr, false, false, false, nullptr},
        {"MasterData1", "TqvxMasterData", 536.69326, 18.89765, nullptr, false, true, false, "qvxUserDataSet1"},
        {"Header2", "TqvxHeader", 578.26809, 30.23624, nullptr, false, false, false, nullptr},
        // Its memos grow with their text, as those of the characteristic rows
        // do: the band grows with them, or its rows would overlap.
        {"MasterData2", "TqvxMasterData", 631.18151, 18.89765, nullptr, false, true, false, "qvxUserDataSet2"},
        // The quantity row is a band of its own, and the description with
        // its heading another: what fits of them stays on a page.
        {"Footer1", "TqvxFooter", 672.75634, 25.45671, "Child6", false, true, false, nullptr},
        {"Child6", "TqvxChild", 698.21305, 50.13389, nullptr, false, true, false, nullptr},
        // The composition's heading heads its rows, and keeps to the first.
        {"Header3", "TqvxHeader", 771.02412, 34.015719, nullptr, false, true, false, nullptr},
        {"MasterData3", "TqvxMasterData", 827.71707, 18.89765, nullptr, false, true, true, "qvxUserDataSet3"},
        // The closing line grows with a legible order code below it.
        {"Footer2", "TqvxFooter", 869.2919, 22.67718, nullptr, true, true, false, nullptr},
    };
    ASSERT_EQ(page->Objects().size(), std::size(bands));
    for (std::size_t i = 0; i < std::size(bands); ++i) {
        const BandRow &row = bands[i];
        SCOPED_TRACE(row.name);
        auto *band = qobject_cast<TqvxBand *>(page->Objects()[qsizetype(i)]);
        ASSERT_NE(band, nullptr);
        EXPECT_EQ(band->Name(), QLatin1String(row.name));
        EXPECT_EQ(band->ClassName(), QLatin1String(row.className));
        EXPECT_NEAR(band->Left(), 0, 1e-4);
        EXPECT_NEAR(band->Top(), row.top, 1e-4);
        EXPECT_NEAR(band->Width(), BandWidth, 1e-4);
        EXPECT_NEAR(band->Height(), row.height, 1e-4);
        EXPECT_EQ(band->Child(), row.child ? report()->FindObject(QLatin1String(row.child)) : nullptr);
        EXPECT_EQ(band->KeepChild(), row.keepChild);
        EXPECT_EQ(band->Stretched(), row.stretched);
        EXPECT_EQ(band->AllowSplit(), row.allowSplit);
        if (auto *dataBand = qobject_cast<TqvxDataBand *>(band)) {
            EXPECT_EQ(dataBand->DataSet(), form->FindComponent(QLatin1String(row.dataSet)));
            EXPECT_EQ(dataBand->RowCount(), 0);
            // The last composition line goes over to a new page with the
            // closing line, never leaving it alone there.
            EXPECT_EQ(dataBand->KeepFooter(), QLatin1String(row.name) == QLatin1String("MasterData3"));
            // No heading ends a page: each goes over with the first row
            // (each data band follows its header).
            EXPECT_TRUE(dataBand->KeepHeader());
            EXPECT_STREQ(bands[i - 1].className, "TqvxHeader");
        }
    }
}

TEST_F(QuestionnaireTemplateTest, Memos)
{
    constexpr double W = BandWidth;
    const MemoRow memos[] = {
        {"Memo13", "ReportTitle1", 0, 0, W, 26.45671, -21, true, AllSides, smDontStretch, false, haCenter, nullptr, nullptr},
        {"Memo14", "ReportTitle1", 0, 26.45671, W, 26.45671, -19, true, 0, smDontStretch, false, haCenter, nullptr, nullptr},
        {"Memo15", "ReportTitle1", 0, 60.47248, W, 22.67718, -16, true, AllSides, smDontStretch, false, haLeft, nullptr, nullptr},
        {"Memo21", "Child2", 0, 0, 272.12616, 18.89765, -13, true, AllSides, smMaxHeight, true, haLeft, nullptr, nullptr},
        {"Memo16", "Child2", 272.12616, 0, 445.98454, 18.89765, -13, false, AllSides, smActualHeight, true, haLeft, nullptr, nullptr},
        {"Memo22", "Child3", 0, 0, 272.12616, 18.89765, -13, true, AllSides, smMaxHeight, true, haLeft, nullptr, nullptr},
        {"Memo17", "Child3", 272.12616, 0, 445.98454, 18.89765, -13, false, AllSides, smActualHeight, true, haLeft, nullptr, nullptr},
        {"Memo23", "Child4", 0, 0, 272.12616, 18.89765, -13, true, AllSides, smMaxHeight, true, haLeft, nullptr, nullptr},
        {"Memo18", "Child4", 272.12616, 0, 445.98454, 18.89765, -13, false, AllSides, smActualHeight, true, haLeft, nullptr, nullptr},
        {"Memo24", "Child5", 0, 7.55906, W, 22.67718, -16, true, AllSides, smDontStretch, false, haLeft, nullptr, nullptr},
        {"Memo25", "Child5", 0, 30.23624, W, 143.62214, -13, false, AllSides, smActualHeight, true, haLeft, nullptr, nullptr},
        {"Memo1", "Header1", 0, 7.55906, W, 22.67718, -16, true, AllSides, smDontStretch, false, haLeft, nullptr, nullptr},
        {"Memo2", "MasterData1", 0, 0, 362.83488, 18.89765, -13, false, AllSides, smMaxHeight, true, haLeft, "qvxUserDataSet1", "Param"},
        {"Memo3", "MasterData1", 362.83488, 0, 355.27582, 18.89765, -13, false, AllSides, smMaxHeight, true, haLeft, "qvxUserDataSet1", "Value"},
        {"Memo4", "Header2", 0, 7.55906, W, 22.677165, -16, true, AllSides, smDontStretch, false, haLeft, nullptr, nullptr},
        {"Memo5", "MasterData2", 0, 0, 362.83488, 18.89765, -13, false, AllSides, smMaxHeight, true, haLeft, "qvxUserDataSet2", "Param"},
        {"Memo6", "MasterData2", 362.83488, 0, 355.27582, 18.89765, -13, false, AllSides, smMaxHeight, true, haLeft, "qvxUserDataSet2", "Value"},
        {"Memo19", "Footer1", 0, 6.55906, 362.83488, 18.89765, -13, true, AllSides, smDontStretch, false, haLeft, nullptr, nullptr},
        {"Memo20", "Footer1", 362.83488, 6.55906, 355.27582, 18.89765, -13, false, AllSides, smDontStretch, true, haLeft, nullptr, nullptr},
        {"Memo7", "Child6", 0, 8.33859, W, 22.677165, -16, true, AllSides, smDontStretch, false, haLeft, nullptr, nullptr},
        {"Memo8", "Child6", 0, 31.01577, W, 18.89765, -13, false, AllSides, smActualHeight, true, haLeft, nullptr, nullptr},
        {"Memo11", "Header3", 0, 7.559023, W, 22.677165, -16, true, AllSides, smDontStretch, false, haLeft, nullptr, nullptr},
        {"Memo12", "MasterData3", 0, 0, W, 18.89765, -13, false, AllSides, smActualHeight, true, haLeft, "qvxUserDataSet3", "line"},
        {"Memo10", "Footer2", 566.9295, 7.55906, 151.1812, 15.11811, 1, false, 0, smActualHeight, true, haRight, nullptr, nullptr},
    };
    for (const MemoRow &row : memos) {
        SCOPED_TRACE(row.name);
        auto *memo = object<TqvxMemoView>(row.name);
        ASSERT_NE(memo, nullptr);
        EXPECT_EQ(memo->Parent(), report()->FindObject(QLatin1String(row.band)));
        EXPECT_NEAR(memo->Left(), row.left, 1e-4);
        EXPECT_NEAR(memo->Top(), row.top, 1e-4);
        EXPECT_NEAR(memo->Width(), row.width, 1e-4);
        EXPECT_NEAR(memo->Height(), row.height, 1e-4);
        EXPECT_EQ(memo->Font()->Name(), QStringLiteral("Arial"));
        EXPECT_EQ(memo->Font()->Height(), row.fontHeight);
        EXPECT_EQ(memo->Font()->Style().testFlag(fsBold), row.bold);
        EXPECT_EQ(int(memo->Frame()->Typ().toInt()), row.frame);
        EXPECT_EQ(memo->StretchMode(), row.stretch);
        EXPECT_EQ(memo->GapX(), row.gap5 ? 5 : 2);
        // The title runs to the top of its cell; the quantity stands on its
        // caption's line.
        const QLatin1String name(row.name);
        const double gapY = name == QLatin1String("Memo13") ? 0 : name == QLatin1String("Memo20") ? 1 : row.gap5 ? 5 : 1;
        EXPECT_EQ(memo->GapY(), gapY);
        // A one-line cell of fixed height ends at its text's descent; the
        // title's large text is lifted a little more.
        const bool oneLine = row.stretch == smDontStretch && name != QLatin1String("Memo14");
        EXPECT_EQ(memo->LineSpacing(), name == QLatin1String("Memo13") ? -2 : oneLine ? 0 : 2);
        EXPECT_EQ(memo->HAlign(), row.align);
        EXPECT_EQ(memo->WordWrap(), QLatin1String(row.name) != QLatin1String("Memo10"));
        EXPECT_EQ(memo->DataSet(), row.dataSet ? form->FindComponent(QLatin1String(row.dataSet)) : nullptr);
        EXPECT_EQ(memo->DataField(), QLatin1String(row.field));
        const TColor colour = QLatin1String(row.name) == QLatin1String("Memo13")   ? TitleColor
                              : QLatin1String(row.name) == QLatin1String("Memo14") ? clGray
                                                                                   : clBlack;
        EXPECT_EQ(memo->Font()->Color(), colour);
        auto *fill = qobject_cast<TqvxBrushFill *>(memo->Fill());
        ASSERT_NE(fill, nullptr);
        EXPECT_EQ(fill->BackColor(), QLatin1String(row.name) == QLatin1String("Memo13") ? HeaderFill : clNone);
    }

    auto *line = object<TqvxLineView>("Line1");
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->Parent(), report()->FindObject(QStringLiteral("Footer2")));
    EXPECT_NEAR(line->Width(), BandWidth, 1e-4);
    EXPECT_EQ(line->Height(), 0);
    EXPECT_EQ(line->LineColor(), clBlack);
    EXPECT_EQ(int(line->Frame()->Typ().toInt()), int(ftTop));
    EXPECT_FALSE(line->Diagonal());
}

TEST_F(QuestionnaireTemplateTest, MemoTexts)
{
    const QList<std::pair<const char *, QString>> texts = {
        {"Memo13", QStringLiteral("Автоматические выключатели в литом корпусе серии ZMT, ZMR")},
        {"Memo14", QStringLiteral("Опросный лист")},
        {"Memo15", QStringLiteral("Данные организации, заполнившей опросный лист")},
        {"Memo21", QStringLiteral("Наименование организации")},
        {"Memo16", QStringLiteral("[Наименование организации]")},
        {"Memo22", QStringLiteral("Адрес и номер телефона организации")},
        {"Memo17", QStringLiteral("[Адрес и номер телефона организации]")},
        {"Memo23", QStringLiteral("ФИО контактного лица")},
        {"Memo18", QStringLiteral("[ФИО контактного лица]")},
        {"Memo24", QStringLiteral("Стандартная комплектация выключателя:")},
        {"Memo1", QStringLiteral("1 Автоматический выключатель")},
        {"Memo2", QStringLiteral("[qvxUserDataSet1.\"Param\"]")},
        {"Memo3", QStringLiteral("[qvxUserDataSet1.\"Value\"]")},
        {"Memo4", QStringLiteral("2 Аксессуары")},
        {"Memo5", QStringLiteral("[qvxUserDataSet1.\"Param\"]")},
        {"Memo6", QStringLiteral("[qvxUserDataSet1.\"Value\"]")},
        {"Memo19", QStringLiteral("Количество данного типоисполнения, шт.")},
        {"Memo20", QStringLiteral("[Количество данного типоисполнения]")},
        {"Memo7", QStringLiteral("Описание")},
        {"Memo8", QStringLiteral("[Описание]")},
        {"Memo11", QStringLiteral("Структурный состав")},
        {"Memo12", QStringLiteral("[qvxUserDataSet3.\"line\"]")},
        {"Memo10", QStringLiteral("[Код для заказа]")}
    };
    for (const auto &[name, text] : texts) {
        if (auto *memo = object<TqvxMemoView>(name)) {
            EXPECT_EQ(memo->Text(), text + QStringLiteral("\r\n")) << name;
        }
    }

    // The standard delivery: six lines, each opening with a dash.
    auto *memo25 = object<TqvxMemoView>("Memo25");
    ASSERT_NE(memo25, nullptr);
    ASSERT_EQ(memo25->Memo()->Count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(memo25->Memo()->Get(i).startsWith(QStringLiteral("\u2013 "))) << i;
}

TEST_F(QuestionnaireTemplateTest, PdfFilterSettings)
{
    TqvxPDFExport *pdf = form->qvxPDFExport1;
    EXPECT_FALSE(pdf->ShowDialog());
    EXPECT_TRUE(pdf->UseFileCache());
    EXPECT_TRUE(pdf->ShowProgress());
    EXPECT_FALSE(pdf->OverwritePrompt());
    EXPECT_FALSE(pdf->DataOnly());
    EXPECT_FALSE(pdf->PrintOptimized());
    EXPECT_FALSE(pdf->Outline());
    EXPECT_FALSE(pdf->Background());
    EXPECT_TRUE(pdf->HTMLTags());
    EXPECT_EQ(pdf->Quality(), 95);
    EXPECT_EQ(pdf->Author(), QStringLiteral("Quorvel"));
    EXPECT_EQ(pdf->Subject(), QStringLiteral("Quorvel PDF export"));
    EXPECT_EQ(pdf->ProtectionFlags(), ePrint | eModify | eCopy | eAnnot);
    EXPECT_FALSE(pdf->HideToolbar());
    EXPECT_FALSE(pdf->HideMenubar());
    EXPECT_FALSE(pdf->HideWindowUI());
    EXPECT_FALSE(pdf->FitWindow());
    EXPECT_FALSE(pdf->CenterWindow());
    EXPECT_FALSE(pdf->PrintScaling());
    EXPECT_TRUE(pdf->UserPassword().isEmpty());
    EXPECT_TRUE(pdf->OwnerPassword().isEmpty());
    EXPECT_TRUE(pdf->FileName().isEmpty());
}

TEST_F(QuestionnaireTemplateTest, SavesBackAsItWasLoaded)
{
    TMemoryStream saved;
    SaveQuestionnaireTemplate(report(), hostComponents(), &saved);
    EXPECT_EQ(saved.Bytes(), embeddedTemplate());
    // The report's own saves carry no host data.
    EXPECT_FALSE(report()->OnSaveCustomData());

    // Read back into a fresh window, it is the same template again.
    std::unique_ptr<TMainForm> copy{NewObject<TMainForm>(nullptr)};
    saved.SetPosition(0);
    LoadQuestionnaireTemplate(copy->qvxReport1, copy.get(), &saved);
    EXPECT_EQ(copy->qvxReport1->Errors()->Count(), 0);
    TMemoryStream again;
    SaveQuestionnaireTemplate(copy->qvxReport1,
                              {copy->qvxUserDataSet1, copy->qvxUserDataSet2, copy->qvxUserDataSet3,
                               copy->qvxPDFExport1},
                              &again);
    EXPECT_EQ(again.Bytes(), saved.Bytes());
}

TEST_F(QuestionnaireTemplateTest, HostDataForAnUnknownComponentIsReported)
{
    TMemoryStream stream;
    stream.WriteBuffer(QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<TqvxReport>\r\n  <QvxCustomData>\r\n"
                                  "    <TqvxUserDataSet Name=\"Missing\" RangeEndCount=\"3\"/>\r\n"
                                  "    <TqvxPDFExport Name=\"qvxUserDataSet1\"/>\r\n"
                                  "    <TqvxUserDataSet Name=\"qvxUserDataSet3\" RangeEndCount=\"4\"/>\r\n"
                                  "  </QvxCustomData>\r\n</TqvxReport>\r\n"));
    stream.SetPosition(0);
    runner.onMessage = [](const TMessageBoxRequest &) { return mrOk; };
    LoadQuestionnaireTemplate(report(), form.get(), &stream);
    EXPECT_EQ(report()->Errors()->Count(), 2) << report()->Errors()->Text().toStdString();
    EXPECT_EQ(form->qvxUserDataSet3->RangeEndCount(), 4);
    EXPECT_EQ(form->qvxUserDataSet1->RangeEndCount(), 11);
}
