#pragma once

#include "forms/events.h"
#include "forms/peer.h"
#include "forms/units.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace forms {

class WindowedControl;

// Base of every control: float geometry in its container's pixels (placed at the nearest whole
// pixel), the Visible and Enabled flags the code set, and the mouse events.
class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    WindowedControl* container() const { return m_container; }

    // The name the code knows it by (for tests and diagnostics).
    const std::u16string& Name() const { return m_name; }
    void setName(const std::u16string& name);
    bool windowless() const { return m_windowless; }

    float Left() const { return m_left; }
    float Top() const { return m_top; }
    float Width() const { return m_width; }
    float Height() const { return m_height; }
    // The whole pixels it covers in its container.
    PixelRect pixelRect() const { return m_rect; }

    // Invalid values ("Invalid property value") change nothing.
    void Move(float left, float top);
    void Move(float left, float top, float width, float height);
    void setLeft(float left) { Move(left, m_top, m_width, m_height); }
    void setTop(float top) { Move(m_left, top, m_width, m_height); }
    void setWidth(float width) { Move(m_left, m_top, width, m_height); }
    void setHeight(float height) { Move(m_left, m_top, m_width, height); }
    // A rectangle in twips, at the screen's twips per pixel.
    void placeTwips(int left, int top, int width, int height);

    // The flag the code set, not whether an ancestor is shown or enabled.
    bool Visible() const { return m_visible; }
    virtual void setVisible(bool visible);
    bool Enabled() const { return m_enabled; }
    virtual void setEnabled(bool enabled);
    // Enabled, and so is every container up to the window.
    bool effectivelyEnabled() const;

    // Puts it in front of its siblings of the same kind (windowless ones always lie behind the
    // windowed ones).
    void raise();

    // Takes no mouse input: presses go to what lies behind it.
    void setMouseTransparent(bool on) { m_mouseTransparent = on; }
    bool mouseTransparent() const { return m_mouseTransparent; }

    // Forgets a press whose release is no longer wanted: that release then raises no Click.
    void forgetPress() { m_pressedHere = false; }

    const Lifetime& lifetime() const { return m_lifetime; }

    Event<std::int16_t, std::int16_t, float, float> MouseDown, MouseMove, MouseUp;
    Event<> Click, DblClick;

    // Raises the mouse events for input at (x, y) in its own pixels.
    void deliverMouse(const MouseInput& input, float x, float y);

protected:
    Control(WindowedControl* container, bool windowless);

    // Called after the geometry changed (and, for a windowed control, the native window moved).
    virtual void geometryChanged() {}
    // Called after Visible or Enabled changed.
    virtual void stateChanged() {}
    // Paints its area again soon.
    virtual void invalidate() = 0;

private:
    friend class WindowedControl;

    WindowedControl* m_container = nullptr;
    const bool m_windowless;
    std::u16string m_name;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    PixelRect m_rect;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_mouseTransparent = false;
    bool m_pressedHere = false;
    Lifetime m_lifetime;
};

// A control without a window of its own: its container paints it, in stacking order, and finds
// it under the pointer.
class WindowlessControl : public Control {
public:
    // Paints itself; the surface's origin is its own top left and drawing is cut at its edges.
    virtual void paint(Surface& surface) const = 0;

protected:
    explicit WindowlessControl(WindowedControl* container);
    void invalidate() override;
    // Paints the given part of its container's area (for a part that reaches beyond its own
    // rectangle).
    void invalidateInContainer(const PixelRect& r);
};

// A control with a native window (the backend's peer): it paints its background and the
// windowless controls on it, and hands input to the one under the pointer.
class WindowedControl : public Control, protected WindowSink {
public:
    // A plain window from the backend, inside `container` (nullptr: a top-level area whose peer
    // the caller attaches).
    explicit WindowedControl(WindowedControl* container);
    ~WindowedControl() override;

    WindowPeer* peer() const { return m_peer.get(); }

    // Children in stacking order, back first.
    const std::vector<Control*>& children() const { return m_children; }
    // A child it owns (destroyed with it), for controls not held as members.
    template <typename T, typename... Args> T* make(Args&&... args) {
        auto child = std::make_unique<T>(this, std::forward<Args>(args)...);
        T* raw = child.get();
        m_owned.push_back(std::move(child));
        return raw;
    }

    // The child of that name, or nullptr.
    Control* child(std::u16string_view name) const;
    // The front-most visible windowless child at (x, y) that takes mouse input, or nullptr.
    Control* windowlessChildAt(float x, float y) const;

    // It and every window it lies in are on the screen.
    bool isShown() const { return m_peer && m_peer->isShown(); }
    void setFocusable(bool on);
    void SetFocus();
    bool hasFocus() const;
    void setVisible(bool visible) override;
    void setEnabled(bool enabled) override;

    // Paints everything that is pending at once.
    void Refresh();
    void invalidateRect(const PixelRect& r);

    // WindowSink, public for tests that feed raw input.
    void mouseInput(const MouseInput& input) override;
    void keyDown(const KeyInput& input) override;
    void keyUp(const KeyInput& input) override;
    void pressCancelled() override;

    Event<> GotFocus, LostFocus;

protected:
    struct NoPeer {};
    // For a control whose peer is of a special kind: it calls attachPeer from its constructor.
    WindowedControl(WindowedControl* container, NoPeer);
    void attachPeer(std::unique_ptr<WindowPeer> peer);

    // The background under the windowless children; the default leaves it as it is.
    virtual void paintBackground(Surface&) const {}
    void invalidate() override;
    void geometryChanged() override;

    // Key input for the control itself; the default does nothing.
    virtual void onKeyDown(const KeyInput&) {}
    virtual void onKeyUp(const KeyInput&) {}
    // A press on it or on a part of it will see no release; the default passes it to the
    // container.
    virtual void onPressCancelled();
    virtual void onShown() {}
    // Mouse input on the control itself, not on a windowless part; the default raises the
    // control's mouse events.
    virtual void ownMouseInput(const MouseInput& input, float x, float y) {
        deliverMouse(input, x, y);
    }

    void paintWindow(Surface& surface) override;
    void focusChanged(bool hasFocus) override;
    void shown() override { onShown(); }

private:
    friend class Control;
    void addChild(Control* child);
    void removeChild(Control* child);
    void raiseChild(Control* child);

    std::unique_ptr<WindowPeer> m_peer;
    std::vector<Control*> m_children;
    std::vector<std::unique_ptr<Control>> m_owned;
    Control* m_mouseTarget = nullptr; // the part that has the mouse while a button is held
};

} // namespace forms
