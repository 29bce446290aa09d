#include "forms/propertybag.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/platform.h"
#include "forms/text.h"

#include <charconv>
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

std::u16string describe(const PropertyValue& v) {
    constexpr std::size_t shown = 40;
    if (auto s = std::get_if<std::u16string>(&v))
        return u"String \"" + (s->size() > shown ? s->substr(0, shown) + u"..." : *s) + u'"';
    return typeName(v);
}

// The value as read, written exactly: the stored text, or the whole number.
[[noreturn]] void overflow(const PropertyValue& v, std::int64_t n, const char* target) {
    const std::u16string value =
        std::holds_alternative<std::u16string>(v) ? describe(v) : typeName(v) + u' ' + number(n);
    throw RuntimeError(ErrorKind::Overflow,
                       u"Overflow: " + value + u" does not fit in " + ascii(target));
}

[[noreturn]] void mismatch(const PropertyValue& v, const char* target) {
    throw RuntimeError(ErrorKind::TypeMismatch, u"Type mismatch: " + describe(v) +
                                                    u" cannot be converted to " + ascii(target));
}

// A number as the language's conversion functions read text: decimal (rounded half to even) or
// &H hexadecimal / &O octal, which give the 32-bit pattern.
std::optional<double> parseNumber(std::u16string_view text) {
    const std::u16string_view t = trimmed(text);
    std::string a; // only ASCII text can be a number
    for (char16_t c : t) {
        if (c >= 0x80)
            return std::nullopt;
        a += static_cast<char>(c);
    }
    if (a.empty())
        return std::nullopt;
    if (a[0] == '&' && a.size() > 2) {
        const char kind = static_cast<char>(a[1] & ~0x20);
        std::string_view digits = std::string_view(a).substr(2);
        if (digits.back() == '&')
            digits.remove_suffix(1);
        const int base = kind == 'H' ? 16 : kind == 'O' ? 8 : 0;
        if (base == 0 || digits.empty() || digits.size() > (base == 16 ? 8u : 11u))
            return std::nullopt;
        unsigned long long u = 0;
        const auto [end, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), u, base);
        if (ec != std::errc() || end != digits.data() + digits.size() || u > 0xFFFFFFFFull)
            return std::nullopt;
        // &H with more than four digits is a Long; a 16-bit pattern is an Integer.
        if (digits.size() <= 4 && base == 16)
            return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(u)));
        return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(u)));
    }
    const char* first = a.data() + (a[0] == '+' && a.size() > 1 && a[1] != '-' ? 1 : 0);
    double d = 0;
    const auto [end, ec] = std::from_chars(first, a.data() + a.size(), d);
    if (ec != std::errc() || end != a.data() + a.size() || !std::isfinite(d))
        return std::nullopt;
    return d;
}

std::int64_t toWhole(const PropertyValue& v, const char* target, const char* range) {
    if (auto n = numberOf(v))
        return *n;
    if (auto s = std::get_if<std::u16string>(&v)) {
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

std::u16string typeName(const PropertyValue& v) {
    return std::visit(overloaded{
                          [](std::monostate) { return u"Nothing"; },
                          [](std::int32_t) { return u"Long"; },
                          [](std::int16_t) { return u"Integer"; },
                          [](bool) { return u"Boolean"; },
                          [](const std::u16string&) { return u"String"; },
                          [](const FontRef& f) { return f ? u"Font" : u"Nothing"; },
                          [](const PictureRef& p) { return p ? u"Picture" : u"Nothing"; },
                      },
                      v);
}

bool sameValue(const PropertyValue& a, const PropertyValue& b) {
    const auto na = numberOf(a), nb = numberOf(b);
    if (na || nb)
        return na && nb && *na == *nb;
    if (auto sa = std::get_if<std::u16string>(&a)) {
        const auto sb = std::get_if<std::u16string>(&b);
        return sb && *sa == *sb;
    }
    if (std::holds_alternative<std::u16string>(b))
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

std::ptrdiff_t PropertyBag::indexOf(const std::u16string& name) const {
    const auto it = m_index.find(platform::foldCase(name));
    return it == m_index.end() ? -1 : static_cast<std::ptrdiff_t>(it->second);
}

void PropertyBag::reindex() {
    m_index.clear();
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        m_index.emplace(platform::foldCase(m_entries[i].first), i);
}

void PropertyBag::clear() {
    m_entries.clear();
    m_index.clear();
    m_lastRead.clear();
}

PropertyValue PropertyBag::ReadProperty(const std::u16string& name,
                                        const PropertyValue& defaultValue) const {
    const std::ptrdiff_t i = indexOf(name);
    m_lastRead = i < 0 ? name : m_entries[static_cast<std::size_t>(i)].first;
    return i < 0 ? defaultValue : m_entries[static_cast<std::size_t>(i)].second;
}

void PropertyBag::WriteProperty(const std::u16string& name, const PropertyValue& value,
                                const PropertyValue& defaultValue) {
    if (name.empty())
        throw RuntimeError(ErrorKind::InvalidCall, u"Invalid property name: empty");
    if (sameValue(value, defaultValue)) {
        const std::ptrdiff_t i = indexOf(name);
        if (i >= 0) {
            m_entries.erase(m_entries.begin() + i);
            reindex();
        }
        return;
    }
    setRaw(name, value);
}

void PropertyBag::setRaw(const std::u16string& name, const PropertyValue& value) {
    std::u16string key = platform::foldCase(name);
    const auto it = m_index.find(key);
    if (it != m_index.end()) {
        m_entries[it->second].second = value;
        return;
    }
    m_index.emplace(std::move(key), m_entries.size());
    m_entries.emplace_back(name, value);
}

bool PropertyBag::contains(const std::u16string& name) const {
    return indexOf(name) >= 0;
}

std::vector<std::u16string> PropertyBag::names() const {
    std::vector<std::u16string> r;
    r.reserve(m_entries.size());
    for (const auto& e : m_entries)
        r.push_back(e.first);
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
    if (auto s = std::get_if<std::u16string>(&v)) {
        const std::u16string_view t = trimmed(*s);
        const auto is = [&t](std::u16string_view word) {
            return t.size() == word.size() &&
                   std::equal(t.begin(), t.end(), word.begin(),
                              [](char16_t a, char16_t b) { return (a | 0x20) == b; });
        };
        if (is(u"true"))
            return VbTrue;
        if (is(u"false"))
            return VbFalse;
        if (const auto d = parseNumber(t))
            return vbBool(*d != 0);
    }
    mismatch(v, "Boolean");
}

std::u16string toString(const PropertyValue& v) {
    if (auto s = std::get_if<std::u16string>(&v))
        return *s;
    if (auto b = std::get_if<bool>(&v))
        return *b ? u"True" : u"False";
    if (auto n = numberOf(v))
        return number(*n);
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
