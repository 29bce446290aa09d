#pragma once

#include <QString>
#include <Qt>
#include <cstdint>

namespace forms {

// Windows virtual-key code of a Qt key (Qt::Key); 0 when there is none. Shifted symbols and the
// letters of the Russian layout give the code of the key they sit on (US / ЙЦУКЕН layouts).
std::int16_t virtualKeyFromQt(int qtKey);
// The same, with the keypad keys (Qt::KeypadModifier) mapped to the numeric-pad codes.
std::int16_t virtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

// Shift argument of mouse and key events: 1 Shift, 2 Ctrl, 4 Alt.
std::int16_t shiftMask(Qt::KeyboardModifiers m);

// Button argument: 1 left, 2 right, 4 middle (or-ed for a mask).
std::int16_t buttonMask(Qt::MouseButtons b);

// The character's code in code page 1251 (ASCII passes through); -1 when it has none.
int toCp1251(char16_t ch);
// The Unicode character of a code page 1251 byte; U+FFFD for the one unassigned byte (0x98).
char16_t fromCp1251(unsigned char byte);

// The KeyAscii codes a key press yields, in order: the event's text in code page 1251 ('?' for a
// character the code page lacks), the control codes of Enter, Esc and Backspace, and Ctrl+letter
// as 1..26. Empty for keys that type nothing.
QList<std::int16_t> keyAsciiCodes(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);

} // namespace forms
