#pragma once

// Walks every design a user can reach through the selection rules: each
// option of each characteristic row in turn, the releases of rows 1.8 to
// 1.11 once for each characteristic row and frequency, and the accessory
// grid once for each table, execution, pole count and set of models.  On
// the way it checks what every walk relies on: no drop-down the user can
// open is empty, every design finds its characteristic row, accessory row
// and one or two models.  AtDesign is called for every design reached.

#include "app/ConstUnit.h"
#include "app/SelectionRules.h"

#include <gtest/gtest.h>

#include <functional>

#include <map>
#include <set>
#include <string>
#include <tuple>

class CatalogueWalk
{
public:
    static constexpr int G1 = TSelectionRules::CharacteristicGrid;
    static constexpr int G2 = TSelectionRules::AccessoryGrid;

    CatalogueWalk()
    {
        m_rules.SetModelChooser([this](const QList<TModelCandidate> &) { return m_answer; });
    }
    virtual ~CatalogueWalk() = default;
    CatalogueWalk(const CatalogueWalk &) = delete;
    CatalogueWalk &operator=(const CatalogueWalk &) = delete;

    void Run() { WalkGrid1(0); }

    int failures = 0;
    long designs = 0;
    std::set<int> tables;
    std::set<int> characteristicRows;
    std::set<std::string> missingKeys;

protected:
    // Both grids are chosen; models are the candidates the design has.
    virtual void AtDesign(const QList<int> &models) = 0;

    void Fail(const std::string &what)
    {
        if (++failures <= 20)
            ADD_FAILURE() << what << " at " << Context();
    }

    std::string Context() const
    {
        std::string s = "c=(";
        for (int row = 0; row < 11; ++row)
            s += std::to_string(m_rules.Choice(G1, row)) + (row < 10 ? "," : ")");
        s += " a=(";
        for (int row = 0; row < 5; ++row)
            s += std::to_string(m_rules.Choice(G2, row)) + (row < 4 ? "," : ")");
        return s + " table " + std::to_string(m_rules.TableId());
    }

    void Need(const std::string &key, int model)
    {
        if (FindCodeItem(key, model) < 0)
            missingKeys.insert(key);
    }

    // Builds the design's results once for each answer the model dialog
    // may get (each model that fits, then the dialog cancelled; with one
    // model the dialog does not open) and calls atAnswer with its index.
    void ForEachAnswer(const QList<int> &models, const std::function<void(int answer)> &atAnswer)
    {
        const int answers = models.size() > 1 ? int(models.size()) + 1 : 1;
        for (int answer = 0; answer < answers; ++answer) {
            m_answer = answer < models.size() ? models[answer] : 0;
            m_rules.BuildResults();
            atAnswer(answer);
        }
    }

    TSelectionRules m_rules;
    // The model the chooser answers when several fit.
    int m_answer = 0;

private:
    // What rows 1.8..1.11 allow for one characteristic row and frequency.
    struct Releases {
        std::set<int> undervoltage;
        bool internalAccessories = false;
    };

    int Open(int grid, int row)
    {
        const std::optional<QStringList> items = m_rules.EditList(grid, row);
        if (!items) {
            Fail("no catalogue row for the list of grid " + std::to_string(grid) + " row " + std::to_string(row));
            return 0;
        }
        if (items->isEmpty())
            Fail("empty list in grid " + std::to_string(grid) + " row " + std::to_string(row));
        return int(items->size());
    }

    void Pick(int grid, int row, int index)
    {
        m_rules.EditList(grid, row);
        m_rules.RecordChoice(grid, row, index);
    }

    void WalkGrid1(int row)
    {
        if (row == 7) {
            AtCharacteristics();
            return;
        }
        if (row == 6 && !m_rules.HasPickList(G1, 6)) {
            WalkGrid1(7);
            return;
        }
        const int count = Open(G1, row);
        for (int i = 0; i < count; ++i) {
            Pick(G1, row, i);
            WalkGrid1(row + 1);
        }
    }

    void WalkReleases(int row, Releases &found)
    {
        if (row == 11) {
            found.undervoltage.insert(m_rules.Choice(G1, 10));
            for (int r = 7; r <= 10; ++r)
                found.internalAccessories |= m_rules.Choice(G1, r) > 0;
            return;
        }
        const int count = Open(G1, row);
        for (int i = 0; i < count; ++i) {
            Pick(G1, row, i);
            WalkReleases(row + 1, found);
        }
    }

    // Rows 1.1..1.7 are chosen.
    void AtCharacteristics()
    {
        const int row = m_rules.FindCharacteristicRow();
        characteristicRows.insert(row);
        const int table = m_rules.TableId();
        tables.insert(table);
        const int poles = m_rules.Choice(G1, 2) + 2;
        const int execution = m_rules.Choice(G1, 3);
        const int subtype = m_rules.Choice(G1, 5);
        const int frequency = m_rules.Choice(G1, 6);

        // An electronic trip unit's frequency is one its subtype has a letter
        // for, or none at all on a direct-current rating.
        if (subtype >= 6 && frequency != 3 && !(2 * (subtype - 6) + frequency < 4 && (subtype == 6 || frequency < 2)))
            Fail("no order-code letter for the electronic trip unit");
        if (TSelectionRules::FindAccessoryRow(table, execution) < 0)
            Fail("no accessory row");

        m_rules.DetermineModel();
        QList<int> models;
        for (const TModelCandidate &c : m_rules.ModelList())
            models.append(c.Model);
        if (models.size() > 2)
            Fail("more than two models");
        if (models.contains(0))
            Fail("no model");

        const auto key = std::make_pair(row, frequency);
        auto releases = m_releases.find(key);
        if (releases == m_releases.end()) {
            releases = m_releases.emplace(key, Releases{}).first;
            WalkReleases(7, releases->second);
        } else {
            for (int r = 7; r <= 10; ++r)
                Pick(G1, r, 0);
        }

        for (int model : models) {
            for (int uvt : releases->second.undervoltage)
                if (uvt > 0)
                    Need("R" + std::to_string(uvt), model);
            if (execution == 3)
                Need("TDM", model);
            if (execution >= 3 && releases->second.internalAccessories)
                Need("B" + std::to_string(execution) + std::to_string(poles), model);
            if (execution == 2)
                Need("CTB" + std::to_string(poles), model);
        }

        // The accessory grid depends on the table, the execution and, for the
        // composition, the models and the pole count.
        if (m_accessoryKeys.insert({table, execution, poles, models}).second)
            WalkGrid2(0, models);
    }

    void WalkGrid2(int row, const QList<int> &models)
    {
        if (row == 5) {
            ++designs;
            AtDesign(models);
            return;
        }
        const int count = Open(G2, row);
        for (int i = 0; i < count; ++i) {
            Pick(G2, row, i);
            WalkGrid2(row + 1, models);
        }
    }

    std::map<std::pair<int, int>, Releases> m_releases;
    std::set<std::tuple<int, int, int, QList<int>>> m_accessoryKeys;
};
