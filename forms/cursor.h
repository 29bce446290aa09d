#pragma once

#include "forms/units.h"

#include <optional>

namespace forms {

class WindowedControl;

// Cursor position in screen pixels (or the test override).
PixelPoint GetCursorPos();
// Screen pixels to the control's client pixels.
PixelPoint ScreenToClient(const WindowedControl& control, PixelPoint screen);

// Test hook: a fixed cursor position, or std::nullopt for the real one.
void setCursorPosOverride(std::optional<PixelPoint> screenPos);

} // namespace forms
