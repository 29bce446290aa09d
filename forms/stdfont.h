#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace forms {

// A font object as the controls store it: face name, size in points, weight and flags.
struct StdFont {
    std::u16string name = u"MS Sans Serif";
    float size = 8.25f; // points
    std::int16_t weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::int16_t charset = 204;

    // round(size * logical dots per inch / 72) on the primary screen, at least 1.
    int pixelSize() const;

    bool operator==(const StdFont&) const = default;
};

// Width and height of a text on one line, in pixels.
struct TextSize {
    float width = 0, height = 0;
};

// Shared font object: copying the reference shares the object.
using FontRef = std::shared_ptr<StdFont>;

FontRef makeFont(const std::u16string& name = u"MS Sans Serif", float size = 8.25f,
                 std::int16_t weight = 400, bool italic = false, bool underline = false,
                 bool strikethrough = false, std::int16_t charset = 204);

// A new font object with the platform default (MS Sans Serif 8.25, 400, charset 204).
FontRef defaultFont();

} // namespace forms
