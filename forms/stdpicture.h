#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace forms {

// 32-bit pixels 0xAARRGGBB, row by row; no pixels is a null image.
struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    PixelImage() = default;
    PixelImage(int width, int height, std::uint32_t argb = 0xFF000000u);

    bool isNull() const { return pixels.empty(); }
    bool valid(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    std::uint32_t pixel(int x, int y) const { return pixels[index(x, y)]; }
    void setPixel(int x, int y, std::uint32_t argb) { pixels[index(x, y)] = argb; }
    void fill(std::uint32_t argb);
    // Draws `source` with its top-left corner at (x, y), cut at the edges: each pixel blended
    // once over what is there (source over, rounded as the toolkits round it).
    void draw(const PixelImage& source, int x, int y);

    bool operator==(const PixelImage&) const = default;

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x);
    }
};

// A picture object. An empty picture (null image) has handle 0.
class StdPicture {
public:
    StdPicture();
    explicit StdPicture(PixelImage image);

    // 0 when the image is null, else a nonzero id that stays the same for this object.
    std::uintptr_t handle() const { return m_handle; }
    const PixelImage& image() const { return m_image; }
    int width() const { return m_image.width; }
    int height() const { return m_image.height; }

private:
    PixelImage m_image;
    std::uintptr_t m_handle = 0;
};

// nullptr is "no object" (Nothing); a StdPicture with handle 0 is an empty picture.
using PictureRef = std::shared_ptr<const StdPicture>;

// False for nullptr and for an empty picture.
bool hasImage(const PictureRef& p);

PictureRef makePicture(PixelImage image);

// Loads a PNG from the program's resources (a path starting with ':'); throws RuntimeError
// naming the path if unreadable.
PictureRef loadPicture(const std::u16string& path);

} // namespace forms
