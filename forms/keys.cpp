#include "forms/keys.h"

#include "forms/platform.h"

namespace forms {

std::int16_t shiftMask(KeyModifiers m) {
    return static_cast<std::int16_t>((m.shift ? 1 : 0) | (m.control ? 2 : 0) | (m.alt ? 4 : 0));
}

std::int16_t buttonMask(MouseButtons b) {
    return static_cast<std::int16_t>((b.left ? 1 : 0) | (b.right ? 2 : 0) | (b.middle ? 4 : 0));
}

std::vector<std::int16_t> keyAsciiCodes(std::int16_t virtualKey, KeyModifiers modifiers,
                                        const std::u16string& text) {
    if (modifiers.control && virtualKey >= 'A' && virtualKey <= 'Z')
        return {static_cast<std::int16_t>(virtualKey - 'A' + 1)};
    if (text.empty()) {
        if (virtualKey == vkReturn || virtualKey == vkEscape || virtualKey == vkBack)
            return {virtualKey};
        return {};
    }
    std::vector<std::int16_t> codes;
    for (char16_t c : text) {
        const int code = platform::toCp1251(c);
        codes.push_back(static_cast<std::int16_t>(code < 0 ? '?' : code));
    }
    return codes;
}

} // namespace forms
