#include "forms/application.h"
#include "forms/clipboard.h"
#include "forms/formfile.h"
#include "forms/msgbox.h"
#include "forms/timer.h"
#include "forms/usercontrol.h"

#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <stdexcept>

using namespace forms;

Q_DECLARE_METATYPE(std::function<void()>)

namespace {

// Records which lifecycle handlers ran, in order.
struct Probe : UserControl {
    using UserControl::UserControl;
    QStringList log;
    void UserControl_InitProperties() override { log << "Init"; }
    void UserControl_ReadProperties(const PropertyBag& b) override {
        log << "Read " + QString::fromStdU16String(toString(b.ReadProperty(u"Caption", u"")));
    }
    void UserControl_WriteProperties(PropertyBag& b) override {
        log << "Write";
        b.WriteProperty(u"Caption", u"Выход", u"");
    }
    void UserControl_Show() override { log << "Show"; }
    void UserControl_Resize() override {
        log << QString("%1x%2").arg(ScaleWidth()).arg(ScaleHeight());
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
                QTimer::singleShot(0, this, [] { throw RuntimeError(u"again"); });
            QCoreApplication::processEvents(); // the box's own loop
            return vbOK;
        });
    }

    void timerManualMode() {
        Timer::setManualMode(true);
        Timer t(15, true);
        int ticks = 0;
        t.Tick.connect([&] { ++ticks; });
        const auto before = Timer::totalTicks();
        QVERIFY(!t.isRunning());
        t.fire();
        t.setEnabled(false);
        t.fire(); // a disabled timer does not tick
        QCOMPARE(std::pair(ticks, Timer::totalTicks()), std::pair(1, before + 1));
        Timer::setManualMode(false);
        t.setEnabled(true);
        QTRY_VERIFY(ticks >= 3); // a real timer ticks by itself
    }

    void userControlLifecycle() {
        WindowedControl window(nullptr);
        Probe p(&window);
        p.InitNew();
        QVERIFY_THROWS_EXCEPTION(RuntimeError, p.InitNew()); // exactly one set-up
        QVERIFY_THROWS_EXCEPTION(RuntimeError, p.ReadFrom(PropertyBag()));
        p.placeTwips(990, 3510, 1695, 375);
        window.setVisible(true);
        p.Move(0, 0, 120, 30);
        PropertyBag saved;
        p.WriteTo(saved);
        QCOMPARE(p.log, (QStringList{"Init", "113x25", "Show", "120x30", "Write"}));
        Probe stored(nullptr);
        stored.ReadFrom(saved);
        QCOMPARE(stored.log, QStringList{"Read Выход"});
    }

    void handlerErrorIsShownInRussianAndLoggedInEnglish_data() {
        QTest::addColumn<std::function<void()>>("thrower");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("logged");
        // clang-format off
        QTest::newRow("overflow") << std::function<void()>([] { throw RuntimeError(u"Overflow"); }) << "Переполнение" << "Overflow";
        QTest::newRow("invalid property value") << std::function<void()>([] { throw RuntimeError(u"Invalid property value: -1"); }) << "Недопустимое значение свойства" << "Invalid property value: -1";
        QTest::newRow("form file") << std::function<void()>([] { throw FormFileError(RuntimeError(u"Type mismatch: Long"), u"f.json", u"cmdExit", u"Caption"); })
            << "Не удалось прочитать файл формы «f.json», элемент «cmdExit», свойство «Caption»: несоответствие типов." << "Form file \"f.json\", control \"cmdExit\", property \"Caption\": Type mismatch: Long";
        QTest::newRow("std::exception") << std::function<void()>([] { throw std::out_of_range("index\nout of range"); }) << "Непредвиденная ошибка выполнения" << "index out of range";
        QTest::newRow("anything else") << std::function<void()>([] { throw 42; }) << "Непредвиденная ошибка выполнения" << "Unknown run-time error";
        // clang-format on
    }
    void handlerErrorIsShownInRussianAndLoggedInEnglish() {
        QFETCH(std::function<void()>, thrower);
        QFETCH(QString, shown);
        QFETCH(QString, logged);
        // One line each, also for an error while the box is open (which opens no second box).
        QTest::ignoreMessage(QtWarningMsg, qUtf8Printable("run-time error: " + logged));
        QTest::ignoreMessage(QtWarningMsg, "run-time error while another is shown: again");
        QTimer::singleShot(0, this, thrower);
        QTRY_COMPARE(m_shown.size(), 1); // and the program goes on
        QCOMPARE(std::tuple(m_shown[0].prompt, m_shown[0].style, m_shown[0].title),
                 std::tuple(shown.toStdU16String(), int(vbCritical), u"Alertwright"));
    }

    void clipboardRoundTripAndFailure() {
        const QString code = QStringLiteral("Select Case MsgBox (\"Текст\")\r\n\tCase 6 ' € 😀\r\n");
        QClipboard* cb = QGuiApplication::clipboard();
        QCOMPARE((ClipboardSetText(code.toStdU16String()), cb->text()), code);
        // Another program takes the clipboard the moment it changes: the caller hears of it.
        QMetaObject::Connection thief;
        thief = connect(cb, &QClipboard::dataChanged, this, [&] {
            disconnect(thief);
            cb->setMimeData(new QMimeData); // holds no text
        });
        QVERIFY_THROWS_EXCEPTION(RuntimeError, ClipboardSetText(u"code"));
        QVERIFY(!cb->mimeData()->hasText());
    }

private:
    QList<MsgBoxRequest> m_shown;
};

int main(int argc, char** argv) {
    Application app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
