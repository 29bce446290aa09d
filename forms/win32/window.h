#pragma once

#include "forms/control.h"
#include "forms/peer.h"

#include <windows.h>

// The Win32 backend's native windows: a peer wraps one HWND.
namespace forms::win32 {

// The peer of a windowed control: the neutral operations on its window, which it destroys.
class WindowPeerBase : public WindowPeer {
public:
    explicit WindowPeerBase(HWND hwnd = nullptr) : m_hwnd(hwnd) {}
    ~WindowPeerBase() override;

    HWND hwnd() const { return m_hwnd; }

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

protected:
    HWND m_hwnd;
    bool m_focusable = false;
};

// The window of a windowed control: a parent of `parent`'s window (a hidden top-level one when
// there is none) that paints double-buffered and hands raw input to its sink.
HWND createHostWindow(WindowSink& sink, HWND parent);

// The HWND of a windowed control, or nullptr.
HWND hwndOf(const WindowPeer* peer);

// The input the mouse messages carry.
MouseInput mouseInputOf(UINT message, WPARAM wParam, LPARAM lParam);
KeyModifiers currentModifiers();

} // namespace forms::win32
