#include "forms/application.h"
#include "forms/clipboard.h"
#include "forms/error.h"
#include "forms/msgbox.h"
#include "forms/timer.h"
#include "forms/usercontrol.h"

#include <QClipboard>
#include <QMimeData>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <stdexcept>

using namespace forms;

namespace {

// Records which lifecycle handlers ran, in order.
struct Probe : UserControl {
    using UserControl::UserControl;
    QStringList log;
    void UserControl_InitProperties() override { log << "Init"; }
    void UserControl_ReadProperties(const PropertyBag& b) override {
        log << "Read " + toString(b.ReadProperty(QStringLiteral("Caption"), QString()));
    }
    void UserControl_WriteProperties(PropertyBag& b) override {
        log << "Write";
        b.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Выход"), QString());
    }
    void UserControl_Show() override { log << "Show"; }
    void UserControl_Resize() override {
        log << QStringLiteral("%1x%2").arg(ScaleWidth()).arg(ScaleHeight());
    }
};

} // namespace

class TestApplication : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_shown.clear();
        setMsgBoxPresenter([this](const MsgBoxRequest& r) {
            // Another error while the box is open (a repaint, a timer...) goes to the log.
            if ((m_shown << r).size() == 1)
                QTimer::singleShot(0, this, [] { throw RuntimeError(QStringLiteral("again")); });
            QCoreApplication::processEvents(); // the box's own loop
            return vbOK;
        });
    }

    void timerManualMode() {
        Timer::setManualMode(true);
        Timer t(nullptr, 15, true);
        QSignalSpy spy(&t, &Timer::tick);
        const auto before = Timer::totalTicks();
        QVERIFY(!t.isRunning());
        t.fire();
        t.setEnabled(false);
        t.fire(); // a disabled timer does not tick
        QCOMPARE(spy.count(), 1);
        QCOMPARE(Timer::totalTicks(), before + 1);
        Timer::setManualMode(false);
        t.setEnabled(true);
        QTRY_VERIFY(spy.count() >= 3); // a real timer ticks by itself
    }

    void userControlLifecycle() {
        QWidget window;
        Probe p(&window);
        p.InitNew();
        QVERIFY_THROWS_EXCEPTION(RuntimeError, p.InitNew()); // exactly one set-up
        QVERIFY_THROWS_EXCEPTION(RuntimeError, p.ReadFrom(PropertyBag()));
        p.placeTwips(990, 3510, 1695, 375);
        window.show();
        p.resize(120, 30);
        PropertyBag saved;
        p.WriteTo(saved);
        QCOMPARE(p.log, (QStringList{"Init", "113x25", "Show", "120x30", "Write"}));
        Probe stored;
        stored.ReadFrom(saved);
        QCOMPARE(stored.log, QStringList{"Read Выход"});
    }

    void handlerErrorIsShownAndProgramGoesOn_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("run-time error") << 0 << QStringLiteral("Ошибка: переполнение");
        QTest::newRow("std::exception") << 1 << QStringLiteral("index out of range");
        QTest::newRow("anything else") << 2 << QStringLiteral("Unknown run-time error");
    }

    void handlerErrorIsShownAndProgramGoesOn() {
        QFETCH(int, kind);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("again")));
        QTimer::singleShot(0, this, [kind] {
            kind == 0 ? throw RuntimeError(QStringLiteral("Ошибка: переполнение"))
            : kind == 1 ? throw std::out_of_range("index out of range")
                        : throw 42;
        });
        bool after = false;
        QTimer::singleShot(0, this, [&] { after = true; });
        QTRY_VERIFY(after);
        QCOMPARE(m_shown.size(), 1);
        QTEST(m_shown[0].prompt, "message");
        QCOMPARE(m_shown[0].style, int(vbCritical));
        QCOMPARE(m_shown[0].title, QStringLiteral("Alertwright"));
    }

    void clipboardRoundTripAndFailure() {
        const QString code = QStringLiteral("Select Case MsgBox (\"Текст\")\r\n\tCase 6 ' € 😀\r\n");
        QClipboard* cb = QGuiApplication::clipboard();
        ClipboardSetText(code);
        QCOMPARE(cb->text(), code);
        // Another program takes the clipboard the moment it changes: the caller hears of it.
        QMetaObject::Connection thief;
        thief = connect(cb, &QClipboard::dataChanged, this, [&] {
            disconnect(thief);
            auto* other = new QMimeData;
            other->setData(QStringLiteral("application/x-other"), "data");
            cb->setMimeData(other);
        });
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ClipboardSetText(QStringLiteral("code")));
        QVERIFY(!cb->mimeData()->hasText());
    }

private:
    QList<MsgBoxRequest> m_shown;
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    app.setApplicationName(QStringLiteral("Alertwright"));
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
