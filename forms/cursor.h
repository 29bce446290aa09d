#pragma once

#include <QPoint>
#include <optional>

class QWidget;

namespace forms {

// Cursor position in screen pixels (or the test override).
QPoint GetCursorPos();
// Screen pixels to w's client pixels.
QPoint ScreenToClient(const QWidget* w, QPoint screen);

// Test hook: a fixed cursor position, or std::nullopt for the real one.
void setCursorPosOverride(std::optional<QPoint> screenPos);

} // namespace forms
