// Layout of face, picture, caption, overlay and frames, and what happens when the control is shown.
#include "controls/kxbutton/kxbutton.h"
#include "controls/kxbutton/kxbutton_steps.h"
#include "forms/error.h"

#include <algorithm>
#include <cmath>
#include <limits>

using kxbutton_detail::attempt;

std::int32_t kxButton::whole(double x) {
    // nearbyint rounds in the current mode, which the program leaves at nearest-even.
    const double r = std::nearbyint(x);
    if (!(r >= std::numeric_limits<std::int32_t>::min() &&
          r <= std::numeric_limits<std::int32_t>::max()))
        throw forms::RuntimeError(u"Overflow");
    return static_cast<std::int32_t>(r);
}

void kxButton::UserControl_Resize() {
    // Every step runs on its own: a failure (say, a face narrower than the picture and its gap)
    // leaves the rest of the layout to do its work. W and H are read afresh where used.
    const auto W = [this] { return Picture1.ScaleWidth(); };
    const auto H = [this] { return Picture1.ScaleHeight(); };
    const auto showsPicture = [this] { return forms::hasImage(Image1.Picture()); };

    attempt([&] { Picture1.Move(0, 0, ScaleWidth(), ScaleHeight()); });
    attempt([&] { Label2.Move(0, 0, W(), H()); });
    attempt([&] { Image1.Move(6, static_cast<float>(half(whole(H() - 15.0f)))); });

    float available = 0;
    attempt([&] { available = showsPicture() ? W() - (Image1.Width() + 3.0f) : W(); });

    // Let the caption take the size of its text again.
    std::u16string text;
    attempt([&] { text = Label1.Caption(); });
    attempt([&] { Label1.setAutoSize(true); });
    attempt([&] { Label1.setCaption(text); });

    // A negative room fails here on purpose: the caption then keeps the width of its text.
    attempt([&] {
        if (Label1.Width() > available)
            Label1.setWidth(available);
    });

    const bool withPicture = showsPicture();
    attempt([&] {
        const auto top = static_cast<float>(half(whole(H() - Label1.Height())));
        if (withPicture) {
            // Centred between the picture's right edge and the face's; may end in a half pixel.
            Label1.Move((W() - Label1.Width() + Image1.Width() + Image1.Left()) / 2.0f, top);
        } else {
            Label1.Move(static_cast<float>(half(whole(W() - Label1.Width()))), top);
        }
    });
    attempt([&] { Image1.setVisible(withPicture); });

    attempt([&] { m_ImageLeft = whole(Image1.Left()); });
    attempt([&] { m_ImageTop = whole(Image1.Top()); });
    attempt([&] { Shape2.Move(0, 0, W(), H()); });
    attempt([&] { DisBorder.Move(0, 0, W(), H()); });
    // Inside the face, clear of the frames on its edge pixels.
    attempt([&] { FocusFrame.Move(3, 3, std::max(W() - 6, 0.0f), std::max(H() - 6, 0.0f)); });
    attempt([&] { applyStoredDownLook(); });
}

void kxButton::UserControl_Show() {
    Label2.setCaption(std::u16string());
    Label2.Move(0, 0, Picture1.ScaleWidth(), Picture1.ScaleHeight());
    // Only the design caption, in exactly that spelling, gives way to the instance's name.
    if (Label1.Caption() == u"kxButton")
        Label1.setCaption(AmbientDisplayName());
    if (!Picture1.Enabled()) {
        Image1.setEnabled(false);
        Label1.setEnabled(false);
        Label2.setEnabled(false);
        DisBorder.setVisible(true);
        UserControl::setEnabled(false); // as the Enabled let leaves it
    }
    UserControl_Resize();
}
