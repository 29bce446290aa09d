#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <memory>

namespace forms {

// A picture object. An empty picture (null image) has handle 0.
class StdPicture {
public:
    StdPicture();
    explicit StdPicture(QImage image);

    // 0 when the image is null, else a nonzero id that stays the same for this object.
    std::uintptr_t handle() const;
    const QImage& image() const { return m_image; }
    int width() const { return m_image.width(); }
    int height() const { return m_image.height(); }

private:
    QImage m_image;
    std::uintptr_t m_handle = 0;
};

// nullptr is "no object" (Nothing); a StdPicture with handle 0 is an empty picture.
using PictureRef = std::shared_ptr<const StdPicture>;

// False for nullptr and for an empty picture.
bool hasImage(const PictureRef& p);

PictureRef makePicture(QImage image);

// Loads a PNG (a file or a Qt resource); throws RuntimeError naming the path if unreadable.
PictureRef loadPicture(const QString& path);

} // namespace forms
