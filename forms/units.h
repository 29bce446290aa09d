#pragma once

#include "forms/platform.h"

namespace forms {

// The screen's twips per pixel, as the platform reports it.
using platform::twipsPerPixelX;
using platform::twipsPerPixelY;

struct PixelPoint {
    int x = 0, y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// A rectangle in whole pixels.
struct PixelRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const PixelRect&) const = default;
    bool contains(float px, float py) const {
        return px >= x && py >= y && px < x + width && py < y + height;
    }
    bool isEmpty() const { return width <= 0 || height <= 0; }
};

// Nearest whole pixel, halves away from zero (2.5 -> 3, -2.5 -> -3).
int pixelRound(float v);

// A rectangle in twips as pixels, at the given twips per pixel.
PixelRect twipsToPixels(int left, int top, int width, int height, float twipsPerPixelX,
                        float twipsPerPixelY);
// The same on the primary screen.
PixelRect twipsToPixels(int left, int top, int width, int height);

// The width of a shape's or a line's border in pixels: 1 to 8192, else "Invalid property value".
int checkedBorderWidth(int w);

} // namespace forms
