// Tokenising and listing a 40 KB BASIC program (the largest a Spectrum
// holds with room to run). Target: tokenising takes at most 20 ms.
#include "basic_text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

// A program of mixed lines, about 40 KB once tokenised.
std::string programText()
{
    static const char* const kLines[] = {
        "PRINT AT 10,5; INK 2; PAPER 7; \"SCORE: \"; score; TAB 20; \"\\a\\b\\::\"",
        "IF x>=31 OR y<=0 THEN LET dx=-dx: BEEP .05,20: GO SUB 9000",
        "FOR n=1 TO 255 STEP 2.5: POKE 23296+n, PEEK (30000+n): NEXT n",
        "DEF FN r(a,b)=INT (RND*(b-a+1))+a: LET k=FN r(1,6)*1.5E3",
        "DATA 255,129,189,165,165,189,129,255,\"\\{16}\\{2}RED\",0.125,BIN 10101010",
        "REM the main loop: PRINT \"this stays a comment\" GO TO 10",
        "LET a$=\"GO TO 100\"+CHR$ 13+STR$ 3.14159: RANDOMIZE USR 32768",
    };
    std::string text;
    int line = 10;
    size_t k = 0;
    while (text.size() < 36000) {
        text += std::to_string(line) + " " + kLines[k++ % std::size(kLines)] + "\n";
        line += 5;
    }
    return text;
}

void BM_Tokenise40K(benchmark::State& state)
{
    const std::string text = programText();
    size_t bytes = 0;
    for (auto _ : state) {
        const basic::Program p = basic::tokenise(text);
        bytes = p.lines.size();
        benchmark::DoNotOptimize(p.lines.data());
    }
    state.counters["program_bytes"] = double(bytes);
}
BENCHMARK(BM_Tokenise40K)->Unit(benchmark::kMillisecond);

void BM_List40K(benchmark::State& state)
{
    const basic::Program p = basic::tokenise(programText());
    for (auto _ : state)
        benchmark::DoNotOptimize(basic::listProgram(p));
    state.counters["program_bytes"] = double(p.lines.size());
}
BENCHMARK(BM_List40K)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
