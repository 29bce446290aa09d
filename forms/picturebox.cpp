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

OleColor pixelColor(QRgb p) {
    return rgbColor(qRed(p), qGreen(p), qBlue(p));
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
    const QColor color = qt::toQColor(c); // checks c first, even for a pixel outside
    if (!m_image.valid(x, y))
        return;
    m_image.setPixel(x, y, color.rgb());
    update(x, y, 1, 1);
}

void PictureBox::PaintPicture(const PictureRef& picture, int x, int y) {
    if (!hasImage(picture))
        throw RuntimeError(u"Invalid picture");
    if (m_image.isNull())
        return;
    {
        QPainter p(&m_image);
        p.drawImage(x, y, picture->image());
    }
    update();
}

void PictureBox::Cls() {
    m_image.fill(qt::toQColor(m_backColor));
    update();
}

PictureRef PictureBox::Image() const {
    // QImage is shared copy-on-write: later drawing detaches m_image and leaves this one alone.
    return makePicture(m_image);
}

void PictureBox::rebuild() {
    const QSize size(std::max(width(), 0), std::max(height(), 0));
    if (size.isEmpty()) {
        m_image = QImage();
    } else {
        if (m_image.size() != size)
            m_image = QImage(size, QImage::Format_RGB32);
        m_image.fill(qt::toQColor(m_backColor));
        if (hasImage(m_picture)) {
            QPainter p(&m_image);
            p.drawImage(0, 0, m_picture->image());
        }
    }
    update();
}

void PictureBox::resizeImage() {
    const QSize size(std::max(width(), 0), std::max(height(), 0));
    if (m_image.size() == size)
        return;
    if (size.isEmpty()) {
        m_image = QImage();
        return;
    }
    // Background + stored picture, then whatever of the old drawing still fits on top.
    const QImage old = m_image;
    m_image = QImage(size, QImage::Format_RGB32);
    m_image.fill(qt::toQColor(m_backColor));
    QPainter p(&m_image);
    if (hasImage(m_picture))
        p.drawImage(0, 0, m_picture->image());
    if (!old.isNull())
        p.drawImage(0, 0, old);
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
    p.drawImage(e->rect().topLeft(), m_image, e->rect());
    // Anything beyond the image (a resize not yet seen) shows the background.
    const QRegion rest = QRegion(e->rect()) - QRegion(m_image.rect());
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
