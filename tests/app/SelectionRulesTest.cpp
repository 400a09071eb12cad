#include "app/ConstUnit.h"
#include "app/SelectionRules.h"

#include "common/TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr int G1 = TSelectionRules::CharacteristicGrid;
constexpr int G2 = TSelectionRules::AccessoryGrid;

class RecordingView : public TSelectionView
{
public:
    void InvalidateValue(int grid, int row) override { invalidated.append({grid, row}); }
    void InvalidateGrid(int grid) override { invalidatedGrids.append(grid); }
    void RestartAccessoryEditing() override { ++restarts; }
    void TableLabelChanged(const QString &caption) override { label = caption; }
    void SaveEnabledChanged(bool enabled) override { saveEnabled = enabled; ++saveChanges; }
    void ResultsChanged() override { ++resultChanges; }

    QList<QPair<int, int>> invalidated;
    QList<int> invalidatedGrids;
    int restarts = 0;
    QString label;
    bool saveEnabled = false;
    int saveChanges = 0;
    int resultChanges = 0;
};

QString Caption(int grid, int row, int option)
{
    const auto &list = grid == G1 ? ParamLists[row] : AccessoryLists[row];
    return QString::fromUtf8(list[option].Caption);
}

class SelectionRulesTest : public ::testing::Test
{
protected:
    SelectionRulesTest()
    {
        rules.SetView(&view);
        rules.SetModelChooser([this](const QList<TModelCandidate> &candidates) {
            offered = candidates;
            ++chooserCalls;
            return chooserAnswer;
        });
    }

    // Opens the row's drop-down and picks the option with that index of the
    // row's full list, as the user would.
    void Choose(int grid, int row, int option)
    {
        const std::optional<QStringList> items = rules.EditList(grid, row);
        ASSERT_TRUE(items.has_value()) << "grid " << grid << " row " << row;
        const int index = items->indexOf(Caption(grid, row, option));
        ASSERT_GE(index, 0) << "option " << option << " not offered in grid " << grid << " row " << row;
        rules.RecordChoice(grid, row, index);
        ASSERT_EQ(rules.Choice(grid, row), option);
    }

    // Chooses the given leading grid-1 options, then the first offered
    // option of each remaining row.
    void CompleteGrid1(std::initializer_list<int> leading)
    {
        int row = 0;
        for (int option : leading) {
            // The frequency of a direct-current design is set, not chosen.
            if (rules.HasPickList(G1, row))
                Choose(G1, row, option);
            ASSERT_EQ(rules.Choice(G1, row++), option);
        }
        for (; row < TSelectionRules::ParamRowCount; ++row)
            if (rules.Choice(G1, row) < 0 || rules.HasPickList(G1, row))
                Choose(G1, row, FirstOffered(G1, row));
    }

    void CompleteGrid2(std::initializer_list<int> leading)
    {
        int row = 0;
        for (int option : leading)
            Choose(G2, row++, option);
        for (; row < TSelectionRules::AccessoryRowCount; ++row)
            Choose(G2, row, FirstOffered(G2, row));
    }

    int FirstOffered(int grid, int row)
    {
        const QStringList items = rules.EditList(grid, row).value();
        const auto &list = grid == G1 ? ParamLists[row] : AccessoryLists[row];
        for (std::size_t i = 0; i < list.size(); ++i)
            if (QString::fromUtf8(list[i].Caption) == items.value(0))
                return int(i);
        return -1;
    }

    QStringList Offered(int grid, int row) { return rules.EditList(grid, row).value_or(QStringList{QStringLiteral("<kept>")}); }

    TSelectionRules rules;
    RecordingView view;
    QList<TModelCandidate> offered;
    int chooserCalls = 0;
    int chooserAnswer = 0;
};

} // namespace

TEST_F(SelectionRulesTest, ListsFollowTheChoicesAbove)
{
    EXPECT_EQ(Offered(G1, 0).size(), 31);
    EXPECT_TRUE(Offered(G1, 1).isEmpty());
    // Without a capacity there is no characteristic row: the grid keeps its list.
    Choose(G1, 0, 1);
    EXPECT_FALSE(rules.EditList(G1, 2).has_value());
    EXPECT_TRUE(view.label.isEmpty());

    const QStringList capacities = Offered(G1, 1);
    ASSERT_EQ(capacities.size(), 14);
    EXPECT_EQ(capacities.first(), Caption(G1, 1, 1));
    EXPECT_EQ(capacities.last(), Caption(G1, 1, 27));

    Choose(G1, 1, 1);
    EXPECT_EQ(Offered(G1, 2), (QStringList{QStringLiteral("2"), QStringLiteral("4")}));
    EXPECT_EQ(rules.TableId(), 1);
    EXPECT_EQ(view.label, QStringLiteral("1"));
    EXPECT_TRUE(Offered(G1, 3).isEmpty());
    EXPECT_TRUE(Offered(G1, 9).isEmpty());

    Choose(G1, 2, 0);
    EXPECT_EQ(Offered(G1, 3), (QStringList{Caption(G1, 3, 0), Caption(G1, 3, 2), Caption(G1, 3, 3), Caption(G1, 3, 4)}));
    Choose(G1, 3, 0);
    EXPECT_EQ(Offered(G1, 4), QStringList{Caption(G1, 4, 0)});
    Choose(G1, 4, 0);
    EXPECT_EQ(Offered(G1, 5).size(), 4);
    Choose(G1, 5, 0);
    Choose(G1, 7, 0);
    Choose(G1, 8, 0);
    // The undervoltage mask sets every bit; only the list's seven options show.
    EXPECT_EQ(Offered(G1, 10).size(), 7);
    EXPECT_EQ(Offered(G1, 9).size(), 6);
    Choose(G1, 9, 1);
    EXPECT_EQ(Offered(G1, 10), QStringList{Caption(G1, 10, 0)});
}

TEST_F(SelectionRulesTest, DirectCurrentDesignHasNoFrequency)
{
    Choose(G1, 0, 1);
    EXPECT_TRUE(rules.HasPickList(G1, 6));
    Choose(G1, 1, 1);
    EXPECT_FALSE(rules.HasPickList(G1, 6));
    EXPECT_EQ(rules.Choice(G1, 6), 3);
    EXPECT_TRUE(view.invalidated.contains(qMakePair(G1, 6)));
    Choose(G1, 2, 0);
    EXPECT_EQ(rules.Choice(G1, 6), 3);
    Choose(G1, 3, 0);
    Choose(G1, 4, 0);
    Choose(G1, 5, 0);
    EXPECT_EQ(rules.Choice(G1, 6), 3);
    EXPECT_EQ(rules.ChoiceCaption(G1, 6), Caption(G1, 6, 3));

    // An alternating-current capacity brings the drop-down back, unchosen.
    Choose(G1, 1, 7);
    EXPECT_TRUE(rules.HasPickList(G1, 6));
    EXPECT_EQ(rules.Choice(G1, 6), -1);
    EXPECT_TRUE(rules.HasPickList(G2, 0));
}

TEST_F(SelectionRulesTest, TableNumberOverrides)
{
    const struct {
        int current, capacity, poles, execution, tripType, subtype;
        int table;
    } cases[] = {
        {12, 7, 1, 0, 0, 0, 4},  {12, 7, 1, 1, 0, 0, 80}, {13, 7, 1, 1, 0, 0, 6},  {13, 0, 1, 1, 0, 0, 81},
        {13, 1, 1, 1, 0, 0, 7},  {16, 7, 1, 0, 0, 4, 9},  {16, 7, 1, 0, 0, 3, 8},  {16, 6, 1, 1, 0, 0, 82},
        {13, 6, 2, 1, 0, 0, 12}, {19, 5, 1, 1, 0, 0, 83}, {19, 2, 1, 1, 0, 0, 13}, {19, 7, 1, 0, 1, 6, 15},
        {19, 7, 1, 0, 0, 5, 15}, {19, 7, 1, 0, 0, 1, 16}, {19, 14, 1, 0, 1, 7, 24}, {19, 14, 1, 0, 0, 4, 24},
        {19, 14, 1, 0, 0, 0, 25},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "current " << c.current << ", capacity " << c.capacity << " -> " << c.table);
        rules.Reset();
        for (const auto &[row, option] : {std::pair{0, c.current}, {1, c.capacity}, {2, c.poles}, {3, c.execution}, {4, c.tripType}, {5, c.subtype}})
            Choose(G1, row, option);
        rules.EditList(G1, 6);
        EXPECT_EQ(rules.TableId(), c.table);
    }

    const char *const prefixes[] = {"4.1  (", "7.1  (", "10.1  (", "13.1  ("};
    for (const auto &[current, capacity, execution, table] : {std::tuple{12, 7, 1, 80}, {13, 0, 1, 81}, {16, 6, 1, 82}, {19, 5, 1, 83}}) {
        rules.Reset();
        Choose(G1, 0, current);
        Choose(G1, 1, capacity);
        Choose(G1, 2, 1);
        Choose(G1, 3, execution);
        rules.EditList(G1, 4);
        EXPECT_EQ(view.label, QString::fromUtf8(prefixes[table - 80]) + QString::number(table) + QStringLiteral(")"));
        EXPECT_EQ(rules.TableLabel(), view.label);
    }
}

TEST_F(SelectionRulesTest, RecordingAChoiceUnsetsWhatDependsOnIt)
{
    chooserAnswer = 2;
    CompleteGrid1({0, 7});
    EXPECT_FALSE(rules.SaveEnabled());
    CompleteGrid2({});
    EXPECT_TRUE(rules.SaveEnabled());
    EXPECT_TRUE(view.saveEnabled);
    EXPECT_EQ(view.saveChanges, 1);
    EXPECT_FALSE(rules.Description().isEmpty());

    // Re-choosing an accessory unsets the accessory rows below it only.
    view.invalidated.clear();
    Choose(G2, 1, 0);
    EXPECT_EQ(rules.Choice(G2, 0), 0);
    for (int row = 2; row < 5; ++row)
        EXPECT_EQ(rules.Choice(G2, row), -1);
    EXPECT_EQ(view.invalidated, (QList<QPair<int, int>>{{G2, 2}, {G2, 3}, {G2, 4}}));
    EXPECT_FALSE(rules.SaveEnabled());
    EXPECT_TRUE(rules.Description().isEmpty());
    EXPECT_EQ(view.restarts, 0);

    // A grid-1 choice unsets the rows below it and every accessory, and
    // restarts the accessory editor because choices were dropped.
    view.invalidated.clear();
    view.invalidatedGrids.clear();
    Choose(G1, 3, 1);
    for (int row = 4; row < 11; ++row)
        EXPECT_EQ(rules.Choice(G1, row), -1) << row;
    for (int row = 0; row < 5; ++row)
        EXPECT_EQ(rules.Choice(G2, row), -1) << row;
    EXPECT_EQ(view.invalidated.size(), 7);
    EXPECT_EQ(view.invalidatedGrids, QList<int>{G2});
    EXPECT_EQ(view.restarts, 1);

    // With no accessory left to drop, the accessory grid is only repainted.
    Choose(G1, 3, 0);
    EXPECT_EQ(view.invalidatedGrids.size(), 2);
    EXPECT_EQ(view.restarts, 1);

    // The accessory grid offers nothing while grid 1 is incomplete.
    EXPECT_TRUE(Offered(G2, 0).isEmpty());

    // A picked index outside the list built last changes nothing.
    rules.EditList(G1, 4);
    rules.RecordChoice(G1, 4, -1);
    rules.RecordChoice(G1, 4, 99);
    EXPECT_EQ(rules.Choice(G1, 4), -1);
}

TEST_F(SelectionRulesTest, ResetDisablesSavingAndForgetsEverything)
{
    CompleteGrid1({1, 1});
    CompleteGrid2({});
    ASSERT_TRUE(rules.SaveEnabled());
    rules.Reset();
    EXPECT_FALSE(rules.SaveEnabled());
    EXPECT_FALSE(view.saveEnabled);
    EXPECT_TRUE(view.label.isEmpty());
    EXPECT_EQ(rules.TableId(), -1);
    EXPECT_EQ(rules.ModelNo(), 0);
    EXPECT_TRUE(rules.Description().isEmpty());
    EXPECT_TRUE(rules.OrderCode().isEmpty());
    EXPECT_TRUE(rules.Composition().isEmpty());
    for (int row = 0; row < 11; ++row)
        EXPECT_TRUE(rules.ChoiceCaption(G1, row).isEmpty());
}

TEST_F(SelectionRulesTest, ModelIsAskedForOnlyWhenSeveralFit)
{
    // Table 1: one model, no question.
    CompleteGrid1({1, 1});
    CompleteGrid2({});
    EXPECT_EQ(chooserCalls, 0);
    EXPECT_EQ(rules.ModelNo(), 1);

    // Table 2 with 42 kA at 660 V/18 kA: two rows name one model each; the
    // candidates come in model order.
    rules.Reset();
    chooserAnswer = 4;
    CompleteGrid1({1, 7});
    CompleteGrid2({});
    EXPECT_EQ(chooserCalls, 1);
    ASSERT_EQ(offered.size(), 2);
    EXPECT_EQ(offered[0].Model, 2);
    EXPECT_EQ(offered[0].Name, QStringLiteral("ZMT100H"));
    EXPECT_EQ(offered[1].Model, 4);
    EXPECT_EQ(rules.ModelNo(), 4);
    EXPECT_EQ(rules.ModelCode(), QStringLiteral("T016H"));
    EXPECT_TRUE(rules.OrderCode().startsWith(QStringLiteral("T016H02B")));

    // Cancelling, or any answer that was not offered, leaves the model undetermined.
    for (int answer : {0, 17, -3, 300}) {
        chooserAnswer = answer;
        rules.BuildResults();
        EXPECT_EQ(rules.ModelNo(), 0) << answer;
        EXPECT_EQ(rules.Description(), QStringLiteral("Автоматический выключатель НЕ ОПРЕДЕЛЁН"));
        EXPECT_TRUE(rules.OrderCode().isEmpty());
        EXPECT_TRUE(rules.Composition().isEmpty());
        EXPECT_TRUE(rules.SaveEnabled());
    }
}

TEST_F(SelectionRulesTest, WorkedExample)
{
    CompleteGrid1({1, 1, 0, 0, 0, 0});
    CompleteGrid2({0, 0, 0, 0, 0});
    const int expected[] = {1, 1, 0, 0, 0, 0, 3, 0, 0, 0, 0};
    for (int row = 0; row < 11; ++row)
        ASSERT_EQ(rules.Choice(G1, row), expected[row]) << row;
    EXPECT_EQ(rules.OrderCode(), QStringLiteral("T010S02A1A00000A"));
    EXPECT_EQ(rules.Composition(), QStringList{QStringLiteral("Автоматический выключатель ZMT100S2PT4S0000000016CZ")});
    EXPECT_EQ(rules.Description(), QStringLiteral("Автоматический выключатель ZMT100S, номинальный ток - 16 А, номинальная предельная наибольшая отключающая способность (Icu), кА (действ.) - 25 кА при 125 В DС, 18 кА при 250 В DС, 2 полюса, стационарное исполнение (винтовые зажимы), термомагнитный расцепитель с фиксированными уставками защиты от токов перегрузки и короткого замыкания, температура компенсации 40/45 °С"));
}

TEST_F(SelectionRulesTest, DescriptionListsEveryChosenExtra)
{
    // 250 A, 42 kA AC, 3 poles, plug-in with base, fixed settings 40/45 °C,
    // 50/60 Hz, one auxiliary contact, no alarm, a 220 V AC shunt release;
    // terminal covers and a standard handle.
    chooserAnswer = 7;
    CompleteGrid1({19, 7, 1, 3, 0, 0, 2, 1, 0, 4});
    CompleteGrid2({1, 1});
    ASSERT_EQ(rules.ModelNo(), 7);
    const QString d = rules.Description();
    EXPECT_TRUE(d.contains(QStringLiteral("частота тока ") + Caption(G1, 6, 2) + QStringLiteral(", ")));
    EXPECT_TRUE(d.contains(QString::fromUtf8(AuxTexts[1]) + QStringLiteral("независимый расцепитель на номин. напряжение ") + Caption(G1, 9, 4)));
    EXPECT_FALSE(d.contains(QStringLiteral("расцепитель минимального напряжения на номин. напряжение ")));
    // The closing ", " of the last phrase is dropped.
    EXPECT_TRUE(d.endsWith(QStringLiteral("крышки выводов установлены, ") + QString::fromUtf8(StdHandleTexts[1]).chopped(2)));
    EXPECT_EQ(rules.OrderCode(), QStringLiteral("T025N20B3A10041B"));
    EXPECT_EQ(rules.Composition().first(), QStringLiteral("Автоматический выключатель ") + QStringLiteral("ZMT250N3PT4X10S2C00250CZ"));
}

TEST_F(SelectionRulesTest, DesignationLinesFollowTheirConditions)
{
    const auto keysFor = [&]() {
        QStringList lines = rules.Composition().mid(1);
        for (QString &line : lines)
            line = line.section(QLatin1Char(' '), -1);
        return lines;
    };

    // Screw terminals, nothing extra: no lines at all.
    CompleteGrid1({1, 1, 0, 0});
    CompleteGrid2({});
    EXPECT_EQ(rules.Composition().size(), 1);

    // Plug-in with base: the mounting base; with an auxiliary contact also
    // the connector of the auxiliary circuits.
    rules.Reset();
    CompleteGrid1({1, 1, 0, 3, 0, 0, 3, 1});
    CompleteGrid2({});
    EXPECT_EQ(keysFor(), (QStringList{QStringLiteral("BMZ-16"), QStringLiteral("PCZ-16/2")}));
    rules.Reset();
    CompleteGrid1({1, 1, 0, 3, 0, 0, 3, 0, 0, 0});
    CompleteGrid2({});
    EXPECT_EQ(keysFor(), QStringList{QStringLiteral("BMZ-16")});

    // Tunnel clamps of a three-pole breaker, and an undervoltage release.
    rules.Reset();
    chooserAnswer = 2;
    CompleteGrid1({1, 7, 1, 2, 0, 0, 2, 0, 0, 0, 4});
    CompleteGrid2({});
    EXPECT_EQ(keysFor(), (QStringList{QStringLiteral("UVZ-16-220A"), QStringLiteral("CTZ-16/3")}));

    // Terminal covers on a ZMR250 with a motor operator take the cover for
    // the motor-operated breaker; without the motor the plain one.
    rules.Reset();
    CompleteGrid1({19, 16, 1, 0});
    CompleteGrid2({1, 0, 0, 1, 0});
    ASSERT_EQ(rules.ModelNo(), 34);
    EXPECT_EQ(keysFor(), (QStringList{QStringLiteral("TCZ-R25/3M"), QStringLiteral("MOZ-R25-024D")}));
    Choose(G2, 3, 0);
    Choose(G2, 4, 1);
    EXPECT_EQ(keysFor(), (QStringList{QStringLiteral("TCZ-R25/3"), QStringLiteral("PLZ-R25")}));
    EXPECT_TRUE(rules.OrderCode().endsWith(QStringLiteral("1N")));
}

TEST_F(SelectionRulesTest, AccessoryRulesNarrowTheLists)
{
    // Table 1, plug-in: no terminal covers, and no motor operator.
    CompleteGrid1({1, 1, 0, 3});
    EXPECT_EQ(Offered(G2, 0), QStringList{Caption(G2, 0, 0)});
    Choose(G2, 0, 0);
    Choose(G2, 1, 0);
    Choose(G2, 2, 0);
    EXPECT_EQ(Offered(G2, 3), QStringList{Caption(G2, 3, 0)});

    // A standard handle excludes the remote handle, the motor and the padlock.
    rules.Reset();
    CompleteGrid1({1, 1, 0, 0});
    EXPECT_EQ(Offered(G2, 0).size(), 2);
    Choose(G2, 0, 0);
    Choose(G2, 1, 2);
    EXPECT_EQ(Offered(G2, 2), QStringList{Caption(G2, 2, 0)});
    Choose(G2, 2, 0);
    EXPECT_EQ(Offered(G2, 3), QStringList{Caption(G2, 3, 0)});
    Choose(G2, 1, 0);
    Choose(G2, 2, 0);
    EXPECT_EQ(Offered(G2, 3).size(), 4);

    // Tunnel clamps on table 2: no covers, no motor.
    rules.Reset();
    chooserAnswer = 2;
    CompleteGrid1({1, 7, 1, 2});
    EXPECT_EQ(Offered(G2, 0), QStringList{Caption(G2, 0, 0)});

    // 1600 A: only the remote handle of type S and the 220 V AC motor.
    rules.Reset();
    CompleteGrid1({30, 14});
    EXPECT_EQ(Offered(G2, 0), QStringList{Caption(G2, 0, 0)});
    Choose(G2, 0, 0);
    EXPECT_EQ(Offered(G2, 1), QStringList{Caption(G2, 1, 0)});
    Choose(G2, 1, 0);
    EXPECT_EQ(Offered(G2, 2).size(), 2);
    Choose(G2, 2, 0);
    EXPECT_EQ(Offered(G2, 3), (QStringList{Caption(G2, 3, 0), Caption(G2, 3, 4)}));
}

TEST_F(SelectionRulesTest, ElectronicTripLetters)
{
    const struct {
        std::initializer_list<int> leading;
        const char *letter;
        const char *head;
    } cases[] = {
        // 250 A, 42 kA AC, electronic subtype 6 at 50 and 60 Hz, subtype 7 at 60 Hz.
        {{19, 7, 1, 0, 1, 6, 0}, "G", "ESS0000X"},
        {{19, 7, 1, 0, 1, 6, 1}, "H", "ESS0000Y"},
        {{19, 7, 1, 0, 1, 7, 1}, "L", "EGS0000Y"},
        {{19, 7, 1, 0, 1, 7, 0}, "K", "EGS0000X"},
        // 1600 A: subtype 6 at 50/60 Hz.
        {{30, 14, 1, 1, 1, 6, 2}, "K", "ESB0000C"},
        // 250 A, 60 kA DC, subtype 6: no frequency, the subtype's first letter.
        {{19, 13, 1, 0, 1, 6}, "G", "ESS00000"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.letter);
        rules.Reset();
        chooserAnswer = 8;
        CompleteGrid1(c.leading);
        CompleteGrid2({});
        ASSERT_FALSE(rules.OrderCode().isEmpty());
        EXPECT_EQ(rules.OrderCode().mid(9, 1), QString::fromLatin1(c.letter));
        EXPECT_TRUE(rules.Composition().first().contains(QString::fromLatin1(c.head)));
    }
}
