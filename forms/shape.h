#pragma once

#include "forms/control.h"
#include "forms/vbtypes.h"

namespace forms {

// Rectangle outline drawn on the control's own edge pixels; windowless, takes no mouse input.
class Shape : public WindowlessControl {
public:
    explicit Shape(WindowedControl* container);

    OleColor BorderColor() const { return m_borderColor; }
    void setBorderColor(OleColor c);
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int w);
    // Every other pixel of the outline, as a focus frame is drawn; only for a 1-pixel border.
    bool Dotted() const { return m_dotted; }
    void setDotted(bool on);

    void paint(Surface& surface) const override;

private:
    OleColor m_borderColor = 0x80000008;
    int m_borderWidth = 1;
    bool m_dotted = false;
};

} // namespace forms
