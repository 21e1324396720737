// How long the quiz takes for a new question and for a choose-and-check
// round, against the in-memory window model (no toolkit in the way).

#include "quiz/element_model.h"
#include "quiz/quiz.h"
#include "runtime/clock_random.h"

#include <benchmark/benchmark.h>

namespace {

void NewQuestion(benchmark::State& state)
{
    quiz::ElementModel window;
    runtime::ClockRandom random;
    quiz::Quiz quiz(window, random, runtime::NumberFormat{});
    quiz.Form_Load();
    for (auto _ : state) {
        quiz.Command1_Click(1);
        benchmark::DoNotOptimize(window.text2Text().data());
    }
}
BENCHMARK(NewQuestion);

void ChooseAndCheck(benchmark::State& state)
{
    quiz::ElementModel window;
    runtime::ClockRandom random;
    quiz::Quiz quiz(window, random, runtime::NumberFormat{",", "\u00A0", 3, "-", true});
    quiz.Form_Load();
    std::int16_t slot = 0;
    for (auto _ : state) {
        quiz.Option1_Click(slot);
        quiz.Command1_Click(0);
        benchmark::DoNotOptimize(window.text1Text(0).data());
        slot = static_cast<std::int16_t>((slot + 1) % 5);
    }
}
BENCHMARK(ChooseAndCheck);

} // namespace

BENCHMARK_MAIN();
