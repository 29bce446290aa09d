#include "forms/timer.h"
namespace forms {
Timer::Timer(QObject* parent, int ms, bool en) : QObject(parent), m_interval(ms), m_enabled(en) {}
void Timer::setInterval(int ms) {
    m_interval = ms;
}
void Timer::setEnabled(bool on) {
    m_enabled = on;
}
void Timer::fire() {
    if (m_enabled)
        emit tick();
}
void Timer::setManualMode(bool) {}
bool Timer::manualMode() {
    return false;
}
std::uint64_t Timer::totalTicks() {
    return 0;
}
void Timer::update() {}
void Timer::deliver() {}
} // namespace forms
