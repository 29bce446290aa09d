// Construction of the twelve parts with their design values, their stacking and the tab order.
#include "controls/kxbutton/kxbutton.h"

namespace {
constexpr forms::OleColor DesignFaceColor = 0x00E0E0E0;
constexpr forms::OleColor DesignLitColor = 0x00D8BFB6;
constexpr forms::OleColor DesignPressedColor = 0x00BCA69E;
constexpr forms::OleColor DesignMaskColor = 0x00808080;
constexpr int HoverIntervalMs = 15;
} // namespace

kxButton::kxButton(forms::WindowedControl* container)
    : forms::UserControl(container), Picture5(this), Picture4(this), Picture3(this), Picture2(this),
      Timer1(HoverIntervalMs, true), Picture1(this), DisBorder(&Picture1), Shape1(&Picture1),
      Shape2(&Picture1), Image1(&Picture1), Label2(&Picture1), Label1(&Picture1),
      FocusFrame(&Picture1) {
    createParts();
    connectHandlers();
}

kxButton::~kxButton() = default;

void kxButton::createParts() {
    setBackColor(DesignFaceColor);
    Move(Left(), Top(), 202, 180);

    // Work surfaces: fixed-size pixel buffers that hold the picture variants, never shown.
    const struct {
        forms::PictureBox& box;
        float left, width, height;
        forms::OleColor back;
    } surfaces[] = {
        {Picture5, 87, 19, 19, DesignPressedColor},
        {Picture4, 108, 22, 19, DesignLitColor},
        {Picture3, 64, 19, 19, DesignLitColor},
        {Picture2, 42, 17, 17, DesignMaskColor},
    };
    for (const auto& s : surfaces) {
        s.box.Move(s.left, 120, s.width, s.height);
        s.box.setBackColor(s.back);
        s.box.Cls();
        s.box.setVisible(false);
    }

    Picture1.Move(0, 0, 113, 49);
    Picture1.setBackColor(DesignFaceColor);
    Picture1.Cls();

    DisBorder.Move(6, 42, 17, 7);
    DisBorder.setBorderColor(0x00808080);
    DisBorder.setVisible(false);

    Shape1.Move(24, 32, 17, 9);
    Shape1.setBorderColor(DownFrameColor);
    Shape1.setVisible(false);

    Shape2.Move(24, 42, 17, 7);

    Image1.Move(8, 8, 16, 16);

    Label2.Move(54, 27, 49, 17);
    Label2.setBackStyleTransparent(true);

    Label1.Move(32, 8, 42, 13);
    Label1.setBackStyleTransparent(true);
    Label1.setCaption(u"kxButton");

    // Not one of the looks: it only joins them while the face holds the focus.
    FocusFrame.setDotted(true);
    FocusFrame.setBorderColor(0x80000012);
    FocusFrame.setVisible(false);

    // Shapes only draw; presses over the picture reach Image1, everywhere else on the face the
    // overlay Label2, which lies in front of the caption.
    for (forms::Shape* shape : {&DisBorder, &Shape1, &Shape2})
        shape->setMouseTransparent(true);

    // Stacking, front first: raising the back-most part first leaves the front-most on top.
    Picture1.raise();
    for (forms::Control* part : {&Picture2, &Picture3, &Picture4, &Picture5})
        part->raise();
    // The focus frame lies behind the picture, so that it never changes how a look shows it.
    for (forms::Control* part : std::initializer_list<forms::Control*>{
             &Label1, &Label2, &FocusFrame, &Image1, &Shape2, &Shape1, &DisBorder})
        part->raise();

    // Tab order: Picture1, Label1, Label2, Picture2 to Picture5. Labels never take the focus and
    // the work surfaces are hidden, so of these only the face can ever hold it.
    forms::backend::setTabOrder(
        {Picture1.peer(), Picture2.peer(), Picture3.peer(), Picture4.peer(), Picture5.peer()});
}
