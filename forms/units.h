#pragma once

#include <QRect>

class QWidget;

namespace forms {

// 1440 / logical dots per inch of the primary screen (15 at 96 dpi).
float twipsPerPixelX();
float twipsPerPixelY();

// Nearest whole pixel, halves away from zero (2.5 -> 3, -2.5 -> -3).
int pixelRound(float v);

// A rectangle in twips as pixels of the primary screen.
QRect twipsToPixels(int left, int top, int width, int height);

// Places a widget from a rectangle in twips (for stock widgets in windows).
void placeTwips(QWidget* w, int left, int top, int width, int height);

// The width of a shape's or a line's border in pixels: 1 to 8192, else "Invalid property value".
int checkedBorderWidth(int w);

} // namespace forms
