// Outline items made for bands: each points at the top of its band's own
// output, on the page the band went to, whatever follows the band.

#include "EngineTestReport.h"

#include "report/model/qvxCustomOutline.h"
#include "report/base/qvxNumbers.h"

#include <gtest/gtest.h>

namespace {

const double bodyHeight = 277 * qv01cm;

} // namespace

class EngineOutlineTest : public ::testing::Test, public TEngineTestReport
{
protected:
    // The items of the prepared outline, depth first: "text page top", one
    // a line, indented two spaces a level.
    std::string items() const
    {
        TqvxCustomOutline *outline = store()->Outline();
        outline->LevelRoot();
        QStringList result;
        collect(outline, QString(), result);
        return lines(result);
    }

    // A data band over "DS" of `rows` rows whose outline item reads "Row N".
    TqvxMasterData *rows(const char *name, int count, double height = 20)
    {
        auto *data = band<TqvxMasterData>(name, 300, height);
        data->SetDataSet(dataSet("DS", count));
        data->SetOutlineText(QStringLiteral("'Row ' + IntToStr(<DS.\"N\">)"));
        memo(data, "Memo1", QStringLiteral("[DS.\"N\"]"));
        return data;
    }

    // A band filling the first page down to `height`, printed once first.
    void lead(double height) { band<TqvxMasterData>("Lead", 10, height)->SetRowCount(1); }

private:
    static void collect(TqvxCustomOutline *outline, const QString &indent, QStringList &result)
    {
        for (int i = 0; i < outline->Count(); ++i) {
            QString text;
            int page = -1;
            int top = -1;
            outline->GetItem(i, text, page, top);
            result.append(QStringLiteral("%1%2 %3 %4").arg(indent, text).arg(page).arg(top));
            outline->LevelDown(i);
            collect(outline, indent + QStringLiteral("  "), result);
            outline->LevelUp();
        }
    }
};

TEST_F(EngineOutlineTest, APlainBandsItemPointsAtItsTop)
{
    lead(50);
    rows("MasterData1", 2, 25.5);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    // 50 + 25.5 = 75.5 rounds to the even 76.
    EXPECT_EQ(items(), lines({"Row 1 0 50", "Row 2 0 76"}));
}

TEST_F(EngineOutlineTest, ABandsChildDoesNotMoveItsItem)
{
    auto *data = rows("MasterData1", 2);
    data->SetChild(band<TqvxChild>("Child1", 500, 10));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(bands(0), lines({"MasterData1 0: 1", "Child1 20", "MasterData1 30: 2", "Child1 50"}));
    EXPECT_EQ(items(), lines({"Row 1 0 0", "Row 2 0 30"}));
}

TEST_F(EngineOutlineTest, AChildBreakingThePageLeavesTheItemWithItsBand)
{
    lead(bodyHeight - 50);
    auto *data = rows("MasterData1", 1);
    data->SetChild(band<TqvxChild>("Child1", 500, 40));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bands(1), lines({"Child1 0"}));
    EXPECT_EQ(items(), lines({QStringLiteral("Row 1 0 %1").arg(qvxRound(bodyHeight - 50))}));
}

TEST_F(EngineOutlineTest, ABandKeptWithItsChildTakesItsItemToTheNewPage)
{
    lead(bodyHeight - 50);
    auto *header = band<TqvxPageHeader>("PageHeader1", 0, 15);
    (void)header;
    auto *data = rows("MasterData1", 1);
    data->SetKeepChild(true);
    data->SetChild(band<TqvxChild>("Child1", 500, 40));
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bands(1), lines({"PageHeader1 0", "MasterData1 15: 1", "Child1 35"}));
    EXPECT_EQ(items(), lines({"Row 1 1 15"}));
}

TEST_F(EngineOutlineTest, EveryColumnOfARowPointsAtTheRowsTop)
{
    lead(40);
    auto *data = rows("MasterData1", 5);
    data->SetColumns(2);
    data->SetColumnWidth(300);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    EXPECT_EQ(items(), lines({"Row 1 0 40", "Row 2 0 40", "Row 3 0 60", "Row 4 0 60", "Row 5 0 80"}));
}

TEST_F(EngineOutlineTest, ARowOfColumnsMovedToTheNextPageTakesItsItemsAlong)
{
    auto *data = rows("MasterData1", 22, 100);
    data->SetColumns(2);
    data->SetColumnWidth(300);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(texts(1), QStringList({"21", "22"}));
    const QStringList all = QString::fromStdString(items()).split('\n');
    ASSERT_EQ(all.size(), 22);
    EXPECT_EQ(all.mid(18), QStringList({"Row 19 0 900", "Row 20 0 900", "Row 21 1 0", "Row 22 1 0"}));
}

TEST_F(EngineOutlineTest, AKeptRowOfColumnsMovedToTheNextPageTakesItsItemsAlong)
{
    lead(50);
    auto *data = rows("MasterData1", 22, 100);
    data->SetColumns(2);
    data->SetColumnWidth(300);
    data->SetKeepTogether(true);
    ASSERT_TRUE(prepare()) << errors().join('\n').toStdString();
    ASSERT_EQ(pageCount(), 2);
    EXPECT_EQ(bandList(0).last(), QStringLiteral("MasterData1 850: 18"));
    const QStringList all = QString::fromStdString(items()).split('\n');
    ASSERT_EQ(all.size(), 22);
    EXPECT_EQ(all.mid(18), QStringList({"Row 19 1 0", "Row 20 1 0", "Row 21 1 100", "Row 22 1 100"}));
}
