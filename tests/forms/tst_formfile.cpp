#include "forms/formfile.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace forms;

namespace {

const char* const goodJson = R"json({
  "form": "frmMsgGen",
  "controls": [
    { "name": "cmdPreview", "class": "Alertwright.kxButton",
      "left": 990, "top": 3510, "width": 3840, "height": 420,
      "properties": {
        "bordercolor": {"long": 2147483656},
        "font": {"font": {"name": "MS Sans Serif", "size": 8.25, "weight": 400, "italic": false,
                          "underline": false, "strikethrough": false, "charset": 204}},
        "picture": {"picture": "cmdPreview.png"},
        "caption": {"string": "Проба"} } },
    { "name": "cmdExit", "class": "Alertwright.kxButton",
      "left": 0, "top": 0, "width": 1695, "height": 375,
      "properties": { "Toggle": {"boolean": true}, "Value": {"integer": -1},
                      "Picture": {"picture": ""}, "MaskColor": {"long": -1} } },
    { "name": "optIcon(2)", "class": "OptionButton", "left": 0, "top": 0, "width": 0, "height": 0 }
  ]
})json";

// Replaces the first occurrence of `from` in the good file by `to`.
QByteArray edited(const char* from, const char* to) {
    QByteArray j(goodJson);
    const qsizetype at = j.indexOf(from);
    Q_ASSERT(at >= 0);
    return j.replace(at, qstrlen(from), to);
}

} // namespace

class TestFormFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void readsAGoodFile();
    void damagedFiles_data();
    void damagedFiles();
    void unreadableFile();
    void neverCrashesOnMutatedInput();

private:
    QTemporaryDir m_dir;
    QString m_form; // path of the form file the pictures are relative to
};

void TestFormFile::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_form = m_dir.filePath(QStringLiteral("frmMsgGen.json"));
    QImage icon(16, 16, QImage::Format_ARGB32);
    icon.fill(qRgb(0, 0, 255));
    QVERIFY(icon.save(m_dir.filePath(QStringLiteral("cmdPreview.png")), "PNG"));
    QVERIFY(icon.save(m_dir.filePath(QStringLiteral("bitmap.png")), "BMP"));
    QFile corrupt(m_dir.filePath(QStringLiteral("corrupt.png")));
    QVERIFY(corrupt.open(QIODevice::WriteOnly));
    QFile good(m_dir.filePath(QStringLiteral("cmdPreview.png")));
    QVERIFY(good.open(QIODevice::ReadOnly));
    QByteArray png = good.readAll();
    png.truncate(png.size() / 2); // a PNG cut off in the middle
    corrupt.write(png);
    corrupt.close();
    QFile json(m_form);
    QVERIFY(json.open(QIODevice::WriteOnly));
    json.write(goodJson);
}

void TestFormFile::readsAGoodFile() {
    const FormFile f = readFormFile(m_form);
    QCOMPARE(f.formName, QStringLiteral("frmMsgGen"));
    QCOMPARE(f.controls.size(), 3);
    const StoredControl* c = f.find(QStringLiteral("CMDPREVIEW"));
    QVERIFY(c);
    QCOMPARE(c->className, QStringLiteral("Alertwright.kxButton"));
    QCOMPARE(QRect(c->left, c->top, c->width, c->height), QRect(990, 3510, 3840, 420));
    // Names keep the file's letter case (JSON objects do not keep their order).
    QStringList names = c->properties.names();
    names.sort();
    QCOMPARE(names, (QStringList{"bordercolor", "caption", "font", "picture"}));
    // The colour is stored as its unsigned pattern and read back as the same 32 bits.
    QCOMPARE(toColor(c->properties.ReadProperty(QStringLiteral("BorderColor"), 0)), 0x80000008u);
    const FontRef font = toFont(c->properties.ReadProperty(QStringLiteral("Font"), {}));
    QVERIFY(font);
    QCOMPARE(*font, StdFont{});
    const PictureRef pic = toPicture(c->properties.ReadProperty(QStringLiteral("Picture"), {}));
    QVERIFY(hasImage(pic));
    QCOMPARE(pic->image().size(), QSize(16, 16));
    QCOMPARE(toString(c->properties.ReadProperty(QStringLiteral("Caption"), {})),
             QStringLiteral("Проба"));

    const StoredControl* e = f.find(QStringLiteral("cmdExit"));
    QVERIFY(e);
    QCOMPARE(int(toBoolean(e->properties.ReadProperty(QStringLiteral("toggle"), false))), -1);
    QCOMPARE(std::get<std::int16_t>(e->properties.ReadProperty(QStringLiteral("value"), 0)),
             std::int16_t(-1));
    const PictureRef empty = toPicture(e->properties.ReadProperty(QStringLiteral("picture"), {}));
    QVERIFY(empty && empty->handle() == 0);
    QCOMPARE(std::get<std::int32_t>(e->properties.ReadProperty(QStringLiteral("maskcolor"), 0)),
             -1);
    QVERIFY(f.find(QStringLiteral("optIcon(2)")));
    QVERIFY(!f.find(QStringLiteral("cmdCopy")));
}

void TestFormFile::damagedFiles_data() {
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QString>("says");
    // clang-format off
    QTest::newRow("bad JSON") << QByteArray(goodJson).left(200) << "" << "" << "not valid JSON";
    QTest::newRow("empty file") << QByteArray() << "" << "" << "not valid JSON";
    QTest::newRow("deep nesting") << QByteArray(100000, '[') << "" << "" << "not valid JSON";
    QTest::newRow("not an object") << QByteArray("[1, 2]") << "" << "" << "one JSON object";
    QTest::newRow("missing form name") << edited("\"form\": \"frmMsgGen\",", "") << "" << "" << "\"form\"";
    QTest::newRow("missing controls") << QByteArray(R"({"form": "frmMsgGen"})") << "" << "" << "\"controls\"";
    QTest::newRow("controls not a list") << QByteArray(R"({"form": "f", "controls": {}})") << "" << "" << "an array";
    QTest::newRow("unknown top-level field") << edited("\"form\"", "\"extra\": 1, \"form\"") << "" << "" << "\"extra\"";
    QTest::newRow("control not an object") << QByteArray(R"({"form": "f", "controls": [5]})") << "" << "" << "control 0";
    QTest::newRow("control without name") << edited("\"name\": \"cmdExit\",", "") << "" << "" << "control 1 needs a name";
    QTest::newRow("name not an identifier") << edited("\"cmdExit\"", "\"1 exit\"") << "" << "" << "control 1 needs a name";
    QTest::newRow("duplicate names") << edited("\"cmdExit\"", "\"CMDPREVIEW\"") << "CMDPREVIEW" << "" << "two controls";
    QTest::newRow("misspelt field") << edited("\"width\": 3840", "\"widht\": 3840") << "cmdPreview" << "" << "\"widht\"";
    QTest::newRow("missing class") << edited("\"class\": \"OptionButton\",", "") << "optIcon(2)" << "" << "class";
    QTest::newRow("left as text") << edited("990", "\"990\"") << "cmdPreview" << "" << "\"left\" must be a whole number";
    QTest::newRow("fractional top") << edited("3510", "3510.5") << "cmdPreview" << "" << "\"top\"";
    QTest::newRow("negative width") << edited("1695", "-1") << "cmdExit" << "" << "\"width\"";
    QTest::newRow("properties not an object") << QByteArray(R"({"form": "f", "controls": [{"name": "a", "class": "B", "left": 0, "top": 0, "width": 0, "height": 0, "properties": []}]})") << "a" << "" << "\"properties\"";
    QTest::newRow("bare value") << edited("{\"string\": \"Проба\"}", "\"Проба\"") << "cmdPreview" << "caption" << "one type key";
    QTest::newRow("two type keys") << edited("{\"boolean\": true}", "{\"boolean\": true, \"integer\": 1}") << "cmdExit" << "Toggle" << "exactly one type key";
    QTest::newRow("unknown value type") << edited("{\"long\": 2147483656}", "{\"colour\": 2147483656}") << "cmdPreview" << "bordercolor" << "unknown value type \"colour\"";
    QTest::newRow("text under long") << edited("{\"long\": 2147483656}", "{\"long\": \"red\"}") << "cmdPreview" << "bordercolor" << "whole number";
    QTest::newRow("long out of range") << edited("2147483656", "4294967296") << "cmdPreview" << "bordercolor" << "from -2147483648 to 4294967295";
    QTest::newRow("integer out of range") << edited("{\"integer\": -1}", "{\"integer\": 40000}") << "cmdExit" << "Value" << "from -32768 to 32767";
    QTest::newRow("boolean as number") << edited("{\"boolean\": true}", "{\"boolean\": 1}") << "cmdExit" << "Toggle" << "true or false";
    QTest::newRow("string as number") << edited("{\"string\": \"Проба\"}", "{\"string\": 5}") << "cmdPreview" << "caption" << "must be a string";
    QTest::newRow("font without name") << edited("\"name\": \"MS Sans Serif\",", "") << "cmdPreview" << "font" << "face name";
    QTest::newRow("font size zero") << edited("8.25", "0") << "cmdPreview" << "font" << "size";
    QTest::newRow("font unknown field") << edited("\"weight\": 400", "\"bold\": true") << "cmdPreview" << "font" << "\"bold\"";
    QTest::newRow("font italic as text") << edited("\"italic\": false", "\"italic\": \"no\"") << "cmdPreview" << "font" << "\"italic\"";
    QTest::newRow("font charset too big") << edited("204", "1204") << "cmdPreview" << "font" << "charset";
    QTest::newRow("missing picture file") << edited("cmdPreview.png", "missing.png") << "cmdPreview" << "picture" << "not found";
    QTest::newRow("corrupt PNG") << edited("cmdPreview.png", "corrupt.png") << "cmdPreview" << "picture" << "not a readable PNG";
    QTest::newRow("BMP under a PNG name") << edited("cmdPreview.png", "bitmap.png") << "cmdPreview" << "picture" << "not a readable PNG";
    QTest::newRow("absolute picture path") << edited("cmdPreview.png", "/etc/hostname") << "cmdPreview" << "picture" << "relative";
    QTest::newRow("picture as number") << edited("{\"picture\": \"\"}", "{\"picture\": 3}") << "cmdExit" << "Picture" << "PNG file name";
    QTest::newRow("property stored twice") << edited("\"MaskColor\"", "\"toggle\"") << "cmdExit" << "toggle" << "stored twice";
    // clang-format on
}

void TestFormFile::damagedFiles() {
    QFETCH(QByteArray, json);
    QFETCH(QString, control);
    QFETCH(QString, property);
    QFETCH(QString, says);
    try {
        parseFormFile(json, m_form);
        QFAIL("no error");
    } catch (const FormFileError& e) {
        const QString msg = e.message();
        QCOMPARE(e.file(), m_form);
        QCOMPARE(e.control(), control);
        QCOMPARE(e.property(), property);
        QVERIFY2(msg.contains(m_form), qPrintable(msg));
        if (!control.isEmpty())
            QVERIFY2(msg.contains(QStringLiteral("control \"%1\"").arg(control)), qPrintable(msg));
        if (!property.isEmpty())
            QVERIFY2(msg.contains(QStringLiteral("property \"%1\"").arg(property)),
                     qPrintable(msg));
        QVERIFY2(msg.contains(says), qPrintable(msg));
    }
}

void TestFormFile::unreadableFile() {
    const QString path = m_dir.filePath(QStringLiteral("nothing.json"));
    try {
        readFormFile(path);
        QFAIL("no error");
    } catch (const FormFileError& e) {
        QCOMPARE(e.file(), path);
        QVERIFY(e.message().contains(path));
    }
}

void TestFormFile::neverCrashesOnMutatedInput() {
    // Every prefix of a good file, and random byte edits of it: a form or a FormFileError,
    // nothing else.
    const QByteArray good(goodJson);
    int errors = 0;
    auto attempt = [&](const QByteArray& bytes) {
        try {
            parseFormFile(bytes, m_form);
        } catch (const FormFileError&) {
            ++errors;
        }
    };
    for (qsizetype n = 0; n < good.size(); ++n)
        attempt(good.left(n));
    QRandomGenerator rng(20240611);
    for (int i = 0; i < 3000; ++i) {
        QByteArray b = good;
        const int edits = 1 + int(rng.bounded(4));
        for (int k = 0; k < edits; ++k)
            b[rng.bounded(int(b.size()))] = char(rng.bounded(256));
        attempt(b);
    }
    QVERIFY(errors > good.size() - 2);
}

QTEST_MAIN(TestFormFile)
#include "tst_formfile.moc"
