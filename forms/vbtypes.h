#pragma once

#include <cstdint>

namespace forms {

// Flags that the controls store as 16-bit Booleans: False is 0 and True is -1. Code that tests a
// stored flag for True compares with VbTrue exactly. (Not named True/False: X11 defines those.)
using Boolean = std::int16_t;
inline constexpr Boolean VbTrue = -1;
inline constexpr Boolean VbFalse = 0;

inline constexpr Boolean vbBool(bool b) {
    return b ? VbTrue : VbFalse;
}

// A colour value: 0x00BBGGRR for an RGB colour, or 0x80000000 plus a system colour index.
using OleColor = std::uint32_t;

} // namespace forms
