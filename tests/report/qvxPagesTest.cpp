// Paper sizes, orientation, columns and the layout of a report page; the
// printer defaults; subreport links; the dialog page's form and events.

#include "report/RecordingRunner.h"
#include "report/ReportContextStub.h"
#include "report/pages/qvxBands.h"
#include "report/pages/qvxDialogPage.h"
#include "report/pages/qvxPage.h"
#include "report/views/qvxPictureView.h"
#include "report/base/qvxNumbers.h"
#include "report/pages/qvxSubreport.h"
#include "toolkit/classes/TStrings.h"
#include "toolkit/core/FloatText.h"
#include "toolkit/graphics/RecordingCanvas.h"
#include "toolkit/widgets/TForm.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

void setMargins(TqvxReportPage &page, double left, double top, double right, double bottom)
{
    page.SetLeftMargin(left);
    page.SetTopMargin(top);
    page.SetRightMargin(right);
    page.SetBottomMargin(bottom);
}

void expectMargins(const TqvxReportPage &page, double left, double top, double right, double bottom)
{
    EXPECT_DOUBLE_EQ(page.LeftMargin(), left);
    EXPECT_DOUBLE_EQ(page.TopMargin(), top);
    EXPECT_DOUBLE_EQ(page.RightMargin(), right);
    EXPECT_DOUBLE_EQ(page.BottomMargin(), bottom);
}

TEST(ReportPage, ANewPageIsA4Portrait)
{
    TqvxReportPage page;
    EXPECT_EQ(page.PaperSize(), 9);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), 210);
    EXPECT_DOUBLE_EQ(page.PaperHeight(), 297);
    EXPECT_DOUBLE_EQ(page.Width(), 794);
    EXPECT_DOUBLE_EQ(page.Height(), 1123);
    EXPECT_EQ(page.Orientation(), ObjectTypes::poPortrait);
    EXPECT_EQ(page.BaseName(), QStringLiteral("Page"));
}

TEST(ReportPage, ASizeOfItsOwnMakesThePaperCustom)
{
    TqvxReportPage page;
    page.SetPaperWidth(100.123456789);
    EXPECT_EQ(page.PaperSize(), 256);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), 100.12345679);
    EXPECT_DOUBLE_EQ(page.Width(), 378);

    page.SetPaperSize(11); // A5
    EXPECT_DOUBLE_EQ(page.PaperWidth(), 148);
    EXPECT_DOUBLE_EQ(page.PaperHeight(), 210);
    page.SetPaperSize(5000);
    EXPECT_EQ(page.PaperSize(), 5000);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), 148);
}

TEST(ReportPage, TurningThePageTurnsItsMargins)
{
    TqvxReportPage page;
    setMargins(page, 10, 20, 30, 40);
    page.SetOrientation(ObjectTypes::poLandscape);
    expectMargins(page, 20, 30, 40, 10);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), 297);
    EXPECT_DOUBLE_EQ(page.Width(), 1123);

    page.SetPaperSize(9);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), 297);
    EXPECT_DOUBLE_EQ(page.PaperHeight(), 210);

    page.SetOrientation(ObjectTypes::poPortrait);
    expectMargins(page, 10, 20, 30, 40);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), 210);
}

TEST(ReportPage, ColumnsShareThePrintableWidth)
{
    TqvxReportPage page;
    page.SetLeftMargin(10);
    page.SetRightMargin(10);
    page.SetColumns(3);
    EXPECT_NEAR(page.ColumnWidth(), 63.3333333, 1e-6);
    ASSERT_EQ(page.ColumnPositions()->Count(), 3);
    EXPECT_EQ(page.ColumnPositions()->Strings(0), QStringLiteral("0"));
    EXPECT_EQ(page.ColumnPositions()->Strings(1), FloatToStr(190.0 / 3));
    EXPECT_EQ(page.ColumnPositions()->Strings(2), FloatToStr(2 * 190.0 / 3));
    page.SetColumns(0);
    EXPECT_EQ(page.ColumnPositions()->Count(), 0);
}

TEST(ReportPage, PageCountBelowOneIsIgnored)
{
    TqvxReportPage page;
    page.SetPageCount(0);
    EXPECT_EQ(page.PageCount(), 1);
    page.SetPageCount(3);
    EXPECT_EQ(page.PageCount(), 3);
}

TEST(ReportPage, OnTwoColumnsDataBandsAreOneColumnWide)
{
    TContextReport report;
    auto *page = new TqvxReportPage(&report);
    setMargins(*page, 10, 10, 10, 10);
    page->SetColumns(2);
    auto *header = new TqvxPageHeader(page);
    auto *data = new TqvxMasterData(page);
    auto *vertical = new TqvxMasterData(page);
    vertical->SetVertical(true);
    vertical->SetTop(30);

    page->AlignChildren();
    EXPECT_DOUBLE_EQ(header->Width(), 190 * qv01cm);
    EXPECT_DOUBLE_EQ(data->Width(), 95 * qv01cm);
    EXPECT_DOUBLE_EQ(vertical->Height(), 277 * qv01cm - 30);
    EXPECT_DOUBLE_EQ(page->Width(), 794);
    EXPECT_EQ(page->FindBand<TqvxMasterData>(), data);
    EXPECT_EQ(page->FindBand<TqvxPageFooter>(), nullptr);
}

class TFakePrinters : public TqvxPrinterList
{
public:
    TqvxPrinterDefaults CurrentDefaults() override { return {1, 215.9, 279.4, ObjectTypes::poLandscape}; }
};

TEST(ReportPage, DefaultsComeFromTheCurrentPrinter)
{
    TFakePrinters printers;
    qvxSetPrinters(&printers);
    TqvxReportPage page;
    page.SetDefaults();
    qvxSetPrinters(nullptr);
    EXPECT_EQ(page.PaperSize(), 1);
    EXPECT_EQ(page.Orientation(), ObjectTypes::poLandscape);
    EXPECT_DOUBLE_EQ(page.PaperWidth(), 279.4);
    EXPECT_DOUBLE_EQ(page.PaperHeight(), 215.9);
    expectMargins(page, 10, 10, 10, 10);
    EXPECT_DOUBLE_EQ(page.Height(), 816);
}

TEST(ReportPage, TheBackgroundCoversThePrintableArea)
{
    TqvxReportPage page;
    setMargins(page, 10, 20, 10, 20);
    page.SetColor(clYellow);
    TRecordingCanvas canvas;
    page.DrawBackground(&canvas, 1, 1, 0, 0);
    const TqvxPictureView *view = page.BackPictureView();
    EXPECT_DOUBLE_EQ(view->Width(), 190 * qv01cm);
    EXPECT_DOUBLE_EQ(view->Height(), 257 * qv01cm);
    ASSERT_FALSE(canvas.Records().isEmpty());
    EXPECT_EQ(canvas.Records().first().Bounds.Left, qvxRound(10 * qv01cm));
    EXPECT_EQ(canvas.Records().first().Bounds.Top, qvxRound(20 * qv01cm));

    canvas.Clear();
    page.SetBackPictureVisible(false);
    page.DrawBackground(&canvas, 1, 1, 0, 0);
    EXPECT_TRUE(canvas.Records().isEmpty());
}

TEST(Subreport, PageAndSubreportKnowEachOther)
{
    TContextReport report;
    auto *page = new TqvxReportPage(&report);
    auto *other = new TqvxReportPage(&report);
    auto *subreport = new TqvxSubreport(new TqvxMasterData(page));
    subreport->SetPage(other);
    EXPECT_EQ(other->SubReport(), subreport);
    EXPECT_TRUE(other->IsSubReport());
    EXPECT_FALSE(page->IsSubReport());

    delete subreport;
    EXPECT_FALSE(other->IsSubReport());

    auto *again = new TqvxSubreport(page);
    again->SetPage(other);
    delete other;
    EXPECT_EQ(again->Page(), nullptr);
}

// A report whose script procedures are recorded; CloseQuery refuses and
// key procedures change the key.
class TEventReport : public TContextReport
{
public:
    void DoNotifyEvent(TObject *sender, const QString &procedure) override
    {
        events.append(procedure);
        senders.append(sender);
    }
    void DoParamEvent(const QString &procedure, QList<Variant> &params) override
    {
        events.append(procedure);
        if (procedure == QLatin1String("PageCloseQuery"))
            params[1] = Variant(false);
        if (procedure == QLatin1String("PageKeyDown"))
            params[1] = Variant(params.at(1).AsInteger() + 1);
        if (procedure == QLatin1String("PageKeyPress"))
            params[1] = Variant(QStringLiteral("x"));
    }

    QStringList events;
    QList<TObject *> senders;
};

TEST(DialogPage, FormEventsRunThePagesProcedures)
{
    TEventReport report;
    auto *page = new TqvxDialogPage(&report);
    page->SetOnShow(QStringLiteral("PageShow"));
    page->SetOnCloseQuery(QStringLiteral("PageCloseQuery"));
    page->SetOnKeyDown(QStringLiteral("PageKeyDown"));
    page->SetOnKeyPress(QStringLiteral("PageKeyPress"));
    page->ConnectFormEvents();
    TForm *form = page->Form();

    form->OnShow(form);
    bool canClose = true;
    form->OnCloseQuery(form, canClose);
    int key = 40;
    form->OnKeyDown(form, key, {});
    QChar pressed(QLatin1Char('a'));
    form->OnKeyPress(form, pressed);
    form->OnHide(form); // no procedure: nothing runs

    EXPECT_EQ(report.events, (QStringList{QStringLiteral("PageShow"), QStringLiteral("PageCloseQuery"),
                                          QStringLiteral("PageKeyDown"), QStringLiteral("PageKeyPress")}));
    EXPECT_EQ(report.senders.value(0), page);
    EXPECT_FALSE(canClose);
    EXPECT_EQ(key, 41);
    EXPECT_EQ(pressed, QLatin1Char('x'));
}

TEST(DialogPage, TheFormFollowsThePage)
{
    TContextReport report;
    auto *page = new TqvxDialogPage(&report);
    EXPECT_FALSE(page->UseGlobalLock());
    page->SetBounds(20, 30, 300, 200);
    page->SetCaption(QStringLiteral("Choose"));
    EXPECT_EQ(page->Form()->Left(), 20);
    EXPECT_EQ(page->Form()->Top(), 30);
    EXPECT_EQ(page->Form()->Width(), 300);
    EXPECT_EQ(page->Form()->Caption(), QStringLiteral("Choose"));
    EXPECT_EQ(page->Form()->Font()->Name(), QStringLiteral("Tahoma"));
}

// Answers a modal form as a user would: moves it, then closes it.
class MovingRunner : public RecordingRunner
{
public:
    int RunForm(TCustomForm &form) override
    {
        form.SetBounds(50, 60, 320, 240);
        form.SetModalResult(mrOk);
        form.Close();
        return form.ModalResult();
    }
};

TEST(DialogPage, ShowModalTakesTheFormsBoundsBack)
{
    MovingRunner runner;
    TEventReport report;
    auto *page = new TqvxDialogPage(&report);
    page->SetBounds(10, 10, 200, 100);
    page->SetOnCloseQuery(QStringLiteral("PageClose"));
    EXPECT_EQ(page->ShowModal(), mrOk);
    EXPECT_DOUBLE_EQ(page->Left(), 50);
    EXPECT_DOUBLE_EQ(page->Top(), 60);
    EXPECT_DOUBLE_EQ(page->Width(), 320);
    EXPECT_DOUBLE_EQ(page->Height(), 240);
    EXPECT_TRUE(report.events.contains(QStringLiteral("PageClose")));
    EXPECT_EQ(page->Form()->FormStyle(), fsStayOnTop);
}

TEST(DataPage, ANewDataPageIsAThousandPixelsSquare)
{
    TqvxDataPage page;
    EXPECT_DOUBLE_EQ(page.Width(), 1000);
    EXPECT_DOUBLE_EQ(page.Height(), 1000);
}

} // namespace
