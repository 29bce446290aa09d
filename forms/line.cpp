#include "forms/line.h"
namespace forms {
Line::Line(QWidget* parent) : QWidget(parent) {}
void Line::setPoints(int x1, int y1, int x2, int y2) {
    m_p1 = {x1, y1};
    m_p2 = {x2, y2};
}
void Line::setBorderColor(OleColor c) {
    m_borderColor = c;
}
void Line::setBorderWidth(int w) {
    m_borderWidth = w;
}
void Line::paintEvent(QPaintEvent*) {}
void Line::place() {}
} // namespace forms
