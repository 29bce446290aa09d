#include "forms/shape.h"

#include "forms/color.h"
#include "forms/units.h"

#include <QPainter>

namespace forms {

Shape::Shape(QWidget* parent) : Control(parent) {
    setMouseTransparent(true);
}

void Shape::setBorderColor(OleColor c) {
    checkColor(c);
    m_borderColor = c;
    update();
}

void Shape::setBorderWidth(int w) {
    m_borderWidth = checkedBorderWidth(w);
    update();
}

void Shape::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor c = toQColor(m_borderColor);
    const int w = width(), h = height();
    const int bw = std::min({m_borderWidth, (w + 1) / 2, (h + 1) / 2});
    if (bw <= 0)
        return;
    // The outline lies inside the rectangle, on its edge pixels.
    p.fillRect(0, 0, w, bw, c);
    p.fillRect(0, h - bw, w, bw, c);
    p.fillRect(0, 0, bw, h, c);
    p.fillRect(w - bw, 0, bw, h, c);
}

} // namespace forms
