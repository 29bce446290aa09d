// Mouse input through the window system path, as a real pointer delivers it.
#define QTEST_QPA_MOUSE_HANDLING

#include "forms/color.h"
#include "forms/error.h"
#include "forms/keys.h"
#include "forms/label.h"
#include "forms/picturebox.h"
#include "forms/qt/convert.h"
#include "forms/qt/widgetpeer.h"
#include "forms/stdfont.h"
#include "forms/units.h"

#include <QApplication>
#include <QFontInfo>
#include <QTest>

using namespace forms;

class TestControls : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { // marker colours for the system colours below
        QPalette pal = QApplication::palette();
        pal.setColor(QPalette::Active, QPalette::Text, QColor(1, 2, 3));
        pal.setColor(QPalette::Active, QPalette::Button, QColor(4, 5, 6));
        pal.setColor(QPalette::Disabled, QPalette::Text, QColor(7, 8, 9));
        QApplication::setPalette(pal);
    }

    void colors_data() {
        QTest::addColumn<uint>("value");
        QTest::addColumn<QColor>("color"); // invalid: the value is refused
        QTest::newRow("red in the low byte") << 0x000000FFu << QColor(255, 0, 0);
        QTest::newRow("alpha byte set") << 0x01000000u << QColor();
        QTest::newRow("CLR_INVALID") << 0xFFFFFFFFu << QColor();
        QTest::newRow("system 8, window text") << 0x80000008u << QColor(1, 2, 3);
        QTest::newRow("system 15, button face") << 0x8000000Fu << QColor(4, 5, 6);
        QTest::newRow("system 17, grey text") << 0x80000011u << QColor(7, 8, 9);
        QTest::newRow("system 31, past the table") << 0x8000001Fu << QColor();
        QTest::newRow("system with high index bits") << 0x80010008u << QColor();
    }
    void colors() {
        QFETCH(uint, value);
        QFETCH(QColor, color);
        QCOMPARE(isValidColor(value), color.isValid());
        if (color.isValid())
            QCOMPARE(qt::toQColor(value), color);
        else
            QVERIFY_THROWS_EXCEPTION(RuntimeError, qt::toQColor(value));
        QVERIFY(isValidColor(0x8000001Eu)); // the last system colour
    }

    void pixelRoundingAndTwips() {
        for (const auto& [value, pixels] :
             {std::pair{2.5f, 3}, {-2.5f, -3}, {0.49f, 0}, {-0.49f, 0}})
            QCOMPARE(pixelRound(value), pixels);
        QCOMPARE(qt::toQRect(twipsToPixels(990, 3510, 3840, 420)), QRect(66, 234, 256, 28));
    }

    void floatGeometryKept_data() {
        QTest::addColumn<QRectF>("set");
        QTest::addColumn<QRect>("pixels");
        QTest::newRow("half up") << QRectF(47.5, 6, 42, 13) << QRect(48, 6, 42, 13);
        QTest::newRow("negative half") << QRectF(-2.5, -0.5, 1.5, 0) << QRect(-3, -1, 2, 0);
    }
    void floatGeometryKept() {
        QFETCH(QRectF, set);
        WindowedControl parent(nullptr);
        Label c(&parent);
        c.Move(set.x(), set.y(), set.width(), set.height());
        // Bad values are refused and change nothing.
        QVERIFY_THROWS_EXCEPTION(RuntimeError, c.Move(1, 1, -1, 4));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, c.setWidth(-1));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, c.Move(std::nanf(""), 1));
        QCOMPARE(QRectF(c.Left(), c.Top(), c.Width(), c.Height()), set);
        QTEST(qt::toQRect(c.pixelRect()), "pixels");
        c.Move(c.Left() + 1, c.Top());
        QCOMPARE(c.Width(), float(set.width()));
    }

    void flagsAreTheOnesTheCodeSet() {
        // A disabled or hidden window must not make its controls save themselves so.
        WindowedControl parent(nullptr);
        WindowedControl c(&parent);
        parent.setEnabled(false);
        QVERIFY(c.Enabled() && !c.effectivelyEnabled());
        c.setEnabled(false);
        parent.setEnabled(true);
        QVERIFY(!c.Enabled());
        QVERIFY(c.Visible() && !qt::widgetOf(c)->isVisible());
    }

    void mouseEventOrder_data() {
        QTest::addColumn<QString>("gesture");
        QTest::addColumn<QStringList>("events");
        const QString down = "Down 1 0 5 4", up = "Up 1 0 5 4";
        QTest::newRow("click") << "click" << QStringList{down, up, "Click"};
        QTest::newRow("right click, Shift+Ctrl")
            << "right" << QStringList{"Down 2 3 5 4", "Up 2 3 5 4"};
        QTest::newRow("double click") << "double" << QStringList{down, up, "Click", "DblClick", up};
        QTest::newRow("drag out") << "dragout" << QStringList{down, "Move 1 0 40 4", "Up 1 0 40 4"};
    }
    void mouseEventOrder() {
        QFETCH(QString, gesture);
        // A windowless part, reached through its container's hit test.
        WindowedControl parent(nullptr);
        parent.Move(0, 0, 100, 50);
        Label c(&parent);
        c.Move(10, 10, 20, 10);
        parent.setVisible(true);
        QWidget* window = qt::widgetOf(parent);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QStringList log;
        auto mouse = [&log](const char* name) {
            return [&log, name](std::int16_t& b, std::int16_t& s, float& x, float& y) {
                if (b) // moves without a button depend on where the pointer was before
                    log << QStringLiteral("%1 %2 %3 %4 %5").arg(name).arg(b).arg(s).arg(x).arg(y);
            };
        };
        c.MouseDown.connect(mouse("Down"));
        c.MouseMove.connect(mouse("Move"));
        c.MouseUp.connect(mouse("Up"));
        c.Click.connect([&log] { log << "Click"; });
        c.DblClick.connect([&log] { log << "DblClick"; });
        const QPoint in(15, 14), out(50, 14); // (5, 4) and (40, 4) in the part
        if (gesture == "click") {
            QTest::mouseClick(window, Qt::LeftButton, {}, in);
        } else if (gesture == "right") {
            QTest::mouseClick(window, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, in);
        } else if (gesture == "double") {
            QTest::mouseDClick(window, Qt::LeftButton, {}, in);
        } else {
            QTest::mousePress(window, Qt::LeftButton, {}, in);
            QTest::mouseMove(window, out);
            QTest::mouseRelease(window, Qt::LeftButton, {}, out);
        }
        QTEST(log, "events");
    }

    // What a picture box shows and reads as it grows from 3 x 3 to 6 x 6 pixels: at (1, 1),
    // where it may have been drawn, and at (4, 4), in the part that growing adds.
    void pictureBoxThroughSizes_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<uint>("drawn");
        QTest::addColumn<uint>("added");
        const uint red = 0x0000FF, blue = 0xFF0000, green = 0x00FF00, yellow = 0x00FFFF;
        QTest::newRow("never drawn") << "grow" << red << red;
        QTest::newRow("drawn") << "pset grow" << blue << red;
        QTest::newRow("new back colour") << "pset back grow" << yellow << yellow;
        QTest::newRow("cleared") << "pset cls grow" << red << red;
        QTest::newRow("picture") << "picture grow" << green << green;
        QTest::newRow("picture cleared") << "picture cls grow" << red << green;
    }
    void pictureBoxThroughSizes() {
        QFETCH(QString, steps);
        QFETCH(uint, drawn);
        QFETCH(uint, added);
        WindowedControl parent(nullptr);
        parent.Move(0, 0, 20, 20);
        PictureBox box(&parent);
        box.setBackColor(0x0000FF);
        box.Move(0, 0, 3, 3);
        for (const QString& step : steps.split(' ')) {
            if (step == "pset")
                box.PSet(1, 1, 0xFF0000);
            else if (step == "back")
                box.setBackColor(0x00FFFF);
            else if (step == "cls")
                box.Cls();
            else if (step == "picture")
                box.setPicture(makePicture(PixelImage(6, 6, 0xFF00FF00)));
            else
                box.Move(0, 0, 6, 6);
        }
        parent.setVisible(true);
        const QImage shown = qt::widgetOf(box)->grab().toImage();
        QCOMPARE(shown.pixel(1, 1), qt::toQColor(drawn).rgb());
        QCOMPARE(shown.pixel(4, 4), qt::toQColor(added).rgb());
        QCOMPARE(box.Point(1, 1), drawn);
        QCOMPARE(box.Point(4, 4), added);
        QCOMPARE(box.Point(6, 0), 0xFFFFFFFFu); // outside
    }

    void labelAutoSize() {
        WindowedControl parent(nullptr);
        Label l(&parent);
        l.Move(32, 8, 42, 13);
        l.setCaption(u"kxButton");
        l.setAutoSize(true);
        const QFontMetricsF fm(qt::toQFont(*l.Font()));
        QCOMPARE(l.Height(), float(std::ceil(fm.height())));
        l.setCaption(u"Скопировать и закрыть");
        QCOMPARE(l.Width(),
                 float(std::ceil(fm.horizontalAdvance(QString::fromStdU16String(l.Caption())))));
        QCOMPARE(l.Left(), 32.f);
        l.setCaption(u"");
        QCOMPARE(l.Width(), 0.f);
    }

    void fontFallsBackWithCyrillic() {
        const QFont q = qt::toQFont(StdFont()); // MS Sans Serif 8.25, not on this machine
        QCOMPARE(q.pixelSize(), 11);
        const QString family = QFontInfo(q).family();
        QVERIFY2(family.contains("Liberation Sans") || family.contains("DejaVu Sans"),
                 qPrintable(family));
        for (QChar c : QStringLiteral("ЖжЁёЯя№"))
            QVERIFY2(QFontMetrics(q).inFont(c), qPrintable(QString(c)));
    }

    void codePage1251() {
        QCOMPARE(keyAsciiCodes('Z', {}, u"?€Ё№яé\uFFFD\xD83D"),
                 (std::vector<std::int16_t>{'?', 0x88, 0xA8, 0xB9, 0xFF, '?', '?', '?'}));
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
