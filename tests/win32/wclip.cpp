// The clipboard's text as a program left it, for tests under Wine (which turns CR LF into LF when
// it hands text to X). "wclip" writes CF_UNICODETEXT to standard output as UTF-8; "wclip --set"
// puts standard input (UTF-8) there. Exit status 1: no text, or no clipboard.
#include <string>
#include <windows.h>

// Wine's clipboard manager may hold the clipboard for a moment.
static bool openClipboard(HWND owner) {
    for (int tries = 0; tries < 100; ++tries, Sleep(10))
        if (OpenClipboard(owner))
            return true;
    return false;
}

int wmain(int argc, wchar_t** argv) {
    std::string utf8;
    DWORD n = 0;
    if (argc > 1 && std::wstring(argv[1]) == L"--set") {
        char chunk[4096];
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), chunk, sizeof chunk, &n, nullptr) && n)
            utf8.append(chunk, n);
        const int size = static_cast<int>(utf8.size());
        const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
        HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (units + 1) * sizeof(wchar_t));
        if (!text)
            return 1;
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, static_cast<LPWSTR>(GlobalLock(text)),
                            units);
        GlobalUnlock(text);
        // Only an owner window may put data there.
        HWND owner =
            CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        const bool ok =
            openClipboard(owner) && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, text);
        CloseClipboard();
        return ok ? 0 : 1;
    }
    if (!openClipboard(nullptr))
        return 1;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* text = data ? static_cast<LPCWSTR>(GlobalLock(data)) : nullptr;
    if (text) {
        utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr));
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), static_cast<int>(utf8.size()),
                            nullptr, nullptr);
        GlobalUnlock(data);
    }
    CloseClipboard();
    // Without the terminating zero.
    return text && WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(),
                             static_cast<DWORD>(utf8.size() - 1), &n, nullptr)
               ? 0
               : 1;
}
