#include "forms/picturebox.h"
namespace forms {
PictureBox::PictureBox(QWidget* parent) : Control(parent) {}
void PictureBox::setBackColor(OleColor c) {
    m_backColor = c;
}
void PictureBox::setPicture(PictureRef p) {
    m_picture = std::move(p);
}
OleColor PictureBox::Point(int, int) const {
    return 0xFFFFFFFF;
}
void PictureBox::PSet(int, int, OleColor) {}
void PictureBox::PaintPicture(const PictureRef&, int, int) {}
void PictureBox::Cls() {}
PictureRef PictureBox::Image() const {
    return makePicture(m_image);
}
void PictureBox::paintEvent(QPaintEvent*) {}
void PictureBox::keyPressEvent(QKeyEvent*) {}
void PictureBox::keyReleaseEvent(QKeyEvent*) {}
void PictureBox::geometryChanged() {}
void PictureBox::rebuild() {}
} // namespace forms
