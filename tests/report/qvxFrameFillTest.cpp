// Frames and fills: pixels they paint, what they store, their difference
// texts and copies.

#include "report/components/qvxFill.h"
#include "report/components/qvxFrame.h"
#include "report/model/qvxXMLSerializer.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

#include <gtest/gtest.h>

namespace {

struct Surface {
    explicit Surface(int width = 60, int height = 60)
    {
        bitmap.SetSize(width, height);
        bitmap.Canvas()->Brush()->SetColor(clWhite);
        bitmap.Canvas()->FillRect(TRect(0, 0, width, height));
    }
    TCanvas *Canvas() { return bitmap.Canvas(); }
    TColor At(int x, int y) { return bitmap.Canvas()->Pixel(x, y); }
    // The columns of row y painted in colour.
    QList<int> Columns(int y, TColor colour)
    {
        QList<int> columns;
        for (int x = 0; x < bitmap.Width(); ++x)
            if (At(x, y) == colour)
                columns.append(x);
        return columns;
    }
    QList<int> Rows(int x, TColor colour)
    {
        QList<int> rows;
        for (int y = 0; y < bitmap.Height(); ++y)
            if (At(x, y) == colour)
                rows.append(y);
        return rows;
    }
    TBitmap bitmap;
};

QList<int> Range(int from, int to)
{
    QList<int> values;
    for (int v = from; v < to; ++v)
        values.append(v);
    return values;
}

TEST(FrameDrawing, EmptyTypDrawsNothing)
{
    Surface s;
    TqvxFrame frame;
    frame.SetWidth(3);
    frame.SetColor(clRed);
    frame.Draw(s.Canvas(), 10, 10, 30, 30, 1, 1);
    EXPECT_TRUE(s.Columns(20, clRed).isEmpty());
    EXPECT_TRUE(s.Columns(10, clRed).isEmpty());
}

TEST(FrameDrawing, SideWidthsCentreOnTheSide)
{
    for (const auto &[width, from, to] : {std::tuple{1, 10, 11}, {2, 9, 11}, {3, 9, 12}, {4, 8, 12}}) {
        SCOPED_TRACE(width);
        Surface s;
        TqvxFrame frame;
        frame.SetTyp(ftLeft);
        frame.SetColor(clRed);
        frame.SetWidth(width);
        frame.Draw(s.Canvas(), 10, 10, 30, 30, 1, 1);
        EXPECT_EQ(s.Columns(20, clRed), Range(from, to));
    }
}

TEST(FrameDrawing, EndsReachOverCornersOnlyWhereSidesMeet)
{
    Surface alone;
    TqvxFrame frame;
    frame.SetTyp(ftLeft);
    frame.SetColor(clRed);
    frame.SetWidth(4);
    frame.Draw(alone.Canvas(), 10, 10, 30, 30, 1, 1);
    // Pulled back by half the width at both ends.
    EXPECT_EQ(alone.Rows(10, clRed), Range(10, 30));

    Surface closed;
    frame.SetTyp(ftLeft | ftTop | ftRight | ftBottom);
    frame.Draw(closed.Canvas(), 10, 10, 30, 30, 1, 1);
    EXPECT_EQ(closed.Rows(10, clRed), Range(8, 32));
    EXPECT_EQ(closed.At(8, 8), clRed);
    EXPECT_EQ(closed.At(31, 31), clRed);
    EXPECT_EQ(closed.At(20, 20), clWhite);
}

TEST(FrameDrawing, DoubleLineLeavesAGap)
{
    Surface s;
    TqvxFrame frame;
    frame.SetTyp(ftTop);
    frame.SetStyle(fsDouble);
    frame.SetColor(clBlue);
    frame.Draw(s.Canvas(), 10, 10, 30, 30, 1, 1);
    EXPECT_EQ(s.Rows(20, clBlue), (QList<int>{9, 11}));
}

TEST(FrameDrawing, DashedAndDottedSidesStayOnTheSide)
{
    for (TqvxFrameStyle style : {fsDash, fsDot, fsDashDot, fsDashDotDot, fsAltDot, fsSquare}) {
        SCOPED_TRACE(int(style));
        Surface s;
        TqvxFrame frame;
        frame.SetTyp(ftBottom);
        frame.SetStyle(style);
        frame.SetColor(clBlue);
        frame.SetWidth(2);
        frame.Draw(s.Canvas(), 10, 10, 40, 30, 1, 1);
        int painted = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 60; ++x)
                if (s.At(x, y) != clWhite) {
                    ++painted;
                    EXPECT_TRUE(y >= 29 && y <= 31 && x >= 9 && x <= 41) << x << "," << y;
                }
        EXPECT_GT(painted, 10);
    }
}

TEST(FrameDrawing, ShadowBandsInsideTheObject)
{
    Surface s;
    TqvxFrame frame;
    frame.SetDropShadow(true);
    frame.SetShadowColor(clGray);
    frame.Draw(s.Canvas(), 10, 10, 30, 30, 1, 1);
    EXPECT_EQ(s.Columns(20, clGray), Range(30, 34));
    EXPECT_EQ(s.Rows(20, clGray), Range(30, 34));
    EXPECT_EQ(s.Rows(32, clGray), Range(14, 34));
    EXPECT_EQ(s.Columns(32, clGray), Range(14, 34));
}

TEST(Frame, WidthColourAndStyleCascadeToLinesAndLinesStoreOnlyDifferences)
{
    TqvxFrame frame;
    frame.SetWidth(2);
    frame.SetColor(clRed);
    for (const TqvxFrameLine *line : {frame.LeftLine(), frame.TopLine(), frame.RightLine(), frame.BottomLine()}) {
        EXPECT_EQ(line->Width(), 2);
        EXPECT_EQ(line->Color(), clRed);
    }
    frame.LeftLine()->SetWidth(3);
    TqvxXMLSerializer serializer;
    const QString text = serializer.ObjToXML(&frame);
    EXPECT_EQ(text, QStringLiteral(" Color=\"255\" Width=\"2\" LeftLine.Width=\"3\""));

    TqvxFrame copy;
    serializer.XMLToObj(text, &copy);
    EXPECT_EQ(copy.Width(), 2);
    EXPECT_EQ(copy.LeftLine()->Width(), 3);
    EXPECT_EQ(copy.TopLine()->Width(), 2);
    EXPECT_EQ(copy.RightLine()->Color(), clRed);
}

TEST(Frame, DefaultsAreNotWrittenAndEveryValueRoundTrips)
{
    TqvxXMLSerializer serializer;
    TqvxFrame frame;
    EXPECT_TRUE(serializer.ObjToXML(&frame).isEmpty());

    frame.SetTyp(ftLeft | ftBottom);
    frame.SetDropShadow(true);
    frame.SetShadowColor(clMaroon);
    frame.SetShadowWidth(6.5);
    frame.SetStyle(fsDashDot);
    frame.TopLine()->SetStyle(fsSquare);
    frame.RightLine()->SetColor(clGreen);
    TqvxFrame copy;
    serializer.XMLToObj(serializer.ObjToXML(&frame), &copy);
    EXPECT_EQ(copy.Typ(), ftLeft | ftBottom);
    EXPECT_TRUE(copy.DropShadow());
    EXPECT_EQ(copy.ShadowColor(), clMaroon);
    EXPECT_EQ(copy.ShadowWidth(), 6.5);
    EXPECT_EQ(copy.Style(), fsDashDot);
    EXPECT_EQ(copy.LeftLine()->Style(), fsDashDot);
    EXPECT_EQ(copy.TopLine()->Style(), fsSquare);
    EXPECT_EQ(copy.RightLine()->Color(), clGreen);
    EXPECT_EQ(copy.Diff(&frame), QString());
}

TEST(Frame, DiffTextAndAssign)
{
    TqvxFrame plain;
    TqvxFrame frame;
    frame.SetColor(clRed);
    frame.SetTyp(ftLeft | ftTop);
    frame.SetShadowWidth(4.00001);
    frame.SetWidth(1.5);
    // The lines follow the frame: only the frame's own attributes.
    EXPECT_EQ(frame.Diff(&plain), QStringLiteral(" Frame.Color=\"255\" Frame.Typ=\"5\" Frame.Width=\"1.5\""));

    TqvxFrame other;
    other.Assign(&frame);
    other.LeftLine()->SetColor(clBlue);
    other.BottomLine()->SetWidth(3);
    EXPECT_EQ(other.Diff(&frame),
              QStringLiteral(" Frame.LeftLine.Color=\"16711680\" Frame.BottomLine.Width=\"3\""));
    EXPECT_EQ(frame.Diff(&other, QStringLiteral("Highlight.Frame")),
              QStringLiteral(" Highlight.Frame.LeftLine.Color=\"255\" Highlight.Frame.BottomLine.Width=\"1.5\""));
}

// --- Fills ------------------------------------------------------------------

TEST(BrushFill, NoBackColorPaintsNothingAndHatchesInForeColor)
{
    Surface s;
    TqvxBrushFill fill;
    fill.Draw(s.Canvas(), 0, 0, 20, 20, 1, 1);
    EXPECT_EQ(s.At(10, 10), clWhite);

    fill.SetBackColor(clYellow);
    fill.Draw(s.Canvas(), 0, 0, 20, 20, 1, 1);
    EXPECT_EQ(s.At(10, 10), clYellow);
    EXPECT_EQ(s.At(20, 10), clWhite);

    Surface hatched;
    fill.SetBackColor(clNone);
    fill.SetForeColor(clRed);
    fill.SetStyle(bsHorizontal);
    fill.Draw(hatched.Canvas(), 0, 0, 20, 20, 1, 1);
    EXPECT_FALSE(hatched.Rows(5, clRed).isEmpty());
    EXPECT_FALSE(hatched.Rows(5, clWhite).isEmpty());
}

TEST(GradientFill, StripsRunFromStartToEndColour)
{
    Surface s(256, 10);
    TqvxGradientFill fill;
    fill.Draw(s.Canvas(), 0, 0, 256, 10, 1, 1);
    EXPECT_EQ(s.At(0, 5), clWhite);
    // Signed channel differences: white really reaches black.
    EXPECT_EQ(s.At(255, 5), clBlack);
    EXPECT_EQ(s.At(128, 5), TColor(0x7F7F7F));
    EXPECT_EQ(fill.MiddleColor(), TColor(0x808080));

    fill.SetStartColor(clBlack);
    fill.SetEndColor(TColor(0x0000FF));
    fill.SetGradientStyle(gsVertical);
    Surface v(10, 256);
    fill.Draw(v.Canvas(), 0, 0, 10, 256, 1, 1);
    EXPECT_EQ(v.At(5, 0), clBlack);
    EXPECT_EQ(v.At(5, 255), TColor(0x0000FF));
}

TEST(GradientFill, CentreGradientsAreSymmetricAndSurviveOnePixelBoxes)
{
    TqvxGradientFill fill;
    fill.SetGradientStyle(gsVertCenter);
    Surface s(5, 20);
    fill.Draw(s.Canvas(), 0, 0, 5, 10, 1, 1);
    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(s.At(2, i), s.At(2, 10 - i)) << i;
    EXPECT_EQ(s.At(2, 0), clWhite);
    EXPECT_EQ(s.At(2, 5), clBlack);

    Surface thin(5, 5);
    fill.Draw(thin.Canvas(), 0, 0, 5, 1, 1, 1);
    EXPECT_EQ(thin.At(2, 0), clWhite);
    fill.SetGradientStyle(gsHorizCenter);
    fill.Draw(thin.Canvas(), 0, 2, 1, 4, 1, 1);
    EXPECT_EQ(thin.At(0, 3), clWhite);
}

TEST(GradientFill, EqualColoursPaintOneFlatColour)
{
    for (TqvxGradientStyle style : {gsHorizontal, gsVertical, gsElliptic, gsRectangle, gsVertCenter, gsHorizCenter}) {
        SCOPED_TRACE(int(style));
        Surface s(40, 40);
        TqvxGradientFill fill;
        fill.SetStartColor(clTeal);
        fill.SetEndColor(clTeal);
        fill.SetGradientStyle(style);
        fill.Draw(s.Canvas(), 5, 5, 35, 35, 1, 1);
        EXPECT_EQ(s.At(6, 6), clTeal);
        EXPECT_EQ(s.At(20, 20), clTeal);
        EXPECT_EQ(s.At(33, 33), clTeal);
        EXPECT_EQ(s.At(2, 2), clWhite);
    }
}

TEST(GlassFill, LightHalfAndHatch)
{
    Surface s(20, 20);
    TqvxGlassFill fill;
    fill.Draw(s.Canvas(), 0, 0, 20, 20, 1, 1);
    // 128 + round(127 * 0.5) = 192 in every channel.
    EXPECT_EQ(s.At(10, 2), TColor(0xC0C0C0));
    EXPECT_EQ(s.At(10, 15), clGray);

    fill.SetOrientation(foVerticalMirror);
    fill.Draw(s.Canvas(), 0, 0, 20, 20, 1, 1);
    EXPECT_EQ(s.At(2, 10), clGray);
    EXPECT_EQ(s.At(15, 10), TColor(0xC0C0C0));

    Surface none(20, 20);
    fill.SetColor(clNone);
    fill.Draw(none.Canvas(), 0, 0, 20, 20, 1, 1);
    EXPECT_EQ(none.At(10, 10), clWhite);

    Surface hatched(20, 20);
    fill.SetColor(clGray);
    fill.SetHatch(true);
    fill.Draw(hatched.Canvas(), 0, 0, 20, 20, 1, 1);
    EXPECT_FALSE(hatched.Columns(15, TColor(0xBABABA)).isEmpty());
}

TEST(Fills, WhiteGlassAndOtherNonDefaultsRoundTrip)
{
    TqvxXMLSerializer serializer;
    TqvxGlassFill glass;
    EXPECT_TRUE(serializer.ObjToXML(&glass).startsWith(QStringLiteral(" Blend=")));
    glass.SetColor(clWhite);
    glass.SetHatch(true);
    glass.SetOrientation(foVertical);
    glass.SetBlend(0.25);
    TqvxGlassFill glassCopy;
    serializer.XMLToObj(serializer.ObjToXML(&glass), &glassCopy);
    EXPECT_EQ(glassCopy.Diff(&glass, QStringLiteral("Fill")), QString());
    EXPECT_EQ(glassCopy.Color(), clWhite);

    TqvxBrushFill brush;
    EXPECT_TRUE(serializer.ObjToXML(&brush).isEmpty());
    brush.SetBackColor(clBlack);
    brush.SetForeColor(clRed);
    brush.SetStyle(bsCross);
    TqvxBrushFill brushCopy;
    serializer.XMLToObj(serializer.ObjToXML(&brush), &brushCopy);
    EXPECT_EQ(brushCopy.Diff(&brush, QStringLiteral("Fill")), QString());

    TqvxGradientFill gradient;
    EXPECT_TRUE(serializer.ObjToXML(&gradient).isEmpty());
    gradient.SetStartColor(clBlack);
    gradient.SetEndColor(clWhite);
    gradient.SetGradientStyle(gsHorizCenter);
    TqvxGradientFill gradientCopy;
    serializer.XMLToObj(serializer.ObjToXML(&gradient), &gradientCopy);
    EXPECT_EQ(gradientCopy.Diff(&gradient, QStringLiteral("Fill")), QString());
}

TEST(Fills, DiffAgainstAnotherKindWritesEverything)
{
    TqvxBrushFill brush;
    TqvxGlassFill glass;
    EXPECT_EQ(brush.Diff(&glass, QStringLiteral("Fill")),
              QStringLiteral(" Fill.BackColor=\"536870911\" Fill.ForeColor=\"0\" Fill.Style=\"0\""));
    EXPECT_EQ(glass.Diff(&brush, QStringLiteral("Fill")),
              QStringLiteral(" Fill.Color=\"8421504\" Fill.Blend=\"0.5\" Fill.Hatch=\"0\" Fill.Orientation=\"1\""));
    TqvxGradientFill gradient;
    TqvxGradientFill other;
    other.SetGradientStyle(gsElliptic);
    EXPECT_EQ(other.Diff(&gradient, QStringLiteral("Fill")), QStringLiteral(" Fill.GradientStyle=\"2\""));
    EXPECT_EQ(gradient.Diff(nullptr, QStringLiteral("Fill")),
              QStringLiteral(" Fill.StartColor=\"16777215\" Fill.EndColor=\"0\" Fill.GradientStyle=\"0\""));

    // Assign copies only from its own kind.
    glass.SetColor(clRed);
    TqvxGlassFill copy;
    copy.Assign(&glass);
    EXPECT_EQ(copy.Color(), clRed);
    copy.Assign(&brush);
    EXPECT_EQ(copy.Color(), clRed);
}

TEST(Fills, KindsAndClassesMapOneToOne)
{
    for (TqvxFillType type : {ftBrush, ftGradient, ftGlass}) {
        const std::unique_ptr<TqvxCustomFill> fill = qvxCreateFill(type);
        ASSERT_TRUE(fill);
        EXPECT_EQ(qvxFillTypeOf(fill.get()), type);
    }
    EXPECT_FALSE(qvxCreateFill(3));
    EXPECT_FALSE(qvxCreateFill(-1));
}

} // namespace
