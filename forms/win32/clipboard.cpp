// The system clipboard as plain Unicode text (CF_UNICODETEXT); the neutral layer reads it back
// after each change.

#include "forms/error.h"
#include "forms/peer.h"
#include "forms/win32/window.h"

#include <cstring>

namespace forms::win32 {

namespace {

// Open while it lives; another program may hold the clipboard for a moment, so it tries a few
// times before it gives up.
class OpenClipboardScope {
public:
    OpenClipboardScope() {
        for (int tries = 0; !OpenClipboard(messageWindow()); ++tries) {
            if (tries == 10)
                throw RuntimeError(u"Can't open Clipboard: another program holds it");
            Sleep(20);
        }
    }
    ~OpenClipboardScope() { CloseClipboard(); }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
};

} // namespace

} // namespace forms::win32

namespace forms::backend {

void clipboardClear() {
    win32::OpenClipboardScope open;
    if (!EmptyClipboard())
        throw RuntimeError(u"Can't open Clipboard: it could not be emptied");
}

void clipboardSetText(const std::u16string& text) {
    win32::OpenClipboardScope open;
    // Only the window that emptied the clipboard may put data on it.
    if (!EmptyClipboard())
        throw RuntimeError(u"Can't open Clipboard: it could not be emptied");
    const std::size_t bytes = (text.size() + 1) * sizeof(char16_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* data = memory ? GlobalLock(memory) : nullptr;
    if (!data) {
        if (memory)
            GlobalFree(memory);
        throw RuntimeError(u"Out of memory");
    }
    std::memcpy(data, text.c_str(), bytes);
    GlobalUnlock(memory);
    // The clipboard owns the memory once it took it.
    if (!SetClipboardData(CF_UNICODETEXT, memory)) {
        GlobalFree(memory);
        throw RuntimeError(u"Can't open Clipboard: the text could not be placed on it");
    }
}

bool clipboardEmpty() {
    return CountClipboardFormats() == 0;
}

std::optional<std::u16string> clipboardText() {
    win32::OpenClipboardScope open;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* text = data ? static_cast<const char16_t*>(GlobalLock(data)) : nullptr;
    if (!text)
        return std::nullopt;
    // Up to its terminating zero, or its end if another program left none.
    const std::size_t units = GlobalSize(data) / sizeof(char16_t);
    std::size_t length = 0;
    while (length < units && text[length])
        ++length;
    std::u16string result(text, length);
    GlobalUnlock(data);
    return result;
}

} // namespace forms::backend
