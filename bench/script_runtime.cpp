// The script interpreter beside Lua 5.4 (lua5.4, installed by `make bench`)
// on its kernels, in the same run.  Each iteration compiles the kernel in a
// fresh script with the binding modules (as a report's script is made) and
// runs it, then runs the same kernel in Lua; both are timed in processor
// seconds (Lua by its own os.clock around the kernel, this process by
// CLOCK_PROCESS_CPUTIME_ID around Execute), so other work on the machine
// does not tilt the ratio.  A kernel reports the medians of both and their
// ratio ("lua_ratio"); the last benchmark prints every ratio and their
// geometric mean.  Without lua5.4 the ratios are left out.

#include "script/ScriptUnits.h"
#include "script/zqScript.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Units.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <deque>
#include <map>
#include <string>
#include <vector>

namespace {

struct Kernel {
    const char *name;
    const char *source;
    const char *lua;
    const char *language = "PascalScript";
};

// A million characters appended to a text nothing else shares, in each
// language: one at a time to a variable, two at a time in a chain
// (s := s + 'x' + 'y'), one at a time through a var parameter and to an
// element of an array.  The text grows in place.
const char *const luaAppends = R"(
local t0 = os.clock()
local parts = {}
for i = 1, 1000000 do
  parts[#parts + 1] = "x"
end
local s = table.concat(parts)
io.write(os.clock() - t0)
)";

// Each Lua kernel writes the processor seconds its work took.  The
// property of a host object is, in Lua, a field reached through the
// accessors of the object's metatable, as a host binding gives it.
const Kernel kernels[] = {
    {"WhileLoop", R"(
var i: Integer;
begin
  i := 0;
  while i < 3000000 do
    i := i + 1
end.
)",
     R"(
local t0 = os.clock()
local i = 0
while i < 3000000 do
  i = i + 1
end
io.write(os.clock() - t0)
)"},
    {"IntegerArithmetic", R"(
var i, n, m: Integer;
begin
  n := 1; m := 0;
  for i := 1 to 1000000 do begin
    n := (n * 31 + i) mod 1000003;
    m := (m + n div 7 - i shr 3) mod 65536
  end
end.
)",
     R"(
local t0 = os.clock()
local n, m = 1, 0
for i = 1, 1000000 do
  n = (n * 31 + i) % 1000003
  m = (m + n // 7 - (i >> 3)) % 65536
end
io.write(os.clock() - t0)
)"},
    {"Fib", R"(
var r: Integer;
function Fib(k: Integer): Integer;
begin
  if k < 2 then Result := k else Result := Fib(k - 1) + Fib(k - 2)
end;
begin
  r := Fib(25)
end.
)",
     R"(
local function fib(k) if k < 2 then return k else return fib(k - 1) + fib(k - 2) end end
local t0 = os.clock()
local r = fib(25)
io.write(os.clock() - t0)
)"},
    {"FloatMath", R"(
var i: Integer; x, y: Extended;
begin
  x := 0.5; y := 0;
  for i := 1 to 1000000 do begin
    x := x * 0.75 + i / 3.0;
    y := y + x * 1.5 - y / 7.0
  end
end.
)",
     R"(
local t0 = os.clock()
local x, y = 0.5, 0.0
for i = 1, 1000000 do
  x = x * 0.75 + i / 3.0
  y = y + x * 1.5 - y / 7.0
end
io.write(os.clock() - t0)
)"},
    {"FunctionCalls", R"(
var i, n: Integer;
function Add(a, b: Integer): Integer;
begin
  Result := a + b
end;
begin
  n := 0;
  for i := 1 to 300000 do
    n := Add(n, i) mod 1000
end.
)",
     R"(
local function add(a, b) return a + b end
local t0 = os.clock()
local n = 0
for i = 1, 300000 do
  n = add(n, i) % 1000
end
io.write(os.clock() - t0)
)"},
    {"ArrayAccess", R"(
var a: array[0..999] of Integer; i, j, s: Integer;
begin
  s := 0;
  for j := 1 to 300 do
    for i := 0 to 999 do begin
      a[i] := i + j;
      s := (s + a[i]) mod 1000000
    end
end.
)",
     R"(
local t0 = os.clock()
local a = {}
for i = 0, 999 do a[i] = 0 end
local s = 0
for j = 1, 300 do
  for i = 0, 999 do
    a[i] = i + j
    s = (s + a[i]) % 1000000
  end
end
io.write(os.clock() - t0)
)"},
    {"PropertyAccess", R"(
var c: TComponent; i: Integer;
begin
  c := TComponent.Create(nil);
  for i := 1 to 200000 do
    c.Tag := (c.Tag + i) mod 1000;
  c.Free
end.
)",
     R"(
local getters = {tag = function(o) return o._tag end}
local setters = {tag = function(o, v) o._tag = v end}
local class = {
  __index = function(o, name) return getters[name](o) end,
  __newindex = function(o, name, v) setters[name](o, v) end,
}
local c = setmetatable({_tag = 0}, class)
local t0 = os.clock()
for i = 1, 200000 do
  c.tag = (c.tag + i) % 1000
end
io.write(os.clock() - t0)
)"},
    {"StringBuilding", R"(
var i: Integer; s: String;
begin
  for i := 1 to 300000 do
    s := 'item' + IntToStr(i) + ';'
end.
)",
     R"(
local t0 = os.clock()
local s
for i = 1, 300000 do
  s = "item" .. i .. ";"
end
io.write(os.clock() - t0)
)"},
    {"MillionAppendsPascal", R"(
var i: Integer; s: String;
begin
  s := '';
  for i := 1 to 1000000 do
    s := s + 'x'
end.
)",
     luaAppends},
    {"MillionAppendsCpp", R"(
int i; string s;
{
  s = "";
  for (i = 1; i <= 1000000; i++)
    s = s + "x";
}
)",
     luaAppends, "C++Script"},
    {"MillionAppendsBasic", R"(
Dim s As String = ""
For i = 1 To 1000000
  s = s & "x"
Next
)",
     luaAppends, "BasicScript"},
    {"MillionAppendsJScript", R"(
var s = "";
for (var i = 1; i <= 1000000; i++)
  s += "x";
)",
     luaAppends, "JScript"},
    {"ChainAppendsPascal", R"(
var i: Integer; s: String;
begin
  s := '';
  for i := 1 to 500000 do
    s := s + 'x' + 'y'
end.
)",
     luaAppends},
    {"ChainAppendsCpp", R"(
int i; string s;
{
  s = "";
  for (i = 1; i <= 500000; i++)
    s = s + "x" + "y";
}
)",
     luaAppends, "C++Script"},
    {"ChainAppendsBasic", R"(
Dim s As String = ""
For i = 1 To 500000
  s = s & "x" & "y"
Next
)",
     luaAppends, "BasicScript"},
    {"ChainAppendsJScript", R"(
var s = "";
for (var i = 1; i <= 500000; i++)
  s = s + "x" + "y";
)",
     luaAppends, "JScript"},
    {"VarParameterAppendsPascal", R"(
var i: Integer; s: String;
procedure Add(var t: String);
begin
  t := t + 'x'
end;
begin
  s := '';
  for i := 1 to 1000000 do
    Add(s)
end.
)",
     luaAppends},
    {"VarParameterAppendsCpp", R"(
int i; string s;
void Add(string &t) { t = t + "x"; }
{
  s = "";
  for (i = 1; i <= 1000000; i++)
    Add(s);
}
)",
     luaAppends, "C++Script"},
    {"VarParameterAppendsBasic", R"(
Dim s As String = ""
Sub Add(ByRef t)
  t = t & "x"
End Sub
For i = 1 To 1000000
  Add(s)
Next
)",
     luaAppends, "BasicScript"},
    {"VarParameterAppendsJScript", R"(
var s = "";
function Add(&t) { t += "x"; }
for (var i = 1; i <= 1000000; i++)
  Add(s);
)",
     luaAppends, "JScript"},
    {"ElementAppendsPascal", R"(
var i: Integer; a: array[1..2] of String;
begin
  a[1] := '';
  for i := 1 to 1000000 do
    a[1] := a[1] + 'x'
end.
)",
     luaAppends},
    {"ElementAppendsCpp", R"(
int i; string a[2];
{
  a[1] = "";
  for (i = 1; i <= 1000000; i++)
    a[1] = a[1] + "x";
}
)",
     luaAppends, "C++Script"},
    {"ElementAppendsBasic", R"(
Dim a[2]
a[1] = ""
For i = 1 To 1000000
  a[1] = a[1] & "x"
Next
)",
     luaAppends, "BasicScript"},
    {"ElementAppendsJScript", R"(
var a[2];
a[1] = "";
for (var i = 1; i <= 1000000; i++)
  a[1] += "x";
)",
     luaAppends, "JScript"},
};

// Kernels run at a count and at four times it, to show how their time
// grows: COUNT in the script stands for the count.  A text is
// appended to through a var parameter and then directly by its variable,
// each time round; the direct append finds the text its own again after
// the call and grows it in place.  Lua appends as many characters, one at
// a time (luaAppends with its count changed).
struct ScaledKernel {
    const char *name;
    const char *source;
    const char *language;
};

constexpr int scaledCount = 100000;

const ScaledKernel scaledKernels[] = {
    {"VarParameterThenDirectPascal", R"(
var i: Integer; s: String;
procedure Add(var t: String); begin t := t + 'x' end;
begin
  s := '';
  for i := 1 to COUNT do
  begin
    Add(s);
    s := s + 'y'
  end
end.
)",
     "PascalScript"},
    {"VarParameterThenDirectCpp", R"(
int i; string s;
void Add(string &t) { t = t + "x"; }
{
  s = "";
  for (i = 1; i <= COUNT; i++) {
    Add(s);
    s = s + "y";
  }
}
)",
     "C++Script"},
    {"VarParameterThenDirectBasic", R"(
Dim s As String = ""
Sub Add(ByRef t)
  t = t & "x"
End Sub
For i = 1 To COUNT
  Add(s)
  s = s & "y"
Next
)",
     "BasicScript"},
    {"VarParameterThenDirectJScript", R"(
var s = "";
function Add(&t) { t += "x"; }
for (var i = 1; i <= COUNT; i++) {
  Add(s);
  s += "y";
}
)",
     "JScript"},
};

// Median ratio of each kernel run so far, by name.
std::map<std::string, double> &ratios()
{
    static std::map<std::string, double> all;
    return all;
}

// Median processor seconds of each kernel run so far, by name.
std::map<std::string, double> &scriptSeconds()
{
    static std::map<std::string, double> all;
    return all;
}

void startUnits()
{
    static const bool started = [] {
        RegisterScriptUnits();
        Units::InitializeAll();
        return true;
    }();
    (void)started;
}

double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Processor seconds Lua takes for the kernel, measured by Lua itself;
// negative when lua5.4 cannot be run.
double luaSeconds(const char *program)
{
    std::string command = "lua5.4 -e '";
    command += program;
    command += "' 2>/dev/null";
    FILE *pipe = popen(command.c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[64] = {};
    const size_t read = fread(buffer, 1, sizeof buffer - 1, pipe);
    const int status = pclose(pipe);
    return status == 0 && read > 0 ? std::atof(buffer) : -1;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void runKernel(benchmark::State &state, const Kernel &kernel)
{
    startUnits();
    std::vector<double> scriptTimes;
    std::vector<double> luaTimes;
    for (auto _ : state) {
        state.PauseTiming();
        TzqScript script;
        script.AddRTTIModules();
        script.SetSyntaxType(QString::fromUtf8(kernel.language));
        script.Lines()->SetText(QString::fromUtf8(kernel.source));
        state.ResumeTiming();
        if (!script.Compile()) {
            state.SkipWithError(qPrintable(script.ErrorMsg + QStringLiteral(" at ") + script.ErrorPos));
            return;
        }
        const double start = processorSeconds();
        script.Execute();
        scriptTimes.push_back(processorSeconds() - start);
        state.PauseTiming();
        luaTimes.push_back(luaSeconds(kernel.lua));
        state.ResumeTiming();
    }
    const double scriptMedian = median(scriptTimes);
    const double luaMedian = median(luaTimes);
    state.counters["script_ms"] = scriptMedian * 1e3;
    scriptSeconds()[kernel.name] = scriptMedian;
    if (luaMedian > 0) {
        state.counters["lua_ms"] = luaMedian * 1e3;
        state.counters["lua_ratio"] = scriptMedian / luaMedian;
        ratios()[kernel.name] = scriptMedian / luaMedian;
    }
}

// Prints the ratio of every kernel and their geometric mean.
void GeometricMeanAgainstLua(benchmark::State &state)
{
    for (auto _ : state) {
    }
    const auto &all = ratios();
    if (all.empty()) {
        state.SkipWithError("lua5.4 did not run");
        return;
    }
    double logSum = 0;
    std::printf("\n%-32s %10s\n", "kernel", "script/lua");
    for (const auto &[name, ratio] : all) {
        std::printf("%-32s %10.2f\n", name.c_str(), ratio);
        logSum += std::log(ratio);
    }
    const double mean = std::exp(logSum / double(all.size()));
    std::printf("%-32s %10.2f\n\n", "geometric mean", mean);
    state.counters["geometric_mean"] = mean;
}

// The name of a scaled kernel run at factor times its count.
std::string scaledName(const ScaledKernel &kernel, int factor)
{
    return std::string(kernel.name) + "X" + std::to_string(factor);
}

// Prints, for each scaled kernel, the time at four times the count over the
// time at the count: near 4 when the time grows with the count.
void GrowthAtFourTimesTheCount(benchmark::State &state)
{
    for (auto _ : state) {
    }
    const auto &seconds = scriptSeconds();
    std::printf("\n%-32s %10s %10s %10s\n", "kernel", "1x ms", "4x ms", "4x/1x");
    for (const ScaledKernel &kernel : scaledKernels) {
        const auto once = seconds.find(scaledName(kernel, 1));
        const auto four = seconds.find(scaledName(kernel, 4));
        if (once == seconds.end() || four == seconds.end() || once->second <= 0)
            continue;
        const double growth = four->second / once->second;
        std::printf("%-32s %10.1f %10.1f %10.2f\n", kernel.name, once->second * 1e3, four->second * 1e3, growth);
        state.counters[kernel.name] = growth;
    }
    std::printf("\n");
}

void registerKernel(const Kernel &kernel)
{
    benchmark::RegisterBenchmark((std::string(kernel.name) + "AgainstLua").c_str(),
                                 [&kernel](benchmark::State &state) { runKernel(state, kernel); })
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5);
}

const bool registered = [] {
    for (const Kernel &kernel : kernels)
        registerKernel(kernel);
    // The scaled kernels with COUNT written out, kept for the run.
    static std::deque<std::string> texts;
    static std::deque<Kernel> scaled;
    const auto withCount = [](const char *text, const std::string &count, int value) {
        std::string written = text;
        written.replace(written.find(count), count.size(), std::to_string(value));
        return texts.emplace_back(std::move(written)).c_str();
    };
    for (const ScaledKernel &kernel : scaledKernels) {
        for (const int factor : {1, 4}) {
            const int count = scaledCount * factor;
            texts.push_back(scaledName(kernel, factor));
            const char *name = texts.back().c_str();
            registerKernel(scaled.emplace_back(Kernel{name, withCount(kernel.source, "COUNT", count),
                                                      withCount(luaAppends, "1000000", 2 * count), kernel.language}));
        }
    }
    benchmark::RegisterBenchmark("GeometricMeanAgainstLua", GeometricMeanAgainstLua)->Iterations(1);
    benchmark::RegisterBenchmark("GrowthAtFourTimesTheCount", GrowthAtFourTimesTheCount)->Iterations(1);
    return true;
}();

} // namespace
