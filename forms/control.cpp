#include "forms/control.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/keys.h"
#include "forms/surface.h"

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

// Native windows are limited to this; the layer reports anything beyond it instead.
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

std::uint32_t opaquePixel(OleColor c) {
    const OleColor rgb = resolveColor(c);
    return 0xFF000000u | ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

// --- Control ---

Control::Control(WindowedControl* container, bool windowless)
    : m_container(container), m_windowless(windowless) {
    if (m_container)
        m_container->addChild(this);
}

Control::~Control() {
    if (m_container)
        m_container->removeChild(this);
}

void Control::setName(const std::u16string& name) {
    m_name = name;
    if (!m_windowless)
        if (WindowPeer* peer = static_cast<WindowedControl*>(this)->peer())
            peer->setName(name);
}

void Control::Move(float left, float top) {
    Move(left, top, m_width, m_height);
}

void Control::Move(float left, float top, float width, float height) {
    // Validate everything first so that a bad value changes nothing.
    checkPosition(left);
    checkPosition(top);
    checkSize(width);
    checkSize(height);
    const PixelRect old = m_rect;
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    m_rect = {pixelRound(left), pixelRound(top), pixelRound(width), pixelRound(height)};
    if (windowless() && m_rect != old && m_visible && m_container)
        m_container->invalidateRect(old);
    geometryChanged();
    invalidate();
}

void Control::placeTwips(int left, int top, int width, int height) {
    const PixelRect r = twipsToPixels(left, top, width, height);
    Move(float(r.x), float(r.y), float(r.width), float(r.height));
}

void Control::setVisible(bool visible) {
    if (visible == m_visible)
        return;
    if (!visible)
        invalidate();
    m_visible = visible;
    if (visible)
        invalidate();
    stateChanged();
}

void Control::setEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    invalidate();
    stateChanged();
}

bool Control::effectivelyEnabled() const {
    for (const Control* c = this; c; c = c->m_container)
        if (!c->m_enabled)
            return false;
    return true;
}

void Control::raise() {
    if (m_container)
        m_container->raiseChild(this);
}

void Control::deliverMouse(const MouseInput& in, float x, float y) {
    std::int16_t shift = shiftMask(in.modifiers);
    switch (in.kind) {
    case MouseInput::Kind::Press: {
        // Only the left button clicks; the others raise just MouseDown and MouseUp.
        m_pressedHere = in.button.left;
        std::int16_t button = buttonMask(in.button);
        MouseDown(button, shift, x, y);
        break;
    }
    case MouseInput::Kind::Move: {
        std::int16_t button = buttonMask(in.buttons);
        MouseMove(button, shift, x, y);
        break;
    }
    case MouseInput::Kind::Release: {
        // The release goes to the part the press went to; a click needs it over that part.
        const bool click = m_pressedHere && in.button.left && x >= 0 && y >= 0 &&
                           x < m_rect.width && y < m_rect.height;
        m_pressedHere = false;
        std::int16_t button = buttonMask(in.button);
        // A MouseUp handler may process pending events and so destroy this control.
        const Alive alive(m_lifetime);
        MouseUp(button, shift, x, y);
        if (click && alive)
            Click();
        break;
    }
    case MouseInput::Kind::DoubleClick:
        // Stands in for the second press: no MouseDown, and its release raises no Click.
        m_pressedHere = false;
        DblClick();
        break;
    }
}

// --- WindowlessControl ---

WindowlessControl::WindowlessControl(WindowedControl* container) : Control(container, true) {}

void WindowlessControl::invalidate() {
    invalidateInContainer(pixelRect());
}

void WindowlessControl::invalidateInContainer(const PixelRect& r) {
    if (container() && Visible())
        container()->invalidateRect(r);
}

// --- WindowedControl ---

WindowedControl::WindowedControl(WindowedControl* container) : Control(container, false) {
    attachPeer(backend::createWindowPeer(*this, container ? container->peer() : nullptr));
}

WindowedControl::WindowedControl(WindowedControl* container, NoPeer) : Control(container, false) {}

WindowedControl::~WindowedControl() {
    // Owned children go first, the last made first, while their container is whole.
    while (!m_owned.empty())
        m_owned.pop_back();
    m_peer.reset();
}

void WindowedControl::attachPeer(std::unique_ptr<WindowPeer> peer) {
    m_peer = std::move(peer);
    if (m_peer) {
        m_peer->setGeometry(pixelRect());
        m_peer->setEnabled(Enabled());
    }
}

void WindowedControl::addChild(Control* child) {
    // Windowless children lie behind the windowed ones; a new one goes in front of its kind.
    if (child->windowless()) {
        auto firstWindowed = std::find_if(m_children.begin(), m_children.end(),
                                          [](const Control* c) { return !c->windowless(); });
        m_children.insert(firstWindowed, child);
    } else {
        m_children.push_back(child);
    }
}

void WindowedControl::removeChild(Control* child) {
    std::erase(m_children, child);
    if (m_mouseTarget == child)
        m_mouseTarget = nullptr;
    if (child->windowless() && child->Visible())
        invalidateRect(child->pixelRect());
}

void WindowedControl::raiseChild(Control* child) {
    std::erase(m_children, child);
    addChild(child);
    if (child->windowless())
        child->invalidate();
    else if (auto* w = static_cast<WindowedControl*>(child); w->m_peer)
        w->m_peer->raise();
}

Control* WindowedControl::child(std::u16string_view name) const {
    const auto it = std::find_if(m_children.begin(), m_children.end(),
                                 [&](const Control* c) { return c->Name() == name; });
    return it == m_children.end() ? nullptr : *it;
}

Control* WindowedControl::windowlessChildAt(float x, float y) const {
    for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
        Control* c = *it;
        if (c->windowless() && c->Visible() && !c->mouseTransparent() &&
            c->pixelRect().contains(x, y))
            return c;
    }
    return nullptr;
}

void WindowedControl::setFocusable(bool on) {
    if (m_peer)
        m_peer->setFocusable(on);
}

void WindowedControl::SetFocus() {
    if (m_peer)
        m_peer->setFocus();
}

bool WindowedControl::hasFocus() const {
    return m_peer && m_peer->hasFocus();
}

void WindowedControl::setVisible(bool visible) {
    Control::setVisible(visible);
    if (m_peer)
        m_peer->setVisible(visible);
}

void WindowedControl::setEnabled(bool enabled) {
    Control::setEnabled(enabled);
    if (m_peer)
        m_peer->setEnabled(enabled);
}

void WindowedControl::Refresh() {
    if (m_peer)
        m_peer->repaintNow();
}

void WindowedControl::invalidateRect(const PixelRect& r) {
    if (m_peer && !r.isEmpty())
        m_peer->invalidate(r);
}

void WindowedControl::invalidate() {
    invalidateRect({0, 0, pixelRect().width, pixelRect().height});
}

void WindowedControl::geometryChanged() {
    if (m_peer)
        m_peer->setGeometry(pixelRect());
}

void WindowedControl::paintWindow(Surface& surface) {
    paintBackground(surface);
    for (const Control* c : m_children) {
        if (!c->windowless() || !c->Visible())
            continue;
        const PixelRect r = c->pixelRect();
        if (r.isEmpty())
            continue;
        surface.save(r);
        static_cast<const WindowlessControl*>(c)->paint(surface);
        surface.restore();
    }
}

void WindowedControl::mouseInput(const MouseInput& in) {
    // The part that had the press gets everything until the last button is up, as the platform
    // captures the mouse; otherwise the part under the pointer gets it.
    Control* target = m_mouseTarget;
    if (!target) {
        target = windowlessChildAt(in.x, in.y);
        if (!target)
            target = this;
    }
    const bool starts =
        in.kind == MouseInput::Kind::Press || in.kind == MouseInput::Kind::DoubleClick;
    const bool held = in.buttons.left || in.buttons.right || in.buttons.middle;
    if (starts)
        m_mouseTarget = target;
    else if (!held)
        m_mouseTarget = nullptr;
    if (target == this) {
        ownMouseInput(in, in.x, in.y);
        return;
    }
    if (!target->effectivelyEnabled())
        return;
    const PixelRect r = target->pixelRect();
    target->deliverMouse(in, in.x - float(r.x), in.y - float(r.y));
}

void WindowedControl::keyDown(const KeyInput& in) {
    onKeyDown(in);
}

void WindowedControl::keyUp(const KeyInput& in) {
    onKeyUp(in);
}

void WindowedControl::pressCancelled() {
    m_mouseTarget = nullptr;
    forgetPress();
    for (Control* c : m_children)
        if (c->windowless())
            c->forgetPress();
    onPressCancelled();
}

void WindowedControl::onPressCancelled() {
    if (container())
        container()->onPressCancelled();
}

void WindowedControl::focusChanged(bool focus) {
    if (focus)
        GotFocus();
    else
        LostFocus();
}

} // namespace forms
