// The Windows yardstick for start-up time, memory and idle cost: a bare Win32 window the size of
// the program's, fixed and without minimize and maximize buttons, centred with its frame, with a
// menu bar and a focused single-line EDIT (its caret blinks as the program's title box does).
// No toolkit, built with the same compiler and flags as the program.
// Built a second time as barewindow_v6.exe with the program's manifest and InitCommonControlsEx:
// the common controls of version 6 (their EDIT, in the system's visual style) and per-monitor DPI
// awareness, which the program needs and which cost start-up time and memory of their own.
#include <windows.h>
#ifdef COMMON_CONTROLS_6
#include <commctrl.h>
#endif

namespace {

constexpr int kClientWidth = 388;
constexpr int kClientHeight = 333;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

HWND edit = nullptr;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
        SetFocus(edit);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == 1)
            DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BareWindow";
    RegisterClassW(&wc);
#ifdef COMMON_CONTROLS_6
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
#endif

    HMENU bar = CreateMenu();
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"Exit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), L"Menu");

    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&frame, kStyle, TRUE);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND window = CreateWindowW(L"BareWindow", L"Bare", kStyle,
                                work.left + (work.right - work.left - width) / 2,
                                work.top + (work.bottom - work.top - height) / 2, width, height,
                                nullptr, bar, instance, nullptr);
    edit = CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 68, 24,
                         221, 21, window, nullptr, instance, nullptr);
    ShowWindow(window, show);
    SetFocus(edit);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
