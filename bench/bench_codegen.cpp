// The generator against a plain copy of a string as long as its output: it should stay within
// about three times the copy, and its time per byte should not grow with the input.
#include "codegen/messagecode.h"
#include "codegen/messagereader.h"

#include <benchmark/benchmark.h>
#include <cstdint>
#include <string>
#include <utility>

namespace {

enum Texture : std::int64_t {
    Lines80 = 0, // CR LF after every 80 characters
    Dense = 1,   // every other character a quotation mark or a line break
    Foreign = 2, // every third character one that code page 1251 lacks (a ChrW$ token)
};

std::u16string makeText(std::size_t length, std::int64_t texture) {
    std::u16string text;
    text.reserve(length);
    for (std::size_t i = 0; text.size() < length; ++i) {
        if (texture == Lines80)
            text += i % 81 == 80 ? u"\r\n" : u"ж";
        else if (texture == Foreign)
            text += i % 3 == 2 ? u"é" : u"ж";
        else
            text += i % 4 == 1 ? u"\"" : i % 4 == 3 ? u"\r\n" : u"a";
    }
    text.resize(length);
    return text;
}

codegen::MessageSpec message(std::u16string text) {
    return {u"Заголовок", std::move(text), 36, u"Да|Нет", u"67"};
}

bool accepted(const codegen::MessageSpec& msg) {
    try {
        codegen::buildMessageCode(msg);
        return true;
    } catch (const codegen::MessageTooLong&) {
        return false;
    }
}

// The longest text of the texture that buildMessageCode still takes, found by bisection.
std::size_t longestAccepted(std::int64_t texture) {
    std::size_t good = 0, bad = 1;
    while (accepted(message(makeText(bad, texture)))) {
        good = bad;
        bad *= 2;
    }
    while (bad - good > 1) {
        const std::size_t middle = good + (bad - good) / 2;
        (accepted(message(makeText(middle, texture))) ? good : bad) = middle;
    }
    return good;
}

// range(0): texture; range(1): share of the longest accepted text, in percent.
codegen::MessageSpec benchMessage(const benchmark::State& state) {
    const std::size_t longest = longestAccepted(state.range(0));
    return message(
        makeText(longest * static_cast<std::size_t>(state.range(1)) / 100, state.range(0)));
}

void copyOfSize(benchmark::State& state, std::size_t units) {
    const std::u16string source(units, u'ж');
    for (auto _ : state) {
        std::u16string copy(source);
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * units * 2));
    state.counters["out_units"] = static_cast<double>(units);
}

void BM_BuildMessageCode(benchmark::State& state) {
    const auto msg = benchMessage(state);
    std::size_t units = 0;
    for (auto _ : state) {
        const std::u16string code = codegen::buildMessageCode(msg);
        benchmark::DoNotOptimize(code.data());
        units = code.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * units * 2));
    state.counters["out_units"] = static_cast<double>(units);
}

void BM_CopyOfBuildOutput(benchmark::State& state) {
    copyOfSize(state, codegen::buildMessageCode(benchMessage(state)).size());
}

// A message far too long is refused after looking at 25 lines' worth of it, whatever its size.
void BM_BuildMessageCodeRefusal(benchmark::State& state) {
    const auto msg = message(makeText(static_cast<std::size_t>(state.range(0)) / 2, Lines80));
    for (auto _ : state)
        benchmark::DoNotOptimize(accepted(msg));
}

// range(0): text size in bytes of UTF-16; range(1): texture.
void BM_EscapeLineBreaks(benchmark::State& state) {
    const std::u16string text =
        makeText(static_cast<std::size_t>(state.range(0)) / 2, state.range(1));
    std::size_t units = 0;
    for (auto _ : state) {
        const std::u16string escaped = codegen::escapeLineBreaks(text);
        benchmark::DoNotOptimize(escaped.data());
        units = escaped.size();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * units * 2));
    state.counters["out_units"] = static_cast<double>(units);
}

void BM_CopyOfEscapeOutput(benchmark::State& state) {
    const std::u16string text =
        makeText(static_cast<std::size_t>(state.range(0)) / 2, state.range(1));
    copyOfSize(state, codegen::escapeLineBreaks(text).size());
}

constexpr std::int64_t MiB = 1 << 20;

// 64 MiB is the size that counts; the others show the growth (256 MiB: well past the caches).
void escapeSizes(benchmark::internal::Benchmark* b) {
    for (const std::int64_t size : {MiB, 16 * MiB, 64 * MiB, 256 * MiB})
        b->Args({size, Lines80});
    b->Args({64 * MiB, Dense});
}

// Reading back the code of the longest accepted message; range(0): texture, range(1): 100.
void BM_ReadMessageCode(benchmark::State& state) {
    const std::u16string code = codegen::buildMessageCode(benchMessage(state));
    for (auto _ : state)
        benchmark::DoNotOptimize(codegen::readMessageCode(code).has_value());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * code.size() * 2));
}

// The largest module alertwright-gen --read takes (16 MiB of UTF-8, here as many UTF-16 units)
// of other statements, comments and strings, with the MsgBox call on its last line.
std::u16string longModule() {
    std::u16string code;
    while (code.size() < (std::size_t{1} << 24))
        code += u"  s = s & \"Строка, \"\"в кавычках\"\"\" & vbCrLf ' и комментарий\r\n";
    return code + u"MsgBox s, vbYesNo + vbQuestion, \"Заголовок\"";
}

void BM_ReadLongModule(benchmark::State& state) {
    const std::u16string code = longModule();
    for (auto _ : state)
        benchmark::DoNotOptimize(codegen::readMessageCode(code).has_value());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * code.size() * 2));
}

void BM_CopyOfLongModule(benchmark::State& state) {
    copyOfSize(state, longModule().size());
}

} // namespace

BENCHMARK(BM_ReadMessageCode)->ArgsProduct({{Lines80, Dense, Foreign}, {100}});
BENCHMARK(BM_ReadLongModule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyOfLongModule)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildMessageCode)->ArgsProduct({{Lines80, Dense, Foreign}, {25, 50, 100}});
BENCHMARK(BM_CopyOfBuildOutput)->ArgsProduct({{Lines80, Dense, Foreign}, {25, 50, 100}});
BENCHMARK(BM_BuildMessageCodeRefusal)->Arg(MiB)->Arg(64 * MiB);
BENCHMARK(BM_EscapeLineBreaks)->Apply(escapeSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyOfEscapeOutput)->Apply(escapeSizes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
