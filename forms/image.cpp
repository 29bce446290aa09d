#include "forms/image.h"

#include "forms/qt/convert.h"

#include <QPainter>

namespace forms {

Image::Image(QWidget* parent) : Control(parent) {}

void Image::setPicture(PictureRef picture) {
    m_picture = std::move(picture);
    if (hasImage(m_picture))
        Move(Left(), Top(), static_cast<float>(m_picture->width()),
             static_cast<float>(m_picture->height()));
    update();
}

void Image::paintEvent(QPaintEvent*) {
    if (!hasImage(m_picture))
        return;
    QPainter p(this);
    p.drawImage(0, 0, qt::toQImage(m_picture->image()));
}

} // namespace forms
