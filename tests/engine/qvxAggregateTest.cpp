// Aggregate calls found in a page's total bands, their values over printed
// records with the Null and Boolean rules, running totals, restarts per
// group and page, the keep buffers and the look-up rules.

#include "LayoutTestPage.h"

#include "engine/qvxAggregate.h"
#include "engine/qvxAggregateScanner.h"
#include "engine/qvxBandLayout.h"
#include "report/model/qvxVariables.h"
#include "toolkit/core/Exceptions.h"
#include "toolkit/core/VariantOps.h"

#include <QHash>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// A report whose expressions read the current record: "<v>" and "<w>".
class TTotalsReport : public TqvxAggregateReport
{
public:
    explicit TTotalsReport(TqvxComponent *root) : m_root(root) {}

    Variant Calc(const QString &expression) override { return record.value(expression, Variant::Null()); }
    TqvxVariables *Variables() const override { return variables.get(); }
    bool IsDataField(const QString &text) const override { return fields.contains(text); }
    TqvxComponent *FindObject(const QString &name) const override { return m_root->FindObject(name); }

    QHash<QString, Variant> record;
    std::unique_ptr<TqvxVariables> variables = std::make_unique<TqvxVariables>();
    QSet<QString> fields;

private:
    TqvxComponent *m_root;
};

class AggregateTest : public ::testing::Test, public TLayoutTestPage
{
protected:
    TTotalsReport totals{&report};
    TqvxAggregateList list{&totals};
    TqvxGroupHeader *group = band<TqvxGroupHeader>("GroupHeader1", 0);
    TqvxMasterData *master = band<TqvxMasterData>("MasterData1", 40, 1);
    // A footer belongs to the data band directly above it.
    TqvxFooter *footer = band<TqvxFooter>("Footer1", 60);
    TqvxDetailData *detail = band<TqvxDetailData>("DetailData1", 80, 1);
    TqvxGroupFooter *groupFooter = band<TqvxGroupFooter>("GroupFooter1", 100);
    TqvxPageFooter *pageFooter = band<TqvxPageFooter>("PageFooter1", 900);

    // Connects the bands and collects the calls.
    void collect()
    {
        CheckBands(page, errors.get(), false);
        CheckBands(page, errors.get(), true);
        ASSERT_TRUE(errorLines().isEmpty()) << errorLines().join('\n').toStdString();
        list.AddItems(page);
    }

    // Prints master records with these values of "<v>".
    void print(const QList<Variant> &values, TqvxBand *band = nullptr)
    {
        for (const Variant &value : values) {
            totals.record[QStringLiteral("<v>")] = value;
            list.AddValue(band ? band : master, 0);
        }
    }

    Variant value(TqvxBand *owner, const char *name, const QString &expression = QStringLiteral("<v>"),
                  int flags = 0, TqvxBand *band = nullptr)
    {
        return list.GetValue(owner, 0, flags, band, expression, QString::fromLatin1(name));
    }
};

TEST_F(AggregateTest, FooterCallsBecomeItems)
{
    memo(footer, "Total", "[SUM(<v>)] [ avg ( <v> ) ] [Min(<v>, DetailData1, 1)] [COUNT(DetailData1, 2)]");
    collect();
    ASSERT_EQ(list.Count(), 3);
    const TqvxAggregateItem *sum = list.Items(0);
    EXPECT_EQ(sum->Kind, agSum);
    EXPECT_EQ(sum->Expression, "<v>");
    EXPECT_EQ(sum->DataBand, master);
    EXPECT_EQ(sum->ParentBand, footer);
    EXPECT_EQ(sum->FuncText, "SUM(<v>)");
    EXPECT_EQ(sum->MemoName, "Total");
    EXPECT_FALSE(sum->IsPageFooter);
    // "avg (" has a blank before its parenthesis: no call.
    const TqvxAggregateItem *min = list.Items(1);
    EXPECT_EQ(min->Kind, agMin);
    EXPECT_EQ(min->DataBand, detail);
    EXPECT_TRUE(min->CountInvisibleBands);
    EXPECT_FALSE(min->RunningTotal);
    const TqvxAggregateItem *count = list.Items(2);
    EXPECT_EQ(count->Kind, agCount);
    EXPECT_TRUE(count->Expression.isEmpty());
    EXPECT_EQ(count->DataBand, detail);
    EXPECT_TRUE(count->RunningTotal);
}

TEST_F(AggregateTest, OnlyTotalBandsAreScanned)
{
    memo(master, "Row", "[SUM(<v>)]");
    memo(group, "Head", "[SUM(<v>)]");
    memo(groupFooter, "GroupTotal", "[SUM(<v>)]");
    auto *child = band<TqvxChild>("Child1", 120);
    groupFooter->SetChild(child);
    memo(child, "ChildTotal", "[MAX(<v>)]");
    TqvxMemoView *plain = memo(pageFooter, "Plain", "[SUM(<v>)]");
    plain->SetAllowExpressions(false);
    memo(pageFooter, "Angled", "<SUM(<v>)> {COUNT()}")->SetExpressionDelimiters("<,>");
    collect();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0)->MemoName, "GroupTotal");
    EXPECT_EQ(list.Items(1)->MemoName, "ChildTotal");
    EXPECT_EQ(list.Items(1)->ParentBand, child);
    EXPECT_EQ(list.Items(2)->MemoName, "Angled");
    EXPECT_TRUE(list.Items(2)->IsPageFooter);
}

TEST_F(AggregateTest, TheScannerReadsQuotesBracketsAndWords)
{
    memo(footer, "Total",
         "[IIF(<w> > 0, SUM(<v>), 'SUM(<w>)')] [MYSUM(<v>)] [\"MAX(<v>)\" + AVG(<w>, , 2)] [COUNT((1,2), 1)]");
    collect();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0)->FuncText, "SUM(<v>)");
    EXPECT_EQ(list.Items(1)->FuncText, "AVG(<w>, , 2)");
    EXPECT_TRUE(list.Items(1)->RunningTotal);
    EXPECT_EQ(list.Items(1)->DataBand, master);
    // "(1,2)" names no object: the default band.
    EXPECT_EQ(list.Items(2)->DataBand, master);
    EXPECT_TRUE(list.Items(2)->CountInvisibleBands);
}

TEST_F(AggregateTest, ArgumentsSplitAtTheFirstAndLastComma)
{
    const QString text = QStringLiteral("SUM(a, (b,c), 'x,)', d, 2) + 1");
    int pos = 3;
    EXPECT_EQ(qvxAggregateArguments(text, pos), QStringList({"a", " (b,c), 'x,)', d", " 2"}));
    EXPECT_EQ(text.at(pos), u' ');
    pos = 3;
    EXPECT_EQ(qvxAggregateArguments(QStringLiteral("SUM(a, \"b)\""), pos), QStringList({"a", " \"b)\""}));
    EXPECT_EQ(pos, 11);
    pos = 5;
    EXPECT_EQ(qvxAggregateArguments(QStringLiteral("COUNT()"), pos), QStringList{""});
    EXPECT_EQ(pos, 7);
}

TEST_F(AggregateTest, FlagsThatAreNoNumberStopTheCollection)
{
    memo(footer, "Total", "[SUM(<v>, MasterData1, x)]");
    CheckBands(page, errors.get(), false);
    EXPECT_THROW(list.AddItems(page), EConvertError);
    EXPECT_EQ(list.Count(), 0);
}

TEST_F(AggregateTest, VariablesAreScannedForTheMemoThatUsesThem)
{
    totals.variables->SetVariable(QStringLiteral("Total"), QStringLiteral("SUM(<v>) * 2"));
    totals.variables->SetVariable(QStringLiteral("Self"), QStringLiteral("Self + MAX(<v>)"));
    totals.variables->SetVariable(QStringLiteral("Ping"), QStringLiteral("Pong + MIN(<v>)"));
    totals.variables->SetVariable(QStringLiteral("Pong"), QStringLiteral("Ping"));
    totals.fields.insert(QStringLiteral("Orders.\"SUM(x)\""));
    memo(pageFooter, "PageTotal", "[total] [self] [Pong] [Orders.\"SUM(x)\"]");
    collect();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0)->FuncText, "SUM(<v>)");
    EXPECT_EQ(list.Items(0)->ParentBand, pageFooter);
    EXPECT_EQ(list.Items(0)->DataBand, master);
    EXPECT_TRUE(list.Items(0)->IsPageFooter);
    EXPECT_EQ(list.Items(1)->Kind, agMax);
    EXPECT_EQ(list.Items(2)->Kind, agMin);
}

TEST_F(AggregateTest, NullsAreSkippedAndEmptyTotalsAreZero)
{
    memo(footer, "Total", "[SUM(<v>)] [AVG(<v>)] [MIN(<v>)] [MAX(<v>)] [COUNT(MasterData1)]");
    collect();
    EXPECT_EQ(value(footer, "SUM"), Variant(0));
    EXPECT_EQ(value(footer, "AVG"), Variant(0));
    print({Variant::Null(), Variant::Null()});
    EXPECT_EQ(value(footer, "SUM"), Variant(0));
    EXPECT_EQ(value(footer, "AVG"), Variant(0));
    list.Reset(footer);

    print({2, Variant::Null(), 4});
    EXPECT_EQ(value(footer, "SUM"), Variant(6));
    EXPECT_EQ(value(footer, "AVG"), Variant(3.0));
    EXPECT_EQ(value(footer, "MIN"), Variant(2));
    EXPECT_EQ(value(footer, "MAX"), Variant(4));
    EXPECT_EQ(value(footer, "COUNT", QString(), 0, master), Variant(3));
}

TEST_F(AggregateTest, BooleansAddAsOneAndZero)
{
    memo(footer, "Total", "[SUM(<v>)] [MIN(<v>)]");
    collect();
    print({false, false});
    EXPECT_EQ(value(footer, "SUM").Type(), varInteger);
    EXPECT_EQ(value(footer, "SUM"), Variant(0));
    print({true, true});
    EXPECT_EQ(value(footer, "SUM"), Variant(2));
    EXPECT_EQ(value(footer, "MIN"), Variant(0));
}

TEST_F(AggregateTest, GroupTotalsRestartButRunningTotalsGrow)
{
    memo(groupFooter, "GroupTotal", "[SUM(<v>)] [SUM(<v>, , 2)]");
    collect();
    print({1, 2});
    EXPECT_EQ(value(groupFooter, "SUM"), Variant(3));
    EXPECT_EQ(value(groupFooter, "SUM", "<v>", 2), Variant(3));
    list.Reset(groupFooter);
    print({5});
    EXPECT_EQ(value(groupFooter, "SUM"), Variant(5));
    EXPECT_EQ(value(groupFooter, "SUM", "<v>", 2), Variant(8));
    // Another band's reset leaves them.
    list.Reset(footer);
    EXPECT_EQ(value(groupFooter, "SUM"), Variant(5));
    // Between two passes even running totals start again.
    list.ClearValues();
    EXPECT_EQ(value(groupFooter, "SUM", "<v>", 2), Variant(0));
    print({7});
    EXPECT_EQ(value(groupFooter, "SUM", "<v>", 2), Variant(7));
}

TEST_F(AggregateTest, HiddenRecordsCountOnlyWithFlagOne)
{
    memo(footer, "Total", "[SUM(<v>)] [SUM(<v>, MasterData1, 1)]");
    collect();
    print({1});
    master->SetVisible(false);
    print({10});
    EXPECT_EQ(value(footer, "SUM"), Variant(1));
    EXPECT_EQ(value(footer, "SUM", "<v>", 1), Variant(11));
}

TEST_F(AggregateTest, ACallIsAnsweredOnlyByItsOwnItem)
{
    memo(footer, "Total", "[SUM(<v>)] [SUM(<v>, DetailData1)]");
    memo(groupFooter, "GroupTotal", "[SUM(<v>)]");
    collect();
    ASSERT_EQ(list.Count(), 3);
    print({1, 2});
    print({100}, detail);
    EXPECT_EQ(value(footer, "SUM", " <V> "), Variant(3));
    EXPECT_EQ(value(footer, "SUM", "<v>", 0, detail), Variant(100));
    EXPECT_EQ(value(footer, "SUM", "<v>", 0, master), Variant(3));
    EXPECT_EQ(value(groupFooter, "SUM"), Variant(3));
    // Another function, expression, band or flags, or a band that owns no
    // call: no item.
    EXPECT_TRUE(value(footer, "MAX").IsNull());
    EXPECT_TRUE(value(footer, "SUM", "<w>").IsNull());
    EXPECT_TRUE(value(footer, "SUM", "<v>", 0, groupFooter).IsNull());
    EXPECT_TRUE(value(footer, "SUM", "<v>", 2).IsNull());
    EXPECT_TRUE(value(master, "SUM").IsNull());
    EXPECT_TRUE(value(nullptr, "SUM").IsNull());
}

TEST_F(AggregateTest, KeptRowsJoinThePageTotalsWhenTheKeepEnds)
{
    memo(pageFooter, "PageTotal", "[SUM(<v>)] [AVG(<v>)] [MIN(<v>)]");
    memo(footer, "Total", "[SUM(<v>)]");
    collect();
    print({4});
    list.StartKeep();
    print({2, Variant::Null()});
    // The page footer prints without the kept rows; the footer has them.
    EXPECT_EQ(value(pageFooter, "SUM"), Variant(4));
    EXPECT_EQ(value(footer, "SUM"), Variant(6));
    list.Reset(pageFooter);
    list.EndKeep();
    EXPECT_EQ(value(pageFooter, "SUM"), Variant(2));
    EXPECT_EQ(value(pageFooter, "AVG"), Variant(2.0));
    EXPECT_EQ(value(pageFooter, "MIN"), Variant(2));

    print({1});
    list.StartKeep();
    print({9});
    list.EndKeep();
    EXPECT_EQ(value(pageFooter, "SUM"), Variant(12));
    EXPECT_EQ(value(pageFooter, "MIN"), Variant(1));
}

TEST_F(AggregateTest, AnUndoneRowMovesToTheNextPageWithItsOwnValue)
{
    memo(pageFooter, "PageTotal", "[SUM(<v>)] [COUNT(MasterData1)]");
    memo(footer, "Total", "[SUM(<v>)]");
    collect();
    print({1, 2});
    list.UndoLast(master);
    EXPECT_EQ(value(pageFooter, "SUM"), Variant(1));
    list.Reset(pageFooter);
    // The data has moved on; the row's own value comes back.
    totals.record[QStringLiteral("<v>")] = 50;
    list.RedoLast(master);
    EXPECT_EQ(value(pageFooter, "SUM"), Variant(2));
    EXPECT_EQ(value(pageFooter, "COUNT", QString()), Variant(1));
    EXPECT_EQ(value(footer, "SUM"), Variant(3));
}

TEST_F(AggregateTest, VerticalColumnsKeepTotalsOfTheirOwn)
{
    memo(footer, "Total", "[SUM(<v>)] [AVG(<v>)]");
    collect();
    totals.record[QStringLiteral("<v>")] = 3;
    list.AddValue(master, 2);
    list.AddValue(master, 2);
    list.AddValue(master, 1500);
    EXPECT_EQ(list.GetValue(footer, 2, 0, nullptr, QStringLiteral("<v>"), QStringLiteral("SUM")), Variant(6));
    EXPECT_EQ(list.GetValue(footer, 1500, 0, nullptr, QStringLiteral("<v>"), QStringLiteral("AVG")),
              Variant(3.0));
    EXPECT_EQ(list.GetValue(footer, 7, 0, nullptr, QStringLiteral("<v>"), QStringLiteral("SUM")), Variant(0));
    EXPECT_EQ(list.GetValue(footer, 0, 0, nullptr, QStringLiteral("<v>"), QStringLiteral("SUM")), Variant(0));
    list.Reset(footer);
    print({5});
    EXPECT_EQ(value(footer, "SUM"), Variant(5));
}

TEST_F(AggregateTest, AMemoMovedIntoAVerticalBandTotalsForItsFooter)
{
    auto *columns = band<TqvxMasterData>("MasterData2", 300, 1, true);
    memo(footer, "Total", "[SUM(<v>)]", 300, 40);
    memo(columns, "Cell", "[SUM(<w>)]");
    collect();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Items(0)->MemoName, "Cell");
    EXPECT_EQ(list.Items(0)->ParentBand, columns);
    EXPECT_EQ(list.Items(1)->MemoName, "Total");
    EXPECT_EQ(list.Items(1)->ParentBand, footer);
    EXPECT_EQ(list.Items(1)->DataBand, columns);
}

TEST_F(AggregateTest, ItemsForgetBandsThatAreFreed)
{
    memo(footer, "Total", "[SUM(<v>, DetailData1)]");
    collect();
    print({1}, detail);
    delete detail;
    EXPECT_EQ(list.Items(0)->DataBand, nullptr);
    list.Items(0)->AddValue();
    EXPECT_EQ(value(footer, "SUM"), Variant(1));
    delete footer;
    EXPECT_EQ(list.Items(0)->ParentBand, nullptr);
    list.Reset(nullptr);
    EXPECT_TRUE(value(nullptr, "SUM").IsNull());
}

} // namespace
