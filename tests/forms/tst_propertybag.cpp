#include "forms/error.h"
#include "forms/propertybag.h"

#include <QTest>

using namespace forms;

Q_DECLARE_METATYPE(forms::PropertyValue)

namespace {

PictureRef picture(QRgb c) {
    QImage img(2, 2, QImage::Format_ARGB32);
    img.fill(c);
    return makePicture(img);
}

} // namespace

class TestPropertyBag : public QObject {
    Q_OBJECT
private slots:
    void namesIgnoreCase();
    void defaultElision_data();
    void defaultElision();
    void writingTheDefaultRemovesAnEarlierEntry();
    void objectsAreShared();
    void toLongConversions_data();
    void toLongConversions();
    void toIntegerConversions_data();
    void toIntegerConversions();
    void toBooleanConversions_data();
    void toBooleanConversions();
    void stringAndObjectConversions();
    void colours();
};

void TestPropertyBag::namesIgnoreCase() {
    PropertyBag bag;
    bag.setRaw(QStringLiteral("bordercolor"), colorValue(0x80000008));
    bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Проба"),
                      QStringLiteral("kxFlashButton"));
    QVERIFY(bag.contains(QStringLiteral("BorderColor")));
    QCOMPARE(toColor(bag.ReadProperty(QStringLiteral("BORDERCOLOR"), colorValue(0x80000012))),
             0x80000008u);
    QCOMPARE(toString(bag.ReadProperty(QStringLiteral("caption"), QStringLiteral("x"))),
             QStringLiteral("Проба"));
    // Overwriting under another case keeps one entry, in the first spelling.
    bag.WriteProperty(QStringLiteral("CAPTION"), QStringLiteral("Копировать"), QString());
    QCOMPARE(bag.names(), (QStringList{"bordercolor", "Caption"}));
    QCOMPARE(toString(bag.ReadProperty(QStringLiteral("Caption"), QString())),
             QStringLiteral("Копировать"));
    // Missing: the default comes back unchanged.
    QCOMPARE(toLong(bag.ReadProperty(QStringLiteral("MaskColor"), colorValue(0x00C0C0C0))),
             0x00C0C0C0);
}

void TestPropertyBag::defaultElision_data() {
    QTest::addColumn<PropertyValue>("value");
    QTest::addColumn<PropertyValue>("defaultValue");
    QTest::addColumn<bool>("stored");
    const FontRef ambient = makeFont();
    QTest::newRow("colour equal") << colorValue(0x80000012) << colorValue(0x80000012) << false;
    QTest::newRow("colour differs") << colorValue(0x80000008) << colorValue(0x80000012) << true;
    QTest::newRow("Boolean False vs Integer 0")
        << PropertyValue(false) << PropertyValue(std::int16_t(0)) << false;
    QTest::newRow("Boolean True vs Integer 0")
        << PropertyValue(true) << PropertyValue(std::int16_t(0)) << true;
    QTest::newRow("Boolean True vs True") << PropertyValue(true) << PropertyValue(true) << false;
    QTest::newRow("Integer -1 vs Boolean True")
        << PropertyValue(std::int16_t(-1)) << PropertyValue(true) << false;
    QTest::newRow("string equal") << PropertyValue(QStringLiteral("kxFlashButton"))
                                  << PropertyValue(QStringLiteral("kxFlashButton")) << false;
    QTest::newRow("string differs in case")
        << PropertyValue(QStringLiteral("KXFLASHBUTTON"))
        << PropertyValue(QStringLiteral("kxFlashButton")) << true;
    QTest::newRow("empty string vs 0") << PropertyValue(QString()) << PropertyValue(0) << true;
    QTest::newRow("font same fields, other object")
        << PropertyValue(makeFont()) << PropertyValue(ambient) << false;
    QTest::newRow("font other size") << PropertyValue(makeFont(QStringLiteral("MS Sans Serif"), 10))
                                     << PropertyValue(ambient) << true;
    QTest::newRow("no picture vs Nothing")
        << PropertyValue(PictureRef()) << PropertyValue(std::monostate{}) << false;
    QTest::newRow("empty picture vs Nothing")
        << PropertyValue(makePicture(QImage())) << PropertyValue(std::monostate{}) << false;
    QTest::newRow("picture vs Nothing")
        << PropertyValue(picture(qRgb(1, 2, 3))) << PropertyValue(std::monostate{}) << true;
    QTest::newRow("pictures with the same pixels")
        << PropertyValue(picture(qRgb(1, 2, 3))) << PropertyValue(picture(qRgb(1, 2, 3))) << false;
    QTest::newRow("pictures with other pixels")
        << PropertyValue(picture(qRgb(1, 2, 3))) << PropertyValue(picture(qRgb(1, 2, 4))) << true;
}

void TestPropertyBag::defaultElision() {
    QFETCH(PropertyValue, value);
    QFETCH(PropertyValue, defaultValue);
    QFETCH(bool, stored);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("P"), value, defaultValue);
    QCOMPARE(bag.contains(QStringLiteral("p")), stored);
    QCOMPARE(sameValue(value, defaultValue), !stored);
    QCOMPARE(sameValue(defaultValue, value), !stored); // symmetric
}

void TestPropertyBag::writingTheDefaultRemovesAnEarlierEntry() {
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Toggle"), true, std::int16_t(0));
    QVERIFY(bag.contains(QStringLiteral("Toggle")));
    bag.WriteProperty(QStringLiteral("toggle"), false, std::int16_t(0));
    QVERIFY(!bag.contains(QStringLiteral("Toggle")));
    QCOMPARE(bag.size(), 0);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, bag.WriteProperty(QString(), 1, 0));
}

void TestPropertyBag::objectsAreShared() {
    PropertyBag bag;
    const FontRef f = makeFont(QStringLiteral("Tahoma"), 9);
    bag.WriteProperty(QStringLiteral("Font"), f, makeFont());
    QCOMPARE(toFont(bag.ReadProperty(QStringLiteral("font"), makeFont())).get(), f.get());
    const PictureRef p = picture(qRgb(9, 9, 9));
    bag.WriteProperty(QStringLiteral("Picture"), p, std::monostate{});
    QCOMPARE(toPicture(bag.ReadProperty(QStringLiteral("picture"), std::monostate{})).get(),
             p.get());
}

void TestPropertyBag::toLongConversions_data() {
    QTest::addColumn<PropertyValue>("value");
    QTest::addColumn<qint64>("expected"); // below INT64_MIN/2: an error with that text
    QTest::addColumn<QString>("error");
    QTest::newRow("Long") << PropertyValue(std::int32_t(-5)) << qint64(-5) << "";
    QTest::newRow("Integer") << PropertyValue(std::int16_t(300)) << qint64(300) << "";
    QTest::newRow("True") << PropertyValue(true) << qint64(-1) << "";
    QTest::newRow("numeric text") << PropertyValue(QStringLiteral(" 42 ")) << qint64(42) << "";
    QTest::newRow("half to even") << PropertyValue(QStringLiteral("2.5")) << qint64(2) << "";
    QTest::newRow("hex text") << PropertyValue(QStringLiteral("&H8000000F")) << qint64(-2147483633)
                              << "";
    QTest::newRow("text under a colour")
        << PropertyValue(QStringLiteral("red")) << qint64(0) << "Type mismatch";
    QTest::newRow("empty text") << PropertyValue(QString()) << qint64(0) << "Type mismatch";
    QTest::newRow("font") << PropertyValue(makeFont()) << qint64(0) << "Type mismatch";
    QTest::newRow("Nothing") << PropertyValue(std::monostate{}) << qint64(0) << "Type mismatch";
    QTest::newRow("too big") << PropertyValue(QStringLiteral("2147483648")) << qint64(0)
                             << "Overflow";
}

void TestPropertyBag::toLongConversions() {
    QFETCH(PropertyValue, value);
    QFETCH(qint64, expected);
    QFETCH(QString, error);
    try {
        const std::int32_t got = toLong(value);
        QVERIFY2(error.isEmpty(), "no error");
        QCOMPARE(qint64(got), expected);
    } catch (const RuntimeError& e) {
        QVERIFY2(!error.isEmpty(), qPrintable(e.message()));
        QVERIFY2(e.message().startsWith(error), qPrintable(e.message()));
    }
}

void TestPropertyBag::toIntegerConversions_data() {
    QTest::addColumn<PropertyValue>("value");
    QTest::addColumn<int>("expected");
    QTest::addColumn<QString>("error");
    QTest::newRow("Long in range") << PropertyValue(std::int32_t(-32768)) << -32768 << "";
    QTest::newRow("Long overflow") << PropertyValue(std::int32_t(32768)) << 0 << "Overflow";
    QTest::newRow("colour does not fit") << colorValue(0x80000012) << 0 << "Overflow";
    QTest::newRow("False") << PropertyValue(false) << 0 << "";
    QTest::newRow("text") << PropertyValue(QStringLiteral("-7")) << -7 << "";
    QTest::newRow("picture") << PropertyValue(picture(0)) << 0 << "Type mismatch";
}

void TestPropertyBag::toIntegerConversions() {
    QFETCH(PropertyValue, value);
    QFETCH(int, expected);
    QFETCH(QString, error);
    try {
        const std::int16_t got = toInteger(value);
        QVERIFY2(error.isEmpty(), "no error");
        QCOMPARE(int(got), expected);
    } catch (const RuntimeError& e) {
        QVERIFY2(!error.isEmpty() && e.message().startsWith(error), qPrintable(e.message()));
    }
}

void TestPropertyBag::toBooleanConversions_data() {
    QTest::addColumn<PropertyValue>("value");
    QTest::addColumn<int>("expected"); // 1: error
    QTest::newRow("True") << PropertyValue(true) << -1;
    QTest::newRow("Integer 0") << PropertyValue(std::int16_t(0)) << 0;
    QTest::newRow("Integer 1 is True, stored as -1") << PropertyValue(std::int16_t(1)) << -1;
    QTest::newRow("Long -1") << PropertyValue(-1) << -1;
    QTest::newRow("text True any case") << PropertyValue(QStringLiteral("tRUE")) << -1;
    QTest::newRow("text False") << PropertyValue(QStringLiteral("False")) << 0;
    QTest::newRow("numeric text") << PropertyValue(QStringLiteral("0")) << 0;
    QTest::newRow("other text") << PropertyValue(QStringLiteral("yes")) << 1;
    QTest::newRow("font") << PropertyValue(makeFont()) << 1;
}

void TestPropertyBag::toBooleanConversions() {
    QFETCH(PropertyValue, value);
    QFETCH(int, expected);
    if (expected == 1) {
        try {
            toBoolean(value);
            QFAIL("no error");
        } catch (const RuntimeError& e) {
            QVERIFY(e.message().startsWith(QStringLiteral("Type mismatch")));
        }
        return;
    }
    QCOMPARE(int(toBoolean(value)), expected);
}

void TestPropertyBag::stringAndObjectConversions() {
    QCOMPARE(toString(PropertyValue(true)), QStringLiteral("True"));
    QCOMPARE(toString(PropertyValue(std::int16_t(-3))), QStringLiteral("-3"));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, toString(PropertyValue(makeFont())));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, toString(PropertyValue(std::monostate{})));
    QVERIFY(!toPicture(PropertyValue(std::monostate{})));
    QVERIFY(!toFont(PropertyValue(std::monostate{})));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, toPicture(PropertyValue(QStringLiteral("a.png"))));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, toFont(PropertyValue(picture(0))));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, toFont(PropertyValue(7)));
    try {
        toFont(PropertyValue(QStringLiteral("Arial")));
    } catch (const RuntimeError& e) {
        QCOMPARE(e.message(),
                 QStringLiteral("Type mismatch: String \"Arial\" cannot be converted to Font"));
    }
}

void TestPropertyBag::colours() {
    QCOMPARE(toColor(colorValue(0x8000000F)), 0x8000000Fu);
    QCOMPARE(toColor(PropertyValue(0x00E0E0E0)), 0x00E0E0E0u);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, toColor(PropertyValue(-1))); // 0xFFFFFFFF
    QVERIFY_THROWS_EXCEPTION(RuntimeError, toColor(PropertyValue(QStringLiteral("blue"))));
}

QTEST_APPLESS_MAIN(TestPropertyBag)
#include "tst_propertybag.moc"
