#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cli {

// How much of `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF): the length of the longest prefix of whole sequences, and whether the rest is the
// start of a sequence that `bytes` ends inside of, so that more bytes may still complete it.
struct Utf8Prefix {
    std::size_t length;
    bool cutShort;
};
Utf8Prefix wellFormedUtf8Prefix(std::string_view bytes);

// Offset of the first byte of the first ill-formed sequence, or nothing when `bytes` is
// well-formed UTF-8.
std::optional<std::size_t> invalidUtf8Offset(std::string_view bytes);

// Expects well-formed UTF-8 (check with invalidUtf8Offset first).
std::u16string utf8ToUtf16(std::string_view bytes);

// A stray surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

} // namespace cli
