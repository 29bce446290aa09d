// Reading a stored form whose one control has many properties: the time per property should not
// grow with their number, up to the largest file the reader takes.
#include "forms/formfile.h"

#include <benchmark/benchmark.h>
#include <cstdint>

namespace {

constexpr qsizetype largestFormFile = 16 * 1024 * 1024;

// A form file with one control holding `count` properties of the stored kinds, or, for count 0,
// as many as fit in the largest form file.
QByteArray formWith(std::int64_t count) {
    QByteArray json = R"({"form": "frmBench", "controls": [{"name": "ctlMany", "class": )"
                      R"("Alertwright.kxButton", "left": 0, "top": 0, "width": 0, "height": 0, )"
                      R"("properties": {)";
    const QByteArray end = "}}]}";
    for (std::int64_t i = 0; count == 0 || i < count; ++i) {
        const QByteArray name = "\"Property" + QByteArray::number(i) + "\": ";
        const QByteArray value = i % 3 == 0   ? "{\"long\": " + QByteArray::number(i) + "}"
                                 : i % 3 == 1 ? QByteArray("{\"string\": \"Проба\"}")
                                              : QByteArray("{\"boolean\": true}");
        const QByteArray entry = (i ? ", " : "") + name + value;
        if (count == 0 && json.size() + entry.size() + end.size() > largestFormFile)
            break;
        json += entry;
    }
    return json + end;
}

void BM_ReadControlProperties(benchmark::State& state) {
    const QByteArray json = formWith(state.range(0));
    qsizetype properties = 0;
    for (auto _ : state) {
        const forms::FormFile form = forms::parseFormFile(json, QStringLiteral("frmBench.json"));
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
