#include "forms/stdfont.h"

#include "forms/platform.h"

#include <cmath>

namespace forms {

int StdFont::pixelSize() const {
    const float dpi = 1440.0f / platform::twipsPerPixelY();
    const float px = std::round(size * dpi / 72.0f);
    if (!(px >= 1.0f))
        return 1;
    return px > 4096.0f ? 4096 : static_cast<int>(px);
}

FontRef makeFont(const std::u16string& name, float size, std::int16_t weight, bool italic,
                 bool underline, bool strikethrough, std::int16_t charset) {
    return std::make_shared<StdFont>(
        StdFont{name, size, weight, italic, underline, strikethrough, charset});
}

FontRef defaultFont() {
    return makeFont();
}

} // namespace forms
