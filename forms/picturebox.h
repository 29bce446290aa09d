#pragma once

#include "forms/control.h"
#include "forms/stdpicture.h"
#include "forms/vbtypes.h"

#include <cstdint>

namespace forms {

// Picture box: a windowed control that takes the focus, with a stored picture and a persistent
// drawn image (the pixel buffer that is painted, under its windowless children).
class PictureBox : public WindowedControl {
public:
    explicit PictureBox(WindowedControl* container);

    OleColor BackColor() const { return m_backColor; }
    // Checked; rebuilds the drawn image as background + stored picture.
    void setBackColor(OleColor c);

    PictureRef Picture() const { return m_picture; }
    // Drawn at (0,0), cut at the edges, transparent pixels show BackColor.
    void setPicture(PictureRef picture);

    // GetPixel: 0x00BBGGRR, or 0xFFFFFFFF outside the image.
    OleColor Point(int x, int y) const;
    // SetPixel: outside ignored; system colours resolved; invalid colour -> RuntimeError.
    void PSet(int x, int y, OleColor c);
    // Draws a picture into the drawn image, alpha-composited.
    void PaintPicture(const PictureRef& picture, int x, int y);
    // Fills the drawn image with BackColor.
    void Cls();
    // Snapshot of the drawn image; later drawing does not change it.
    PictureRef Image() const;
    const PixelImage& drawnImage() const;

    float ScaleLeft() const { return 0; }
    float ScaleTop() const { return 0; }
    float ScaleWidth() const { return Width(); }
    float ScaleHeight() const { return Height(); }

    Event<std::int16_t, std::int16_t> KeyDown;
    Event<std::int16_t> KeyPress;
    Event<std::int16_t, std::int16_t> KeyUp;

protected:
    void paintBackground(Surface& surface) const override;
    void onKeyDown(const KeyInput& input) override;
    void onKeyUp(const KeyInput& input) override;
    void geometryChanged() override;

private:
    // Drawn image = background + stored picture.
    void rebuild();
    // Follows the control's pixel size, keeping what fits.
    void resizeImage();
    // Makes the drawn image of a box that was the background alone.
    void makeImage() const;

    OleColor m_backColor = 0x8000000F;
    PictureRef m_picture;
    // Opaque. Made only once something is drawn or read: until then the box is its background
    // alone and is painted as such. A box is placed and resized several times while a form is
    // built, and a buffer at every size would be work and memory for nothing.
    mutable PixelImage m_image;
    mutable bool m_backgroundOnly = true;
};

} // namespace forms
