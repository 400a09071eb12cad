// Columns, header sections, rows and the fixed band of a grid.

#include "GridTestSupport.h"

#include "controls/TGridRows.h"
#include "toolkit/classes/Reflection.h"
#include "toolkit/graphics/ImageList.h"

namespace {

class GridCompanions : public GridFixture
{
protected:
    // The header's sections, emptied and left to the test to build.
    TGridHeaderSections *ownSections()
    {
        TCustomGridHeader *header = grid->Header();
        header->SetAutoSynchronize(false);
        header->SetSynchronized(false);
        header->Sections()->Clear();
        return header->Sections();
    }

    QStringList leafCaptions() const
    {
        QStringList captions;
        std::function<void(TGridHeaderSections *)> walk = [&](TGridHeaderSections *sections) {
            for (int i = 0; i < sections->Count(); ++i) {
                TGridHeaderSection *s = sections->Sections(i);
                if (s->HasSections())
                    walk(s->Sections());
                else
                    captions << s->Caption();
            }
        };
        walk(grid->Header()->Sections());
        return captions;
    }
};

} // namespace

TEST_F(GridCompanions, ColumnWidthIsClampedAndHiddenColumnsReadZero)
{
    TCustomGridColumn *column = grid->Columns()->Add();
    EXPECT_EQ(column->Width(), 64);
    column->SetMinWidth(20);
    column->SetMaxWidth(100);
    column->SetWidth(5);
    EXPECT_EQ(column->Width(), 20);
    column->SetWidth(500);
    EXPECT_EQ(column->Width(), 100);
    column->SetMaxWidth(50000);
    EXPECT_EQ(column->MaxWidth(), 10000);
    column->SetMinWidth(-4);
    EXPECT_EQ(column->MinWidth(), 0);

    column->SetVisible(false);
    EXPECT_EQ(column->Width(), 0);
    EXPECT_EQ(column->DefWidth(), 100);
    column->SetVisible(true);
    EXPECT_EQ(column->Width(), 100);
}

TEST_F(GridCompanions, SynchronizedHeaderFollowsColumns)
{
    setUpGrid(2, 3);
    TGridHeaderSections *sections = grid->Header()->Sections();
    ASSERT_EQ(sections->Count(), 2);
    sections->Sections(0)->SetCaption(QStringLiteral("Name"));

    TCustomGridColumn *third = grid->Columns()->Add();
    third->SetCaption(QStringLiteral("Third"));
    third->SetWidth(70);
    ASSERT_EQ(sections->Count(), 3);
    EXPECT_EQ(sections->Sections(2)->Width(), 70);
    EXPECT_EQ(leafCaptions(), QStringList({"Name", "", ""}));

    grid->Header()->SetFullSynchronizing(true);
    EXPECT_TRUE(grid->Header()->Synchronized());
    EXPECT_EQ(leafCaptions(), QStringList({"", "", "Third"}));
}

TEST_F(GridCompanions, RemovingTheLastColumnFreesItsLeafButKeepsParents)
{
    setUpGrid(3, 1);
    TCustomGridHeader *header = grid->Header();
    TGridHeaderSections *sections = ownSections();
    sections->Add()->SetCaption(QStringLiteral("A"));
    TGridHeaderSection *parent = sections->Add();
    parent->SetCaption(QStringLiteral("Group"));
    parent->Sections()->Add()->SetCaption(QStringLiteral("B"));
    parent->Sections()->Add()->SetCaption(QStringLiteral("C"));
    EXPECT_EQ(header->MaxLevel(), 1);
    EXPECT_EQ(header->Height(), 34);
    EXPECT_EQ(parent->ColumnIndex(), 2);

    header->SetAutoSynchronize(true);
    delete grid->Columns()->Columns(2);
    ASSERT_EQ(sections->Count(), 2);
    EXPECT_EQ(sections->Sections(1), parent);
    EXPECT_EQ(leafCaptions(), QStringList({"A", "B"}));

    delete grid->Columns()->Columns(1);
    ASSERT_EQ(sections->Count(), 2);
    EXPECT_FALSE(parent->HasSections());
    EXPECT_EQ(header->Height(), 17);
}

TEST_F(GridCompanions, LeavesAreNumberedAndLaidOutUnderTheirParents)
{
    setUpGrid(3, 1);
    TGridHeaderSections *sections = ownSections();
    TGridHeaderSection *first = sections->Add();
    TGridHeaderSection *group = sections->Add();
    TGridHeaderSection *b = group->Sections()->Add();
    TGridHeaderSection *c = group->Sections()->Add();
    grid->Columns()->Columns(1)->SetWidth(30);

    EXPECT_EQ(first->ColumnIndex(), 0);
    EXPECT_EQ(b->ColumnIndex(), 1);
    EXPECT_EQ(c->ColumnIndex(), 2);
    EXPECT_EQ(group->Width(), 80);
    EXPECT_EQ(b->Level(), 1);
    EXPECT_EQ(first->BoundsRect(), Rect(0, 0, 50, 34));
    EXPECT_EQ(group->BoundsRect(), Rect(50, 0, 130, 17));
    EXPECT_EQ(b->BoundsRect(), Rect(50, 17, 80, 34));
    EXPECT_EQ(c->BoundsRect(), Rect(80, 17, 130, 34));

    grid->Rows()->SetCount(1);
    grid->Fixed()->SetCount(1);
    grid->HorzScrollBar()->SetParams(0, 100, 8, 10);
    grid->HorzScrollBar()->SetPosition(20);
    EXPECT_EQ(first->BoundsRect(), Rect(0, 0, 50, 34));
    EXPECT_EQ(c->BoundsRect(), Rect(60, 17, 110, 34));
}

TEST_F(GridCompanions, RowCountIsLimitedByTheRowHeight)
{
    TCustomGridRows *rows = grid->Rows();
    rows->SetHeight(18);
    EXPECT_EQ(rows->MaxCount(), 119304644);
    rows->SetHeight(16);
    EXPECT_EQ(rows->MaxCount(), 134217725);
    rows->SetCount(134217725);
    EXPECT_EQ(rows->Count(), 134217725);
    rows->SetHeight(18);
    EXPECT_EQ(rows->Count(), 119304644);
    rows->SetCount(-5);
    EXPECT_EQ(rows->Count(), 0);
    rows->SetHeight(-3);
    EXPECT_EQ(rows->Height(), 0);
    EXPECT_EQ(rows->MaxCount(), 0x7FFFFFFD);

    rows->SetCount(10);
    rows->SetHeight(0x40000000);
    EXPECT_EQ(rows->MaxCount(), 0);
    EXPECT_EQ(rows->Count(), 0);
}

TEST(GridRowsAutoHeight, FormulaTakesTheLargestTerm)
{
    TGridRowMetrics m;
    m.TextHeight = 13;
    m.FixedTextHeight = 15;
    m.TextTopIndent = 2;
    EXPECT_EQ(AutoRowHeight(m), 19);

    m.CheckBoxes = true;
    m.CheckHeight = 16;
    m.CheckTopIndent = 2;
    EXPECT_EQ(AutoRowHeight(m), 19); // 16 + 2 + 1 for the horizontal lines

    m.FixedCount = 1;
    m.FixedFlat = false;
    EXPECT_EQ(AutoRowHeight(m), 21);
    m.FixedFlat = true;
    m.FixedGridColor = true;
    EXPECT_EQ(AutoRowHeight(m), 19);

    m.ImageHeight = 20;
    m.ImageTopIndent = 1;
    EXPECT_EQ(AutoRowHeight(m), 21);
    m.GridLineWidth = 12;
    EXPECT_EQ(AutoRowHeight(m), 24);
    m.HorzLines = false;
    EXPECT_EQ(AutoRowHeight(m), 21);
}

TEST_F(GridCompanions, AutoHeightFollowsTheFont)
{
    grid->Rows()->SetAutoHeight(true);
    const int height = grid->Rows()->Height();
    TGridRowMetrics m = grid->RowMetrics();
    EXPECT_EQ(height, AutoRowHeight(m));
    TFont bigger;
    bigger.Assign(grid->Font());
    bigger.SetHeight(-30);
    grid->SetFont(&bigger);
    EXPECT_GT(grid->Rows()->Height(), height);
}

TEST_F(GridCompanions, AutoSectionHeight)
{
    EXPECT_EQ(AutoSectionHeight(13, -1, true, true), 17);
    EXPECT_EQ(AutoSectionHeight(13, 16, false, false), 20);
    EXPECT_EQ(AutoSectionHeight(-10, -1, true, true), 0);
}

TEST_F(GridCompanions, FixedCountLeavesOneScrollingColumn)
{
    grid->Fixed()->SetCount(2);
    EXPECT_EQ(grid->Fixed()->Count(), 0);
    setUpGrid(3, 2);
    grid->Fixed()->SetCount(5);
    EXPECT_EQ(grid->Fixed()->Count(), 2);
    delete grid->Columns()->Columns(2);
    EXPECT_EQ(grid->Fixed()->Count(), 1);
}

TEST_F(GridCompanions, FlatLooksOfHeaderAndFixedBandGoTogether)
{
    grid->Fixed()->SetFlat(false);
    EXPECT_FALSE(grid->Header()->Flat());
    grid->Header()->SetFlat(true);
    EXPECT_TRUE(grid->Fixed()->Flat());
    grid->Header()->SetFlat(false);
    EXPECT_TRUE(grid->Fixed()->Flat());
}

TEST_F(GridCompanions, PartsFollowTheGridColourAndFont)
{
    grid->Fixed()->SetGridColor(true);
    grid->SetColor(clYellow);
    EXPECT_EQ(grid->Fixed()->Color(), clYellow);
    EXPECT_EQ(grid->Header()->Color(), clBtnFace);
    grid->Fixed()->SetColor(clRed);
    EXPECT_FALSE(grid->Fixed()->GridColor());

    TFont font;
    font.Assign(grid->Font());
    font.SetColor(clNavy);
    grid->SetFont(&font);
    EXPECT_EQ(grid->Header()->Font()->Color(), clNavy);
    grid->Header()->Font()->SetColor(clRed);
    EXPECT_FALSE(grid->Header()->GridFont());
    font.SetColor(clGreen);
    grid->SetFont(&font);
    EXPECT_EQ(grid->Header()->Font()->Color(), clRed);
    EXPECT_EQ(grid->Fixed()->Font()->Color(), clGreen);
}

TEST_F(GridCompanions, ChangeScaleScalesWidthsAndHeights)
{
    setUpGrid(2, 3, 40);
    grid->Columns()->Columns(0)->SetMinWidth(10);
    grid->ChangeScale(3, 2);
    EXPECT_EQ(grid->Columns()->Columns(0)->Width(), 60);
    EXPECT_EQ(grid->Columns()->Columns(0)->MinWidth(), 15);
    EXPECT_EQ(grid->Rows()->Height(), 30);
    EXPECT_EQ(grid->Header()->SectionHeight(), 26);
    EXPECT_EQ(grid->Header()->Sections()->Sections(1)->Width(), 60);
}

TEST_F(GridCompanions, LoadedSynchronisesAndPlacesTheCursor)
{
    grid->Loading();
    grid->SetAlwaysSelected(true);
    setUpGrid(3, 4);
    EXPECT_EQ(grid->Header()->Sections()->Count(), 0);
    grid->Loaded();
    EXPECT_EQ(grid->Header()->Sections()->Count(), 3);
    EXPECT_TRUE(grid->CellSelected());
    EXPECT_EQ(grid->VisSize(), GridCell(3, 4));
}

TEST_F(GridCompanions, FreedImageListsAreForgotten)
{
    auto *images = new TImageList(form.get());
    grid->SetImages(images);
    grid->Header()->SetImages(images);
    delete images;
    EXPECT_EQ(grid->Images(), nullptr);
    EXPECT_EQ(grid->Header()->Images(), nullptr);
}

TEST_F(GridCompanions, ChangesOfTheImageListReachTheGrid)
{
    auto *images = new TImageList(form.get());
    images->SetSize(16, 24);
    grid->Rows()->SetAutoHeight(true);
    grid->SetImages(images);
    const int rowHeight = grid->Rows()->Height();
    int repaints = 0;
    // The list's own event stays its user's.
    images->OnChange = [&](TObject *) { ++repaints; };
    images->SetSize(16, 40);
    EXPECT_EQ(repaints, 1);
    EXPECT_EQ(grid->Rows()->Height(), rowHeight + 16);

    // A replaced list no longer reaches the grid.
    auto *other = new TImageList(form.get());
    grid->SetImages(other);
    const int otherHeight = grid->Rows()->Height();
    images->SetSize(16, 64);
    EXPECT_EQ(grid->Rows()->Height(), otherHeight);
    delete other;
    EXPECT_EQ(grid->Images(), nullptr);
}

TEST_F(GridCompanions, TurningHintsOffTurnsCellTipsOff)
{
    grid->SetShowCellTips(true);
    EXPECT_TRUE(grid->ShowHint());
    grid->SetShowHint(false);
    EXPECT_FALSE(grid->ShowCellTips());
    grid->SetShowHint(true);
    EXPECT_FALSE(grid->ShowCellTips());
    // Through reflection as a form file sets it.
    grid->SetShowCellTips(true);
    grid->setProperty("ShowHint", false);
    EXPECT_FALSE(grid->ShowCellTips());
}

TEST_F(GridCompanions, FormFilesKeepOnlyWhatDiffersFromTheGridsOwnChoice)
{
    setUpGrid(2, 3, TGridHeaderSection::DefaultWidth);
    auto stored = [](const TObject *instance, const char *property) {
        const TPropInfo *info = GetPropInfo(instance, QString::fromLatin1(property));
        EXPECT_NE(info, nullptr) << property;
        return info && info->IsStored(instance);
    };
    TCustomGridColumn *column = grid->Columns()->Columns(0);
    EXPECT_FALSE(stored(column, "Width")) << "DefWidth carries it";
    EXPECT_FALSE(stored(column, "PickList"));
    column->PickList()->Add(QStringLiteral("one"));
    EXPECT_TRUE(stored(column, "PickList"));

    TCustomGridHeader *header = grid->Header();
    EXPECT_TRUE(stored(header, "Color"));
    header->SetGridColor(true);
    EXPECT_FALSE(stored(header, "Color")) << "the grid's colour";
    EXPECT_FALSE(stored(header, "Font")) << "the grid's font";
    EXPECT_FALSE(stored(header, "Sections")) << "one synchronised leaf per column";
    header->SetColor(clYellow);
    header->Font()->SetSize(12);
    EXPECT_TRUE(stored(header, "Color"));
    EXPECT_TRUE(stored(header, "Font"));
    header->SetFullSynchronizing(true);
    EXPECT_TRUE(stored(header, "Sections"));

    TGridHeaderSection *section = header->Sections()->Sections(1);
    EXPECT_FALSE(stored(section, "Sections"));
    EXPECT_FALSE(stored(section, "Width")) << "64, the default";
    section->SetWidth(90);
    grid->Columns()->Columns(1)->SetWidth(90);
    EXPECT_TRUE(stored(section, "Width"));
    section->Sections()->Add();
    EXPECT_TRUE(stored(section, "Sections"));
    EXPECT_FALSE(stored(section, "Width")) << "a parent is as wide as its subsections";
}
