#include "forms/shape.h"
namespace forms {
Shape::Shape(QWidget* parent) : Control(parent) {
    setMouseTransparent(true);
}
void Shape::setBorderColor(OleColor c) {
    m_borderColor = c;
}
void Shape::setBorderWidth(int w) {
    m_borderWidth = w;
}
void Shape::paintEvent(QPaintEvent*) {}
} // namespace forms
