#include "forms/label.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/qt/convert.h"

#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace forms {

Label::Label(QWidget* parent) : Control(parent), m_font(defaultFont()) {}

void Label::setCaption(const QString& caption) {
    m_caption = caption;
    if (m_autoSize)
        fitToText();
    update();
}

void Label::setForeColor(OleColor c) {
    checkColor(c);
    m_foreColor = c;
    update();
}

void Label::setBackColor(OleColor c) {
    checkColor(c);
    m_backColor = c;
    update();
}

void Label::setBackStyleTransparent(bool on) {
    m_transparent = on;
    update();
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
    update();
}

const QFont& Label::qfont() const {
    // Font objects are shared and may be changed behind the label's back: re-read when they differ.
    if (!m_fontCacheValid || m_fontCacheKey != *m_font) {
        m_fontCacheKey = *m_font;
        m_fontCache = qt::toQFont(*m_font);
        m_fontCacheValid = true;
    }
    return m_fontCache;
}

QSizeF Label::textSize() const {
    const QFontMetricsF fm(qfont());
    // Whole pixels that hold the whole text: a fractional advance would cut the last glyph.
    return QSizeF(std::ceil(fm.horizontalAdvance(m_caption)), std::ceil(fm.height()));
}

void Label::fitToText() {
    const QSizeF s = textSize();
    Move(Left(), Top(), static_cast<float>(s.width()), static_cast<float>(s.height()));
}

void Label::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // Colours were checked when set, so resolving them here cannot fail.
    if (!m_transparent)
        p.fillRect(rect(), qt::toQColor(m_backColor));
    if (m_caption.isEmpty())
        return;
    p.setFont(qfont());
    // Left-aligned on one line: what does not fit is cut at the right edge.
    const QRectF area(rect());
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine;
    if (isEnabled()) {
        p.setPen(qt::toQColor(m_foreColor));
        p.drawText(area, flags, m_caption);
    } else {
        // The engraved look of disabled text: highlight one pixel down-right, shadow on top.
        p.setPen(qt::toQColor(0x80000014));
        p.drawText(area.translated(1, 1), flags, m_caption);
        p.setPen(qt::toQColor(0x80000010));
        p.drawText(area, flags, m_caption);
    }
}

} // namespace forms
