#include "forms/appinfo.h"
#include "forms/application.h"
#include "forms/error.h"
#include "forms/msgbox.h"

#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <stdexcept>

using namespace forms;

namespace {

// A part whose handlers fail in the ways a handler can.
class Thrower : public QWidget {
public:
    QString kind;
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent*) override {
        ++presses;
        if (kind == QLatin1String("runtime"))
            throw RuntimeError(QStringLiteral("Ошибка: переполнение"));
        if (kind == QLatin1String("std"))
            throw std::out_of_range("index out of range");
        if (kind == QLatin1String("other"))
            throw 42;
    }
};

} // namespace

class TestApplication : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        setMsgBoxPresenter({});
        Application::setErrorReporter({});
    }

    void versionNumbers() {
        QCOMPARE(AppMajor(), 1);
        QCOMPARE(AppMinor(), 3);
        QCOMPARE(AppRevision(), 0);
    }

    void handlerErrorIsShownAndProgramGoesOn_data();
    void handlerErrorIsShownAndProgramGoesOn();
    void errorInTimerHandlerDoesNotStopTheLoop();
    void errorWhileOneIsShownGoesToTheLog();
    void reporterHookReplacesTheBox();
};

void TestApplication::handlerErrorIsShownAndProgramGoesOn_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("run-time error") << "runtime" << QStringLiteral("Ошибка: переполнение");
    QTest::newRow("std::exception") << "std" << QStringLiteral("index out of range");
    QTest::newRow("anything else") << "other" << QStringLiteral("Unknown run-time error");
}

void TestApplication::handlerErrorIsShownAndProgramGoesOn() {
    QFETCH(QString, kind);
    QList<MsgBoxRequest> shown;
    setMsgBoxPresenter([&](const MsgBoxRequest& r) {
        shown << r;
        return vbOK;
    });
    Thrower w;
    w.kind = kind;
    w.resize(50, 50);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));

    QTest::mouseClick(&w, Qt::LeftButton);
    QCOMPARE(shown.size(), 1);
    QTEST(shown[0].prompt, "message");
    QCOMPARE(shown[0].style, int(vbCritical));
    QCOMPARE(shown[0].title, QStringLiteral("Alertwright"));

    // The widget and the application keep working.
    w.kind.clear();
    QTest::mouseClick(&w, Qt::LeftButton);
    QCOMPARE(w.presses, 2);
    QCOMPARE(shown.size(), 1);
}

void TestApplication::errorInTimerHandlerDoesNotStopTheLoop() {
    QStringList reported;
    setMsgBoxPresenter([&](const MsgBoxRequest& r) {
        reported << r.prompt;
        return vbOK;
    });
    bool after = false;
    QTimer::singleShot(0, this, [] { throw RuntimeError(QStringLiteral("tick failed")); });
    QTimer::singleShot(0, this, [&] { after = true; });
    QTRY_VERIFY(after);
    QCOMPARE(reported, QStringList{QStringLiteral("tick failed")});
}

void TestApplication::errorWhileOneIsShownGoesToTheLog() {
    int boxes = 0;
    Thrower w;
    w.kind = QStringLiteral("runtime");
    w.resize(50, 50);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    // While the first box is "open", the same handler fails again (a repaint, a timer...).
    setMsgBoxPresenter([&](const MsgBoxRequest&) {
        ++boxes;
        QTest::mouseClick(&w, Qt::LeftButton);
        return vbOK;
    });
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("переполнение")));
    QTest::mouseClick(&w, Qt::LeftButton);
    QCOMPARE(boxes, 1);
    QCOMPARE(w.presses, 2);

    // Once the box is closed, the next error is shown again.
    QTest::mouseClick(&w, Qt::LeftButton);
    QCOMPARE(boxes, 2);
}

void TestApplication::reporterHookReplacesTheBox() {
    int boxes = 0;
    setMsgBoxPresenter([&](const MsgBoxRequest&) { return ++boxes, vbOK; });
    QStringList reported;
    Application::setErrorReporter([&](const QString& m) { reported << m; });
    QTimer::singleShot(0, this, [] { throw std::runtime_error("boom"); });
    QTRY_COMPARE(reported, QStringList{QStringLiteral("boom")});
    QCOMPARE(boxes, 0);
}

int main(int argc, char** argv) {
    Application app(argc, argv);
    app.setApplicationName(QStringLiteral("Alertwright"));
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_application.moc"
