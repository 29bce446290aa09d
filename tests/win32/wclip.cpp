// The clipboard's text as a program left it, for tests under Wine (which turns CR LF into LF when
// it hands text to X). "wclip" writes CF_UNICODETEXT to standard output as UTF-8; "wclip --set"
// puts standard input (UTF-8) there. Exit status 1: no text, or no clipboard.
#include <string>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    const bool set = argc > 1 && std::wstring(argv[1]) == L"--set";
    // Only an owner window may put data there; Wine's clipboard manager may hold it a moment.
    HWND owner = set ? CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, 0, 0, 0) : 0;
    for (int tries = 0; !OpenClipboard(owner); ++tries, Sleep(10))
        if (tries == 100)
            return 1;
    std::string utf8;
    DWORD n = 0;
    bool ok = false;
    if (set) {
        char chunk[4096];
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), chunk, sizeof chunk, &n, nullptr) && n)
            utf8.append(chunk, n);
        const int size = static_cast<int>(utf8.size());
        const int units = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
        HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, (units + 1) * sizeof(wchar_t));
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, static_cast<LPWSTR>(GlobalLock(text)),
                            units);
        GlobalUnlock(text);
        ok = text && EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, text);
    } else if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        const auto* text = static_cast<LPCWSTR>(GlobalLock(data));
        utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr));
        WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), static_cast<int>(utf8.size()),
                            nullptr, nullptr);
        GlobalUnlock(data);
        // Without the terminating zero.
        ok = !utf8.empty() && WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(),
                                        static_cast<DWORD>(utf8.size() - 1), &n, nullptr);
    }
    CloseClipboard();
    return ok ? 0 : 1;
}
