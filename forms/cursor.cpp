#include "forms/cursor.h"

#include <QCursor>
#include <QWidget>
namespace forms {
namespace {
std::optional<QPoint> g_override;
}
QPoint GetCursorPos() {
    return g_override ? *g_override : QCursor::pos();
}
QPoint ScreenToClient(const QWidget* w, QPoint s) {
    return w->mapFromGlobal(s);
}
void setCursorPosOverride(std::optional<QPoint> p) {
    g_override = p;
}
} // namespace forms
