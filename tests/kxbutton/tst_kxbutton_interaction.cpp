// kxButton interaction: the looks and events of plain and switch buttons under mouse, keys and
// the hover timer, driven step by step with a cursor position and timer ticks the test controls.
#include "kxbutton_test_support.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QtTest>

using namespace kxtest;
using forms::VbFalse;
using forms::VbTrue;

namespace {

// A face of 113 x 25 with a 17 x 17 picture puts Image1's home at (6, 5).
constexpr int FaceW = 113, FaceH = 25;
const QPoint On{60, 12};    // on the face, beside the picture
const QPoint OnPic{14, 12}; // on the picture, in face coordinates
const QPoint Out{-40, 12};  // off the button
const QPoint Edge{113, 25}; // right and bottom edge of the face: still inside
const QPoint Corner{0, 0};  // top-left edge: inside
const QPoint PastEdge{114, 25};
const QPoint LeftOfFace{-1, 0};

enum class Pic { AsSet, Prepared, Lit, Pressed, Down };

struct Look {
    forms::OleColor face;
    bool frame;
    Pic picture;
    int offset; // Image1 relative to home, in both directions
};

constexpr Look Normal{Resting, false, Pic::AsSet, +1};
constexpr Look LitLook{Lit, true, Pic::Lit, -1};
constexpr Look PressedLook{Pressed, true, Pic::Pressed, +1};
constexpr Look DownBeside{Lit, true, Pic::Down, +1};
constexpr Look DownOnPicture{Lit, true, Pic::Lit, -1};

enum class Do {
    Tick,
    Move,
    MoveHeld,
    MoveOnPicture,
    Press,
    Release,
    PressRight,
    ReleaseRight,
    PressPicture,
    ReleasePicture,
    DblClick
};

struct Step {
    Do action;
    QPoint at; // cursor position and, for the overlay, the event position (face coordinates)
    QStringList events;
    Look look;
    forms::Boolean value = VbFalse;
    bool held = false;
};

struct Scenario {
    const char* name;
    bool toggle;
    std::vector<Step> steps;
};

const Look PressedNoFrame{Pressed, false, Pic::Pressed, +1};

const std::vector<Scenario>& scenarios() {
    static const std::vector<Scenario> all = {
        {"plain: hover, press, release, click, leave",
         false,
         {
             {Do::Tick, Out, {"MouseOut"}, Normal},
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::Tick, On, {}, LitLook},
             {Do::Press, On, {"MouseDown 1 0 60 12"}, PressedLook, VbFalse, true},
             {Do::Release, On, {"MouseUp 1 0 60 12", "Click"}, LitLook},
             {Do::Tick, Out, {"MouseOut"}, Normal},
         }},
        {"plain: drag out while held, back, release",
         false,
         {
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::Press, On, {"MouseDown 1 0 60 12"}, PressedLook, VbFalse, true},
             {Do::Tick, Out, {"MouseOut"}, Normal, VbFalse, true},
             {Do::MoveHeld, On, {"MouseMove 1 0 60 12"}, Normal, VbFalse, true},
             {Do::Release, On, {"MouseUp 1 0 60 12", "Click"}, {Lit, false, Pic::Lit, -1}},
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
         }},
        {"plain: release off the button",
         false,
         {
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::Press, On, {"MouseDown 1 0 60 12"}, PressedLook, VbFalse, true},
             {Do::Release, Out, {"MouseUp 1 0 -40 12"}, PressedLook},
             {Do::Tick, Out, {"MouseOut"}, Normal},
         }},
        {"plain: edges of the face count as inside",
         false,
         {
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::Press, On, {"MouseDown 1 0 60 12"}, PressedLook, VbFalse, true},
             {Do::Release, Edge, {"MouseUp 1 0 113 25"}, LitLook},
             {Do::Tick, Edge, {}, LitLook},
             {Do::Tick, Corner, {}, LitLook},
             {Do::Tick, PastEdge, {"MouseOut"}, Normal},
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::Tick, LeftOfFace, {"MouseOut"}, Normal},
         }},
        {"plain: right button",
         false,
         {
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::PressRight, On, {"MouseDown 2 0 60 12"}, PressedLook, VbFalse, true},
             {Do::ReleaseRight, On, {"MouseUp 2 0 60 12"}, LitLook},
         }},
        {"plain: moves off the surface are dropped, its edge is accepted",
         false,
         {
             {Do::Tick, Out, {"MouseOut"}, Normal},
             {Do::Move, LeftOfFace, {}, Normal},
             {Do::Tick, Out, {"MouseOut"}, Normal}, // the dropped move still started the timer
             {Do::Move, Edge, {"MouseMove 0 0 113 25"}, LitLook},
         }},
        {"plain: moves over the picture are not handled",
         false,
         {
             {Do::Tick, Out, {"MouseOut"}, Normal},
             {Do::MoveOnPicture, OnPic, {}, Normal},
             {Do::Tick, OnPic, {}, Normal}, // the timer stayed off
         }},
        {"plain: a move with the left button held from elsewhere dims the face",
         false,
         {
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::MoveHeld, On, {"MouseMove 1 0 60 12"}, {Resting, false, Pic::Lit, -1}},
         }},
        {"switch: clicked beside the picture goes down, then up",
         true,
         {
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::Press, On, {"MouseDown 1 0 60 12"}, PressedLook, VbFalse, true},
             {Do::Release, On, {"MouseUp 1 0 60 12", "Click"}, DownBeside, VbTrue},
             {Do::Move, On, {"MouseMove 0 0 60 12"}, DownBeside, VbTrue},
             {Do::Tick, Out, {"MouseOut"}, DownBeside, VbTrue},
             {Do::Move, On, {"MouseMove 0 0 60 12"}, DownBeside, VbTrue},
             {Do::Press, On, {"MouseDown 1 0 60 12"}, PressedLook, VbTrue, true},
             {Do::Release, On, {"MouseUp 1 0 60 12", "Click"}, LitLook, VbFalse},
             {Do::Tick, Out, {"MouseOut"}, Normal},
         }},
        {"switch: clicked on the picture goes down, then up",
         true,
         {
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::PressPicture, OnPic, {"MouseDown 1 0 9 8"}, PressedLook, VbFalse, true},
             {Do::ReleasePicture, OnPic, {"MouseUp 1 0 7 6", "Click"}, DownOnPicture, VbTrue},
             {Do::Tick, Out, {"MouseOut"}, DownOnPicture, VbTrue},
             {Do::Move, On, {"MouseMove 0 0 60 12"}, DownOnPicture, VbTrue},
             {Do::PressPicture, OnPic, {"MouseDown 1 0 9 8"}, PressedLook, VbTrue, true},
             {Do::ReleasePicture,
              OnPic,
              {"MouseUp 1 0 7 6", "Click"},
              {Resting, false, Pic::Lit, -1},
              VbFalse},
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
         }},
        {"switch: a double click flips it once",
         true,
         {
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::Press, On, {"MouseDown 1 0 60 12"}, PressedLook, VbFalse, true},
             {Do::Release, On, {"MouseUp 1 0 60 12", "Click"}, DownBeside, VbTrue},
             {Do::DblClick, On, {"DblClick"}, DownBeside, VbTrue},
             {Do::Release, On, {"MouseUp 1 0 60 12"}, LitLook, VbTrue},
         }},
        {"plain: a double click raises only its event",
         false,
         {
             {Do::Move, On, {"MouseMove 0 0 60 12"}, LitLook},
             {Do::Press, On, {"MouseDown 1 0 60 12"}, PressedLook, VbFalse, true},
             {Do::Release, On, {"MouseUp 1 0 60 12", "Click"}, LitLook},
             {Do::DblClick, On, {"DblClick"}, LitLook},
             {Do::Release, On, {"MouseUp 1 0 60 12"}, LitLook},
         }},
    };
    return all;
}

// Every event the button raises, with its arguments.
class EventLog {
public:
    explicit EventLog(kxButton* b) {
        const auto mouse = [this](const char* name) {
            return [this, name](std::int16_t& button, std::int16_t& shift, float& x, float& y) {
                m_entries << QStringLiteral("%1 %2 %3 %4 %5")
                                 .arg(QLatin1String(name))
                                 .arg(button)
                                 .arg(shift)
                                 .arg(double(x))
                                 .arg(double(y));
            };
        };
        const auto key = [this](const char* name) {
            return [this, name](std::int16_t& code, std::int16_t& shift) {
                m_entries
                    << QStringLiteral("%1 %2 %3").arg(QLatin1String(name)).arg(code).arg(shift);
            };
        };
        QObject::connect(b, &kxButton::Click, [this] { m_entries << QStringLiteral("Click"); });
        QObject::connect(b, &kxButton::DblClick,
                         [this] { m_entries << QStringLiteral("DblClick"); });
        QObject::connect(b, &kxButton::KeyDown, key("KeyDown"));
        QObject::connect(b, &kxButton::KeyPress, [this](std::int16_t& ascii) {
            m_entries << QStringLiteral("KeyPress %1").arg(ascii);
        });
        QObject::connect(b, &kxButton::KeyUp, key("KeyUp"));
        QObject::connect(b, &kxButton::MouseDown, mouse("MouseDown"));
        QObject::connect(b, &kxButton::MouseMove, mouse("MouseMove"));
        QObject::connect(b, &kxButton::MouseUp, mouse("MouseUp"));
        QObject::connect(b, &kxButton::MouseOut,
                         [this] { m_entries << QStringLiteral("MouseOut"); });
    }
    QStringList take() { return std::exchange(m_entries, {}); }

private:
    QStringList m_entries;
};

void sendMouse(QWidget* w, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons) {
    QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void cursorAt(const kxButton& b, QPoint facePoint) {
    forms::setCursorPosOverride(b.mapToGlobal(facePoint));
}

void perform(TestButton& b, const Step& s) {
    cursorAt(b, s.at);
    QWidget* overlay = &b.Label2;
    const QPoint onPicture = s.at - b.Image1.pos();
    switch (s.action) {
    case Do::Tick:
        b.Timer1.fire();
        break;
    case Do::Move:
        sendMouse(overlay, QEvent::MouseMove, s.at, Qt::NoButton, Qt::NoButton);
        break;
    case Do::MoveHeld:
        sendMouse(overlay, QEvent::MouseMove, s.at, Qt::NoButton, Qt::LeftButton);
        break;
    case Do::MoveOnPicture:
        sendMouse(&b.Image1, QEvent::MouseMove, onPicture, Qt::NoButton, Qt::NoButton);
        break;
    case Do::Press:
        sendMouse(overlay, QEvent::MouseButtonPress, s.at, Qt::LeftButton, Qt::LeftButton);
        break;
    case Do::Release:
        sendMouse(overlay, QEvent::MouseButtonRelease, s.at, Qt::LeftButton, Qt::NoButton);
        break;
    case Do::PressRight:
        sendMouse(overlay, QEvent::MouseButtonPress, s.at, Qt::RightButton, Qt::RightButton);
        break;
    case Do::ReleaseRight:
        sendMouse(overlay, QEvent::MouseButtonRelease, s.at, Qt::RightButton, Qt::NoButton);
        break;
    case Do::PressPicture:
        sendMouse(&b.Image1, QEvent::MouseButtonPress, onPicture, Qt::LeftButton, Qt::LeftButton);
        break;
    case Do::ReleasePicture:
        sendMouse(&b.Image1, QEvent::MouseButtonRelease, onPicture, Qt::LeftButton, Qt::NoButton);
        break;
    case Do::DblClick:
        // The platform's double click replaces the second press.
        sendMouse(overlay, QEvent::MouseButtonDblClick, s.at, Qt::LeftButton, Qt::LeftButton);
        break;
    }
}

Pic shownPicture(const TestButton& b) {
    const forms::PictureRef p = b.Image1.Picture();
    if (p == b.Picture2.Picture())
        return Pic::AsSet;
    const QImage& i = p->image();
    if (i == b.Picture3.drawnImage())
        return Pic::Lit;
    if (i == b.Picture5.drawnImage())
        return Pic::Pressed;
    if (i == b.Picture4.drawnImage())
        return Pic::Down;
    return Pic::Prepared;
}

const char* picName(Pic p) {
    switch (p) {
    case Pic::AsSet:
        return "as set";
    case Pic::Prepared:
        return "prepared normal";
    case Pic::Lit:
        return "lit";
    case Pic::Pressed:
        return "pressed";
    case Pic::Down:
        return "down";
    }
    return "?";
}

QString describe(const TestButton& b) {
    return QStringLiteral("face %1, frame %2, picture %3 at %4,%5, value %6, held %7")
        .arg(b.Picture1.BackColor(), 6, 16, QLatin1Char('0'))
        .arg(b.Shape1.Visible() ? "shown" : "hidden")
        .arg(QLatin1String(picName(shownPicture(b))))
        .arg(double(b.Image1.Left()) - b.m_ImageLeft)
        .arg(double(b.Image1.Top()) - b.m_ImageTop)
        .arg(b.m_Value)
        .arg(b.m_MouseHeld);
}

QString describe(const Look& l, forms::Boolean value, bool held) {
    return QStringLiteral("face %1, frame %2, picture %3 at %4,%5, value %6, held %7")
        .arg(l.face, 6, 16, QLatin1Char('0'))
        .arg(l.frame ? "shown" : "hidden")
        .arg(QLatin1String(picName(l.picture)))
        .arg(l.offset)
        .arg(l.offset)
        .arg(value)
        .arg(held ? VbTrue : VbFalse);
}

std::unique_ptr<TestButton> hoverReadyButton(bool toggle) {
    auto b = shownButton(FaceW, FaceH);
    b->setMaskColor(Silver);
    b->setPicture(makePicture(17, 17, Silver, [](QImage& i) {
        for (int x = 4; x < 13; ++x)
            put(i, x, 8, 0x00000080);
    }));
    if (toggle)
        b->setToggle(VbTrue);
    return b;
}

} // namespace

class TestKxButtonInteraction : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pinTimerAndCursor(); }
    void cleanup() { forms::setCursorPosOverride(Elsewhere); }

    void transitions_data();
    void transitions();
    void aSwitchPutDownByValueIgnoresHoverAndKeepsItsLook();
    void eventsAreRaisedAroundTheLookChanges();
    void eventArgumentsArePassedByReference();
    void keysOnlyRaiseTheirEvents_data();
    void keysOnlyRaiseTheirEvents();
    void aNestedTickDuringTheReleaseSeesTheButtonHeld();
    void aButtonDestroyedDuringTheReleaseIsNotTouchedAgain();
    void theTimerStopsAfterMouseOutAndGetsNoMoreTicks();
};

void TestKxButtonInteraction::transitions_data() {
    QTest::addColumn<int>("scenario");
    for (int i = 0; i < int(scenarios().size()); ++i)
        QTest::newRow(scenarios()[i].name) << i;
}

void TestKxButtonInteraction::transitions() {
    QFETCH(int, scenario);
    const Scenario& sc = scenarios()[scenario];
    auto b = hoverReadyButton(sc.toggle);
    QCOMPARE(b->m_ImageLeft, 6);
    QCOMPARE(b->m_ImageTop, 5);
    EventLog log(b.get());

    int n = 0;
    for (const Step& s : sc.steps) {
        ++n;
        perform(*b, s);
        const QString where = QStringLiteral("step %1").arg(n);
        QVERIFY2(log.take() == s.events, qPrintable(where + QStringLiteral(": events")));
        QVERIFY2(describe(*b) == describe(s.look, s.value, s.held),
                 qPrintable(where + QStringLiteral(": ") + describe(*b)));
        if (s.look.frame) {
            const QRectF frame(b->Shape1.Left(), b->Shape1.Top(), b->Shape1.Width(),
                               b->Shape1.Height());
            QVERIFY2(frame == QRectF(0, 0, FaceW, FaceH), qPrintable(where));
        }
    }
}

void TestKxButtonInteraction::aSwitchPutDownByValueIgnoresHoverAndKeepsItsLook() {
    auto b = hoverReadyButton(true);
    b->setValue(VbTrue);
    const Look down{kxButton::DownFaceColor, true, Pic::Down, 0};
    EventLog log(b.get());

    const Step steps[] = {
        {Do::Move, On, {"MouseMove 0 0 60 12"}, down, VbTrue},
        {Do::Tick, On, {}, down, VbTrue},
        {Do::Tick, Out, {"MouseOut"}, down, VbTrue},
    };
    for (const Step& s : steps) {
        perform(*b, s);
        QCOMPARE(log.take(), s.events);
        QCOMPARE(describe(*b), describe(s.look, s.value, s.held));
    }
    QCOMPARE(b->Shape1.BorderColor(), kxButton::DownFrameColor);
}

void TestKxButtonInteraction::eventsAreRaisedAroundTheLookChanges() {
    auto b = hoverReadyButton(true);
    QStringList seen;
    const auto look = [&] {
        return QStringLiteral("face %1 timer %2 value %3 held %4 picture %5")
            .arg(b->Picture1.BackColor(), 6, 16, QLatin1Char('0'))
            .arg(b->Timer1.Enabled())
            .arg(b->m_Value)
            .arg(b->m_MouseHeld)
            .arg(QLatin1String(picName(shownPicture(*b))));
    };
    connect(b.get(), &kxButton::MouseOut, this, [&] { seen << "MouseOut: " + look(); });
    connect(b.get(), &kxButton::MouseMove, this,
            [&](std::int16_t&, std::int16_t&, float&, float&) { seen << "MouseMove: " + look(); });
    connect(b.get(), &kxButton::MouseDown, this,
            [&](std::int16_t&, std::int16_t&, float&, float&) { seen << "MouseDown: " + look(); });
    connect(b.get(), &kxButton::MouseUp, this,
            [&](std::int16_t&, std::int16_t&, float&, float&) { seen << "MouseUp: " + look(); });
    connect(b.get(), &kxButton::Click, this, [&] { seen << "Click: " + look(); });

    perform(*b, {Do::Tick, Out, {}, Normal});
    perform(*b, {Do::Move, On, {}, LitLook});
    perform(*b, {Do::Press, On, {}, PressedLook});
    perform(*b, {Do::Release, On, {}, DownBeside});
    perform(*b, {Do::Press, On, {}, PressedLook});
    perform(*b, {Do::Release, On, {}, LitLook});
    perform(*b, {Do::Tick, Out, {}, Normal});

    const QStringList expected = {
        // MouseOut after the timer stopped, before the normal look.
        "MouseOut: face e0e0e0 timer 0 value 0 held 0 picture prepared normal",
        // MouseMove after the timer started, before any look change.
        "MouseMove: face e0e0e0 timer 1 value 0 held 0 picture as set",
        // MouseDown first, before the pressed look.
        "MouseDown: face d8bfb6 timer 1 value 0 held 0 picture lit",
        // MouseUp first, before the release's look; the button still held.
        "MouseUp: face bca69e timer 1 value 0 held -1 picture pressed",
        // Click last: the switch flipped and the down look shown.
        "Click: face d8bfb6 timer 1 value -1 held 0 picture down",
        "MouseDown: face d8bfb6 timer 1 value -1 held 0 picture down",
        "MouseUp: face bca69e timer 1 value -1 held -1 picture pressed",
        "Click: face d8bfb6 timer 1 value 0 held 0 picture lit",
        "MouseOut: face d8bfb6 timer 0 value 0 held 0 picture lit",
    };
    QCOMPARE(seen, expected);
}

void TestKxButtonInteraction::eventArgumentsArePassedByReference() {
    auto b = hoverReadyButton(false);
    // The container changes the arguments; the part that raised the event sees the change.
    connect(b.get(), &kxButton::KeyPress, this, [](std::int16_t& ascii) { ascii = 0; });
    connect(b.get(), &kxButton::MouseDown, this,
            [](std::int16_t& button, std::int16_t&, float& x, float&) {
                button = 4;
                x = -1;
            });
    std::int16_t seenAscii = -1, seenButton = -1;
    float seenX = 0;
    connect(&b->Picture1, &forms::PictureBox::KeyPress, this,
            [&](std::int16_t& ascii) { seenAscii = ascii; });
    connect(&b->Label2, &forms::Control::MouseDown, this,
            [&](std::int16_t& button, std::int16_t&, float& x, float&) {
                seenButton = button;
                seenX = x;
            });

    QTest::keyClick(&b->Picture1, Qt::Key_A);
    perform(*b, {Do::Press, On, {}, PressedLook});
    QCOMPARE(seenAscii, std::int16_t(0));
    QCOMPARE(seenButton, std::int16_t(4));
    QCOMPARE(seenX, -1.0f);
}

void TestKxButtonInteraction::keysOnlyRaiseTheirEvents_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier)
                           << QStringList{"KeyDown 13 0", "KeyPress 13", "KeyUp 13 0"};
    QTest::newRow("Space") << int(Qt::Key_Space) << int(Qt::NoModifier)
                           << QStringList{"KeyDown 32 0", "KeyPress 32", "KeyUp 32 0"};
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Qt::NoModifier)
                            << QStringList{"KeyDown 27 0", "KeyPress 27", "KeyUp 27 0"};
    // Qt Test presses and releases Shift itself, and types A as "a".
    QTest::newRow("Shift+A") << int(Qt::Key_A) << int(Qt::ShiftModifier)
                             << QStringList{"KeyDown 16 1", "KeyDown 65 1", "KeyPress 97",
                                            "KeyUp 65 1", "KeyUp 16 0"};
}

void TestKxButtonInteraction::keysOnlyRaiseTheirEvents() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QStringList, events);
    for (bool toggle : {false, true}) {
        auto b = hoverReadyButton(toggle);
        perform(*b, {Do::Move, On, {}, LitLook});
        EventLog log(b.get());
        const QString before = describe(*b);
        QTest::keyClick(&b->Picture1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(log.take(), events);
        QCOMPARE(describe(*b), before); // no click, no look change, a switch stays up
    }
}

void TestKxButtonInteraction::aNestedTickDuringTheReleaseSeesTheButtonHeld() {
    auto b = hoverReadyButton(false);
    perform(*b, {Do::Move, On, {}, LitLook});
    perform(*b, {Do::Press, On, {}, PressedLook});
    forms::Boolean heldInTick = VbFalse;
    int nestedTicks = 0;
    connect(&b->Timer1, &forms::Timer::tick, this, [&] {
        ++nestedTicks;
        heldInTick = b->m_MouseHeld;
    });
    QMetaObject::invokeMethod(
        b.get(), [&] { b->Timer1.fire(); }, Qt::QueuedConnection);
    perform(*b, {Do::Release, On, {}, LitLook});
    QCOMPARE(nestedTicks, 1);
    QCOMPARE(heldInTick, VbTrue);
    QCOMPARE(b->m_MouseHeld, VbFalse);
}

void TestKxButtonInteraction::aButtonDestroyedDuringTheReleaseIsNotTouchedAgain() {
    QWidget window;
    window.resize(300, 100);
    QPointer<TestButton> b = new TestButton(&window);
    b->InitNew();
    b->setGeometry(10, 10, FaceW, FaceH);
    b->setPicture(makePicture(17, 17, Grey));
    window.show();
    EventLog log(b.data());
    perform(*b, {Do::Move, On, {}, LitLook});
    perform(*b, {Do::Press, On, {}, PressedLook});
    log.take();

    // A queued event that closes the window the button lives in runs inside the release.
    QMetaObject::invokeMethod(
        &window, [&] { delete b.data(); }, Qt::QueuedConnection);
    cursorAt(*b, On);
    sendMouse(&b->Label2, QEvent::MouseButtonRelease, On, Qt::LeftButton, Qt::NoButton);

    QVERIFY(b.isNull());
    QCOMPARE(log.take(), QStringList{"MouseUp 1 0 60 12"}); // no Click from a destroyed button
}

void TestKxButtonInteraction::theTimerStopsAfterMouseOutAndGetsNoMoreTicks() {
    auto b = hoverReadyButton(false);

    // The real timer runs from creation and is stopped by the tick that finds the cursor out.
    forms::Timer::setManualMode(false);
    const bool runningAtStart = b->Timer1.isRunning();
    b->Timer1.fire();
    const bool runningAfterMouseOut = b->Timer1.isRunning();
    forms::Timer::setManualMode(true);
    QVERIFY(runningAtStart);
    QVERIFY(!runningAfterMouseOut);
    QVERIFY(!b->Timer1.Enabled());

    // Idle: every period the timer would have had delivers nothing.
    constexpr int Periods = 1000;
    const std::uint64_t idleStart = forms::Timer::totalTicks();
    for (int i = 0; i < Periods; ++i)
        b->Timer1.fire();
    QCOMPARE(forms::Timer::totalTicks() - idleStart, std::uint64_t(0));

    // Hovered: one tick per period until the pointer leaves, then one MouseOut and none after.
    QSignalSpy out(b.get(), &kxButton::MouseOut);
    perform(*b, {Do::Move, On, {}, LitLook});
    const std::uint64_t hoverStart = forms::Timer::totalTicks();
    for (int i = 0; i < Periods; ++i)
        b->Timer1.fire();
    QCOMPARE(forms::Timer::totalTicks() - hoverStart, std::uint64_t(Periods));
    cursorAt(*b, Out);
    for (int i = 0; i < Periods; ++i)
        b->Timer1.fire();
    QCOMPARE(forms::Timer::totalTicks() - hoverStart, std::uint64_t(Periods + 1));
    QCOMPARE(out.count(), 1);
}

QTEST_MAIN(TestKxButtonInteraction)
#include "tst_kxbutton_interaction.moc"
