// Mouse, keys and hover tracking: the looks lit, pressed, normal and down, and MouseOut.
#include "controls/kxbutton/kxbutton.h"
#include "forms/cursor.h"
#include "forms/error.h"
#include "forms/events.h"

#include <QEvent>
#include <QPointer>

using forms::VbFalse;
using forms::VbTrue;

namespace {
constexpr std::int16_t LeftButtonOnly = 1;
}

void kxButton::connectHandlers() {
    connect(&Label2, &forms::Control::MouseDown, this, &kxButton::Label2_MouseDown);
    connect(&Image1, &forms::Control::MouseDown, this, &kxButton::Image1_MouseDown);
    connect(&Label2, &forms::Control::MouseMove, this, &kxButton::Label2_MouseMove);
    connect(&Label2, &forms::Control::MouseUp, this, &kxButton::Label2_MouseUp);
    connect(&Image1, &forms::Control::MouseUp, this, &kxButton::Image1_MouseUp);
    connect(&Label2, &forms::Control::Click, this, &kxButton::Label2_Click);
    connect(&Image1, &forms::Control::Click, this, &kxButton::Image1_Click);
    connect(&Label2, &forms::Control::DblClick, this, &kxButton::Label2_DblClick);
    connect(&Image1, &forms::Control::DblClick, this, &kxButton::Image1_DblClick);
    connect(&Picture1, &forms::PictureBox::KeyDown, this, &kxButton::Picture1_KeyDown);
    connect(&Picture1, &forms::PictureBox::KeyPress, this, &kxButton::Picture1_KeyPress);
    connect(&Picture1, &forms::PictureBox::KeyUp, this, &kxButton::Picture1_KeyUp);
    connect(&Timer1, &forms::Timer::tick, this, &kxButton::Timer1_Timer);
}

template <typename Raise> bool kxButton::raiseEvent(Raise&& raise) {
    const QPointer<kxButton> self(this);
    raise();
    return !self.isNull();
}

void kxButton::moveImageFromHome(std::int32_t offset) {
    std::int32_t left = 0, top = 0;
    if (__builtin_add_overflow(m_ImageLeft, offset, &left) ||
        __builtin_add_overflow(m_ImageTop, offset, &top))
        throw forms::RuntimeError(u"Overflow");
    Image1.Move(static_cast<float>(left), static_cast<float>(top));
}

void kxButton::coverFaceWithFrame() {
    Shape1.setVisible(true);
    Shape1.Move(0, 0, Picture1.ScaleWidth(), Picture1.ScaleHeight());
}

bool kxButton::cursorOutside() const {
    // The face's own edges count as inside.
    QPoint pt(0, 0);
    pt = forms::GetCursorPos();
    pt = forms::ScreenToClient(this, pt);
    const float px = static_cast<float>(pt.x()), py = static_cast<float>(pt.y());
    const float L = Picture1.ScaleLeft(), T = Picture1.ScaleTop();
    const float W = Picture1.ScaleWidth(), H = Picture1.ScaleHeight();
    return L > px || T > py || L + W < px || T + H < py;
}

// Press: any button, on the overlay or the picture, gives the pressed look.
void kxButton::press(std::int16_t& Button, std::int16_t& Shift, float& x, float& y) {
    if (!raiseEvent([&] { emit MouseDown(Button, Shift, x, y); }))
        return;
    Image1.setPicture(variant(Picture5));
    Picture1.setBackColor(Picture5.BackColor());
    moveImageFromHome(+1);
    m_MouseHeld = VbTrue;
}

void kxButton::Label2_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& x, float& y) {
    press(Button, Shift, x, y);
}

void kxButton::Image1_MouseDown(std::int16_t& Button, std::int16_t& Shift, float& x, float& y) {
    press(Button, Shift, x, y);
}

// Moves over the picture are not handled: there the timer alone keeps track of the pointer.
void kxButton::Label2_MouseMove(std::int16_t& Button, std::int16_t& Shift, float& x, float& y) {
    Timer1.setEnabled(true);
    // The overlay's coordinates and the surface's size are both in pixels.
    if (!(x >= 0 && y >= 0 && x <= ScaleWidth() && y <= ScaleHeight()))
        return;
    if (!raiseEvent([&] { emit MouseMove(Button, Shift, x, y); }))
        return;
    if (m_MouseHeld == VbTrue)
        return;
    if (m_Value == VbFalse) {
        Image1.setPicture(variant(Picture3));
        moveImageFromHome(-1);
    }
    if (Button == LeftButtonOnly) {
        Shape1.setVisible(false);
        Picture1.setBackColor(restingFaceColor());
        return;
    }
    if (!Shape1.Visible() && !(m_Toggle == VbTrue && m_Value == VbTrue)) {
        Picture1.setBackColor(Picture3.BackColor());
        coverFaceWithFrame();
    }
}

// Release: lit again if the cursor is still on the face; otherwise the next tick sets the normal
// look.
void kxButton::release(std::int16_t& Button, std::int16_t& Shift, float& x, float& y) {
    if (!raiseEvent([&] { emit MouseUp(Button, Shift, x, y); }))
        return;
    if (!cursorOutside()) {
        Picture1.setBackColor(Picture3.BackColor());
        Image1.setPicture(variant(Picture3));
        moveImageFromHome(-1);
        // Repaint before the click that follows is handled. Nested events may run here, ticks
        // among them (they still see the button held), and may even destroy the button.
        const QPointer<kxButton> self(this);
        forms::DoEvents();
        if (!self)
            return;
    }
    m_MouseHeld = VbFalse;
}

void kxButton::Label2_MouseUp(std::int16_t& Button, std::int16_t& Shift, float& x, float& y) {
    release(Button, Shift, x, y);
}

void kxButton::Image1_MouseUp(std::int16_t& Button, std::int16_t& Shift, float& x, float& y) {
    release(Button, Shift, x, y);
}

// A click beside the picture flips the switch itself, not through Value: no notification, and
// the face keeps the colour and frame the release left.
void kxButton::Label2_Click() {
    if (m_Toggle == VbTrue) {
        m_Value = static_cast<forms::Boolean>(~m_Value);
        if (m_Value == VbTrue) {
            Image1.setPicture(variant(Picture4));
            moveImageFromHome(+1);
        }
    }
    emit Click();
}

// A click on the picture flips the switch and keeps the picture; face and frame follow.
void kxButton::Image1_Click() {
    if (m_Toggle == VbTrue) {
        m_Value = static_cast<forms::Boolean>(~m_Value);
        if (m_Value == VbTrue) {
            Picture1.setBackColor(Picture3.BackColor());
            coverFaceWithFrame();
        } else {
            Picture1.setBackColor(restingFaceColor());
            Shape1.setVisible(false);
        }
    }
    emit Click();
}

void kxButton::Label2_DblClick() {
    emit DblClick();
}

void kxButton::Image1_DblClick() {
    emit DblClick();
}

// Keys only raise the events: no key clicks the button.
void kxButton::Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) {
    emit KeyDown(KeyCode, Shift);
}

void kxButton::Picture1_KeyPress(std::int16_t& KeyAscii) {
    emit KeyPress(KeyAscii);
}

void kxButton::Picture1_KeyUp(std::int16_t& KeyCode, std::int16_t& Shift) {
    emit KeyUp(KeyCode, Shift);
}

// Polls the cursor while it may be over the button and stops once it has left, so a button the
// pointer is not over costs nothing.
void kxButton::Timer1_Timer() {
    if (!cursorOutside())
        return;
    Timer1.setEnabled(false);
    if (!raiseEvent([&] { emit MouseOut(); }))
        return;
    if (m_Value == VbFalse)
        showNormalLook();
}

void kxButton::showNormalLook() {
    Picture1.setBackColor(restingFaceColor());
    Shape1.setVisible(false);
    Image1.setPicture(Picture2.Picture());
    moveImageFromHome(+1);
}

forms::PictureRef kxButton::variant(const forms::PictureBox& surface) const {
    // Without a picture the work surfaces hold only their background: show nothing then.
    return forms::hasImage(Picture2.Picture()) ? surface.Image() : Picture2.Picture();
}

// The release went elsewhere: the button is no longer held and rests. A down switch shows its
// down look, as after a click beside the picture, rather than staying pressed. The hover timer is
// left as it is, so the next visit lights the button again.
void kxButton::pressLost() {
    if (m_MouseHeld != VbTrue)
        return;
    m_MouseHeld = VbFalse;
    Label2.forgetPress();
    Image1.forgetPress();
    if (m_Value == VbFalse) {
        showNormalLook();
        return;
    }
    Picture1.setBackColor(Picture3.BackColor());
    coverFaceWithFrame();
    Image1.setPicture(variant(Picture4));
    moveImageFromHome(+1);
}

namespace {
// Events after which a press sees no release: a modal window opened, the window was deactivated,
// another window took the mouse, or the focus left the face (a popup, say).
bool endsPress(const QEvent* e) {
    switch (e->type()) {
    case QEvent::WindowBlocked:
    case QEvent::WindowDeactivate:
    case QEvent::UngrabMouse:
    case QEvent::FocusOut:
        return true;
    default:
        return false;
    }
}
} // namespace

bool kxButton::event(QEvent* e) {
    if (endsPress(e))
        pressLost();
    return UserControl::event(e);
}

bool kxButton::eventFilter(QObject* watched, QEvent* e) {
    if (watched == &Picture1 && (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut))
        FocusFrame.setVisible(e->type() == QEvent::FocusIn);
    if (endsPress(e))
        pressLost();
    return UserControl::eventFilter(watched, e);
}
