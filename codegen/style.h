#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace codegen {

// The parts of a message box's style value that the window and the command line can choose.
// Their defaults add nothing to the value.
struct StyleParts {
    std::int16_t icon = 0;      // 0 none, 16 stop, 32 question, 48 exclamation, 64 information
    std::int16_t buttonSet = 0; // catalogue position 0-5
    int defaultButton = 1;      // 1-3, at most as many as the set has buttons
    bool systemModal = false;   // vbSystemModal
    bool helpButton = false;    // vbMsgBoxHelpButton
    bool right = false;         // vbMsgBoxRight
    bool rtl = false;           // vbMsgBoxRtlReading

    bool operator==(const StyleParts&) const = default;
};

// The sum of the parts, as Visual Basic adds them.
std::int32_t styleValue(const StyleParts& parts);

// A style value taken apart: what StyleParts holds, and the rest by its constant's name
// ("vbMsgBoxSetForeground", "vbDefaultButton3" beyond the set's buttons) or, where Visual Basic
// has no constant for it, by its value ("8192"), lowest bits first.
struct StyleSplit {
    StyleParts parts;
    std::vector<std::string> ignored;
};
StyleSplit splitStyle(std::int32_t value);

// The message-box constants a style is written with, and their values.
struct StyleConstant {
    std::u16string_view name;
    std::int32_t value;
    std::int32_t mask; // the bits of the part the constant names
};
const std::vector<StyleConstant>& styleConstants();

// The constants that name `value`, one per non-zero part in the order button set, icon, default
// button, modality, help button, foreground, right alignment, right-to-left; "vbOKOnly" alone
// for 0. Nothing when some part has no constant (or the value is negative).
std::optional<std::vector<std::u16string_view>> styleConstantNames(std::int32_t value);

// The constant of a return value's digit ('1' vbOK ... '7' vbNo), or nothing.
std::optional<std::u16string_view> answerConstant(char16_t returnCode);

} // namespace codegen
