#include "forms/propertybag.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/qt/convert.h"

#include <cmath>
#include <limits>
#include <optional>

namespace forms {

namespace {

template <class... Ts> struct overloaded : Ts... { using Ts::operator()...; };
// Clang before 17 has no aggregate deduction.
template <class... Ts> overloaded(Ts...) -> overloaded<Ts...>;

bool isNothing(const PropertyValue& v) {
    if (std::holds_alternative<std::monostate>(v))
        return true;
    if (auto f = std::get_if<FontRef>(&v))
        return !*f;
    if (auto p = std::get_if<PictureRef>(&v))
        return !*p;
    return false;
}

// Integer, Long and Boolean (True is -1) compare as numbers.
std::optional<std::int64_t> numberOf(const PropertyValue& v) {
    if (auto i = std::get_if<std::int32_t>(&v))
        return *i;
    if (auto i = std::get_if<std::int16_t>(&v))
        return *i;
    if (auto b = std::get_if<bool>(&v))
        return *b ? -1 : 0;
    return std::nullopt;
}

bool isPictureLike(const PropertyValue& v) {
    return std::holds_alternative<PictureRef>(v) || std::holds_alternative<std::monostate>(v);
}

QString describe(const PropertyValue& v) {
    constexpr qsizetype shown = 40;
    if (auto s = std::get_if<QString>(&v))
        return QStringLiteral("String \"%1\"")
            .arg(s->size() > shown ? s->left(shown) + QStringLiteral("...") : *s);
    return typeName(v);
}

// The value as read, written exactly: the stored text, or the whole number.
[[noreturn]] void overflow(const PropertyValue& v, std::int64_t n, const char* target) {
    const QString value = std::holds_alternative<QString>(v)
                              ? describe(v)
                              : QStringLiteral("%1 %2").arg(typeName(v)).arg(n);
    throw qt::runtimeError(
        ErrorKind::Overflow,
        QStringLiteral("Overflow: %1 does not fit in %2").arg(value, QLatin1String(target)));
}

[[noreturn]] void mismatch(const PropertyValue& v, const char* target) {
    throw qt::runtimeError(ErrorKind::TypeMismatch,
                           QStringLiteral("Type mismatch: %1 cannot be converted to %2")
                               .arg(describe(v), QLatin1String(target)));
}

// A number as the language's conversion functions read text: decimal (rounded half to even) or
// &H hexadecimal / &O octal, which give the 32-bit pattern.
std::optional<double> parseNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    if (t.startsWith(QLatin1Char('&')) && t.size() > 2) {
        const QChar kind = t.at(1).toUpper();
        QString digits = t.mid(2);
        if (digits.endsWith(QLatin1Char('&')))
            digits.chop(1);
        const int base = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (base == 0 || digits.isEmpty() || digits.size() > (base == 16 ? 8 : 11))
            return std::nullopt;
        bool ok = false;
        const qulonglong u = digits.toULongLong(&ok, base);
        if (!ok || u > 0xFFFFFFFFull)
            return std::nullopt;
        // &H with more than four digits is a Long; a 16-bit pattern is an Integer.
        if (digits.size() <= 4 && base == 16)
            return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(u)));
        return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(u)));
    }
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

std::int64_t toWhole(const PropertyValue& v, const char* target, const char* range) {
    if (auto n = numberOf(v))
        return *n;
    if (auto s = std::get_if<QString>(&v)) {
        const auto d = parseNumber(*s);
        if (!d)
            mismatch(v, target);
        if (std::fabs(*d) > 9.0e18)
            overflow(v, 0, range);
        return static_cast<std::int64_t>(std::nearbyint(*d)); // half to even
    }
    mismatch(v, target);
}

} // namespace

QString typeName(const PropertyValue& v) {
    return std::visit(
        overloaded{
            [](std::monostate) { return QStringLiteral("Nothing"); },
            [](std::int32_t) { return QStringLiteral("Long"); },
            [](std::int16_t) { return QStringLiteral("Integer"); },
            [](bool) { return QStringLiteral("Boolean"); },
            [](const QString&) { return QStringLiteral("String"); },
            [](const FontRef& f) { return f ? QStringLiteral("Font") : QStringLiteral("Nothing"); },
            [](const PictureRef& p) {
                return p ? QStringLiteral("Picture") : QStringLiteral("Nothing");
            },
        },
        v);
}

bool sameValue(const PropertyValue& a, const PropertyValue& b) {
    const auto na = numberOf(a), nb = numberOf(b);
    if (na || nb)
        return na && nb && *na == *nb;
    if (auto sa = std::get_if<QString>(&a)) {
        const auto sb = std::get_if<QString>(&b);
        return sb && *sa == *sb;
    }
    if (std::holds_alternative<QString>(b))
        return false;
    // Pictures: both without an image are equal (no object and an empty picture alike).
    if (isPictureLike(a) && isPictureLike(b)) {
        const auto pa = std::get_if<PictureRef>(&a);
        const auto pb = std::get_if<PictureRef>(&b);
        const bool ia = pa && hasImage(*pa), ib = pb && hasImage(*pb);
        if (!ia || !ib)
            return ia == ib;
        return *pa == *pb || (*pa)->image() == (*pb)->image();
    }
    if (isNothing(a) || isNothing(b))
        return isNothing(a) && isNothing(b);
    const auto fa = std::get_if<FontRef>(&a);
    const auto fb = std::get_if<FontRef>(&b);
    if (fa && fb)
        return *fa == *fb || **fa == **fb;
    return false;
}

qsizetype PropertyBag::indexOf(const QString& name) const {
    return m_index.value(name.toCaseFolded(), -1);
}

void PropertyBag::reindex() {
    m_index.clear();
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        m_index.insert(m_entries[i].first.toCaseFolded(), i);
}

void PropertyBag::clear() {
    m_entries.clear();
    m_index.clear();
    m_lastRead.clear();
}

PropertyValue PropertyBag::ReadProperty(const QString& name,
                                        const PropertyValue& defaultValue) const {
    const qsizetype i = indexOf(name);
    m_lastRead = i < 0 ? name : m_entries[i].first;
    return i < 0 ? defaultValue : m_entries[i].second;
}

void PropertyBag::WriteProperty(const QString& name, const PropertyValue& value,
                                const PropertyValue& defaultValue) {
    if (name.isEmpty())
        throw RuntimeError(ErrorKind::InvalidCall, u"Invalid property name: empty");
    if (sameValue(value, defaultValue)) {
        const qsizetype i = indexOf(name);
        if (i >= 0) {
            m_entries.removeAt(i);
            reindex();
        }
        return;
    }
    setRaw(name, value);
}

void PropertyBag::setRaw(const QString& name, const PropertyValue& value) {
    const qsizetype i = indexOf(name);
    if (i >= 0) {
        m_entries[i].second = value;
        return;
    }
    m_index.insert(name.toCaseFolded(), m_entries.size());
    m_entries.append({name, value});
}

bool PropertyBag::contains(const QString& name) const {
    return indexOf(name) >= 0;
}

QStringList PropertyBag::names() const {
    QStringList r;
    r.reserve(m_entries.size());
    for (const auto& e : m_entries)
        r << e.first;
    return r;
}

std::int32_t toLong(const PropertyValue& v) {
    const std::int64_t n = toWhole(v, "Long", "a Long");
    if (n < std::numeric_limits<std::int32_t>::min() ||
        n > std::numeric_limits<std::int32_t>::max())
        overflow(v, n, "a Long");
    return static_cast<std::int32_t>(n);
}

std::int16_t toInteger(const PropertyValue& v) {
    const std::int64_t n = toWhole(v, "Integer", "an Integer");
    if (n < std::numeric_limits<std::int16_t>::min() ||
        n > std::numeric_limits<std::int16_t>::max())
        overflow(v, n, "an Integer");
    return static_cast<std::int16_t>(n);
}

Boolean toBoolean(const PropertyValue& v) {
    if (auto n = numberOf(v))
        return vbBool(*n != 0);
    if (auto s = std::get_if<QString>(&v)) {
        const QString t = s->trimmed();
        if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return VbTrue;
        if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return VbFalse;
        if (const auto d = parseNumber(t))
            return vbBool(*d != 0);
    }
    mismatch(v, "Boolean");
}

QString toString(const PropertyValue& v) {
    if (auto s = std::get_if<QString>(&v))
        return *s;
    if (auto b = std::get_if<bool>(&v))
        return *b ? QStringLiteral("True") : QStringLiteral("False");
    if (auto n = numberOf(v))
        return QString::number(*n);
    mismatch(v, "String");
}

FontRef toFont(const PropertyValue& v) {
    if (auto f = std::get_if<FontRef>(&v))
        return *f;
    if (std::holds_alternative<std::monostate>(v))
        return nullptr;
    mismatch(v, "Font");
}

PictureRef toPicture(const PropertyValue& v) {
    if (auto p = std::get_if<PictureRef>(&v))
        return *p;
    if (std::holds_alternative<std::monostate>(v))
        return nullptr;
    mismatch(v, "Picture");
}

OleColor toColor(const PropertyValue& v) {
    const OleColor c = static_cast<OleColor>(toLong(v));
    checkColor(c);
    return c;
}

PropertyValue colorValue(OleColor c) {
    return static_cast<std::int32_t>(c);
}

} // namespace forms
