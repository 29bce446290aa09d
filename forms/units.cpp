#include "forms/units.h"

#include "forms/error.h"

#include <cmath>

namespace forms {

int pixelRound(float v) {
    // std::round rounds halves away from zero; the caller keeps v within int range.
    return static_cast<int>(std::round(v));
}

PixelRect twipsToPixels(int left, int top, int width, int height, float twipsPerPixelX,
                        float twipsPerPixelY) {
    const double tx = twipsPerPixelX;
    const double ty = twipsPerPixelY;
    return {static_cast<int>(std::round(left / tx)), static_cast<int>(std::round(top / ty)),
            static_cast<int>(std::round(width / tx)), static_cast<int>(std::round(height / ty))};
}

PixelRect twipsToPixels(int left, int top, int width, int height) {
    return twipsToPixels(left, top, width, height, twipsPerPixelX(), twipsPerPixelY());
}

int checkedBorderWidth(int w) {
    if (w < 1 || w > 8192)
        throw RuntimeError(u"Invalid property value");
    return w;
}

} // namespace forms
