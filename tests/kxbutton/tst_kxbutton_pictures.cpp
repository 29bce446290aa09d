// kxButton picture variants: normal (mask replaced), lit (shadow), down and pressed, checked pixel
// by pixel against what each variant is meant to show.
#include "kxbutton_test_support.h"

#include <QSignalSpy>
#include <QtTest>

using namespace kxtest;

namespace {

constexpr forms::OleColor Magenta = 0x00FF00FF;
constexpr forms::OleColor Red = 0x000000FF;
constexpr forms::OleColor Blue = 0x00FF0000;

// What the picture box shows at (x, y) of its 17 x 17 area: the picture over the mask colour.
forms::OleColor onMask(const QImage& src, forms::OleColor mask, int x, int y) {
    if (x < src.width() && y < src.height() && qAlpha(src.pixel(x, y)) == 255)
        return oleOf(src.pixel(x, y));
    return forms::fromQColor(forms::toQColor(mask));
}

struct Variants {
    QImage normal, lit, down, pressed;
};

// The variants as they are meant to look, built from their description rather than the scans.
Variants expectedVariants(const QImage& src, forms::OleColor mask) {
    const auto fill = [](int w, int h, forms::OleColor c) {
        QImage i(w, h, QImage::Format_RGB32);
        i.fill(QColor::fromRgb(rgbOf(c)));
        return i;
    };
    Variants v{fill(17, 17, Resting), fill(19, 19, Lit), fill(22, 19, Lit), fill(19, 19, Pressed)};
    for (int x = 0; x < 17; ++x)
        for (int y = 0; y < 17; ++y) {
            const forms::OleColor s = onMask(src, mask, x, y);
            v.normal.setPixel(x, y, rgbOf(s == mask ? Resting : s));
        }
    const auto opaque = [&](int x, int y) { return oleOf(v.normal.pixel(x, y)) != Resting; };
    for (int x = 0; x < 17; ++x)
        for (int y = 0; y < 17; ++y)
            if (opaque(x, y))
                v.lit.setPixel(x + 2, y + 2, rgbOf(Grey));
    for (int x = 0; x < 17; ++x)
        for (int y = 0; y < 17; ++y)
            if (opaque(x, y))
                for (QImage* i : {&v.lit, &v.down, &v.pressed})
                    i->setPixel(x, y, v.normal.pixel(x, y));
    return v;
}

void compareImages(const QImage& actual, const QImage& expected, const char* variant) {
    QVERIFY2(actual.size() == expected.size(), variant);
    for (int x = 0; x < expected.width(); ++x)
        for (int y = 0; y < expected.height(); ++y)
            QVERIFY2(oleOf(actual.pixel(x, y)) == oleOf(expected.pixel(x, y)),
                     qPrintable(QStringLiteral("%1 variant at %2,%3: %4 instead of %5")
                                    .arg(QLatin1String(variant))
                                    .arg(x)
                                    .arg(y)
                                    .arg(oleOf(actual.pixel(x, y)), 6, 16, QLatin1Char('0'))
                                    .arg(oleOf(expected.pixel(x, y)), 6, 16, QLatin1Char('0'))));
}

QImage image(int w, int h, forms::OleColor bg, const std::function<void(QImage&)>& paint) {
    return makePicture(w, h, bg, paint)->image();
}

} // namespace

class TestKxButtonPictures : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pinTimerAndCursor(); }

    void variants_data();
    void variants();
    void anchorsOfTheVariants();
    void aLaterPictureLeavesNoPixelsOfTheEarlierOne();
    void anEmptyPictureMeansNoPicture_data();
    void anEmptyPictureMeansNoPicture();
};

void TestKxButtonPictures::variants_data() {
    QTest::addColumn<QImage>("source");
    QTest::addColumn<forms::OleColor>("mask");

    QTest::newRow("16 x 16 on the mask colour") << image(16, 16, Magenta, [](QImage& i) {
        put(i, 3, 4, Red);
        put(i, 15, 15, Blue);
        put(i, 10, 10, Resting); // counts as transparent
        put(i, 7, 1, Grey);
    }) << Magenta;
    QTest::newRow("larger than 17 x 17 is cropped") << image(24, 24, Silver, [](QImage& i) {
        for (int x = 0; x < 24; ++x)
            for (int y = 0; y < 24; ++y)
                if ((x + y) % 3 == 0)
                    put(i, x, y, forms::rgbColor(10 * x, 10 * y, 128));
    }) << Silver;
    QTest::newRow("icon with transparent areas") << image(17, 17, Blue, [](QImage& i) {
        for (int x = 0; x < 17; ++x)
            for (int y = 0; y < 8; ++y)
                i.setPixel(x, y, qRgba(0, 0, 0, 0));
    }) << Magenta;
    QTest::newRow("system-colour mask matches nothing")
        << image(16, 16, Silver, [](QImage& i) { put(i, 5, 5, Red); })
        << forms::OleColor(0x8000000F);
    QTest::newRow("mask equal to the resting face colour")
        << image(12, 12, Resting, [](QImage& i) { put(i, 2, 9, Red); }) << Resting;
}

void TestKxButtonPictures::variants() {
    QFETCH(QImage, source);
    QFETCH(forms::OleColor, mask);

    auto b = shownButton(113, 25);
    b->setMaskColor(mask);
    QSignalSpy spy(b.get(), &forms::UserControl::propertyChanged);
    const forms::PictureRef picture = forms::makePicture(source);
    b->setPicture(picture);

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Picture"));
    const Variants expected = expectedVariants(source, mask);
    compareImages(b->Picture()->image(), expected.normal, "normal");
    compareImages(b->Picture3.Image()->image(), expected.lit, "lit");
    compareImages(b->Picture4.Image()->image(), expected.down, "down");
    compareImages(b->Picture5.Image()->image(), expected.pressed, "pressed");
    QCOMPARE(b->Picture2.Picture().get(), picture.get()); // the picture as set stays unprocessed
    QCOMPARE(b->Image1.Width(), 17.0f);
    QVERIFY(b->Image1.Visible());
}

void TestKxButtonPictures::anchorsOfTheVariants() {
    // The same first picture as above, with the few pixels that show each rule by itself.
    auto b = shownButton(113, 25);
    b->setMaskColor(Magenta);
    b->setPicture(makePicture(16, 16, Magenta, [](QImage& i) {
        put(i, 3, 4, Red);
        put(i, 10, 10, Resting);
    }));
    const QImage normal = b->Picture()->image(), lit = b->Picture3.Image()->image(),
                 down = b->Picture4.Image()->image(), pressed = b->Picture5.Image()->image();

    QCOMPARE(oleOf(normal.pixel(0, 0)), Resting);   // mask replaced
    QCOMPARE(oleOf(normal.pixel(16, 16)), Resting); // beyond the picture
    QCOMPARE(oleOf(normal.pixel(3, 4)), Red);
    QCOMPARE(oleOf(lit.pixel(3, 4)), Red);
    QCOMPARE(oleOf(lit.pixel(5, 6)), Grey); // shadow two right, two down
    QCOMPARE(oleOf(lit.pixel(4, 5)), Lit);
    QCOMPARE(oleOf(lit.pixel(10, 10)), Lit); // a resting-coloured pixel is transparent...
    QCOMPARE(oleOf(lit.pixel(12, 12)), Lit); // ...and casts no shadow
    QCOMPARE(oleOf(down.pixel(3, 4)), Red);
    QCOMPARE(oleOf(down.pixel(5, 6)), Lit); // no shadow
    QCOMPARE(oleOf(down.pixel(21, 18)), Lit);
    QCOMPARE(oleOf(pressed.pixel(3, 4)), Red);
    QCOMPARE(oleOf(pressed.pixel(5, 6)), Pressed);
}

void TestKxButtonPictures::aLaterPictureLeavesNoPixelsOfTheEarlierOne() {
    auto b = shownButton(113, 25);
    b->setMaskColor(Magenta);
    b->setPicture(makePicture(17, 17, Blue));
    const QImage second = image(5, 5, Magenta, [](QImage& i) { put(i, 2, 2, Red); });
    b->setPicture(forms::makePicture(second));

    const Variants expected = expectedVariants(second, Magenta);
    compareImages(b->Picture()->image(), expected.normal, "normal");
    compareImages(b->Picture3.Image()->image(), expected.lit, "lit");
    compareImages(b->Picture4.Image()->image(), expected.down, "down");
    compareImages(b->Picture5.Image()->image(), expected.pressed, "pressed");
}

void TestKxButtonPictures::anEmptyPictureMeansNoPicture_data() {
    QTest::addColumn<bool>("noObject");
    QTest::newRow("picture without an image") << false;
    QTest::newRow("no object") << true;
}

void TestKxButtonPictures::anEmptyPictureMeansNoPicture() {
    QFETCH(bool, noObject);
    auto b = shownButton(113, 25);
    b->setPicture(makePicture(17, 17, Blue));
    b->setCaption(QStringLiteral("Проба"));
    QSignalSpy spy(b.get(), &forms::UserControl::propertyChanged);

    b->setPicture(noObject ? forms::PictureRef() : std::make_shared<forms::StdPicture>());

    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("Picture"));
    QVERIFY(!forms::hasImage(b->Picture()));
    QVERIFY(!forms::hasImage(b->Image1.Picture()));
    QVERIFY(!b->Image1.Visible());
    // Laid out as having no picture: the caption is centred on the whole face.
    QCOMPARE(b->Label1.Left(), float(TestButton::half(TestButton::whole(113 - b->Label1.Width()))));
    // The up look of a switch shows the picture as set, which is now empty too.
    b->setToggle(forms::VbTrue);
    b->setToggle(forms::VbFalse);
    QVERIFY(!forms::hasImage(b->Picture()));
}

QTEST_MAIN(TestKxButtonPictures)
#include "tst_kxbutton_pictures.moc"
