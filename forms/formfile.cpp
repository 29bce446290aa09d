#include "forms/formfile.h"

#include "forms/platform.h"
#include "forms/text.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <system_error>
#include <tuple>

namespace forms {

namespace {

using Json = nlohmann::json;
namespace fs = std::filesystem;

// Deeper nesting is no form file, and would cost memory for nothing.
constexpr std::size_t maxNesting = 1024;

std::u16string quoted(const std::u16string& s) {
    return u'"' + s + u'"';
}

std::u16string composeMessage(const std::u16string& message, const std::u16string& file,
                              const std::u16string& control, const std::u16string& property) {
    std::u16string where = u"Form file " + quoted(file);
    if (!control.empty())
        where += u", control " + quoted(control);
    if (!property.empty())
        where += u", property " + quoted(property);
    return where + u": " + message;
}

// Where in the file a reader is; every error it raises says so.
struct Context {
    std::u16string file;
    std::u16string control;
    std::u16string property;

    [[noreturn]] void fail(const std::u16string& message,
                           ErrorKind kind = ErrorKind::BadFileFormat) const {
        throw FormFileError(kind, message, file, control, property);
    }
};

const Json* member(const Json& object, const char* key) {
    const auto it = object.find(key);
    return it == object.end() ? nullptr : &*it;
}

std::u16string jsonTypeName(const Json* v) {
    switch (v ? v->type() : Json::value_t::discarded) {
    case Json::value_t::null:
        return u"null";
    case Json::value_t::boolean:
        return u"a boolean";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float:
        return u"a number";
    case Json::value_t::string:
        return u"a string";
    case Json::value_t::array:
        return u"an array";
    case Json::value_t::object:
        return u"an object";
    default:
        return u"missing";
    }
}

// A number as the file has it: whole numbers digit for digit, others as the shortest text that
// reads back the same.
std::u16string exactNumber(const Json& v) {
    if (v.is_number_unsigned())
        return ascii(std::to_string(v.get<std::uint64_t>()));
    if (v.is_number_integer())
        return number(v.get<std::int64_t>());
    char text[32];
    const auto end =
        std::to_chars(text, text + sizeof text, v.get<double>(), std::chars_format::general).ptr;
    return ascii(std::string_view(text, static_cast<std::size_t>(end - text)));
}

std::u16string found(const Json* v) {
    return v && v->is_number() ? exactNumber(*v) : jsonTypeName(v);
}

// A whole number within [lo, hi], or an error naming the field.
std::int64_t wholeNumber(const Context& cx, const Json* v, const std::u16string& field,
                         std::int64_t lo, std::int64_t hi) {
    if (!v || !v->is_number())
        cx.fail(quoted(field) + u" must be a whole number, found " + jsonTypeName(v));
    std::int64_t n = 0;
    bool within = false;
    if (v->is_number_unsigned()) {
        const auto u = v->get<std::uint64_t>();
        within = u <= static_cast<std::uint64_t>(hi);
        n = static_cast<std::int64_t>(u);
    } else if (v->is_number_integer()) {
        n = v->get<std::int64_t>();
        within = n <= hi;
    } else {
        const double d = v->get<double>();
        within = std::isfinite(d) && d == std::floor(d) && d >= double(lo) && d <= double(hi);
        n = within ? static_cast<std::int64_t>(d) : lo;
    }
    if (!within || n < lo)
        cx.fail(quoted(field) + u" must be a whole number from " + number(lo) + u" to " +
                number(hi) + u", found " + exactNumber(*v));
    return n;
}

void checkKeys(const Context& cx, const Json& o, std::initializer_list<std::string_view> allowed,
               const char16_t* what) {
    for (const auto& [key, value] : o.items())
        if (std::find(allowed.begin(), allowed.end(), key) == allowed.end())
            cx.fail(u"unknown field " + quoted(fromUtf8(key)) + u" in " + what);
}

FontRef readFont(const Context& cx, const Json& v) {
    if (!v.is_object())
        cx.fail(u"a font must be an object, found " + jsonTypeName(&v));
    checkKeys(cx, v, {"name", "size", "weight", "italic", "underline", "strikethrough", "charset"},
              u"the font");
    StdFont f;
    const Json* name = member(v, "name");
    if (!name || !name->is_string() || trimmed(fromUtf8(name->get<std::string>())).empty())
        cx.fail(u"the font needs a face name (\"name\", a non-empty string)");
    f.name = fromUtf8(name->get<std::string>());
    const Json* size = member(v, "size");
    const double points = size && size->is_number() ? size->get<double>() : 0;
    if (!std::isfinite(points) || points <= 0 || points > 2048)
        cx.fail(u"the font needs a size in points (\"size\", a number above 0 and at most 2048), "
                u"found " +
                found(size));
    f.size = static_cast<float>(points);
    if (const Json* weight = member(v, "weight"))
        f.weight = static_cast<std::int16_t>(wholeNumber(cx, weight, u"weight", 0, 1000));
    for (auto [key, field] :
         {std::pair{"italic", &StdFont::italic}, std::pair{"underline", &StdFont::underline},
          std::pair{"strikethrough", &StdFont::strikethrough}}) {
        const Json* b = member(v, key);
        if (!b)
            continue;
        if (!b->is_boolean())
            cx.fail(quoted(ascii(key)) + u" of the font must be true or false, found " +
                    jsonTypeName(b));
        f.*field = b->get<bool>();
    }
    if (const Json* charset = member(v, "charset"))
        f.charset = static_cast<std::int16_t>(wholeNumber(cx, charset, u"charset", 0, 255));
    return std::make_shared<StdFont>(f);
}

bool startsWith(const std::u16string& s, const std::u16string& prefix) {
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

std::u16string withSlash(const std::u16string& folder) {
    return !folder.empty() && folder.back() == u'/' ? folder : folder + u'/';
}

// Without "." and "..", with '/' between the parts and none at the end.
std::u16string cleanPath(const fs::path& p) {
    std::u16string s = p.lexically_normal().generic_u16string();
    while (s.size() > 1 && s.back() == u'/')
        s.pop_back();
    return s;
}

bool isResource(const std::u16string& path) {
    return !path.empty() && path.front() == u':';
}

// The folder that holds `path`, absolute.
std::u16string folderOf(const std::u16string& path) {
    if (isResource(path))
        return cleanPath(fs::path(path).parent_path());
    std::error_code ec;
    const fs::path absolute = fs::absolute(fs::path(path), ec);
    return cleanPath((ec ? fs::path(path) : absolute).parent_path());
}

// The bytes of a regular file, at most `limit` of them; nullopt if it cannot be opened.
std::optional<std::string> readFile(const std::u16string& path, std::size_t limit) {
    std::ifstream in(fs::path(path), std::ios::binary);
    if (!in)
        return std::nullopt;
    std::string bytes;
    char chunk[65536];
    while (bytes.size() < limit && in) {
        in.read(chunk, static_cast<std::streamsize>(std::min(sizeof chunk, limit - bytes.size())));
        bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        return std::nullopt;
    return bytes;
}

PictureRef readPicture(const Context& cx, const Json& v, const std::u16string& formPath) {
    if (!v.is_string())
        cx.fail(u"a picture must be a PNG file name (a string), found " + jsonTypeName(&v));
    const std::u16string rel = fromUtf8(v.get<std::string>());
    if (rel.empty())
        return makePicture(PixelImage()); // an empty picture, handle 0
    // A form names only its own pictures: whatever else the machine holds stays out of reach.
    const std::u16string folder = folderOf(formPath);
    const std::u16string path = cleanPath(fs::path(folder + u'/' + rel));
    if (fs::path(rel).has_root_path() || rel.front() == u':' ||
        !startsWith(path, withSlash(folder)))
        cx.fail(u"picture " + quoted(rel) +
                    u" must be a file in the form file's folder, named relative to it",
                ErrorKind::OutsideFolder);
    std::optional<std::string> bytes;
    if (isResource(path)) {
        bytes = platform::readResource(path);
        if (!bytes)
            cx.fail(u"picture file " + quoted(path) + u" not found", ErrorKind::FileNotFound);
    } else {
        std::error_code ec;
        const fs::file_status status = fs::status(fs::path(path), ec);
        if (!fs::exists(status))
            cx.fail(u"picture file " + quoted(path) + u" not found", ErrorKind::FileNotFound);
        // A device or a pipe under a picture's name would block or never end.
        if (!fs::is_regular_file(status))
            cx.fail(u"picture " + quoted(path) + u" is not a regular file",
                    ErrorKind::NotARegularFile);
        const std::u16string real = fs::canonical(fs::path(path), ec).generic_u16string();
        if (ec || !startsWith(real, withSlash(cleanPath(fs::canonical(fs::path(folder), ec)))))
            cx.fail(u"picture " + quoted(path) + u" leads out of the form file's folder, to " +
                        quoted(real),
                    ErrorKind::OutsideFolder);
        bytes = readFile(path, std::numeric_limits<std::size_t>::max());
    }
    platform::DecodedPicture decoded =
        bytes ? platform::decodePicture(*bytes) : platform::DecodedPicture{{}, u"cannot be read"};
    if (decoded.image.isNull())
        cx.fail(u"picture file " + quoted(path) + u" is not a readable PNG image: " + decoded.error,
                ErrorKind::InvalidPicture);
    return makePicture(std::move(decoded.image));
}

PropertyValue readValue(const Context& cx, const Json& v, const std::u16string& formPath) {
    if (!v.is_object())
        cx.fail(u"a property value must be an object with one type key, found " + jsonTypeName(&v));
    if (v.size() != 1)
        cx.fail(u"a property value must have exactly one type key (long, integer, boolean, "
                u"string, font, picture), found " +
                number(static_cast<std::int64_t>(v.size())));
    const std::string& type = v.begin().key();
    const Json& x = v.begin().value();
    const std::u16string type16 = fromUtf8(type);
    if (type == "long") {
        // Colours are written as their unsigned pattern (2147483656 for 0x80000008).
        const std::int64_t n = wholeNumber(cx, &x, type16, -2147483648LL, 4294967295LL);
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(n));
    }
    if (type == "integer")
        return static_cast<std::int16_t>(wholeNumber(cx, &x, type16, -32768, 32767));
    if (type == "boolean") {
        if (!x.is_boolean())
            cx.fail(u"\"boolean\" must be true or false, found " + jsonTypeName(&x));
        return x.get<bool>();
    }
    if (type == "string") {
        if (!x.is_string())
            cx.fail(u"\"string\" must be a string, found " + jsonTypeName(&x));
        return fromUtf8(x.get<std::string>());
    }
    if (type == "font")
        return readFont(cx, x);
    if (type == "picture")
        return readPicture(cx, x, formPath);
    cx.fail(u"unknown value type " + quoted(type16) +
            u" (expected long, integer, boolean, string, font or picture)");
}

// The characters of a name as code points.
std::u32string codePoints(std::u16string_view s) {
    std::u32string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char32_t c = s[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
            s[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
        out += c;
    }
    return out;
}

// A word at i: a letter, then at most 254 letters, numbers or '_'. Moves i past it.
bool word(const std::u32string& s, std::size_t& i) {
    if (i >= s.size() || !platform::isLetter(s[i]))
        return false;
    const std::size_t start = i++;
    while (i < s.size() && (s[i] == U'_' || platform::isLetter(s[i]) || platform::isNumber(s[i])))
        ++i;
    return i - start <= 255;
}

// Names of forms and controls (a control array element carries its index: "optIcon(2)").
bool isIdentifier(const std::u16string& name) {
    const std::u32string s = codePoints(name);
    std::size_t i = 0;
    if (!word(s, i))
        return false;
    if (i == s.size())
        return true;
    if (s[i] != U'(')
        return false;
    std::size_t digits = 0;
    while (++i < s.size() && s[i] >= U'0' && s[i] <= U'9')
        ++digits;
    return digits >= 1 && digits <= 5 && i + 1 == s.size() && s[i] == U')';
}

// Class names may be qualified ("Alertwright.kxButton").
bool isClassName(const std::u16string& name) {
    const std::u32string s = codePoints(name);
    std::size_t i = 0;
    if (!word(s, i))
        return false;
    while (i < s.size())
        if (s[i++] != U'.' || !word(s, i))
            return false;
    return true;
}

StoredControl readControl(Context cx, const Json& v, std::size_t index,
                          const std::u16string& formPath) {
    const std::u16string which = u"control " + number(static_cast<std::int64_t>(index));
    if (!v.is_object())
        cx.fail(which + u" must be an object, found " + jsonTypeName(&v));
    const Json* name = member(v, "name");
    StoredControl c;
    if (name && name->is_string())
        c.name = fromUtf8(name->get<std::string>());
    if (!isIdentifier(c.name))
        cx.fail(which + u" needs a name (\"name\", an identifier)");
    cx.control = c.name;
    checkKeys(cx, v, {"name", "class", "left", "top", "width", "height", "properties"},
              u"the control");
    const Json* cls = member(v, "class");
    if (cls && cls->is_string())
        c.className = fromUtf8(cls->get<std::string>());
    if (!isClassName(c.className))
        cx.fail(u"the control needs a class name (\"class\", for example "
                u"\"Alertwright.kxButton\")");
    constexpr std::int64_t maxTwips = 16777215;
    for (auto [key, field, lo] : {std::tuple{"left", &StoredControl::left, -maxTwips},
                                  std::tuple{"top", &StoredControl::top, -maxTwips},
                                  std::tuple{"width", &StoredControl::width, std::int64_t(0)},
                                  std::tuple{"height", &StoredControl::height, std::int64_t(0)}}) {
        const Json* x = member(v, key);
        if (!x)
            cx.fail(u"the control needs " + quoted(ascii(key)) + u" (twips)");
        c.*field = static_cast<int>(wholeNumber(cx, x, ascii(key), lo, maxTwips));
    }
    const Json* props = member(v, "properties");
    if (!props)
        return c;
    if (!props->is_object())
        cx.fail(u"\"properties\" must be an object, found " + jsonTypeName(props));
    for (const auto& [key, value] : props->items()) {
        cx.property = fromUtf8(key);
        if (key.empty())
            cx.fail(u"a property needs a name");
        if (c.properties.contains(cx.property))
            cx.fail(u"the property is given twice (names ignore letter case)",
                    ErrorKind::GivenTwice);
        c.properties.setRaw(cx.property, readValue(cx, value, formPath));
    }
    return c;
}

// One step into a JSON document: a key of an object, or a position in an array.
struct JsonStep {
    std::string key;
    std::int64_t index = -1;
};

// The parser's own words, after its exception name and position.
std::u16string parserReason(const Json::exception& e) {
    std::string_view what = e.what();
    for (const char* end : {"] ", ": "}) // "[json.exception...] parse error at line 1, column 2: "
        if (const auto at = what.find(end); at != std::string_view::npos)
            what.remove_prefix(at + 2);
    return fromUtf8(what);
}

// Reads the text once without keeping it, for what the parsed document would hide: a key given
// twice in one object (the document keeps only the last, silently), and nesting too deep to be a
// form. A parser callback could see the keys as well, but costs time that grows with the square
// of an object's size.
class JsonScan final : public nlohmann::json_sax<Json> {
public:
    explicit JsonScan(const Context& cx) : m_cx(cx) {}

    bool null() override { return element(); }
    bool boolean(bool) override { return element(); }
    bool number_integer(number_integer_t) override { return element(); }
    bool number_unsigned(number_unsigned_t) override { return element(); }
    bool number_float(number_float_t, const string_t&) override { return element(); }
    bool string(string_t&) override { return element(); }
    bool binary(binary_t&) override { return element(); }
    bool start_object(std::size_t) override { return open(true); }
    bool start_array(std::size_t) override { return open(false); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }
    bool key(string_t& key) override {
        Open& o = m_open.back();
        o.at.key = key;
        if (!o.keys.insert(key).second && m_first.empty())
            for (const Open& step : m_open)
                m_first.push_back(step.at);
        return true;
    }
    bool parse_error(std::size_t position, const std::string&, const Json::exception& e) override {
        m_cx.fail(u"not valid JSON at offset " + number(static_cast<std::int64_t>(position)) +
                  u": " + parserReason(e));
    }

    // The path to the first key given twice, or none.
    const std::vector<JsonStep>& first() const { return m_first; }

private:
    struct Open {
        bool object;
        JsonStep at; // the member or element being read
        std::set<std::string> keys;
    };
    bool element() {
        if (!m_open.empty() && !m_open.back().object)
            ++m_open.back().at.index;
        return true;
    }
    bool open(bool object) {
        element();
        if (m_open.size() >= maxNesting)
            m_cx.fail(u"not valid JSON: nested more than " + number(maxNesting) + u" levels deep");
        m_open.push_back({object, {}, {}});
        return true;
    }
    bool close() {
        m_open.pop_back();
        return true;
    }
    const Context& m_cx;
    std::vector<Open> m_open;
    std::vector<JsonStep> m_first;
};

// Names the first key given twice: at the top, in a control, or in one of its properties.
void refuseRepeatedKeys(Context cx, const std::vector<JsonStep>& path, const Json& root) {
    if (path.empty())
        return;
    const bool inControl = path.size() >= 3 && path[0].key == "controls" && path[1].index >= 0;
    if (inControl) {
        const Json& controls = root.at("controls");
        const auto index = static_cast<std::size_t>(path[1].index);
        const Json* name =
            controls.is_array() && index < controls.size() && controls[index].is_object()
                ? member(controls[index], "name")
                : nullptr;
        cx.control = name && name->is_string() ? fromUtf8(name->get<std::string>())
                                               : u"control " + number(path[1].index);
    }
    if (inControl && path.size() >= 4 && path[2].key == "properties") {
        cx.property = fromUtf8(path[3].key);
        if (path.size() == 4)
            cx.fail(u"the property is given twice", ErrorKind::GivenTwice);
    }
    cx.fail(quoted(fromUtf8(path.back().key)) + u" is given twice", ErrorKind::GivenTwice);
}

} // namespace

FormFileError::FormFileError(const std::u16string& message, const std::u16string& file,
                             const std::u16string& control, const std::u16string& property)
    : FormFileError(ErrorKind::BadFileFormat, message, file, control, property) {}

FormFileError::FormFileError(ErrorKind kind, const std::u16string& message,
                             const std::u16string& file, const std::u16string& control,
                             const std::u16string& property)
    : RuntimeError(kind, composeMessage(message, file, control, property)), m_file(file),
      m_control(control), m_property(property) {}

FormFileError::FormFileError(const RuntimeError& cause, const std::u16string& file,
                             const std::u16string& control, const std::u16string& property)
    : FormFileError(cause.kind(), cause.message(), file, control, property) {}

std::u16string FormFileError::userMessage() const {
    std::u16string where = u"Не удалось прочитать файл формы «" + m_file + u'»';
    if (!m_control.empty())
        where += u", элемент «" + m_control + u'»';
    if (!m_property.empty())
        where += u", свойство «" + m_property + u'»';
    return where + u": " + russianPhrase(kind()) + u'.';
}

const StoredControl* FormFile::find(const std::u16string& name) const {
    const std::u16string folded = platform::foldCase(name);
    for (const StoredControl& c : controls)
        if (platform::foldCase(c.name) == folded)
            return &c;
    return nullptr;
}

FormFile parseFormFile(std::string_view json, const std::u16string& path) {
    Context cx{path, {}, {}};
    if (json.size() > maxFormFileSize)
        cx.fail(u"is too large to be a form file (more than " +
                    number(static_cast<std::int64_t>(maxFormFileSize)) + u" bytes)",
                ErrorKind::FileTooLarge);
    JsonScan scan(cx);
    Json::sax_parse(json.begin(), json.end(), &scan);
    // The scan has refused what is not JSON.
    const Json root = Json::parse(json.begin(), json.end(), nullptr, false);
    if (!root.is_object())
        cx.fail(u"the file must hold one JSON object");
    refuseRepeatedKeys(cx, scan.first(), root);
    checkKeys(cx, root, {"form", "controls"}, u"the form");
    FormFile f;
    const Json* form = member(root, "form");
    if (form && form->is_string())
        f.formName = fromUtf8(form->get<std::string>());
    if (!isIdentifier(f.formName))
        cx.fail(u"the form needs a name (\"form\", an identifier)");
    const Json* controls = member(root, "controls");
    if (!controls || !controls->is_array())
        cx.fail(u"the form needs a list of controls (\"controls\", an array), found " +
                jsonTypeName(controls));
    std::set<std::u16string> seen;
    for (std::size_t i = 0; i < controls->size(); ++i) {
        StoredControl c = readControl(cx, (*controls)[i], i, path);
        if (!seen.insert(platform::foldCase(c.name)).second) {
            Context dup = cx;
            dup.control = c.name;
            dup.fail(u"two controls have this name (names ignore letter case)",
                     ErrorKind::GivenTwice);
        }
        f.controls.push_back(std::move(c));
    }
    return f;
}

FormFile readFormFile(const std::u16string& path) {
    std::optional<std::string> bytes;
    if (isResource(path)) {
        bytes = platform::readResource(path);
        if (!bytes)
            throw FormFileError(ErrorKind::FileNotFound, u"not found", path);
    } else {
        std::error_code ec;
        const fs::file_status status = fs::status(fs::path(path), ec);
        if (!fs::exists(status))
            throw FormFileError(ErrorKind::FileNotFound, u"not found", path);
        if (!fs::is_regular_file(status))
            throw FormFileError(ErrorKind::NotARegularFile, u"is not a regular file", path);
        // One byte more than the largest admitted, so that parseFormFile sees a file too large.
        errno = 0;
        bytes = readFile(path, maxFormFileSize + 1);
        if (!bytes)
            throw FormFileError(
                ErrorKind::FileAccess,
                u"cannot be read: " + fromUtf8(std::generic_category().message(errno)), path);
    }
    return parseFormFile(*bytes, path);
}

} // namespace forms
