#include "forms/timer.h"

#include "forms/error.h"

#include <QSet>

namespace forms {

namespace {

bool g_manual = false;
std::uint64_t g_ticks = 0;

// Live timers, so that switching the mode reaches the ones already running.
QSet<Timer*>& timers() {
    static QSet<Timer*> set;
    return set;
}

} // namespace

Timer::Timer(QObject* parent, int intervalMs, bool enabled) : QObject(parent) {
    if (intervalMs < 0)
        throw RuntimeError(u"Invalid property value");
    m_interval = intervalMs;
    m_enabled = enabled;
    timers().insert(this);
    connect(&m_timer, &QTimer::timeout, this, &Timer::deliver);
    update();
}

Timer::~Timer() {
    timers().remove(this);
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
    return m_timer.isActive();
}

void Timer::update() {
    // Interval 0 means no ticks, as with the platform's timer control.
    const bool run = m_enabled && m_interval > 0 && !g_manual;
    if (!run) {
        m_timer.stop();
        return;
    }
    // A running timer keeps its rhythm when Enabled is set again; a new interval restarts it.
    if (!m_timer.isActive() || m_timer.interval() != m_interval)
        m_timer.start(m_interval);
}

void Timer::deliver() {
    ++g_ticks;
    emit tick();
}

} // namespace forms
