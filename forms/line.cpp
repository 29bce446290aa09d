#include "forms/line.h"

#include "forms/color.h"
#include "forms/qt/convert.h"
#include "forms/units.h"

#include <QPainter>

namespace forms {

Line::Line(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    if (parent && parent->isVisible())
        show();
}

void Line::setPoints(int x1, int y1, int x2, int y2) {
    m_p1 = QPoint(x1, y1);
    m_p2 = QPoint(x2, y2);
    place();
}

void Line::setBorderColor(OleColor c) {
    checkColor(c);
    m_borderColor = c;
    update();
}

void Line::setBorderWidth(int w) {
    m_borderWidth = checkedBorderWidth(w);
    place();
}

QPoint Line::origin() const {
    return QPoint(std::min(m_p1.x(), m_p2.x()) - m_borderWidth / 2,
                  std::min(m_p1.y(), m_p2.y()) - m_borderWidth / 2);
}

void Line::place() {
    // The widget covers the line's bounding box, widened by the pen on every side.
    const QPoint o = origin();
    setGeometry(o.x(), o.y(), std::abs(m_p2.x() - m_p1.x()) + m_borderWidth,
                std::abs(m_p2.y() - m_p1.y()) + m_borderWidth);
    update();
}

void Line::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor c = qt::toQColor(m_borderColor);
    const QPoint o = origin();
    const QPoint a = m_p1 - o, b = m_p2 - o;
    if (m_borderWidth == 1) {
        p.setPen(QPen(c, 0));
        p.drawLine(a, b);
        return;
    }
    p.setPen(QPen(c, m_borderWidth, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(a) + QPointF(0.5, 0.5), QPointF(b) + QPointF(0.5, 0.5));
}

} // namespace forms
