#pragma once

#include "forms/stdfont.h"
#include "forms/stdpicture.h"
#include "forms/units.h"

#include <cstdint>
#include <string>

namespace forms {

// Where a windowed control and the windowless parts on it paint. Coordinates are whole pixels of
// what is being painted; colours are opaque 0xAARRGGBB, as in PixelImage.
class Surface {
public:
    virtual ~Surface() = default;

    virtual void fillRect(const PixelRect& r, std::uint32_t argb) = 0;
    // Source over what is there.
    virtual void drawImage(const PixelImage& image, int x, int y) = 0;
    // One line of text, left and top aligned in `area`, cut at its edges.
    virtual void drawText(const StdFont& font, const std::u16string& text, const PixelRect& area,
                          std::uint32_t argb) = 0;
    // A 1-pixel line covers both end points; a wider one is a square-capped pen centred on the
    // pixels.
    virtual void drawLine(int x1, int y1, int x2, int y2, int width, std::uint32_t argb) = 0;

    // Moves the origin to r's top left and restricts drawing to r, until the matching restore.
    virtual void save(const PixelRect& r) = 0;
    virtual void restore() = 0;
};

// The opaque pixel value of a colour; throws like checkColor for an invalid one.
std::uint32_t opaquePixel(OleColor c);

} // namespace forms
