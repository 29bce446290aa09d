#include "forms/cursor.h"
#include "forms/error.h"
#include "forms/events.h"
#include "forms/timer.h"

#include <QCursor>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using namespace forms;

class TestTimer : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { Timer::setManualMode(false); }
    void manualModeFiresOnlyByHand();
    void realTimerTicks();
    void intervalZeroNeverTicks();
    void switchingModeReachesRunningTimers();
    void handlerStopsItsOwnTimer();
    void badInterval();
    void cursorOverride();
    void doEventsRunsPendingWork();
};

void TestTimer::manualModeFiresOnlyByHand() {
    Timer::setManualMode(true);
    Timer t(nullptr, 15, true);
    QVERIFY(!t.isRunning());
    QSignalSpy spy(&t, &Timer::tick);
    const auto before = Timer::totalTicks();
    t.fire();
    t.fire();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(Timer::totalTicks(), before + 2);
    t.setEnabled(false);
    t.fire();
    QCOMPARE(spy.count(), 2);
    QCOMPARE(Timer::totalTicks(), before + 2);
    QVERIFY(!t.Enabled());
    t.setEnabled(true);
    QVERIFY(t.Enabled());
    QVERIFY(!t.isRunning());
}

void TestTimer::realTimerTicks() {
    Timer t(nullptr, 5, true);
    QVERIFY(t.isRunning());
    QSignalSpy spy(&t, &Timer::tick);
    const auto before = Timer::totalTicks();
    QTRY_VERIFY(spy.count() >= 2);
    QVERIFY(Timer::totalTicks() >= before + 2);
    t.setEnabled(false);
    QVERIFY(!t.isRunning());
    Timer defaults;
    QVERIFY(defaults.Enabled()); // a new timer is enabled, as the platform's control
    QCOMPARE(defaults.Interval(), 0);
}

void TestTimer::intervalZeroNeverTicks() {
    Timer t(nullptr, 0, true);
    QVERIFY(!t.isRunning());
    t.setInterval(15);
    QVERIFY(t.isRunning());
    t.setInterval(0);
    QVERIFY(!t.isRunning());
    QVERIFY(t.Enabled());
}

void TestTimer::switchingModeReachesRunningTimers() {
    Timer running(nullptr, 15, true);
    Timer stopped(nullptr, 15, false);
    Timer::setManualMode(true);
    QVERIFY(Timer::manualMode());
    QVERIFY(!running.isRunning());
    Timer::setManualMode(false);
    QVERIFY(running.isRunning());
    QVERIFY(!stopped.isRunning());
}

void TestTimer::handlerStopsItsOwnTimer() {
    // The hover timer's pattern: a tick that finds the pointer gone disables its own timer.
    Timer::setManualMode(true);
    Timer t(nullptr, 15, true);
    int ticks = 0;
    connect(&t, &Timer::tick, &t, [&] {
        ++ticks;
        t.setEnabled(false);
    });
    t.fire();
    t.fire();
    QCOMPARE(ticks, 1);
}

void TestTimer::badInterval() {
    Timer t(nullptr, 15, false);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, t.setInterval(-1));
    QCOMPARE(t.Interval(), 15);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, Timer(nullptr, -5));
}

void TestTimer::cursorOverride() {
    QWidget w;
    w.move(100, 50);
    w.resize(40, 30);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    const QPoint origin = w.mapToGlobal(QPoint(0, 0));
    setCursorPosOverride(origin + QPoint(7, 9));
    QCOMPARE(GetCursorPos(), origin + QPoint(7, 9));
    QCOMPARE(ScreenToClient(&w, GetCursorPos()), QPoint(7, 9));
    setCursorPosOverride(origin + QPoint(-3, 40));
    QCOMPARE(ScreenToClient(&w, GetCursorPos()), QPoint(-3, 40));
    setCursorPosOverride(std::nullopt);
    QCOMPARE(GetCursorPos(), QCursor::pos());
}

void TestTimer::doEventsRunsPendingWork() {
    bool ran = false;
    QMetaObject::invokeMethod(
        this, [&] { ran = true; }, Qt::QueuedConnection);
    QVERIFY(!ran);
    DoEvents();
    QVERIFY(ran);
}

QTEST_MAIN(TestTimer)
#include "tst_timer.moc"
