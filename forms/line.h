#pragma once

#include "forms/control.h"
#include "forms/vbtypes.h"

namespace forms {

// A straight line between two points in the container's pixels; windowless, takes no mouse
// input.
class Line : public WindowlessControl {
public:
    explicit Line(WindowedControl* container);

    void setPoints(int x1, int y1, int x2, int y2);
    PixelPoint point1() const { return m_p1; }
    PixelPoint point2() const { return m_p2; }
    OleColor BorderColor() const { return m_borderColor; }
    void setBorderColor(OleColor c);
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int w);

    void paint(Surface& surface) const override;

private:
    void place();
    PixelPoint origin() const;

    PixelPoint m_p1, m_p2;
    OleColor m_borderColor = 0x80000008;
    int m_borderWidth = 1;
};

} // namespace forms
