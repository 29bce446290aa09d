#include "cli/utf8.h"

#include <QtTest>

class TestUtf8 : public QObject {
    Q_OBJECT

private slots:
    void invalidUtf8OffsetFindsTheFirstBadSequence_data();
    void invalidUtf8OffsetFindsTheFirstBadSequence();
    void conversionsKeepEveryCodePoint();
    void straySurrogateBecomesReplacementCharacter();
};

void TestUtf8::invalidUtf8OffsetFindsTheFirstBadSequence_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("offset"); // -1: valid
    QTest::newRow("empty") << QByteArray() << -1;
    QTest::newRow("ASCII with control characters") << QByteArray("a\r\n\t\0b", 6) << -1;
    QTest::newRow("Cyrillic, two bytes each") << QByteArray("Да") << -1;
    QTest::newRow("three bytes: euro sign") << QByteArray("\xE2\x82\xAC") << -1;
    QTest::newRow("four bytes: highest code point") << QByteArray("\xF4\x8F\xBF\xBF") << -1;
    QTest::newRow("highest before surrogates") << QByteArray("\xED\x9F\xBF") << -1;
    QTest::newRow("lone continuation byte") << QByteArray("ab\x80") << 2;
    QTest::newRow("overlong slash, two bytes") << QByteArray("\xC0\xAF") << 0;
    QTest::newRow("overlong, three bytes") << QByteArray("x\xE0\x80\xAF") << 1;
    QTest::newRow("overlong, four bytes") << QByteArray("\xF0\x8F\xBF\xBF") << 0;
    QTest::newRow("encoded surrogate") << QByteArray("\xED\xA0\x80") << 0;
    QTest::newRow("above U+10FFFF") << QByteArray("\xF4\x90\x80\x80") << 0;
    QTest::newRow("F5 lead byte") << QByteArray("\xF5\x80\x80\x80") << 0;
    QTest::newRow("FF byte") << QByteArray("Д\xFF") << 2;
    QTest::newRow("truncated at the end") << QByteArray("ab\xE2\x82") << 2;
    QTest::newRow("lead byte followed by ASCII") << QByteArray("\xD0"
                                                               "a")
                                                 << 0;
    QTest::newRow("bad third byte") << QByteArray("\xE2\x82"
                                                  "a")
                                    << 0;
}

void TestUtf8::invalidUtf8OffsetFindsTheFirstBadSequence() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, offset);
    const auto found = cli::invalidUtf8Offset(std::string_view(bytes.constData(), bytes.size()));
    QCOMPARE(found ? int(*found) : -1, offset);
}

void TestUtf8::conversionsKeepEveryCodePoint() {
    const QString text = QStringLiteral("a\r\nЖ€\U0001F600\U0010FFFF\u0000z");
    const QByteArray utf8 = text.toUtf8();
    const std::u16string utf16 = cli::utf8ToUtf16(std::string_view(utf8.constData(), utf8.size()));
    QCOMPARE(QString::fromStdU16String(utf16), text);
    QCOMPARE(QByteArray::fromStdString(cli::utf16ToUtf8(utf16)), utf8);
}

void TestUtf8::straySurrogateBecomesReplacementCharacter() {
    QCOMPARE(QByteArray::fromStdString(cli::utf16ToUtf8(u"a\xD800"
                                                        u"b\xDC00")),
             QByteArray("a\xEF\xBF\xBD"
                        "b\xEF\xBF\xBD"));
}

QTEST_APPLESS_MAIN(TestUtf8)
#include "tst_utf8.moc"
