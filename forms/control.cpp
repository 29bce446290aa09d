#include "forms/control.h"

#include "forms/error.h"
#include "forms/keys.h"
#include "forms/qt/convert.h"
#include "forms/units.h"

#include <QMouseEvent>
#include <QPointer>
#include <cmath>

namespace forms {

namespace {

// Qt clamps sizes to this; the layer reports anything beyond it instead.
constexpr float maxExtent = 16777215.0f;

void checkPosition(float v) {
    if (!std::isfinite(v) || std::fabs(v) > maxExtent)
        throw RuntimeError(u"Invalid property value");
}

void checkSize(float v) {
    if (!std::isfinite(v) || v < 0 || v > maxExtent)
        throw RuntimeError(u"Invalid property value");
}

} // namespace

Control::Control(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    // Controls are visible unless the code hides them, also when added to a shown parent.
    if (parent && parent->isVisible())
        QWidget::show();
}

float Control::Left() const {
    return pixelRound(m_left) == x() ? m_left : float(x());
}
float Control::Top() const {
    return pixelRound(m_top) == y() ? m_top : float(y());
}
float Control::Width() const {
    return pixelRound(m_width) == width() ? m_width : float(width());
}
float Control::Height() const {
    return pixelRound(m_height) == height() ? m_height : float(height());
}

void Control::Move(float left, float top) {
    applyGeometry(left, top, Width(), Height());
}
void Control::Move(float left, float top, float width, float height) {
    applyGeometry(left, top, width, height);
}
void Control::setLeft(float left) {
    applyGeometry(left, Top(), Width(), Height());
}
void Control::setTop(float top) {
    applyGeometry(Left(), top, Width(), Height());
}
void Control::setWidth(float width) {
    applyGeometry(Left(), Top(), width, Height());
}
void Control::setHeight(float height) {
    applyGeometry(Left(), Top(), Width(), height);
}

bool Control::Visible() const {
    // A child not yet shown with its parent counts as visible unless hidden explicitly.
    return !(isHidden() && testAttribute(Qt::WA_WState_ExplicitShowHide));
}

void Control::setMouseTransparent(bool on) {
    setAttribute(Qt::WA_TransparentForMouseEvents, on);
}
bool Control::mouseTransparent() const {
    return testAttribute(Qt::WA_TransparentForMouseEvents);
}

void Control::applyGeometry(float left, float top, float width, float height) {
    // Validate everything first so that a bad value changes nothing.
    checkPosition(left);
    checkPosition(top);
    checkSize(width);
    checkSize(height);
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    setGeometry(pixelRound(left), pixelRound(top), pixelRound(width), pixelRound(height));
    geometryChanged();
}

bool Control::event(QEvent* e) {
    // A release that comes after one of these belongs to no press seen here: it must not click.
    switch (e->type()) {
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
    case QEvent::UngrabMouse:
        m_pressedHere = false;
        break;
    default:
        break;
    }
    return QWidget::event(e);
}

void Control::mousePressEvent(QMouseEvent* e) {
    // Only the left button clicks; the others raise just MouseDown and MouseUp.
    m_pressedHere = e->button() == Qt::LeftButton;
    std::int16_t button = buttonMask(qt::buttonsOf(e->button()));
    std::int16_t shift = shiftMask(qt::modifiersOf(e->modifiers()));
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    emit MouseDown(button, shift, x, y);
}

void Control::mouseMoveEvent(QMouseEvent* e) {
    std::int16_t button = buttonMask(qt::buttonsOf(e->buttons()));
    std::int16_t shift = shiftMask(qt::modifiersOf(e->modifiers()));
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    emit MouseMove(button, shift, x, y);
}

void Control::mouseReleaseEvent(QMouseEvent* e) {
    // Qt sends the release to the control the press went to; a click needs it over that control.
    const bool click =
        m_pressedHere && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint());
    m_pressedHere = false;
    std::int16_t button = buttonMask(qt::buttonsOf(e->button()));
    std::int16_t shift = shiftMask(qt::modifiersOf(e->modifiers()));
    float x = static_cast<float>(e->position().x());
    float y = static_cast<float>(e->position().y());
    // A MouseUp handler may process pending events and so delete this control.
    const QPointer<Control> self(this);
    emit MouseUp(button, shift, x, y);
    if (click && self)
        emit Click();
}

void Control::mouseDoubleClickEvent(QMouseEvent*) {
    // Stands in for the second press: no MouseDown, and its release raises no Click.
    m_pressedHere = false;
    emit DblClick();
}

void placeTwips(QWidget* w, int left, int top, int width, int height) {
    const QRect r = qt::toQRect(twipsToPixels(left, top, width, height));
    // A control keeps its own float geometry; placing it through the widget would bypass that.
    if (auto* c = qobject_cast<Control*>(w))
        c->Move(float(r.x()), float(r.y()), float(r.width()), float(r.height()));
    else
        w->setGeometry(r);
}

} // namespace forms
