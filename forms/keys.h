#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace forms {

// Windows virtual-key codes that the key encodings below look at; letters are 'A'..'Z'.
inline constexpr std::int16_t vkBack = 0x08, vkReturn = 0x0D, vkEscape = 0x1B;

// The modifier keys held and the mouse buttons down, as a backend reports them.
struct KeyModifiers {
    bool shift = false, control = false, alt = false;
};
struct MouseButtons {
    bool left = false, right = false, middle = false;
};

// A shortcut key: a virtual-key code with the modifiers held; key code 0 is none.
struct Shortcut {
    std::int16_t keyCode = 0;
    KeyModifiers modifiers;
};

// The virtual-key code of function key Fn (1..24).
constexpr std::int16_t vkFunction(int n) {
    return static_cast<std::int16_t>(0x6F + n);
}

// Shift argument of mouse and key events: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t shiftMask(KeyModifiers m);

// Button argument: 1 left, 2 right, 4 middle (or-ed for a mask).
std::int16_t buttonMask(MouseButtons b);

// The KeyAscii codes a key press yields, in order: the typed text in code page 1251 ('?' for a
// character the code page lacks), the control codes of Enter, Esc and Backspace, and Ctrl+letter
// as 1..26. Empty for keys that type nothing.
std::vector<std::int16_t> keyAsciiCodes(std::int16_t virtualKey, KeyModifiers modifiers,
                                        const std::u16string& text);

} // namespace forms
