#include "forms/line.h"

#include "forms/color.h"
#include "forms/surface.h"

#include <algorithm>
#include <cstdlib>

namespace forms {

Line::Line(WindowedControl* container) : WindowlessControl(container) {
    setMouseTransparent(true);
}

void Line::setPoints(int x1, int y1, int x2, int y2) {
    m_p1 = {x1, y1};
    m_p2 = {x2, y2};
    place();
}

void Line::setBorderColor(OleColor c) {
    checkColor(c);
    m_borderColor = c;
    invalidate();
}

void Line::setBorderWidth(int w) {
    m_borderWidth = checkedBorderWidth(w);
    place();
}

PixelPoint Line::origin() const {
    return {std::min(m_p1.x, m_p2.x) - m_borderWidth / 2,
            std::min(m_p1.y, m_p2.y) - m_borderWidth / 2};
}

void Line::place() {
    // The control covers the line's bounding box, widened by the pen on every side.
    const PixelPoint o = origin();
    Move(float(o.x), float(o.y), float(std::abs(m_p2.x - m_p1.x) + m_borderWidth),
         float(std::abs(m_p2.y - m_p1.y) + m_borderWidth));
}

void Line::paint(Surface& surface) const {
    const PixelPoint o = origin();
    surface.drawLine(m_p1.x - o.x, m_p1.y - o.y, m_p2.x - o.x, m_p2.y - o.y, m_borderWidth,
                     opaquePixel(m_borderColor));
}

} // namespace forms
