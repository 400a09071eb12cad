// Pages behind tabs, as the report dialogs use them.

#include "toolkit/widgets/TButton.h"
#include "toolkit/widgets/TCheckBox.h"
#include "toolkit/widgets/TCustomEdit.h"
#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TPageControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTabBar>

#include <gtest/gtest.h>

#include <memory>

namespace {

class PageControl : public ::testing::Test
{
protected:
    PageControl()
    {
        pages = NewObject<TPageControl>(form.get());
        pages->SetParent(form.get());
        pages->SetBounds(0, 0, 300, 200);
        for (const char *caption : {"First", "Second", "Third"}) {
            auto *sheet = NewObject<TTabSheet>(form.get());
            sheet->SetCaption(QString::fromLatin1(caption));
            sheet->SetPageControl(pages);
        }
    }
    QTabBar *tabs() const { return pages->Widget()->findChild<QTabBar *>(); }

    std::unique_ptr<TForm> form{NewObject<TForm>(nullptr)};
    TPageControl *pages;
};

TEST_F(PageControl, SheetsAreTabsAndOnlyTheActiveOneShows)
{
    ASSERT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(tabs()->tabText(1), "Second");
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_TRUE(pages->Pages(0)->Visible());
    EXPECT_FALSE(pages->Pages(1)->Visible());

    pages->SetActivePage(pages->Pages(2));
    EXPECT_FALSE(pages->Pages(0)->Visible());
    EXPECT_TRUE(pages->Pages(2)->Visible());
    EXPECT_EQ(pages->Pages(2)->PageIndex(), 2);

    pages->Pages(1)->SetCaption(QStringLiteral("Renamed"));
    EXPECT_EQ(tabs()->tabText(1), "Renamed");
}

TEST_F(PageControl, SheetsFillTheAreaBelowTheTabs)
{
    const TTabSheet *sheet = pages->Pages(0);
    EXPECT_GT(pages->ClientRect().Top, 0);
    EXPECT_EQ(sheet->Top(), pages->ClientRect().Top);
    EXPECT_EQ(sheet->Width(), 300);
    EXPECT_EQ(sheet->Top() + sheet->Height(), 200);
}

TEST_F(PageControl, PickingATabTellsAndASheetLeavingTakesItsTab)
{
    int changes = 0;
    pages->OnChange = [&](TObject *) { ++changes; };
    tabs()->setCurrentIndex(1);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(pages->Pages(1)->Visible());

    delete pages->Pages(0);
    EXPECT_EQ(pages->PageCount(), 2);
    EXPECT_EQ(tabs()->count(), 2);
    EXPECT_EQ(pages->Pages(0)->Caption(), "Second");
}

// Keys as the user presses them, to the widget that has the focus.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(focused, &event);
}

TEST_F(PageControl, TabReachesTheTabsAndCtrlKeysPickPagesWhereverTheFocusIs)
{
    auto *edit = NewObject<TEdit>(form.get());
    edit->SetParent(pages->Pages(0));
    auto *check = NewObject<TCheckBox>(form.get());
    check->SetParent(pages->Pages(1));
    auto *button = NewObject<TButton>(form.get());
    button->SetParent(form.get());
    button->SetTop(210);
    int changes = 0;
    pages->OnChange = [&](TObject *) { ++changes; };
    form->SetBounds(0, 0, 320, 260);
    form->Show();
    QApplication::setActiveWindow(form->Widget());
    const auto tabsFocused = [this] { return form->ActiveControl() && form->ActiveControl()->Widget() == tabs(); };

    edit->SetFocus();
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(tabsFocused()) << "Shift+Tab goes back to the tabs";
    press(Qt::Key_Tab);
    EXPECT_EQ(form->ActiveControl(), edit);
    press(Qt::Key_Tab);
    EXPECT_EQ(form->ActiveControl(), button);
    press(Qt::Key_Tab);
    EXPECT_TRUE(tabsFocused()) << "Tab comes round to the tabs";
    press(Qt::Key_Right);
    EXPECT_EQ(pages->ActivePageIndex(), 1) << "the arrows pick tabs";
    EXPECT_TRUE(tabsFocused());

    press(Qt::Key_Left);
    edit->SetFocus();
    changes = 0;
    press(Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(form->ActiveControl(), check) << "the focus goes along to the page picked";
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    EXPECT_TRUE(tabsFocused()) << "a page without controls leaves the focus on its tab";
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(pages->ActivePageIndex(), 0) << "round from the last page to the first";
    press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pages->ActivePageIndex(), 2);
    press(Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    EXPECT_EQ(changes, 5);

    button->SetFocus();
    press(Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(pages->ActivePageIndex(), 1) << "outside the page control Ctrl+PgDn picks nothing";
}

} // namespace
