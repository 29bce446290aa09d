#include "forms/keys.h"

#include <QTest>

using namespace forms;

class TestKeys : public QObject {
    Q_OBJECT
private slots:
    void virtualKeys_data();
    void virtualKeys();
    void keypad();
    void codePage1251_data();
    void codePage1251();
    void codePageRoundTrip();
    void keyAscii_data();
    void keyAscii();
};

void TestKeys::virtualKeys_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("vk");
    QTest::newRow("A") << int(Qt::Key_A) << 0x41;
    QTest::newRow("Return") << int(Qt::Key_Return) << 0x0D;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 0x1B;
    QTest::newRow("Left") << int(Qt::Key_Left) << 0x25;
    QTest::newRow("F12") << int(Qt::Key_F12) << 0x7B;
    QTest::newRow("exclam is on 1") << int(Qt::Key_Exclam) << 0x31;
    QTest::newRow("comma") << int(Qt::Key_Comma) << 0xBC;
    QTest::newRow("semicolon") << int(Qt::Key_Semicolon) << 0xBA;
    QTest::newRow("Cyrillic Й on Q") << 0x0419 << 0x51;
    QTest::newRow("Cyrillic ж on ;") << 0x0436 << 0xBA;
    QTest::newRow("Cyrillic Ё on `") << 0x0401 << 0xC0;
    QTest::newRow("unknown") << int(Qt::Key_Launch0) << 0;
}

void TestKeys::virtualKeys() {
    QFETCH(int, qtKey);
    QFETCH(int, vk);
    QCOMPARE(int(virtualKeyFromQt(qtKey)), vk);
}

void TestKeys::keypad() {
    QCOMPARE(int(virtualKeyFromQt(Qt::Key_5, Qt::KeypadModifier)), 0x65);
    QCOMPARE(int(virtualKeyFromQt(Qt::Key_5, Qt::NoModifier)), 0x35);
    QCOMPARE(int(virtualKeyFromQt(Qt::Key_Plus, Qt::KeypadModifier)), 0x6B);
}

void TestKeys::codePage1251_data() {
    QTest::addColumn<int>("unicode");
    QTest::addColumn<int>("code");
    QTest::newRow("ASCII A") << 0x41 << 0x41;
    QTest::newRow("А") << 0x0410 << 0xC0;
    QTest::newRow("я") << 0x044F << 0xFF;
    QTest::newRow("Ё") << 0x0401 << 0xA8;
    QTest::newRow("ё") << 0x0451 << 0xB8;
    QTest::newRow("№") << 0x2116 << 0xB9;
    QTest::newRow("euro") << 0x20AC << 0x88;
    QTest::newRow("no-break space") << 0x00A0 << 0xA0;
    QTest::newRow("Ђ") << 0x0402 << 0x80;
    QTest::newRow("ї") << 0x0457 << 0xBF;
    QTest::newRow("Latin é not in 1251") << 0x00E9 << -1;
    QTest::newRow("Greek α not in 1251") << 0x03B1 << -1;
    QTest::newRow("replacement char") << 0xFFFD << -1;
}

void TestKeys::codePage1251() {
    QFETCH(int, unicode);
    QFETCH(int, code);
    QCOMPARE(toCp1251(char16_t(unicode)), code);
}

void TestKeys::codePageRoundTrip() {
    for (int b = 0; b < 256; ++b) {
        const char16_t u = fromCp1251(static_cast<unsigned char>(b));
        if (b == 0x98) {
            QCOMPARE(int(u), 0xFFFD);
            continue;
        }
        QCOMPARE(toCp1251(u), b);
    }
}

void TestKeys::keyAscii_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<std::int16_t>>("codes");
    QTest::newRow("a") << int(Qt::Key_A) << 0 << "a" << QList<std::int16_t>{97};
    QTest::newRow("Cyrillic я") << 0x042F << 0 << QStringLiteral("я") << QList<std::int16_t>{255};
    QTest::newRow("Enter without text")
        << int(Qt::Key_Return) << 0 << "" << QList<std::int16_t>{13};
    QTest::newRow("Enter with CR") << int(Qt::Key_Return) << 0 << "\r" << QList<std::int16_t>{13};
    QTest::newRow("Esc") << int(Qt::Key_Escape) << 0 << "" << QList<std::int16_t>{27};
    QTest::newRow("Ctrl+C") << int(Qt::Key_C) << int(Qt::ControlModifier) << "c"
                            << QList<std::int16_t>{3};
    QTest::newRow("not in code page")
        << int(Qt::Key_unknown) << 0 << QStringLiteral("é") << QList<std::int16_t>{'?'};
    QTest::newRow("Shift alone types nothing")
        << int(Qt::Key_Shift) << int(Qt::ShiftModifier) << "" << QList<std::int16_t>{};
}

void TestKeys::keyAscii() {
    QFETCH(int, qtKey);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QList<std::int16_t>, codes);
    QCOMPARE(keyAsciiCodes(qtKey, Qt::KeyboardModifiers(modifiers), text), codes);
}

QTEST_APPLESS_MAIN(TestKeys)
#include "tst_keys.moc"
