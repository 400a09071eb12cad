// The sorted string list behind script name tables: Add keeps the order,
// Find is a binary search with case-insensitive (Cyrillic-aware) comparison.
// Objects made and freed a page's worth at a time, with many others alive,
// as a report's pages are rebuilt.

#include "toolkit/classes/ObjectHandles.h"
#include "toolkit/classes/TList.h"
#include "toolkit/classes/TStringList.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// Distinct names in scattered order, half of them Cyrillic.
QStringList names(int count)
{
    QStringList result;
    for (int i = 0; i < count; ++i) {
        const int key = int((i * 7919LL) % 1000003);
        result += (i % 2 ? QStringLiteral("Переменная%1") : QStringLiteral("Variable%1")).arg(key);
    }
    return result;
}

void StringListSortedAdd(benchmark::State &state)
{
    const QStringList items = names(int(state.range(0)));
    for (auto _ : state) {
        TStringList list;
        list.SetSorted(true);
        list.SetDuplicates(dupAccept);
        for (const QString &s : items)
            list.Add(s);
        benchmark::DoNotOptimize(list.Count());
    }
    state.SetItemsProcessed(state.iterations() * items.size());
}
BENCHMARK(StringListSortedAdd)->Range(64, 16384);

void StringListSortedFind(benchmark::State &state)
{
    const QStringList items = names(int(state.range(0)));
    TStringList list;
    list.SetSorted(true);
    for (const QString &s : items)
        list.Add(s);
    // Looked up in another case, as script names often are.
    QStringList keys;
    for (const QString &s : items)
        keys += s.toUpper();
    qsizetype next = 0;
    for (auto _ : state) {
        int index;
        benchmark::DoNotOptimize(list.Find(keys[next], index));
        next = (next + 1) % keys.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(StringListSortedFind)->Range(64, 16384);

// Each iteration makes and frees range(0) objects while range(1) others
// stay alive, and asks one generation per object as a list does.
void ObjectsMadeAndFreed(benchmark::State &state)
{
    std::vector<std::unique_ptr<TList>> alive(std::size_t(state.range(1)));
    for (auto &object : alive)
        object = std::make_unique<TList>();
    std::vector<TList *> made(std::size_t(state.range(0)));
    for (auto _ : state) {
        for (TList *&object : made)
            object = new TList;
        for (TList *object : made)
            benchmark::DoNotOptimize(ObjectHandleRegistry::Generation(object));
        for (TList *object : made)
            delete object;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(ObjectsMadeAndFreed)->Args({2000, 0})->Args({2000, 100000});

} // namespace
