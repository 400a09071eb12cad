// The view base: device box, URL, derived colour, fill switching,
// expressions while printing, difference texts, stored properties and the
// small value classes it publishes.

#include "report/ReportContextStub.h"
#include "report/components/qvxFormat.h"
#include "report/components/qvxHighlight.h"
#include "report/components/qvxView.h"
#include "report/model/qvxXMLSerializer.h"
#include "toolkit/graphics/RecordingCanvas.h"

#include <gtest/gtest.h>

namespace {

struct ViewTest : ::testing::Test {
    ViewTest()
    {
        RegisterReportTestClasses();
        view = new TqvxStretcheable(report.get());
        view->SetName(QStringLiteral("View1"));
        view->SetBounds(10, 20, 100, 50);
    }

    std::unique_ptr<TContextReport> report = std::make_unique<TContextReport>();
    TqvxStretcheable *view;
};

TEST_F(ViewTest, DeviceBoxLeavesRoomForTheShadow)
{
    view->BeginDraw(nullptr, 1, 1, 0, 0);
    EXPECT_EQ((std::tuple{view->X(), view->Y(), view->X1(), view->Y1()}), (std::tuple{10, 20, 110, 70}));
    view->Frame()->SetDropShadow(true);
    view->BeginDraw(nullptr, 1, 1, 0, 0);
    EXPECT_EQ((std::tuple{view->X1(), view->Y1(), view->DX(), view->DY()}), (std::tuple{106, 66, 96, 46}));
    view->Frame()->SetWidth(1.5);
    view->BeginDraw(nullptr, 2, 3, 5, 7);
    EXPECT_EQ((std::tuple{view->X(), view->Y(), view->X1(), view->Y1()}), (std::tuple{25, 67, 217, 205}));
    EXPECT_EQ(view->FrameWidth(), 3);
}

TEST_F(ViewTest, BackgroundGrowsUnderTheFrameLines)
{
    view->SetColor(clRed);
    view->Frame()->SetTyp(ftLeft | ftRight | ftTop | ftBottom);
    view->Frame()->SetWidth(3);
    TRecordingCanvas canvas;
    view->Draw(&canvas, 1, 1, 0, 0);
    ASSERT_FALSE(canvas.Records().isEmpty());
    const TCanvasRecord &fill = canvas.Records().front();
    EXPECT_EQ(fill.Op, TCanvasOp::FillRect);
    EXPECT_EQ(fill.Bounds, TRect(10 - 2, 20 - 2, 110 + 3, 70 + 3));
    EXPECT_EQ(fill.Brush.Color, clRed);
}

TEST_F(ViewTest, UrlSetsTheHyperlink)
{
    view->SetURL(QStringLiteral("#chapter"));
    EXPECT_EQ(view->Hyperlink()->Kind(), hkAnchor);
    EXPECT_EQ(view->Hyperlink()->Value(), QStringLiteral("chapter"));
    view->SetURL(QStringLiteral("@12"));
    EXPECT_EQ(view->Hyperlink()->Kind(), hkPageNumber);
    EXPECT_EQ(view->Hyperlink()->Value(), QStringLiteral("12"));
    view->SetURL(QString());
    EXPECT_EQ(view->Hyperlink()->Kind(), hkPageNumber);
    view->SetURL(QStringLiteral("https://example.org/#x"));
    EXPECT_EQ(view->Hyperlink()->Kind(), hkURL);
    EXPECT_EQ(view->Hyperlink()->Value(), QStringLiteral("https://example.org/#x"));
}

TEST_F(ViewTest, ColourAndBrushStyleFollowTheFill)
{
    EXPECT_EQ(view->Color(), clNone);
    view->SetColor(clYellow);
    view->SetBrushStyle(bsCross);
    EXPECT_EQ(view->Color(), clYellow);
    EXPECT_EQ(view->BrushStyle(), bsCross);

    view->SetFillType(ftGradient);
    ASSERT_TRUE(qobject_cast<TqvxGradientFill *>(view->Fill()));
    EXPECT_EQ(view->Color(), TColor(0x808080));
    EXPECT_EQ(view->BrushStyle(), bsClear);
    view->SetColor(clRed);
    EXPECT_EQ(view->Color(), TColor(0x808080));

    TqvxGlassFill glass;
    glass.SetColor(clBlue);
    view->SetFill(&glass);
    EXPECT_EQ(view->FillType(), ftGlass);
    EXPECT_EQ(static_cast<TqvxGlassFill *>(view->Fill())->Color(), clBlue);
    EXPECT_EQ(view->Color(), clNone);
}

TEST_F(ViewTest, PrintableIsThePrintMemberOfVisibility)
{
    EXPECT_TRUE(view->Printable());
    view->SetPrintable(false);
    EXPECT_EQ(view->Visibility(), vsPreview | vsExport);
    view->SetVisibility(vsPrint);
    EXPECT_TRUE(view->Printable());
}

TEST_F(ViewTest, GetDataExpandsTagStringAndHyperlinkAndAfterPrintRestores)
{
    report->values.insert(QStringLiteral("Code"), Variant(42));
    report->values.insert(QStringLiteral("Name"), Variant(QStringLiteral("[Code]")));
    view->SetTagStr(QStringLiteral("id=[Code];n=[Name]"));
    view->Hyperlink()->SetValue(QStringLiteral("page [Code]"));
    view->BeforePrint();
    EXPECT_EQ(report->self, view);
    view->GetData();
    // A value holding brackets is not expanded again.
    EXPECT_EQ(view->TagStr(), QStringLiteral("id=42;n=[Code]"));
    EXPECT_EQ(view->Hyperlink()->Value(), QStringLiteral("page 42"));
    view->AfterPrint();
    EXPECT_EQ(view->TagStr(), QStringLiteral("id=[Code];n=[Name]"));
    EXPECT_EQ(view->Hyperlink()->Value(), QStringLiteral("page [Code]"));
}

TEST_F(ViewTest, HyperlinkExpressionBecomesALiteralOfTheScriptLanguage)
{
    report->values.insert(QStringLiteral("Target"), Variant(QStringLiteral("say \"hi\" it's C:\\")));
    report->values.insert(QStringLiteral("Number"), Variant(7));
    view->Hyperlink()->SetExpression(QStringLiteral("Target"));
    const struct {
        const char *language;
        QString literal;
    } cases[] = {{"PascalScript", QStringLiteral("'say \"hi\" it''s C:\\'")},
                 {"C++Script", QStringLiteral("\"say \\\"hi\\\" it's C:\\\\\"")},
                 {"JScript", QStringLiteral("\"say \\\"hi\\\" it's C:\\\\\"")},
                 {"BasicScript", QStringLiteral("\"say \"\"hi\"\" it's C:\\\"")}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.language);
        report->language = QLatin1String(c.language);
        view->GetData();
        EXPECT_EQ(view->Hyperlink()->Value(), c.literal);
    }
    view->Hyperlink()->SetExpression(QStringLiteral("Number"));
    view->GetData();
    EXPECT_EQ(view->Hyperlink()->Value(), QStringLiteral("7"));
}

TEST_F(ViewTest, DiffOfOwnAttributesWhenTheGenericFlagIsCleared)
{
    auto *other = new TqvxView(report.get());
    other->SetBounds(10, 20, 100, 50);
    EXPECT_EQ(view->Diff(other), view->AllDiff(other));

    view->SetStyleFlags(view->StyleFlags() & ~csoGenericDiff);
    EXPECT_EQ(view->Diff(other), QString());
    view->SetAlign(baClient);
    view->Frame()->SetTyp(ftTop);
    view->SetCursor(crHandPoint);
    view->SetVisibility(vsPreview);
    view->SetTagStr(QStringLiteral("a<\"b\">"));
    view->SetFillType(ftGlass);
    view->Hyperlink()->SetKind(hkDetailPage);
    view->Hyperlink()->SetDetailPage(QStringLiteral("Page2"));
    view->Hyperlink()->SetExpression(QStringLiteral("not written"));
    EXPECT_EQ(view->Diff(other),
              QStringLiteral(" Align=\"6\" Frame.Typ=\"4\" Cursor=\"%1\" Visibility=\"1\""
                             " TagStr=\"a&#60;&#34;b&#34;&#62;\" FillType=\"2\""
                             " Fill.Color=\"8421504\" Fill.Blend=\"0.5\" Fill.Hatch=\"0\" Fill.Orientation=\"1\""
                             " Hyperlink.Kind=\"4\" Hyperlink.DetailPage=\"Page2\"")
                  .arg(crHandPoint));
}

TEST_F(ViewTest, StoredPropertiesRoundTripWithTheFillKindFirst)
{
    TqvxXMLSerializer serializer;
    const QString defaults = serializer.ObjToXML(view);
    EXPECT_EQ(defaults, QStringLiteral(" Left=\"10\" Top=\"20\" Width=\"100\" Height=\"50\""));

    TqvxGlassFill glass;
    glass.SetColor(clWhite);
    view->SetFill(&glass);
    view->SetAlign(baRight);
    view->SetCursor(crHandPoint);
    view->SetDataField(QStringLiteral("Code"));
    view->SetDataSetName(QStringLiteral("Rows"));
    view->Frame()->SetTyp(ftBottom);
    view->SetGroupIndex(3);
    view->SetHint(QStringLiteral("hint"));
    view->Hyperlink()->SetValuesSeparator(QStringLiteral(","));
    view->SetRestrictions(rfDontMove);
    view->SetShiftMode(smWhenOverlapped);
    view->SetShowHint(true);
    view->SetTagStr(QStringLiteral("tag"));
    view->SetVisibility(vsExport);
    view->SetVisible(false);
    view->SetStretchMode(smMaxHeight);
    view->SetOnMouseUp(QStringLiteral("Up"));
    const QString text = serializer.ObjToXML(view);
    EXPECT_LT(text.indexOf(QStringLiteral("FillType=")), text.indexOf(QStringLiteral("Fill.Color=")));
    EXPECT_FALSE(text.contains(QStringLiteral("Printable")));
    EXPECT_FALSE(text.contains(QStringLiteral("URL")));

    auto *copy = new TqvxStretcheable(report.get());
    serializer.XMLToObj(text, copy);
    copy->SetStyleFlags(copy->StyleFlags() & ~csoGenericDiff);
    EXPECT_EQ(copy->Diff(view), QString());
    EXPECT_EQ(static_cast<TqvxGlassFill *>(copy->Fill())->Color(), clWhite);
    EXPECT_EQ(copy->DataSetName(), QStringLiteral("Rows"));
    EXPECT_EQ(copy->DataField(), QStringLiteral("Code"));
    EXPECT_EQ(copy->GroupIndex(), 3);
    EXPECT_EQ(copy->Hint(), QStringLiteral("hint"));
    EXPECT_EQ(copy->ShiftMode(), smWhenOverlapped);
    EXPECT_TRUE(copy->ShowHint());
    EXPECT_FALSE(copy->Visible());
    EXPECT_EQ(copy->StretchMode(), smMaxHeight);
    EXPECT_EQ(copy->OnMouseUp(), QStringLiteral("Up"));
    EXPECT_EQ(copy->Restrictions(), rfDontMove);
}

TEST_F(ViewTest, DataSetLinkTakesTheUserNameAndClearsWhenFreed)
{
    auto *dataSet = new TTestView(report.get());
    view->SetDataSet(dataSet);
    EXPECT_EQ(view->DataSet(), dataSet);
    view->SetDataSetName(QStringLiteral("Other"));
    EXPECT_EQ(view->DataSet(), nullptr);
    view->SetDataSet(dataSet);
    delete dataSet;
    EXPECT_EQ(view->DataSet(), nullptr);
}

TEST_F(ViewTest, EngineFieldsAndStretchingBase)
{
    EXPECT_EQ(view->CalcHeight(), 50);
    EXPECT_EQ(view->DrawPart(), 0);
    EXPECT_FALSE(view->HasNextPart());
    auto *below = new TqvxView(report.get());
    auto *farther = new TqvxView(report.get());
    view->AddShift(below);
    view->AddShift(farther);
    view->SetHomeBand(below);
    delete below;
    EXPECT_EQ(view->ShiftList(), QList<TqvxView *>{farther});
    EXPECT_EQ(view->HomeBand(), nullptr);
    view->ClearShifts();
    EXPECT_TRUE(view->ShiftList().isEmpty());
    view->SetRemainingHeight(12.5);
    view->SetSplitStartTop(3);
    EXPECT_EQ(view->RemainingHeight(), 12.5);
    EXPECT_EQ(view->SplitStartTop(), 3);
}

TEST(Hyperlink, SeparatorStoredOnlyWhenChangedAndDiffLeavesOutTheExpression)
{
    TqvxXMLSerializer serializer;
    TqvxHyperlink link;
    EXPECT_TRUE(serializer.ObjToXML(&link).isEmpty());
    link.SetValuesSeparator(QStringLiteral("|"));
    link.SetExpression(QStringLiteral("[X]"));
    link.SetTabCaption(QStringLiteral("Tab"));
    TqvxHyperlink copy;
    serializer.XMLToObj(serializer.ObjToXML(&link), &copy);
    EXPECT_EQ(copy.ValuesSeparator(), QStringLiteral("|"));
    EXPECT_EQ(copy.Expression(), QStringLiteral("[X]"));
    TqvxHyperlink plain;
    EXPECT_EQ(link.Diff(&plain),
              QStringLiteral(" Hyperlink.TabCaption=\"Tab\" Hyperlink.ValuesSeparator=\"|\""));
}

TEST(Highlight, DefaultsRoundTripAndAssignLeavesActive)
{
    TqvxHighlightCollection list;
    auto *highlight = static_cast<TqvxHighlight *>(list.Add());
    EXPECT_EQ(highlight->Font()->Name(), QStringLiteral("Arial"));
    EXPECT_EQ(highlight->Font()->Size(), 10);
    EXPECT_EQ(highlight->Font()->Color(), clRed);
    EXPECT_EQ(highlight->Color(), clNone);
    EXPECT_TRUE(highlight->ApplyFont());
    EXPECT_TRUE(highlight->ApplyFill());
    EXPECT_FALSE(highlight->ApplyFrame());
    EXPECT_TRUE(highlight->Visible());

    highlight->SetActive(true);
    highlight->SetApplyFrame(true);
    highlight->SetCondition(QStringLiteral("Value > 0"));
    highlight->SetFillType(ftGradient);
    highlight->Frame()->SetTyp(ftLeft);
    highlight->SetVisible(false);
    TqvxXMLSerializer serializer;
    const QString text = serializer.ObjToXML(highlight);
    EXPECT_FALSE(text.contains(QStringLiteral("Active")));
    EXPECT_FALSE(text.contains(QStringLiteral(" Color=")));
    auto *read = static_cast<TqvxHighlight *>(list.Add());
    serializer.XMLToObj(text, read);
    EXPECT_FALSE(read->Active());
    EXPECT_TRUE(read->ApplyFrame());
    EXPECT_EQ(read->Condition(), QStringLiteral("Value > 0"));
    EXPECT_EQ(read->FillType(), ftGradient);
    EXPECT_EQ(read->Frame()->Typ(), ftLeft);
    EXPECT_FALSE(read->Visible());

    TqvxHighlight copy;
    copy.Assign(highlight);
    EXPECT_FALSE(copy.Active());
    EXPECT_EQ(copy.FillType(), ftGradient);
    EXPECT_EQ(copy.Condition(), QStringLiteral("Value > 0"));
}

TEST(Format, AssignCopiesAllFourAndKindRoundTrips)
{
    TqvxFormatCollection formats;
    TqvxFormat *format = formats.Items(formats.Add()->Index());
    format->SetKind(fkNumeric);
    format->SetFormatStr(QStringLiteral("%2.2f"));
    format->SetDecimalSeparator(QStringLiteral(","));
    format->SetThousandSeparator(QStringLiteral(" "));
    TqvxFormatCollection copy;
    copy.Assign(&formats);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.Items(0)->Kind(), fkNumeric);
    EXPECT_EQ(copy.Items(0)->FormatStr(), QStringLiteral("%2.2f"));
    EXPECT_EQ(copy.Items(0)->DecimalSeparator(), QStringLiteral(","));
    EXPECT_EQ(copy.Items(0)->ThousandSeparator(), QStringLiteral(" "));

    TqvxXMLSerializer serializer;
    TqvxFormat plain;
    EXPECT_TRUE(serializer.ObjToXML(&plain).isEmpty());
    TqvxFormat read;
    serializer.XMLToObj(serializer.ObjToXML(format), &read);
    EXPECT_EQ(read.Kind(), fkNumeric);
}

} // namespace
