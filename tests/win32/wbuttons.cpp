// The captions of the buttons in a top-level window, for tests under Wine, whose dialogs are one X
// window to the tools outside: "wbuttons TITLE" writes the caption of each button of the visible
// window titled TITLE, in the order of its child windows, one a line, as UTF-8 and without the
// ampersands that mark access keys. Exit status 1: no such window.
#include <string>
#include <windows.h>

namespace {

std::string utf8(const std::wstring& text) {
    std::string out(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr),
                    '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                        static_cast<int>(out.size()), nullptr, nullptr);
    return out;
}

BOOL CALLBACK addButton(HWND child, LPARAM lines) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    if (lstrcmpiW(name, L"Button") != 0 || !IsWindowVisible(child))
        return TRUE;
    std::wstring caption(GetWindowTextLengthW(child) + 1, L'\0');
    caption.resize(GetWindowTextW(child, caption.data(), static_cast<int>(caption.size())));
    std::wstring shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && ++i == caption.size())
            break; // "&&" stands for one ampersand
        shown += caption[i];
    }
    *reinterpret_cast<std::string*>(lines) += utf8(shown) + "\n";
    return TRUE;
}

} // namespace

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
