#include "report/data/qvxDialogControl.h"

#include "common/TestSupport.h"
#include "report/ReportTestClasses.h"
#include "report/data/qvxCustomDB.h"
#include "report/data/qvxDialogComponent.h"
#include "report/model/qvxParentForm.h"
#include "report/model/qvxRegistries.h"
#include "report/data/qvxUserDataSet.h"
#include "toolkit/graphics/Bitmap.h"
#include "toolkit/graphics/Canvas.h"
#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TForm.h"

#include <gtest/gtest.h>

#include <memory>

// A dialog control as concrete ones are made: it makes its control.
class TqvxTestButtonControl : public TqvxDialogControl
{
    Q_OBJECT

public:
    explicit TqvxTestButtonControl(TComponent *owner = nullptr) : TqvxDialogControl(owner)
    {
        InitControl(new TButton(nullptr));
    }
};

class TqvxTestEditControl : public TqvxDialogControl
{
    Q_OBJECT

public:
    explicit TqvxTestEditControl(TComponent *owner = nullptr) : TqvxDialogControl(owner)
    {
        InitControl(new TEdit(nullptr));
    }
};

class TqvxTestDatabase : public TqvxCustomDatabase
{
    Q_OBJECT

public:
    using TqvxCustomDatabase::TqvxCustomDatabase;
};

// A dialog page with its form.
class TTestDialogPage : public TTestPage, public TqvxDialogFormHost
{
    Q_OBJECT

public:
    explicit TTestDialogPage(TComponent *owner = nullptr) : TTestPage(owner) { AddKind(ckDialogPage); }
    TWinControl *DialogForm() const override { return form.get(); }

    std::unique_ptr<TForm> form{NewObject<TForm>(nullptr)};
};

namespace {

TColor pixel(TBitmap &bitmap, int x, int y)
{
    return bitmap.Canvas()->Pixel(x, y);
}

} // namespace

TEST(DialogControl, TheControlTakesRoundedBounds)
{
    std::unique_ptr<TqvxTestButtonControl> button(NewObject<TqvxTestButtonControl>(nullptr));
    button->SetBounds(10.6, 20.4, 75.5, 24.5);
    TControl *control = button->Control();
    EXPECT_EQ(control->Left(), 11);
    EXPECT_EQ(control->Top(), 20);
    EXPECT_EQ(control->Width(), 76);
    EXPECT_EQ(control->Height(), 24);
    EXPECT_DOUBLE_EQ(button->Left(), 10.6);

    button->SetVisible(false);
    EXPECT_FALSE(control->Visible());
    button->SetEnabled(false);
    EXPECT_FALSE(control->Enabled());
    button->SetHint(QStringLiteral("Сохранить"));
    button->SetShowHint(true);
    EXPECT_EQ(control->Hint(), QStringLiteral("Сохранить"));
    EXPECT_TRUE(button->ShowHint());
    TFont font;
    font.SetName(QStringLiteral("Courier New"));
    font.SetSize(12);
    button->SetFont(&font);
    EXPECT_EQ(control->Font()->Name(), QStringLiteral("Courier New"));
    EXPECT_EQ(control->Font()->Size(), 12);
}

TEST(DialogControl, NamesDropThePrefixAndControl)
{
    TTestReport report;
    auto *first = NewObject<TqvxTestButtonControl>(&report);
    first->CreateUniqueName();
    auto *second = NewObject<TqvxTestButtonControl>(&report);
    second->CreateUniqueName();
    EXPECT_EQ(first->Name(), QStringLiteral("TestButton1"));
    EXPECT_EQ(second->Name(), QStringLiteral("TestButton2"));
}

TEST(DialogControl, TheControlLiesOnItsParentsControlOrForm)
{
    TTestReport report;
    auto *page = NewObject<TTestDialogPage>(&report);
    auto *panel = NewObject<TqvxTestButtonControl>(page);
    auto *button = NewObject<TqvxTestButtonControl>(&report);
    EXPECT_EQ(panel->Control()->Parent(), page->form.get());
    EXPECT_EQ(button->Control()->Parent(), qvxParentForm());

    button->SetParent(panel);
    EXPECT_EQ(button->Control()->Parent(), panel->Control());
    button->SetParent(page);
    EXPECT_EQ(button->Control()->Parent(), page->form.get());
    button->SetParent(nullptr);
    EXPECT_EQ(button->Control()->Parent(), qvxParentForm());
}

TEST(DialogControl, TheCaptionFollowsARenameWhileItIsTheName)
{
    TTestReport report;
    auto *button = NewObject<TqvxTestButtonControl>(&report);
    button->SetName(QStringLiteral("Button1"));
    EXPECT_EQ(button->Caption(), QStringLiteral("Button1"));
    button->SetName(QStringLiteral("OkButton"));
    EXPECT_EQ(button->Caption(), QStringLiteral("OkButton"));
    button->SetCaption(QStringLiteral("Готово"));
    button->SetName(QStringLiteral("DoneButton"));
    EXPECT_EQ(button->Caption(), QStringLiteral("Готово"));

    // An edit's text is no caption.
    auto *edit = NewObject<TqvxTestEditControl>(&report);
    edit->SetName(QStringLiteral("Edit1"));
    EXPECT_EQ(edit->Caption(), QString());
}

TEST(DialogControl, DrawsTheControlAtItsPlaceUnscaled)
{
    TTestReport report;
    auto *page = NewObject<TTestDialogPage>(&report);
    auto *button = NewObject<TqvxTestButtonControl>(page);
    button->SetBounds(20, 10, 60, 24);
    button->SetCaption(QStringLiteral("OK"));

    TBitmap bitmap;
    bitmap.SetSize(120, 60);
    button->Draw(bitmap.Canvas(), 2, 2, 50, 50);
    EXPECT_EQ(pixel(bitmap, 10, 5), clWhite);
    EXPECT_EQ(pixel(bitmap, 119, 59), clWhite);
    // The bitmap is one pixel larger than the control, in button face.
    EXPECT_NE(pixel(bitmap, 50, 22), clWhite);
    EXPECT_NE(pixel(bitmap, 80, 34), clWhite);
    EXPECT_EQ(pixel(bitmap, 81, 35), clWhite);
}

TEST(DialogControl, TheHiddenParentFormLetsItsControlsGoAtTheEnd)
{
    std::unique_ptr<TqvxTestButtonControl> button(NewObject<TqvxTestButtonControl>(nullptr));
    TForm *form = qvxParentForm();
    EXPECT_EQ(button->Control()->Parent(), form);
    EXPECT_FALSE(form->Visible());
    FinalizeQvxParentForm();
    EXPECT_EQ(button->Control()->Parent(), nullptr);
    button->SetParent(nullptr);
    EXPECT_NE(qvxParentForm(), nullptr);
}

TEST(DialogComponent, DataAndDialogClassesFallIntoTheirPaletteGroups)
{
    TqvxObjectCollection objects;
    objects.RegisterObject<TqvxDialogComponent>(nullptr, {}, {}, 0, -1);
    objects.RegisterObject<TqvxTestButtonControl>(nullptr, {}, {}, 0, -1);
    objects.RegisterObject<TqvxUserDataSet>(nullptr, {}, {}, 0, -1);
    objects.RegisterObject<TqvxCustomDatabase>(nullptr, {}, {}, 0, -1);
    EXPECT_EQ(objects.GetItem(0)->Kind, TqvxObjectKinds(okDialog));
    EXPECT_EQ(objects.GetItem(1)->Kind, TqvxObjectKinds(okDialog));
    EXPECT_EQ(objects.GetItem(2)->Kind, TqvxObjectKinds(okData));
    EXPECT_EQ(objects.GetItem(3)->Kind, TqvxObjectKinds(okData));
}

TEST(DialogComponent, TheRegisteredPictureIsDrawnSixPixelsIn)
{
    TTestReport report;
    auto *component = NewObject<TqvxTestDatabase>(&report);
    component->SetBounds(10, 10, 28, 28);
    TBitmap plain;
    plain.SetSize(60, 60);
    component->Draw(plain.Canvas(), 1, 1, 0, 0);

    qvxObjects()->RegisterObject<TqvxTestDatabase>(nullptr, {}, {}, 0, 1);
    TBitmap pictured;
    pictured.SetSize(60, 60);
    component->Draw(pictured.Canvas(), 1, 1, 0, 0);
    qvxObjects()->UnRegister(ClassOf<TqvxTestDatabase>());

    int changed = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            if (pixel(plain, x, y) != pixel(pictured, x, y)) {
                ++changed;
                EXPECT_TRUE(x >= 16 && x < 32 && y >= 16 && y < 32) << x << "," << y;
            }
    EXPECT_GT(changed, 0);
}

TEST(DialogComponent, IsAnIconOfTwentyEightPixels)
{
    TTestReport report;
    auto *component = NewObject<TqvxDialogComponent>(&report);
    component->SetName(QStringLiteral("Database1"));
    EXPECT_EQ(component->Width(), 28);
    EXPECT_FALSE(component->StyleFlags() & csoCopy);
    component->SetBounds(10, 10, 80, 5);

    TBitmap bitmap;
    bitmap.SetSize(100, 70);
    component->Draw(bitmap.Canvas(), 2, 2, 0, 0);
    EXPECT_EQ(component->Width(), 28);
    EXPECT_EQ(component->Height(), 28);
    EXPECT_EQ(pixel(bitmap, 24, 24), ColorToRGB(clBtnFace));
    EXPECT_EQ(pixel(bitmap, 39, 24), clWhite);
    // The name is written under the icon.
    bool dark = false;
    for (int y = 42; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            dark = dark || (pixel(bitmap, x, y) & 0xFF) < 0x60;
    EXPECT_TRUE(dark);
}

#include "qvxDialogControlTest.moc"
