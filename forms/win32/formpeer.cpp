// The Win32 backend's top-level windows: a frame with the menu bar, its client area a host
// window like any windowed control's, and the menus with their shortcut keys.

#include "forms/win32/window.h"

#include <map>
#include <memory>
#include <string>

namespace forms::win32 {

namespace {

constexpr wchar_t FrameClass[] = L"AlertwrightForm";
constexpr UINT FirstItemId = 100; // clear of IDOK, IDCANCEL and the other dialog answers
ATOM g_frameAtom = 0;

LPCWSTR wide(const std::u16string& text) {
    return reinterpret_cast<LPCWSTR>(text.c_str());
}

bool sameModifiers(KeyModifiers a, KeyModifiers b) {
    return a.shift == b.shift && a.control == b.control && a.alt == b.alt;
}

// How a menu shows a shortcut after its caption: "F5", "Ctrl+S".
std::u16string shortcutText(Shortcut s) {
    const int vk = s.keyCode;
    std::u16string key;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        key = std::u16string(1, static_cast<char16_t>(vk));
    } else if (vk >= VK_F1 && vk <= VK_F24) {
        const std::string n = std::to_string(vk - VK_F1 + 1);
        key = u"F";
        key.append(n.begin(), n.end());
    } else {
        static const std::map<int, std::u16string> names = {
            {VK_BACK, u"Backspace"}, {VK_TAB, u"Tab"},     {VK_RETURN, u"Enter"},
            {VK_ESCAPE, u"Esc"},     {VK_SPACE, u"Space"}, {VK_PRIOR, u"PgUp"},
            {VK_NEXT, u"PgDn"},      {VK_END, u"End"},     {VK_HOME, u"Home"},
            {VK_LEFT, u"Left"},      {VK_UP, u"Up"},       {VK_RIGHT, u"Right"},
            {VK_DOWN, u"Down"},      {VK_INSERT, u"Ins"},  {VK_DELETE, u"Del"}};
        const auto it = names.find(vk);
        if (it == names.end())
            return {};
        key = it->second;
    }
    return std::u16string(s.modifiers.control ? u"Ctrl+" : u"") +
           (s.modifiers.shift ? u"Shift+" : u"") + (s.modifiers.alt ? u"Alt+" : u"") + key;
}

std::u16string itemText(const std::u16string& caption, Shortcut shortcut) {
    const std::u16string keys = shortcut.keyCode ? shortcutText(shortcut) : std::u16string();
    return keys.empty() ? caption : caption + u"\t" + keys;
}

// A 32-bit icon with its alpha channel.
HICON makeIcon(const PixelImage& image) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = image.width;
    header.bV5Height = -image.height; // top-down, as PixelImage
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                     &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!color)
        return nullptr;
    std::copy(image.pixels.begin(), image.pixels.end(), static_cast<std::uint32_t*>(bits));
    // All opaque in the mask: the alpha channel decides.
    const std::vector<BYTE> zeros(static_cast<std::size_t>((image.width + 15) / 16 * 2) *
                                  static_cast<std::size_t>(image.height));
    HBITMAP mask = CreateBitmap(image.width, image.height, 1, 1, zeros.data());
    ICONINFO info{TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(color);
    return icon;
}

// What a window, its menus and their items share: the menu bar and the items' commands.
struct MenuBar {
    struct Item {
        Shortcut shortcut;
        bool enabled = true;
        std::function<void()> chosen;
    };
    HWND frame = nullptr;
    HMENU bar = nullptr;
    std::map<UINT, Item> items;
    UINT nextId = FirstItemId;
};

class Win32MenuItemPeer : public MenuItemPeer {
public:
    Win32MenuItemPeer(std::shared_ptr<MenuBar> bar, HMENU menu, UINT id, Shortcut shortcut)
        : m_bar(std::move(bar)), m_menu(menu), m_id(id), m_shortcut(shortcut) {}
    ~Win32MenuItemPeer() override {
        m_bar->items.erase(m_id);
        DeleteMenu(m_menu, m_id, MF_BYCOMMAND);
    }
    void setCaption(const std::u16string& caption) override {
        std::u16string text = itemText(caption, m_shortcut);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STRING;
        info.dwTypeData = reinterpret_cast<LPWSTR>(text.data());
        SetMenuItemInfoW(m_menu, m_id, FALSE, &info);
    }
    void setEnabled(bool enabled) override {
        EnableMenuItem(m_menu, m_id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        if (auto it = m_bar->items.find(m_id); it != m_bar->items.end())
            it->second.enabled = enabled;
    }
    // The system leaves the mark alone when the item is chosen: the code sets it.
    void setChecked(bool checked) override {
        CheckMenuItem(m_menu, m_id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }

private:
    std::shared_ptr<MenuBar> m_bar;
    HMENU m_menu;
    UINT m_id;
    Shortcut m_shortcut;
};

class Win32MenuPeer : public MenuPeer {
public:
    // `parent`: the menu it hangs in; the menu bar when null.
    Win32MenuPeer(std::shared_ptr<MenuBar> bar, HMENU menu, HMENU parent = nullptr)
        : m_bar(std::move(bar)), m_menu(menu), m_parent(parent ? parent : m_bar->bar) {}
    ~Win32MenuPeer() override {
        for (int i = GetMenuItemCount(m_parent) - 1; i >= 0; --i)
            if (GetSubMenu(m_parent, i) == m_menu)
                DeleteMenu(m_parent, static_cast<UINT>(i), MF_BYPOSITION);
        if (IsWindow(m_bar->frame))
            DrawMenuBar(m_bar->frame);
    }
    std::unique_ptr<MenuItemPeer> addItem(const std::u16string& caption, Shortcut shortcut,
                                          std::function<void()> chosen) override {
        const UINT id = m_bar->nextId++;
        AppendMenuW(m_menu, MF_STRING, id, wide(itemText(caption, shortcut)));
        m_bar->items[id] = {shortcut, true, std::move(chosen)};
        return std::make_unique<Win32MenuItemPeer>(m_bar, m_menu, id, shortcut);
    }
    void addSeparator() override { AppendMenuW(m_menu, MF_SEPARATOR, 0, nullptr); }
    std::unique_ptr<MenuPeer> addSubmenu(const std::u16string& caption) override {
        HMENU submenu = CreatePopupMenu();
        AppendMenuW(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu), wide(caption));
        return std::make_unique<Win32MenuPeer>(m_bar, submenu, m_menu);
    }

private:
    std::shared_ptr<MenuBar> m_bar;
    HMENU m_menu;
    HMENU m_parent;
};

// The frame of a form; the peer's own window is the client area inside it.
class Win32FormPeer : public WindowPeerBase, public FormPeer {
public:
    Win32FormPeer(FormSink& sink, WindowSink& client) : m_sink(sink) {
        registerFrameClass();
        m_frame =
            CreateWindowExW(0, FrameClass, L"", frameStyle(BorderStyle::FixedSingle), CW_USEDEFAULT,
                            CW_USEDEFAULT, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
        m_menus->frame = m_frame;
        m_hwnd = createHostWindow(client, m_frame);
    }

    ~Win32FormPeer() override {
        // Nothing more reaches the form while the windows go.
        SetWindowLongPtrW(m_frame, GWLP_USERDATA, 0);
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        DestroyWindow(m_frame);
        if (m_bigIcon)
            DestroyIcon(m_bigIcon);
        if (m_smallIcon)
            DestroyIcon(m_smallIcon);
    }

    // Only the client area's size counts: the frame keeps a fixed size around it.
    void setGeometry(const PixelRect& r) override {
        m_client = {r.width, r.height};
        fit();
    }
    void setVisible(bool visible) override { visible ? show() : hide(); }
    void raise() override {}

    void show() override {
        const bool wasShown = IsWindowVisible(m_frame);
        if (m_fitPending)
            fitNow();
        if (!wasShown)
            prepareShowing(m_frame);
        if (!m_centred) {
            m_centred = true;
            centre();
        }
        ShowWindow(m_frame, IsIconic(m_frame) ? SW_RESTORE : SW_SHOW);
        SetForegroundWindow(m_frame);
        if (!wasShown)
            announceShown(m_hwnd);
    }
    void hide() override { ShowWindow(m_frame, SW_HIDE); }
    void minimize() override { ShowWindow(m_frame, SW_MINIMIZE); }
    void setCaption(const std::u16string& caption) override {
        SetWindowTextW(m_frame, wide(caption));
    }
    void setIcon(const PixelImage& image) override {
        HICON big = image.isNull() ? nullptr : makeIcon(image);
        HICON small =
            big ? static_cast<HICON>(CopyImage(big, IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), 0))
                : nullptr;
        SendMessageW(m_frame, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
        SendMessageW(m_frame, WM_SETICON, ICON_SMALL,
                     reinterpret_cast<LPARAM>(small ? small : big));
        if (m_bigIcon)
            DestroyIcon(m_bigIcon);
        if (m_smallIcon)
            DestroyIcon(m_smallIcon);
        m_bigIcon = big;
        m_smallIcon = small;
    }
    void setBorderStyle(BorderStyle style) override {
        const LONG_PTR visible = GetWindowLongPtrW(m_frame, GWL_STYLE) & WS_VISIBLE;
        SetWindowLongPtrW(m_frame, GWL_STYLE, static_cast<LONG_PTR>(frameStyle(style)) | visible);
        SetWindowLongPtrW(m_frame, GWL_EXSTYLE,
                          style == BorderStyle::FixedDialog ? WS_EX_DLGMODALFRAME : 0);
        // An owned window stays out of the task bar; the owner is never shown.
        SetWindowLongPtrW(m_frame, GWLP_HWNDPARENT,
                          reinterpret_cast<LONG_PTR>(
                              style == BorderStyle::FixedDialog ? parkingWindow() : nullptr));
        fit(); // the new frame is taken in there
    }
    std::unique_ptr<MenuPeer> addMenu(const std::u16string& caption) override {
        if (!m_menus->bar) {
            m_menus->bar = CreateMenu();
            SetMenu(m_frame, m_menus->bar);
        }
        HMENU menu = CreatePopupMenu();
        AppendMenuW(m_menus->bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menu),
                    wide(caption));
        fit(); // the menu bar is laid out again there
        return std::make_unique<Win32MenuPeer>(m_menus, menu);
    }
    // Posted: the menu's keyboard mode runs a loop of its own until it closes.
    void activateMenuBar() override { PostMessageW(m_frame, WM_SYSCOMMAND, SC_KEYMENU, 0); }

    // A shortcut of an enabled item: true when the key ran it.
    bool shortcutKey(const MSG& msg) {
        if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
            return false;
        const KeyModifiers held = currentModifiers();
        for (const auto& [id, item] : m_menus->items) {
            if (item.enabled && item.shortcut.keyCode == static_cast<int>(msg.wParam) &&
                sameModifiers(item.shortcut.modifiers, held)) {
                // The item, and this window, may be gone when it returns.
                const std::function<void()> chosen = item.chosen;
                chosen();
                return true;
            }
        }
        return false;
    }

    static Win32FormPeer* of(HWND frame) {
        return isFormWindow(frame)
                   ? reinterpret_cast<Win32FormPeer*>(GetWindowLongPtrW(frame, GWLP_USERDATA))
                   : nullptr;
    }

private:
    static DWORD frameStyle(BorderStyle style) {
        // Title bar with the close box only; the window is minimized by the code alone.
        return (style == BorderStyle::FixedDialog ? WS_POPUP : WS_OVERLAPPED) | WS_CAPTION |
               WS_SYSMENU | WS_CLIPCHILDREN;
    }

    static void registerFrameClass() {
        if (g_frameAtom)
            return;
        WNDCLASSEXW c{};
        c.cbSize = sizeof c;
        c.lpfnWndProc = &Win32FormPeer::frameProc;
        c.hInstance = GetModuleHandleW(nullptr);
        c.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        c.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        c.lpszClassName = FrameClass;
        g_frameAtom = RegisterClassExW(&c);
    }

    static LRESULT CALLBACK frameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* peer = reinterpret_cast<Win32FormPeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!peer)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        return guarded([&] { return peer->frameMessage(hwnd, message, wParam, lParam); });
    }

    LRESULT frameMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        switch (message) {
        case WM_CLOSE:
            // The form decides: it unloads and hides the window.
            m_sink.closeRequested();
            return 0;
        case WM_ACTIVATE:
            scheduleActivationCheck();
            if (LOWORD(wParam) == WA_INACTIVE) {
                // The control that had the focus gets it back when the window is active again.
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus))
                    setSavedFocus(hwnd, focus);
                return 0;
            }
            if (!HIWORD(wParam)) { // not minimized
                restoreFocus(hwnd);
                return 0;
            }
            break;
        case WM_ACTIVATEAPP:
            scheduleActivationCheck();
            break;
        case WM_COMMAND:
            // Menu choices; the dialog keys' IDOK and IDCANCEL carry a control (or none) and
            // are not menu items.
            if (HIWORD(wParam) == 0 && lParam == 0)
                runItem(LOWORD(wParam));
            return 0;
        case WM_NEXTDLGCTL:
            if (LOWORD(lParam))
                SetFocus(reinterpret_cast<HWND>(wParam));
            else
                moveFocus(hwnd, wParam != 0);
            return 0;
        case DM_GETDEFID:
            return 0;
        case WM_ERASEBKGND:
            return 1; // the client area covers it all
        default:
            break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    void runItem(UINT id) {
        // The item may be gone when a choice made in the menu arrives.
        const auto it = m_menus->items.find(id);
        if (it == m_menus->items.end() || !it->second.enabled)
            return;
        const std::function<void()> chosen = it->second.chosen;
        chosen();
    }

    static void restoreFocus(HWND frame) {
        HWND focus = savedFocus(frame);
        if (!focus || !IsWindow(focus) || !IsChild(frame, focus) || !IsWindowVisible(focus) ||
            !IsWindowEnabled(focus))
            focus = GetNextDlgTabItem(frame, nullptr, FALSE);
        SetFocus(focus ? focus : frame);
    }

    // The client area exactly its size below the menu bar. Off the screen the frame waits until
    // it is shown: while a form is built its size, style and menus come one by one, and each
    // fitting of a top-level window is a long round of messages.
    void fit() {
        if (IsWindowVisible(m_frame))
            fitNow();
        else
            m_fitPending = true;
    }
    void fitNow() {
        m_fitPending = false;
        const int w = m_client.cx, h = m_client.cy;
        RECT r{0, 0, w, h};
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(m_frame, GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(m_frame, GWL_EXSTYLE));
        AdjustWindowRectEx(&r, style, m_menus->bar != nullptr, exStyle);
        int frameW = r.right - r.left, frameH = r.bottom - r.top;
        // Frame changed: a new style or menu bar takes its place in the non-client area.
        SetWindowPos(m_frame, nullptr, 0, 0, frameW, frameH,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        // A menu bar that wraps onto a second line is taller than the estimate: correct once.
        RECT client{};
        GetClientRect(m_frame, &client);
        if (client.right != w || client.bottom != h) {
            frameW += w - client.right;
            frameH += h - client.bottom;
            SetWindowPos(m_frame, nullptr, 0, 0, frameW, frameH,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        SetWindowPos(m_hwnd, nullptr, 0, 0, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    // The frame in the middle of the screen it is on.
    void centre() {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        GetMonitorInfoW(MonitorFromWindow(m_frame, MONITOR_DEFAULTTOPRIMARY), &monitor);
        const RECT& area = monitor.rcMonitor;
        RECT frame{};
        GetWindowRect(m_frame, &frame);
        const int w = frame.right - frame.left, h = frame.bottom - frame.top;
        SetWindowPos(m_frame, nullptr, area.left + (area.right - area.left - w) / 2,
                     area.top + (area.bottom - area.top - h) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void scheduleActivationCheck() {
        if (m_checkPending)
            return;
        m_checkPending = true;
        // Posted: when one window deactivates, the next one's activation is still on its way.
        backend::post([this, alive = std::weak_ptr<int>(m_alive)] {
            if (alive.expired())
                return;
            m_checkPending = false;
            m_sink.activationChanged(activation());
        });
    }

    Activation activation() const {
        HWND active = GetActiveWindow(); // none when another application's window is active
        if (active == m_frame)
            return Activation::ThisWindow;
        if (!active)
            return Activation::NoneOfOurs;
        // A window this one owns (its message box) does not take its place.
        for (HWND owner = GetWindow(active, GW_OWNER); owner; owner = GetWindow(owner, GW_OWNER))
            if (owner == m_frame)
                return Activation::NoneOfOurs;
        return Activation::AnotherOfOurs;
    }

    FormSink& m_sink;
    HWND m_frame = nullptr;
    std::shared_ptr<MenuBar> m_menus = std::make_shared<MenuBar>();
    SIZE m_client{};
    HICON m_bigIcon = nullptr;
    HICON m_smallIcon = nullptr;
    bool m_centred = false;
    bool m_fitPending = false;
    bool m_checkPending = false;
    std::shared_ptr<int> m_alive = std::make_shared<int>();
};

} // namespace

bool isFormWindow(HWND hwnd) {
    return g_frameAtom && hwnd && GetClassLongPtrW(hwnd, GCW_ATOM) == g_frameAtom;
}

bool handleFormKeys(HWND root, const MSG& msg) {
    Win32FormPeer* peer = Win32FormPeer::of(root);
    return peer && peer->shortcutKey(msg);
}

} // namespace forms::win32

namespace forms::backend {

ControlPeer<FormPeer> createFormPeer(FormSink& form, WindowSink& client) {
    return controlPeer<FormPeer>(new win32::Win32FormPeer(form, client));
}

} // namespace forms::backend
