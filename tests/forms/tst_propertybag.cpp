#include "forms/formfile.h"
#include "forms/qt/convert.h"
#include "forms/usercontrol.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <sys/stat.h>

using namespace forms;

Q_DECLARE_METATYPE(forms::PropertyValue)

namespace {

using V = PropertyValue;

const char* const goodJson = R"json({"form": "frmMsgGen", "controls": [
  {"name": "cmdPreview", "class": "Alertwright.kxButton", "left": 990, "top": 3510, "width": 3840,
   "height": 420, "properties": {"bordercolor": {"long": 2147483656},
    "font": {"font": {"name": "MS Sans Serif", "size": 8.25, "weight": 400, "charset": 204}},
    "picture": {"picture": "cmdPreview.png"}, "caption": {"string": "Проба"}}},
  {"name": "cmdExit", "class": "Alertwright.kxButton", "left": 0, "top": 0, "width": 0, "height": 0,
   "properties": {"Picture": {"picture": ""}, "maskcolor": {"long": -1}}}]})json";

// The good file with the first occurrence of `from` replaced by `to`.
QByteArray edited(const char* from, const char* to) {
    QByteArray j(goodJson);
    Q_ASSERT(j.contains(from));
    return j.replace(j.indexOf(from), qstrlen(from), to);
}

// Takes in a stored colour the way the button does: read, converted, applied.
struct MaskReader : UserControl {
    MaskReader() : UserControl(nullptr) {}
    void UserControl_ReadProperties(const PropertyBag& b) override {
        setBackColor(toColor(b.ReadProperty(u"MaskColor", 0)));
    }
};

// The error that running `f` gives, if any.
template <class E = FormFileError, class F> std::optional<E> errorOf(F f) {
    try {
        f();
    } catch (const E& e) {
        return e;
    }
    return std::nullopt;
}

} // namespace

class TestPropertyBag : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        // Beside the form: its pictures, a folder, a pipe and links to a device and out.
        const auto at = [this](const char* name) { return m_dir.filePath(QLatin1String(name)); };
        m_form = at("frmMsgGen.json");
        QFile corrupt(at("corrupt.png")), json(m_form);
        QVERIFY(qt::toQImage(PixelImage(16, 16, qRgb(0, 0, 255))).save(at("cmdPreview.png")) &&
                QDir(at(".")).mkdir("folder.png") &&
                ::mkfifo(qPrintable(at("fifo.png")), 0600) == 0 &&
                QFile::link("/dev/null", at("device.png")) &&
                QFile::link(QCoreApplication::applicationFilePath(), at("link.png")) &&
                corrupt.open(QIODevice::WriteOnly) && corrupt.write("\x89PNG\r\n\x1a\nIHDR") &&
                json.open(QIODevice::WriteOnly) && json.write(goodJson));
    }

    void defaultElision_data() {
        QTest::addColumn<PropertyValue>("value");
        QTest::addColumn<PropertyValue>("defaultValue");
        QTest::addColumn<bool>("stored");
        // clang-format off
        QTest::newRow("Boolean False vs Integer 0") << V(false) << V(std::int16_t(0)) << false;
        QTest::newRow("string differs in case") << V(u"KX") << V(u"kx") << true;
        QTest::newRow("empty string vs 0") << V(std::u16string()) << V(0) << true;
        QTest::newRow("font same fields, other object") << V(makeFont()) << V(makeFont()) << false;
        QTest::newRow("font other size") << V(makeFont(u"MS Sans Serif", 10)) << V(makeFont()) << true;
        QTest::newRow("empty picture vs Nothing") << V(makePicture(PixelImage())) << V(std::monostate{}) << false;
        QTest::newRow("pictures, same pixels") << V(makePicture(PixelImage(2, 2, qRgb(1, 2, 3)))) << V(makePicture(PixelImage(2, 2, qRgb(1, 2, 3)))) << false;
        QTest::newRow("pictures, other pixels") << V(makePicture(PixelImage(2, 2, qRgb(1, 2, 3)))) << V(makePicture(PixelImage(2, 2, qRgb(1, 2, 4)))) << true;
    }
    void conversions_data() {
        QTest::addColumn<QString>("to");
        QTest::addColumn<PropertyValue>("value");
        QTest::addColumn<qint64>("expected");
        QTest::addColumn<QString>("error");
        QTest::newRow("hex text") << "Long" << V(u"&H8000000F") << qint64(-2147483633) << "";
        QTest::newRow("half to even") << "Long" << V(u"2.5") << qint64(2) << "";
        QTest::newRow("text to Long") << "Long" << V(u"red") << qint64(0) << "Type mismatch";
        QTest::newRow("Long overflow") << "Long" << V(u"2147483648") << qint64(0) << "Overflow: String \"2147483648\" does not fit in a Long";
        QTest::newRow("colour to Integer") << "Integer" << colorValue(0x80000012) << qint64(0) << "Overflow: Long -2147483630 does not fit";
        QTest::newRow("Integer 1 is True") << "Boolean" << V(std::int16_t(1)) << qint64(-1) << "";
        QTest::newRow("other text") << "Boolean" << V(u"yes") << qint64(0) << "Type mismatch";
        QTest::newRow("invalid colour") << "Color" << V(-1) << qint64(0) << "Invalid property value: &HFFFFFFFF";
        QTest::newRow("text to Font") << "Font" << V(u"Arial") << qint64(0) << "Type mismatch: String \"Arial\" cannot be converted to Font";
        // clang-format on
    }
    void defaultElision() {
        QFETCH(PropertyValue, value);
        QFETCH(PropertyValue, defaultValue);
        PropertyBag bag;
        bag.WriteProperty(u"P", value, defaultValue);
        QTEST(bag.contains(u"p"), "stored");
        QCOMPARE(sameValue(defaultValue, value), !bag.contains(u"p"));
    }

    void conversions() {
        QFETCH(QString, to);
        QFETCH(PropertyValue, value);
        QFETCH(QString, error);
        qint64 got = 0;
        const auto e = errorOf<RuntimeError>([&] {
            got = to == "Long"      ? toLong(value)
                  : to == "Integer" ? toInteger(value)
                  : to == "Boolean" ? toBoolean(value)
                  : to == "Color"   ? toColor(value)
                                    : qint64(!toFont(value));
        });
        QCOMPARE(e ? QString(e->what()).left(error.size()) : QString(), error);
        QTEST(got, "expected");
    }

    void readsAGoodFile() {
        const FormFile f = readFormFile(m_form.toStdU16String());
        const StoredControl* c = f.find(u"CMDPREVIEW");
        QVERIFY(f.formName == u"frmMsgGen" && c && f.controls.size() == 2);
        QCOMPARE(QRect(c->left, c->top, c->width, c->height), QRect(990, 3510, 3840, 420));
        PropertyBag p = c->properties;
        QCOMPARE(toColor(p.ReadProperty(u"BorderColor", 0)), 0x80000008u);
        QCOMPARE(*toFont(p.ReadProperty(u"Font", {})), StdFont{});
        QCOMPARE(toPicture(p.ReadProperty(u"Picture", {}))->width(), 16);
        // Removing keeps the others found; overwriting under another case keeps the spelling.
        p.WriteProperty(u"BORDERCOLOR", 0, 0);
        QVERIFY(toString(p.ReadProperty(u"Caption", {})) == u"Проба");
        p.WriteProperty(u"CAPTION", u"Выход", std::u16string());
        QVERIFY(p.names() == (std::vector<std::u16string>{u"caption", u"font", u"picture"}));
        QVERIFY(toString(p.ReadProperty(u"caption", {})) == u"Выход");
        const PropertyBag& e = f.find(u"cmdExit")->properties;
        QCOMPARE(toPicture(e.ReadProperty(u"picture", {}))->handle(), 0);
        QCOMPARE(std::get<std::int32_t>(e.ReadProperty(u"MaskColor", 0)), -1);
        QCOMPARE(toLong(e.ReadProperty(u"ForeColor", 7)), 7); // not stored: the default
        QVERIFY(errorOf([&] { readFormFile((m_form + "x").toStdU16String()); })->kind() ==
                ErrorKind::FileNotFound);
        QVERIFY(errorOf([&] { readFormFile(m_dir.path().toStdU16String()); })->kind() ==
                ErrorKind::NotARegularFile);
    }

    void damagedFiles_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QString>("says");
        // clang-format off
        QTest::newRow("control without name") << edited("\"name\": \"cmdExit\",", "") << "" << "" << "control 1 needs a name";
        QTest::newRow("duplicate names") << edited("\"cmdExit\"", "\"CMDPREVIEW\"") << "CMDPREVIEW" << "" << "two controls";
        QTest::newRow("misspelt field") << edited("\"width\": 3840", "\"widht\": 3840") << "cmdPreview" << "" << "\"widht\"";
        QTest::newRow("bare value") << edited("{\"string\": \"Проба\"}", "\"Проба\"") << "cmdPreview" << "caption" << "one type key";
        QTest::newRow("unknown value type") << edited("{\"long\"", "{\"colour\"") << "cmdPreview" << "bordercolor" << "unknown value type \"colour\"";
        QTest::newRow("long out of range") << edited("2147483656", "4294967296") << "cmdPreview" << "bordercolor" << "from -2147483648 to 4294967295, found 4294967296";
        QTest::newRow("key twice in a font") << edited("\"weight\"", "\"size\"") << "cmdPreview" << "font" << "\"size\" is given twice";
        QTest::newRow("missing picture file") << edited("cmdPreview.png", "missing.png") << "cmdPreview" << "picture" << "not found";
        QTest::newRow("picture is a folder") << edited("cmdPreview.png", "folder.png") << "cmdPreview" << "picture" << "not a regular file";
        QTest::newRow("picture is a pipe") << edited("cmdPreview.png", "fifo.png") << "cmdPreview" << "picture" << "not a regular file";
        QTest::newRow("picture is a device") << edited("cmdPreview.png", "device.png") << "cmdPreview" << "picture" << "not a regular file";
        QTest::newRow("corrupt PNG") << edited("cmdPreview.png", "corrupt.png") << "cmdPreview" << "picture" << "not a readable PNG";
        QTest::newRow("absolute picture path") << edited("cmdPreview.png", "/etc/hostname") << "cmdPreview" << "picture" << "in the form file's folder";
        QTest::newRow("picture up a folder") << edited("cmdPreview.png", "folder.png/../../cmdPreview.png") << "cmdPreview" << "picture" << "in the form file's folder";
        QTest::newRow("picture linked out") << edited("cmdPreview.png", "link.png") << "cmdPreview" << "picture" << "leads out of the form file's folder";
        QTest::newRow("property twice") << edited("\"maskcolor\"", "\"Picture\"") << "cmdExit" << "Picture" << "the property is given twice";
        QTest::newRow("property twice, other case") << edited("\"maskcolor\"", "\"picture\"") << "cmdExit" << "picture" << "given twice (names ignore letter case)";
        QTest::newRow("&HFFFFFFFF as mask") << QByteArray(goodJson) << "cmdExit" << "maskcolor" << "Invalid property value: &HFFFFFFFF is not a colour";
        QTest::newRow("text under a colour") << edited("{\"long\": -1}", "{\"string\": \"red\"}") << "cmdExit" << "maskcolor" << "Type mismatch: String \"red\" cannot";
        QTest::newRow("no such system colour") << edited("-1}", "2147483679}") << "cmdExit" << "maskcolor" << "&H8000001F is not a colour";
        QTest::newRow("too large") << QByteArray(maxFormFileSize + 1, ' ') << "" << "" << "too large";
        // Cut short anywhere (fuzz/ tries random changes).
        for (int i = 0, n = int(qstrlen(goodJson)); i < n; i += 1 + i % 5)
            QTest::addRow("cut at %d", i) << QByteArray(goodJson).left(i) << "" << "" << "not valid JSON";
        // clang-format on
    }
    void damagedFiles() {
        QFETCH(QByteArray, json);
        QFETCH(QString, control);
        QFETCH(QString, property);
        QFETCH(QString, says);
        // The file as the reader takes it, then as its controls take their values.
        const std::u16string form = m_form.toStdU16String();
        const auto e = errorOf([&] {
            for (const StoredControl& stored : parseFormFile(json.toStdString(), form).controls)
                readStoredControl(*std::make_unique<MaskReader>(), stored, form);
        });
        QVERIFY(e);
        const QString message(e->what()), userMessage = QString::fromStdU16String(e->userMessage());
        QVERIFY(message.contains(says));
        // The error, its English detail and the user's Russian sentence say where the fault is.
        for (const auto& [en, ru, part, got] :
             {std::tuple{"Form file \"", "файл формы «", m_form, e->file()},
              {"control \"", "элемент «", control, e->control()},
              {"property \"", "свойство «", property, e->property()}})
            QVERIFY2(QString::fromStdU16String(got) == part &&
                         (part.isEmpty() || (message.contains(en + part + '"') &&
                                             userMessage.contains(ru + part + "»"))),
                     qPrintable(message + '\n' + userMessage));
    }

private:
    QTemporaryDir m_dir;
    QString m_form; // the form file the pictures are relative to
};

QTEST_MAIN(TestPropertyBag)
#include "tst_propertybag.moc"
