#include "about/frmabout.h"

#include "forms/appinfo.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/line.h"
#include "forms/stdfont.h"
#include "forms/stdpicture.h"
#include "forms/stockcontrols.h"
#include "forms/units.h"

namespace about {

namespace {

// The loaded About window, known while it lives.
frmAbout* loadedAbout = nullptr;

// A point given in twips, in pixels of the window's client area.
forms::PixelPoint twipsPoint(int x, int y) {
    return {forms::pixelRound(static_cast<float>(x) / forms::twipsPerPixelX()),
            forms::pixelRound(static_cast<float>(y) / forms::twipsPerPixelY())};
}

} // namespace

frmAbout* frmAbout::instance() {
    return loadedAbout;
}

frmAbout* frmAbout::showAbout() {
    if (!loadedAbout) {
        loadedAbout = new frmAbout();
        loadedAbout->Load();
    }
    loadedAbout->Show();
    return loadedAbout;
}

frmAbout::~frmAbout() {
    if (loadedAbout == this)
        loadedAbout = nullptr;
}

frmAbout::frmAbout() {
    setName(u"frmAbout");
    setCaption(u"О программе...");
    setBorderStyle(BorderStyle::FixedDialog);
    setClientSizeTwips(4845, 3315);
    setIcon(u":/frmAbout/abouticon.png");
    constexpr forms::OleColor Black = 0x00000000;

    Image1 = forms::placeControl<forms::Image>(*this, u"Image1", {225, 270, 615, 525});
    Image1->setPicture(forms::loadPicture(u":/frmAbout/aboutpicture.png"));

    lblTitle = forms::placeControl<forms::Label>(*this, u"lblTitle", {1050, 360, 3255, 255});
    lblTitle->setCaption(u"Alertwright");
    lblTitle->setForeColor(Black);

    lblVersion = forms::placeControl<forms::Label>(*this, u"lblVersion", {1050, 720, 3225, 225});
    lblVersion->setCaption(u"Version");

    lblDescription =
        forms::placeControl<forms::Label>(*this, u"lblDescription", {1035, 1080, 3300, 585});
    lblDescription->setCaption(u"Автор: команда Alertwright");
    lblDescription->setForeColor(Black);

    // An etched separator: a white line with a grey one laid over its upper edge.
    struct LineSpec {
        int x1, y1, x2, y2;
        forms::OleColor color;
        int width;
    };
    const LineSpec lines[] = {{90, 2475, 4620, 2490, 0x00FFFFFF, 2},
                              {135, 2490, 4590, 2490, 0x00808080, 1}};
    for (int i = 0; i < 2; ++i) {
        const LineSpec& l = lines[i];
        Line1[i] = make<forms::Line>();
        Line1[i]->setName(u"Line1_" + std::u16string(1, static_cast<char16_t>(u'0' + i)));
        const forms::PixelPoint a = twipsPoint(l.x1, l.y1), b = twipsPoint(l.x2, l.y2);
        Line1[i]->setPoints(a.x, a.y, b.x, b.y);
        Line1[i]->setBorderColor(l.color);
        Line1[i]->setBorderWidth(l.width);
    }

    // The contact address reads like a label, yet can be selected and copied; Tab passes it by.
    Text1 = forms::placeControl<forms::TextBox>(*this, u"Text1", {135, 2835, 2310, 240});
    Text1->setText(u"alertwright@example.org");
    Text1->setBackColor(0x8000000F);
    Text1->setLocked(true);
    Text1->setTabStop(false);

    cmdOK =
        forms::placeControl<forms::CommandButton>(*this, u"cmdOK", {3375, 2745, 1260, 345}, u"OK");
    cmdOK->setDefault(true);
    cmdOK->setCancel(true);
    cmdOK->Click.connect([this] { cmdOK_Click(); });
    cmdOK->SetFocus();
}

void frmAbout::Form_Load() {
    const auto number = [](int n) {
        const std::string digits = std::to_string(n);
        return std::u16string(digits.begin(), digits.end());
    };
    lblVersion->setCaption(u"Version " + number(forms::AppMajor()) + u"." +
                           number(forms::AppMinor()) + u"." + number(forms::AppRevision()));
}

void frmAbout::cmdOK_Click() {
    Unload();
}

void frmAbout::Form_Deactivate() {
    Unload();
}

} // namespace about
