// Reading a stored form whose one control has many properties: the time per property should not
// grow with their number, up to the largest file the reader takes.
#include "forms/formfile.h"

#include <benchmark/benchmark.h>
#include <cstdint>

namespace {

// A form file with one control holding `count` properties of the stored kinds, or, for count 0,
// as many as fit in the largest form file.
std::string formWith(std::int64_t count) {
    std::string json = R"({"form": "frmBench", "controls": [{"name": "ctlMany", "class": )"
                       R"("Alertwright.kxButton", "left": 0, "top": 0, "width": 0, "height": 0, )"
                       R"("properties": {)";
    const std::string end = "}}]}";
    for (std::int64_t i = 0; count == 0 || i < count; ++i) {
        const std::string name = "\"Property" + std::to_string(i) + "\": ";
        const std::string value = i % 3 == 0   ? "{\"long\": " + std::to_string(i) + "}"
                                  : i % 3 == 1 ? "{\"string\": \"Проба\"}"
                                               : "{\"boolean\": true}";
        const std::string entry = (i ? ", " : "") + name + value;
        if (count == 0 && json.size() + entry.size() + end.size() > forms::maxFormFileSize)
            break;
        json += entry;
    }
    return json + end;
}

void BM_ReadControlProperties(benchmark::State& state) {
    const std::string json = formWith(state.range(0));
    int properties = 0;
    for (auto _ : state) {
        const forms::FormFile form = forms::parseFormFile(json, u"frmBench.json");
        properties = form.controls.front().properties.size();
        benchmark::DoNotOptimize(properties);
    }
    state.counters["properties"] = static_cast<double>(properties);
    state.counters["file_MiB"] = static_cast<double>(json.size()) / (1024 * 1024);
    state.counters["ns_per_property"] = benchmark::Counter(
        static_cast<double>(properties) * 1e-9,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

// Argument 0 is the largest file the reader admits.
BENCHMARK(BM_ReadControlProperties)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK_MAIN();
