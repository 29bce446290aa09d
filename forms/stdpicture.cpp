#include "forms/stdpicture.h"

#include "forms/error.h"
#include "forms/platform.h"

#include <algorithm>
#include <atomic>

namespace forms {

namespace {

std::atomic<std::uintptr_t> nextHandle{1};

// x * a / 255, rounded, for each of the two bytes at bits 0..7 and 16..23.
std::uint32_t byteMul(std::uint32_t x, std::uint32_t a) {
    std::uint32_t t = (x & 0xFF00FF) * a;
    t = (t + ((t >> 8) & 0xFF00FF) + 0x800080) >> 8;
    return t & 0xFF00FF;
}

// Source over destination, both taken as premultiplied.
std::uint32_t over(std::uint32_t src, std::uint32_t dst) {
    const std::uint32_t rest = 255 - (src >> 24);
    return src + (byteMul(dst, rest) | (byteMul(dst >> 8, rest) << 8));
}

std::uint32_t premultiplied(std::uint32_t p) {
    const std::uint32_t a = p >> 24;
    return (a << 24) | byteMul(p, a) | (byteMul(p >> 8, a) << 8 & 0xFF00);
}

} // namespace

PixelImage::PixelImage(int w, int h, std::uint32_t argb)
    : width(w > 0 && h > 0 ? w : 0), height(w > 0 && h > 0 ? h : 0),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), argb) {}

void PixelImage::fill(std::uint32_t argb) {
    std::fill(pixels.begin(), pixels.end(), argb);
}

void PixelImage::draw(const PixelImage& source, int x, int y) {
    const int x0 = std::max(x, 0), y0 = std::max(y, 0);
    const int x1 = std::min(x + source.width, width), y1 = std::min(y + source.height, height);
    for (int dy = y0; dy < y1; ++dy)
        for (int dx = x0; dx < x1; ++dx) {
            const std::uint32_t s = source.pixel(dx - x, dy - y);
            const std::uint32_t a = s >> 24;
            if (a == 255)
                setPixel(dx, dy, s);
            else if (a != 0)
                // The drawn images are opaque, so what is there counts as premultiplied.
                setPixel(dx, dy, over(premultiplied(s), pixel(dx, dy)));
        }
}

StdPicture::StdPicture() = default;

StdPicture::StdPicture(PixelImage image) : m_image(std::move(image)) {
    if (!m_image.isNull())
        m_handle = nextHandle.fetch_add(1);
}

bool hasImage(const PictureRef& p) {
    return p && p->handle() != 0;
}

PictureRef makePicture(PixelImage image) {
    return std::make_shared<const StdPicture>(std::move(image));
}

PictureRef loadPicture(const std::u16string& path) {
    const auto bytes = platform::readResource(path);
    if (!bytes)
        throw RuntimeError(u"Cannot load picture \"" + path + u"\": not found");
    platform::DecodedPicture decoded = platform::decodePicture(*bytes);
    if (decoded.image.isNull())
        throw RuntimeError(u"Cannot load picture \"" + path + u"\": " + decoded.error);
    return makePicture(std::move(decoded.image));
}

} // namespace forms
