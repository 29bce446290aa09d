#include "forms/clipboard.h"

#include "forms/error.h"
#include "forms/peer.h"

namespace forms {

// A clipboard may report nothing on failure, so both calls read it back.
void ClipboardClear() {
    backend::clipboardClear();
    if (!backend::clipboardEmpty())
        throw RuntimeError(u"Can't open Clipboard: it could not be cleared");
}

void ClipboardSetText(const std::u16string& text) {
    backend::clipboardSetText(text);
    if (backend::clipboardText() != text)
        throw RuntimeError(u"Can't open Clipboard: the text could not be placed on it");
}

std::optional<std::u16string> ClipboardGetText() {
    return backend::clipboardText();
}

} // namespace forms
