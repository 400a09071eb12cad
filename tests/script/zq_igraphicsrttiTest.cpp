// Drawing from scripts: colour constants, sets and enumerations, and a
// canvas on a bitmap.

#include "ModuleTestSupport.h"

#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"

namespace {

TEST(zq_igraphicsrtti, ColoursSetsAndEnumerations)
{
    ModuleRunner r;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var red, blue, face, none, italic, strike, clear: Integer;
begin
  red := clRed; blue := clBlue; face := clBtnFace; none := clNone;
  italic := fsItalic; strike := fsStrikeout; clear := psClear
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("red")).AsInteger(), 255);
    EXPECT_EQ(r.Value(QStringLiteral("blue")).AsInteger(), 16711680);
    EXPECT_EQ(r.Value(QStringLiteral("face")).AsInteger(), -16777201);
    EXPECT_EQ(r.Value(QStringLiteral("none")).AsInteger(), 0x1FFFFFFF);
    EXPECT_EQ(r.Value(QStringLiteral("italic")).AsInteger(), 2);
    EXPECT_EQ(r.Value(QStringLiteral("strike")).AsInteger(), 8);
    EXPECT_EQ(r.Value(QStringLiteral("clear")).AsInteger(), 5);
}

TEST(zq_igraphicsrtti, DrawingOnABitmapCanvas)
{
    TBitmap bitmap;
    TzqScript host;
    host.AddObject(QStringLiteral("B"), &bitmap);
    ModuleRunner r;
    r.script.Parent = &host;
    ASSERT_TRUE(r.Run(QStringLiteral(R"(
var c: TCanvas; corner, inside, w1, w2, size: Integer; name: String;
begin
  B.Width := 20;
  B.Height := 10;
  c := B.Canvas;
  c.Pixels[1, 1] := clRed;
  corner := c.Pixels[1, 1];
  c.Brush.Color := clBlue;
  c.Pen.Color := clBlue;
  c.Rectangle(5, 2, 15, 8);
  inside := c.Pixels[10, 5];
  w1 := c.TextWidth('a'); w2 := c.TextWidth('ab');
  size := B.Width * 100 + B.Height;
  name := TGraphic(B).ClassName
end.
)")));
    EXPECT_EQ(r.Value(QStringLiteral("corner")).AsInteger(), 255);
    EXPECT_EQ(r.Value(QStringLiteral("inside")).AsInteger(), 16711680);
    EXPECT_EQ(bitmap.Canvas()->Pixel(10, 5), 16711680);
    EXPECT_GT(r.Value(QStringLiteral("w1")).AsInteger(), 0);
    EXPECT_GT(r.Value(QStringLiteral("w2")).AsInteger(), r.Value(QStringLiteral("w1")).AsInteger());
    EXPECT_EQ(r.Value(QStringLiteral("size")).AsInteger(), 2010);
    EXPECT_EQ(r.Text(QStringLiteral("name")), QStringLiteral("TBitmap"));
}

} // namespace
