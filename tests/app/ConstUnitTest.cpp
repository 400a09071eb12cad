#include "app/ConstUnit.h"

#include <gtest/gtest.h>

#include <QString>

#include <cctype>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

// UTF-8 of the Cyrillic letters that look like Latin ones.
constexpr const char *CyrillicA = "\xD0\x90";
constexpr const char *CyrillicEs = "\xD0\xA1";
constexpr const char *CyrillicEm = "\xD0\x9C";
constexpr const char *CyrillicTe = "\xD0\xA2";

bool EndsWith(const char *text, const std::string &tail)
{
    const std::string s(text);
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::uint32_t MaskOf(std::initializer_list<TByteSet::Range> ranges)
{
    const TByteSet set(ranges);
    std::uint32_t mask = 0;
    for (int i = 0; i < 32; ++i)
        if (set.Contains(i))
            mask |= 1u << i;
    return mask;
}

} // namespace

TEST(ByteSet, HoldsValuesAndRangesAndNothingOutside)
{
    const TByteSet set{1, 6, {22, 25}, 255};
    for (int v : {1, 6, 22, 23, 24, 25, 255})
        EXPECT_TRUE(set.Contains(v)) << v;
    for (int v : {-1, 0, 2, 21, 26, 254, 256})
        EXPECT_FALSE(set.Contains(v)) << v;
    // Bit i mod 8 of byte i div 8.
    EXPECT_EQ(set.Bytes()[0], 0x42);
    EXPECT_EQ(set.Bytes()[31], 0x80);
    EXPECT_TRUE(TByteSet{}.IsEmpty());

    TByteSet joined{3};
    joined |= TByteSet{{40, 41}};
    EXPECT_EQ(joined, (TByteSet{3, 40, 41}));
}

TEST(Catalogue, TablesHaveTheirSizes)
{
    const std::size_t listSizes[] = {31, 28, 3, 5, 2, 8, 4, 5, 3, 7, 7};
    for (std::size_t row = 0; row < ParamLists.size(); ++row)
        EXPECT_EQ(ParamLists[row].size(), listSizes[row]) << "grid 1 row " << row;
    const std::size_t accessorySizes[] = {2, 6, 3, 5, 2};
    for (std::size_t row = 0; row < AccessoryLists.size(); ++row)
        EXPECT_EQ(AccessoryLists[row].size(), accessorySizes[row]) << "grid 2 row " << row;
    EXPECT_EQ(ParamCaptions.size(), 11u);
    EXPECT_EQ(AccessoryCaptions.size(), 5u);
    EXPECT_EQ(CharacteristicTable.size(), 75u);
    EXPECT_EQ(AccessoryTable.size(), 6u);
    EXPECT_EQ(ModelMatchTable.size(), 140u);
    EXPECT_EQ(ModelNames.size(), 46u);
    EXPECT_EQ(CodeItems.size(), 294u);
}

TEST(Catalogue, CaptionsKeepCyrillicLettersAndTrailingBlanks)
{
    for (const TParamItem &item : CurrentOptions)
        EXPECT_TRUE(EndsWith(item.Caption, std::string(" ") + CyrillicA)) << item.Caption;
    EXPECT_STREQ(CurrentOptions[0].Caption, "15 \xD0\x90");

    // "DС" and "АС": the C is Cyrillic in every capacity caption, the A too.
    const std::string dc = std::string("D") + CyrillicEs;
    const std::string ac = std::string(CyrillicA) + CyrillicEs;
    for (std::size_t i = 0; i < CapacityOptions.size(); ++i) {
        const std::string caption = CapacityOptions[i].Caption;
        const bool direct = CapacityOptions[i].Mask == 1;
        EXPECT_NE(caption.find(direct ? dc : ac), std::string::npos) << i;
        EXPECT_EQ(caption.find(" DC"), std::string::npos) << i;
        EXPECT_EQ(caption.find("AC"), std::string::npos) << i;
    }

    EXPECT_TRUE(EndsWith(AccessoryCaptions[3], std::string("(") + CyrillicEm + "\xD0\x9E" + CyrillicTe + ")"));

    EXPECT_TRUE(EndsWith(TripTypeOptions[0].Caption, "\xD1\x8B\xD0\xB9 "));
    EXPECT_TRUE(EndsWith(FrequencyOptions[1].Caption, "\xD0\x93\xD1\x86 "));
    for (int i : {0, 2, 3})
        EXPECT_FALSE(EndsWith(FrequencyOptions[i].Caption, " ")) << i;

    // The shunt and undervoltage lists are the same list; the voltage kinds of
    // the motor list are Latin, those of the release lists mixed as stored.
    for (std::size_t i = 0; i < ShtOptions.size(); ++i)
        EXPECT_STREQ(ShtOptions[i].Caption, UvtOptions[i].Caption);
    EXPECT_TRUE(EndsWith(ShtOptions[1].Caption, " DC"));
    EXPECT_TRUE(EndsWith(ShtOptions[3].Caption, ac));
    EXPECT_TRUE(EndsWith(MotorOptions[4].Caption, " AC"));

    // The stationary tunnel execution names its clamps with Cyrillic letters.
    EXPECT_TRUE(EndsWith(ExecutionOptions[2].Caption, std::string(CyrillicEs) + CyrillicTe + "\xD0\x92)"));
}

TEST(Catalogue, CaptionsWithinAListAreDistinctIgnoringCase)
{
    const auto check = [](std::span<const TParamItem> list, const char *name) {
        std::set<QString> seen;
        for (const TParamItem &item : list) {
            EXPECT_FALSE(QString::fromUtf8(item.Caption).isEmpty()) << name;
            EXPECT_TRUE(seen.insert(QString::fromUtf8(item.Caption).toCaseFolded()).second) << name << ": " << item.Caption;
        }
    };
    for (std::size_t row = 0; row < ParamLists.size(); ++row)
        check(ParamLists[row], ParamCaptions[row]);
    for (std::size_t row = 0; row < AccessoryLists.size(); ++row)
        check(AccessoryLists[row], AccessoryCaptions[row]);
}

TEST(Catalogue, CurrentMasksOfferCapacitiesByCurrentRange)
{
    const struct {
        int first, last;
        std::uint32_t mask;
    } ranges[] = {
        {0, 11, MaskOf({1, 6, 7, 8, 11, 13, 15, 16, 18, {22, 25}, 27})},
        {12, 18, MaskOf({0, 1, {5, 8}, 11, 13, 15, 16, 18, {22, 25}, 27})},
        {19, 19, MaskOf({{0, 2}, {4, 9}, {11, 16}, 18, 19, {22, 25}, 27})},
        {20, 22, MaskOf({0, 2, 4, 9, {12, 14}, 19})},
        {23, 23, MaskOf({0, 2, 4, 9, {12, 14}, 16, 18, 19, 25, 27})},
        {24, 24, MaskOf({3, 10, {12, 14}, 17, 20})},
        {25, 25, MaskOf({3, 10, {12, 14}, {16, 18}, 20, 25, 27})},
        {26, 27, MaskOf({3, 10, {12, 14}, 17, 20})},
        {28, 28, MaskOf({21, 26})},
        {29, 29, MaskOf({21})},
        {30, 30, MaskOf({14})},
    };
    for (const auto &r : ranges)
        for (int i = r.first; i <= r.last; ++i)
            EXPECT_EQ(CurrentOptions[i].Mask, r.mask) << "current option " << i;

    const TByteSet direct{0, 1, 3, 4, 6, 12, 13, 15, 22, 23, 24};
    for (std::size_t i = 0; i < CapacityOptions.size(); ++i)
        EXPECT_EQ(CapacityOptions[i].Mask, direct.Contains(int(i)) ? 1u : 0u) << i;
    for (std::size_t row = 2; row < ParamLists.size(); ++row)
        for (const TParamItem &item : ParamLists[row])
            EXPECT_EQ(item.Mask, 0u);
}

TEST(Catalogue, GivenCharacteristicRows)
{
    const TCharacteristicRow &r0 = CharacteristicTable[0];
    EXPECT_EQ(r0.CurrentSet, (TByteSet{{0, 11}}));
    EXPECT_EQ(r0.CapacitySet, (TByteSet{1}));
    EXPECT_EQ(r0.PolesMask, 0x5);
    EXPECT_EQ(r0.TableNumber, 1);
    EXPECT_EQ(r0.Reserved, 0);
    const std::uint16_t masks[6][8] = {
        {0x1D, 0x1D, 0x1D}, {0x1, 0x0, 0x1, 0x1, 0x1}, {0xF, 0x0}, {0x4, 0x4, 0x4, 0x4}, {0x7, 0x7, 0x7, 0x7}, {0x7, 0x3, 0x5},
    };
    EXPECT_EQ(0, std::memcmp(r0.Masks, masks, sizeof masks));
    const std::uint16_t sht[5][3] = {{0x7B, 0x7B, 0x1}, {0x7B, 0x7B, 0x0}, {0x1, 0x0, 0x1}};
    const std::uint16_t uvt[5][3] = {{0xFF, 0xFF, 0x1}, {0xFF, 0xFF, 0x0}, {0x1, 0x0, 0x1}};
    EXPECT_EQ(0, std::memcmp(r0.ShtMasks, sht, sizeof sht));
    EXPECT_EQ(0, std::memcmp(r0.UvtMasks, uvt, sizeof uvt));

    const TCharacteristicRow &r6 = CharacteristicTable[6];
    EXPECT_EQ(r6.CurrentSet, (TByteSet{12}));
    EXPECT_EQ(r6.CapacitySet, (TByteSet{7}));
    EXPECT_EQ(r6.PolesMask, 0x6);
    EXPECT_EQ(r6.TableNumber, 4);

    const TCharacteristicRow &r74 = CharacteristicTable[74];
    EXPECT_EQ(r74.CurrentSet, (TByteSet{30}));
    EXPECT_EQ(r74.CapacitySet, (TByteSet{14}));
    EXPECT_EQ(r74.PolesMask, 0x2);
    EXPECT_EQ(r74.TableNumber, 48);

    // Rows 0..5 serve 15..80 A, rows 72..74 serve 1000, 1250 and 1600 A; only
    // row 74 offers 50/60 Hz with trip subtype 6.
    for (int i = 0; i < 75; ++i) {
        const TCharacteristicRow &r = CharacteristicTable[i];
        EXPECT_EQ(i < 6, r.CurrentSet.Contains(0)) << i;
        EXPECT_EQ(i >= 72, r.CurrentSet.Contains(28) || r.CurrentSet.Contains(29) || r.CurrentSet.Contains(30)) << i;
        EXPECT_EQ(i == 74, (r.RowMask(6, 6) & 0x4) != 0) << i;
        EXPECT_EQ(r.Reserved, 0);
    }
}

TEST(Catalogue, StoredTableNumbers)
{
    std::set<int> stored;
    for (const TCharacteristicRow &r : CharacteristicTable)
        stored.insert(r.TableNumber);
    std::set<int> expected{1, 2, 3, 4, 5, 7, 8, 10, 11, 13, 16, 18, 19, 20, 21, 22};
    for (int t = 25; t <= 48; ++t)
        expected.insert(t);
    EXPECT_EQ(stored, expected);
}

TEST(Catalogue, AccessoryTableInFull)
{
    struct Row {
        TByteSet tables, executions;
        std::uint16_t cover;
        std::uint16_t masks[4][8];
    };
    const Row rows[] = {
        {{1, 3, 4, {6, 10}, 12, 13, {15, 37}, {80, 84}}, {}, 0x3,
         {{0x3F, 0x3F}, {0x7, 0x1, 0x1, 0x1, 0x1, 0x1}, {0xF, 0x1, 0x1}, {0x3, 0x1, 0x1, 0x1, 0x0}}},
        {{2, 5, 11, 14}, {2}, 0x1, {{0x3F, 0x3F}, {0x7, 0x1, 0x1, 0x1, 0x1, 0x1}, {0x1, 0x1, 0x1}, {0x3, 0x0, 0x0, 0x0, 0x0}}},
        {{2, 5, 11, 14}, {0, 1, 3}, 0x3, {{0x3F, 0x3F}, {0x7, 0x1, 0x1, 0x1, 0x1, 0x1}, {0xF, 0x1, 0x1}, {0x3, 0x1, 0x1, 0x1, 0x0}}},
        {{{38, 45}}, {}, 0x3, {{0xF, 0xF}, {0x3, 0x1, 0x1, 0x1, 0x1, 0x1}, {0xF, 0x1, 0x1}, {0x3, 0x1, 0x1, 0x1, 0x0}}},
        {{46, 47}, {}, 0x1, {{0x1, 0x0}, {0x1, 0x1, 0x1, 0x1, 0x1, 0x1}, {0xF, 0x1, 0x1}, {0x3, 0x1, 0x1, 0x1, 0x0}}},
        {{48}, {}, 0x1, {{0x1, 0x0}, {0x3, 0x1, 0x1, 0x1, 0x1, 0x1}, {0x11, 0x1, 0x1}, {0x1, 0x1, 0x1, 0x1, 0x1}}},
    };
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(AccessoryTable[i].TableSet, rows[i].tables) << i;
        EXPECT_EQ(AccessoryTable[i].ExecutionSet, rows[i].executions) << i;
        EXPECT_EQ(AccessoryTable[i].CoverMask, rows[i].cover) << i;
        EXPECT_EQ(0, std::memcmp(AccessoryTable[i].Masks, rows[i].masks, sizeof rows[i].masks)) << i;
    }
}

TEST(Catalogue, ModelMatchRows)
{
    const auto has = [](int table, const TByteSet &capacities, const TByteSet &models) {
        for (const TModelMatch &m : ModelMatchTable)
            if (m.TableNumber == table && m.CapacitySet == capacities && m.ModelSet == models)
                return true;
        return false;
    };
    EXPECT_TRUE(has(1, {}, {1}));
    EXPECT_TRUE(has(2, {6, 8}, {2}));
    EXPECT_TRUE(has(2, {11, 13}, {3}));
    EXPECT_TRUE(has(3, {15, 16}, {26}));
    EXPECT_TRUE(has(48, {14}, {25}));

    // Table 1 names model 1 alone; every table number has rows; at most two
    // models per table number and capacity.
    std::map<int, int> rowsPerTable;
    for (const TModelMatch &m : ModelMatchTable) {
        ++rowsPerTable[m.TableNumber];
        EXPECT_FALSE(m.ModelSet.IsEmpty());
        EXPECT_FALSE(m.ModelSet.Contains(0));
        for (int model = 46; model < 256; ++model)
            EXPECT_FALSE(m.ModelSet.Contains(model));
        if (m.TableNumber == 1) {
            EXPECT_EQ(m.ModelSet, (TByteSet{1}));
        }
    }
    for (int t = 1; t <= 84; t = t == 48 ? 80 : t + 1) {
        EXPECT_GT(rowsPerTable[t], 0) << "table " << t;
        for (int capacity = 0; capacity < 28; ++capacity) {
            TByteSet models;
            for (const TModelMatch &m : ModelMatchTable)
                if (m.TableNumber == t && (m.CapacitySet.IsEmpty() || m.CapacitySet.Contains(capacity)))
                    models |= m.ModelSet;
            int count = 0;
            for (int model = 0; model < 46; ++model)
                count += models.Contains(model);
            EXPECT_LE(count, 2) << "table " << t << ", capacity " << capacity;
        }
    }
    EXPECT_EQ(rowsPerTable.size(), 53u);
}

TEST(Catalogue, ModelNamesAndCodes)
{
    EXPECT_STREQ(ModelNames[0].Name, "\xD0\x9D\xD0\x95 \xD0\x9E\xD0\x9F\xD0\xA0\xD0\x95\xD0\x94\xD0\x95\xD0\x9B\xD0\x81\xD0\x9D");
    EXPECT_STREQ(ModelNames[0].Code, "00000");
    EXPECT_STREQ(ModelNames[25].Name, "ZMT1600S");
    EXPECT_STREQ(ModelNames[25].Code, "T160S");
    EXPECT_STREQ(ModelNames[45].Name, "ZMR630X");
    EXPECT_STREQ(ModelNames[45].Code, "R063X");
    // The code is the series letter, the frame current in tens of amperes and
    // the variant letter of the name.
    for (int m = 1; m < 46; ++m) {
        const QString name = QString::fromLatin1(ModelNames[m].Name);
        const QString code = QString::fromLatin1(ModelNames[m].Code);
        EXPECT_EQ(name.left(2), QStringLiteral("ZM")) << m;
        EXPECT_EQ(code.left(1), name.mid(2, 1)) << m;
        EXPECT_EQ(code.right(1), name.right(1)) << m;
        EXPECT_EQ(m <= 25, code.startsWith(QLatin1Char('T'))) << m;
        const int frame = name.mid(3, name.size() - 4).toInt();
        EXPECT_EQ(code.mid(1, 3).toInt(), frame / 10) << m;
    }
}

TEST(Catalogue, OrderCodeTables)
{
    for (std::size_t i = 0; i < CurrentOptions.size(); ++i) {
        const QString caption = QString::fromUtf8(CurrentOptions[i].Caption);
        EXPECT_EQ(QString::fromLatin1(CurrentCodes[i]), caption.section(QLatin1Char(' '), 0, 0).rightJustified(5, QLatin1Char('0')));
    }
    EXPECT_STREQ(CurrentCodes[30], "01600");
    // Subtype 6 at 50/60 Hz.
    EXPECT_EQ(ElectronicTripLetters[2 * 0 + 2], 'K');
}

TEST(Catalogue, CodeItemFamilies)
{
    const auto family = [](const std::string &code) {
        if (code[0] == 'B' && code.size() == 3)
            return std::string("B");
        std::string f = code;
        while (!f.empty() && (std::isdigit(static_cast<unsigned char>(f.back())) || f.back() == 'E'))
            f.pop_back();
        return f;
    };
    std::map<std::string, int> sizes;
    std::map<std::string, TByteSet> modelsOfKey;
    for (const TCodeItem &item : CodeItems) {
        ++sizes[family(item.Code)];
        EXPECT_NE(item.Text[0][0], '\0') << item.Code;
        EXPECT_STREQ(item.Text[1], "");
        EXPECT_FALSE(item.Models.Contains(0)) << item.Code;
        TByteSet &seen = modelsOfKey[item.Code];
        for (int m = 0; m < 256; ++m)
            EXPECT_FALSE(seen.Contains(m) && item.Models.Contains(m)) << item.Code << " model " << m;
        seen |= item.Models;
    }
    EXPECT_EQ(sizes["R"], 35);
    EXPECT_EQ(sizes["TDM"], 6);
    EXPECT_EQ(sizes["B"], 43);
    EXPECT_EQ(sizes["TCF"], 24);
    EXPECT_EQ(sizes["TFG"], 31);
    EXPECT_EQ(sizes["TFH"], 13);
    EXPECT_EQ(sizes["MOT"], 29);
    EXPECT_EQ(sizes["PLD"], 4);
    EXPECT_EQ(sizes["CTB"], 12);

    for (const char *key : {"B12", "B13", "B14", "B22", "B23", "B32", "B33", "TCF2", "TCF3", "TCF4", "TCF3E", "TCF2E", "TCF4E",
                            "R1", "R6", "TFG5", "TFH2", "MOT4", "PLD", "CTB3", "CTB4", "TDM"})
        EXPECT_TRUE(modelsOfKey.count(key)) << key;
}

TEST(Catalogue, FindCodeItemMatchesKeyExactlyAndModel)
{
    for (int m = 0; m < 256; ++m)
        EXPECT_EQ(FindCodeItem("R0", m), -1) << m;
    for (const TCodeItem &item : CodeItems)
        EXPECT_EQ(FindCodeItem(item.Code, 0), -1) << item.Code;

    const int index = FindCodeItem("TCF3", 1);
    ASSERT_GE(index, 0);
    EXPECT_STREQ(CodeItems[index].Code, "TCF3");
    EXPECT_TRUE(CodeItems[index].Models.Contains(1));
    // The first row of the key that holds the model, nothing looser.
    for (int i = 0; i < index; ++i)
        EXPECT_FALSE(std::strcmp(CodeItems[i].Code, "TCF3") == 0 && CodeItems[i].Models.Contains(1));
    EXPECT_EQ(FindCodeItem("tcf3", 1), -1);
    EXPECT_EQ(FindCodeItem("TCF", 1), -1);
    EXPECT_EQ(FindCodeItem("TCF3 ", 1), -1);
    EXPECT_EQ(FindCodeItem("TCF3", 46), -1);
}
