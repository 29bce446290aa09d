// Draws the program's pictures and writes them as 24-bit PNG files.
//
//   drawart <app-resources-dir> <about-resources-dir>
//
// The PNGs are committed; this program exists so that they can be redrawn and changed. It is
// not run by the build. Everything is drawn from geometry (no fonts), so the output is the same
// on every machine.

#include <QColor>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QTextStream>
#include <cstdio>
#include <functional>

namespace {

// The flat grey the four icons and the About picture sit on (the usual button face).
const QColor IconBack(212, 208, 200);
// The light grey of the button pictures; the button's face is the same grey.
const QColor ButtonPicBack(224, 224, 224);

const QColor DarkBlue(16, 46, 140);
const QColor PaleBlue(206, 226, 250);
const QColor BubbleEdge(70, 104, 170);

using Painter = std::function<void(QPainter&)>;

QImage draw(int w, int h, const QColor& back, const Painter& paint) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(back);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    paint(p);
    p.end();
    return img;
}

// The button control treats RGB 192,192,192 as its default mask colour and derives its lit
// picture's shadow from RGB 128,128,128; no pixel of a button picture may equal either, or it
// would turn transparent or read as shadow. Antialiased edges of coloured shapes never hit a
// pure grey, but this keeps the rule true whatever is drawn.
void keepClearOfMaskGreys(QImage& img) {
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y) & 0xFFFFFF;
            if (c == 0xC0C0C0 || c == 0x808080)
                img.setPixel(x, y, qRgb(qRed(c), qGreen(c), qBlue(c) + 1));
        }
    }
}

bool save(const QImage& img, const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name);
    // RGB888 makes the PNG writer store three channels without alpha.
    if (!img.convertToFormat(QImage::Format_RGB888).save(path, "PNG")) {
        std::fprintf(stderr, "drawart: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), img.width(), img.height());
    return true;
}

// A rounded speech bubble with its tail at the lower left, for the question and information
// icons.
QPainterPath bubble(qreal w) {
    QPainterPath body;
    body.addEllipse(QRectF(1.5, 1.0, w - 3.0, 26.0));
    QPainterPath tail;
    tail.moveTo(8.0, 20.0);
    tail.lineTo(4.5, 33.0);
    tail.lineTo(18.0, 25.0);
    tail.closeSubpath();
    return body.united(tail);
}

void stopIcon(QPainter& p) {
    const QPointF c(19.5, 17.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 145, 138)); // soft shadow
    p.drawEllipse(c + QPointF(1.2, 1.2), 15.5, 15.5);
    p.setBrush(QColor(214, 32, 28));
    p.setPen(QPen(QColor(128, 12, 10), 1.2));
    p.drawEllipse(c, 15.5, 15.5);
    p.setPen(QPen(Qt::white, 4.0, Qt::SolidLine, Qt::RoundCap));
    const qreal d = 6.5;
    p.drawLine(c + QPointF(-d, -d), c + QPointF(d, d));
    p.drawLine(c + QPointF(d, -d), c + QPointF(-d, d));
}

void questionIcon(QPainter& p) {
    p.setPen(QPen(BubbleEdge, 1.2));
    p.setBrush(PaleBlue);
    p.drawPath(bubble(41));
    // The hook of the question mark: three quarters of a circle, then down to the stem.
    QPainterPath hook;
    const QRectF ring(15.5, 5.0, 10.0, 9.0);
    hook.arcMoveTo(ring, 160.0);
    hook.arcTo(ring, 160.0, -230.0);
    hook.quadTo(QPointF(20.5, 15.0), QPointF(20.5, 18.0));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(DarkBlue, 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(hook);
    p.setPen(Qt::NoPen);
    p.setBrush(DarkBlue);
    p.drawEllipse(QPointF(20.5, 22.3), 1.8, 1.8);
}

void exclamationIcon(QPainter& p) {
    const QPolygonF triangle({QPointF(19.0, 1.5), QPointF(36.5, 33.0), QPointF(1.5, 33.0)});
    p.setPen(QPen(QColor(150, 110, 0), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(255, 214, 32));
    p.drawPolygon(triangle);
    // A stem that narrows towards its foot, and the point below it.
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF(
        {QPointF(17.0, 11.0), QPointF(21.0, 11.0), QPointF(20.0, 24.0), QPointF(18.0, 24.0)}));
    p.drawEllipse(QPointF(19.0, 28.3), 1.9, 1.9);
}

void informationIcon(QPainter& p) {
    p.setPen(QPen(BubbleEdge, 1.2));
    p.setBrush(PaleBlue);
    p.drawPath(bubble(38));
    p.setPen(Qt::NoPen);
    p.setBrush(DarkBlue);
    p.drawEllipse(QPointF(19.0, 6.8), 2.0, 2.0);
    // The stem with a small serif at its top left and a foot.
    p.drawRect(QRectF(17.5, 10.5, 3.0, 11.0));
    p.drawRect(QRectF(15.5, 10.5, 3.0, 2.0));
    p.drawRect(QRectF(15.5, 20.0, 7.0, 2.0));
}

void arrowPicture(QPainter& p) {
    const QPolygonF arrow({QPointF(1.5, 6.5), QPointF(8.5, 6.5), QPointF(8.5, 2.5),
                           QPointF(15.5, 8.5), QPointF(8.5, 14.5), QPointF(8.5, 10.5),
                           QPointF(1.5, 10.5)});
    p.setPen(QPen(QColor(18, 50, 150), 1.0, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(QColor(44, 110, 222));
    p.drawPolygon(arrow);
}

void checkPicture(QPainter& p) {
    QPainterPath tick;
    tick.moveTo(2.5, 9.0);
    tick.lineTo(6.5, 13.0);
    tick.lineTo(14.5, 3.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(22, 140, 40), 3.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(tick);
}

void crossPicture(QPainter& p) {
    p.setPen(QPen(QColor(208, 30, 30), 3.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.0, 4.0), QPointF(13.0, 13.0));
    p.drawLine(QPointF(13.0, 4.0), QPointF(4.0, 13.0));
}

// The main window's icon: a thick white cross on a black square, nothing transparent.
void windowIcon(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(24, 8, 16, 48), Qt::white);
    p.fillRect(QRect(8, 24, 48, 16), Qt::white);
}

// A miniature message box: a window with a blue title bar, a round icon, text lines and a
// button.
void aboutPicture(QPainter& p) {
    const QRectF frame(3.5, 3.5, 34.0, 28.0);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 145, 138));
    p.drawRect(frame.translated(1.5, 1.5));
    p.setPen(QPen(QColor(64, 64, 64), 1.0));
    p.setBrush(QColor(236, 233, 226));
    p.drawRect(frame);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(24, 60, 160));
    p.drawRect(QRectF(4.0, 4.0, 33.0, 5.0));
    p.setBrush(QColor(44, 110, 222));
    p.drawEllipse(QPointF(11.0, 16.5), 4.3, 4.3);
    p.setBrush(Qt::white);
    p.drawRect(QRectF(10.2, 15.3, 1.6, 4.0));
    p.drawRect(QRectF(10.2, 13.0, 1.6, 1.5));
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(17.0, 13.0, 16.0, 1.5));
    p.drawRect(QRectF(17.0, 17.0, 12.0, 1.5));
    p.setPen(QPen(QColor(64, 64, 64), 1.0));
    p.setBrush(QColor(212, 208, 200));
    p.drawRect(QRectF(14.5, 23.5, 12.0, 5.0));
}

// The About window's own icon: the same cross as the main window's, on dark blue.
void aboutIcon(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRect(24, 8, 16, 48), Qt::white);
    p.fillRect(QRect(8, 24, 48, 16), Qt::white);
    p.fillRect(QRect(28, 28, 8, 8), QColor(24, 60, 160));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: drawart <app-resources-dir> <about-resources-dir>\n");
        return 2;
    }
    const QString appDir = QString::fromLocal8Bit(argv[1]);
    const QString aboutDir = QString::fromLocal8Bit(argv[2]);
    if (!QDir().mkpath(appDir) || !QDir().mkpath(aboutDir)) {
        std::fprintf(stderr, "drawart: cannot create the output folders\n");
        return 1;
    }

    struct Job {
        const QString* dir;
        const char* name;
        int w, h;
        QColor back;
        Painter paint;
        bool buttonPicture;
    };
    const Job jobs[] = {
        {&appDir, "stop.png", 39, 35, IconBack, stopIcon, false},
        {&appDir, "question.png", 41, 35, IconBack, questionIcon, false},
        {&appDir, "exclamation.png", 38, 35, IconBack, exclamationIcon, false},
        {&appDir, "information.png", 38, 35, IconBack, informationIcon, false},
        {&appDir, "cmdPreview.png", 17, 17, ButtonPicBack, arrowPicture, true},
        {&appDir, "cmdPutToClip.png", 17, 17, ButtonPicBack, checkPicture, true},
        {&appDir, "cmdExit.png", 17, 17, ButtonPicBack, crossPicture, true},
        {&appDir, "windowicon.png", 64, 64, Qt::black, windowIcon, false},
        {&aboutDir, "aboutpicture.png", 41, 35, IconBack, aboutPicture, false},
        {&aboutDir, "abouticon.png", 64, 64, Qt::black, aboutIcon, false},
    };
    bool ok = true;
    for (const Job& job : jobs) {
        QImage img = draw(job.w, job.h, job.back, job.paint);
        if (job.buttonPicture)
            keepClearOfMaskGreys(img);
        ok = save(img, *job.dir, QString::fromLatin1(job.name)) && ok;
    }
    return ok ? 0 : 1;
}
