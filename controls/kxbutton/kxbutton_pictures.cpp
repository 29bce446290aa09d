// Preparation of the picture variants: normal, lit (with drop shadow), down and pressed.
#include "controls/kxbutton/kxbutton.h"
#include "controls/kxbutton/kxbutton_steps.h"

using kxbutton_detail::attempt;

namespace {
// The part of the picture that is scanned: the size of Picture2.
constexpr int ScanSize = 17;
constexpr int ShadowOffset = 2;

// Visits x in the outer loop and y in the inner one; each pixel is a step of its own.
template <typename PixelStep> void scan(PixelStep&& step) {
    for (int x = 0; x < ScanSize; ++x)
        for (int y = 0; y < ScanSize; ++y)
            attempt([&] { step(x, y); });
}
} // namespace

void kxButton::setPicture(forms::PictureRef New_Picture) {
    preparePicture(New_Picture, true);
}

void kxButton::preparePicture(const forms::PictureRef& New_Picture, bool notify) {
    // Never stops on a failing step: a picture that cannot be fully prepared is still shown and
    // laid out as far as it got.
    attempt([&] { Picture2.setPicture(New_Picture); });

    bool drawable = false;
    attempt([&] { drawable = forms::hasImage(Picture2.Picture()); });

    // No pixels of an earlier picture may remain where the new one is transparent or smaller, or
    // when there is no new one.
    for (forms::PictureBox* surface : {&Picture3, &Picture4, &Picture5})
        attempt([&] { surface->Cls(); });

    if (drawable) {
        // The drawn image already holds the picture over the mask colour: drawing the picture
        // into it once more would blend partly transparent pixels a second time.
        // Mask scan: the mask colour (and the background showing through) becomes the face.
        forms::OleColor resting = 0;
        attempt([&] { resting = restingFaceColor(); });
        scan([&](int x, int y) {
            if (Picture2.Point(x, y) == Picture2.BackColor())
                Picture2.PSet(x, y, resting);
        });

        // Shadow scan: grey behind every opaque pixel, two pixels right and down.
        scan([&](int x, int y) {
            if (Picture2.Point(x, y) != resting)
                Picture3.PSet(x + ShadowOffset, y + ShadowOffset, ShadowColor);
        });

        // Copy scan: the opaque pixels over the lit, down and pressed backgrounds.
        scan([&](int x, int y) {
            const forms::OleColor c = Picture2.Point(x, y);
            if (c != resting) {
                attempt([&] { Picture3.PSet(x, y, c); });
                attempt([&] { Picture4.PSet(x, y, c); });
                attempt([&] { Picture5.PSet(x, y, c); });
            }
        });

        attempt([&] { Image1.setPicture(Picture2.Image()); });
    } else {
        // An empty picture leaves nothing to show in any look: the control then shows, returns,
        // saves and lays out as having no picture.
        attempt([&] { Image1.setPicture(Picture2.Picture()); });
    }
    if (notify)
        attempt([&] { PropertyChanged(u"Picture"); });

    // The drawn images are persistent buffers, so the variants need no further committing.
    attempt([&] { UserControl_Resize(); });
}
