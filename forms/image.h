#pragma once

#include "forms/control.h"
#include "forms/stdpicture.h"

namespace forms {

// Shows a picture at its own size (no stretching); windowless.
class Image : public WindowlessControl {
public:
    explicit Image(WindowedControl* container);

    PictureRef Picture() const { return m_picture; }
    // Stores the reference; a picture with an image gives the control its pixel size.
    void setPicture(PictureRef picture);

    void paint(Surface& surface) const override;

private:
    PictureRef m_picture;
};

} // namespace forms
