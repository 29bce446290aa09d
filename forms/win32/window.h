#pragma once

#include "forms/application.h"
#include "forms/control.h"
#include "forms/peer.h"

#include <optional>
#include <windows.h>

// The Win32 backend's native windows: a peer wraps one HWND.
namespace forms::win32 {

// The peer of a windowed control: the neutral operations on its window, which it destroys.
// Every window of a peer is made at 0, 0 with no size.
class WindowPeerBase : public WindowPeer {
public:
    explicit WindowPeerBase(HWND hwnd = nullptr) : m_hwnd(hwnd) {}
    ~WindowPeerBase() override;

    // The window; a peer that put it off makes it now.
    HWND hwnd() const;
    bool madeWindow() const { return m_hwnd != nullptr; }

    void setGeometry(const PixelRect& r) override;
    void setVisible(bool visible) override;
    bool isShown() const override;
    void setEnabled(bool enabled) override;
    void invalidate(const PixelRect& r) override;
    void repaintNow() override;
    void raise() override;
    void setFocusable(bool focusable) override;
    void setFocus() override;
    bool hasFocus() const override;
    PixelPoint screenToClient(PixelPoint screen) const override;

    // Directly behind `front` in the stacking order, where Tab comes to it next.
    void stackBehind(WindowPeerBase& front);
    // Hands the parts marked for painting (gathered by invalidate) to the system.
    void handOverMarks();

protected:
    // Takes a place among the windows of `parent`'s peer, behind them, where the system puts a
    // new window. The stacking order is kept here too, so that a window made late (see
    // createWindowPeer) finds its place among windows made earlier.
    void joinStack(WindowPeer* parent);
    // Moves a window made late from behind its siblings to its place in the stacking order.
    void takeStackPlace();
    // Makes the window of a peer that put it off.
    virtual void makeWindow() {}

    HWND m_hwnd;
    PixelRect m_geometry; // as last set
    PixelRect m_marked;   // marked for painting, not yet handed over

private:
    // The nearest sibling in front of it that has its window, and whether one behind it has.
    HWND madeInFront() const;
    bool madeBehind() const;

    WindowPeerBase* m_stackParent = nullptr;
};

// A native control that answers the notifications its parent receives about it (WM_COMMAND,
// WM_CTLCOLOR...): the parent hands them over; nullopt lets the parent's default answer them.
class NotifyTarget {
public:
    virtual std::optional<LRESULT> notified(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // The window it lies in is about to be shown (see prepareShowing).
    virtual void showing() {}

protected:
    ~NotifyTarget() = default;
};
void setNotifyTarget(HWND hwnd, NotifyTarget* target);
NotifyTarget* notifyTargetOf(HWND hwnd);

// The window of a windowed control: a child of `parent` (a hidden top-level one when there is
// none) that paints double-buffered and hands raw input to its sink.
HWND createHostWindow(WindowSink& sink, HWND parent);
bool isHostWindow(HWND hwnd);
// Before `root` is shown: makes the host windows put off that are to be seen (the ones that may
// lie in it), and lets the native controls in it finish what they put off while hidden.
void prepareShowing(HWND root);
// Tells `hwnd` and the visible host windows inside it, innermost first, that the code showed
// them.
void announceShown(HWND hwnd);

// A hidden top-level window: the parent of controls not placed anywhere yet, the owner of the
// windows kept out of the task bar.
HWND parkingWindow();
// A message-only window of the user-interface thread (posted tasks, the clipboard's owner).
HWND messageWindow();

// The focus a top-level window gives its controls when it is next activated.
void setSavedFocus(HWND root, HWND focus);
HWND savedFocus(HWND root);

// The HWND of a windowed control, or nullptr.
HWND hwndOf(const WindowPeer* peer);

// The input the mouse messages carry.
MouseInput mouseInputOf(UINT message, WPARAM wParam, LPARAM lParam);
KeyModifiers currentModifiers();

// Translates and dispatches one message the way the event loop does (shortcuts, dialog keys).
void dispatchMessage(MSG& msg);
// The keys a form's window handles before its focused control (formpeer.cpp): true when
// `msg` was used up.
bool handleFormKeys(HWND root, const MSG& msg);
bool isFormWindow(HWND hwnd);
// Moves the focus to the next (or previous) control that takes Tab in the top-level window.
void moveFocus(HWND root, bool previous);

// Command buttons (stockpeers.cpp): whether a window is one, the visible and enabled one that
// Enter (default) or Esc (cancel) clicks in a top-level window, and a click as the mouse makes
// it.
bool isCommandButton(HWND hwnd);
HWND commandButton(HWND root, bool isDefault);
void clickCommandButton(HWND button);
// A drop-down list whose list is open.
bool isDroppedList(HWND hwnd);

// Runs a window procedure's work: an error must not cross into the system, it is reported as
// the event loop reports it and the message gets `failed` as its answer.
template <typename F> LRESULT guarded(F&& work, LRESULT failed = 0) noexcept {
    try {
        return work();
    } catch (...) {
        Application::reportCurrentException();
    }
    return failed;
}

} // namespace forms::win32
