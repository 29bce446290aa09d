#pragma once

#include "forms/vbtypes.h"

namespace forms {

// Number of system colour indices the table knows (0..30).
inline constexpr int systemColorCount = 31;

inline constexpr OleColor rgbColor(int r, int g, int b) {
    return static_cast<OleColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

// A system colour value: 0x80000000 + index.
inline constexpr OleColor systemColor(int index) {
    return 0x80000000u | static_cast<OleColor>(index);
}

// True for 0x00BBGGRR and for 0x80000000 + 0..30.
bool isValidColor(OleColor c);

// Throws RuntimeError("Invalid property value: ...") for a value isValidColor rejects. Controls
// call it when a colour property is set, so painting never fails.
void checkColor(OleColor c);

// The RGB value (0x00BBGGRR) of an RGB or a system colour; throws like checkColor for an invalid
// value.
OleColor resolveColor(OleColor c);

} // namespace forms
