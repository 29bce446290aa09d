#include "forms/image.h"
namespace forms {
Image::Image(QWidget* parent) : Control(parent) {}
void Image::setPicture(PictureRef p) {
    m_picture = std::move(p);
}
void Image::paintEvent(QPaintEvent*) {}
} // namespace forms
