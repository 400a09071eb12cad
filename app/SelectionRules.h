#pragma once

// The questionnaire's choice state and the rules that narrow the breaker
// catalogue: which options each grid row offers, what a choice clears, the
// table number, the breaker model, and the three results (description, order
// code, structural composition).
//
// Grid 0 holds the eleven characteristic rows (1.1..1.11), grid 1 the five
// accessory rows (2.1..2.5).  The class owns no widgets; the main window hands
// it the grid events and shows what it reports through TSelectionView.

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

struct TModelCandidate {
    QString Name;
    int Model;
};

// What the rules ask of the window that shows them.
class TSelectionView
{
public:
    virtual ~TSelectionView() = default;

    // The value cell of one row shows a changed choice.
    virtual void InvalidateValue(int grid, int row) = 0;
    // Every row of a grid may show a changed choice.
    virtual void InvalidateGrid(int grid) = 0;
    // The accessory choices were dropped under an open editor: restart the
    // accessory grid's editing and give the characteristic grid the focus.
    virtual void RestartAccessoryEditing() = 0;
    virtual void TableLabelChanged(const QString &caption) = 0;
    virtual void SaveEnabledChanged(bool enabled) = 0;
    // Description, order code or composition changed.
    virtual void ResultsChanged() = 0;
};

class TSelectionRules
{
public:
    enum Grid { CharacteristicGrid = 0, AccessoryGrid = 1 };
    static constexpr int ParamRowCount = 11;
    static constexpr int AccessoryRowCount = 5;

    // Asks the user to pick one of several candidate models; answers the
    // chosen model number, or 0 when the user cancels.
    using ModelChooser = std::function<int(const QList<TModelCandidate> &)>;

    TSelectionRules();

    void SetView(TSelectionView *view) { m_view = view; }
    void SetModelChooser(ModelChooser chooser) { m_chooser = std::move(chooser); }

    // The chosen option index of a row, -1 when none is chosen.
    int Choice(int grid, int row) const;
    // The caption of the chosen option, empty when none is chosen.
    QString ChoiceCaption(int grid, int row) const;
    bool AllChosen(int grid) const;

    // The drop-down list of a value cell.  std::nullopt means the catalogue
    // has no row for the design: the grid keeps the list it has.
    std::optional<QStringList> EditList(int grid, int row);
    // False only for the frequency row of a direct-current design, which has
    // no drop-down.
    bool HasPickList(int grid, int row) const;
    // Records item pickedIndex of the list EditList built last; a negative or
    // unknown index changes nothing.
    void RecordChoice(int grid, int row, int pickedIndex);
    // Back to the start state: nothing chosen, no results, saving disabled.
    void Reset();

    // The characteristic row of the chosen current and capacity, or -1; sets
    // the table number and its label.
    int FindCharacteristicRow();
    static int FindAccessoryRow(int tableNumber, int execution);
    void DetermineModel();
    void BuildResults();
    void ClearResults();

    int TableId() const { return FTableId; }
    const QString &TableLabel() const { return m_tableLabel; }
    int ModelNo() const { return FModelNo; }
    const QString &ModelName() const { return FModelName; }
    const QString &ModelCode() const { return FModelCode; }
    const QList<TModelCandidate> &ModelList() const { return FModelList; }
    bool SaveEnabled() const { return m_saveEnabled; }

    const QString &Description() const { return m_description; }
    const QString &OrderCode() const { return m_orderCode; }
    // The composition as logical lines: the head line, then one line per
    // designation.
    const QStringList &Composition() const { return m_composition; }

private:
    std::int8_t &ChoiceRef(int grid, int row);
    std::optional<std::uint32_t> CharacteristicMask(int row);
    std::optional<std::uint32_t> AccessoryMask(int row);
    void UnsetAccessories();
    void UpdateSaveEnabled();
    void SetTableLabel(const QString &caption);
    QString BuildDescription() const;
    QString BuildOrderCode() const;
    QStringList BuildComposition() const;

    std::array<std::int8_t, ParamRowCount> FChoices;
    std::array<std::int8_t, AccessoryRowCount> FAccChoices;
    QStringList FEditItems;
    QList<TModelCandidate> FModelList;
    int FTableId = -1;
    int FModelNo = 0;
    QString FModelName;
    QString FModelCode;
    QString m_tableLabel;
    bool m_saveEnabled = false;
    QString m_description;
    QString m_orderCode;
    QStringList m_composition;
    TSelectionView *m_view = nullptr;
    ModelChooser m_chooser;
};
