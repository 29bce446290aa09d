#include "forms/stdpicture.h"

#include "forms/error.h"
#include "forms/qt/convert.h"

#include <QImageReader>
#include <atomic>

namespace forms {

namespace {
std::atomic<std::uintptr_t> nextHandle{1};
}

StdPicture::StdPicture() = default;

StdPicture::StdPicture(QImage image) : m_image(std::move(image)) {
    if (!m_image.isNull())
        m_handle = nextHandle.fetch_add(1);
}

std::uintptr_t StdPicture::handle() const {
    return m_handle;
}

bool hasImage(const PictureRef& p) {
    return p && p->handle() != 0;
}

PictureRef makePicture(QImage image) {
    return std::make_shared<const StdPicture>(std::move(image));
}

PictureRef loadPicture(const QString& path) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        throw qt::runtimeError(
            QStringLiteral("Cannot load picture \"%1\": %2").arg(path, reader.errorString()));
    return makePicture(std::move(image));
}

} // namespace forms
