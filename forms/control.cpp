#include "forms/control.h"

#include <QMouseEvent>
namespace forms {
Control::Control(QWidget* parent) : QWidget(parent) {}
void Control::Move(float l, float t) {
    applyGeometry(l, t, m_width, m_height);
}
void Control::Move(float l, float t, float w, float h) {
    applyGeometry(l, t, w, h);
}
void Control::setLeft(float v) {
    applyGeometry(v, m_top, m_width, m_height);
}
void Control::setTop(float v) {
    applyGeometry(m_left, v, m_width, m_height);
}
void Control::setWidth(float v) {
    applyGeometry(m_left, m_top, v, m_height);
}
void Control::setHeight(float v) {
    applyGeometry(m_left, m_top, m_width, v);
}
void Control::setMouseTransparent(bool on) {
    setAttribute(Qt::WA_TransparentForMouseEvents, on);
}
bool Control::mouseTransparent() const {
    return testAttribute(Qt::WA_TransparentForMouseEvents);
}
void Control::mousePressEvent(QMouseEvent*) {}
void Control::mouseMoveEvent(QMouseEvent*) {}
void Control::mouseReleaseEvent(QMouseEvent*) {}
void Control::mouseDoubleClickEvent(QMouseEvent*) {}
void Control::applyGeometry(float l, float t, float w, float h) {
    m_left = l;
    m_top = t;
    m_width = w;
    m_height = h;
    setGeometry(int(l), int(t), int(w), int(h));
    geometryChanged();
}
} // namespace forms
