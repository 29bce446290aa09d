#include "forms/label.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/platform.h"
#include "forms/surface.h"

#include <cmath>

namespace forms {

Label::Label(WindowedControl* container) : WindowlessControl(container), m_font(defaultFont()) {}

void Label::setCaption(const std::u16string& caption) {
    m_caption = caption;
    if (m_autoSize)
        fitToText();
    invalidate();
}

void Label::setForeColor(OleColor c) {
    checkColor(c);
    m_foreColor = c;
    invalidate();
}

void Label::setBackColor(OleColor c) {
    checkColor(c);
    m_backColor = c;
    invalidate();
}

void Label::setBackStyleTransparent(bool on) {
    m_transparent = on;
    invalidate();
}

void Label::setFont(FontRef font) {
    if (!font)
        throw RuntimeError(u"Invalid use of Nothing: a label needs a font object");
    m_font = std::move(font);
    refresh();
}

void Label::setAutoSize(bool on) {
    m_autoSize = on;
    if (on)
        fitToText();
}

void Label::refresh() {
    if (m_autoSize)
        fitToText();
    invalidate();
}

TextSize Label::textSize() const {
    const TextSize s = platform::measureText(*m_font, m_caption);
    // Whole pixels that hold the whole text: a fractional advance would cut the last glyph.
    return {std::ceil(s.width), std::ceil(s.height)};
}

void Label::fitToText() {
    const TextSize s = textSize();
    Move(Left(), Top(), s.width, s.height);
}

void Label::paint(Surface& surface) const {
    const PixelRect area{0, 0, pixelRect().width, pixelRect().height};
    // Colours were checked when set, so resolving them here cannot fail.
    if (!m_transparent)
        surface.fillRect(area, opaquePixel(m_backColor));
    if (m_caption.empty())
        return;
    // Left-aligned on one line: what does not fit is cut at the right edge.
    if (effectivelyEnabled()) {
        surface.drawText(*m_font, m_caption, area, opaquePixel(m_foreColor));
        return;
    }
    // The engraved look of disabled text: highlight one pixel down-right, shadow on top.
    surface.drawText(*m_font, m_caption, {1, 1, area.width, area.height}, opaquePixel(0x80000014));
    surface.drawText(*m_font, m_caption, area, opaquePixel(0x80000010));
}

} // namespace forms
