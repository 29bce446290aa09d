#include "forms/image.h"

#include "forms/surface.h"

namespace forms {

Image::Image(WindowedControl* container) : WindowlessControl(container) {}

void Image::setPicture(PictureRef picture) {
    m_picture = std::move(picture);
    if (hasImage(m_picture))
        Move(Left(), Top(), static_cast<float>(m_picture->width()),
             static_cast<float>(m_picture->height()));
    invalidate();
}

void Image::paint(Surface& surface) const {
    if (hasImage(m_picture))
        surface.drawImage(m_picture->image(), 0, 0);
}

} // namespace forms
