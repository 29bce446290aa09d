#include "forms/stdpicture.h"
namespace forms {
StdPicture::StdPicture() = default;
StdPicture::StdPicture(QImage image) : m_image(std::move(image)) {}
std::uintptr_t StdPicture::handle() const {
    return m_handle;
}
bool hasImage(const PictureRef& p) {
    return p && p->handle() != 0;
}
PictureRef makePicture(QImage image) {
    return std::make_shared<StdPicture>(std::move(image));
}
PictureRef loadPicture(const QString& path) {
    return makePicture(QImage(path));
}
} // namespace forms
