// kxButton tests. The hover timer ticks only when a test fires it; the cursor is where it is put.
// Mouse input goes to the window at a point, so Qt finds the part under it as for a real pointer.
#include "controls/kxbutton/kxbutton.h"
#include "forms/color.h"
#include "forms/cursor.h"
#include "forms/error.h"
#include "forms/propertybag.h"
#include "forms/qt/convert.h"
#include "forms/qt/widgetpeer.h"
#include "forms/timer.h"

#include <QMouseEvent>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>

using forms::VbFalse;
using forms::VbTrue;

class TestButton;
// A tick of the hover timer, a let, a key, or mouse input (a QTest::MouseAction) at a point.
struct Act {
    int mouse = -1;
    Qt::MouseButton button = Qt::LeftButton;
    int key = 0;
    void (*let)(TestButton&) = nullptr;
};

// The button with what the tests read of it and do to it.
class TestButton : public kxButton {
    friend class TestKxButton;

public:
    using kxButton::kxButton;
    QStringList state() const;
    QString look();
    void perform(const Act& a, std::optional<QPoint> at = {}); // a tick finds the pointer gone
    void logEvents(QStringList& log, bool withLook = false);
    QWidget* widget() const { return forms::qt::widgetOf(*this); }
};

namespace {

constexpr forms::OleColor Resting = 0x00E0E0E0, LitFace = 0x00D8BFB6, PressedFace = 0x00BCA69E,
                          DownFace = 0x00FFC0C0, Grey = 0x00808080, Silver = 0x00C0C0C0,
                          Magenta = 0x00FF00FF, Red = 0x000000FF, Blue = 0x00FF0000;
const QString Caption = QStringLiteral("Копировать");
const auto oleOf = [](QRgb p) { return forms::rgbColor(qRed(p), qGreen(p), qBlue(p)); };

forms::PictureRef makePicture(int w, int h, forms::OleColor background,
                              std::initializer_list<std::pair<QPoint, QRgb>> dots = {}) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(forms::qt::toQColor(background));
    for (const auto& [at, c] : dots)
        img.setPixel(at, c);
    return forms::makePicture(forms::qt::fromQImage(img));
}

// As the generator window stores them: silver background, dark, grey and magenta dots.
const forms::PictureRef Pic17 =
    makePicture(17, 17, Silver, {{{3, 8}, 0xFF000080}, {{5, 5}, 0xFF808080}, {{6, 6}, 0xFFFF00FF}});
const forms::PictureRef Empty = std::make_shared<forms::StdPicture>();
const forms::FontRef StoredFont = forms::makeFont(u"Arial", 10.0f, 700);

// Shown at (10, 10); 113 x 25 with the picture puts Image1's home at (6, 5).
std::unique_ptr<TestButton> shownButton(int w = 113, int h = 25, bool withPicture = true,
                                        forms::WindowedControl* parent = nullptr) {
    auto b = std::make_unique<TestButton>(parent);
    b->InitNew();
    b->Move(10, 10, w, h);
    b->setVisible(true);
    if (withPicture)
        b->setPicture(Pic17);
    return b;
}

const Act Tick{}, Move{QTest::MouseMove, Qt::NoButton}, Press{QTest::MousePress},
    Release{QTest::MouseRelease}, PressRight{QTest::MousePress, Qt::RightButton},
    ReleaseRight{QTest::MouseRelease, Qt::RightButton}, DblClick{QTest::MouseDClick},
    MoveHeld{QTest::MouseMove}, Enter{.key = Qt::Key_Return}, Space{.key = Qt::Key_Space};
const Act ValueTrue{.let = [](TestButton& b) { b.setValue(VbTrue); }};
const Act ValueOne{.let = [](TestButton& b) { b.setValue(1); }};
const Act ToggleFalse{.let = [](TestButton& b) { b.setToggle(VbFalse); }};
const Act EnabledOff{.let = [](TestButton& b) { b.setEnabled(VbFalse); }};
const Act BaseOff{.let = [](TestButton& b) { static_cast<forms::Control&>(b).setEnabled(false); }};
const Act BaseOn{.let = [](TestButton& b) { static_cast<forms::Control&>(b).setEnabled(true); }};
// What Qt sends when a modal window opens, the window is left, or another window grabs the mouse.
template <QEvent::Type type> void send(TestButton& b) {
    QEvent e(type);
    QApplication::sendEvent(b.widget(), &e);
}
const Act Blocked{.let = send<QEvent::WindowBlocked>},
    Deactivated{.let = send<QEvent::WindowDeactivate>}, Ungrabbed{.let = send<QEvent::UngrabMouse>};
const QPoint On{60, 12}, OnPic{14, 12}, Out{-40, 12};
const QPoint Edge{113, 25}, Before{-1, 12}, PastEdge{114, 25}; // the face's edges are inside

} // namespace

// The nine properties in reading order; the picture as set by identity.
QStringList TestButton::state() const {
    return QString::asprintf(
               "%x|%x|%d %d|%s|%p %d|%d|%d|%s|%x", ForeColor(), BorderColor(), Enabled(),
               DisBorder.Visible(), qUtf8Printable(forms::qt::toQFont(*Font()).toString()),
               Picture2.Picture().get(), forms::hasImage(Picture()), Toggle(), Value(),
               qUtf8Printable(QString::fromStdU16String(Caption())), MaskColor())
        .split('|');
}

// As seen: face colour and what lies on the face's edge (highlight frame, disabled frame or the
// border), which variant the picture shows and its offset from home, Value, a button held.
QString TestButton::look() {
    const QImage g = widget()->grab().toImage();
    const forms::PictureRef p = Image1.Picture();
    const forms::PixelImage i = p ? p->image() : forms::PixelImage();
    const char* pic = !forms::hasImage(p)          ? "none"
                      : p == Picture2.Picture()    ? "as-set"
                      : i == Picture3.drawnImage() ? "lit"
                      : i == Picture5.drawnImage() ? "pressed"
                      : i == Picture4.drawnImage() ? "down"
                                                   : "prepared";
    const forms::OleColor e = oleOf(g.pixel(0, g.height() / 2));
    const char* edge = e == DownFrameColor ? "frame" : e == Grey ? "off" : "-";
    return QString::asprintf("%06x %s %s %g", oleOf(g.pixel(1, 1)), edge, pic,
                             Image1.Left() - m_ImageLeft) +
           (Value() != VbFalse ? QString::asprintf(" value %d", Value()) : QString()) +
           (m_MouseHeld != VbFalse ? " held" : "");
}

void TestButton::perform(const Act& a, std::optional<QPoint> point) {
    const QPoint at = point.value_or(a.mouse < 0 && !a.let && !a.key ? Out : On);
    const QPoint global = widget()->mapToGlobal(at);
    forms::setCursorPosOverride(forms::PixelPoint{global.x(), global.y()});
    QWindow* window = widget()->window()->windowHandle();
    if (a.let) {
        a.let(*this);
    } else if (a.key) {
        QTest::keyClick(forms::qt::widgetOf(Picture1), Qt::Key(a.key));
    } else if (a.mouse < 0) {
        Timer1.fire();
    } else if (a.mouse == QTest::MouseMove && a.button) {
        // Held after a press elsewhere: the part that had the press gets such moves.
        forms::MouseInput held;
        held.buttons = forms::qt::buttonsOf(a.button);
        Label2.deliverMouse(held, float(at.x()), float(at.y()));
    } else {
        if (a.mouse == QTest::MouseMove) // Qt drops a move to where the pointer is: come from afar
            QTest::mouseMove(window, QPoint(-1000, -1000));
        QTest::mouseEvent(QTest::MouseAction(a.mouse), window, a.button, {},
                          widget()->mapTo(widget()->window(), at));
    }
}

// Every event and notification with its arguments, and if asked the look it was raised in.
void TestButton::logEvents(QStringList& log, bool withLook) {
    const auto on = [&](auto& event, const char* name) {
        event.connect([this, &log, withLook, name](auto&... a) {
            QStringList e{name};
            ((e << QVariant(a).toString()), ...);
            log << e.join(' ') + (withLook ? ": " + look() : QString()) +
                       (withLook && Timer1.Enabled() ? ", timer on" : "");
        });
    };
    on(Click, "Click"), on(DblClick, "DblClick"), on(KeyDown, "KeyDown");
    on(KeyPress, "KeyPress"), on(KeyUp, "KeyUp"), on(MouseDown, "MouseDown");
    on(MouseMove, "MouseMove"), on(MouseUp, "MouseUp"), on(MouseOut, "MouseOut");
    propertyChanged.connect([&log](const std::u16string& name) {
        log << "changed " + QString::fromStdU16String(name);
    });
}

namespace {

// clang-format off
const std::vector<std::pair<const char*, std::function<void(TestButton&)>>> Lets = {
    {"ForeColor", [](TestButton& b) { b.setForeColor(Red); }},
    {"Enabled", [](TestButton& b) { b.setEnabled(VbFalse); }},
    {"Font", [](TestButton& b) { b.setFont(StoredFont); }},
    {"Picture", [](TestButton& b) { b.setPicture(makePicture(5, 5, Red)); }},
    {"Picture: empty", [](TestButton& b) { b.setPicture(Empty); }},
    {"Toggle", ToggleFalse.let},
    {"Value", ValueTrue.let},
    {"Value: 1 is True", ValueOne.let},
    {"Caption", [](TestButton& b) { b.setCaption(Caption.toStdU16String()); }},
    {"MaskColor", [](TestButton& b) { b.setMaskColor(Magenta); }},
    {"BorderColor", [](TestButton& b) { b.setBorderColor(Blue); }},
};

const char *const Normal = "e0e0e0 - as-set 1", *const Lit = "d8bfb6 frame lit -1",
    *const Pressed = "bca69e frame pressed 1 held", *const PressedOn = "bca69e frame pressed 1 value -1 held",
    *const Down = "d8bfb6 frame down 1 value -1", *const LitOn = "d8bfb6 frame lit -1 value -1",
    *const Dim = "e0e0e0 - lit -1", *const LateUp = "d8bfb6 - lit -1", *const Pressed2 = "bca69e - pressed 1 held";
const QString MoveOn = "MouseMove 0 0 60 12", DownOn = "MouseDown 1 0 60 12", UpOn = "MouseUp 1 0 60 12";

using Step = std::tuple<Act, QPoint, QStringList, const char*>; // what, where, events, look
// Name, a switch or not, steps, and whether each event is logged with the look it was raised in.
const std::vector<std::tuple<const char*, bool, std::vector<Step>, bool>> Scenarios = {
    {"plain: a right click does not click, a held move dims, edges are inside, every visit ends "
     "in one MouseOut", false,
     {{Move, On, {MoveOn}, Lit}, {PressRight, On, {"MouseDown 2 0 60 12"}, Pressed},
      {ReleaseRight, On, {"MouseUp 2 0 60 12"}, Lit}, {Press, On, {DownOn}, Pressed},
      {Release, On, {UpOn, "Click"}, Lit}, {Tick, Edge, {}, Lit}, {MoveHeld, Before, {}, Lit},
      {MoveHeld, Edge, {"MouseMove 1 0 113 25"}, Dim}, {Tick, PastEdge, {"MouseOut"}, Normal},
      {Tick, Out, {}, Normal}, {Move, On, {MoveOn}, Lit}, {Tick, On, {}, Lit},
      {Tick, Out, {"MouseOut"}, Normal}}, false},
    {"plain: dragged out while held and back, released; Value True is forced False", false,
     {{Move, On, {MoveOn}, Lit}, {Press, On, {DownOn}, Pressed},
      {Tick, Out, {"MouseOut"}, "e0e0e0 - as-set 1 held"},
      {Move, On, {"MouseMove 1 0 60 12"}, "e0e0e0 - as-set 1 held"},
      {Release, On, {UpOn, "Click"}, LateUp},
      {ValueTrue, On, {"changed Value"}, "e0e0e0 - as-set -1"}}, false},
    {"plain: a press whose release goes elsewhere rests at once, and that release clicks nothing",
     false,
     {{Move, On, {MoveOn}, Lit}, {Press, On, {DownOn}, Pressed}, {Blocked, On, {}, Normal},
      {Release, On, {UpOn}, LateUp}, {Press, On, {DownOn}, Pressed2}, {Deactivated, On, {}, Normal},
      {Release, On, {UpOn}, LateUp}, {Press, On, {DownOn}, Pressed2}, {Ungrabbed, On, {}, Normal},
      {Release, On, {UpOn}, LateUp}, {Move, On, {MoveOn}, Lit}, {Tick, Out, {"MouseOut"}, Normal}}, false},
    {"plain: the base class's setEnabled enables it after Enabled False, and disables it again", false,
     {{EnabledOff, On, {"changed Enabled"}, "e0e0e0 off as-set 0"}, {Move, On, {}, "e0e0e0 off as-set 0"},
      {BaseOn, On, {"changed Enabled"}, "e0e0e0 - as-set 0"}, {Move, On, {MoveOn}, Lit},
      {BaseOff, On, {"changed Enabled"}, "d8bfb6 off lit -1"}}, false},
    {"switch: down by Value 1, up by a click; clicked beside the picture, down through hover and "
     "MouseOut; a lost release leaves it down; a double click flips once; Toggle False does not "
     "notify Value", true,
     {{ValueOne, On, {"changed Value"}, "ffc0c0 frame down 0 value -1"}, {Press, On, {DownOn}, PressedOn},
      {Release, On, {UpOn, "Click"}, Lit}, {Press, On, {DownOn}, Pressed}, {Release, On, {UpOn, "Click"}, Down},
      {Move, On, {MoveOn}, Down}, {Tick, Out, {"MouseOut"}, Down}, {Press, On, {DownOn}, PressedOn},
      {Deactivated, On, {}, Down}, {Release, On, {UpOn}, LitOn},
      {DblClick, On, {DownOn, UpOn, "Click", "DblClick", UpOn}, Lit},
      {ValueTrue, On, {"changed Value"}, "ffc0c0 frame down -1 value -1"},
      {ToggleFalse, On, {"changed Toggle"}, "e0e0e0 - as-set -1"}}, false},
    {"switch: clicked on the picture, down, dimmed by a held move, not lit by a free one, then up; "
     "keys only raise their events", true,
     {{Move, On, {MoveOn}, Lit}, {Press, OnPic, {"MouseDown 1 0 9 8"}, Pressed},
      {Release, OnPic, {"MouseUp 1 0 7 6", "Click"}, LitOn},
      {MoveHeld, On, {"MouseMove 1 0 60 12"}, "e0e0e0 - lit -1 value -1"},
      {Move, On, {MoveOn}, "e0e0e0 - lit -1 value -1"},
      {Press, OnPic, {"MouseDown 1 0 9 8"}, "bca69e - pressed 1 value -1 held"},
      {Release, OnPic, {"MouseUp 1 0 7 6", "Click"}, Dim},
      {Enter, On, {"KeyDown 13 0", "KeyPress 13", "KeyUp 13 0"}, Dim},
      {Space, On, {"KeyDown 32 0", "KeyPress 32", "KeyUp 32 0"}, Dim}}, false},
    {"switch: each event raised before its look changes, after the timer starts or stops; Click "
     "after the flip", true,
     {{Move, On, {"MouseMove 0 0 60 12: e0e0e0 - prepared 0, timer on"}, Lit},
      {Press, On, {"MouseDown 1 0 60 12: d8bfb6 frame lit -1, timer on"}, Pressed},
      {Release, On, {"MouseUp 1 0 60 12: bca69e frame pressed 1 held, timer on",
                     "Click: d8bfb6 frame down 1 value -1, timer on"}, Down},
      {Press, On, {"MouseDown 1 0 60 12: d8bfb6 frame down 1 value -1, timer on"}, PressedOn},
      {Release, On, {"MouseUp 1 0 60 12: bca69e frame pressed 1 value -1 held, timer on",
                     "Click: d8bfb6 frame lit -1, timer on"}, Lit},
      {Tick, Out, {"MouseOut: d8bfb6 frame lit -1"}, Normal}}, true},
};

// Face (width 0: the caption's width and its 20-pixel room), picture, Image1's top, and how much
// narrower than its text the caption must be.
const std::vector<std::tuple<const char*, QSize, bool, int, int>> Layouts = {
    {"113 x 25 with a picture", {113, 25}, true, 5, 0}, {"113 x 25 without a picture", {113, 25}, false, 5, 0},
    {"height 24: half(9)", {113, 24}, true, 4, 0}, {"height 14: half(-1) is 0", {113, 14}, true, 0, 0},
    {"height 10: half(-5) is -2", {113, 10}, true, -2, 0},
    {"caption as wide as the room", {0, 25}, true, 5, 0}, {"caption wider than the room", {0, 25}, true, 5, 7},
    // The room is negative: narrowing fails, the caption keeps its width, the rest goes on.
    {"face narrower than picture and gap", {15, 25}, true, 5, 0},
};

// On the design mask colour: red, half-transparent red, a pixel in the resting face colour, and
// blue in the last row and column that the picture reaches.
const forms::PictureRef Dots = makePicture(16, 16, Grey, {{{3, 4}, 0xFFFF0000}, {{8, 8}, 0x80FF0000},
                                                          {{12, 3}, 0xFFE0E0E0}, {{15, 15}, 0xFF0000FF}});
// Name, an earlier picture, the picture, mask colour, what is done, pixels from Image1's top left.
using PixelCase = std::tuple<const char*, forms::PictureRef, forms::PictureRef, forms::OleColor,
                             std::vector<Act>, std::vector<std::pair<QPoint, forms::OleColor>>>;
const std::vector<PixelCase> PixelCases = {
    {"normal: the mask, past the picture too, is the face; half-transparent red blended once", {},
     Dots, Grey, {}, {{{0, 0}, Resting}, {{3, 4}, Red}, {{8, 8}, 0x004040C0}, {{12, 3}, Resting}, {{16, 16}, Resting}}},
    {"lit: lit face, grey shadow 2 right and down, the resting face colour transparent", {},
     Dots, Grey, {Move}, {{{0, 0}, LitFace}, {{3, 4}, Red}, {{5, 6}, Grey}, {{12, 3}, LitFace}, {{14, 5}, LitFace},
                          {{17, 17}, Grey}, {{18, 18}, LitFace}}},
    {"pressed: pressed face, no shadow", {}, Dots, Grey, {Move, Press},
     {{{0, 0}, PressedFace}, {{3, 4}, Red}, {{5, 6}, PressedFace}, {{17, 17}, PressedFace}}},
    {"down: 22 wide on the lit colour", {}, Dots, Grey, {ValueTrue},
     {{{0, 0}, LitFace}, {{3, 4}, Red}, {{21, 18}, LitFace}, {{22, 18}, DownFace}}},
    {"after a visit: the picture as set, mask and all", {}, Dots, Grey, {Move, Tick},
     {{{0, 0}, Grey}, {{3, 4}, Red}, {{16, 16}, Resting}}},
    {"larger than 17 x 17: cut", {}, makePicture(24, 24, Red), Silver, {}, {{{16, 16}, Red}, {{17, 17}, Resting}}},
    {"a system-colour mask matches nothing", {}, makePicture(16, 16, Silver), 0x8000000F, {Move},
     {{{0, 0}, Silver}, {{2, 2}, Silver}, {{17, 17}, Grey}}},
    {"nothing of an earlier picture stays", makePicture(17, 17, Blue), makePicture(5, 5, Magenta, {{{2, 2}, 0xFFFF0000}}),
     Magenta, {Move}, {{{2, 2}, Red}, {{4, 4}, Grey}, {{10, 10}, LitFace}, {{18, 18}, LitFace}}},
    {"an empty picture after one, down: nothing of it", Dots, Empty, Grey, {ValueTrue}, {{{3, 4}, DownFace}}},
    {"an empty picture after one, pressed: nothing of it", Dots, Empty, Grey, {Move, Press}, {{{3, 4}, PressedFace}}},
    {"an empty picture after one, clicked down: nothing of it", Dots, Empty, Grey, {Move, Press, Release},
     {{{3, 4}, LitFace}}},
};

// The stored properties in reading order, each with a value other than its default and a value
// that cannot be converted.
const std::vector<std::tuple<const char*, forms::PropertyValue, forms::PropertyValue>> Entries = {
    {"ForeColor", forms::colorValue(0x000000FF), u"red"}, {"BorderColor", forms::colorValue(0x00FF0000), u"blue"},
    {"Enabled", false, u"maybe"}, {"Font", StoredFont, u"Arial"}, {"Picture", Pic17, u"cmdPreview.png"},
    {"Toggle", true, StoredFont}, {"Value", true, u"down"}, {"Caption", u"Проба", StoredFont},
    {"MaskColor", forms::colorValue(Magenta), u"grey"},
};
// clang-format on

// One row per entry of a table, named after it.
template <typename Table> void addRows(const Table& table) {
    QTest::addColumn<int>("row");
    for (int i = 0; i < int(table.size()); ++i)
        QTest::newRow(std::get<0>(table[i])) << i;
}

} // namespace

class TestKxButton : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { forms::Timer::setManualMode(true); }
    void init() {
        forms::setCursorPosOverride(forms::PixelPoint{-20000, -20000});
        QTestPrivate::qtestMouseButtons = Qt::NoButton; // none held over from a test before
    }

    void eachLetStoresThenNotifiesItsName_data() { addRows(Lets); }
    void eachLetStoresThenNotifiesItsName() {
        QFETCH(int, row);
        auto b = shownButton();
        b->setToggle(-2); // any value but 0 is True
        QStringList before = b->state(), whenNotified, names;
        b->propertyChanged.connect([&](const std::u16string& name) {
            whenNotified = b->state();
            names << QString::fromStdU16String(name);
        });
        Lets[row].second(*b);
        QCOMPARE(names, QStringList{QString(Lets[row].first).section(':', 0, 0)});
        QVERIFY(whenNotified != before);
        QCOMPARE(whenNotified, b->state()); // the container sees the new value when it is told
        QCOMPARE(b->DisBorder.Visible(), b->Enabled() == VbFalse);
        for (const forms::Boolean v : {b->Toggle(), b->Value()})
            QVERIFY(v == VbFalse || v == VbTrue);
        const bool picture = forms::hasImage(b->Picture2.Picture()); // an empty one shows nothing
        QVERIFY(forms::hasImage(b->Picture()) == picture && b->Image1.Visible() == picture);
    }

    void layout_data() { addRows(Layouts); }
    void layout() {
        QFETCH(int, row);
        auto [name, face, withPicture, imageTop, narrowed] = Layouts[row];
        auto b = shownButton(1000, face.height(), withPicture);
        b->setCaption(Caption.toStdU16String());
        const float text = b->Label1.Width();
        face.setWidth(face.width() ? face.width() : int(text) + 20 - narrowed);
        b->Move(b->Left(), b->Top(), face.width(), face.height());
        QCOMPARE(QPointF(b->Image1.Left(), b->Image1.Top()), QPointF(6, imageTop));
        QCOMPARE(QPoint(b->m_ImageLeft, b->m_ImageTop), QPoint(6, imageTop)); // also if hidden
        QCOMPARE(b->Image1.Visible(), withPicture);
        const QRectF caption(b->Label1.Left(), b->Label1.Top(), b->Label1.Width(),
                             b->Label1.Height());
        QCOMPARE(caption.width(), text - narrowed);
        // Centred beside the picture (may end in a half pixel), else on the face in whole pixels.
        const double gap = caption.left() - (withPicture ? 23 : 0);
        QVERIFY(std::abs(gap - (face.width() - caption.right())) <= (withPicture ? 0.0 : 1.0));
        QCOMPARE(caption.top(), std::trunc((face.height() - caption.height()) / 2));
        for (const forms::Control* cover :
             {(forms::Control*)&b->Picture1, (forms::Control*)&b->Label2})
            QCOMPARE(forms::qt::toQRect(cover->pixelRect()), QRect(QPoint(), face));
        // The mouse reaches the picture over it and the overlay everywhere else, caption included.
        const auto partAt = [&](QPointF p) { return b->Picture1.windowlessChildAt(p.x(), p.y()); };
        QCOMPARE(partAt({8, imageTop + 2.0}),
                 withPicture ? &b->Image1 : (forms::Control*)&b->Label2);
        QVERIFY(face.width() <= 15 || partAt(caption.center()) == &b->Label2);
    }

    void looksShowThePictureOnTheirFace_data() { addRows(PixelCases); }
    void looksShowThePictureOnTheirFace() {
        QFETCH(int, row);
        const auto& [name, earlier, picture, mask, acts, pixels] = PixelCases[row];
        auto b = shownButton(113, 25, false);
        b->setToggle(VbTrue);
        b->setMaskColor(mask);
        for (const auto& set : {earlier, picture})
            if (set)
                b->setPicture(set);
        for (const Act& a : acts)
            b->perform(a);
        QCOMPARE(forms::hasImage(b->Picture()), forms::hasImage(picture));
        const QImage g = b->widget()->grab().toImage();
        const QPoint home(b->Image1.pixelRect().x, b->Image1.pixelRect().y);
        for (const auto& [at, colour] : pixels) // the point is in the message
            QCOMPARE(std::pair(at, oleOf(g.pixel(home + at))), std::pair(at, colour));
    }

    void focusShowsADottedFrameInsideTheFaceOnly() {
        auto b = shownButton();
        QVERIFY(QTest::qWaitForWindowActive(b->widget()));
        b->perform(Move);
        const QString before = b->look();
        QWidget* face = forms::qt::widgetOf(b->Picture1);
        face->clearFocus();
        const QImage unfocused = b->widget()->grab().toImage();
        b->Picture1.SetFocus();
        const QImage focused = b->widget()->grab().toImage();
        const QRegion frame = QRegion(3, 3, 107, 19) - QRegion(4, 4, 105, 17);
        QRegion changed;
        for (int x = 0; x < 113; ++x)
            for (int y = 0; y < 25; ++y)
                if (focused.pixel(x, y) != unfocused.pixel(x, y))
                    changed += QRect(x, y, 1, 1);
        QCOMPARE(changed - frame, QRegion()); // dots on the frame's line, and nothing else
        QVERIFY(changed.boundingRect() == frame.boundingRect() && b->look() == before);
        face->clearFocus();
        QCOMPARE(b->widget()->grab().toImage(), unfocused);
    }

    void transitions_data() { addRows(Scenarios); }
    void transitions() {
        QFETCH(int, row);
        const auto& [name, toggle, steps, looksAtEvents] = Scenarios[row];
        auto b = shownButton();
        QCOMPARE(b->Timer1.Interval(), 15); // the hover timer's period, as the control sets it
        b->setToggle(forms::vbBool(toggle));
        b->setCaption(
            Caption.toStdU16String()); // under On: a click there goes through it to the overlay
        QStringList log;
        b->logEvents(log, looksAtEvents);
        for (const auto& [act, at, events, look] : steps) {
            b->perform(act, at);
            QCOMPARE(std::exchange(log, {}) << b->look(), QStringList(events) << look);
        }
    }

    void aButtonDestroyedDuringTheReleaseIsNotTouchedAgain() {
        forms::WindowedControl window(nullptr);
        window.Move(0, 0, 200, 100);
        TestButton* b = shownButton(113, 25, true, &window).release();
        const forms::Alive alive(b->lifetime());
        window.setVisible(true);
        b->perform(Move);
        b->perform(Press);
        QStringList log;
        b->logEvents(log);
        // A queued event that destroys the button runs inside the release.
        forms::backend::post([b] { delete b; });
        b->perform(Release);
        QVERIFY(!alive);
        QCOMPARE(log, QStringList{UpOn}); // no Click from a destroyed button
    }

    void storedPropertiesLoadInOrderUpToAFailure_data() {
        addRows(Entries);
        QTest::newRow("none: saved and re-created it is the same") << int(Entries.size());
        QTest::newRow("all: an empty bag gives the defaults") << -1;
    }
    void storedPropertiesLoadInOrderUpToAFailure() {
        QFETCH(int, row); // the failing entry
        forms::PropertyBag good, bad, saved;
        for (int i = 0; i < int(Entries.size()); ++i) {
            const auto& [name, value, wrong] = Entries[i];
            good.setRaw(QString(name).toStdU16String(), value);
            bad.setRaw(QString(name).toStdU16String(), i == row ? wrong : value);
        }
        TestButton fresh, full, b;
        full.ReadFrom(good);
        int notified = 0;
        b.propertyChanged.connect([&](auto&) { ++notified; });
        if (row < 0) { // nothing is written back either
            b.ReadFrom(forms::PropertyBag());
            b.WriteTo(saved);
            QCOMPARE(b.state(), QStringList({"80000012", "80000012", "-1 0", fresh.state()[3],
                                             "0x0 0", "0", "0", "kxFlashButton", "c0c0c0"}));
            QVERIFY(notified == 1 && saved.names().empty());
            return;
        }
        if (row < int(Entries.size())) {
            QVERIFY_THROWS_EXCEPTION(forms::RuntimeError, b.ReadFrom(bad));
            const QStringList design = fresh.state(), stored = full.state(), now = b.state();
            for (int i = 0; i < int(Entries.size()); ++i)
                QCOMPARE(now[i], i < row ? stored[i] : design[i]);
            return;
        }
        full.WriteTo(saved); // the picture as set, not the variant it shows
        QVERIFY(std::get<forms::PictureRef>(saved.ReadProperty(u"Picture", {})) == Pic17 &&
                full.Picture() != Pic17);
        b.ReadFrom(saved);
        for (TestButton* button : {&full, &b}) {
            button->Move(0, 0, 256, 28);
            button->setVisible(true);
        }
        QCOMPARE(notified, 1); // "Picture" only: a switch stored down does not notify "Value"
        QCOMPARE(b.state(), full.state());
        QCOMPARE(b.look(), "ffc0c0 off down 0 value -1"); // disabled, down
        QCOMPARE(b.widget()->grab().toImage(), full.widget()->grab().toImage());
    }
};

QTEST_MAIN(TestKxButton)
#include "tst_kxbutton.moc"
