#pragma once

#include "forms/stdfont.h"
#include "forms/stdpicture.h"
#include "forms/vbtypes.h"

#include <optional>
#include <string>
#include <string_view>

namespace forms {

struct MsgBoxRequest;

// What only the platform can answer. Each backend defines these; a program gets one by the
// backend library it links.
namespace platform {

// The RGB value (0x00BBGGRR) of system colour `index` (0..30) as the desktop shows it now.
OleColor systemColorRgb(int index);

// 1440 / logical dots per inch of the primary screen (15 at 96 dpi).
float twipsPerPixelX();
float twipsPerPixelY();

// The character's code in code page 1251 (ASCII passes through); -1 when it has none.
int toCp1251(char16_t ch);

// The letter case of a name folded away, as the platform compares names regardless of case.
std::u16string foldCase(std::u16string_view text);
// Whether a character (a code point) is a letter, or a digit or other number, in Unicode.
bool isLetter(char32_t c);
bool isNumber(char32_t c);

// The bytes of a resource built into the program (a path starting with ':'); nullopt when there
// is no such resource or it is a folder.
std::optional<std::string> readResource(const std::u16string& path);

// A decoded PNG, or (null image) why it is none.
struct DecodedPicture {
    PixelImage image;
    std::u16string error;
};
DecodedPicture decodePicture(std::string_view bytes);

// The width (advance) and line height of a text on one line in the font, in pixels.
TextSize measureText(const StdFont& font, const std::u16string& text);

// Shows an application-modal message box and returns the answer (vbOK .. vbNo).
int showMsgBox(const MsgBoxRequest& request);

} // namespace platform

} // namespace forms
