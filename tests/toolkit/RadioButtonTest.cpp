// Radio buttons: one checked per parent, OnClick on every check.

#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TPanel.h"
#include "toolkit/widgets/TRadioButton.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(RadioButton, TheButtonsOfOneParentAreExclusive)
{
    std::unique_ptr<TForm> form(NewObject<TForm>(nullptr));
    auto *panel = new TPanel(form.get());
    panel->SetParent(form.get());
    auto radio = [&](TWinControl *parent) {
        auto *button = new TRadioButton(form.get());
        button->SetParent(parent);
        return button;
    };
    TRadioButton *a = radio(form.get());
    TRadioButton *b = radio(form.get());
    TRadioButton *onPanel = radio(panel);
    int clicks = 0;
    b->OnClick = [&](TObject *) { ++clicks; };

    a->SetChecked(true);
    onPanel->SetChecked(true);
    EXPECT_TRUE(a->Checked());
    b->SetChecked(true);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(b->Checked());
    EXPECT_TRUE(onPanel->Checked()); // another parent, another group
    EXPECT_EQ(clicks, 1);

    // The user's click checks a and unchecks b, which does not click b.
    static_cast<QAbstractButton *>(a->Widget())->click();
    EXPECT_TRUE(a->Checked());
    EXPECT_FALSE(b->Checked());
    EXPECT_EQ(clicks, 1);

    // Code may leave the group with none checked.
    a->SetChecked(false);
    EXPECT_FALSE(a->Checked());
    EXPECT_FALSE(b->Checked());
    b->SetChecked(true);
    EXPECT_EQ(clicks, 2);
    EXPECT_FALSE(a->Checked());
}

} // namespace
