#include "forms/msgbox.h"

#include "forms/error.h"
#include "forms/platform.h"

#include <array>
#include <string>
#include <utility>

namespace forms {

namespace {

MsgBoxPresenter& presenter() {
    static MsgBoxPresenter p;
    return p;
}

struct ButtonSpec {
    const char16_t* caption;
    int result;
};

// The six button sets in the order the style value numbers them; Cancel is always last.
struct ButtonSetSpec {
    std::array<ButtonSpec, 3> buttons;
    int count;
    int escapeIndex;
};

const ButtonSetSpec kButtonSets[] = {
    {{{{u"OK", vbOK}}}, 1, 0},
    {{{{u"OK", vbOK}, {u"Отмена", vbCancel}}}, 2, 1},
    {{{{u"Прервать", vbAbort}, {u"Повтор", vbRetry}, {u"Пропустить", vbIgnore}}}, 3, -1},
    {{{{u"Да", vbYes}, {u"Нет", vbNo}, {u"Отмена", vbCancel}}}, 3, 2},
    {{{{u"Да", vbYes}, {u"Нет", vbNo}}}, 2, -1},
    {{{{u"Повтор", vbRetry}, {u"Отмена", vbCancel}}}, 2, 1},
};

constexpr int kButtonMask = 0xF;
constexpr int kIconMask = 0xF0;
constexpr int kDefaultMask = 0xF00;
constexpr int kKnownBits = kButtonMask | kIconMask | kDefaultMask | vbSystemModal |
                           vbMsgBoxHelpButton | vbMsgBoxSetForeground | vbMsgBoxRight |
                           vbMsgBoxRtlReading;

[[noreturn]] void invalidStyle(int style) {
    const std::string number = std::to_string(style);
    throw RuntimeError(u"Invalid procedure call or argument: message box style " +
                       std::u16string(number.begin(), number.end()));
}

// The icon bits are 16 times the icon's number.
MsgBoxIcon iconOf(int iconBits, int style) {
    if (iconBits > vbInformation)
        invalidStyle(style);
    return static_cast<MsgBoxIcon>(iconBits / vbCritical);
}

} // namespace

std::u16string MsgBoxRequest::shownText() const {
    std::u16string text;
    text.reserve(prompt.size());
    std::size_t from = 0;
    // A CR before an LF is dropped; a lone CR becomes an LF.
    for (std::size_t cr; (cr = prompt.find(u'\r', from)) != std::u16string::npos; from = cr + 1) {
        text.append(prompt, from, cr - from);
        if (cr + 1 == prompt.size() || prompt[cr + 1] != u'\n')
            text += u'\n';
    }
    return text.append(prompt, from);
}

MsgBoxRequest describeMsgBox(std::u16string prompt, int style, const std::u16string& title) {
    if (style < 0 || (style & ~kKnownBits) != 0)
        invalidStyle(style);
    const int set = style & kButtonMask;
    if (set >= static_cast<int>(std::size(kButtonSets)))
        invalidStyle(style);
    const int defaultBits = style & kDefaultMask;
    if (defaultBits > 768)
        invalidStyle(style);

    MsgBoxRequest request;
    request.prompt = std::move(prompt);
    request.style = style;
    request.title = title;
    request.icon = iconOf(style & kIconMask, style);
    const ButtonSetSpec& chosen = kButtonSets[set];
    for (int i = 0; i < chosen.count; ++i) {
        request.buttons.emplace_back(chosen.buttons[i].caption);
        request.results.push_back(chosen.buttons[i].result);
    }
    if (style & vbMsgBoxHelpButton) {
        request.helpIndex = chosen.count;
        request.buttons.emplace_back(u"Справка");
        request.results.push_back(0);
    }
    request.systemModal = (style & vbSystemModal) != 0;
    request.setForeground = (style & vbMsgBoxSetForeground) != 0;
    request.rightAligned = (style & vbMsgBoxRight) != 0;
    request.rtlReading = (style & vbMsgBoxRtlReading) != 0;
    // A default beyond the last button falls back to the first, as the platform does.
    const int wanted = defaultBits / 256;
    request.defaultIndex = wanted < static_cast<int>(request.buttons.size()) ? wanted : 0;
    request.escapeIndex = chosen.escapeIndex;
    return request;
}

int MsgBox(std::u16string prompt, int style, const std::u16string& title) {
    const MsgBoxRequest request = describeMsgBox(std::move(prompt), style, title);
    if (presenter())
        return presenter()(request);
    return platform::showMsgBox(request);
}

void setMsgBoxPresenter(MsgBoxPresenter p) {
    presenter() = std::move(p);
}

} // namespace forms
