#include "forms/units.h"

#include "forms/control.h"
#include "forms/error.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace forms {

namespace {

// 96 dpi when there is no screen (a core application, or before the GUI is up).
float logicalDpi(bool horizontal) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 96.0f;
    const QScreen* s = QGuiApplication::primaryScreen();
    if (!s)
        return 96.0f;
    const qreal dpi = horizontal ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
    return dpi > 0 ? static_cast<float>(dpi) : 96.0f;
}

} // namespace

float twipsPerPixelX() {
    return 1440.0f / logicalDpi(true);
}
float twipsPerPixelY() {
    return 1440.0f / logicalDpi(false);
}

int pixelRound(float v) {
    // std::round rounds halves away from zero; the caller keeps v within int range.
    return static_cast<int>(std::round(v));
}

QRect twipsToPixels(int left, int top, int width, int height) {
    const double tx = twipsPerPixelX();
    const double ty = twipsPerPixelY();
    return QRect(static_cast<int>(std::round(left / tx)), static_cast<int>(std::round(top / ty)),
                 static_cast<int>(std::round(width / tx)),
                 static_cast<int>(std::round(height / ty)));
}

void placeTwips(QWidget* w, int left, int top, int width, int height) {
    const QRect r = twipsToPixels(left, top, width, height);
    // A control keeps its own float geometry; placing it through the widget would bypass that.
    if (auto* c = qobject_cast<Control*>(w))
        c->Move(float(r.x()), float(r.y()), float(r.width()), float(r.height()));
    else
        w->setGeometry(r);
}

int checkedBorderWidth(int w) {
    if (w < 1 || w > 8192)
        throw RuntimeError(QStringLiteral("Invalid property value"));
    return w;
}

} // namespace forms
