#include "forms/platform.h"
#include "forms/qt/convert.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

// Resources, pictures and the Unicode questions, answered by Qt.
namespace forms::platform {

std::u16string foldCase(std::u16string_view text) {
    return QStringView(text).toString().toCaseFolded().toStdU16String();
}

bool isLetter(char32_t c) {
    return QChar::isLetter(c);
}

bool isNumber(char32_t c) {
    return QChar::isNumber(c);
}

std::optional<std::string> readResource(const std::u16string& path) {
    const QString name = QString::fromStdU16String(path);
    if (!name.startsWith(QLatin1Char(':')) || !QFileInfo(name).isFile())
        return std::nullopt;
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll().toStdString();
}

DecodedPicture decodePicture(std::string_view bytes) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "png");
    reader.setDecideFormatFromContent(false);
    const QImage image = reader.read();
    if (image.isNull())
        return {{}, reader.errorString().toStdU16String()};
    return {qt::fromQImage(image), {}};
}

} // namespace forms::platform
