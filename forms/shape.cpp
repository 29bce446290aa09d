#include "forms/shape.h"

#include "forms/color.h"
#include "forms/surface.h"

#include <algorithm>

namespace forms {

Shape::Shape(WindowedControl* container) : WindowlessControl(container) {
    setMouseTransparent(true);
}

void Shape::setBorderColor(OleColor c) {
    checkColor(c);
    m_borderColor = c;
    invalidate();
}

void Shape::setBorderWidth(int w) {
    m_borderWidth = checkedBorderWidth(w);
    invalidate();
}

void Shape::setDotted(bool on) {
    m_dotted = on;
    invalidate();
}

void Shape::paint(Surface& surface) const {
    const std::uint32_t c = opaquePixel(m_borderColor);
    const int w = pixelRect().width, h = pixelRect().height;
    if (m_dotted && m_borderWidth == 1) {
        // The dots lie on a checkerboard, so the four sides meet without a doubled dot.
        for (int x = 0; x < w; ++x)
            for (int y : {0, h - 1})
                if ((x + y) % 2 == 0)
                    surface.fillRect({x, y, 1, 1}, c);
        for (int y = 1; y < h - 1; ++y)
            for (int x : {0, w - 1})
                if ((x + y) % 2 == 0)
                    surface.fillRect({x, y, 1, 1}, c);
        return;
    }
    const int bw = std::min({m_borderWidth, (w + 1) / 2, (h + 1) / 2});
    if (bw <= 0)
        return;
    // The outline lies inside the rectangle, on its edge pixels.
    surface.fillRect({0, 0, w, bw}, c);
    surface.fillRect({0, h - bw, w, bw}, c);
    surface.fillRect({0, 0, bw, h}, c);
    surface.fillRect({w - bw, 0, bw, h}, c);
}

} // namespace forms
