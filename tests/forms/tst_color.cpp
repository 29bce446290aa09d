#include "forms/color.h"
#include "forms/error.h"
#include "forms/units.h"

#include <QApplication>
#include <QPalette>
#include <QTest>
#include <QWidget>

using namespace forms;

class TestColor : public QObject {
    Q_OBJECT
private slots:
    void validity_data();
    void validity();
    void rgbRoundTrip();
    void systemColorsFollowPalette_data();
    void systemColorsFollowPalette();
    void everySystemIndexResolves();
    void pixelRounding_data();
    void pixelRounding();
    void twips();
};

void TestColor::validity_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<bool>("valid");
    QTest::newRow("black") << 0x00000000u << true;
    QTest::newRow("white") << 0x00FFFFFFu << true;
    QTest::newRow("lit face") << 0x00D8BFB6u << true;
    QTest::newRow("alpha byte set") << 0x01000000u << false;
    QTest::newRow("CLR_INVALID") << 0xFFFFFFFFu << false;
    QTest::newRow("system 0") << 0x80000000u << true;
    QTest::newRow("system 8 window text") << 0x80000008u << true;
    QTest::newRow("system 18 button text") << 0x80000012u << true;
    QTest::newRow("system 30 last") << 0x8000001Eu << true;
    QTest::newRow("system 31 past the table") << 0x8000001Fu << false;
    QTest::newRow("system with high index bits") << 0x80010008u << false;
}

void TestColor::validity() {
    QFETCH(uint, value);
    QFETCH(bool, valid);
    QCOMPARE(isValidColor(value), valid);
    if (valid) {
        checkColor(value);
        QVERIFY(toQColor(value).isValid());
    } else {
        QVERIFY_THROWS_EXCEPTION(RuntimeError, checkColor(value));
        QVERIFY_THROWS_EXCEPTION(RuntimeError, toQColor(value));
        try {
            toQColor(value);
        } catch (const RuntimeError& e) {
            QCOMPARE(e.message(), QStringLiteral("Invalid property value"));
        }
    }
}

void TestColor::rgbRoundTrip() {
    // Red lives in the low byte.
    QCOMPARE(rgbColor(0xB6, 0xBF, 0xD8), 0x00D8BFB6u);
    QCOMPARE(toQColor(0x00D8BFB6u), QColor(0xB6, 0xBF, 0xD8));
    QCOMPARE(fromQColor(QColor(255, 192, 192, 10)), 0x00C0C0FFu); // alpha ignored
    QCOMPARE(fromQColor(toQColor(0x00123456u)), 0x00123456u);
}

void TestColor::systemColorsFollowPalette_data() {
    QTest::addColumn<uint>("value");
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("role");
    QTest::newRow("5 window background")
        << 0x80000005u << int(QPalette::Active) << int(QPalette::Base);
    QTest::newRow("8 window text") << 0x80000008u << int(QPalette::Active) << int(QPalette::Text);
    QTest::newRow("15 button face")
        << 0x8000000Fu << int(QPalette::Active) << int(QPalette::Button);
    QTest::newRow("17 grey text") << 0x80000011u << int(QPalette::Disabled) << int(QPalette::Text);
    QTest::newRow("18 button text")
        << 0x80000012u << int(QPalette::Active) << int(QPalette::ButtonText);
}

void TestColor::systemColorsFollowPalette() {
    QFETCH(uint, value);
    QFETCH(int, group);
    QFETCH(int, role);
    const QPalette saved = QApplication::palette();
    QPalette pal = saved;
    const QColor marker(12, 34, 56);
    pal.setColor(QPalette::ColorGroup(group), QPalette::ColorRole(role), marker);
    QApplication::setPalette(pal);
    const QColor got = toQColor(value);
    QApplication::setPalette(saved);
    QCOMPARE(got, marker);
}

void TestColor::everySystemIndexResolves() {
    for (int i = 0; i < systemColorCount; ++i) {
        const QColor c = toQColor(systemColor(i));
        QVERIFY2(c.isValid() && c.alpha() == 255, qPrintable(QString::number(i)));
    }
}

void TestColor::pixelRounding_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("pixels");
    QTest::newRow("2.5 up") << 2.5f << 3;
    QTest::newRow("-2.5 away from zero") << -2.5f << -3;
    QTest::newRow("3.5") << 3.5f << 4;
    QTest::newRow("0.49") << 0.49f << 0;
    QTest::newRow("-0.49") << -0.49f << 0;
    QTest::newRow("47.5") << 47.5f << 48;
    QTest::newRow("whole") << 113.0f << 113;
}

void TestColor::pixelRounding() {
    QFETCH(float, value);
    QFETCH(int, pixels);
    QCOMPARE(pixelRound(value), pixels);
}

void TestColor::twips() {
    // The offscreen screen has 96 logical dpi, as the designed layouts assume.
    QCOMPARE(twipsPerPixelX(), 15.0f);
    QCOMPARE(twipsPerPixelY(), 15.0f);
    QCOMPARE(twipsToPixels(990, 3510, 3840, 420), QRect(66, 234, 256, 28));
    QWidget parent;
    QWidget child(&parent);
    placeTwips(&child, 120, 240, 1695, 375);
    QCOMPARE(child.geometry(), QRect(8, 16, 113, 25));
}

QTEST_MAIN(TestColor)
#include "tst_color.moc"
