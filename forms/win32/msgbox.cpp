#include "forms/msgbox.h"

#include "forms/error.h"
#include "forms/platform.h"

#include <string>
#include <windows.h>

// The preview is the system's own message box: the captions are in the system's language, as
// the generated code will show them on this machine.
namespace forms {

int platform::showMsgBox(const MsgBoxRequest& request) {
    // The style value's button-set numbers and the answers are MessageBoxW's own (MB_OK ..
    // MB_RETRYCANCEL, IDOK .. IDNO); so is Esc, which answers Cancel, or OK when OK is the only
    // button, and does nothing in the sets without Cancel.
    constexpr UINT icons[] = {0, MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION, MB_ICONASTERISK};
    const UINT type =
        static_cast<UINT>(request.style & 0xF) | icons[static_cast<int>(request.icon)] |
        static_cast<UINT>(request.defaultIndex) * MB_DEFBUTTON2 |
        (request.systemModal ? MB_SYSTEMMODAL : MB_APPLMODAL) |
        (request.helpIndex >= 0 ? MB_HELP : 0) | (request.setForeground ? MB_SETFOREGROUND : 0) |
        (request.rightAligned ? MB_RIGHT : 0) | (request.rtlReading ? MB_RTLREADING : 0);
    // Owned by the active window, which stays disabled while the box is up.
    const int answer =
        MessageBoxW(GetActiveWindow(), reinterpret_cast<LPCWSTR>(request.prompt.c_str()),
                    reinterpret_cast<LPCWSTR>(request.title.c_str()), type);
    if (answer == 0) {
        const std::string code = std::to_string(GetLastError());
        throw RuntimeError(u"The message box could not be shown (Windows error " +
                           std::u16string(code.begin(), code.end()) + u")");
    }
    return answer;
}

} // namespace forms
