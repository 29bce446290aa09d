#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace cli {

// Offset of the first byte of the first ill-formed sequence, or nothing when `bytes` is
// well-formed UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF).
std::optional<std::size_t> invalidUtf8Offset(std::string_view bytes);

// Expects well-formed UTF-8 (check with invalidUtf8Offset first).
std::u16string utf8ToUtf16(std::string_view bytes);

// A stray surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

} // namespace cli
