// The runtime value paths that scripts and report expressions run for every
// evaluated value: variant arithmetic and comparison, conversions between
// variants and text, and Format.

#include "toolkit/core/FloatText.h"
#include "toolkit/core/Format.h"
#include "toolkit/core/FormatFloat.h"
#include "toolkit/core/SysUtils.h"
#include "toolkit/core/VariantOps.h"

#include <benchmark/benchmark.h>

namespace {

void VariantIntegerArithmetic(benchmark::State &state)
{
    Variant sum(0);
    const Variant step(3);
    for (auto _ : state) {
        sum = sum + step;
        sum = VarMod(sum, Variant(1000003));
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(VariantIntegerArithmetic);

void VariantMixedArithmetic(benchmark::State &state)
{
    const Variant price(Currency::FromScaled(123456));
    const Variant quantity("7");
    const Variant rate(0.18);
    for (auto _ : state) {
        Variant total = price * quantity;
        total = total + total * rate;
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(VariantMixedArithmetic);

void VariantStringConcatenation(benchmark::State &state)
{
    const Variant name("Выключатель");
    const Variant code(250);
    for (auto _ : state) {
        Variant text = name + Variant(" ") + Variant(VarToStr(code));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(VariantStringConcatenation);

void VariantComparison(benchmark::State &state)
{
    const Variant a(12.5);
    const Variant b(13);
    const Variant s("Автомат");
    const Variant t("Ёмкость");
    for (auto _ : state) {
        benchmark::DoNotOptimize(a < b);
        benchmark::DoNotOptimize(s < t);
    }
}
BENCHMARK(VariantComparison);

void VariantToText(benchmark::State &state)
{
    const Variant values[] = {Variant(42), Variant(1234.5678), Variant(Currency::FromScaled(15000)),
                              Variant::FromDate(46363.5), Variant(true)};
    for (auto _ : state)
        for (const Variant &v : values)
            benchmark::DoNotOptimize(VarToStr(v));
    state.SetItemsProcessed(state.iterations() * 5);
}
BENCHMARK(VariantToText);

void VariantFromText(benchmark::State &state)
{
    FormatSettings.DecimalSeparator = QLatin1Char('.');
    const Variant values[] = {Variant("42"), Variant("1234.5678"), Variant("$FF"), Variant("True")};
    for (auto _ : state) {
        benchmark::DoNotOptimize(values[0].AsInteger());
        benchmark::DoNotOptimize(values[1].AsDouble());
        benchmark::DoNotOptimize(values[2].AsInt64());
        benchmark::DoNotOptimize(values[3].AsBoolean());
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(VariantFromText);

void VariantArrayElements(benchmark::State &state)
{
    Variant array = VarArrayCreate({0, 99, 0, 9}, varVariant);
    for (auto _ : state) {
        for (int i = 0; i < 100; ++i)
            array.PutElement({i, i % 10}, Variant(i));
        Variant sum(0);
        for (int i = 0; i < 100; ++i)
            sum = sum + array.GetElement({i, i % 10});
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(VariantArrayElements);

void FormatMixedArguments(benchmark::State &state)
{
    for (auto _ : state) {
        QString text = Format(QStringLiteral("%s: %d шт. по %9.2f = %n"),
                              {"ZMT-250", 7, 1234.5, 8641.5});
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(FormatMixedArguments);

void FormatFloatPicture(benchmark::State &state)
{
    double value = 0.5;
    for (auto _ : state) {
        value += 1234.567;
        benchmark::DoNotOptimize(FormatFloat(QStringLiteral("#,##0.00;(#,##0.00);'-'"), value));
    }
}
BENCHMARK(FormatFloatPicture);

void FloatToStrGeneral(benchmark::State &state)
{
    double value = 0.1;
    for (auto _ : state) {
        value *= 1.0001;
        benchmark::DoNotOptimize(FloatToStr(value));
    }
}
BENCHMARK(FloatToStrGeneral);

} // namespace
