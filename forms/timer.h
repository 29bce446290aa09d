#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

namespace forms {

// The timer control: ticks every Interval ms while Enabled (Interval 0: no ticks). Enabled is true
// for a new timer, as for the platform's control.
class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent = nullptr, int intervalMs = 0, bool enabled = true);
    ~Timer() override;

    int Interval() const { return m_interval; }
    // Negative -> RuntimeError("Invalid property value"); 0 stops ticking (Enabled kept).
    void setInterval(int ms);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool on);

    // Delivers one tick now if Enabled (manual mode hook; works in either mode).
    void fire();

    // In manual mode no QTimer runs; Enabled is still tracked. Process-wide.
    static void setManualMode(bool on);
    static bool manualMode();
    // Every tick delivered by any timer since start.
    static std::uint64_t totalTicks();
    // Whether a real QTimer runs for this timer now (never in manual mode).
    bool isRunning() const;

signals:
    void tick();

private:
    void update();
    void deliver();

    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = false;
};

} // namespace forms
