#pragma once

#include <functional>
#include <string>
#include <vector>

namespace forms {

// The answer of a message box: which button the user pressed.
enum VbMsgBoxResult : int { vbOK = 1, vbCancel, vbAbort, vbRetry, vbIgnore, vbYes, vbNo };

// Parts of a style value: button set (style & 7), icon (style & 0x70), default button (256, 512).
enum VbMsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
    vbDefaultButton4 = 768,
    vbApplicationModal = 0,
    vbSystemModal = 4096,
    vbMsgBoxHelpButton = 16384,
    vbMsgBoxSetForeground = 65536,
    vbMsgBoxRight = 524288,
    vbMsgBoxRtlReading = 1048576,
};

// The icon a message box shows, in the order of the style value's icon bits.
enum class MsgBoxIcon { None, Critical, Question, Exclamation, Information };

// Everything a message box shows and answers, worked out from prompt, style value and title.
struct MsgBoxRequest {
    std::u16string prompt; // as the caller passed it
    int style = 0;
    std::u16string title;
    std::vector<std::u16string> buttons; // captions, left to right
    MsgBoxIcon icon = MsgBoxIcon::None;
    int defaultIndex = 0;
    int escapeIndex = -1;     // the button Esc presses; -1: Esc does nothing
    std::vector<int> results; // the answer of each button; 0 for the help button
    int helpIndex = -1;       // the "Справка" button after the others, which closes nothing
    bool systemModal = false; // above every window, not only the program's
    bool setForeground = false;
    bool rightAligned = false; // the text at the right edge
    bool rtlReading = false;   // read from right to left, the buttons mirrored

    // The prompt as shown: CR LF, lone CR and LF all become one line break (LF).
    std::u16string shownText() const;
};

// Builds the request without showing anything; throws RuntimeError for an invalid style value.
MsgBoxRequest describeMsgBox(std::u16string prompt, int style, const std::u16string& title);

// Shows an application-modal message box and returns the answer (vbOK .. vbNo).
int MsgBox(std::u16string prompt, int style, const std::u16string& title);

// Test hook: a presenter gets the request instead of the real box and returns the answer.
// An empty function restores the real box.
using MsgBoxPresenter = std::function<int(const MsgBoxRequest&)>;
void setMsgBoxPresenter(MsgBoxPresenter presenter);

} // namespace forms
