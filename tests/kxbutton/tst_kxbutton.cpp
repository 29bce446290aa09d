// kxButton tests. The hover timer ticks only when a test fires it; the cursor is where it is put.
#include "controls/kxbutton/kxbutton.h"
#include "forms/color.h"
#include "forms/cursor.h"
#include "forms/error.h"
#include "forms/propertybag.h"
#include "forms/timer.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>

using forms::VbFalse;
using forms::VbTrue;

class TestButton : public kxButton {
public:
    using kxButton::DisBorder;
    using kxButton::Image1;
    using kxButton::kxButton;
    using kxButton::Label1;
    using kxButton::Label2;
    using kxButton::m_ImageLeft;
    using kxButton::m_ImageTop;
    using kxButton::m_MouseHeld;
    using kxButton::Picture1;
    using kxButton::Picture2;
    using kxButton::Picture3;
    using kxButton::Picture4;
    using kxButton::Picture5;
    using kxButton::Shape1;
    using kxButton::Timer1;
};

namespace {

constexpr forms::OleColor Resting = 0x00E0E0E0, Grey = 0x00808080, Silver = 0x00C0C0C0,
                          Magenta = 0x00FF00FF, Red = 0x000000FF, Blue = 0x00FF0000;
const QString Caption = QStringLiteral("Копировать");
const auto rgbOf = [](forms::OleColor c) { return forms::toQColor(c).rgb(); };
const auto oleOf = [](QRgb p) { return forms::rgbColor(qRed(p), qGreen(p), qBlue(p)); };
const auto rectOf = [](const forms::Control& c) {
    return QRectF(c.Left(), c.Top(), c.Width(), c.Height());
};

forms::PictureRef
makePicture(int w, int h, forms::OleColor background,
            std::initializer_list<std::tuple<int, int, forms::OleColor>> dots = {}) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(rgbOf(background));
    for (const auto& [x, y, c] : dots)
        img.setPixel(x, y, rgbOf(c));
    return forms::makePicture(img);
}

// As the generator window stores them: silver background, dark, grey and magenta dots.
const forms::PictureRef Pic17 =
    makePicture(17, 17, Silver, {{3, 8, 0x80}, {13, 8, 0x80}, {5, 5, Grey}, {6, 6, Magenta}});
const forms::FontRef StoredFont = forms::makeFont(QStringLiteral("Arial"), 10.0f, 700);

// Shown at (10, 10); 113 x 25 with the picture puts Image1's home at (6, 5).
std::unique_ptr<TestButton> shownButton(int w = 113, int h = 25, bool withPicture = true,
                                        QWidget* parent = nullptr) {
    auto b = std::make_unique<TestButton>(parent);
    b->InitNew();
    b->setGeometry(10, 10, w, h);
    b->show();
    if (withPicture)
        b->setPicture(Pic17);
    return b;
}

// The nine properties in reading order; the picture as set by identity.
QStringList state(const TestButton& b) {
    return QString::asprintf("%x|%x|%d %d|%s|%p %d|%d|%d|%s|%x", b.ForeColor(), b.BorderColor(),
                             b.Enabled(), b.DisBorder.Visible(),
                             qUtf8Printable(b.Font()->toQFont().toString()),
                             b.Picture2.Picture().get(), forms::hasImage(b.Picture()), b.Toggle(),
                             b.Value(), qUtf8Printable(b.Caption()), b.MaskColor())
        .split('|');
}

// Face colour, frame, picture variant shown, Image1's offset from its home, Value, mouse held.
QString look(const TestButton& b) {
    const forms::PictureRef p = b.Image1.Picture();
    const QImage& i = p->image();
    const char* pic = p == b.Picture2.Picture()      ? "as-set"
                      : i == b.Picture3.drawnImage() ? "lit"
                      : i == b.Picture5.drawnImage() ? "pressed"
                      : i == b.Picture4.drawnImage() ? "down"
                                                     : "prepared";
    const float dx = b.Image1.Left() - b.m_ImageLeft, dy = b.Image1.Top() - b.m_ImageTop;
    QString s = QString::asprintf("%06x %s %s %g", b.Picture1.BackColor(),
                                  b.Shape1.Visible() ? "frame" : "-", pic, dx);
    if (dy != dx)
        s += QString::asprintf(",%g", dy);
    if (b.Value() != VbFalse)
        s += QString::asprintf(" value %d", b.Value());
    return s + (b.m_MouseHeld != VbFalse ? " held" : "");
}

const std::vector<std::pair<const char*, std::function<void(TestButton&)>>> Lets = {
    {"ForeColor", [](TestButton& b) { b.setForeColor(Red); }},
    {"Enabled", [](TestButton& b) { b.setEnabled(VbFalse); }},
    {"Font", [](TestButton& b) { b.setFont(StoredFont); }},
    {"Picture", [](TestButton& b) { b.setPicture(makePicture(5, 5, Red)); }},
    {"Picture: none", [](TestButton& b) { b.setPicture({}); }},
    {"Picture: empty", [](TestButton& b) { b.setPicture(std::make_shared<forms::StdPicture>()); }},
    {"Toggle", [](TestButton& b) { b.setToggle(VbFalse); }},
    {"Value", [](TestButton& b) { b.setValue(VbTrue); }},
    {"Caption", [](TestButton& b) { b.setCaption(Caption); }},
    {"MaskColor", [](TestButton& b) { b.setMaskColor(Magenta); }},
    {"BorderColor", [](TestButton& b) { b.setBorderColor(Blue); }},
};

QSizeF captionSize() {
    auto b = shownButton(1000, 25, false);
    b->setCaption(Caption);
    return {b->Label1.Width(), b->Label1.Height()};
}

// Normal, lit, down and pressed from their description: the first 17 x 17 pixels over their
// backgrounds, the mask colour (also past the picture's end) and the resting face colour being
// transparent; lit adds a grey shadow at +2, +2.
std::array<QImage, 4> expectedVariants(const QImage& src, forms::OleColor mask) {
    const QSize sizes[] = {{17, 17}, {19, 19}, {22, 19}, {19, 19}};
    const forms::OleColor backgrounds[] = {Resting, 0x00D8BFB6, 0x00D8BFB6, 0x00BCA69E};
    std::array<QImage, 4> v;
    for (int i = 0; i < 4; ++i)
        (v[i] = QImage(sizes[i], QImage::Format_RGB32)).fill(rgbOf(backgrounds[i]));
    for (int pass = 0; pass < 2; ++pass) // shadows first, then the picture over them
        for (int x = 0; x < 17; ++x)
            for (int y = 0; y < 17; ++y) {
                const QRgb s = x < src.width() && y < src.height() && qAlpha(src.pixel(x, y)) == 255
                                   ? src.pixel(x, y)
                                   : rgbOf(mask);
                if (oleOf(s) == mask || oleOf(s) == Resting)
                    continue;
                if (pass == 0)
                    v[1].setPixel(x + 2, y + 2, rgbOf(Grey));
                else
                    for (QImage& i : v)
                        i.setPixel(x, y, s);
            }
    return v;
}

std::array<QImage, 4> variants(const TestButton& b) {
    const auto rgb = [](const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); };
    return {rgb(b.Picture()->image()), rgb(b.Picture3.drawnImage()), rgb(b.Picture4.drawnImage()),
            rgb(b.Picture5.drawnImage())};
}

// A tick of the hover timer, a let, a key, or a mouse event on the overlay or the picture.
struct Act {
    QEvent::Type type = QEvent::None;
    Qt::MouseButton button = Qt::NoButton;
    Qt::MouseButtons buttons = Qt::NoButton;
    bool onPicture = false;
    int key = 0;
    void (*let)(TestButton&) = nullptr;
};
const Act Tick{}, Move{QEvent::MouseMove},
    MoveHeld{.type = QEvent::MouseMove, .buttons = Qt::LeftButton},
    Press{QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton},
    Release{QEvent::MouseButtonRelease, Qt::LeftButton},
    PressRight{QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton},
    ReleaseRight{QEvent::MouseButtonRelease, Qt::RightButton},
    PressPic{QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, true},
    ReleasePic{QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, true},
    DblClick{QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton}, // replaces a press
    Enter{.key = Qt::Key_Return}, Space{.key = Qt::Key_Space};
const Act ValueTrue{.let = [](TestButton& b) { b.setValue(VbTrue); }};
const Act ToggleFalse{.let = [](TestButton& b) { b.setToggle(VbFalse); }};

void perform(TestButton& b, const Act& a, QPoint at) {
    forms::setCursorPosOverride(b.mapToGlobal(at));
    if (a.let) {
        a.let(b);
    } else if (a.key) {
        QTest::keyClick(&b.Picture1, Qt::Key(a.key));
    } else if (a.type == QEvent::None) {
        b.Timer1.fire();
    } else {
        QWidget* w = a.onPicture ? static_cast<QWidget*>(&b.Image1) : &b.Label2;
        const QPoint pos = w->mapFrom(&b, at);
        QMouseEvent e(a.type, QPointF(pos), QPointF(w->mapToGlobal(pos)), a.button, a.buttons,
                      Qt::NoModifier);
        QApplication::sendEvent(w, &e);
    }
}

// Every event and notification with its arguments, and if asked the look it was raised in.
void logEvents(TestButton& b, QStringList& log, bool withLook = false) {
    const auto add = [&b, &log, withLook](const QString& e) {
        log << (withLook ? e + ": " + look(b) + (b.Timer1.Enabled() ? ", timer on" : "") : e);
    };
    const auto mouse = [add](const char* name) {
        return [=](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
            add(QString::asprintf("%s %d %d %g %g", name, button, shift, x, y));
        };
    };
    const auto key = [add](const char* name) {
        return [=](std::int16_t& k, std::int16_t& shift) {
            add(QString::asprintf("%s %d %d", name, k, shift));
        };
    };
    QObject::connect(&b, &kxButton::Click, [add] { add("Click"); });
    QObject::connect(&b, &kxButton::DblClick, [add] { add("DblClick"); });
    QObject::connect(&b, &kxButton::MouseOut, [add] { add("MouseOut"); });
    QObject::connect(&b, &kxButton::KeyPress,
                     [add](std::int16_t& a) { add(QString::asprintf("KeyPress %d", a)); });
    QObject::connect(&b, &kxButton::KeyDown, key("KeyDown"));
    QObject::connect(&b, &kxButton::KeyUp, key("KeyUp"));
    QObject::connect(&b, &kxButton::MouseDown, mouse("MouseDown"));
    QObject::connect(&b, &kxButton::MouseMove, mouse("MouseMove"));
    QObject::connect(&b, &kxButton::MouseUp, mouse("MouseUp"));
    QObject::connect(&b, &forms::UserControl::propertyChanged,
                     [add](const QString& name) { add("changed " + name); });
}

const QPoint On{60, 12}, OnPic{14, 12}, Out{-40, 12};
const QPoint Edge{113, 25}, Corner{0, 0}, PastEdge{114, 25}; // the face's edges are inside
const char *const Normal = "e0e0e0 - as-set 1", *const Lit = "d8bfb6 frame lit -1",
                  *const Pressed = "bca69e frame pressed 1 held",
                  *const PressedOn = "bca69e frame pressed 1 value -1 held",
                  *const Down = "d8bfb6 frame down 1 value -1",
                  *const LitOn = "d8bfb6 frame lit -1 value -1";
const QString MoveOn = "MouseMove 0 0 60 12", DownOn = "MouseDown 1 0 60 12",
              UpOn = "MouseUp 1 0 60 12";

struct Step {
    Act act;
    QPoint at;
    QStringList events;
    const char* look;
};

const std::vector<std::tuple<const char*, bool, std::vector<Step>>> Scenarios = {
    {"plain: right button gives no Click; release on the edge; held move dims; MouseOut once",
     false,
     {{Move, On, {MoveOn}, Lit},
      {PressRight, On, {"MouseDown 2 0 60 12"}, Pressed},
      {ReleaseRight, On, {"MouseUp 2 0 60 12"}, Lit},
      {Press, On, {DownOn}, Pressed},
      {Release, Edge, {"MouseUp 1 0 113 25"}, Lit},
      {Tick, Corner, {}, Lit},
      {MoveHeld, On, {"MouseMove 1 0 60 12"}, "e0e0e0 - lit -1"},
      {Tick, PastEdge, {"MouseOut"}, Normal},
      {Tick, Out, {}, Normal}}},
    {"plain: dragged out while held and back, released; Value True is forced False",
     false,
     {{Move, On, {MoveOn}, Lit},
      {Press, On, {DownOn}, Pressed},
      {Tick, Out, {"MouseOut"}, "e0e0e0 - as-set 1 held"},
      {MoveHeld, On, {"MouseMove 1 0 60 12"}, "e0e0e0 - as-set 1 held"},
      {Release, On, {UpOn, "Click"}, "d8bfb6 - lit -1"},
      {ValueTrue, On, {"changed Value"}, "e0e0e0 - as-set -1"}}},
    {"switch: put down by Value; Toggle False brings it up without notifying Value",
     true,
     {{ValueTrue, On, {"changed Value"}, "ffc0c0 frame down 0 value -1"},
      {ToggleFalse, On, {"changed Toggle"}, "e0e0e0 - as-set 0"}}},
    {"switch: clicked beside the picture, down through hover and MouseOut; double click flips once",
     true,
     {{Move, On, {MoveOn}, Lit},
      {Press, On, {DownOn}, Pressed},
      {Release, On, {UpOn, "Click"}, Down},
      {Move, On, {MoveOn}, Down},
      {Tick, Out, {"MouseOut"}, Down},
      {DblClick, On, {"DblClick"}, Down},
      {Release, On, {UpOn}, LitOn},
      {Press, On, {DownOn}, PressedOn},
      {Release, On, {UpOn, "Click"}, Lit}}},
    {"switch: clicked on the picture, down, then up; keys only raise their events",
     true,
     {{Move, On, {MoveOn}, Lit},
      {PressPic, OnPic, {"MouseDown 1 0 9 8"}, Pressed},
      {ReleasePic, OnPic, {"MouseUp 1 0 7 6", "Click"}, LitOn},
      {PressPic, OnPic, {"MouseDown 1 0 9 8"}, PressedOn},
      {ReleasePic, OnPic, {"MouseUp 1 0 7 6", "Click"}, "e0e0e0 - lit -1"},
      {Enter, On, {"KeyDown 13 0", "KeyPress 13", "KeyUp 13 0"}, "e0e0e0 - lit -1"},
      {Space, On, {"KeyDown 32 0", "KeyPress 32", "KeyUp 32 0"}, "e0e0e0 - lit -1"}}},
};

// The stored properties in reading order, each with a value other than its default and a value
// that cannot be converted.
const std::vector<std::tuple<const char*, forms::PropertyValue, forms::PropertyValue>> Entries = {
    {"ForeColor", forms::colorValue(0x000000FF), QStringLiteral("red")},
    {"BorderColor", forms::colorValue(0x00FF0000), QStringLiteral("blue")},
    {"Enabled", false, QStringLiteral("maybe")},
    {"Font", StoredFont, QStringLiteral("Arial")},
    {"Picture", Pic17, QStringLiteral("cmdPreview.png")},
    {"Toggle", true, StoredFont},
    {"Value", true, QStringLiteral("down")},
    {"Caption", QStringLiteral("Проба"), StoredFont},
    {"MaskColor", forms::colorValue(Magenta), QStringLiteral("grey")},
};

} // namespace

class TestKxButton : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { forms::Timer::setManualMode(true); }
    void init() { forms::setCursorPosOverride(QPoint(-20000, -20000)); }

    void eachLetStoresThenNotifiesItsName_data() {
        QTest::addColumn<int>("row");
        for (int i = 0; i < int(Lets.size()); ++i)
            QTest::newRow(Lets[i].first) << i;
    }
    void eachLetStoresThenNotifiesItsName() {
        QFETCH(int, row);
        auto b = shownButton();
        b->setToggle(VbTrue);
        QStringList before = state(*b), whenNotified;
        connect(b.get(), &forms::UserControl::propertyChanged, this,
                [&] { whenNotified = state(*b); });
        QSignalSpy spy(b.get(), &forms::UserControl::propertyChanged);
        Lets[row].second(*b);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), QString(Lets[row].first).section(':', 0, 0));
        QVERIFY(whenNotified != before);
        QCOMPARE(whenNotified, state(*b)); // the container sees the new value when it is told
        QCOMPARE(b->DisBorder.Visible(), b->Enabled() == VbFalse);
        const bool picture = forms::hasImage(b->Picture2.Picture()); // an empty one shows nothing
        QVERIFY(forms::hasImage(b->Picture()) == picture && b->Image1.Visible() == picture);
    }

    void layout_data() {
        QTest::addColumn<QSize>("face");
        QTest::addColumn<bool>("withPicture");
        QTest::addColumn<int>("imageTop");
        QTest::addColumn<bool>("narrowed");
        const int text = int(captionSize().width());
        QTest::newRow("113 x 25, prepared picture, caption narrower than the room")
            << QSize(113, 25) << true << 5 << false;
        QTest::newRow("113 x 25 without a picture") << QSize(113, 25) << false << 5 << false;
        QTest::newRow("height 24: half(9)") << QSize(113, 24) << true << 4 << false;
        QTest::newRow("height 14: half(-1) is 0") << QSize(113, 14) << true << 0 << false;
        QTest::newRow("height 10: half(-5) is -2") << QSize(113, 10) << true << -2 << false;
        QTest::newRow("caption as wide as the room") << QSize(text + 20, 25) << true << 5 << false;
        QTest::newRow("caption wider than the room") << QSize(text + 13, 25) << true << 5 << true;
        // The room is negative: narrowing fails, the caption keeps its width, the rest goes on.
        QTest::newRow("face narrower than picture and gap") << QSize(15, 25) << true << 5 << false;
    }
    void layout() {
        QFETCH(QSize, face);
        QFETCH(bool, withPicture);
        QFETCH(int, imageTop);
        QFETCH(bool, narrowed);
        const QSizeF text = captionSize();
        QVERIFY(text.width() == std::floor(text.width())); // whole pixels: "equal" is exact
        auto b = shownButton(300, face.height(), withPicture);
        b->setCaption(Caption);
        b->resize(face);

        QCOMPARE(QPointF(b->Image1.Left(), b->Image1.Top()), QPointF(6, imageTop));
        QCOMPARE(QPoint(b->m_ImageLeft, b->m_ImageTop), QPoint(6, imageTop)); // also if hidden
        QCOMPARE(b->Image1.Visible(), withPicture);
        const float w = b->Label1.Width();
        QCOMPARE(w, narrowed ? face.width() - 20.0f : float(text.width()));
        QCOMPARE(b->Label1.Top(), float(int(std::nearbyint(face.height() - text.height())) / 2));
        // Beside a picture centred in the rest (may end in a half pixel), else in whole pixels.
        QCOMPARE(b->Label1.Left(), withPicture ? (face.width() - w + 17 + 6) / 2
                                               : float(int(std::nearbyint(face.width() - w)) / 2));
        for (const forms::Control* cover :
             std::initializer_list<const forms::Control*>{&b->Picture1, &b->Label2, &b->DisBorder})
            QCOMPARE(rectOf(*cover), QRectF(QPointF(), face));
    }

    void rendersAtTheGeneratorWindowSize() {
        const forms::FontRef font = forms::makeFont(QStringLiteral("MS Sans Serif"), 8.25f);
        auto b = shownButton(256, 28, false);
        b->setBorderColor(0x80000008);
        b->setFont(font);
        b->setMaskColor(Silver);
        b->setPicture(Pic17);
        b->setCaption(Caption);
        const QImage img = b->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRect image = b->Image1.geometry(), label = b->Label1.geometry();
        QCOMPARE(image, QRect(6, 6, 17, 17));
        QVERIFY(QRect(1, 1, 254, 26).contains(label) && !label.intersects(image));
        for (int x = 0; x < 256; ++x)
            for (int y = 0; y < 28; ++y) {
                const QRgb expected = x == 0 || y == 0 || x == 255 || y == 27 ? rgbOf(0x80000008)
                                      : image.contains(x, y) ? variants(*b)[0].pixel(x - 6, y - 6)
                                                             : rgbOf(Resting);
                if (!label.contains(x, y))
                    QVERIFY2(img.pixel(x, y) == expected,
                             qPrintable(QString("%1,%2").arg(x).arg(y)));
            }
        // Not clipped: as wide as its text, which is drawn in full in the text colour.
        const QFont qfont = font->toQFont();
        QCOMPARE(label.width(), int(std::ceil(QFontMetricsF(qfont).horizontalAdvance(Caption))));
        QImage alone(label.size(), QImage::Format_RGB32);
        alone.fill(rgbOf(Resting));
        QPainter p(&alone);
        p.setFont(qfont);
        p.setPen(forms::toQColor(b->ForeColor()));
        p.drawText(QRectF(alone.rect()), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                   Caption);
        p.end();
        QCOMPARE(img.copy(label), alone);
    }

    void pictureVariants_data() {
        QTest::addColumn<forms::PictureRef>("earlier");
        QTest::addColumn<forms::PictureRef>("picture");
        QTest::addColumn<forms::OleColor>("mask");
        QTest::newRow("16 x 16 on the mask; one pixel in the resting face colour")
            << forms::PictureRef()
            << makePicture(16, 16, Magenta, {{3, 4, Red}, {15, 15, Blue}, {10, 10, Resting}})
            << Magenta;
        QTest::newRow("larger than 17 x 17 is cropped")
            << forms::PictureRef() << makePicture(24, 24, Red) << Silver;
        QTest::newRow("system-colour mask matches nothing")
            << forms::PictureRef() << makePicture(16, 16, Silver) << forms::OleColor(0x8000000F);
        QTest::newRow("no leftovers of an earlier picture")
            << makePicture(17, 17, Blue) << makePicture(5, 5, Magenta, {{2, 2, Red}}) << Magenta;
    }
    void pictureVariants() {
        QFETCH(forms::PictureRef, earlier);
        QFETCH(forms::PictureRef, picture);
        QFETCH(forms::OleColor, mask);
        auto b = shownButton(113, 25, false);
        b->setMaskColor(mask);
        if (earlier)
            b->setPicture(earlier);
        b->setPicture(picture);
        QVERIFY(variants(*b) == expectedVariants(picture->image(), mask));
        QCOMPARE(b->Picture2.Picture().get(), picture.get()); // kept as set
    }

    void transitions_data() {
        QTest::addColumn<int>("scenario");
        for (int i = 0; i < int(Scenarios.size()); ++i)
            QTest::newRow(std::get<0>(Scenarios[i])) << i;
    }
    void transitions() {
        QFETCH(int, scenario);
        const auto& [name, toggle, steps] = Scenarios[scenario];
        auto b = shownButton();
        if (toggle)
            b->setToggle(VbTrue);
        QStringList log;
        logEvents(*b, log);
        for (const Step& s : steps) {
            perform(*b, s.act, s.at);
            QCOMPARE(std::exchange(log, {}) << look(*b), QStringList(s.events) << s.look);
            if (b->Shape1.Visible())
                QCOMPARE(rectOf(b->Shape1), QRectF(0, 0, 113, 25));
        }
    }

    void eventsAreRaisedAroundTheLookChanges() {
        auto b = shownButton();
        b->setToggle(VbTrue);
        QStringList log;
        logEvents(*b, log, true);
        for (const Act& a : {Move, Press, Release, Press, Release})
            perform(*b, a, On);
        perform(*b, Tick, Out);
        // Each event before its look changes, after the timer starts or stops; Click after a flip.
        QCOMPARE(log, QStringList({
                          "MouseMove 0 0 60 12: e0e0e0 - prepared 0, timer on",
                          "MouseDown 1 0 60 12: d8bfb6 frame lit -1, timer on",
                          "MouseUp 1 0 60 12: bca69e frame pressed 1 held, timer on",
                          "Click: d8bfb6 frame down 1 value -1, timer on",
                          "MouseDown 1 0 60 12: d8bfb6 frame down 1 value -1, timer on",
                          "MouseUp 1 0 60 12: bca69e frame pressed 1 value -1 held, timer on",
                          "Click: d8bfb6 frame lit -1, timer on",
                          "MouseOut: d8bfb6 frame lit -1",
                      }));
    }

    void aButtonDestroyedDuringTheReleaseIsNotTouchedAgain() {
        QWidget window;
        QPointer<TestButton> b = shownButton(113, 25, true, &window).release();
        window.show();
        perform(*b, Move, On);
        perform(*b, Press, On);
        QStringList log;
        logEvents(*b, log);
        // A queued event that destroys the button runs inside the release.
        QMetaObject::invokeMethod(
            &window, [&] { delete b.data(); }, Qt::QueuedConnection);
        perform(*b, Release, On);
        QVERIFY(b.isNull());
        QCOMPARE(log, QStringList{UpOn}); // no Click from a destroyed button
    }

    void anEmptyBagGivesTheDefaults() {
        TestButton b;
        const forms::FontRef ambient = forms::makeFont(QStringLiteral("Tahoma"), 9.0f);
        b.setAmbientFont(ambient);
        QSignalSpy spy(&b, &forms::UserControl::propertyChanged);
        b.ReadFrom(forms::PropertyBag());
        QCOMPARE(state(b),
                 QStringList({"80000012", "80000012", "-1 0", ambient->toQFont().toString(),
                              "0x0 0", "0", "0", "kxFlashButton", "c0c0c0"}));
        QCOMPARE(spy.count(), 1); // only the picture set tells the container anything
        forms::PropertyBag saved;
        b.WriteTo(saved);
        QCOMPARE(saved.names(), QStringList()); // defaults are not written
    }

    void lowerCaseNamesLoadAndThePictureIsPreparedWithTheStoredMask() {
        forms::PropertyBag bag;
        bag.setRaw(QStringLiteral("picture"), Pic17);
        bag.setRaw(QStringLiteral("caption"), Caption);
        bag.setRaw(QStringLiteral("maskcolor"), forms::colorValue(Magenta));
        TestButton b;
        QSignalSpy spy(&b, &forms::UserControl::propertyChanged);
        b.ReadFrom(bag);
        QCOMPARE(b.Caption(), Caption);
        QCOMPARE(spy.count(), 1);
        // As if set by code once the mask colour is in force, not with the mask it had before.
        auto reference = shownButton(113, 25, false);
        reference->setMaskColor(Magenta);
        reference->setPicture(Pic17);
        QVERIFY(variants(b) == variants(*reference));
    }

    void aReadErrorEndsAtTheFailingProperty_data() {
        QTest::addColumn<int>("failing");
        for (int i = 0; i < int(Entries.size()); ++i)
            QTest::newRow(std::get<0>(Entries[i])) << i;
    }
    void aReadErrorEndsAtTheFailingProperty() {
        QFETCH(int, failing);
        forms::PropertyBag good, bad;
        for (int i = 0; i < int(Entries.size()); ++i) {
            const auto& [name, value, wrong] = Entries[i];
            good.setRaw(QLatin1String(name), value);
            bad.setRaw(QLatin1String(name), i == failing ? wrong : value);
        }
        TestButton fresh, full, b;
        full.ReadFrom(good);
        try {
            b.ReadFrom(bad);
            QFAIL("the read should have failed");
        } catch (const forms::RuntimeError& e) {
            QVERIFY2(e.message().contains(QLatin1String("Type mismatch")), qPrintable(e.message()));
        }
        const QStringList design = state(fresh), stored = state(full), now = state(b);
        for (int i = 0; i < int(Entries.size()); ++i)
            QCOMPARE(now[i], i < failing ? stored[i] : design[i]);
    }

    void savingWhileHoveredWritesThePictureAsSet() {
        auto b = shownButton();
        perform(*b, Move, On);
        QCOMPARE(look(*b), QLatin1String(Lit)); // hovered: the lit variant with its shadow
        forms::PropertyBag bag;
        b->WriteTo(bag);
        QCOMPARE(std::get<forms::PictureRef>(bag.ReadProperty(QStringLiteral("Picture"), {})).get(),
                 Pic17.get());
    }

    void saveAndRecreateGiveTheSamePropertiesAndLook() {
        forms::PropertyBag stored, saved;
        for (const auto& [name, value, wrong] : Entries)
            stored.setRaw(QLatin1String(name), value);
        TestButton original, copy;
        original.ReadFrom(stored);
        original.WriteTo(saved);
        QSignalSpy spy(&copy, &forms::UserControl::propertyChanged);
        copy.ReadFrom(saved);
        for (TestButton* b : {&original, &copy}) {
            b->resize(256, 28);
            b->show();
        }
        QCOMPARE(spy.count(), 1); // "Picture" only: a switch stored down does not notify "Value"
        QCOMPARE(state(copy), state(original));
        QCOMPARE(state(copy)[2], "0 1"); // disabled, with its frame
        QCOMPARE(look(copy), "ffc0c0 frame down 0 value -1");
        QCOMPARE(copy.grab().toImage(), original.grab().toImage());
    }
};

QTEST_MAIN(TestKxButton)
#include "tst_kxbutton.moc"
