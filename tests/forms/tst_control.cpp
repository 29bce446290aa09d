#include "forms/error.h"
#include "forms/image.h"
#include "forms/label.h"
#include "forms/line.h"
#include "forms/shape.h"
#include "forms/stdfont.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QSignalSpy>
#include <QTest>

using namespace forms;

namespace {

// Records the events of a control in the order they are raised; the QSignalSpy on happened()
// keeps that order across the different signals.
class Recorder : public QObject {
    Q_OBJECT
public:
    explicit Recorder(Control* c) {
        connect(c, &Control::MouseDown, this,
                [this](std::int16_t& b, std::int16_t& s, float& x, float& y) {
                    emit happened(
                        QStringLiteral("MouseDown %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y));
                });
        connect(c, &Control::MouseUp, this,
                [this](std::int16_t& b, std::int16_t& s, float& x, float& y) {
                    emit happened(
                        QStringLiteral("MouseUp %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y));
                });
        connect(c, &Control::MouseMove, this,
                [this](std::int16_t& b, std::int16_t&, float& x, float& y) {
                    emit happened(QStringLiteral("MouseMove %1 %2 %3").arg(b).arg(x).arg(y));
                });
        connect(c, &Control::Click, this, [this] { emit happened(QStringLiteral("Click")); });
        connect(c, &Control::DblClick, this, [this] { emit happened(QStringLiteral("DblClick")); });
    }
signals:
    void happened(const QString& what);
};

QStringList order(const QSignalSpy& spy) {
    QStringList r;
    for (const auto& args : spy)
        r << args.at(0).toString();
    return r;
}

// A white host with a control in it, shown so that grab() paints for real.
struct Host {
    QWidget w;
    Host() {
        w.resize(60, 30);
        w.setAutoFillBackground(true);
        QPalette p = w.palette();
        p.setColor(QPalette::Window, Qt::white);
        w.setPalette(p);
    }
};

} // namespace

class TestControl : public QObject {
    Q_OBJECT
private slots:
    void floatGeometryKept_data();
    void floatGeometryKept();
    void invalidGeometryChangesNothing_data();
    void invalidGeometryChangesNothing();
    void visibleIsTheFlagTheCodeSet();
    void enabledIsTheFlagTheCodeSet();
    void mouseEventOrder_data();
    void mouseEventOrder();
    void slotsMayChangeArguments();
    void moveReportsHeldButtons();
    void labelAutoSize();
    void labelPaintsAtRoundedPixels_data();
    void labelPaintsAtRoundedPixels();
    void labelRejectsBadValues();
    void fontFallsBackWithCyrillic();
    void fontKeepsInstalledFace();
    void shapeOutlineOnEdgePixels_data();
    void shapeOutlineOnEdgePixels();
    void shapeAndLineTakeNoMouseInput();
    void imageTakesPictureSize();
    void lineDrawsBetweenPoints();
};

void TestControl::floatGeometryKept_data() {
    QTest::addColumn<float>("left");
    QTest::addColumn<float>("top");
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("height");
    QTest::addColumn<QRect>("pixels");
    QTest::newRow("whole") << 6.f << 5.f << 17.f << 17.f << QRect(6, 5, 17, 17);
    QTest::newRow("half up") << 47.5f << 6.f << 42.f << 13.f << QRect(48, 6, 42, 13);
    QTest::newRow("negative half away from zero")
        << -2.5f << -0.5f << 1.5f << 0.f << QRect(-3, -1, 2, 0);
    QTest::newRow("below half") << 1.49f << 2.51f << 3.2f << 4.7f << QRect(1, 3, 3, 5);
}

void TestControl::floatGeometryKept() {
    QFETCH(float, left);
    QFETCH(float, top);
    QFETCH(float, width);
    QFETCH(float, height);
    QFETCH(QRect, pixels);
    QWidget parent;
    Control c(&parent);
    c.Move(left, top, width, height);
    QCOMPARE(c.Left(), left);
    QCOMPARE(c.Top(), top);
    QCOMPARE(c.Width(), width);
    QCOMPARE(c.Height(), height);
    QCOMPARE(c.geometry(), pixels);

    // Each setter changes only its own value.
    Control d(&parent);
    d.setLeft(left);
    d.setTop(top);
    d.setWidth(width);
    d.setHeight(height);
    QCOMPARE(d.geometry(), pixels);
    d.Move(left + 1, top);
    QCOMPARE(d.Width(), width);
    QCOMPARE(d.Left(), left + 1);
}

void TestControl::invalidGeometryChangesNothing_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<float>("value");
    QTest::newRow("negative width") << 2 << -1.f;
    QTest::newRow("negative height") << 3 << -0.25f;
    QTest::newRow("NaN left") << 0 << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("huge top") << 1 << 1e12f;
    QTest::newRow("width beyond Qt's limit") << 2 << 2e7f;
}

void TestControl::invalidGeometryChangesNothing() {
    QFETCH(int, which);
    QFETCH(float, value);
    QWidget parent;
    Control c(&parent);
    c.Move(2.5f, 3, 10.5f, 4);
    float v[4] = {2.5f, 3, 10.5f, 4};
    v[which] = value;
    try {
        c.Move(v[0], v[1], v[2], v[3]);
        QFAIL("no error");
    } catch (const RuntimeError& e) {
        QCOMPARE(e.message(), QStringLiteral("Invalid property value"));
    }
    if (which == 2)
        QVERIFY_THROWS_EXCEPTION(RuntimeError, c.setWidth(value));
    QCOMPARE(c.Left(), 2.5f);
    QCOMPARE(c.Top(), 3.f);
    QCOMPARE(c.Width(), 10.5f);
    QCOMPARE(c.Height(), 4.f);
    QCOMPARE(c.geometry(), QRect(3, 3, 11, 4));
}

void TestControl::visibleIsTheFlagTheCodeSet() {
    QWidget parent;
    Control a(&parent);
    QVERIFY(a.Visible()); // parent not shown yet: the flag, not the on-screen state
    a.setVisible(false);
    QVERIFY(!a.Visible());
    parent.show();
    QVERIFY(!a.isVisible());
    a.setVisible(true);
    QVERIFY(a.isVisible());
    Control late(&parent); // created inside a shown parent
    QVERIFY(late.Visible());
    QVERIFY(late.isVisible());
    parent.hide();
    QVERIFY(late.Visible());
}

void TestControl::enabledIsTheFlagTheCodeSet() {
    // A disabled window must not make its controls save themselves as disabled.
    QWidget parent;
    Control c(&parent);
    parent.setEnabled(false);
    QVERIFY(c.Enabled());
    QVERIFY(!c.isEnabled());
    c.setEnabled(false);
    parent.setEnabled(true);
    QVERIFY(!c.Enabled());
}

void TestControl::mouseEventOrder_data() {
    QTest::addColumn<QString>("gesture");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("click") << "click"
                           << QStringList{"MouseDown 1 0 5 4", "MouseUp 1 0 5 4", "Click"};
    QTest::newRow("right click with Shift+Ctrl")
        << "right" << QStringList{"MouseDown 2 3 5 4", "MouseUp 2 3 5 4"};
    QTest::newRow("double click") << "double"
                                  << QStringList{"MouseDown 1 0 5 4", "MouseUp 1 0 5 4", "Click",
                                                 "DblClick", "MouseUp 1 0 5 4"};
    QTest::newRow("drag out and release outside")
        << "dragout" << QStringList{"MouseDown 1 0 5 4", "MouseMove 1 40 4", "MouseUp 1 0 40 4"};
    QTest::newRow("release on the right edge is outside")
        << "edge" << QStringList{"MouseDown 1 0 5 4", "MouseUp 1 0 20 4"};
}

void TestControl::mouseEventOrder() {
    QFETCH(QString, gesture);
    QFETCH(QStringList, events);
    QWidget parent;
    parent.resize(100, 50);
    Control c(&parent);
    c.Move(10, 10, 20, 10);
    parent.show();
    QVERIFY(QTest::qWaitForWindowExposed(&parent));
    Recorder rec(&c);
    QSignalSpy spy(&rec, &Recorder::happened);
    const QPoint in(5, 4);
    if (gesture == "click") {
        QTest::mouseClick(&c, Qt::LeftButton, {}, in);
    } else if (gesture == "right") {
        QTest::mouseClick(&c, Qt::RightButton, Qt::ShiftModifier | Qt::ControlModifier, in);
    } else if (gesture == "double") {
        // Qt's widget test path delivers a double click as its own event in place of the second
        // press, as the window system path does.
        QTest::mouseClick(&c, Qt::LeftButton, {}, in);
        QTest::mouseDClick(&c, Qt::LeftButton, {}, in);
        QTest::mouseRelease(&c, Qt::LeftButton, {}, in);
    } else if (gesture == "dragout") {
        QTest::mousePress(&c, Qt::LeftButton, {}, in);
        QTest::mouseMove(&c, QPoint(40, 4));
        QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(40, 4));
    } else if (gesture == "edge") {
        QTest::mousePress(&c, Qt::LeftButton, {}, in);
        QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(20, 4));
    }
    QCOMPARE(order(spy), events);
}

void TestControl::slotsMayChangeArguments() {
    QWidget parent;
    Control c(&parent);
    c.Move(0, 0, 20, 20);
    parent.show();
    std::int16_t seenButton = 0;
    float seenX = 0;
    connect(&c, &Control::MouseDown, &c, [](std::int16_t& b, std::int16_t&, float& x, float&) {
        b = 4;
        x = 99.5f;
    });
    connect(&c, &Control::MouseDown, &c, [&](std::int16_t& b, std::int16_t&, float& x, float&) {
        seenButton = b;
        seenX = x;
    });
    QTest::mousePress(&c, Qt::LeftButton, {}, QPoint(3, 3));
    QCOMPARE(seenButton, std::int16_t(4));
    QCOMPARE(seenX, 99.5f);
    QTest::mouseRelease(&c, Qt::LeftButton, {}, QPoint(3, 3));
}

void TestControl::moveReportsHeldButtons() {
    QWidget parent;
    Control c(&parent);
    c.Move(0, 0, 30, 30);
    parent.show();
    QVERIFY(c.hasMouseTracking());
    QList<int> buttons;
    connect(&c, &Control::MouseMove, &c,
            [&](std::int16_t& b, std::int16_t&, float&, float&) { buttons << b; });
    QMouseEvent held(QEvent::MouseMove, QPointF(5, 5), c.mapToGlobal(QPointF(5, 5)), Qt::NoButton,
                     Qt::LeftButton | Qt::MiddleButton, Qt::NoModifier);
    QApplication::sendEvent(&c, &held);
    QMouseEvent free(QEvent::MouseMove, QPointF(6, 5), c.mapToGlobal(QPointF(6, 5)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&c, &free);
    QCOMPARE(buttons, (QList<int>{5, 0}));
}

void TestControl::labelAutoSize() {
    QWidget parent;
    Label l(&parent);
    l.Move(32, 8, 42, 13);
    l.setCaption(QStringLiteral("kxButton"));
    QCOMPARE(l.Width(), 42.f); // AutoSize off: the size stays
    l.setAutoSize(true);
    const QFontMetricsF fm(l.qfont());
    const float w = std::ceil(fm.horizontalAdvance(QStringLiteral("kxButton")));
    const float h = std::ceil(fm.height());
    QCOMPARE(l.Width(), w);
    QCOMPARE(l.Height(), h);
    QCOMPARE(l.Left(), 32.f);
    QVERIFY(h >= 12 && h <= 15); // an 11-pixel face

    l.setCaption(QStringLiteral("Скопировать и закрыть"));
    QVERIFY(l.Width() > w);
    QCOMPARE(l.Width(), float(std::ceil(fm.horizontalAdvance(l.Caption()))));

    // A width set by the code holds until the text is set again.
    l.setWidth(20);
    QCOMPARE(l.Width(), 20.f);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, l.setWidth(-3));
    QCOMPARE(l.Width(), 20.f);
    l.setCaption(l.Caption());
    QVERIFY(l.Width() > 20);

    // A bigger font re-sizes an auto-sized label.
    const float before = l.Height();
    l.setFont(makeFont(QStringLiteral("MS Sans Serif"), 14));
    QVERIFY(l.Height() > before);

    l.setCaption(QString());
    QCOMPARE(l.Width(), 0.f);
}

void TestControl::labelPaintsAtRoundedPixels_data() {
    QTest::addColumn<float>("left");
    QTest::addColumn<int>("firstPixel");
    QTest::newRow("2.5 paints from 3") << 2.5f << 3;
    QTest::newRow("2.49 paints from 2") << 2.49f << 2;
    QTest::newRow("7.5 paints from 8") << 7.5f << 8;
}

void TestControl::labelPaintsAtRoundedPixels() {
    QFETCH(float, left);
    QFETCH(int, firstPixel);
    Host host;
    Label l(&host.w);
    l.setBackColor(0x000000FFu);
    l.Move(left, 2, 10.5f, 5);
    host.w.show();
    const QImage img = host.w.grab().toImage();
    const QRgb red = qRgb(255, 0, 0);
    QCOMPARE(img.pixel(firstPixel - 1, 4), qRgb(255, 255, 255));
    QCOMPARE(img.pixel(firstPixel, 4), red);
    QCOMPARE(img.pixel(firstPixel + 10, 4), red); // 10.5 wide paints 11 pixels
    QCOMPARE(img.pixel(firstPixel + 11, 4), qRgb(255, 255, 255));
    QCOMPARE(l.Left(), left);
}

void TestControl::labelRejectsBadValues() {
    Label l;
    const FontRef shared = makeFont(QStringLiteral("Arial"), 10);
    l.setFont(shared);
    QCOMPARE(l.Font().get(), shared.get()); // the same object, not a copy
    QVERIFY_THROWS_EXCEPTION(RuntimeError, l.setFont(nullptr));
    QCOMPARE(l.Font().get(), shared.get());
    l.setForeColor(0x00C00000u);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, l.setForeColor(0x8000002Au));
    QCOMPARE(l.ForeColor(), 0x00C00000u);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, l.setBackColor(0x01000000u));
    QCOMPARE(l.BackColor(), 0x8000000Fu);
}

void TestControl::fontFallsBackWithCyrillic() {
    const StdFont f; // MS Sans Serif 8.25, not on this machine
    QCOMPARE(f.size, 8.25f);
    QCOMPARE(f.pixelSize(), 11);
    const QFont q = f.toQFont();
    QCOMPARE(q.pixelSize(), 11);
    const QString family = QFontInfo(q).family();
    QVERIFY2(family.contains(QStringLiteral("Liberation Sans")) ||
                 family.contains(QStringLiteral("DejaVu Sans")),
             qPrintable(family));
    const QFontMetrics fm(q);
    for (QChar c : QStringLiteral("ЖжЁёЯя№"))
        QVERIFY2(fm.inFont(c), qPrintable(QString(c)));

    StdFont bold = f;
    bold.weight = 700;
    bold.italic = bold.underline = bold.strikethrough = true;
    const QFont b = bold.toQFont();
    QCOMPARE(b.weight(), QFont::Bold);
    QVERIFY(b.italic() && b.underline() && b.strikeOut());
    QVERIFY(!(bold == f));
}

void TestControl::fontKeepsInstalledFace() {
    const StdFont f{QStringLiteral("DejaVu Sans"), 12};
    QCOMPARE(QFontInfo(f.toQFont()).family(), QStringLiteral("DejaVu Sans"));
    QCOMPARE(f.toQFont().pixelSize(), 16);
}

void TestControl::shapeOutlineOnEdgePixels_data() {
    QTest::addColumn<int>("borderWidth");
    QTest::newRow("1") << 1;
    QTest::newRow("2") << 2;
}

void TestControl::shapeOutlineOnEdgePixels() {
    QFETCH(int, borderWidth);
    Host host;
    Shape s(&host.w);
    QCOMPARE(s.BorderColor(), 0x80000008u);
    s.setBorderColor(0x000000FFu);
    s.setBorderWidth(borderWidth);
    s.Move(4.5f, 3, 12, 8); // paints at x 5..16, y 3..10
    host.w.show();
    const QImage img = host.w.grab().toImage();
    const QRgb red = qRgb(255, 0, 0), white = qRgb(255, 255, 255);
    for (int i = 0; i < borderWidth; ++i) {
        QCOMPARE(img.pixel(5 + i, 6), red);
        QCOMPARE(img.pixel(16 - i, 6), red);
        QCOMPARE(img.pixel(10, 3 + i), red);
        QCOMPARE(img.pixel(10, 10 - i), red);
    }
    QCOMPARE(img.pixel(5 + borderWidth, 6), white); // inside stays the host's
    QCOMPARE(img.pixel(4, 6), white);
    QCOMPARE(img.pixel(17, 6), white);
    QCOMPARE(img.pixel(10, 11), white);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, s.setBorderColor(0xFFFFFFFFu));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, s.setBorderWidth(0));
    QCOMPARE(s.BorderWidth(), borderWidth);
}

void TestControl::shapeAndLineTakeNoMouseInput() {
    QWidget parent;
    parent.resize(50, 50);
    Label under(&parent);
    under.Move(0, 0, 50, 50);
    Shape s(&parent);
    s.Move(0, 0, 50, 50);
    Line line(&parent);
    line.setPoints(0, 10, 49, 10);
    s.raise();
    line.raise();
    QCOMPARE(parent.childAt(10, 10), &under);
    QCOMPARE(parent.childAt(25, 25), &under);
}

void TestControl::imageTakesPictureSize() {
    Host host;
    Image img(&host.w);
    img.Move(6, 5, 16, 16);
    QImage pic(20, 9, QImage::Format_ARGB32);
    pic.fill(qRgb(0, 0, 255));
    pic.setPixel(0, 0, qRgba(0, 0, 0, 0));
    const PictureRef p = makePicture(pic);
    img.setPicture(p);
    QCOMPARE(img.Picture().get(), p.get());
    QCOMPARE(img.Width(), 20.f);
    QCOMPARE(img.Height(), 9.f);
    QCOMPARE(img.Left(), 6.f);
    host.w.show();
    const QImage shot = host.w.grab().toImage();
    QCOMPARE(shot.pixel(6, 5), qRgb(255, 255, 255)); // transparent pixel shows the host
    QCOMPARE(shot.pixel(7, 5), qRgb(0, 0, 255));
    QCOMPARE(shot.pixel(25, 13), qRgb(0, 0, 255));
    QCOMPARE(shot.pixel(26, 13), qRgb(255, 255, 255));

    // No picture (or an empty one): the size stays.
    img.setPicture(makePicture(QImage()));
    QCOMPARE(img.Width(), 20.f);
    img.setPicture(nullptr);
    QCOMPARE(img.Height(), 9.f);
    QVERIFY(!img.Picture());
}

void TestControl::lineDrawsBetweenPoints() {
    Host host;
    Line line(&host.w);
    line.setBorderColor(0x0000FF00u);
    line.setPoints(5, 20, 40, 20);
    host.w.show();
    const QImage img = host.w.grab().toImage();
    QCOMPARE(img.pixel(5, 20), qRgb(0, 255, 0));
    QCOMPARE(img.pixel(22, 20), qRgb(0, 255, 0));
    QCOMPARE(img.pixel(22, 19), qRgb(255, 255, 255));
    QCOMPARE(img.pixel(22, 21), qRgb(255, 255, 255));
    QCOMPARE(img.pixel(45, 20), qRgb(255, 255, 255));
}

QTEST_MAIN(TestControl)
#include "tst_control.moc"
