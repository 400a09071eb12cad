#pragma once

// The breaker catalogue: every constant table the questionnaire offers its
// choices from and derives its results from.  Nothing here is read from a
// file or ever changed.
//
// Texts are UTF-8.  Indexes are zero-based.  A mask is an unsigned integer
// whose bit i stands for option i of an option list; a set holds ordinal
// values 0..255.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

// A set of the ordinal values 0..255, stored as 32 bytes: bit i mod 8 of
// byte i div 8 stands for value i.
//
// Built from values and inclusive ranges: TByteSet{1, 6, {22, 25}} holds
// 1, 6, 22, 23, 24 and 25; TByteSet{{0, 11}} holds 0..11.
class TByteSet
{
public:
    struct Range {
        constexpr Range(int value) : first(value), last(value) {}
        constexpr Range(int from, int to) : first(from), last(to) {}
        int first;
        int last;
    };

    constexpr TByteSet() = default;
    constexpr TByteSet(std::initializer_list<Range> ranges)
    {
        for (const Range &r : ranges)
            for (int v = r.first; v <= r.last; ++v)
                Include(v);
    }

    // Values outside 0..255 (such as the unset choice -1) are in no set.
    constexpr bool Contains(int value) const
    {
        return value >= 0 && value < 256 && (m_bytes[value >> 3] >> (value & 7)) & 1;
    }
    constexpr void Include(int value)
    {
        if (value >= 0 && value < 256)
            m_bytes[value >> 3] |= std::uint8_t(1u << (value & 7));
    }
    constexpr bool IsEmpty() const
    {
        for (std::uint8_t b : m_bytes)
            if (b)
                return false;
        return true;
    }
    constexpr TByteSet &operator|=(const TByteSet &other)
    {
        for (std::size_t i = 0; i < m_bytes.size(); ++i)
            m_bytes[i] |= other.m_bytes[i];
        return *this;
    }
    constexpr bool operator==(const TByteSet &) const = default;

    const std::array<std::uint8_t, 32> &Bytes() const { return m_bytes; }

private:
    std::array<std::uint8_t, 32> m_bytes{};
};

// One option of an option list.  In the current list Mask is the mask of the
// capacity options offered with that current; in the capacity list it is 1 for
// a direct-current rating and 0 for an alternating-current one; 0 elsewhere.
struct TParamItem {
    const char *Caption;
    std::uint32_t Mask;
};

// Filtering data of grid 1 for the designs whose current and capacity choices
// the two sets hold.  Masks[r - 3][p] is the mask of options offered in grid-1
// row r (3..8) when option p is chosen in row r - 1.  ShtMasks and UvtMasks are
// indexed by the auxiliary-contact choice, then the alarm-contact choice.
struct TCharacteristicRow {
    TByteSet CurrentSet;
    TByteSet CapacitySet;
    std::uint16_t PolesMask;
    std::int8_t TableNumber;
    std::uint8_t Reserved;
    std::uint16_t Masks[6][8];
    std::uint16_t ShtMasks[5][3];
    std::uint16_t UvtMasks[5][3];

    constexpr std::uint16_t RowMask(int row, int choiceAbove) const { return Masks[row - 3][choiceAbove]; }
};

// Filtering data of grid 2 for the table numbers in TableSet and the
// executions in ExecutionSet (empty: any execution).  Masks[r - 1][p] is the
// mask offered in grid-2 row r (1..4) when option p is chosen in row r - 1.
struct TAccessoryRow {
    TByteSet TableSet;
    TByteSet ExecutionSet;
    std::uint16_t CoverMask;
    std::uint16_t Masks[4][8];

    constexpr std::uint16_t RowMask(int row, int choiceAbove) const { return Masks[row - 1][choiceAbove]; }
};

// Candidate models of one table number; an empty CapacitySet means any capacity.
struct TModelMatch {
    std::int32_t TableNumber;
    TByteSet CapacitySet;
    TByteSet ModelSet;
};

struct TModelName {
    const char *Name;
    const char *Code;
};

// One designation of the structural composition.  Text[0] is written into
// the composition; Text[1] is empty in every row.
struct TCodeItem {
    const char *Code;
    TByteSet Models;
    const char *Text[2];
};

extern const std::array<const char *, 11> ParamCaptions;
extern const std::array<const char *, 5> AccessoryCaptions;

extern const std::array<TParamItem, 31> CurrentOptions;
extern const std::array<TParamItem, 28> CapacityOptions;
extern const std::array<TParamItem, 3> PolesOptions;
extern const std::array<TParamItem, 5> ExecutionOptions;
extern const std::array<TParamItem, 2> TripTypeOptions;
extern const std::array<TParamItem, 8> TripSubtypeOptions;
extern const std::array<TParamItem, 4> FrequencyOptions;
extern const std::array<TParamItem, 5> AuxOptions;
extern const std::array<TParamItem, 3> AltOptions;
extern const std::array<TParamItem, 7> ShtOptions;
extern const std::array<TParamItem, 7> UvtOptions;
extern const std::array<TParamItem, 2> CoverOptions;
extern const std::array<TParamItem, 6> StdHandleOptions;
extern const std::array<TParamItem, 3> RemoteHandleOptions;
extern const std::array<TParamItem, 5> MotorOptions;
extern const std::array<TParamItem, 2> PadlockOptions;

// The option list of each grid-1 row (0..10) and grid-2 row (0..4).
extern const std::array<std::span<const TParamItem>, 11> ParamLists;
extern const std::array<std::span<const TParamItem>, 5> AccessoryLists;

extern const std::array<TCharacteristicRow, 75> CharacteristicTable;
extern const std::array<TAccessoryRow, 6> AccessoryTable;
extern const std::array<TModelMatch, 140> ModelMatchTable;
extern const std::array<TModelName, 46> ModelNames;

// Phrases of the description, by the choice of the row named.
extern const std::array<const char *, 5> ExecutionTexts;
extern const std::array<const char *, 8> TripSubtypeTexts;
extern const std::array<const char *, 5> AuxTexts;
extern const std::array<const char *, 3> AltTexts;
extern const std::array<const char *, 6> StdHandleTexts;
extern const std::array<const char *, 3> RemoteHandleTexts;

// Parts of the order code and of the composition head line.
inline constexpr std::string_view ExecutionDigits = "12534";
inline constexpr std::string_view TripUnitLetters = "ABCDEF";
// Letters G, H, K (subtype 6 at 50, 60, 50/60 Hz) and K, L (subtype 7 at 50,
// 60 Hz), read at 2 * (subtype - 6) + frequency option.
inline constexpr std::string_view ElectronicTripLetters = "GHKL";
extern const std::array<const char *, 31> CurrentCodes;
extern const std::array<const char *, 4> FrequencyCodes;
extern const std::array<const char *, 7> ShtCodes;
extern const std::array<const char *, 7> UvtCodes;

extern const std::array<TCodeItem, 294> CodeItems;

// The lines of the report's standard-delivery block.
extern const std::array<const char *, 6> StandardDeliveryLines;

// The index of the first CodeItems row whose Code equals code exactly and
// whose Models hold model; -1 when there is none.
int FindCodeItem(std::string_view code, int model);
