// The stock controls' peers: the system's own EDIT, COMBOBOX and BUTTON controls. Each answers
// the notifications its parent receives about it, and a subclass takes the keys and focus
// changes it must report.
// The subclass replaces the window procedure itself and finds its peer in GWLP_USERDATA:
// SetWindowSubclass looks its data up as a window property at every message, a call into the
// window server each time.

#include "forms/color.h"
#include "forms/stdfont.h"
#include "forms/win32/gdi.h"
#include "forms/win32/window.h"

#include <map>

namespace forms::win32 {

namespace {

constexpr wchar_t DefaultProperty[] = L"Alertwright.Default";
constexpr wchar_t CancelProperty[] = L"Alertwright.Cancel";

LPCWSTR wide(const std::u16string& text) {
    return reinterpret_cast<LPCWSTR>(text.c_str());
}

// One brush per background colour, kept for the program's life: it uses a handful.
HBRUSH brushFor(COLORREF color) {
    static std::map<COLORREF, HBRUSH> brushes;
    auto [it, added] = brushes.try_emplace(color, nullptr);
    if (added)
        it->second = CreateSolidBrush(color);
    return it->second;
}

void setStyleBit(HWND hwnd, LONG_PTR bit, bool on) {
    const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    SetWindowLongPtrW(hwnd, GWL_STYLE, on ? style | bit : style & ~bit);
}

bool hasClass(HWND hwnd, const wchar_t* name) {
    wchar_t buffer[32] = L"";
    GetClassNameW(hwnd, buffer, 32);
    return lstrcmpiW(buffer, name) == 0;
}

// A system control as a child of the parent's window, in the program's font.
class NativePeer : public WindowPeerBase, public NotifyTarget {
public:
    NativePeer(WindowPeer* parent, const wchar_t* className, DWORD style, DWORD exStyle = 0) {
        static UINT nextId = 1000; // clear of the dialog answers IDOK, IDCANCEL...
        HWND parentHwnd = hwndOf(parent);
        m_hwnd = CreateWindowExW(exStyle, className, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                 parentHwnd ? parentHwnd : parkingWindow(),
                                 reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nextId++)),
                                 GetModuleHandleW(nullptr), nullptr);
        SendMessageW(m_hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle(*defaultFont())),
                     FALSE);
        joinStack(parent);
        setNotifyTarget(m_hwnd, this);
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_classProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&NativePeer::subclassProc)));
    }
    ~NativePeer() override {
        SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_classProc));
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, 0);
        setNotifyTarget(m_hwnd, nullptr);
    }

protected:
    // The control's own messages; nullopt: its class handles them.
    virtual std::optional<LRESULT> controlMessage(UINT, WPARAM, LPARAM) { return std::nullopt; }
    LRESULT byClass(UINT message, WPARAM wParam, LPARAM lParam) {
        return CallWindowProcW(m_classProc, m_hwnd, message, wParam, lParam);
    }

    // The colours of a control painted on a background of its own.
    static LRESULT colours(WPARAM dc, OleColor back) {
        const COLORREF color = resolveColor(back);
        SetTextColor(reinterpret_cast<HDC>(dc), GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(reinterpret_cast<HDC>(dc), color);
        return reinterpret_cast<LRESULT>(brushFor(color));
    }

private:
    static LRESULT CALLBACK subclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<NativePeer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (!self)
            return DefWindowProcW(hwnd, message, wParam, lParam);
        return guarded([&] {
            const auto answer = self->controlMessage(message, wParam, lParam);
            return answer ? *answer : self->byClass(message, wParam, lParam);
        });
    }

    WNDPROC m_classProc = nullptr;
};

// ---- Text box

class TextBoxNativePeer : public NativePeer, public TextBoxPeer {
public:
    TextBoxNativePeer(WindowPeer* parent, bool multiLine)
        : NativePeer(parent, L"EDIT",
                     WS_TABSTOP | (multiLine ? ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL
                                             : ES_AUTOHSCROLL),
                     WS_EX_CLIENTEDGE) {}

    std::u16string text() const override {
        std::u16string text(static_cast<std::size_t>(GetWindowTextLengthW(m_hwnd)) + 1, u'\0');
        text.resize(static_cast<std::size_t>(GetWindowTextW(
            m_hwnd, reinterpret_cast<LPWSTR>(text.data()), static_cast<int>(text.size()))));
        return text;
    }
    void setText(const std::u16string& text) override { SetWindowTextW(m_hwnd, wide(text)); }
    void setBackColor(OleColor color) override {
        m_back = color;
        InvalidateRect(m_hwnd, nullptr, TRUE);
    }
    void setLocked(bool locked) override { SendMessageW(m_hwnd, EM_SETREADONLY, locked, 0); }
    void setTabStop(bool tabStop) override { setStyleBit(m_hwnd, WS_TABSTOP, tabStop); }

    std::optional<LRESULT> notified(UINT message, WPARAM wParam, LPARAM) override {
        // A read-only box asks for the static colours.
        if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORSTATIC)
            return colours(wParam, m_back);
        return std::nullopt;
    }

private:
    OleColor m_back = 0x80000005;
};

// ---- Drop-down list

class ComboBoxNativePeer : public NativePeer, public ComboBoxPeer {
public:
    ComboBoxNativePeer(WindowPeer* parent, std::function<void(int)> chosen)
        : NativePeer(parent, L"COMBOBOX", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST),
          m_chosen(std::move(chosen)) {}

    // The closed box exactly the given height; the list opens below it, tall enough for the
    // entries. A box off the screen is sized just before it is shown: each sizing is a round of
    // messages through the box and its list, and a form places it and fills it step by step.
    void setGeometry(const PixelRect& r) override {
        m_rect = r;
        m_sizePending = !IsWindowVisible(m_hwnd);
        if (!m_sizePending)
            place();
    }
    void insertItem(int index, const std::u16string& text) override {
        SendMessageW(m_hwnd, CB_INSERTSTRING, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(wide(text)));
        // The list grows with its entries.
        if (m_rect.height > 0)
            setGeometry(m_rect);
    }
    void showing() override {
        if (m_sizePending) {
            m_sizePending = false;
            place();
        }
    }

    // The control's own changes are not told back to it.
    void setListIndex(int index) override {
        SendMessageW(m_hwnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }
    void setBackColor(OleColor color) override {
        m_back = color;
        InvalidateRect(m_hwnd, nullptr, TRUE);
    }

    std::optional<LRESULT> notified(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_COMMAND && HIWORD(wParam) == CBN_SELCHANGE) {
            m_chosen(static_cast<int>(SendMessageW(m_hwnd, CB_GETCURSEL, 0, 0)));
            return 0;
        }
        if (message == WM_CTLCOLOREDIT || message == WM_CTLCOLORLISTBOX)
            return colours(wParam, m_back);
        return std::nullopt;
    }

protected:
    // The open list asks the box for its colours.
    std::optional<LRESULT> controlMessage(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_CTLCOLORLISTBOX)
            return colours(wParam, m_back);
        return std::nullopt;
    }

private:
    void place() {
        const PixelRect& r = m_rect;
        const int fieldHeight =
            static_cast<int>(SendMessageW(m_hwnd, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
        RECT closed{};
        GetWindowRect(m_hwnd, &closed);
        const int closedHeight = closed.bottom - closed.top;
        if (closedHeight > 0 && closedHeight != r.height && fieldHeight + r.height > closedHeight)
            SendMessageW(m_hwnd, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1),
                         fieldHeight + r.height - closedHeight);
        const int itemHeight = static_cast<int>(SendMessageW(m_hwnd, CB_GETITEMHEIGHT, 0, 0));
        const int count = static_cast<int>(SendMessageW(m_hwnd, CB_GETCOUNT, 0, 0));
        SetWindowPos(m_hwnd, nullptr, r.x, r.y, r.width,
                     r.height + itemHeight * std::max(count, 1) + 2, SWP_NOZORDER | SWP_NOACTIVATE);
    }

    std::function<void(int)> m_chosen;
    OleColor m_back = 0x80000005;
    PixelRect m_rect;
    bool m_sizePending = false; // placed or filled while off the screen
};

// ---- Option button: the control chooses; the button only reports the user's wishes.

class OptionButtonNativePeer : public NativePeer, public OptionButtonPeer {
public:
    OptionButtonNativePeer(WindowPeer* parent, std::function<void()> chosen,
                           std::function<void(int)> arrow)
        : NativePeer(parent, L"BUTTON", BS_RADIOBUTTON), m_chosen(std::move(chosen)),
          m_arrow(std::move(arrow)) {}

    void setCaption(const std::u16string& caption) override {
        SetWindowTextW(m_hwnd, wide(caption));
    }
    void setValue(bool chosen) override {
        SendMessageW(m_hwnd, BM_SETCHECK, chosen ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    void setTabStop(bool tabStop) override { setStyleBit(m_hwnd, WS_TABSTOP, tabStop); }
    void setRightJustify(bool right) override {
        setStyleBit(m_hwnd, BS_RIGHTBUTTON, right);
        InvalidateRect(m_hwnd, nullptr, TRUE);
    }

    std::optional<LRESULT> notified(UINT message, WPARAM wParam, LPARAM) override {
        // A click or Space; the button also says "clicked" when the focus comes to an unchosen
        // one, which chooses nothing.
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && !m_focusing) {
            m_chosen();
            return 0;
        }
        return std::nullopt;
    }

protected:
    std::optional<LRESULT> controlMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_GETDLGCODE:
            // The arrows walk the group in the order the control decides.
            return byClass(message, wParam, lParam) | DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_LEFT || wParam == VK_DOWN || wParam == VK_RIGHT) {
                m_arrow(wParam == VK_UP || wParam == VK_LEFT ? -1 : 1);
                return 0;
            }
            break;
        case WM_SETFOCUS: {
            m_focusing = true;
            const LRESULT answer = byClass(message, wParam, lParam);
            m_focusing = false;
            return answer;
        }
        default:
            break;
        }
        return std::nullopt;
    }

private:
    std::function<void()> m_chosen;
    std::function<void(int)> m_arrow;
    bool m_focusing = false;
};

// ---- Command button: Enter and Esc come from the event loop (commandButton below).

class CommandButtonNativePeer : public NativePeer, public CommandButtonPeer {
public:
    CommandButtonNativePeer(WindowPeer* parent, std::function<void()> clicked)
        : NativePeer(parent, L"BUTTON", WS_TABSTOP | BS_PUSHBUTTON), m_clicked(std::move(clicked)) {
    }
    ~CommandButtonNativePeer() override {
        RemovePropW(m_hwnd, DefaultProperty);
        RemovePropW(m_hwnd, CancelProperty);
    }

    void setCaption(const std::u16string& caption) override {
        SetWindowTextW(m_hwnd, wide(caption));
    }
    void setDefault(bool isDefault) override {
        SendMessageW(m_hwnd, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
        mark(DefaultProperty, isDefault);
    }
    void setCancel(bool isCancel) override { mark(CancelProperty, isCancel); }

    std::optional<LRESULT> notified(UINT message, WPARAM wParam, LPARAM) override {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            m_clicked();
            return 0;
        }
        return std::nullopt;
    }

private:
    void mark(const wchar_t* property, bool on) {
        if (on)
            SetPropW(m_hwnd, property, reinterpret_cast<HANDLE>(1));
        else
            RemovePropW(m_hwnd, property);
    }

    std::function<void()> m_clicked;
};

} // namespace

bool isCommandButton(HWND hwnd) {
    if (!hwnd || !hasClass(hwnd, L"BUTTON") || !notifyTargetOf(hwnd))
        return false;
    const auto type = GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

HWND commandButton(HWND root, bool isDefault) {
    struct Search {
        const wchar_t* property;
        HWND found;
    } search{isDefault ? DefaultProperty : CancelProperty, nullptr};
    EnumChildWindows(
        root,
        [](HWND hwnd, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetPropW(hwnd, s->property) && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void clickCommandButton(HWND button) {
    // The same notification as a click with the mouse.
    SendMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

bool isDroppedList(HWND hwnd) {
    return hwnd && hasClass(hwnd, L"COMBOBOX") && SendMessageW(hwnd, CB_GETDROPPEDSTATE, 0, 0);
}

} // namespace forms::win32

namespace forms::backend {

ControlPeer<TextBoxPeer> createTextBoxPeer(WindowPeer* parent, bool multiLine) {
    return controlPeer<TextBoxPeer>(new win32::TextBoxNativePeer(parent, multiLine));
}

ControlPeer<ComboBoxPeer> createComboBoxPeer(WindowPeer* parent, std::function<void(int)> chosen) {
    return controlPeer<ComboBoxPeer>(new win32::ComboBoxNativePeer(parent, std::move(chosen)));
}

ControlPeer<OptionButtonPeer> createOptionButtonPeer(WindowPeer* parent,
                                                     std::function<void()> chosen,
                                                     std::function<void(int)> arrow) {
    return controlPeer<OptionButtonPeer>(
        new win32::OptionButtonNativePeer(parent, std::move(chosen), std::move(arrow)));
}

ControlPeer<CommandButtonPeer> createCommandButtonPeer(WindowPeer* parent,
                                                       std::function<void()> clicked) {
    return controlPeer<CommandButtonPeer>(
        new win32::CommandButtonNativePeer(parent, std::move(clicked)));
}

} // namespace forms::backend
