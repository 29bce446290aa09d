#include "forms/error.h"
#include "forms/formfile.h"
#include "forms/propertybag.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace forms;

Q_DECLARE_METATYPE(forms::PropertyValue)

namespace {

PictureRef picture(QRgb c) {
    QImage img(2, 2, QImage::Format_ARGB32);
    img.fill(c);
    return makePicture(img);
}

const char* const goodJson = R"json({"form": "frmMsgGen", "controls": [
  {"name": "cmdPreview", "class": "Alertwright.kxButton", "left": 990, "top": 3510, "width": 3840,
   "height": 420, "properties": {"bordercolor": {"long": 2147483656},
    "font": {"font": {"name": "MS Sans Serif", "size": 8.25, "weight": 400, "italic": false,
                      "underline": false, "strikethrough": false, "charset": 204}},
    "picture": {"picture": "cmdPreview.png"}, "caption": {"string": "Проба"}}},
  {"name": "cmdExit", "class": "Alertwright.kxButton", "left": 0, "top": 0, "width": 1695,
   "height": 375, "properties": {"Toggle": {"boolean": true}, "Picture": {"picture": ""},
                                 "MaskColor": {"long": -1}}}]})json";

// The good file with the first occurrence of `from` replaced by `to`.
QByteArray edited(const char* from, const char* to) {
    QByteArray j(goodJson);
    Q_ASSERT(j.contains(from));
    return j.replace(j.indexOf(from), qstrlen(from), to);
}

} // namespace

class TestPropertyBag : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        m_form = m_dir.filePath(QStringLiteral("frmMsgGen.json"));
        QImage icon(16, 16, QImage::Format_ARGB32);
        icon.fill(qRgb(0, 0, 255));
        QVERIFY(icon.save(m_dir.filePath(QStringLiteral("cmdPreview.png")), "PNG"));
        QFile corrupt(m_dir.filePath(QStringLiteral("corrupt.png")));
        QVERIFY(corrupt.open(QIODevice::WriteOnly) && corrupt.write("\x89PNG\r\n\x1a\nIHDR") > 0);
        QFile json(m_form);
        QVERIFY(json.open(QIODevice::WriteOnly) && json.write(goodJson) > 0);
    }

    void namesIgnoreCase() {
        PropertyBag bag;
        bag.setRaw(QStringLiteral("caption"), QStringLiteral("Проба"));
        QCOMPARE(toString(bag.ReadProperty(QStringLiteral("CAPTION"), QString())), "Проба");
        // Overwriting under another case keeps one entry, in the first spelling.
        bag.WriteProperty(QStringLiteral("Caption"), QStringLiteral("Копировать"), QString());
        QCOMPARE(bag.names(), QStringList{"caption"});
        QCOMPARE(toString(bag.ReadProperty(QStringLiteral("caption"), 0)), "Копировать");
        QCOMPARE(toLong(bag.ReadProperty(QStringLiteral("MaskColor"), 7)), 7); // the default
        bag.WriteProperty(QStringLiteral("CAPTION"), QString(), QString());    // removes the entry
        QCOMPARE(bag.size(), 0);
    }

    void defaultElision_data() {
        QTest::addColumn<PropertyValue>("value");
        QTest::addColumn<PropertyValue>("defaultValue");
        QTest::addColumn<bool>("stored");
        using V = PropertyValue;
        // clang-format off
        QTest::newRow("Boolean False vs Integer 0") << V(false) << V(std::int16_t(0)) << false;
        QTest::newRow("string differs in case") << V(QStringLiteral("KX")) << V(QStringLiteral("kx")) << true;
        QTest::newRow("empty string vs 0") << V(QString()) << V(0) << true;
        QTest::newRow("font same fields, other object") << V(makeFont()) << V(makeFont()) << false;
        QTest::newRow("font other size") << V(makeFont(QStringLiteral("MS Sans Serif"), 10)) << V(makeFont()) << true;
        QTest::newRow("empty picture vs Nothing") << V(makePicture(QImage())) << V(std::monostate{}) << false;
        QTest::newRow("pictures, same pixels") << V(picture(qRgb(1, 2, 3))) << V(picture(qRgb(1, 2, 3))) << false;
        QTest::newRow("pictures, other pixels") << V(picture(qRgb(1, 2, 3))) << V(picture(qRgb(1, 2, 4))) << true;
        // clang-format on
    }
    void defaultElision() {
        QFETCH(PropertyValue, value);
        QFETCH(PropertyValue, defaultValue);
        QFETCH(bool, stored);
        PropertyBag bag;
        bag.WriteProperty(QStringLiteral("P"), value, defaultValue);
        QCOMPARE(bag.contains(QStringLiteral("p")), stored);
        QCOMPARE(sameValue(defaultValue, value), !stored);
    }

    void conversions_data() {
        QTest::addColumn<QString>("to");
        QTest::addColumn<PropertyValue>("value");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<QString>("error");
        using V = PropertyValue;
        // clang-format off
        QTest::newRow("hex text") << "Long" << V(QStringLiteral("&H8000000F")) << qint64(-2147483633) << "";
        QTest::newRow("half to even") << "Long" << V(QStringLiteral("2.5")) << qint64(2) << "";
        QTest::newRow("text to Long") << "Long" << V(QStringLiteral("red")) << qint64(0) << "Type mismatch";
        QTest::newRow("Long overflow") << "Long" << V(QStringLiteral("2147483648")) << qint64(0) << "Overflow";
        QTest::newRow("colour to Integer") << "Integer" << colorValue(0x80000012) << qint64(0) << "Overflow";
        QTest::newRow("Integer 1 is True") << "Boolean" << V(std::int16_t(1)) << qint64(-1) << "";
        QTest::newRow("other text") << "Boolean" << V(QStringLiteral("yes")) << qint64(0) << "Type mismatch";
        QTest::newRow("invalid colour") << "Color" << V(-1) << qint64(0) << "Invalid property value";
        QTest::newRow("text to Font") << "Font" << V(QStringLiteral("Arial")) << qint64(0) << "Type mismatch: String \"Arial\" cannot be converted to Font";
        // clang-format on
    }
    void conversions() {
        QFETCH(QString, to);
        QFETCH(PropertyValue, value);
        QFETCH(QString, error);
        try {
            const qint64 got = to == "Long"      ? toLong(value)
                               : to == "Integer" ? toInteger(value)
                               : to == "Boolean" ? toBoolean(value)
                               : to == "Color"   ? toColor(value)
                                                 : qint64(!toFont(value));
            QVERIFY2(error.isEmpty(), "no error");
            QTEST(got, "expected");
        } catch (const RuntimeError& e) {
            QVERIFY2(!error.isEmpty() && e.message().startsWith(error), qPrintable(e.message()));
        }
    }

    void readsAGoodFile() {
        const FormFile f = readFormFile(m_form);
        QCOMPARE(f.formName, QStringLiteral("frmMsgGen"));
        const StoredControl* c = f.find(QStringLiteral("CMDPREVIEW"));
        QVERIFY(c && f.controls.size() == 2);
        QCOMPARE(QRect(c->left, c->top, c->width, c->height), QRect(990, 3510, 3840, 420));
        const PropertyBag& p = c->properties;
        QCOMPARE(toColor(p.ReadProperty(QStringLiteral("BorderColor"), 0)), 0x80000008u);
        QCOMPARE(*toFont(p.ReadProperty(QStringLiteral("Font"), {})), StdFont{});
        QCOMPARE(toPicture(p.ReadProperty(QStringLiteral("Picture"), {}))->image().size(),
                 QSize(16, 16));
        QCOMPARE(toString(p.ReadProperty(QStringLiteral("Caption"), {})), "Проба");
        const PropertyBag& e = f.find(QStringLiteral("cmdExit"))->properties;
        QCOMPARE(toPicture(e.ReadProperty(QStringLiteral("picture"), {}))->handle(), 0);
        QCOMPARE(std::get<std::int32_t>(e.ReadProperty(QStringLiteral("maskcolor"), 0)), -1);
        QVERIFY_THROWS_EXCEPTION(FormFileError, readFormFile(m_dir.filePath("nothing.json")));
    }

    void damagedFiles_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("says");
        // clang-format off
        QTest::newRow("bad JSON") << QByteArray(goodJson).left(200) << "" << "" << "not valid JSON";
        QTest::newRow("control without name") << edited("\"name\": \"cmdExit\",", "") << "" << "" << "control 1 needs a name";
        QTest::newRow("duplicate names") << edited("\"cmdExit\"", "\"CMDPREVIEW\"") << "CMDPREVIEW" << "" << "two controls";
        QTest::newRow("misspelt field") << edited("\"width\": 3840", "\"widht\": 3840") << "cmdPreview" << "" << "\"widht\"";
        QTest::newRow("bare value") << edited("{\"string\": \"Проба\"}", "\"Проба\"") << "cmdPreview" << "caption" << "one type key";
        QTest::newRow("unknown value type") << edited("{\"long\"", "{\"colour\"") << "cmdPreview" << "bordercolor" << "unknown value type \"colour\"";
        QTest::newRow("long out of range") << edited("2147483656", "4294967296") << "cmdPreview" << "bordercolor" << "from -2147483648 to 4294967295";
        QTest::newRow("font size zero") << edited("8.25", "0") << "cmdPreview" << "font" << "size";
        QTest::newRow("missing picture file") << edited("cmdPreview.png", "missing.png") << "cmdPreview" << "picture" << "not found";
        QTest::newRow("corrupt PNG") << edited("cmdPreview.png", "corrupt.png") << "cmdPreview" << "picture" << "not a readable PNG";
        QTest::newRow("absolute picture path") << edited("cmdPreview.png", "/etc/hostname") << "cmdPreview" << "picture" << "relative";
        QTest::newRow("property stored twice") << edited("\"MaskColor\"", "\"toggle\"") << "cmdExit" << "toggle" << "stored twice";
        // clang-format on
    }
    void damagedFiles() {
        QFETCH(QByteArray, json);
        QFETCH(QString, control);
        QFETCH(QString, property);
        QFETCH(QString, says);
        try {
            parseFormFile(json, m_form);
            QFAIL("no error");
        } catch (const FormFileError& e) {
            const QString msg = e.message();
            QCOMPARE(QStringList({e.file(), e.control(), e.property()}),
                     QStringList({m_form, control, property}));
            QVERIFY2(msg.contains(m_form) && msg.contains(says), qPrintable(msg));
            QVERIFY2(control.isEmpty() || msg.contains("control \"" + control + '"'),
                     qPrintable(msg));
            QVERIFY2(property.isEmpty() || msg.contains("property \"" + property + '"'),
                     qPrintable(msg));
        }
    }

    void mutatedFilesGiveFormOrError() {
        // Every prefix of the good file and a few random byte edits; fuzz/ does the long runs.
        const QByteArray good(goodJson);
        QRandomGenerator rng(20240611);
        int errors = 0;
        for (int i = 0; i < good.size() + 300; ++i) {
            QByteArray b = good.left(i);
            for (int k = i < good.size() ? 0 : 1 + rng.bounded(4); k > 0; --k)
                b[rng.bounded(int(b.size()))] = char(rng.bounded(256));
            try {
                parseFormFile(b, m_form);
            } catch (const FormFileError&) {
                ++errors;
            }
        }
        QVERIFY(errors >= good.size());
    }

private:
    QTemporaryDir m_dir;
    QString m_form; // the form file the pictures are relative to
};

QTEST_MAIN(TestPropertyBag)
#include "tst_propertybag.moc"
