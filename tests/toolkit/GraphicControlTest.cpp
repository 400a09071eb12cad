// Graphic controls paint on their parent: what they leave unpainted shows
// the parent's own painting.

#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/TCustomControl.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TGraphicControl.h"

#include <QImage>

#include <gtest/gtest.h>

#include <memory>

namespace {

// Red on the left half, blue on the right.
class TwoTone : public TCustomControl
{
public:
    using TCustomControl::TCustomControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(0, 0, Width() / 2, Height()));
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(Rect(Width() / 2, 0, Width(), Height()));
    }
};

// A green square in its top-left corner, nothing elsewhere.
class Corner : public TGraphicControl
{
public:
    using TGraphicControl::TGraphicControl;

protected:
    void Paint() override
    {
        Canvas()->Brush()->SetColor(clLime);
        Canvas()->FillRect(Rect(0, 0, 10, 10));
    }
};

TEST(GraphicControl, PaintsOnItsParentAndLeavesTheRestShowing)
{
    std::unique_ptr<TForm> form(NewObject<TForm>(nullptr));
    auto *parent = new TwoTone(form.get());
    parent->SetParent(form.get());
    parent->SetBounds(0, 0, 100, 40);
    auto *corner = new Corner(form.get());
    corner->SetParent(parent);
    corner->SetBounds(30, 5, 40, 30); // across the parent's two halves

    const QImage image = parent->Widget()->grab().toImage();
    auto at = [&](int x, int y) { return QColorToColor(image.pixelColor(x, y)); };
    EXPECT_EQ(at(35, 10), clLime);
    EXPECT_EQ(at(45, 25), clRed);
    EXPECT_EQ(at(65, 25), clBlue);
    EXPECT_EQ(at(5, 5), clRed);
}

} // namespace
