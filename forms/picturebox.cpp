#include "forms/picturebox.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/keys.h"
#include "forms/surface.h"

#include <algorithm>

namespace forms {

namespace {

OleColor pixelColor(std::uint32_t p) {
    return rgbColor((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

} // namespace

PictureBox::PictureBox(WindowedControl* container) : WindowedControl(container) {
    setFocusable(true);
}

void PictureBox::setBackColor(OleColor c) {
    checkColor(c);
    m_backColor = c;
    rebuild();
}

void PictureBox::setPicture(PictureRef picture) {
    m_picture = std::move(picture);
    rebuild();
}

OleColor PictureBox::Point(int x, int y) const {
    makeImage();
    if (!m_image.valid(x, y))
        return 0xFFFFFFFFu;
    return pixelColor(m_image.pixel(x, y));
}

void PictureBox::PSet(int x, int y, OleColor c) {
    const std::uint32_t color = opaquePixel(c); // checks c first, even for a pixel outside
    makeImage();
    if (!m_image.valid(x, y))
        return;
    m_image.setPixel(x, y, color);
    invalidateRect({x, y, 1, 1});
}

void PictureBox::PaintPicture(const PictureRef& picture, int x, int y) {
    if (!hasImage(picture))
        throw RuntimeError(u"Invalid picture");
    makeImage();
    if (m_image.isNull())
        return;
    m_image.draw(picture->image(), x, y);
    invalidate();
}

void PictureBox::Cls() {
    if (hasImage(m_picture)) {
        // Grown later, it shows the stored picture where it grows.
        makeImage();
        m_image.fill(opaquePixel(m_backColor));
    } else {
        m_image = PixelImage();
        m_backgroundOnly = true;
    }
    invalidate();
}

PictureRef PictureBox::Image() const {
    // A copy: later drawing leaves it alone.
    return makePicture(drawnImage());
}

const PixelImage& PictureBox::drawnImage() const {
    makeImage();
    return m_image;
}

void PictureBox::makeImage() const {
    if (!m_backgroundOnly)
        return;
    m_backgroundOnly = false;
    m_image = PixelImage(pixelRect().width, pixelRect().height, opaquePixel(m_backColor));
}

void PictureBox::rebuild() {
    if (hasImage(m_picture)) {
        const int w = pixelRect().width, h = pixelRect().height;
        if (m_image.width != w || m_image.height != h)
            m_image = PixelImage(w, h);
        m_image.fill(opaquePixel(m_backColor));
        m_image.draw(m_picture->image(), 0, 0);
        m_backgroundOnly = false;
    } else {
        m_image = PixelImage();
        m_backgroundOnly = true;
    }
    invalidate();
}

void PictureBox::resizeImage() {
    const int w = pixelRect().width, h = pixelRect().height;
    if (m_backgroundOnly || (m_image.width == w && m_image.height == h))
        return;
    // Background + stored picture, then whatever of the old drawing still fits on top.
    const PixelImage old = std::move(m_image);
    m_image = PixelImage(w, h, opaquePixel(m_backColor));
    if (hasImage(m_picture))
        m_image.draw(m_picture->image(), 0, 0);
    m_image.draw(old, 0, 0);
}

void PictureBox::geometryChanged() {
    resizeImage();
    WindowedControl::geometryChanged();
}

void PictureBox::paintBackground(Surface& surface) const {
    const PixelRect r = pixelRect();
    const std::uint32_t back = opaquePixel(m_backColor);
    if (m_backgroundOnly) {
        surface.fillRect({0, 0, r.width, r.height}, back);
        return;
    }
    surface.drawImage(m_image, 0, 0);
    // Anything beyond the image (a size not yet followed) shows the background.
    if (r.width > m_image.width)
        surface.fillRect({m_image.width, 0, r.width - m_image.width, r.height}, back);
    if (r.height > m_image.height)
        surface.fillRect({0, m_image.height, r.width, r.height - m_image.height}, back);
}

void PictureBox::onKeyDown(const KeyInput& in) {
    const Alive alive(lifetime());
    std::int16_t keyCode = in.keyCode;
    std::int16_t shift = shiftMask(in.modifiers);
    KeyDown(keyCode, shift);
    for (std::int16_t code : keyAsciiCodes(keyCode, in.modifiers, in.text)) {
        if (!alive)
            return;
        std::int16_t keyAscii = code;
        KeyPress(keyAscii);
    }
}

void PictureBox::onKeyUp(const KeyInput& in) {
    // Windows repeats only the key-down message while a key is held.
    if (in.autoRepeat)
        return;
    std::int16_t keyCode = in.keyCode;
    std::int16_t shift = shiftMask(in.modifiers);
    KeyUp(keyCode, shift);
}

} // namespace forms
