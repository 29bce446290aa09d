#pragma once

#include "forms/control.h"
#include "forms/stdfont.h"
#include "forms/vbtypes.h"

#include <string>

namespace forms {

// One-line text label, windowless.
class Label : public WindowlessControl {
public:
    explicit Label(WindowedControl* container);

    const std::u16string& Caption() const { return m_caption; }
    void setCaption(const std::u16string& caption);
    OleColor ForeColor() const { return m_foreColor; }
    void setForeColor(OleColor c);
    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor c);
    bool BackStyleTransparent() const { return m_transparent; }
    void setBackStyleTransparent(bool on);
    // The shared font object (not a copy). Changes to the object show after setFont or refresh().
    FontRef Font() const { return m_font; }
    void setFont(FontRef font);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);

    // Re-reads the font object and re-sizes when AutoSize is on.
    void refresh();
    // Size of the caption on one line, in whole pixels (what AutoSize gives the label).
    TextSize textSize() const;

    void paint(Surface& surface) const override;

private:
    void fitToText();

    std::u16string m_caption;
    OleColor m_foreColor = 0x80000012;
    OleColor m_backColor = 0x8000000F;
    bool m_transparent = false;
    bool m_autoSize = false;
    FontRef m_font;
};

} // namespace forms
