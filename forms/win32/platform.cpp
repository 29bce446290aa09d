#include "forms/platform.h"

#include <windows.h>

// The platform's answers from Win32: the desktop's colours, the screen, code page 1251 and
// Unicode's character classes.
namespace forms::platform {

namespace {

float logicalDpi(int axis) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, axis) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<float>(dpi) : 96.0f;
}

// The system's DPI is fixed for the session, and every placement in twips asks for it: once.
float logicalDpiX() {
    static const float dpi = logicalDpi(LOGPIXELSX);
    return dpi;
}
float logicalDpiY() {
    static const float dpi = logicalDpi(LOGPIXELSY);
    return dpi;
}

// The CT_CTYPE1 class of a character; a code point beyond the Basic Multilingual Plane is
// classed by its high surrogate, which is neither letter nor number.
WORD characterType(char32_t c) {
    wchar_t units[2];
    int count = 1;
    if (c > 0xFFFF && c <= 0x10FFFF) {
        units[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
        units[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        count = 2;
    } else if (c <= 0xFFFF) {
        units[0] = static_cast<wchar_t>(c);
    } else {
        return 0;
    }
    WORD types[2] = {};
    return GetStringTypeW(CT_CTYPE1, units, count, types) ? types[0] : 0;
}

} // namespace

// Same numbering as GetSysColor; a COLORREF is already 0x00BBGGRR.
OleColor systemColorRgb(int index) {
    return static_cast<OleColor>(GetSysColor(index));
}

float twipsPerPixelX() {
    return 1440.0f / logicalDpiX();
}
float twipsPerPixelY() {
    return 1440.0f / logicalDpiY();
}

int toCp1251(char16_t ch) {
    if (ch < 0x80)
        return ch;
    const wchar_t wide = static_cast<wchar_t>(ch);
    char byte[2] = {};
    BOOL substituted = FALSE;
    // No best fit: 'é' must not pass for 'e'. A byte that does not read back as the character
    // (a lone surrogate, an unassigned byte) is no code either.
    const int n = WideCharToMultiByte(1251, WC_NO_BEST_FIT_CHARS, &wide, 1, byte, sizeof byte,
                                      nullptr, &substituted);
    wchar_t back = 0;
    if (n != 1 || substituted || MultiByteToWideChar(1251, 0, byte, 1, &back, 1) != 1 ||
        back != wide)
        return -1;
    return static_cast<unsigned char>(byte[0]);
}

std::u16string foldCase(std::u16string_view text) {
    std::u16string folded(text);
    // The invariant locale's lower case, the same on every system; one unit in, one unit out.
    if (!folded.empty() && folded.size() <= INT_MAX)
        LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_LOWERCASE,
                      reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()),
                      reinterpret_cast<LPWSTR>(folded.data()), static_cast<int>(folded.size()),
                      nullptr, nullptr, 0);
    return folded;
}

bool isLetter(char32_t c) {
    return (characterType(c) & C1_ALPHA) != 0;
}

bool isNumber(char32_t c) {
    return (characterType(c) & C1_DIGIT) != 0;
}

} // namespace forms::platform
