#include "forms/units.h"

#include <QWidget>
#include <cmath>
namespace forms {
float twipsPerPixelX() {
    return 15.0f;
}
float twipsPerPixelY() {
    return 15.0f;
}
int pixelRound(float v) {
    return static_cast<int>(std::lround(v));
}
QRect twipsToPixels(int l, int t, int w, int h) {
    return QRect(l / 15, t / 15, w / 15, h / 15);
}
void placeTwips(QWidget* w, int l, int t, int wd, int h) {
    w->setGeometry(twipsToPixels(l, t, wd, h));
}
} // namespace forms
