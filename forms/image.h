#pragma once

#include "forms/control.h"
#include "forms/stdpicture.h"

namespace forms {

// Shows a picture at its own size (no stretching).
class Image : public Control {
    Q_OBJECT
public:
    explicit Image(QWidget* parent = nullptr);

    PictureRef Picture() const { return m_picture; }
    // Stores the reference; a picture with an image gives the control its pixel size.
    void setPicture(PictureRef picture);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    PictureRef m_picture;
};

} // namespace forms
