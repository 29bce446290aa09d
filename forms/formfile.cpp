#include "forms/formfile.h"

#include "forms/qt/convert.h"
#include "forms/usercontrol.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>
#include <cmath>

namespace forms {

namespace {

QString composeMessage(const QString& message, const QString& file, const QString& control,
                       const QString& property) {
    QString where = QStringLiteral("Form file \"%1\"").arg(file);
    if (!control.isEmpty())
        where += QStringLiteral(", control \"%1\"").arg(control);
    if (!property.isEmpty())
        where += QStringLiteral(", property \"%1\"").arg(property);
    return where + QStringLiteral(": ") + message;
}

// Where in the file a reader is; every error it raises says so.
struct Context {
    QString file;
    QString control;
    QString property;

    [[noreturn]] void fail(const QString& message,
                           ErrorKind kind = ErrorKind::BadFileFormat) const {
        throw FormFileError(kind, message, file, control, property);
    }
};

QString jsonTypeName(const QJsonValue& v) {
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a string");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("missing");
}

// A number as the file has it: whole numbers digit for digit, others as the shortest text that
// reads back the same.
QString exactNumber(const QJsonValue& v) {
    const QVariant n = v.toVariant();
    if (n.typeId() == QMetaType::LongLong)
        return QString::number(n.toLongLong());
    return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
}

QString found(const QJsonValue& v) {
    return v.isDouble() ? exactNumber(v) : jsonTypeName(v);
}

// A whole number within [lo, hi], or an error naming the field.
qint64 wholeNumber(const Context& cx, const QJsonValue& v, const QString& field, qint64 lo,
                   qint64 hi) {
    if (!v.isDouble())
        cx.fail(
            QStringLiteral("\"%1\" must be a whole number, found %2").arg(field, jsonTypeName(v)));
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < double(lo) || d > double(hi))
        cx.fail(QStringLiteral("\"%1\" must be a whole number from %2 to %3, found %4")
                    .arg(field)
                    .arg(lo)
                    .arg(hi)
                    .arg(exactNumber(v)));
    return static_cast<qint64>(d);
}

void checkKeys(const Context& cx, const QJsonObject& o, const QStringList& allowed,
               const QString& what) {
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!allowed.contains(it.key()))
            cx.fail(QStringLiteral("unknown field \"%1\" in %2").arg(it.key(), what));
}

FontRef readFont(const Context& cx, const QJsonValue& v) {
    if (!v.isObject())
        cx.fail(QStringLiteral("a font must be an object, found %1").arg(jsonTypeName(v)));
    const QJsonObject o = v.toObject();
    checkKeys(cx, o,
              {QStringLiteral("name"), QStringLiteral("size"), QStringLiteral("weight"),
               QStringLiteral("italic"), QStringLiteral("underline"),
               QStringLiteral("strikethrough"), QStringLiteral("charset")},
              QStringLiteral("the font"));
    StdFont f;
    const QJsonValue name = o.value(QLatin1String("name"));
    if (!name.isString() || name.toString().trimmed().isEmpty())
        cx.fail(QStringLiteral("the font needs a face name (\"name\", a non-empty string)"));
    f.name = name.toString().toStdU16String();
    const QJsonValue size = o.value(QLatin1String("size"));
    if (!size.isDouble() || !std::isfinite(size.toDouble()) || size.toDouble() <= 0 ||
        size.toDouble() > 2048)
        cx.fail(QStringLiteral("the font needs a size in points (\"size\", a number above 0 and "
                               "at most 2048), found %1")
                    .arg(found(size)));
    f.size = static_cast<float>(size.toDouble());
    if (o.contains(QLatin1String("weight")))
        f.weight = static_cast<std::int16_t>(
            wholeNumber(cx, o.value(QLatin1String("weight")), QStringLiteral("weight"), 0, 1000));
    for (auto [key, field] :
         {std::pair{"italic", &StdFont::italic}, std::pair{"underline", &StdFont::underline},
          std::pair{"strikethrough", &StdFont::strikethrough}}) {
        if (!o.contains(QLatin1String(key)))
            continue;
        const QJsonValue b = o.value(QLatin1String(key));
        if (!b.isBool())
            cx.fail(QStringLiteral("\"%1\" of the font must be true or false, found %2")
                        .arg(QLatin1String(key), jsonTypeName(b)));
        f.*field = b.toBool();
    }
    if (o.contains(QLatin1String("charset")))
        f.charset = static_cast<std::int16_t>(
            wholeNumber(cx, o.value(QLatin1String("charset")), QStringLiteral("charset"), 0, 255));
    return std::make_shared<StdFont>(f);
}

QString withSlash(const QString& folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

PictureRef readPicture(const Context& cx, const QJsonValue& v, const QString& formPath) {
    if (!v.isString())
        cx.fail(QStringLiteral("a picture must be a PNG file name (a string), found %1")
                    .arg(jsonTypeName(v)));
    const QString rel = v.toString();
    if (rel.isEmpty())
        return makePicture(PixelImage()); // an empty picture, handle 0
    // A form names only its own pictures: whatever else the machine holds stays out of reach.
    const QString folder = QDir::cleanPath(QFileInfo(formPath).absolutePath());
    const QString path = QDir::cleanPath(folder + QLatin1Char('/') + rel);
    if (QDir::isAbsolutePath(rel) || rel.startsWith(QLatin1Char(':')) ||
        !path.startsWith(withSlash(folder)))
        cx.fail(QStringLiteral("picture \"%1\" must be a file in the form file's folder, named "
                               "relative to it")
                    .arg(rel),
                ErrorKind::OutsideFolder);
    const QFileInfo file(path);
    if (!file.exists())
        cx.fail(QStringLiteral("picture file \"%1\" not found").arg(path), ErrorKind::FileNotFound);
    // A device or a pipe under a picture's name would block or never end.
    if (!file.isFile())
        cx.fail(QStringLiteral("picture \"%1\" is not a regular file").arg(path),
                ErrorKind::NotARegularFile);
    const QString real = file.canonicalFilePath();
    if (!real.startsWith(withSlash(QFileInfo(folder).canonicalFilePath())))
        cx.fail(QStringLiteral("picture \"%1\" leads out of the form file's folder, to \"%2\"")
                    .arg(path, real),
                ErrorKind::OutsideFolder);
    QImageReader reader(path, "png");
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull())
        cx.fail(QStringLiteral("picture file \"%1\" is not a readable PNG image: %2")
                    .arg(path, reader.errorString()),
                ErrorKind::InvalidPicture);
    return makePicture(qt::fromQImage(image));
}

PropertyValue readValue(const Context& cx, const QJsonValue& v, const QString& formPath) {
    if (!v.isObject())
        cx.fail(QStringLiteral("a property value must be an object with one type key, found %1")
                    .arg(jsonTypeName(v)));
    const QJsonObject o = v.toObject();
    if (o.size() != 1)
        cx.fail(QStringLiteral("a property value must have exactly one type key "
                               "(long, integer, boolean, string, font, picture), found %1")
                    .arg(o.size()));
    const QString type = o.begin().key();
    const QJsonValue x = o.begin().value();
    if (type == QLatin1String("long")) {
        // Colours are written as their unsigned pattern (2147483656 for 0x80000008).
        const qint64 n = wholeNumber(cx, x, type, -2147483648LL, 4294967295LL);
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
    }
    if (type == QLatin1String("integer"))
        return static_cast<std::int16_t>(wholeNumber(cx, x, type, -32768, 32767));
    if (type == QLatin1String("boolean")) {
        if (!x.isBool())
            cx.fail(
                QStringLiteral("\"boolean\" must be true or false, found %1").arg(jsonTypeName(x)));
        return x.toBool();
    }
    if (type == QLatin1String("string")) {
        if (!x.isString())
            cx.fail(QStringLiteral("\"string\" must be a string, found %1").arg(jsonTypeName(x)));
        return x.toString();
    }
    if (type == QLatin1String("font"))
        return readFont(cx, x);
    if (type == QLatin1String("picture"))
        return readPicture(cx, x, formPath);
    cx.fail(QStringLiteral("unknown value type \"%1\" (expected long, integer, boolean, string, "
                           "font or picture)")
                .arg(type));
}

// Names of forms and controls (a control array element carries its index: "optIcon(2)");
// class names may be qualified ("Alertwright.kxButton").
bool isIdentifier(const QString& s) {
    static const QRegularExpression re(
        QStringLiteral("^\\p{L}[\\p{L}\\p{N}_]{0,254}(\\(\\d{1,5}\\))?$"));
    return re.match(s).hasMatch();
}

bool isClassName(const QString& s) {
    static const QRegularExpression re(
        QStringLiteral("^\\p{L}[\\p{L}\\p{N}_]{0,254}(\\.\\p{L}[\\p{L}\\p{N}_]{0,254})*$"));
    return re.match(s).hasMatch();
}

StoredControl readControl(Context cx, const QJsonValue& v, int index, const QString& formPath) {
    if (!v.isObject())
        cx.fail(QStringLiteral("control %1 must be an object, found %2")
                    .arg(index)
                    .arg(jsonTypeName(v)));
    const QJsonObject o = v.toObject();
    const QJsonValue name = o.value(QLatin1String("name"));
    if (!name.isString() || !isIdentifier(name.toString()))
        cx.fail(QStringLiteral("control %1 needs a name (\"name\", an identifier)").arg(index));
    StoredControl c;
    c.name = name.toString();
    cx.control = c.name;
    checkKeys(cx, o,
              {QStringLiteral("name"), QStringLiteral("class"), QStringLiteral("left"),
               QStringLiteral("top"), QStringLiteral("width"), QStringLiteral("height"),
               QStringLiteral("properties")},
              QStringLiteral("the control"));
    const QJsonValue cls = o.value(QLatin1String("class"));
    if (!cls.isString() || !isClassName(cls.toString()))
        cx.fail(QStringLiteral("the control needs a class name (\"class\", for example "
                               "\"Alertwright.kxButton\")"));
    c.className = cls.toString();
    constexpr qint64 maxTwips = 16777215;
    for (auto [key, field, lo] : {std::tuple{"left", &StoredControl::left, -maxTwips},
                                  std::tuple{"top", &StoredControl::top, -maxTwips},
                                  std::tuple{"width", &StoredControl::width, qint64(0)},
                                  std::tuple{"height", &StoredControl::height, qint64(0)}}) {
        const QJsonValue x = o.value(QLatin1String(key));
        if (x.isUndefined())
            cx.fail(QStringLiteral("the control needs \"%1\" (twips)").arg(QLatin1String(key)));
        c.*field = static_cast<int>(wholeNumber(cx, x, QLatin1String(key), lo, maxTwips));
    }
    const QJsonValue props = o.value(QLatin1String("properties"));
    if (props.isUndefined())
        return c;
    if (!props.isObject())
        cx.fail(
            QStringLiteral("\"properties\" must be an object, found %1").arg(jsonTypeName(props)));
    const QJsonObject po = props.toObject();
    for (auto it = po.begin(); it != po.end(); ++it) {
        cx.property = it.key();
        if (it.key().isEmpty())
            cx.fail(QStringLiteral("a property needs a name"));
        if (c.properties.contains(it.key()))
            cx.fail(QStringLiteral("the property is given twice (names ignore letter case)"),
                    ErrorKind::GivenTwice);
        c.properties.setRaw(it.key(), readValue(cx, it.value(), formPath));
    }
    return c;
}

// One step into a JSON document: a key of an object, or a position in an array.
struct JsonStep {
    QString key;
    qsizetype index = -1;
};

// The path to the first key given twice in one object of a well-formed JSON text, or an empty
// path. Needed because the JSON reader keeps only the last of such keys, silently.
QList<JsonStep> firstRepeatedKey(const QByteArray& json) {
    struct Open {
        bool object;
        bool atKey;
        JsonStep at; // the member being read
        QSet<QString> keys;
    };
    QList<Open> open;
    const char* p = json.constData();
    const char* const end = p + json.size();
    while (p < end) {
        switch (*p) {
        case '{':
        case '[':
            open.append({*p == '{', *p == '{', {QString(), *p == '{' ? -1 : 0}, {}});
            break;
        case '}':
        case ']':
            if (!open.isEmpty())
                open.removeLast();
            break;
        case ',':
            if (open.isEmpty())
                break;
            if (open.last().object)
                open.last().atKey = true;
            else
                ++open.last().at.index;
            break;
        case '"': {
            const char* const start = p++;
            bool escaped = false;
            for (; p < end && *p != '"'; ++p)
                if (*p == '\\' && p + 1 < end) {
                    escaped = true;
                    ++p;
                }
            if (p == end)
                return {}; // cut short: not JSON the reader took
            if (open.isEmpty() || !open.last().atKey)
                break;
            Open& o = open.last();
            o.atKey = false;
            const QByteArray raw(start, p - start + 1);
            o.at.key = escaped ? QJsonDocument::fromJson('[' + raw + ']').array().at(0).toString()
                               : QString::fromUtf8(raw.mid(1, raw.size() - 2));
            if (o.keys.contains(o.at.key)) {
                QList<JsonStep> path;
                for (const Open& step : open)
                    path.append(step.at);
                return path;
            }
            o.keys.insert(o.at.key);
            break;
        }
        default: // ':', white space, numbers, true, false, null
            break;
        }
        ++p;
    }
    return {};
}

// Names the first key given twice: at the top, in a control, or in one of its properties.
void refuseRepeatedKeys(Context cx, const QByteArray& json, const QJsonObject& root) {
    const QList<JsonStep> path = firstRepeatedKey(json);
    if (path.isEmpty())
        return;
    const bool inControl =
        path.size() >= 3 && path[0].key == QLatin1String("controls") && path[1].index >= 0;
    if (inControl) {
        const QJsonValue name = root.value(QLatin1String("controls"))
                                    .toArray()
                                    .at(path[1].index)
                                    .toObject()
                                    .value(QLatin1String("name"));
        cx.control =
            name.isString() ? name.toString() : QStringLiteral("control %1").arg(path[1].index);
    }
    if (inControl && path.size() >= 4 && path[2].key == QLatin1String("properties")) {
        cx.property = path[3].key;
        if (path.size() == 4)
            cx.fail(QStringLiteral("the property is given twice"), ErrorKind::GivenTwice);
    }
    cx.fail(QStringLiteral("\"%1\" is given twice").arg(path.last().key), ErrorKind::GivenTwice);
}

} // namespace

FormFileError::FormFileError(const QString& message, const QString& file, const QString& control,
                             const QString& property)
    : FormFileError(ErrorKind::BadFileFormat, message, file, control, property) {}

FormFileError::FormFileError(ErrorKind kind, const QString& message, const QString& file,
                             const QString& control, const QString& property)
    : RuntimeError(kind, composeMessage(message, file, control, property).toStdU16String()),
      m_file(file), m_control(control), m_property(property) {}

FormFileError::FormFileError(const RuntimeError& cause, const QString& file, const QString& control,
                             const QString& property)
    : FormFileError(cause.kind(), QString::fromStdU16String(cause.message()), file, control,
                    property) {}

std::u16string FormFileError::userMessage() const {
    QString where = QStringLiteral("Не удалось прочитать файл формы «%1»").arg(m_file);
    if (!m_control.isEmpty())
        where += QStringLiteral(", элемент «%1»").arg(m_control);
    if (!m_property.isEmpty())
        where += QStringLiteral(", свойство «%1»").arg(m_property);
    return (where + QStringLiteral(": ")).toStdU16String() + russianPhrase(kind()) + u'.';
}

const StoredControl* FormFile::find(const QString& name) const {
    for (const StoredControl& c : controls)
        if (c.name.compare(name, Qt::CaseInsensitive) == 0)
            return &c;
    return nullptr;
}

FormFile parseFormFile(const QByteArray& json, const QString& path) {
    Context cx{path, {}, {}};
    if (json.size() > maxFormFileSize)
        cx.fail(QStringLiteral("is too large to be a form file (more than %1 bytes)")
                    .arg(maxFormFileSize),
                ErrorKind::FileTooLarge);
    QJsonParseError err;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &err);
    if (err.error != QJsonParseError::NoError)
        cx.fail(QStringLiteral("not valid JSON at offset %1: %2")
                    .arg(err.offset)
                    .arg(err.errorString()));
    if (!doc.isObject())
        cx.fail(QStringLiteral("the file must hold one JSON object"));
    const QJsonObject root = doc.object();
    refuseRepeatedKeys(cx, json, root);
    checkKeys(cx, root, {QStringLiteral("form"), QStringLiteral("controls")},
              QStringLiteral("the form"));
    const QJsonValue form = root.value(QLatin1String("form"));
    if (!form.isString() || !isIdentifier(form.toString()))
        cx.fail(QStringLiteral("the form needs a name (\"form\", an identifier)"));
    FormFile f;
    f.formName = form.toString();
    const QJsonValue controls = root.value(QLatin1String("controls"));
    if (!controls.isArray())
        cx.fail(
            QStringLiteral("the form needs a list of controls (\"controls\", an array), found %1")
                .arg(jsonTypeName(controls)));
    const QJsonArray list = controls.toArray();
    QSet<QString> seen;
    for (qsizetype i = 0; i < list.size(); ++i) {
        StoredControl c = readControl(cx, list.at(i), static_cast<int>(i), path);
        if (seen.contains(c.name.toLower())) {
            Context dup = cx;
            dup.control = c.name;
            dup.fail(QStringLiteral("two controls have this name (names ignore letter case)"),
                     ErrorKind::GivenTwice);
        }
        seen.insert(c.name.toLower());
        f.controls.append(std::move(c));
    }
    return f;
}

FormFile readFormFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        throw FormFileError(ErrorKind::FileNotFound, QStringLiteral("not found"), path);
    if (!info.isFile())
        throw FormFileError(ErrorKind::NotARegularFile, QStringLiteral("is not a regular file"),
                            path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FormFileError(ErrorKind::FileAccess,
                            QStringLiteral("cannot be read: %1").arg(file.errorString()), path);
    // One byte more than the largest admitted, so that parseFormFile sees a file too large.
    return parseFormFile(file.read(maxFormFileSize + 1), path);
}

void readStoredControl(UserControl& control, const StoredControl& stored, const QString& file) {
    const PropertyBag& bag = stored.properties;
    try {
        control.ReadFrom(bag);
    } catch (const FormFileError&) {
        throw;
    } catch (const RuntimeError& e) {
        throw FormFileError(e, file, stored.name, bag.lastRead());
    }
    try {
        control.placeTwips(stored.left, stored.top, stored.width, stored.height);
    } catch (const RuntimeError& e) {
        throw FormFileError(e, file, stored.name);
    }
}

} // namespace forms
