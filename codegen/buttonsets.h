#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace codegen {

// One choice of message-box buttons. Its position in the catalogue is also the platform's
// button-style value (0 OK only ... 5 Retry and Cancel).
struct ButtonSet {
    std::u16string listText;    // shown in the button-set list
    std::u16string buttonNames; // on-screen order, joined by "|"; empty for OK only
    std::u16string returnCodes; // one digit per name, same order; empty for OK only
};

inline constexpr std::size_t buttonSetCount = 6;

// The six sets in list order.
const std::array<ButtonSet, buttonSetCount>& buttonSetCatalogue();

// The set at a list position, or nothing outside 0-5 (the list reports -1 while nothing is
// chosen).
std::optional<ButtonSet> buttonSetAt(std::int16_t position);

// How many buttons the message box of the set at `position` shows (1 for OK only), or 0 outside
// 0-5.
int buttonCount(std::int16_t position);

} // namespace codegen
