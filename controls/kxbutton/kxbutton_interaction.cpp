// Mouse, keys and hover tracking: the looks lit, pressed, normal and down, and MouseOut.
#include "controls/kxbutton/kxbutton.h"
#include "forms/cursor.h"
#include "forms/error.h"
#include "forms/events.h"

using forms::VbFalse;
using forms::VbTrue;

namespace {
constexpr std::int16_t LeftButtonOnly = 1;
}

void kxButton::connectHandlers() {
    using I16 = std::int16_t;
    Label2.MouseDown.connect(
        [this](I16& b, I16& s, float& x, float& y) { Label2_MouseDown(b, s, x, y); });
    Image1.MouseDown.connect(
        [this](I16& b, I16& s, float& x, float& y) { Image1_MouseDown(b, s, x, y); });
    Label2.MouseMove.connect(
        [this](I16& b, I16& s, float& x, float& y) { Label2_MouseMove(b, s, x, y); });
    Label2.MouseUp.connect(
        [this](I16& b, I16& s, float& x, float& y) { Label2_MouseUp(b, s, x, y); });
    Image1.MouseUp.connect(
        [this](I16& b, I16& s, float& x, float& y) { Image1_MouseUp(b, s, x, y); });
    Label2.Click.connect([this] { Label2_Click(); });
    Image1.Click.connect([this] { Image1_Click(); });
    Label2.DblClick.connect([this] { Label2_DblClick(); });
    Image1.DblClick.connect([this] { Image1_DblClick(); });
    Picture1.KeyDown.connect([this](I16& k, I16& s) { Picture1_KeyDown(k, s); });
    Picture1.KeyPress.connect([this](I16& k) { Picture1_KeyPress(k); });
    Picture1.KeyUp.connect([this](I16& k, I16& s) { Picture1_KeyUp(k, s); });
    Timer1.Tick.connect([this] { Timer1_Timer(); });
    // The focus frame shows while the face holds the focus; a press the face sees no release of
    // once it loses the focus (a popup, say) ends there.
    Picture1.GotFocus.connect([this] { FocusFrame.setVisible(true); });
    Picture1.LostFocus.connect([this] {
        FocusFrame.setVisible(false);
        pressLost();
    });
}

template <typename Raise> bool kxButton::raiseEvent(Raise&& raise) {
    const forms::Alive alive(lifetime());
    raise();
    return static_cast<bool>(alive);
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
    forms::PixelPoint pt{0, 0};
    pt = forms::GetCursorPos();
    pt = forms::ScreenToClient(*this, pt);
    const float px = static_cast<float>(pt.x), py = static_cast<float>(pt.y);
    const float L = Picture1.ScaleLeft(), T = Picture1.ScaleTop();
    const float W = Picture1.ScaleWidth(), H = Picture1.ScaleHeight();
    return L > px || T > py || L + W < px || T + H < py;
}

// Press: any button, on the overlay or the picture, gives the pressed look.
void kxButton::press(std::int16_t& Button, std::int16_t& Shift, float& x, float& y) {
    if (!raiseEvent([&] { MouseDown(Button, Shift, x, y); }))
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
    if (!raiseEvent([&] { MouseMove(Button, Shift, x, y); }))
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
    if (!raiseEvent([&] { MouseUp(Button, Shift, x, y); }))
        return;
    if (!cursorOutside()) {
        Picture1.setBackColor(Picture3.BackColor());
        Image1.setPicture(variant(Picture3));
        moveImageFromHome(-1);
        // Repaint before the click that follows is handled. Nested events may run here, ticks
        // among them (they still see the button held), and may even destroy the button.
        const forms::Alive alive(lifetime());
        forms::DoEvents();
        if (!alive)
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
    Click();
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
    Click();
}

void kxButton::Label2_DblClick() {
    DblClick();
}

void kxButton::Image1_DblClick() {
    DblClick();
}

// Keys only raise the events: no key clicks the button.
void kxButton::Picture1_KeyDown(std::int16_t& KeyCode, std::int16_t& Shift) {
    KeyDown(KeyCode, Shift);
}

void kxButton::Picture1_KeyPress(std::int16_t& KeyAscii) {
    KeyPress(KeyAscii);
}

void kxButton::Picture1_KeyUp(std::int16_t& KeyCode, std::int16_t& Shift) {
    KeyUp(KeyCode, Shift);
}

// Polls the cursor while it may be over the button and stops once it has left, so a button the
// pointer is not over costs nothing.
void kxButton::Timer1_Timer() {
    if (!cursorOutside())
        return;
    Timer1.setEnabled(false);
    if (!raiseEvent([&] { MouseOut(); }))
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

void kxButton::onPressCancelled() {
    pressLost();
}
