#include "forms/win32/window.h"

#include "forms/win32/gdi.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <unordered_map>
#include <utility>
#include <vector>
#include <windowsx.h>

namespace forms::win32 {

namespace {

constexpr wchar_t HostClass[] = L"AlertwrightHost";
constexpr wchar_t TaskClass[] = L"AlertwrightTasks";
constexpr UINT RunTasks = WM_APP + 1;
constexpr UINT PaintMarked = WM_APP + 2;

HINSTANCE instance() {
    return GetModuleHandleW(nullptr);
}

WindowSink* sinkOf(HWND hwnd) {
    return reinterpret_cast<WindowSink*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void paint(HWND hwnd, WindowSink& sink) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    const int w = client.right, h = client.bottom;
    if (w > 0 && h > 0) {
        // Painted into a bitmap first and copied in one go, so that hovering never flickers.
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h; // top-down, as PixelImage
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC memory = CreateCompatibleDC(dc);
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (memory && bitmap) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            DibSurface surface(memory, static_cast<std::uint32_t*>(bits), w, h);
            sink.paintWindow(surface);
            GdiFlush();
            SetViewportOrgEx(memory, 0, 0, nullptr);
            SelectClipRgn(memory, nullptr);
            BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
                   ps.rcPaint.bottom - ps.rcPaint.top, memory, ps.rcPaint.left, ps.rcPaint.top,
                   SRCCOPY);
            SelectObject(memory, old);
        }
        if (bitmap)
            DeleteObject(bitmap);
        if (memory)
            DeleteDC(memory);
    }
    EndPaint(hwnd, &ps);
}

KeyInput keyInputOf(HWND hwnd, WPARAM wParam, LPARAM lParam, bool down) {
    KeyInput in;
    in.keyCode = static_cast<std::int16_t>(wParam);
    in.modifiers = currentModifiers();
    in.autoRepeat = down ? (lParam & (1 << 30)) != 0 : false;
    if (down) {
        // The characters the key types follow as WM_CHAR once translated: take them with it.
        MSG m;
        while (PeekMessageW(&m, hwnd, WM_CHAR, WM_CHAR, PM_REMOVE))
            in.text.push_back(static_cast<char16_t>(m.wParam));
    }
    return in;
}

// The notifications a parent receives about a child control go to the control's peer.
std::optional<LRESULT> notifyChild(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto child = reinterpret_cast<HWND>(lParam);
    NotifyTarget* target = child ? notifyTargetOf(child) : nullptr;
    return target ? target->notified(message, wParam, lParam) : std::nullopt;
}

LRESULT hostMessage(HWND hwnd, WindowSink& sink, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // everything is painted in WM_PAINT
    case WM_NCPAINT:
        // A child host window has no frame to paint; the default would still fetch a DC for it.
        if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD)
            return 0;
        break;
    case WM_PAINT:
        paint(hwnd, sink);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        // The window keeps the mouse until the last button is up, as a toolkit's grab does.
        SetCapture(hwnd);
        if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_TABSTOP)
            SetFocus(hwnd);
        sink.mouseInput(mouseInputOf(message, wParam, lParam));
        return 0;
    case WM_MOUSEMOVE:
        sink.mouseInput(mouseInputOf(message, wParam, lParam));
        return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
        const MouseInput in = mouseInputOf(message, wParam, lParam);
        if (!in.buttons.left && !in.buttons.right && !in.buttons.middle && GetCapture() == hwnd) {
            // Let go without it counting as a lost press.
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            ReleaseCapture();
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&sink));
        }
        sink.mouseInput(in);
        return 0;
    }
    case WM_CAPTURECHANGED:
    case WM_CANCELMODE:
        sink.pressCancelled();
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        sink.keyDown(keyInputOf(hwnd, wParam, lParam, true));
        if (message == WM_SYSKEYDOWN)
            break; // Alt and F10 still reach the menu
        return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        sink.keyUp(keyInputOf(hwnd, wParam, lParam, false));
        if (message == WM_SYSKEYUP)
            break;
        return 0;
    case WM_GETDLGCODE:
        // The arrows and characters come here; Tab, Enter and Esc stay with the dialog keys.
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
        sink.focusChanged(true);
        return 0;
    case WM_KILLFOCUS:
        sink.pressCancelled();
        sink.focusChanged(false);
        return 0;
    case WM_COMMAND:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        if (const auto answer = notifyChild(message, wParam, lParam))
            return *answer;
        break;
    case WM_NEXTDLGCTL:
        // The controls ask their parent, as in a dialog: the window they lie in moves the focus.
        if (LOWORD(lParam))
            SetFocus(reinterpret_cast<HWND>(wParam));
        else
            moveFocus(GetAncestor(hwnd, GA_ROOT), wParam != 0);
        return 0;
    case DM_GETDEFID:
        return 0; // Enter reaches the default button through the event loop
    case WM_CLOSE:
        return 0; // a multi-line edit in dialog mode asks its parent to close on Esc
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK hostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowSink* sink = sinkOf(hwnd);
    if (!sink)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return guarded([&] { return hostMessage(hwnd, *sink, message, wParam, lParam); });
}

ATOM g_hostAtom = 0;

void registerClasses() {
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSEXW host{};
        host.cbSize = sizeof(WNDCLASSEXW);
        host.style = CS_DBLCLKS;
        host.lpfnWndProc = hostProc;
        host.hInstance = instance();
        host.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        host.lpszClassName = HostClass;
        g_hostAtom = RegisterClassExW(&host);
    });
}

// --- Tasks posted to the event loop ---

std::deque<std::function<void()>>& tasks() {
    static std::deque<std::function<void()>> queue;
    return queue;
}

// Windows with parts marked for painting and not yet handed to the system. A layout or a new look
// marks a dozen parts of a window at once, and each mark handed over is a call into the window
// server; gathered, they go as one per window, before the event loop paints.
std::vector<WindowPeerBase*>& marked() {
    static std::vector<WindowPeerBase*> peers;
    return peers;
}
bool g_markedPosted = false;

LRESULT CALLBACK taskProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PaintMarked) {
        g_markedPosted = false;
        for (WindowPeerBase* peer : std::exchange(marked(), {}))
            peer->handOverMarks();
        return 0;
    }
    if (message != RunTasks)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    // Only those posted before this message: one posted meanwhile waits for its own.
    for (std::size_t n = tasks().size(); n > 0 && !tasks().empty(); --n) {
        auto task = std::move(tasks().front());
        tasks().pop_front();
        guarded([&] {
            task();
            return 0;
        });
    }
    return 0;
}

// --- Timers ---

class Win32TimerPeer;
std::map<UINT_PTR, Win32TimerPeer*>& liveTimers() {
    static std::map<UINT_PTR, Win32TimerPeer*> timers;
    return timers;
}

class Win32TimerPeer : public TimerPeer {
public:
    explicit Win32TimerPeer(std::function<void()> tick) : m_tick(std::move(tick)) {}
    ~Win32TimerPeer() override { stop(); }
    void start(int ms) override {
        stop();
        m_id = SetTimer(nullptr, 0, static_cast<UINT>(ms), &Win32TimerPeer::fired);
        m_interval = ms;
        if (m_id)
            liveTimers()[m_id] = this;
    }
    void stop() override {
        if (!m_id)
            return;
        KillTimer(nullptr, m_id);
        liveTimers().erase(m_id);
        m_id = 0;
    }
    bool running() const override { return m_id != 0; }
    int interval() const override { return m_interval; }

private:
    static void CALLBACK fired(HWND, UINT, UINT_PTR id, DWORD) {
        // A tick of a timer stopped meanwhile may still be queued: find it by its id. A tick
        // that processes events does not run again inside itself.
        auto it = liveTimers().find(id);
        if (it == liveTimers().end() || it->second->m_ticking)
            return;
        Win32TimerPeer* timer = it->second;
        timer->m_ticking = true;
        const std::weak_ptr<int> alive = timer->m_alive;
        guarded([&] {
            timer->m_tick();
            return 0;
        });
        if (!alive.expired())
            timer->m_ticking = false;
    }

    std::function<void()> m_tick;
    UINT_PTR m_id = 0;
    int m_interval = 0;
    bool m_ticking = false;
    std::shared_ptr<int> m_alive = std::make_shared<int>();
};

constexpr wchar_t FocusProperty[] = L"Alertwright.Focus";

// The stacking order of the windows inside each peer's window, front first.
std::unordered_map<const WindowPeerBase*, std::vector<WindowPeerBase*>>& stacks() {
    static std::unordered_map<const WindowPeerBase*, std::vector<WindowPeerBase*>> all;
    return all;
}

class HostPeer;
// Host windows put off, in the order their peers were made (a container before its parts).
std::vector<HostPeer*>& putOff() {
    static std::vector<HostPeer*> peers;
    return peers;
}

// Kept here rather than as window properties: the parent asks at every WM_CTLCOLOR... and
// WM_COMMAND, and reading a property is a call into the window server each time.
std::unordered_map<HWND, NotifyTarget*>& notifyTargets() {
    static std::unordered_map<HWND, NotifyTarget*> targets;
    return targets;
}

} // namespace

HWND messageWindow() {
    static HWND hwnd = [] {
        WNDCLASSEXW c{};
        c.cbSize = sizeof(WNDCLASSEXW);
        c.lpfnWndProc = taskProc;
        c.hInstance = instance();
        c.lpszClassName = TaskClass;
        RegisterClassExW(&c);
        return CreateWindowExW(0, TaskClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance(),
                               nullptr);
    }();
    return hwnd;
}

HWND parkingWindow() {
    static HWND hwnd = [] {
        WNDCLASSEXW c{};
        c.cbSize = sizeof(WNDCLASSEXW);
        c.lpfnWndProc = DefWindowProcW;
        c.hInstance = instance();
        c.lpszClassName = L"AlertwrightParking";
        RegisterClassExW(&c);
        return CreateWindowExW(WS_EX_TOOLWINDOW, c.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0,
                               nullptr, nullptr, instance(), nullptr);
    }();
    return hwnd;
}

void setNotifyTarget(HWND hwnd, NotifyTarget* target) {
    if (target)
        notifyTargets()[hwnd] = target;
    else
        notifyTargets().erase(hwnd);
}

NotifyTarget* notifyTargetOf(HWND hwnd) {
    const auto it = notifyTargets().find(hwnd);
    return it == notifyTargets().end() ? nullptr : it->second;
}

void setSavedFocus(HWND root, HWND focus) {
    if (focus)
        SetPropW(root, FocusProperty, focus);
    else
        RemovePropW(root, FocusProperty);
}

HWND savedFocus(HWND root) {
    return static_cast<HWND>(GetPropW(root, FocusProperty));
}

bool isHostWindow(HWND hwnd) {
    return g_hostAtom && GetClassLongPtrW(hwnd, GCW_ATOM) == g_hostAtom;
}

void announceShown(HWND hwnd) {
    // Gathered first: a handler may show, hide or destroy windows. Children first, as a toolkit
    // shows a window's children before the window itself.
    std::vector<HWND> order;
    auto gather = [&order](auto& self, HWND w) -> void {
        for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (IsWindowVisible(c))
                self(self, c);
        if (isHostWindow(w))
            order.push_back(w);
    };
    gather(gather, hwnd);
    for (HWND w : order)
        if (IsWindow(w) && IsWindowVisible(w))
            if (WindowSink* sink = sinkOf(w))
                sink->shown();
}

KeyModifiers currentModifiers() {
    return {(GetKeyState(VK_SHIFT) & 0x8000) != 0, (GetKeyState(VK_CONTROL) & 0x8000) != 0,
            (GetKeyState(VK_MENU) & 0x8000) != 0};
}

MouseInput mouseInputOf(UINT message, WPARAM wParam, LPARAM lParam) {
    MouseInput in;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        in.kind = MouseInput::Kind::Press;
        break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
        in.kind = MouseInput::Kind::DoubleClick;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        in.kind = MouseInput::Kind::Release;
        break;
    default:
        in.kind = MouseInput::Kind::Move;
        break;
    }
    in.button.left =
        message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK;
    in.button.right =
        message == WM_RBUTTONDOWN || message == WM_RBUTTONUP || message == WM_RBUTTONDBLCLK;
    in.button.middle =
        message == WM_MBUTTONDOWN || message == WM_MBUTTONUP || message == WM_MBUTTONDBLCLK;
    in.buttons = {(wParam & MK_LBUTTON) != 0, (wParam & MK_RBUTTON) != 0,
                  (wParam & MK_MBUTTON) != 0};
    in.modifiers = {(wParam & MK_SHIFT) != 0, (wParam & MK_CONTROL) != 0,
                    (GetKeyState(VK_MENU) & 0x8000) != 0};
    in.x = static_cast<float>(GET_X_LPARAM(lParam));
    in.y = static_cast<float>(GET_Y_LPARAM(lParam));
    return in;
}

HWND createHostWindow(WindowSink& sink, HWND parent) {
    registerClasses();
    // A control parent: Tab and the dialog keys find the controls inside it.
    const DWORD style = parent ? WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN
                               : WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    HWND hwnd = CreateWindowExW(parent ? WS_EX_CONTROLPARENT : 0, HostClass, L"", style, 0, 0, 0, 0,
                                parent, nullptr, instance(), nullptr);
    if (hwnd)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&sink));
    return hwnd;
}

HWND hwndOf(const WindowPeer* peer) {
    const auto* p = dynamic_cast<const WindowPeerBase*>(peer);
    return p ? p->hwnd() : nullptr;
}

// --- WindowPeerBase ---

WindowPeerBase::~WindowPeerBase() {
    std::erase(marked(), this);
    if (const auto it = stacks().find(m_stackParent); m_stackParent && it != stacks().end())
        std::erase(it->second, this);
    stacks().erase(this);
    if (m_hwnd && IsWindow(m_hwnd)) {
        if (isHostWindow(m_hwnd))
            SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_hwnd);
    }
}

HWND WindowPeerBase::hwnd() const {
    if (!m_hwnd)
        const_cast<WindowPeerBase*>(this)->makeWindow();
    return m_hwnd;
}

void WindowPeerBase::joinStack(WindowPeer* parent) {
    m_stackParent = dynamic_cast<WindowPeerBase*>(parent);
    if (m_stackParent)
        stacks()[m_stackParent].push_back(this);
}

HWND WindowPeerBase::madeInFront() const {
    if (!m_stackParent)
        return nullptr;
    const auto& stack = stacks()[m_stackParent];
    const auto at = std::find(stack.begin(), stack.end(), this);
    for (auto it = at; it != stack.begin();)
        if ((*--it)->m_hwnd)
            return (*it)->m_hwnd;
    return nullptr;
}

bool WindowPeerBase::madeBehind() const {
    if (!m_stackParent)
        return false;
    const auto& stack = stacks()[m_stackParent];
    const auto at = std::find(stack.begin(), stack.end(), this);
    return at != stack.end() &&
           std::any_of(at + 1, stack.end(), [](const WindowPeerBase* p) { return p->m_hwnd; });
}

void WindowPeerBase::takeStackPlace() {
    // Made behind its siblings; in the right place already when none made behind it.
    if (m_hwnd && madeBehind()) {
        HWND front = madeInFront();
        SetWindowPos(m_hwnd, front ? front : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void WindowPeerBase::stackBehind(WindowPeerBase& front) {
    if (!m_stackParent || m_stackParent != front.m_stackParent) {
        SetWindowPos(hwnd(), front.hwnd(), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return;
    }
    auto& stack = stacks()[m_stackParent];
    std::erase(stack, this);
    stack.insert(std::find(stack.begin(), stack.end(), &front) + 1, this);
    if (m_hwnd) {
        HWND inFront = madeInFront();
        SetWindowPos(m_hwnd, inFront ? inFront : HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void WindowPeerBase::setGeometry(const PixelRect& r) {
    // A layout moves its parts to where they are again and again; only a change is worth a
    // round of messages.
    if (m_geometry == r)
        return;
    m_geometry = r;
    SetWindowPos(m_hwnd, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowPeerBase::setVisible(bool visible) {
    const bool was = (GetWindowLongPtrW(m_hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
    if (visible && !was)
        prepareShowing(m_hwnd);
    ShowWindow(m_hwnd, visible ? SW_SHOWNA : SW_HIDE);
    // On the screen now: it and what it holds have been shown.
    if (visible && !was && IsWindowVisible(m_hwnd))
        announceShown(m_hwnd);
}

bool WindowPeerBase::isShown() const {
    return IsWindowVisible(m_hwnd) != FALSE;
}

void WindowPeerBase::setEnabled(bool enabled) {
    EnableWindow(m_hwnd, enabled);
}

void WindowPeerBase::invalidate(const PixelRect& r) {
    // A window off the screen is painted whole when it is shown. Marking it now would cost a
    // call into the window server each time, and a work surface marks every pixel it draws.
    if (r.isEmpty() || !IsWindowVisible(m_hwnd))
        return;
    if (!m_marked.isEmpty()) {
        const int right = std::max(m_marked.x + m_marked.width, r.x + r.width);
        const int bottom = std::max(m_marked.y + m_marked.height, r.y + r.height);
        m_marked.x = std::min(m_marked.x, r.x);
        m_marked.y = std::min(m_marked.y, r.y);
        m_marked.width = right - m_marked.x;
        m_marked.height = bottom - m_marked.y;
        return;
    }
    m_marked = r;
    marked().push_back(this);
    if (!g_markedPosted)
        g_markedPosted = PostMessageW(messageWindow(), PaintMarked, 0, 0) != FALSE;
    if (!g_markedPosted) // the queue is full: at once
        handOverMarks();
}

void WindowPeerBase::handOverMarks() {
    if (m_marked.isEmpty())
        return;
    const RECT rect{m_marked.x, m_marked.y, m_marked.x + m_marked.width,
                    m_marked.y + m_marked.height};
    m_marked = {};
    std::erase(marked(), this);
    InvalidateRect(m_hwnd, &rect, FALSE);
}

void WindowPeerBase::repaintNow() {
    handOverMarks();
    UpdateWindow(m_hwnd);
}

void WindowPeerBase::raise() {
    if (m_stackParent) {
        auto& stack = stacks()[m_stackParent];
        std::erase(stack, this);
        stack.insert(stack.begin(), this);
    }
    if (m_hwnd)
        SetWindowPos(m_hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowPeerBase::setFocusable(bool focusable) {
    LONG_PTR style = GetWindowLongPtrW(m_hwnd, GWL_STYLE);
    style = focusable ? style | WS_TABSTOP : style & ~static_cast<LONG_PTR>(WS_TABSTOP);
    SetWindowLongPtrW(m_hwnd, GWL_STYLE, style);
    // Tab looks into a control parent instead of stopping at it: a window that takes the focus
    // itself is none.
    if (isHostWindow(m_hwnd) && GetParent(m_hwnd)) {
        LONG_PTR exStyle = GetWindowLongPtrW(m_hwnd, GWL_EXSTYLE);
        exStyle = focusable ? exStyle & ~static_cast<LONG_PTR>(WS_EX_CONTROLPARENT)
                            : exStyle | WS_EX_CONTROLPARENT;
        SetWindowLongPtrW(m_hwnd, GWL_EXSTYLE, exStyle);
    }
}

void WindowPeerBase::setFocus() {
    // A window not on the screen or not active takes the focus when it is next activated, as a
    // toolkit remembers a window's focus widget; SetFocus would activate it now.
    HWND root = GetAncestor(m_hwnd, GA_ROOT);
    if (root && root != m_hwnd && (!IsWindowVisible(root) || GetActiveWindow() != root)) {
        setSavedFocus(root, m_hwnd);
        return;
    }
    SetFocus(m_hwnd);
}

bool WindowPeerBase::hasFocus() const {
    return GetFocus() == m_hwnd;
}

PixelPoint WindowPeerBase::screenToClient(PixelPoint screen) const {
    POINT p{screen.x, screen.y};
    ScreenToClient(m_hwnd, &p);
    return {p.x, p.y};
}

namespace {

// The window of a windowed control inside another, made when it is first needed: one hidden
// while its form is built (a kxButton's work surfaces) never is, and one shown with the form is
// made in its final place, size and state instead of being moved and restyled there step by
// step, each step a round of messages. The window exists whenever it could be on the screen.
class HostPeer final : public WindowPeerBase {
public:
    HostPeer(WindowSink& sink, WindowPeer* parent)
        : m_sink(sink), m_parent(dynamic_cast<WindowPeerBase*>(parent)) {
        joinStack(parent);
        putOff().push_back(this);
        if (parentOnScreen())
            makeWindow();
    }
    ~HostPeer() override { std::erase(putOff(), this); }

    void makeWindow() override {
        if (m_hwnd)
            return;
        std::erase(putOff(), this);
        registerClasses();
        // As createHostWindow makes it, with the state set meanwhile.
        const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                            (m_visible ? WS_VISIBLE : 0) | (m_enabled ? 0 : WS_DISABLED) |
                            (m_focusable ? WS_TABSTOP : 0);
        const PixelRect& r = m_geometry;
        m_hwnd =
            CreateWindowExW(m_focusable ? 0 : WS_EX_CONTROLPARENT, HostClass, L"", style, r.x, r.y,
                            r.width, r.height, hwndOf(m_parent), nullptr, instance(), nullptr);
        if (!m_hwnd)
            return;
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_sink));
        takeStackPlace();
    }
    bool wantsShowing() const { return !m_hwnd && m_visible; }

    void setGeometry(const PixelRect& r) override {
        if (m_hwnd)
            WindowPeerBase::setGeometry(r);
        else
            m_geometry = r;
    }
    void setVisible(bool visible) override {
        if (m_hwnd) {
            WindowPeerBase::setVisible(visible);
        } else if (visible && parentOnScreen()) {
            makeWindow(); // hidden: shown and announced as any window is
            WindowPeerBase::setVisible(true);
        } else {
            m_visible = visible;
        }
    }
    bool isShown() const override { return m_hwnd && WindowPeerBase::isShown(); }
    void setEnabled(bool enabled) override {
        if (m_hwnd)
            WindowPeerBase::setEnabled(enabled);
        else
            m_enabled = enabled;
    }
    void invalidate(const PixelRect& r) override {
        if (m_hwnd)
            WindowPeerBase::invalidate(r);
    }
    void repaintNow() override {
        if (m_hwnd)
            WindowPeerBase::repaintNow();
    }
    void setFocusable(bool focusable) override {
        if (m_hwnd)
            WindowPeerBase::setFocusable(focusable);
        else
            m_focusable = focusable;
    }
    void setFocus() override {
        makeWindow();
        WindowPeerBase::setFocus();
    }
    bool hasFocus() const override { return m_hwnd && WindowPeerBase::hasFocus(); }
    PixelPoint screenToClient(PixelPoint screen) const override {
        hwnd();
        return WindowPeerBase::screenToClient(screen);
    }

private:
    bool parentOnScreen() const {
        return m_parent && m_parent->madeWindow() && IsWindowVisible(m_parent->hwnd());
    }

    WindowSink& m_sink;
    WindowPeerBase* m_parent;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_focusable = false;
};

} // namespace

void prepareShowing(HWND root) {
    // Copied: making one takes it off the list.
    const std::vector<HostPeer*> pending = putOff();
    for (HostPeer* peer : pending)
        if (peer->wantsShowing())
            peer->makeWindow();
    for (const auto& [hwnd, target] : notifyTargets())
        if (hwnd == root || IsChild(root, hwnd))
            target->showing();
}

} // namespace forms::win32

// --- What the backend creates ---

namespace forms {

namespace backend {

std::unique_ptr<WindowPeer> createWindowPeer(WindowSink& sink, WindowPeer* parent) {
    if (parent)
        return std::make_unique<win32::HostPeer>(sink, parent);
    return std::make_unique<win32::WindowPeerBase>(win32::createHostWindow(sink, nullptr));
}

std::unique_ptr<TimerPeer> createTimerPeer(std::function<void()> tick) {
    return std::make_unique<win32::Win32TimerPeer>(std::move(tick));
}

PixelPoint cursorPos() {
    POINT p{};
    ::GetCursorPos(&p);
    return {p.x, p.y};
}

void post(std::function<void()> task) {
    win32::tasks().push_back(std::move(task));
    PostMessageW(win32::messageWindow(), win32::RunTasks, 0, 0);
}

void setTabOrder(const std::vector<WindowPeer*>& order) {
    // The dialog keys walk the windows in their stacking order.
    win32::WindowPeerBase* previous = nullptr;
    for (WindowPeer* peer : order) {
        auto* p = dynamic_cast<win32::WindowPeerBase*>(peer);
        if (!p)
            continue;
        if (previous)
            p->stackBehind(*previous);
        previous = p;
    }
}

} // namespace backend

void DoEvents() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        if (m.message == WM_QUIT) {
            // The loop that runs the program ends on it: hand it back.
            PostQuitMessage(static_cast<int>(m.wParam));
            return;
        }
        win32::dispatchMessage(m);
    }
}

} // namespace forms
