// The captions of the buttons in a top-level window, for tests under Wine, whose dialogs are one X
// window to the tools outside: "wbuttons TITLE" writes the caption of each button of the window
// titled TITLE, in the order of its child windows, one a line, as UTF-8 and without the
// ampersands that mark access keys. Exit status 1: no such window.
#include <string>
#include <windows.h>

static BOOL CALLBACK addButton(HWND child, LPARAM lines) {
    wchar_t name[8] = {}, caption[256] = {};
    GetClassNameW(child, name, 8);
    if (lstrcmpiW(name, L"Button") != 0 || !IsWindowVisible(child))
        return TRUE;
    GetWindowTextW(child, caption, 256);
    std::wstring shown;
    for (const wchar_t* c = caption; *c; ++c) {
        if (*c == L'&' && !*++c) // "&&" stands for one ampersand
            break;
        shown += *c;
    }
    char utf8[1024] = {};
    WideCharToMultiByte(CP_UTF8, 0, shown.c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
    *reinterpret_cast<std::string*>(lines) += std::string(utf8) + "\n";
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    HWND window = argc > 1 ? FindWindowW(nullptr, argv[1]) : nullptr;
    if (!window)
        return 1;
    std::string lines;
    EnumChildWindows(window, addButton, reinterpret_cast<LPARAM>(&lines));
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), lines.data(), static_cast<DWORD>(lines.size()),
              &written, nullptr);
    return 0;
}
