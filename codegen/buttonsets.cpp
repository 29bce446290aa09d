#include "codegen/buttonsets.h"

#include <algorithm>

namespace codegen {

const std::array<ButtonSet, buttonSetCount>& buttonSetCatalogue() {
    // The list shows the Latin "Ok"; the button name in the generated comment is the Cyrillic
    // "\u041E\u043A", written as escapes so the two spellings cannot be mixed up here.
    static const std::array<ButtonSet, buttonSetCount> catalogue{{
        {u"Ok", u"", u""},
        {u"Ok, Отмена", u"\u041E\u043A|Отмена", u"12"},
        {u"Прервать, Повтор, Пропустить", u"Прервать|Повтор|Пропустить", u"345"},
        {u"Да, Нет, Отмена", u"Да|Нет|Отмена", u"672"},
        {u"Да, Нет", u"Да|Нет", u"67"},
        {u"Повтор, Отмена", u"Повтор|Отмена", u"42"},
    }};
    return catalogue;
}

std::optional<ButtonSet> buttonSetAt(std::int16_t position) {
    if (position < 0 || static_cast<std::size_t>(position) >= buttonSetCount)
        return std::nullopt;
    return buttonSetCatalogue()[static_cast<std::size_t>(position)];
}

int buttonCount(std::int16_t position) {
    const auto set = buttonSetAt(position);
    return !set ? 0 : std::max(1, static_cast<int>(set->returnCodes.size()));
}

} // namespace codegen
