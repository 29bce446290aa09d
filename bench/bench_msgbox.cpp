// A message box with a very long text: the time from the call until the box has painted itself
// (the goal is under half a second for 5 million characters) and, as the counter close_ms, the
// time from Esc until the call returns. Run under QT_QPA_PLATFORM=offscreen or on an X display.
#include "forms/msgbox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdint>

namespace {

using Clock = std::chrono::steady_clock;

enum Texture : std::int64_t {
    Lines80 = 0, // a line break after every 80 characters
    OneLine = 1, // words of six letters, no line break
    OneWord = 2, // no line break and no space
};

QString makeText(qsizetype length, std::int64_t texture) {
    QString text(length, QChar(u'ж'));
    QChar* p = text.data();
    for (qsizetype i = 0; i < length; ++i) {
        if (texture == Lines80 && i % 81 == 80)
            p[i] = u'\n';
        else if (texture == OneLine && i % 7 == 6)
            p[i] = u' ';
    }
    return text;
}

double msBetween(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

// range(0): text length in characters; range(1): texture.
void BM_ShowAndCloseLongMessage(benchmark::State& state) {
    const QString text = makeText(state.range(0), state.range(1));
    double closeMs = 0;
    for (auto _ : state) {
        Clock::time_point painted, escaped;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            if (!box) {
                state.SkipWithError("no message box");
                return;
            }
            box->repaint();
            painted = Clock::now();
            QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            escaped = Clock::now();
            QApplication::sendEvent(box, &esc);
        });
        const Clock::time_point start = Clock::now();
        forms::MsgBox(text.toStdU16String(), forms::vbOKCancel | forms::vbQuestion, u"Вопрос");
        const Clock::time_point returned = Clock::now();
        state.SetIterationTime(msBetween(start, painted) / 1000);
        closeMs += msBetween(escaped, returned);
    }
    state.counters["close_ms"] = benchmark::Counter(closeMs, benchmark::Counter::kAvgIterations);
}

} // namespace

BENCHMARK(BM_ShowAndCloseLongMessage)
    ->ArgsProduct({{1000, 100'000, 5'000'000}, {Lines80, OneLine, OneWord}})
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
