// The Win32 backend's application: the common controls, the event loop with the keys a window
// handles before its focused control (menu shortcuts, Tab, Enter and Esc, the dialog keys), and
// the log.

#include "forms/application.h"

#include "forms/win32/window.h"

#include <commctrl.h>
#include <string>

namespace forms::win32 {

namespace {

bool isSingleLineEdit(HWND hwnd) {
    wchar_t name[8] = L"";
    GetClassNameW(hwnd, name, 8);
    return lstrcmpiW(name, L"EDIT") == 0 && !(GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_MULTILINE);
}

// Tab, Enter and Esc in a form's window: true when the key was used up.
bool dialogKey(HWND root, MSG& msg) {
    // Every message passes here, the caret's blink among them: the keyboard's state is a call
    // into the window server, asked only for a key.
    if (msg.message != WM_KEYDOWN)
        return false;
    const KeyModifiers held = currentModifiers();
    if (held.control || held.alt)
        return false;
    HWND focus = GetFocus();
    switch (msg.wParam) {
    case VK_TAB:
        // Never typed, not even into a multi-line text box.
        moveFocus(root, held.shift);
        return true;
    case VK_RETURN:
    case VK_ESCAPE: {
        const bool enter = msg.wParam == VK_RETURN;
        if (enter && isCommandButton(focus)) {
            clickCommandButton(focus);
            return true;
        }
        // An open list closes; a multi-line text box starts a new line.
        if (isDroppedList(focus) ||
            (enter && focus && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS)))
            return false;
        if (HWND button = commandButton(root, enter)) {
            clickCommandButton(button);
            return true;
        }
        // Without such a button a control of ours sees the key; a system control would only
        // beep.
        if (focus && isHostWindow(focus)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return true;
    }
    default:
        return false;
    }
}

bool preTranslate(MSG& msg) {
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (!root || !isFormWindow(root))
        return false;
    if (handleFormKeys(root, msg) || dialogKey(root, msg))
        return true;
    // The arrows among buttons, Alt with a letter; everything else is dispatched by it.
    return IsDialogMessageW(root, &msg) != FALSE;
}

class Win32ApplicationPeer : public ApplicationPeer {
public:
    Win32ApplicationPeer() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        // Posted tasks need the thread's window before the first one is posted.
        messageWindow();
    }

    int run() override {
        MSG msg{};
        BOOL got;
        while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0 && got != -1)
            dispatchMessage(msg);
        return static_cast<int>(msg.wParam);
    }
};

} // namespace

void dispatchMessage(MSG& msg) {
    // A shortcut's command runs here, outside any window procedure.
    const bool used = guarded([&] { return static_cast<LRESULT>(preTranslate(msg)); }, 1) != 0;
    if (!used) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void moveFocus(HWND root, bool previous) {
    HWND focus = GetFocus();
    if (focus == root || (focus && !IsChild(root, focus)))
        focus = nullptr;
    HWND next = GetNextDlgTabItem(root, focus, previous);
    if (!next)
        return;
    // A single-line text box comes with its text chosen, as in a dialog.
    if (isSingleLineEdit(next))
        SendMessageW(next, EM_SETSEL, 0, -1);
    SetFocus(next);
}

} // namespace forms::win32

namespace forms::backend {

std::unique_ptr<ApplicationPeer> createApplicationPeer(int&, char**) {
    return std::make_unique<win32::Win32ApplicationPeer>();
}

void quit(int code) {
    PostQuitMessage(code);
}

void writeLog(const std::u16string& line) {
    const std::u16string text = line + u"\n";
    OutputDebugStringW(reinterpret_cast<LPCWSTR>(text.c_str()));
    // A program of the GUI subsystem has a standard error only when its caller gave it one.
    HANDLE err = GetStdHandle(STD_ERROR_HANDLE);
    if (!err || err == INVALID_HANDLE_VALUE)
        return;
    const auto* units = reinterpret_cast<LPCWSTR>(text.c_str());
    const int size = static_cast<int>(text.size());
    std::string utf8(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, units, size, nullptr,
                                                                  0, nullptr, nullptr)),
                     '\0');
    WideCharToMultiByte(CP_UTF8, 0, units, size, utf8.data(), static_cast<int>(utf8.size()),
                        nullptr, nullptr);
    DWORD written = 0;
    WriteFile(err, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

} // namespace forms::backend
