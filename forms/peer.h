#pragma once

#include "forms/keys.h"
#include "forms/units.h"

#include <functional>
#include <memory>
#include <string>

namespace forms {

class Surface;

// Raw input as a backend reports it to a windowed control, in the control's client pixels.
struct MouseInput {
    enum class Kind { Press, Move, Release, DoubleClick };
    Kind kind = Kind::Move;
    MouseButtons button;  // the one pressed or released
    MouseButtons buttons; // all held now
    KeyModifiers modifiers;
    float x = 0, y = 0;
};

struct KeyInput {
    std::int16_t keyCode = 0; // virtual-key code
    KeyModifiers modifiers;
    std::u16string text; // what the key types
    bool autoRepeat = false;
};

// What a windowed control hears from its peer.
class WindowSink {
public:
    virtual void paintWindow(Surface& surface) = 0;
    virtual void mouseInput(const MouseInput& input) = 0;
    virtual void keyDown(const KeyInput& input) = 0;
    virtual void keyUp(const KeyInput& input) = 0;
    virtual void focusChanged(bool hasFocus) = 0;
    // A press will see no release: a modal window opened, the window was left, or another
    // window took the mouse.
    virtual void pressCancelled() = 0;
    // The code showed it (not a window restored from the task bar).
    virtual void shown() = 0;

protected:
    ~WindowSink() = default;
};

// The platform's side of a windowed control: a native child window.
class WindowPeer {
public:
    virtual ~WindowPeer() = default;
    virtual void setGeometry(const PixelRect& r) = 0;
    virtual void setVisible(bool visible) = 0;
    // On the screen: it and every window it lies in are shown.
    virtual bool isShown() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    // Paints that part again soon; repaintNow paints what is pending at once.
    virtual void invalidate(const PixelRect& r) = 0;
    virtual void repaintNow() = 0;
    // In front of its windowed siblings.
    virtual void raise() = 0;
    virtual void setFocusable(bool focusable) = 0;
    virtual void setFocus() = 0;
    virtual bool hasFocus() const = 0;
    virtual PixelPoint screenToClient(PixelPoint screen) const = 0;
    // The control's name, for tests and diagnostics.
    virtual void setName(const std::u16string&) {}
};

class TimerPeer {
public:
    virtual ~TimerPeer() = default;
    // Ticks every `ms` (restarting the rhythm) until stop.
    virtual void start(int ms) = 0;
    virtual void stop() = 0;
    virtual bool running() const = 0;
    virtual int interval() const = 0;
};

// What the backend a program links creates.
namespace backend {

// A plain native child of `parent` (nullptr: not placed anywhere yet) that paints and takes
// input through `sink`.
std::unique_ptr<WindowPeer> createWindowPeer(WindowSink& sink, WindowPeer* parent);
std::unique_ptr<TimerPeer> createTimerPeer(std::function<void()> tick);
// The pointer's position on the screen.
PixelPoint cursorPos();
// Runs `task` from the event loop, after the events pending now.
void post(std::function<void()> task);
// Gives the focus in this order to windows that take it, the last one last.
void setTabOrder(const std::vector<WindowPeer*>& order);

} // namespace backend

} // namespace forms
