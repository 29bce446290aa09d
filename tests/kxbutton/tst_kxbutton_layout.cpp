// kxButton layout and show: positions of picture and caption, room for the caption, the rendered
// look at the generator window's size.
#include "kxbutton_test_support.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>
#include <cmath>

using namespace kxtest;
using forms::VbFalse;
using forms::VbTrue;

namespace {

const forms::PictureRef Picture17 = makePicture(17, 17, Silver, [](QImage& i) {
    for (int x = 3; x < 14; ++x)
        for (int y = 3; y < 14; ++y)
            put(i, x, y, 0x00000080); // dark red square
    for (int d = 0; d < 17; ++d)
        put(i, d, d, 0x00008000); // green diagonal
});

int nearestEven(double x) {
    return static_cast<int>(std::nearbyint(x));
}

// The size the caption takes on a face wide enough for any room.
QSizeF textSize(const QString& caption, const forms::FontRef& font = forms::defaultFont()) {
    TestButton b;
    b.InitNew();
    b.setFont(font);
    b.resize(1000, 25);
    b.setCaption(caption);
    return {b.Label1.Width(), b.Label1.Height()};
}

QRectF rectOf(const forms::Control& c) {
    return {c.Left(), c.Top(), c.Width(), c.Height()};
}

} // namespace

class TestKxButtonLayout : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { pinTimerAndCursor(); }

    void workedExample_data();
    void workedExample();
    void pictureTopFollowsFaceHeight_data();
    void pictureTopFollowsFaceHeight();
    void captionRoom_data();
    void captionRoom();
    void coverPartsFollowTheFaceAndTheFrameStays();
    void captionLetLimitsTheWidthThenLaysOut();
    void showGivesTheDesignCaptionTheInstanceName_data();
    void showGivesTheDesignCaptionTheInstanceName();
    void showGivesADisabledButtonTheDisabledLook();
    void showLeavesTheDisabledFrameOfAnEnabledButton();
    void rendersAtTheGeneratorWindowSize();
};

void TestKxButtonLayout::workedExample_data() {
    QTest::addColumn<int>("faceWidth");
    QTest::addColumn<bool>("withPicture");
    QTest::newRow("113 x 25 with the prepared picture") << 113 << true;
    QTest::newRow("113 x 25 without a picture") << 113 << false;
    QTest::newRow("odd sum: caption left ends in a half pixel") << 114 << true;
    QTest::newRow("even sum") << 115 << true;
    QTest::newRow("odd room without a picture") << 114 << false;
}

void TestKxButtonLayout::workedExample() {
    QFETCH(int, faceWidth);
    QFETCH(bool, withPicture);

    auto b = shownButton(faceWidth, 25);
    if (withPicture)
        b->setPicture(Picture17);
    b->setCaption(QStringLiteral("Проба"));
    const QSizeF text = textSize(QStringLiteral("Проба"));
    const double w = text.width(), h = text.height();

    QCOMPARE(rectOf(b->Picture1), QRectF(0, 0, faceWidth, 25));
    QCOMPARE(b->Image1.Left(), 6.0f);
    QCOMPARE(b->Image1.Top(), 5.0f); // half(25 - 15)
    QCOMPARE(b->m_ImageLeft, 6);
    QCOMPARE(b->m_ImageTop, 5);
    QCOMPARE(b->Image1.Visible(), withPicture);
    QCOMPARE(b->Label1.Width(), float(w));
    QCOMPARE(b->Label1.Top(), float(nearestEven(25 - h) / 2));
    if (withPicture) {
        QCOMPARE(b->Image1.Width(), 17.0f);
        // Centred between the picture's right edge and the face's: (W - w + 17 + 6) / 2.
        QCOMPARE(b->Label1.Left(), float((faceWidth - w + 17 + 6) / 2));
    } else {
        QCOMPARE(b->Label1.Left(), float(nearestEven(faceWidth - w) / 2));
    }
    if (withPicture && (faceWidth - int(w) + 23) % 2 != 0)
        QCOMPARE(b->Label1.Left() - std::floor(b->Label1.Left()), 0.5f);
}

void TestKxButtonLayout::pictureTopFollowsFaceHeight_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("top");
    QTest::newRow("24: half(9)") << 24 << 4;
    QTest::newRow("25: half(10)") << 25 << 5;
    QTest::newRow("14: half(-1) is 0") << 14 << 0;
    QTest::newRow("10: half(-5) is -2") << 10 << -2;
}

void TestKxButtonLayout::pictureTopFollowsFaceHeight() {
    QFETCH(int, height);
    QFETCH(int, top);
    for (bool withPicture : {true, false}) {
        auto b = shownButton(113, height);
        if (withPicture)
            b->setPicture(Picture17);
        QCOMPARE(b->Image1.Top(), float(top));
        QCOMPARE(b->m_ImageTop, top); // recorded also while Image1 is hidden
        QCOMPARE(b->m_ImageLeft, 6);
        QCOMPARE(b->Image1.Visible(), withPicture);
    }
}

void TestKxButtonLayout::captionRoom_data() {
    // The face width is chosen relative to the room the caption needs beside the picture
    // (text width + 17 + 3).
    QTest::addColumn<int>("extra");
    QTest::addColumn<bool>("narrowed");
    QTest::newRow("narrower than the room") << 9 << false;
    QTest::newRow("exactly as wide as the room") << 0 << false;
    QTest::newRow("wider than the room") << -7 << true;
}

void TestKxButtonLayout::captionRoom() {
    QFETCH(int, extra);
    QFETCH(bool, narrowed);
    const QString caption = QStringLiteral("Копировать");
    const QSizeF text = textSize(caption);
    QVERIFY(text.width() == std::floor(text.width())); // whole pixels, so "equal" is exact
    const float faceWidth = float(text.width()) + 20 + extra;

    auto b = shownButton(int(faceWidth), 25);
    b->setPicture(Picture17);
    b->setCaption(caption);
    b->UserControl_Resize();

    const float available = faceWidth - 20;
    QCOMPARE(b->Label1.Width(), narrowed ? available : float(text.width()));
    QCOMPARE(b->Label1.Left(), (faceWidth - b->Label1.Width() + 17 + 6) / 2);
}

void TestKxButtonLayout::coverPartsFollowTheFaceAndTheFrameStays() {
    // A face narrower than the picture and its gap: the room is negative, narrowing fails and
    // the caption keeps the width of its text, and the rest of the layout still runs.
    auto b = shownButton(113, 25);
    b->setPicture(Picture17);
    b->Shape1.Move(3, 4, 5, 6);
    const QSizeF text = textSize(b->Caption());

    b->resize(15, 12);
    QCOMPARE(b->Label1.Width(), float(text.width()));
    QCOMPARE(b->Label1.Left(), float((15 - text.width() + 17 + 6) / 2));
    QCOMPARE(b->Image1.Top(), -1.0f); // half(-3)
    QCOMPARE(b->m_ImageTop, -1);
    for (const forms::Control* cover : std::initializer_list<const forms::Control*>{
             &b->Picture1, &b->Label2, &b->Shape2, &b->DisBorder})
        QCOMPARE(rectOf(*cover), QRectF(0, 0, 15, 12));
    QCOMPARE(rectOf(b->Shape1), QRectF(3, 4, 5, 6)); // the layout never moves the frame
}

void TestKxButtonLayout::captionLetLimitsTheWidthThenLaysOut() {
    auto b = shownButton(60, 25);
    b->setPicture(Picture17);
    b->setCaption(QStringLiteral("Скопировать в буфер обмена"));
    QCOMPARE(b->Label1.Width(), 60.0f - 20);
    QCOMPARE(b->Label1.Left(), (60.0f - 40 + 17 + 6) / 2);

    // Without a picture the whole face is the room.
    auto plain = shownButton(60, 25);
    plain->setCaption(QStringLiteral("Скопировать в буфер обмена"));
    QCOMPARE(plain->Label1.Width(), 60.0f);
    QCOMPARE(plain->Label1.Left(), 0.0f);
}

void TestKxButtonLayout::showGivesTheDesignCaptionTheInstanceName_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shown");
    QTest::newRow("design caption") << "kxButton"
                                    << "cmdPreview";
    QTest::newRow("other letter case") << "KxButton"
                                       << "KxButton";
    QTest::newRow("own caption") << "Проба"
                                 << "Проба";
}

void TestKxButtonLayout::showGivesTheDesignCaptionTheInstanceName() {
    QFETCH(QString, caption);
    QFETCH(QString, shown);
    TestButton b;
    b.InitNew();
    b.setDisplayName(QStringLiteral("cmdPreview"));
    b.Label1.setCaption(caption);
    b.resize(113, 25);
    b.show();
    QCOMPARE(b.Caption(), shown);
    QCOMPARE(b.Label2.Caption(), QString());
    QCOMPARE(rectOf(b.Label2), QRectF(0, 0, 113, 25));
}

void TestKxButtonLayout::showGivesADisabledButtonTheDisabledLook() {
    TestButton b;
    b.InitNew();
    b.Picture1.setEnabled(false); // as a stored button that was saved disabled
    b.resize(113, 25);
    b.show();
    QVERIFY(!b.Image1.isEnabled());
    QVERIFY(!b.Label1.isEnabled());
    QVERIFY(!b.Label2.isEnabled());
    QVERIFY(b.DisBorder.Visible());
    QCOMPARE(rectOf(b.DisBorder), QRectF(0, 0, 113, 25));
}

void TestKxButtonLayout::showLeavesTheDisabledFrameOfAnEnabledButton() {
    TestButton b;
    b.InitNew();
    b.DisBorder.setVisible(true);
    b.resize(113, 25);
    b.show();
    QVERIFY(b.DisBorder.Visible());
}

void TestKxButtonLayout::rendersAtTheGeneratorWindowSize() {
    // 256 x 28 pixels (3840 x 420 twips), a 17 x 17 picture, a Cyrillic caption in 8.25 points.
    const QString caption = QStringLiteral("Копировать");
    const forms::FontRef font = forms::makeFont(QStringLiteral("MS Sans Serif"), 8.25f);
    const forms::OleColor border = 0x80000008;
    auto b = shownButton(256, 28);
    b->setBorderColor(border);
    b->setFont(font);
    b->setMaskColor(Silver);
    b->setPicture(Picture17);
    b->setCaption(caption);
    QTRY_VERIFY(b->isVisible());
    const QImage img = b->grab().toImage();
    QCOMPARE(img.size(), QSize(256, 28));

    const QRect image = b->Image1.geometry();
    const QRect label = b->Label1.geometry();
    QCOMPARE(image, QRect(6, 6, 17, 17)); // half(whole(28 - 15)) = 6
    QVERIFY(QRect(1, 1, 254, 26).contains(label));
    QVERIFY(!label.intersects(image));

    // The border on every edge pixel.
    for (int x = 0; x < 256; ++x) {
        QCOMPARE(oleOf(img.pixel(x, 0)), forms::fromQColor(forms::toQColor(border)));
        QCOMPARE(oleOf(img.pixel(x, 27)), forms::fromQColor(forms::toQColor(border)));
    }
    for (int y = 0; y < 28; ++y) {
        QCOMPARE(oleOf(img.pixel(0, y)), forms::fromQColor(forms::toQColor(border)));
        QCOMPARE(oleOf(img.pixel(255, y)), forms::fromQColor(forms::toQColor(border)));
    }
    // The prepared picture, pixel for pixel, where the layout put it.
    for (int x = 0; x < 17; ++x)
        for (int y = 0; y < 17; ++y)
            QCOMPARE(oleOf(img.pixel(6 + x, 6 + y)), pixel(b->Picture(), x, y));
    QCOMPARE(oleOf(img.pixel(6 + 5, 6 + 4)), 0x00000080u);
    QCOMPARE(oleOf(img.pixel(6, 6)), 0x00008000u);
    QCOMPARE(oleOf(img.pixel(6 + 16, 6)), Resting); // the silver mask became the face
    // Everything else inside the border is face, except the caption's text.
    for (int x = 1; x < 255; ++x)
        for (int y = 1; y < 27; ++y)
            if (!image.contains(x, y) && !label.contains(x, y))
                QVERIFY2(oleOf(img.pixel(x, y)) == Resting,
                         qPrintable(QStringLiteral("face pixel %1,%2").arg(x).arg(y)));

    // The caption: its ink spans as many columns as the same text drawn unclipped.
    const QFont qfont = font->toQFont();
    QCOMPARE(label.width(), int(std::ceil(QFontMetricsF(qfont).horizontalAdvance(caption))));
    const QFontMetrics resolved{QFont(QFontInfo(qfont).family())};
    for (QChar ch : caption)
        QVERIFY2(resolved.inFont(ch), "the face drawn has the caption's Cyrillic letters");
    QCOMPARE(b->Label1.Top(), float(nearestEven(28 - b->Label1.Height()) / 2));
    const auto inkColumns = [](const QImage& im, const QRect& r) {
        int first = -1, last = -1;
        for (int x = r.left(); x <= r.right(); ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                if (oleOf(im.pixel(x, y)) != Resting) {
                    if (first < 0)
                        first = x;
                    last = x;
                    break;
                }
        return std::pair{first, last};
    };
    QImage alone(label.width() + 40, label.height() + 20, QImage::Format_RGB32);
    alone.fill(QColor::fromRgb(rgbOf(Resting)));
    {
        QPainter p(&alone);
        p.setFont(qfont);
        p.setPen(Qt::black);
        p.drawText(QRect(20, 10, label.width() + 20, label.height()), Qt::AlignLeft | Qt::AlignTop,
                   caption);
    }
    const auto [refFirst, refLast] = inkColumns(alone, alone.rect());
    const auto [first, last] = inkColumns(img, label);
    QVERIFY(first >= 0);
    QCOMPARE(last - first, refLast - refFirst);
    QCOMPARE(first - label.left(), refFirst - 20);
    // The text is drawn in the text colour (button text); antialiasing may leave its strokes a
    // shade off the exact colour.
    const QColor fore = forms::toQColor(b->ForeColor());
    int closest = 255;
    for (int x = label.left(); x <= label.right(); ++x)
        for (int y = label.top(); y <= label.bottom(); ++y) {
            const QColor c(img.pixel(x, y));
            closest = std::min(closest, std::max({std::abs(c.red() - fore.red()),
                                                  std::abs(c.green() - fore.green()),
                                                  std::abs(c.blue() - fore.blue())}));
        }
    QVERIFY2(closest <= 16, qPrintable(QString::number(closest)));
}

QTEST_MAIN(TestKxButtonLayout)
#include "tst_kxbutton_layout.moc"
