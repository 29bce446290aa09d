#include "forms/win32/gdi.h"

#include "forms/platform.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace forms::win32 {

namespace {

COLORREF colorRef(std::uint32_t argb) {
    return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

using FontKey = std::tuple<std::u16string, int, int, bool, bool, bool, int>;

} // namespace

HFONT fontHandle(const StdFont& font) {
    // Fonts live as long as the program; it uses a handful.
    static std::map<FontKey, HFONT> fonts;
    const FontKey key{font.name,      font.pixelSize(),   font.weight, font.italic,
                      font.underline, font.strikethrough, font.charset};
    if (auto it = fonts.find(key); it != fonts.end())
        return it->second;
    HFONT f = CreateFontW(-font.pixelSize(), 0, 0, 0, font.weight, font.italic, font.underline,
                          font.strikethrough, static_cast<DWORD>(font.charset), OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                          reinterpret_cast<const wchar_t*>(font.name.c_str()));
    if (!f)
        f = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    fonts.emplace(key, f);
    return f;
}

DibSurface::DibSurface(HDC dc, std::uint32_t* pixels, int width, int height)
    : m_dc(dc), m_pixels(pixels), m_width(width), m_height(height) {
    m_states.push_back({0, 0, {0, 0, width, height}});
}

PixelRect DibSurface::clipped(const PixelRect& r) const {
    const State& s = m_states.back();
    const int left = std::max(r.x + s.dx, s.clip.x), top = std::max(r.y + s.dy, s.clip.y);
    const int right = std::min(r.x + s.dx + r.width, s.clip.x + s.clip.width);
    const int bottom = std::min(r.y + s.dy + r.height, s.clip.y + s.clip.height);
    return {left, top, std::max(right - left, 0), std::max(bottom - top, 0)};
}

void DibSurface::fillRect(const PixelRect& r, std::uint32_t argb) {
    const PixelRect c = clipped(r);
    if (c.isEmpty())
        return;
    GdiFlush();
    for (int y = c.y; y < c.y + c.height; ++y)
        std::fill_n(m_pixels + static_cast<std::size_t>(y) * m_width + c.x, c.width, argb);
}

void DibSurface::drawImage(const PixelImage& image, int x, int y) {
    const PixelRect c = clipped({x, y, image.width, image.height});
    if (c.isEmpty())
        return;
    GdiFlush();
    // The clipped part of the bitmap as an image, blended as PixelImage blends.
    PixelImage target(c.width, c.height);
    for (int row = 0; row < c.height; ++row)
        std::copy_n(m_pixels + static_cast<std::size_t>(c.y + row) * m_width + c.x, c.width,
                    target.pixels.begin() + static_cast<std::ptrdiff_t>(row) * c.width);
    const State& s = m_states.back();
    target.draw(image, x + s.dx - c.x, y + s.dy - c.y);
    for (int row = 0; row < c.height; ++row)
        std::copy_n(target.pixels.begin() + static_cast<std::ptrdiff_t>(row) * c.width, c.width,
                    m_pixels + static_cast<std::size_t>(c.y + row) * m_width + c.x);
}

void DibSurface::prepareDc() {
    const State& s = m_states.back();
    // The clip is given in logical units: in bitmap pixels while the origin is at 0, 0.
    SetViewportOrgEx(m_dc, 0, 0, nullptr);
    SelectClipRgn(m_dc, nullptr);
    IntersectClipRect(m_dc, s.clip.x, s.clip.y, s.clip.x + s.clip.width, s.clip.y + s.clip.height);
    SetViewportOrgEx(m_dc, s.dx, s.dy, nullptr);
}

void DibSurface::drawText(const StdFont& font, const std::u16string& text, const PixelRect& area,
                          std::uint32_t argb) {
    prepareDc();
    SelectObject(m_dc, fontHandle(font));
    SetBkMode(m_dc, TRANSPARENT);
    SetTextColor(m_dc, colorRef(argb));
    RECT r{area.x, area.y, area.x + area.width, area.y + area.height};
    DrawTextW(m_dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()),
              &r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

void DibSurface::drawLine(int x1, int y1, int x2, int y2, int width, std::uint32_t argb) {
    prepareDc();
    LOGBRUSH brush{BS_SOLID, colorRef(argb), 0};
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_MITER,
                            static_cast<DWORD>(width), &brush, 0, nullptr);
    HGDIOBJ old = SelectObject(m_dc, pen);
    MoveToEx(m_dc, x1, y1, nullptr);
    LineTo(m_dc, x2, y2);
    // LineTo leaves out the last pixel; a line covers both ends.
    if (width == 1)
        SetPixelV(m_dc, x2, y2, colorRef(argb));
    SelectObject(m_dc, old);
    DeleteObject(pen);
}

void DibSurface::save(const PixelRect& r) {
    const State& s = m_states.back();
    State next{s.dx + r.x, s.dy + r.y, clipped(r)};
    m_states.push_back(next);
}

void DibSurface::restore() {
    if (m_states.size() > 1)
        m_states.pop_back();
}

} // namespace forms::win32

namespace forms::platform {

TextSize measureText(const StdFont& font, const std::u16string& text) {
    // A memory DC of the screen, kept: it measures as the screen's own DC does, which would be
    // fetched from the window server at each call (a layout measures its labels many times).
    static HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, win32::fontHandle(font));
    SIZE size{};
    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(text.c_str()),
                          static_cast<int>(text.size()), &size);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    return {static_cast<float>(size.cx), static_cast<float>(tm.tmHeight)};
}

} // namespace forms::platform
