#include "forms/text.h"

namespace forms {

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;
        const int tail = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        static constexpr unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
        out += static_cast<char>(lead[tail] | (c >> (6 * tail)));
        for (int k = tail - 1; k >= 0; --k)
            out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return out;
}

std::u16string fromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int tail = b < 0x80                ? 0
                         : b >= 0xC2 && b < 0xE0 ? 1
                         : b >= 0xE0 && b < 0xF0 ? 2
                         : b >= 0xF0 && b < 0xF5 ? 3
                                                 : -1;
        char32_t c = tail <= 0 ? b : b & (0x3F >> tail);
        int k = 1;
        for (; tail > 0 && k <= tail && i + k < text.size(); ++k) {
            const auto t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80)
                break;
            c = (c << 6) | (t & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not characters.
        static constexpr char32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (tail < 0 || k <= tail || c < least[tail] || (c >= 0xD800 && c < 0xE000) ||
            c > 0x10FFFF) {
            out += u'\uFFFD';
            i += tail < 0 ? 1 : k;
            continue;
        }
        i += tail + 1;
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::u16string ascii(std::string_view text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string number(std::int64_t n) {
    return ascii(std::to_string(n));
}

std::u16string_view trimmed(std::u16string_view text) {
    const auto space = [](char16_t c) { return c <= u' ' || c == u'\u00A0'; };
    while (!text.empty() && space(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && space(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace forms
