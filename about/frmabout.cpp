#include "about/frmabout.h"

#include "forms/appinfo.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/line.h"
#include "forms/qt/convert.h"
#include "forms/stdfont.h"
#include "forms/stdpicture.h"
#include "forms/stockcontrols.h"
#include "forms/units.h"

#include <QIcon>
#include <QPointer>

// Resources of a static library must be registered by name from the global namespace.
static void initAboutResources() {
    Q_INIT_RESOURCE(about);
}

namespace about {

namespace {

QPointer<frmAbout> loadedAbout;

// A point given in twips, in pixels of the window's client area.
QPoint twipsPoint(int x, int y) {
    return {forms::pixelRound(static_cast<float>(x) / forms::twipsPerPixelX()),
            forms::pixelRound(static_cast<float>(y) / forms::twipsPerPixelY())};
}

} // namespace

frmAbout* frmAbout::instance() {
    return loadedAbout.data();
}

frmAbout* frmAbout::showAbout() {
    if (!loadedAbout) {
        loadedAbout = new frmAbout();
        loadedAbout->Load();
    }
    loadedAbout->Show();
    return loadedAbout.data();
}

frmAbout::frmAbout() {
    initAboutResources();
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе..."));
    setBorderStyle(BorderStyle::FixedDialog);
    setClientSizeTwips(4845, 3315);
    setWindowIcon(QIcon(QStringLiteral(":/frmAbout/abouticon.png")));

    QWidget* area = client();
    area->setFont(forms::qt::toQFont(*forms::defaultFont()));
    constexpr forms::OleColor Black = 0x00000000;

    Image1 = new forms::Image(area);
    Image1->setObjectName(QStringLiteral("Image1"));
    forms::placeTwips(Image1, 225, 270, 615, 525);
    Image1->setPicture(forms::loadPicture(u":/frmAbout/aboutpicture.png"));

    lblTitle = new forms::Label(area);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    forms::placeTwips(lblTitle, 1050, 360, 3255, 255);
    lblTitle->setCaption(QStringLiteral("Alertwright"));
    lblTitle->setForeColor(Black);

    lblVersion = new forms::Label(area);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    forms::placeTwips(lblVersion, 1050, 720, 3225, 225);
    lblVersion->setCaption(QStringLiteral("Version"));

    lblDescription = new forms::Label(area);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    forms::placeTwips(lblDescription, 1035, 1080, 3300, 585);
    lblDescription->setCaption(QStringLiteral("Автор: команда Alertwright"));
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
        Line1[i] = new forms::Line(area);
        Line1[i]->setObjectName(QStringLiteral("Line1_%1").arg(i));
        const QPoint a = twipsPoint(l.x1, l.y1), b = twipsPoint(l.x2, l.y2);
        Line1[i]->setPoints(a.x(), a.y(), b.x(), b.y());
        Line1[i]->setBorderColor(l.color);
        Line1[i]->setBorderWidth(l.width);
    }

    // The contact address reads like a label, yet can be selected and copied; Tab passes it by.
    Text1 = new forms::TextBox(area);
    Text1->setObjectName(QStringLiteral("Text1"));
    forms::placeTwips(Text1, 135, 2835, 2310, 240);
    Text1->setText(QStringLiteral("alertwright@example.org"));
    Text1->setBackColor(0x8000000F);
    Text1->setLocked(true);
    Text1->setTabStop(false);

    cmdOK = new forms::CommandButton(QStringLiteral("OK"), area);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    forms::placeTwips(cmdOK, 3375, 2745, 1260, 345);
    cmdOK->setDefault(true);
    cmdOK->setCancel(true);
    connect(cmdOK, &forms::CommandButton::Click, this, [this] { cmdOK_Click(); });
    cmdOK->setFocus();
}

void frmAbout::Form_Load() {
    lblVersion->setCaption(QStringLiteral("Version %1.%2.%3")
                               .arg(forms::AppMajor())
                               .arg(forms::AppMinor())
                               .arg(forms::AppRevision()));
}

void frmAbout::cmdOK_Click() {
    Unload();
}

void frmAbout::Form_Deactivate() {
    Unload();
}

} // namespace about
