// Input reaching the virtual methods of controls, and the geometry rules of
// windowed controls, on the offscreen platform.

#include "toolkit/graphics/Canvas.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/widgets/SystemMetrics.h"
#include "toolkit/widgets/TCustomControl.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TPanel.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

class Probe : public TCustomControl
{
public:
    using TCustomControl::InputWidget;
    using TCustomControl::SetStaticEdge;

    explicit Probe(TComponent *owner) : TCustomControl(owner) {}

    QStringList log;
    int paints = 0;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override
    {
        log << QStringLiteral("down %1 %2 %3,%4").arg(int(button)).arg(shift.toInt()).arg(x).arg(y);
    }
    void MouseUp(TMouseButton button, TShiftState, int x, int y) override
    {
        log << QStringLiteral("up %1 %2,%3").arg(int(button)).arg(x).arg(y);
    }
    void Click() override { log << QStringLiteral("click"); }
    void DblClick() override { log << QStringLiteral("dblclick"); }
    void KeyDown(int &key, TShiftState shift) override
    {
        log << QStringLiteral("keydown %1 %2").arg(key).arg(shift.toInt());
        TCustomControl::KeyDown(key, shift);
    }
    void KeyPress(QChar &key) override
    {
        log << QStringLiteral("keypress %1").arg(key);
        TCustomControl::KeyPress(key);
    }
    void KeyUp(int &key, TShiftState) override { log << QStringLiteral("keyup %1").arg(key); }
    bool DoMouseWheelDown(TShiftState, const QPoint &) override
    {
        log << QStringLiteral("wheel down");
        return true;
    }
    void DoEnter() override { log << QStringLiteral("enter"); }
    void DoExit() override { log << QStringLiteral("exit"); }
    void ScrollMessage(TScrollBarKind kind, TScrollCode code, int) override
    {
        log << QStringLiteral("scroll %1 %2").arg(int(kind)).arg(int(code));
    }
    void Paint() override
    {
        ++paints;
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(Rect(0, 0, 10, 10));
    }
};

void sendMouse(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pos), widget->mapToGlobal(QPointF(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

void sendKey(QWidget *widget, int key, const QString &text, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

class ControlEvents : public ::testing::Test
{
protected:
    void SetUp() override
    {
        form.reset(NewObject<TForm>(nullptr));
        form->SetBounds(10, 10, 300, 200);
        probe = new Probe(form.get());
        probe->SetParent(form.get());
        probe->SetBounds(20, 20, 100, 80);
    }

    std::unique_ptr<TForm> form;
    Probe *probe = nullptr;
};

TEST_F(ControlEvents, MouseButtonsArriveInClientCoordinates)
{
    probe->SetBorderStyle(bsSingle);
    QWidget *client = probe->InputWidget();
    sendMouse(client, QEvent::MouseButtonPress, {5, 7}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(client, QEvent::MouseButtonRelease, {5, 7}, Qt::LeftButton, Qt::NoButton);
    sendMouse(client, QEvent::MouseButtonPress, {1, 1}, Qt::RightButton, Qt::RightButton);
    sendMouse(client, QEvent::MouseButtonRelease, {1, 1}, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(probe->log, QStringList({"down 0 8 5,7", "up 0 5,7", "click", "down 1 16 1,1", "up 1 1,1"}));
}

TEST_F(ControlEvents, ReleaseOutsideIsNoClickAndDoubleClickCarriesDouble)
{
    QWidget *client = probe->InputWidget();
    sendMouse(client, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton, Qt::LeftButton);
    sendMouse(client, QEvent::MouseButtonRelease, {500, 5}, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(probe->log.contains("click"));
    probe->log.clear();
    sendMouse(client, QEvent::MouseButtonDblClick, {2, 3}, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(probe->log, QStringList({"dblclick", "down 0 72 2,3"}));
}

TEST_F(ControlEvents, WheelDownReachesTheControl)
{
    QWidget *client = probe->InputWidget();
    QWheelEvent wheel(QPointF(5, 5), client->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(client, &wheel);
    EXPECT_EQ(probe->log, QStringList({"wheel down"}));
}

TEST_F(ControlEvents, KeysArriveAsVirtualKeysAndCharacters)
{
    sendKey(probe->InputWidget(), Qt::Key_A, QStringLiteral("a"), Qt::ShiftModifier);
    EXPECT_EQ(probe->log, QStringList({"keydown 65 1", "keypress a", "keyup 65"}));
}

TEST_F(ControlEvents, KeyZeroedInKeyDownIsSwallowed)
{
    probe->OnKeyDown = [](TObject *, int &key, TShiftState) { key = 0; };
    sendKey(probe->InputWidget(), Qt::Key_B, QStringLiteral("b"));
    // The release is a key of its own.
    EXPECT_EQ(probe->log, QStringList({"keydown 66 0", "keyup 66"}));
}

TEST_F(ControlEvents, KeyPreviewLetsTheFormSeeKeysFirst)
{
    QStringList order;
    form->SetKeyPreview(true);
    form->OnKeyDown = [&](TObject *sender, int &key, TShiftState) {
        order << QStringLiteral("form %1").arg(sender == form.get());
        if (key == VK_ESCAPE)
            key = 0;
    };
    probe->OnKeyDown = [&](TObject *, int &, TShiftState) { order << QStringLiteral("control"); };
    sendKey(probe->InputWidget(), Qt::Key_Down, QString());
    sendKey(probe->InputWidget(), Qt::Key_Escape, QString());
    EXPECT_EQ(order, QStringList({"form 1", "control", "form 1"}));
}

TEST_F(ControlEvents, KeyPressCanReplaceOrSuppressTypedCharacters)
{
    auto *edit = new TEdit(form.get());
    edit->SetParent(form.get());
    edit->OnKeyPress = [](TObject *, QChar &key) {
        if (key == QLatin1Char('x'))
            key = QChar();
        else
            key = key.toUpper();
    };
    sendKey(edit->Widget(), Qt::Key_A, QStringLiteral("a"));
    sendKey(edit->Widget(), Qt::Key_X, QStringLiteral("x"));
    sendKey(edit->Widget(), Qt::Key_B, QStringLiteral("b"));
    EXPECT_EQ(edit->Text(), QStringLiteral("AB"));
}

TEST_F(ControlEvents, FocusMovesFireEnterAndExit)
{
    auto *other = new Probe(form.get());
    other->SetParent(form.get());
    other->SetBounds(150, 20, 50, 50);
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    QApplication::processEvents();

    probe->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(probe->Focused());
    other->SetFocus();
    QApplication::processEvents();
    EXPECT_TRUE(other->Focused());
    EXPECT_EQ(form->ActiveControl(), other);
    EXPECT_EQ(probe->log, QStringList({"enter", "exit"}));
    EXPECT_EQ(other->log, QStringList({"enter"}));
}

TEST_F(ControlEvents, MouseCaptureHoldsTheMouseUntilReleased)
{
    form->Show();
    probe->SetMouseCapture(true);
    EXPECT_TRUE(probe->MouseCapture());
    EXPECT_EQ(QWidget::mouseGrabber(), probe->InputWidget());
    probe->SetMouseCapture(false);
    EXPECT_FALSE(probe->MouseCapture());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(ControlEvents, HiddenOrDisabledControlsRefuseTheFocus)
{
    form->Show();
    probe->SetEnabled(false);
    EXPECT_FALSE(probe->CanFocus());
    EXPECT_THROW(probe->SetFocus(), EInvalidOperation);
    probe->SetEnabled(true);
    form->Hide();
    EXPECT_THROW(probe->SetFocus(), EInvalidOperation);
}

TEST_F(ControlEvents, BorderEdgesTakeTheirWidthFromTheClientArea)
{
    EXPECT_EQ(probe->ClientRect(), Rect(0, 0, 100, 80));
    probe->SetBorderStyle(bsSingle);
    EXPECT_EQ(probe->ClientRect(), Rect(0, 0, 96, 76));
    probe->SetStaticEdge(true);
    EXPECT_EQ(probe->ClientRect(), Rect(0, 0, 98, 78));
    probe->SetStaticEdge(false);
    probe->SetCtl3D(false);
    EXPECT_EQ(probe->ClientRect(), Rect(0, 0, 98, 78));
}

TEST_F(ControlEvents, ClientEdgeIsTheClassicTwoPixelSunkenEdge)
{
    probe->SetBorderStyle(bsSingle);
    const QImage image = probe->Widget()->grab().toImage();
    ASSERT_EQ(image.size(), QSize(100, 80));
    EXPECT_EQ(QColorToColor(image.pixelColor(0, 0)), ColorToRGB(clBtnShadow));
    EXPECT_EQ(QColorToColor(image.pixelColor(1, 1)), ColorToRGB(cl3DDkShadow));
    EXPECT_EQ(QColorToColor(image.pixelColor(99, 79)), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(QColorToColor(image.pixelColor(98, 78)), ColorToRGB(cl3DLight));
    // The client area starts inside the edge: Paint filled (0, 0)-(10, 10).
    EXPECT_EQ(QColorToColor(image.pixelColor(2, 2)), clRed);
    EXPECT_EQ(QColorToColor(image.pixelColor(11, 11)), clRed);
    EXPECT_NE(QColorToColor(image.pixelColor(12, 12)), clRed);
}

TEST_F(ControlEvents, ScrollInfoKeepsTheClassicRange)
{
    probe->SetScrollInfo(sbVertical, {0, 10000, 2500, 9000, false});
    // The thumb can go no further than Max - (Page - 1).
    EXPECT_EQ(probe->GetScrollInfo(sbVertical).Pos, 7501);
    const int extent = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(probe->ClientWidth(), 100 - extent);

    // Nothing to scroll: the bar goes, unless asked to stay disabled.
    probe->SetScrollInfo(sbVertical, {0, 0, 0, 0, false});
    EXPECT_EQ(probe->ClientWidth(), 100);
    probe->SetScrollInfo(sbHorizontal, {0, 100, 200, 50, true});
    EXPECT_EQ(probe->ClientHeight(), 80 - extent);
    EXPECT_EQ(probe->GetScrollInfo(sbHorizontal).Pos, 0);
}

TEST_F(ControlEvents, ScrollBarActionsArriveAsScrollMessages)
{
    probe->SetScrollInfo(sbVertical, {0, 100, 10, 20, false});
    QScrollBar *vertical = nullptr;
    for (QScrollBar *bar : probe->Widget()->findChildren<QScrollBar *>())
        if (bar->orientation() == Qt::Vertical)
            vertical = bar;
    ASSERT_NE(vertical, nullptr);
    vertical->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(probe->log, QStringList({"scroll 1 3", "scroll 1 8"}));
    // The control did not move the position, so the thumb stays.
    EXPECT_EQ(vertical->value(), 20);
}

TEST_F(ControlEvents, DrawingOutsidePaintShowsAtOnceAndXorUndoes)
{
    QWidget *client = probe->InputWidget();
    QImage shot = client->grab().toImage();
    EXPECT_EQ(probe->paints, 1);
    const TColor background = QColorToColor(shot.pixelColor(20, 20));
    EXPECT_NE(background, clRed);

    probe->Canvas()->DrawFocusRect(Rect(20, 20, 30, 30));
    shot = client->grab().toImage();
    EXPECT_NE(QColorToColor(shot.pixelColor(20, 20)), background);
    probe->Canvas()->DrawFocusRect(Rect(20, 20, 30, 30));
    shot = client->grab().toImage();
    EXPECT_EQ(QColorToColor(shot.pixelColor(20, 20)), background);
    // Showing what was drawn repaints nothing.
    EXPECT_EQ(probe->paints, 1);

    probe->InvalidateRect(Rect(0, 0, 5, 5));
    client->grab();
    EXPECT_EQ(probe->paints, 2);
}

TEST_F(ControlEvents, ScrollWindowMovesPixelsAndRepaintsWhatWasUncovered)
{
    QWidget *client = probe->InputWidget();
    client->grab();
    probe->ScrollWindow(0, 5);
    const QImage shot = client->grab().toImage();
    EXPECT_EQ(probe->paints, 2);
    EXPECT_EQ(QColorToColor(shot.pixelColor(3, 2)), clRed);  // repainted
    EXPECT_EQ(QColorToColor(shot.pixelColor(3, 14)), clRed); // moved down
    EXPECT_NE(QColorToColor(shot.pixelColor(3, 15)), clRed);
}

TEST_F(ControlEvents, CanResizeMayRefuseANewSize)
{
    probe->OnCanResize = [](TObject *, int &width, int &, bool &resize) { resize = width <= 150; };
    probe->SetBounds(0, 0, 200, 50);
    EXPECT_EQ(probe->Width(), 100);
    EXPECT_EQ(probe->Height(), 80);
    EXPECT_EQ(probe->Left(), 0);
    probe->SetWidth(140);
    EXPECT_EQ(probe->Width(), 140);
}

TEST_F(ControlEvents, ChangeScaleScalesBoundsOfChildrenToo)
{
    auto *panel = new TPanel(form.get());
    panel->SetParent(form.get());
    panel->SetBounds(10, 20, 100, 40);
    auto *inner = new TPanel(form.get());
    inner->SetParent(panel);
    inner->SetBounds(4, 4, 10, 10);
    panel->ChangeScale(3, 2);
    EXPECT_EQ(panel->BoundsRect(), Rect(15, 30, 165, 90));
    EXPECT_EQ(inner->BoundsRect(), Rect(6, 6, 21, 21));
}

TEST_F(ControlEvents, ParentNilDetachesTheControl)
{
    EXPECT_EQ(form->ControlCount(), 1);
    probe->SetParent(nullptr);
    EXPECT_EQ(form->ControlCount(), 0);
    EXPECT_EQ(probe->Parent(), nullptr);
    EXPECT_FALSE(probe->Widget()->isVisible());
}

TEST_F(ControlEvents, FreeingAContainerLeavesItsChildrenAlive)
{
    auto *panel = new TPanel(nullptr);
    auto *child = new TPanel(form.get());
    child->SetParent(panel);
    delete panel;
    EXPECT_EQ(child->Parent(), nullptr);
    EXPECT_NE(child->Widget(), nullptr);
}

} // namespace
