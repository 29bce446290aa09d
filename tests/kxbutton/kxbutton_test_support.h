#pragma once

// Shared by the kxButton tests: a subclass that opens the parts and state to the tests, picture
// builders, pixel helpers and the pinned hover timer and cursor.

#include "controls/kxbutton/kxbutton.h"
#include "forms/color.h"
#include "forms/cursor.h"
#include "forms/timer.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

class TestButton : public kxButton {
public:
    using kxButton::kxButton;

    using kxButton::DisBorder;
    using kxButton::Image1;
    using kxButton::Label1;
    using kxButton::Label2;
    using kxButton::m_ImageLeft;
    using kxButton::m_ImageTop;
    using kxButton::m_MouseHeld;
    using kxButton::m_Toggle;
    using kxButton::m_Value;
    using kxButton::Picture1;
    using kxButton::Picture2;
    using kxButton::Picture3;
    using kxButton::Picture4;
    using kxButton::Picture5;
    using kxButton::restingFaceColor;
    using kxButton::Shape1;
    using kxButton::Shape2;
    using kxButton::Timer1;

    using kxButton::half;
    using kxButton::UserControl_Resize;
    using kxButton::whole;
};

namespace kxtest {

inline constexpr forms::OleColor Resting = 0x00E0E0E0;
inline constexpr forms::OleColor Lit = 0x00D8BFB6;
inline constexpr forms::OleColor Pressed = 0x00BCA69E;
inline constexpr forms::OleColor Grey = 0x00808080;
inline constexpr forms::OleColor Silver = 0x00C0C0C0;

// Far away from every button the tests create.
inline const QPoint Elsewhere{-20000, -20000};

// No test may depend on timing: the hover timer ticks only when a test fires it, and the cursor
// is where the test puts it.
inline void pinTimerAndCursor() {
    forms::Timer::setManualMode(true);
    forms::setCursorPosOverride(Elsewhere);
}

inline QRgb rgbOf(forms::OleColor c) {
    return forms::toQColor(c).rgb();
}

inline forms::OleColor oleOf(QRgb p) {
    return forms::rgbColor(qRed(p), qGreen(p), qBlue(p));
}

inline forms::OleColor pixel(const forms::PictureRef& p, int x, int y) {
    return oleOf(p->image().pixel(x, y));
}

// A w x h picture filled with `background`, and `paint` for the rest.
inline forms::PictureRef makePicture(
    int w, int h, forms::OleColor background,
    const std::function<void(QImage&)>& paint = [](QImage&) {}) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(QColor::fromRgb(rgbOf(background)));
    paint(img);
    return forms::makePicture(img);
}

inline void put(QImage& img, int x, int y, forms::OleColor c) {
    img.setPixel(x, y, rgbOf(c));
}

// A new, initialised button of the given size, shown as its own window.
inline std::unique_ptr<TestButton> shownButton(int w, int h) {
    auto b = std::make_unique<TestButton>();
    b->InitNew();
    b->resize(w, h);
    b->show();
    return b;
}

} // namespace kxtest
