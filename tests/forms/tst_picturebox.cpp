#include "forms/color.h"
#include "forms/error.h"
#include "forms/picturebox.h"

#include <QTest>

using namespace forms;

namespace {

constexpr OleColor mask = 0x00808080, blue = 0x00FF0000, yellow = 0x0000FFFF; // 0x00BBGGRR

// One of the hidden 17 x 17 work surfaces.
struct Surface {
    QWidget parent;
    PictureBox box{&parent};
    Surface() {
        box.Move(42, 120, 17, 17);
        box.setBackColor(mask);
        box.setVisible(false);
    }
};

} // namespace

class TestPictureBox : public QObject {
    Q_OBJECT
private slots:
    void storedPictureCutAndTransparent_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<uint>("at16");
        QTest::newRow("16x16: the 17th row and column show BackColor") << 16 << mask;
        QTest::newRow("20x20: cut at the edges") << 20 << blue;
    }
    void storedPictureCutAndTransparent() {
        QFETCH(int, size);
        QFETCH(uint, at16);
        QImage img(size, size, QImage::Format_ARGB32);
        img.fill(QColor(0, 0, 255));
        img.setPixel(1, 1, qRgba(0, 0, 0, 0));
        Surface s;
        s.box.setPicture(makePicture(img));
        QCOMPARE(s.box.drawnImage().size(), QSize(17, 17)); // hidden, never shown: still sized
        QCOMPARE(s.box.Point(0, 0), blue);
        QCOMPARE(s.box.Point(1, 1), mask); // the transparent pixel shows BackColor
        QCOMPARE(s.box.Point(16, 0), at16);
        QCOMPARE(s.box.Point(16, 16), at16);
    }

    void pixelsAndSnapshot() {
        Surface s;
        s.box.PSet(3, 4, yellow);
        s.box.PSet(17, 0, yellow); // outside: ignored
        QCOMPARE(s.box.Point(3, 4), yellow);
        QCOMPARE(s.box.Point(4, 3), mask);
        QCOMPARE(s.box.Point(16, 0), mask);
        QCOMPARE(s.box.Point(17, 0), 0xFFFFFFFFu);
        QCOMPARE(s.box.Point(0, -1), 0xFFFFFFFFu);
        QVERIFY_THROWS_EXCEPTION(RuntimeError, s.box.PSet(6, 6, 0x8000001Fu));
        QCOMPARE(s.box.Point(6, 6), mask);
        // Image() is a snapshot: later drawing does not reach it.
        const PictureRef snap = s.box.Image();
        s.box.PSet(3, 4, blue);
        s.box.Cls();
        QCOMPARE(fromQColor(snap->image().pixel(3, 4)), yellow);
        QCOMPARE(fromQColor(snap->image().pixel(4, 3)), mask);
        QVERIFY(s.box.Image()->handle() != snap->handle());
    }
};

QTEST_MAIN(TestPictureBox)
#include "tst_picturebox.moc"
