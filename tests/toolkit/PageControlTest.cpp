// Pages behind tabs, as the report dialogs use them.

#include "toolkit/widgets/TForm.h"
#include "toolkit/widgets/TPageControl.h"

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

} // namespace
