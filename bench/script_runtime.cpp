// The script interpreter on two programs, each run beside the same program
// in Lua 5.4 (lua5.4, installed by `make bench`) in the same run: a loop of
// 1,000,000 iterations of integer arithmetic and string concatenation, and
// a recursive Fibonacci of 25.  Each reports the processor time per executed
// statement and the ratio of its processor time to Lua's ("lua_ratio");
// without lua5.4 the ratio is left out.

#include "script/ScriptUnits.h"
#include "script/zqScript.h"
#include "toolkit/classes/TStringList.h"
#include "toolkit/core/Units.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <string>

namespace {

const char *const loopProgram = R"(
var i, n: Integer; s, t: String;
begin
  t := 'x';
  for i := 1 to 1000000 do begin
    n := n + i * 2 mod 7;
    s := 'item' + t
  end
end.
)";

const char *const loopLua = R"(
local t0 = os.clock()
local n, s, t = 0, nil, "x"
for i = 1, 1000000 do
  n = n + i * 2 % 7
  s = "item" .. t
end
io.write(os.clock() - t0)
)";

const char *const fibProgram = R"(
var r: Integer;
function Fib(k: Integer): Integer;
begin
  if k < 2 then Result := k else Result := Fib(k - 1) + Fib(k - 2)
end;
begin
  r := Fib(25)
end.
)";

const char *const fibLua = R"(
local function fib(k) if k < 2 then return k else return fib(k - 1) + fib(k - 2) end end
local t0 = os.clock()
local r = fib(25)
io.write(os.clock() - t0)
)";

void startUnits()
{
    static const bool started = [] {
        RegisterScriptUnits();
        Units::InitializeAll();
        return true;
    }();
    (void)started;
}

// Processor seconds of this process, the measure Lua's os.clock gives too,
// so that other work on the machine does not tilt the ratio.
double processorSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Processor seconds Lua takes for the program, measured by Lua itself;
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

void runAgainstLua(benchmark::State &state, const char *program, const char *lua, double statements)
{
    startUnits();
    TzqScript script;
    script.AddType(QStringLiteral("Integer"), fvtInt);
    script.AddType(QStringLiteral("String"), fvtString);
    script.Lines()->SetText(QString::fromUtf8(program));
    if (!script.Compile()) {
        state.SkipWithError(qPrintable(script.ErrorMsg));
        return;
    }
    double scriptSeconds = 0;
    double luaTotal = 0;
    for (auto _ : state) {
        const double start = processorSeconds();
        script.Execute();
        scriptSeconds += processorSeconds() - start;
        state.PauseTiming();
        luaTotal += luaSeconds(lua);
        state.ResumeTiming();
    }
    const double runs = double(state.iterations());
    state.counters["ns_per_statement"] = scriptSeconds / runs / statements * 1e9;
    if (luaTotal > 0)
        state.counters["lua_ratio"] = scriptSeconds / luaTotal;
}

// Two statements an iteration.
void PascalLoopAgainstLua(benchmark::State &state)
{
    runAgainstLua(state, loopProgram, loopLua, 2e6);
}
BENCHMARK(PascalLoopAgainstLua)->Unit(benchmark::kMillisecond)->Iterations(3);

// 242,785 calls of one if and one assignment each.
void PascalFibAgainstLua(benchmark::State &state)
{
    runAgainstLua(state, fibProgram, fibLua, 2 * 242785.0);
}
BENCHMARK(PascalFibAgainstLua)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
