#pragma once

#include "forms/stdfont.h"
#include "forms/surface.h"

#include <vector>
#include <windows.h>

// Drawing with GDI for the Win32 backend.
namespace forms::win32 {

// The program's HFONT for a font object, made once per distinct font and kept.
HFONT fontHandle(const StdFont& font);

// A surface over a top-down 32-bit DIB section selected into a memory DC: fills and pictures are
// written to the pixels directly (the same blending as PixelImage), text and lines go through
// GDI.
class DibSurface : public Surface {
public:
    // The bitmap's pixels, `width` wide, and the DC it is selected into.
    DibSurface(HDC dc, std::uint32_t* pixels, int width, int height);

    void fillRect(const PixelRect& r, std::uint32_t argb) override;
    void drawImage(const PixelImage& image, int x, int y) override;
    void drawText(const StdFont& font, const std::u16string& text, const PixelRect& area,
                  std::uint32_t argb) override;
    void drawLine(int x1, int y1, int x2, int y2, int width, std::uint32_t argb) override;
    void save(const PixelRect& r) override;
    void restore() override;

private:
    struct State {
        int dx = 0, dy = 0; // origin in bitmap pixels
        PixelRect clip;     // in bitmap pixels
    };
    // The part of r (in the current coordinates) inside the clip, in bitmap pixels.
    PixelRect clipped(const PixelRect& r) const;
    // Sets the DC's origin and clip to the current state, for GDI calls.
    void prepareDc();

    HDC m_dc;
    std::uint32_t* m_pixels;
    int m_width, m_height;
    std::vector<State> m_states;
};

} // namespace forms::win32
