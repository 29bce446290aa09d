#include "forms/timer.h"

#include "forms/error.h"

#include <algorithm>
#include <vector>

namespace forms {

namespace {

bool g_manual = false;
std::uint64_t g_ticks = 0;

// Live timers, so that switching the mode reaches the ones already running.
std::vector<Timer*>& timers() {
    static std::vector<Timer*> list;
    return list;
}

} // namespace

Timer::Timer(int intervalMs, bool enabled) {
    if (intervalMs < 0)
        throw RuntimeError(u"Invalid property value");
    m_interval = intervalMs;
    m_enabled = enabled;
    m_peer = backend::createTimerPeer([this] { deliver(); });
    timers().push_back(this);
    update();
}

Timer::~Timer() {
    std::erase(timers(), this);
}

void Timer::setInterval(int ms) {
    if (ms < 0)
        throw RuntimeError(u"Invalid property value");
    m_interval = ms;
    update();
}

void Timer::setEnabled(bool on) {
    m_enabled = on;
    update();
}

void Timer::fire() {
    if (m_enabled)
        deliver();
}

void Timer::setManualMode(bool on) {
    g_manual = on;
    for (Timer* t : timers())
        t->update();
}

bool Timer::manualMode() {
    return g_manual;
}

std::uint64_t Timer::totalTicks() {
    return g_ticks;
}

bool Timer::isRunning() const {
    return m_peer->running();
}

void Timer::update() {
    // Interval 0 means no ticks, as with the platform's timer control.
    const bool run = m_enabled && m_interval > 0 && !g_manual;
    if (!run) {
        m_peer->stop();
        return;
    }
    // A running timer keeps its rhythm when Enabled is set again; a new interval restarts it.
    if (!m_peer->running() || m_peer->interval() != m_interval)
        m_peer->start(m_interval);
}

void Timer::deliver() {
    ++g_ticks;
    Tick();
}

} // namespace forms
