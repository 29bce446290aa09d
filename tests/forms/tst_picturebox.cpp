#include "forms/color.h"
#include "forms/error.h"
#include "forms/picturebox.h"

#include <QApplication>
#include <QPalette>
#include <QSignalSpy>
#include <QTest>

using namespace forms;

namespace {

constexpr OleColor mask = 0x00808080;
constexpr OleColor blue = 0x00FF0000;   // 0x00BBGGRR
constexpr OleColor yellow = 0x0000FFFF; // red + green

// A w x h picture in one colour, with a fully transparent pixel at (1, 1).
PictureRef solid(int w, int h, QColor c) {
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(c);
    img.setPixel(1, 1, qRgba(0, 0, 0, 0));
    return makePicture(img);
}

// One of the hidden 17 x 17 work surfaces.
struct Surface {
    QWidget parent;
    PictureBox box{&parent};
    Surface(int w = 17, int h = 17, OleColor back = mask) {
        box.Move(42, 120, float(w), float(h));
        box.setBackColor(back);
        box.setVisible(false);
    }
};

class KeyRecorder : public QObject {
    Q_OBJECT
public:
    explicit KeyRecorder(PictureBox* b) {
        connect(b, &PictureBox::KeyDown, this, [this](std::int16_t& k, std::int16_t& s) {
            emit happened(QStringLiteral("KeyDown %1 %2").arg(k).arg(s));
        });
        connect(b, &PictureBox::KeyPress, this,
                [this](std::int16_t& a) { emit happened(QStringLiteral("KeyPress %1").arg(a)); });
        connect(b, &PictureBox::KeyUp, this, [this](std::int16_t& k, std::int16_t& s) {
            emit happened(QStringLiteral("KeyUp %1 %2").arg(k).arg(s));
        });
    }
signals:
    void happened(const QString&);
};

} // namespace

class TestPictureBox : public QObject {
    Q_OBJECT
private slots:
    void startsAsBackground();
    void storedPictureCutAndTransparent_data();
    void storedPictureCutAndTransparent();
    void pixelsReadAndWritten();
    void snapshotIsIndependent();
    void backColorRebuildsDrawnImage();
    void clsClearsWithoutPicture();
    void paintPictureComposites();
    void resizeKeepsWhatFits();
    void visibleBoxPaintsDrawnImage();
    void keys_data();
    void keys();
    void autoRepeatHasNoKeyUp();
};

void TestPictureBox::startsAsBackground() {
    Surface s(22, 19, 0x00D8BFB6);
    QCOMPARE(s.box.drawnImage().size(), QSize(22, 19)); // hidden, never shown: still sized
    QCOMPARE(s.box.Point(0, 0), 0x00D8BFB6u);
    QCOMPARE(s.box.Point(21, 18), 0x00D8BFB6u);
    QCOMPARE(s.box.Point(22, 0), 0xFFFFFFFFu);
    QCOMPARE(s.box.Point(0, -1), 0xFFFFFFFFu);
    QCOMPARE(s.box.ScaleWidth(), 22.f);
    QCOMPARE(s.box.ScaleHeight(), 19.f);
    QCOMPARE(s.box.ScaleLeft(), 0.f);
    QVERIFY(hasImage(s.box.Image()));
    QCOMPARE(s.box.Image()->width(), 22);
}

void TestPictureBox::storedPictureCutAndTransparent_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<uint>("at16");
    QTest::newRow("16x16: 17th row and column show the background") << 16 << mask;
    QTest::newRow("20x20: cut at the edges") << 20 << blue;
}

void TestPictureBox::storedPictureCutAndTransparent() {
    QFETCH(int, size);
    QFETCH(uint, at16);
    Surface s;
    const PictureRef p = solid(size, size, QColor(0, 0, 255));
    s.box.setPicture(p);
    QCOMPARE(s.box.Picture().get(), p.get());
    QCOMPARE(s.box.drawnImage().size(), QSize(17, 17));
    QCOMPARE(s.box.Point(0, 0), blue);
    QCOMPARE(s.box.Point(1, 1), mask); // transparent pixel shows BackColor
    QCOMPARE(s.box.Point(16, 0), at16);
    QCOMPARE(s.box.Point(0, 16), at16);
    QCOMPARE(s.box.Point(16, 16), at16);
    s.box.setPicture(nullptr);
    QCOMPARE(s.box.Point(0, 0), mask);
    s.box.setPicture(makePicture(QImage())); // an empty picture draws nothing
    QCOMPARE(s.box.Point(0, 0), mask);
}

void TestPictureBox::pixelsReadAndWritten() {
    Surface s;
    s.box.PSet(3, 4, yellow);
    QCOMPARE(s.box.Point(3, 4), yellow);
    QCOMPARE(s.box.Point(4, 3), mask);
    s.box.PSet(17, 0, yellow); // outside: ignored
    s.box.PSet(-1, 0, yellow);
    QCOMPARE(s.box.Point(16, 0), mask);

    // A system colour is written as the colour it stands for; a pixel never reads back as one.
    s.box.PSet(5, 5, 0x8000000Fu);
    QCOMPARE(s.box.Point(5, 5), fromQColor(QApplication::palette().color(QPalette::Button)));
    QVERIFY(s.box.Point(5, 5) != 0x8000000Fu);

    QVERIFY_THROWS_EXCEPTION(RuntimeError, s.box.PSet(6, 6, 0x8000001Fu));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, s.box.PSet(99, 99, 0x01000000u));
    QCOMPARE(s.box.Point(6, 6), mask);
}

void TestPictureBox::snapshotIsIndependent() {
    Surface s;
    s.box.PSet(0, 0, yellow);
    const PictureRef snap = s.box.Image();
    QVERIFY(snap->handle() != 0);
    s.box.PSet(0, 0, blue);
    s.box.PaintPicture(solid(4, 4, Qt::green), 2, 2);
    s.box.Cls();
    QCOMPARE(fromQColor(snap->image().pixel(0, 0)), yellow);
    QCOMPARE(fromQColor(snap->image().pixel(3, 3)), mask);
    const PictureRef again = s.box.Image();
    QVERIFY(again->handle() != snap->handle());
    QCOMPARE(snap->handle(), snap->handle()); // stable
}

void TestPictureBox::backColorRebuildsDrawnImage() {
    Surface s;
    s.box.setPicture(solid(16, 16, QColor(0, 0, 255)));
    s.box.PSet(0, 0, yellow);
    s.box.setBackColor(0x00E0E0E0);
    QCOMPARE(s.box.BackColor(), 0x00E0E0E0u);
    QCOMPARE(s.box.Point(0, 0), blue); // drawing gone, picture redrawn
    QCOMPARE(s.box.Point(1, 1), 0x00E0E0E0u);
    QCOMPARE(s.box.Point(16, 16), 0x00E0E0E0u);
    QVERIFY_THROWS_EXCEPTION(RuntimeError, s.box.setBackColor(0x80000020u));
    QCOMPARE(s.box.BackColor(), 0x00E0E0E0u);
    QCOMPARE(s.box.Point(16, 16), 0x00E0E0E0u);
}

void TestPictureBox::clsClearsWithoutPicture() {
    Surface s;
    s.box.setPicture(solid(16, 16, QColor(0, 0, 255)));
    s.box.Cls();
    QCOMPARE(s.box.Point(0, 0), mask);
    QVERIFY(s.box.Picture()); // the stored picture stays stored
}

void TestPictureBox::paintPictureComposites() {
    Surface s(19, 19, 0x00000000);
    QImage half(2, 1, QImage::Format_ARGB32);
    half.setPixel(0, 0, qRgba(255, 255, 255, 128));
    half.setPixel(1, 0, qRgba(255, 0, 0, 0));
    s.box.PaintPicture(makePicture(half), 5, 6);
    const OleColor mixed = s.box.Point(5, 6);
    QVERIFY2((mixed & 0xFF) >= 126 && (mixed & 0xFF) <= 130,
             qPrintable(QString::number(mixed, 16)));
    QCOMPARE(s.box.Point(6, 6), 0x00000000u); // transparent: unchanged

    // Drawing a surface's own image onto itself changes no pixel.
    s.box.PSet(0, 0, yellow);
    const QImage before = s.box.drawnImage();
    s.box.PaintPicture(s.box.Image(), 0, 0);
    QCOMPARE(s.box.drawnImage(), before);

    QVERIFY_THROWS_EXCEPTION(RuntimeError, s.box.PaintPicture(nullptr, 0, 0));
    QVERIFY_THROWS_EXCEPTION(RuntimeError, s.box.PaintPicture(makePicture(QImage()), 0, 0));
}

void TestPictureBox::resizeKeepsWhatFits() {
    Surface s(10, 10);
    s.box.PSet(2, 2, yellow);
    s.box.PSet(9, 9, blue);
    s.box.Move(0, 0, 12, 6);
    QCOMPARE(s.box.drawnImage().size(), QSize(12, 6));
    QCOMPARE(s.box.Point(2, 2), yellow);
    QCOMPARE(s.box.Point(11, 5), mask);
    s.box.Move(0, 0, 0, 0);
    QCOMPARE(s.box.Point(0, 0), 0xFFFFFFFFu);
    QVERIFY(!hasImage(s.box.Image()));
}

void TestPictureBox::visibleBoxPaintsDrawnImage() {
    QWidget parent;
    parent.resize(40, 30);
    PictureBox face(&parent);
    face.Move(0, 0, 40, 30);
    face.setBackColor(0x00E0E0E0);
    face.PSet(7, 8, 0x000000FF);
    parent.show();
    const QImage shot = parent.grab().toImage();
    QCOMPARE(shot.pixel(7, 8), qRgb(255, 0, 0));
    QCOMPARE(shot.pixel(8, 8), qRgb(0xE0, 0xE0, 0xE0));
    face.setBackColor(0x00FFC0C0);
    QCOMPARE(parent.grab().toImage().pixel(8, 8), qRgb(0xC0, 0xC0, 0xFF));
}

void TestPictureBox::keys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("events");
    QTest::newRow("a") << int(Qt::Key_A) << "a"
                       << QStringList{"KeyDown 65 0", "KeyPress 97", "KeyUp 65 0"};
    QTest::newRow("Enter") << int(Qt::Key_Return) << "\r"
                           << QStringList{"KeyDown 13 0", "KeyPress 13", "KeyUp 13 0"};
    QTest::newRow("Cyrillic я on Z") << 0x042F << QStringLiteral("я")
                                     << QStringList{"KeyDown 90 0", "KeyPress 255", "KeyUp 90 0"};
    QTest::newRow("arrow types nothing")
        << int(Qt::Key_Left) << "" << QStringList{"KeyDown 37 0", "KeyUp 37 0"};
}

void TestPictureBox::keys() {
    QFETCH(int, key);
    QFETCH(QString, text);
    QFETCH(QStringList, events);
    QWidget parent;
    PictureBox face(&parent);
    face.Move(0, 0, 50, 20);
    QCOMPARE(face.focusPolicy(), Qt::StrongFocus);
    parent.show();
    KeyRecorder rec(&face);
    QSignalSpy spy(&rec, &KeyRecorder::happened);
    QTest::sendKeyEvent(QTest::Click, &face, Qt::Key(key), text, Qt::NoModifier);
    QStringList got;
    for (const auto& a : spy)
        got << a.at(0).toString();
    QCOMPARE(got, events);
}

void TestPictureBox::autoRepeatHasNoKeyUp() {
    PictureBox face;
    KeyRecorder rec(&face);
    QSignalSpy spy(&rec, &KeyRecorder::happened);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ", true);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ", true);
    QApplication::sendEvent(&face, &press);
    QApplication::sendEvent(&face, &release);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("KeyDown 32 0"));
    QCOMPARE(spy.at(1).at(0).toString(), QStringLiteral("KeyPress 32"));
}

QTEST_MAIN(TestPictureBox)
#include "tst_picturebox.moc"
