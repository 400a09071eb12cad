#include "app/SelectionRules.h"

#include "app/ConstUnit.h"

#include <algorithm>
#include <span>

namespace {

constexpr int NoFrequency = 3;

// Table numbers whose breakers take neither terminal covers nor a motor
// operator together with a plug-in execution, and no motor operator together
// with terminal covers.
constexpr TByteSet SmallFrameTables{{1, 7}, {10, 14}, 21, 23};
// Table numbers whose breakers take no motor operator with terminal covers.
constexpr TByteSet CoversExcludeMotorTables{6, 12, 18, 19, 21, 22, 23, 26, 27, 29, 30, 32, 33, 35, 36, {81, 83}};
// Table numbers whose breakers take no motor operator with a plug-in execution.
constexpr TByteSet PlugInExcludesMotorTables{{38, 40}, 42, 43};
// Below this table number a fitted handle leaves no room for the accessories
// of the rows under it.
constexpr int FirstHandleFreeTable = 46;

QString Utf8(const char *text)
{
    return QString::fromUtf8(text);
}

QString Number(int value)
{
    return QString::number(value);
}

QString TwoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

std::span<const TParamItem> OptionList(int grid, int row)
{
    return grid == TSelectionRules::CharacteristicGrid ? ParamLists[row] : AccessoryLists[row];
}

bool IsDirectCurrent(int capacity)
{
    return capacity >= 0 && CapacityOptions[capacity].Mask == 1;
}

// The order-code letter of an electronic trip unit (subtype 6 or 7).  Subtype
// 6 owns the letters for 50, 60 and 50/60 Hz, subtype 7 those for 50 and 60 Hz.
// A frequency the subtype has no letter of its own for (none, on a
// direct-current rating; 50/60 Hz with subtype 7) takes the subtype's first
// letter, so the read never leaves the subtype's part of the table.
QChar ElectronicTripLetter(int subtype, int frequency)
{
    const int first = 2 * (subtype - 6);
    const int owned = subtype == 6 ? 3 : 2;
    const int slot = frequency >= 0 && frequency < owned ? frequency : 0;
    return QLatin1Char(ElectronicTripLetters[first + slot]);
}

} // namespace

TSelectionRules::TSelectionRules()
{
    FChoices.fill(-1);
    FAccChoices.fill(-1);
}

std::int8_t &TSelectionRules::ChoiceRef(int grid, int row)
{
    return grid == CharacteristicGrid ? FChoices[row] : FAccChoices[row];
}

int TSelectionRules::Choice(int grid, int row) const
{
    return grid == CharacteristicGrid ? FChoices[row] : FAccChoices[row];
}

QString TSelectionRules::ChoiceCaption(int grid, int row) const
{
    const int choice = Choice(grid, row);
    return choice < 0 ? QString() : Utf8(OptionList(grid, row)[choice].Caption);
}

bool TSelectionRules::AllChosen(int grid) const
{
    const auto unset = [](std::int8_t c) { return c < 0; };
    return grid == CharacteristicGrid ? std::none_of(FChoices.begin(), FChoices.end(), unset)
                                      : std::none_of(FAccChoices.begin(), FAccChoices.end(), unset);
}

std::optional<QStringList> TSelectionRules::EditList(int grid, int row)
{
    FEditItems.clear();
    const std::optional<std::uint32_t> mask = grid == CharacteristicGrid ? CharacteristicMask(row) : AccessoryMask(row);
    if (!mask)
        return std::nullopt;
    // Walk the options, not the mask: a mask may set bits past the list's end.
    const std::span<const TParamItem> options = OptionList(grid, row);
    for (std::size_t i = 0; i < options.size(); ++i)
        if (*mask >> i & 1)
            FEditItems.append(Utf8(options[i].Caption));
    return FEditItems;
}

std::optional<std::uint32_t> TSelectionRules::CharacteristicMask(int row)
{
    if (row == 0)
        return ~std::uint32_t(0);
    if (row == 1)
        return FChoices[0] < 0 ? 0 : CurrentOptions[FChoices[0]].Mask;

    const int index = FindCharacteristicRow();
    if (index < 0)
        return std::nullopt;
    const TCharacteristicRow &r = CharacteristicTable[index];
    if (row == 2)
        return r.PolesMask;
    if (row <= 8)
        return FChoices[row - 1] < 0 ? 0 : r.RowMask(row, FChoices[row - 1]);

    const int aux = FChoices[7];
    const int alarm = FChoices[8];
    if (row == 9)
        return aux < 0 || alarm < 0 ? 0 : r.ShtMasks[aux][alarm];
    const std::uint32_t uvt = aux < 0 || alarm < 0 ? 0 : r.UvtMasks[aux][alarm];
    return FChoices[9] > 0 ? 1 : uvt;
}

std::optional<std::uint32_t> TSelectionRules::AccessoryMask(int row)
{
    if (!AllChosen(CharacteristicGrid))
        return 0;
    if (FTableId == -1)
        FindCharacteristicRow();
    const int execution = FChoices[3];
    const int index = FindAccessoryRow(FTableId, execution);
    if (index < 0)
        return std::nullopt;
    const TAccessoryRow &acc = AccessoryTable[index];
    const int t = FTableId;
    const bool plugIn = execution >= 3;

    if (row == 0)
        return SmallFrameTables.Contains(t) && plugIn ? 1 : acc.CoverMask;

    const int above = FAccChoices[row - 1];
    if (above < 0)
        return 0;
    const bool covers = FAccChoices[0] > 0;
    const bool noneOnly = (t < FirstHandleFreeTable && FAccChoices[1] > 0 && row >= 2)
                       || (t < FirstHandleFreeTable && FAccChoices[2] > 0 && row >= 3)
                       || (row == 3 && SmallFrameTables.Contains(t) && (plugIn || covers))
                       || (row == 3 && CoversExcludeMotorTables.Contains(t) && covers)
                       || (row == 3 && PlugInExcludesMotorTables.Contains(t) && plugIn);
    return noneOnly ? 1 : acc.RowMask(row, above);
}

bool TSelectionRules::HasPickList(int grid, int row) const
{
    return !(grid == CharacteristicGrid && row == 6 && IsDirectCurrent(FChoices[1]));
}

void TSelectionRules::RecordChoice(int grid, int row, int pickedIndex)
{
    if (pickedIndex < 0 || pickedIndex >= FEditItems.size())
        return;
    const QString picked = FEditItems[pickedIndex];
    const std::span<const TParamItem> options = OptionList(grid, row);
    const auto match = std::find_if(options.begin(), options.end(), [&](const TParamItem &item) {
        return picked.compare(Utf8(item.Caption), Qt::CaseInsensitive) == 0;
    });
    if (match == options.end())
        return;

    ClearResults();
    ChoiceRef(grid, row) = std::int8_t(match - options.begin());
    const int rowCount = grid == CharacteristicGrid ? ParamRowCount : AccessoryRowCount;
    for (int later = row + 1; later < rowCount; ++later) {
        if (Choice(grid, later) < 0)
            continue;
        ChoiceRef(grid, later) = -1;
        if (m_view)
            m_view->InvalidateValue(grid, later);
    }
    if (grid == CharacteristicGrid) {
        if (IsDirectCurrent(FChoices[1])) {
            FChoices[6] = NoFrequency;
            if (m_view)
                m_view->InvalidateValue(grid, 6);
        }
        UnsetAccessories();
    }
    UpdateSaveEnabled();
    if (m_saveEnabled)
        BuildResults();
}

void TSelectionRules::UnsetAccessories()
{
    const bool anySet = std::any_of(FAccChoices.begin(), FAccChoices.end(), [](std::int8_t c) { return c >= 0; });
    FAccChoices.fill(-1);
    if (!m_view)
        return;
    m_view->InvalidateGrid(AccessoryGrid);
    if (anySet)
        m_view->RestartAccessoryEditing();
}

void TSelectionRules::UpdateSaveEnabled()
{
    const bool enabled = AllChosen(CharacteristicGrid) && AllChosen(AccessoryGrid);
    if (enabled == m_saveEnabled)
        return;
    m_saveEnabled = enabled;
    if (m_view)
        m_view->SaveEnabledChanged(enabled);
}

void TSelectionRules::SetTableLabel(const QString &caption)
{
    m_tableLabel = caption;
    if (m_view)
        m_view->TableLabelChanged(caption);
}

void TSelectionRules::Reset()
{
    FModelNo = 0;
    FModelName.clear();
    FModelCode.clear();
    FTableId = -1;
    FChoices.fill(-1);
    FAccChoices.fill(-1);
    ClearResults();
    SetTableLabel(QString());
    UpdateSaveEnabled();
}

int TSelectionRules::FindCharacteristicRow()
{
    const int current = FChoices[0];
    const int capacity = FChoices[1];
    const auto found = std::find_if(CharacteristicTable.begin(), CharacteristicTable.end(), [&](const TCharacteristicRow &r) {
        return r.CurrentSet.Contains(current) && r.CapacitySet.Contains(capacity);
    });
    if (found == CharacteristicTable.end())
        return -1;

    const int execution = FChoices[3];
    const int tripType = FChoices[4];
    const int subtype = FChoices[5];
    const bool extendedTerminals = execution == 1;
    const bool lowCapacity = capacity == 0 || capacity == 5;
    const bool adjustable = subtype == 4 || subtype == 5;
    int t = found->TableNumber;
    switch (t) {
    case 4: if (extendedTerminals) t = 80; break;
    case 5: if (extendedTerminals) t = 6; break;
    case 7: if (lowCapacity && extendedTerminals) t = 81; break;
    case 8: if (adjustable) t = 9; break;
    case 10: if (extendedTerminals) t = 82; break;
    case 11: if (extendedTerminals) t = 12; break;
    case 13: if (lowCapacity && extendedTerminals) t = 83; break;
    case 16: if (tripType == 1 || adjustable) t = 15; break;
    case 25: if (tripType == 1 || adjustable) t = 24; break;
    }
    FTableId = t;

    static const char *const variantPrefixes[] = {"4.1  (", "7.1  (", "10.1  (", "13.1  ("};
    SetTableLabel(t >= 80 && t <= 83 ? Utf8(variantPrefixes[t - 80]) + Number(t) + QStringLiteral(")") : Number(t));
    return int(found - CharacteristicTable.begin());
}

int TSelectionRules::FindAccessoryRow(int tableNumber, int execution)
{
    const auto found = std::find_if(AccessoryTable.begin(), AccessoryTable.end(), [&](const TAccessoryRow &r) {
        return r.TableSet.Contains(tableNumber) && (r.ExecutionSet.IsEmpty() || r.ExecutionSet.Contains(execution));
    });
    return found == AccessoryTable.end() ? -1 : int(found - AccessoryTable.begin());
}

void TSelectionRules::DetermineModel()
{
    FModelNo = 0;
    FModelName.clear();
    TByteSet candidates;
    for (const TModelMatch &match : ModelMatchTable)
        if (match.TableNumber == FTableId && (match.CapacitySet.IsEmpty() || match.CapacitySet.Contains(FChoices[1])))
            candidates |= match.ModelSet;
    if (candidates.IsEmpty())
        candidates.Include(0);

    FModelList.clear();
    for (int m = 0; m < int(ModelNames.size()); ++m)
        if (candidates.Contains(m))
            FModelList.append({Utf8(ModelNames[m].Name), m});

    if (FModelList.size() == 1) {
        FModelNo = FModelList.first().Model;
    } else {
        const int chosen = m_chooser ? m_chooser(FModelList) : 0;
        // Anything but one of the candidates counts as a cancel.
        const bool offered = std::any_of(FModelList.begin(), FModelList.end(), [&](const TModelCandidate &c) { return c.Model == chosen; });
        FModelNo = offered ? chosen : 0;
    }
    FModelName = Utf8(ModelNames[FModelNo].Name);
    FModelCode = Utf8(ModelNames[FModelNo].Code);
}

void TSelectionRules::BuildResults()
{
    m_description.clear();
    m_orderCode.clear();
    m_composition.clear();
    if (AllChosen(CharacteristicGrid) && AllChosen(AccessoryGrid)) {
        DetermineModel();
        if (FModelNo <= 0) {
            m_description = QStringLiteral("Автоматический выключатель НЕ ОПРЕДЕЛЁН");
        } else {
            m_description = BuildDescription();
            m_orderCode = BuildOrderCode();
            m_composition = BuildComposition();
        }
    }
    if (m_view)
        m_view->ResultsChanged();
}

void TSelectionRules::ClearResults()
{
    if (m_description.isEmpty() && m_orderCode.isEmpty() && m_composition.isEmpty())
        return;
    m_description.clear();
    m_orderCode.clear();
    m_composition.clear();
    if (m_view)
        m_view->ResultsChanged();
}

QString TSelectionRules::BuildDescription() const
{
    const auto &c = FChoices;
    const auto &a = FAccChoices;
    const QString separator = QStringLiteral(", ");
    const auto caption = [&](int row) { return ChoiceCaption(CharacteristicGrid, row); };

    QString d = QStringLiteral("Автоматический выключатель ") + FModelName + separator;
    d += QStringLiteral("номинальный ток - ") + caption(0) + separator;
    d += QStringLiteral("номинальная предельная наибольшая отключающая способность (Icu), кА (действ.) - ") + caption(1) + separator;
    d += caption(2) + QStringLiteral(" полюса, ");
    d += Utf8(ExecutionTexts[c[3]]) + separator;
    d += Utf8(TripSubtypeTexts[c[5]]) + separator;
    if (c[6] != NoFrequency)
        d += QStringLiteral("частота тока ") + caption(6) + separator;
    d += Utf8(AuxTexts[c[7]]) + Utf8(AltTexts[c[8]]);
    if (c[9] > 0)
        d += QStringLiteral("независимый расцепитель на номин. напряжение ") + caption(9) + separator;
    if (c[10] > 0)
        d += QStringLiteral("расцепитель минимального напряжения на номин. напряжение ") + caption(10) + separator;
    if (a[0] > 0)
        d += QStringLiteral("крышки выводов установлены, ");
    d += Utf8(StdHandleTexts[a[1]]) + Utf8(RemoteHandleTexts[a[2]]);
    if (a[3] > 0)
        d += QStringLiteral("электродвигательный привод установлен на номин. напряжение ") + ChoiceCaption(AccessoryGrid, 3) + separator;
    if (a[4] > 0)
        d += QStringLiteral("крепление для навесного замка установлено, ");
    d.chop(2);
    return d;
}

QString TSelectionRules::BuildOrderCode() const
{
    const auto &c = FChoices;
    const auto &a = FAccChoices;
    QString code = FModelCode + TwoDigits(c[0] + 1);
    code += QLatin1Char(char('A' + c[2]));
    code += QLatin1Char(ExecutionDigits[c[3]]);
    code += c[5] <= 5 ? QChar(QLatin1Char(TripUnitLetters[c[5]])) : ElectronicTripLetter(c[5], c[6]);
    code += Number(c[7]) + Number(c[8]);
    code += c[9] > 0 ? TwoDigits(c[9]) : c[10] > 0 ? TwoDigits(c[10] + 6) : QStringLiteral("00");
    code += Number(a[0]);
    char accessory = 'A';
    if (a[1] > 0)
        accessory = char('A' + a[1]);
    else if (a[2] > 0)
        accessory = char('F' + a[2]);
    else if (a[3] > 0)
        accessory = char('J' + a[3]);
    else if (a[4] > 0)
        accessory = 'N';
    code += QLatin1Char(accessory);
    return code;
}

QStringList TSelectionRules::BuildComposition() const
{
    const auto &c = FChoices;
    const auto &a = FAccChoices;
    const QString poles = Number(c[2] + 2);

    QString head = QStringLiteral("Автоматический выключатель ") + FModelName + poles + QStringLiteral("P");
    head += c[5] == 6 ? QStringLiteral("ES") : c[5] == 7 ? QStringLiteral("EG") : c[5] % 2 == 0 ? QStringLiteral("T4") : QStringLiteral("T5");
    head += c[3] == 1 ? QStringLiteral("B") : c[3] >= 3 ? QStringLiteral("X") : QStringLiteral("S");
    head += Number(c[7]) + Number(c[8]);
    head += Utf8(c[9] > 0 ? ShtCodes[c[9]] : c[10] > 0 ? UvtCodes[c[10]] : "00");
    head += Utf8(FrequencyCodes[c[6]]) + Utf8(CurrentCodes[c[0]]);
    if (c[5] == 2 || c[5] == 3)
        head += QStringLiteral("F");
    else if (c[5] == 4 || c[5] == 5)
        head += QStringLiteral("H");
    head += QStringLiteral("CZ");

    struct Designation {
        bool wanted;
        QString key;
        QString prefix;
    };
    const bool motorCovers = FModelNo >= 26 && FModelNo <= 37 && a[3] > 0;
    const bool internalAccessories = c[7] > 0 || c[8] > 0 || c[9] > 0 || c[10] > 0;
    const Designation designations[] = {
        {true, QStringLiteral("R") + Number(c[10]), QStringLiteral("Расцепитель минимального напряжения ")},
        {c[3] == 3, QStringLiteral("TDM"), QStringLiteral("Монтажное основание ")},
        {c[3] >= 3 && internalAccessories, QStringLiteral("B") + Number(c[3]) + poles, QString()},
        {a[0] == 1, QStringLiteral("TCF") + poles + (motorCovers ? QStringLiteral("E") : QString()), QStringLiteral("Крышки выводов ")},
        {a[1] > 0, QStringLiteral("TFG") + Number(a[1]), QStringLiteral("Стандартная рукоятка ")},
        {a[2] > 0, QStringLiteral("TFH") + Number(a[2]), QStringLiteral("Выносная рукоятка ")},
        {a[3] > 0, QStringLiteral("MOT") + Number(a[3]), QStringLiteral("Электродвигательный привод ")},
        {a[4] > 0, QStringLiteral("PLD"), QStringLiteral("Крепление для навесного замка ")},
        {c[3] == 2, QStringLiteral("CTB") + poles, QStringLiteral("Туннельные зажимы ")},
    };

    QStringList lines{head};
    for (const Designation &d : designations) {
        if (!d.wanted)
            continue;
        const QByteArray key = d.key.toLatin1();
        const int index = FindCodeItem(std::string_view(key.constData(), std::size_t(key.size())), FModelNo);
        if (index >= 0 && *CodeItems[index].Text[0])
            lines.append(d.prefix + Utf8(CodeItems[index].Text[0]));
    }
    return lines;
}
