#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Text as the forms layer holds it (UTF-16) and as files and standard streams have it (UTF-8).
namespace forms {

// A lone surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);
// Malformed sequences become U+FFFD.
std::u16string fromUtf8(std::string_view text);

// ASCII text (messages, numbers) widened.
std::u16string ascii(std::string_view text);
std::u16string number(std::int64_t n);

// Without the white space (at most U+0020, and the no-break space) at either end.
std::u16string_view trimmed(std::u16string_view text);

} // namespace forms
