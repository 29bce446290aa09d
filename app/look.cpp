#include "app/look.h"

#include "forms/qt/convert.h"
#include "forms/stdfont.h"
#include "forms/translation.h"

#include <QApplication>
#include <QColor>
#include <QPalette>

namespace app {

void applyDesktopLook() {
    // The pictures beside the option buttons are drawn on the classic button face; the windows
    // use the same grey, so the pictures sit on them without a visible box.
    QPalette palette = QApplication::palette();
    const QColor buttonFace(212, 208, 200);
    palette.setColor(QPalette::Window, buttonFace);
    palette.setColor(QPalette::Button, buttonFace);
    QApplication::setPalette(palette);
    // One face for menus, controls and the buttons' captions: one font to load at start-up.
    QApplication::setFont(forms::qt::toQFont(*forms::defaultFont()));
    forms::installRussianTranslation();
}

} // namespace app
