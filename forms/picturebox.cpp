#include "forms/picturebox.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/keys.h"
#include "forms/qt/convert.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPointer>

namespace forms {

namespace {

OleColor pixelColor(std::uint32_t p) {
    return rgbColor((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

std::uint32_t opaque(OleColor c) {
    return 0xFF000000u | qt::toQColor(c).rgb();
}

} // namespace

PictureBox::PictureBox(QWidget* parent) : Control(parent) {
    setFocusPolicy(Qt::StrongFocus);
    // The drawn image covers every pixel, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
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
    if (!m_image.valid(x, y))
        return 0xFFFFFFFFu;
    return pixelColor(m_image.pixel(x, y));
}

void PictureBox::PSet(int x, int y, OleColor c) {
    const std::uint32_t color = opaque(c); // checks c first, even for a pixel outside
    if (!m_image.valid(x, y))
        return;
    m_image.setPixel(x, y, color);
    update(x, y, 1, 1);
}

void PictureBox::PaintPicture(const PictureRef& picture, int x, int y) {
    if (!hasImage(picture))
        throw RuntimeError(u"Invalid picture");
    if (m_image.isNull())
        return;
    m_image.draw(picture->image(), x, y);
    update();
}

void PictureBox::Cls() {
    m_image.fill(opaque(m_backColor));
    update();
}

PictureRef PictureBox::Image() const {
    // A copy: later drawing leaves it alone.
    return makePicture(m_image);
}

void PictureBox::rebuild() {
    const int w = std::max(width(), 0), h = std::max(height(), 0);
    if (m_image.width != w || m_image.height != h)
        m_image = PixelImage(w, h);
    m_image.fill(opaque(m_backColor));
    if (hasImage(m_picture))
        m_image.draw(m_picture->image(), 0, 0);
    update();
}

void PictureBox::resizeImage() {
    const int w = std::max(width(), 0), h = std::max(height(), 0);
    if (m_image.width == w && m_image.height == h)
        return;
    // Background + stored picture, then whatever of the old drawing still fits on top.
    const PixelImage old = std::move(m_image);
    m_image = PixelImage(w, h, opaque(m_backColor));
    if (hasImage(m_picture))
        m_image.draw(m_picture->image(), 0, 0);
    m_image.draw(old, 0, 0);
}

void PictureBox::geometryChanged() {
    resizeImage();
}

void PictureBox::resizeEvent(QResizeEvent* e) {
    resizeImage();
    Control::resizeEvent(e);
}

void PictureBox::paintEvent(QPaintEvent* e) {
    QPainter p(this);
    if (m_image.isNull()) {
        p.fillRect(e->rect(), qt::toQColor(m_backColor));
        return;
    }
    const QImage image = qt::toQImage(m_image);
    p.drawImage(e->rect().topLeft(), image, e->rect());
    // Anything beyond the image (a resize not yet seen) shows the background.
    const QRegion rest = QRegion(e->rect()) - QRegion(image.rect());
    for (const QRect& r : rest)
        p.fillRect(r, qt::toQColor(m_backColor));
}

void PictureBox::keyPressEvent(QKeyEvent* e) {
    const QPointer<PictureBox> self(this);
    std::int16_t keyCode = qt::virtualKeyFromQt(e->key(), e->modifiers());
    std::int16_t shift = shiftMask(qt::modifiersOf(e->modifiers()));
    emit KeyDown(keyCode, shift);
    for (std::int16_t code :
         keyAsciiCodes(keyCode, qt::modifiersOf(e->modifiers()), e->text().toStdU16String())) {
        if (!self)
            return;
        std::int16_t keyAscii = code;
        emit KeyPress(keyAscii);
    }
}

void PictureBox::keyReleaseEvent(QKeyEvent* e) {
    // Windows repeats only the key-down message while a key is held.
    if (e->isAutoRepeat())
        return;
    std::int16_t keyCode = qt::virtualKeyFromQt(e->key(), e->modifiers());
    std::int16_t shift = shiftMask(qt::modifiersOf(e->modifiers()));
    emit KeyUp(keyCode, shift);
}

} // namespace forms
