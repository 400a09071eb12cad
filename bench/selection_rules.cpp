// How fast the selection rules answer the grids: one questionnaire filled in
// the way a user fills it, and every design walked down to its frequency.

#include "app/SelectionRules.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int G1 = TSelectionRules::CharacteristicGrid;
constexpr int G2 = TSelectionRules::AccessoryGrid;

void PickFirst(TSelectionRules &rules, int grid, int row)
{
    if (!rules.HasPickList(grid, row))
        return;
    rules.EditList(grid, row);
    rules.RecordChoice(grid, row, 0);
}

void FillQuestionnaire(benchmark::State &state)
{
    TSelectionRules rules;
    rules.SetModelChooser([](const QList<TModelCandidate> &candidates) { return candidates.first().Model; });
    for (auto _ : state) {
        rules.Reset();
        for (int row = 0; row < TSelectionRules::ParamRowCount; ++row)
            PickFirst(rules, G1, row);
        for (int row = 0; row < TSelectionRules::AccessoryRowCount; ++row)
            PickFirst(rules, G2, row);
        benchmark::DoNotOptimize(rules.OrderCode());
    }
}
BENCHMARK(FillQuestionnaire);

long WalkDown(TSelectionRules &rules, int row)
{
    if (row == 7)
        return 1;
    if (!rules.HasPickList(G1, row))
        return WalkDown(rules, row + 1);
    const int count = int(rules.EditList(G1, row).value_or(QStringList()).size());
    long designs = 0;
    for (int i = 0; i < count; ++i) {
        rules.EditList(G1, row);
        rules.RecordChoice(G1, row, i);
        designs += WalkDown(rules, row + 1);
    }
    return designs;
}

void WalkDesignsToFrequency(benchmark::State &state)
{
    TSelectionRules rules;
    for (auto _ : state)
        benchmark::DoNotOptimize(WalkDown(rules, 0));
}
BENCHMARK(WalkDesignsToFrequency)->Unit(benchmark::kMillisecond);

} // namespace
