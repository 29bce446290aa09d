#include "forms/cursor.h"

#include "forms/control.h"

namespace forms {

namespace {
std::optional<PixelPoint> g_override;
}

PixelPoint GetCursorPos() {
    return g_override ? *g_override : backend::cursorPos();
}

PixelPoint ScreenToClient(const WindowedControl& control, PixelPoint screen) {
    return control.peer() ? control.peer()->screenToClient(screen) : screen;
}

void setCursorPosOverride(std::optional<PixelPoint> p) {
    g_override = p;
}

} // namespace forms
