#include "forms/color.h"

#include "forms/error.h"
#include "forms/platform.h"

namespace forms {

namespace {

bool isSystem(OleColor c) {
    return (c & 0x80000000u) != 0;
}

std::u16string hex(OleColor v) {
    std::u16string digits(8, u'0');
    for (int i = 7; i >= 0; --i, v >>= 4)
        digits[static_cast<std::size_t>(i)] = u"0123456789ABCDEF"[v & 0xF];
    return u"&H" + digits;
}

} // namespace

bool isValidColor(OleColor c) {
    if (isSystem(c))
        return (c & 0x7FFFFFFFu) < static_cast<OleColor>(systemColorCount);
    return (c & 0xFF000000u) == 0;
}

void checkColor(OleColor c) {
    if (isValidColor(c))
        return;
    throw RuntimeError(ErrorKind::InvalidPropertyValue,
                       u"Invalid property value: " + hex(c) +
                           u" is not a colour (RGB colours are " + hex(0) + u" to " +
                           hex(0x00FFFFFF) + u", system colours " + hex(systemColor(0)) + u" to " +
                           hex(systemColor(systemColorCount - 1)) + u")");
}

OleColor resolveColor(OleColor c) {
    checkColor(c);
    return isSystem(c) ? platform::systemColorRgb(static_cast<int>(c & 0x7FFFFFFFu)) : c;
}

} // namespace forms
