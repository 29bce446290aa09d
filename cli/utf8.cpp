#include "cli/utf8.h"

#include <cstdint>

namespace cli {

namespace {

constexpr bool inRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

} // namespace

Utf8Prefix wellFormedUtf8Prefix(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char lead = s[i];
        if (lead < 0x80) {
            ++i;
            continue;
        }
        // The allowed range of the second byte depends on the lead byte; that is what rules out
        // overlong forms, surrogates and values above U+10FFFF.
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        if (inRange(lead, 0xC2, 0xDF)) {
            length = 2;
        } else if (inRange(lead, 0xE0, 0xEF)) {
            length = 3;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (inRange(lead, 0xF0, 0xF4)) {
            length = 4;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return {i, false};
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k == n)
                return {i, true};
            if (!inRange(s[i + k], k == 1 ? low : 0x80, k == 1 ? high : 0xBF))
                return {i, false};
        }
        i += length;
    }
    return {n, false};
}

std::optional<std::size_t> invalidUtf8Offset(std::string_view bytes) {
    const std::size_t length = wellFormedUtf8Prefix(bytes).length;
    return length == bytes.size() ? std::nullopt : std::optional(length);
}

std::u16string utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char lead = s[i];
        std::uint32_t cp = 0;
        std::size_t length = 1;
        if (lead < 0x80) {
            cp = lead;
        } else if (lead < 0xE0) {
            cp = lead & 0x1Fu;
            length = 2;
        } else if (lead < 0xF0) {
            cp = lead & 0x0Fu;
            length = 3;
        } else {
            cp = lead & 0x07u;
            length = 4;
        }
        for (std::size_t k = 1; k < length && i + k < n; ++k)
            cp = (cp << 6) | (s[i + k] & 0x3Fu);
        i += length;
        if (cp < 0x10000) {
            out.push_back(static_cast<char16_t>(cp));
        } else {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FFu)));
        }
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 3 / 2);
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            if (cp <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00u);
                ++i;
            } else {
                cp = 0xFFFD;
            }
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

} // namespace cli
