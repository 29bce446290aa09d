// Mouse input through the window system path (QPA), as a real pointer delivers it: Qt's widgets
// see a double click as press, release, double-click event, release.
#define QTEST_QPA_MOUSE_HANDLING

#include "forms/control.h"

#include <QSignalSpy>
#include <QTest>

using namespace forms;

namespace {

class Recorder : public QObject {
    Q_OBJECT
public:
    explicit Recorder(Control* c) {
        connect(c, &Control::MouseDown, this,
                [this](std::int16_t& b, std::int16_t&, float&, float&) {
                    emit happened(QStringLiteral("MouseDown %1").arg(b));
                });
        connect(c, &Control::MouseUp, this, [this](std::int16_t& b, std::int16_t&, float&, float&) {
            emit happened(QStringLiteral("MouseUp %1").arg(b));
        });
        connect(c, &Control::Click, this, [this] { emit happened(QStringLiteral("Click")); });
        connect(c, &Control::DblClick, this, [this] { emit happened(QStringLiteral("DblClick")); });
    }
signals:
    void happened(const QString& what);
};

QStringList order(const QSignalSpy& spy) {
    QStringList r;
    for (const auto& args : spy)
        r << args.at(0).toString();
    return r;
}

} // namespace

class TestDblClick : public QObject {
    Q_OBJECT
private slots:
    void windowSystemOrder_data();
    void windowSystemOrder();
};

void TestDblClick::windowSystemOrder_data() {
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("click") << "click" << QStringList{"MouseDown 1", "MouseUp 1", "Click"};
    QTest::newRow("double click") << "double"
                                  << QStringList{"MouseDown 1", "MouseUp 1", "Click", "DblClick",
                                                 "MouseUp 1"};
    QTest::newRow("drag out, release outside")
        << "dragout" << QStringList{"MouseDown 1", "MouseUp 1"};
    QTest::newRow("drag out and back, release inside")
        << "dragback" << QStringList{"MouseDown 1", "MouseUp 1", "Click"};
}

void TestDblClick::windowSystemOrder() {
    QFETCH(QString, gesture);
    QFETCH(QStringList, events);
    QWidget window;
    window.resize(120, 60);
    Control c(&window);
    c.Move(10, 10, 40, 20);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Recorder rec(&c);
    QSignalSpy spy(&rec, &Recorder::happened);
    const QPoint in(5, 5), out(80, 5);
    if (gesture == "click") {
        QTest::mouseClick(&c, Qt::LeftButton, {}, in);
    } else if (gesture == "double") {
        QTest::mouseDClick(&c, Qt::LeftButton, {}, in);
    } else if (gesture == "dragout") {
        QTest::mousePress(&c, Qt::LeftButton, {}, in);
        QTest::mouseMove(&c, out);
        QTest::mouseRelease(&c, Qt::LeftButton, {}, out);
    } else if (gesture == "dragback") {
        QTest::mousePress(&c, Qt::LeftButton, {}, in);
        QTest::mouseMove(&c, out);
        QTest::mouseMove(&c, in);
        QTest::mouseRelease(&c, Qt::LeftButton, {}, in);
    }
    QCOMPARE(order(spy), events);
}

QTEST_MAIN(TestDblClick)
#include "tst_dblclick.moc"
