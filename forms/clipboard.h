#pragma once

#include <optional>
#include <string>

namespace forms {

// Empties the system clipboard; throws RuntimeError when it could not be emptied.
void ClipboardClear();

// Puts plain text on the system clipboard; throws RuntimeError when the clipboard does not hold
// the text afterwards (another program kept or took it).
void ClipboardSetText(const std::u16string& text);
// The clipboard's text, or nothing when it holds no text.
std::optional<std::u16string> ClipboardGetText();

} // namespace forms
