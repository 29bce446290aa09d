#include "forms/msgbox.h"

#include "forms/platform.h"
#include "forms/qt/convert.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QTextLayout>
#include <QWindow>
#include <QtMath>

// The real message box, a QMessageBox made to behave as the platform's box does.
namespace forms {

namespace {

// The window manager's frame around a top-level window, read from one it already decorates;
// before there is one, a title bar and thin borders are assumed.
QMargins frameAllowance() {
    for (const QWindow* window : QGuiApplication::topLevelWindows())
        if (window->isVisible() && !window->frameMargins().isNull())
            return window->frameMargins();
    return {8, 32, 8, 8};
}

struct FittedText {
    QString text;  // lines joined by LF
    int width = 0; // of the widest line, in pixels
};

// Breaks the text into lines of at most `width` pixels where a label breaks it (and inside a
// word longer than a line) and keeps the first `maxLines` of them; when something is left out,
// the last line kept ends with an ellipsis, as the platform's box cuts a text too long for the
// screen. Only what can show is laid out, so the cost does not grow with the length of the text.
FittedText fitText(const QString& text, const QFont& font, int width, int maxLines) {
    const QFontMetricsF metrics(font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    QStringList lines;
    bool cut = false;
    for (qsizetype start = 0; start <= text.size() && !cut;) {
        if (lines.size() == maxLines) {
            cut = start < text.size(); // an empty last line is no loss
            break;
        }
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        // A visible character is at least a pixel wide: more than this cannot show.
        qsizetype take = qMin(end - start, qsizetype(maxLines - lines.size()) * width);
        cut = take < end - start;
        if (cut && take > 0 && text.at(start + take - 1).isHighSurrogate())
            --take;
        const QString paragraph = text.mid(start, take);
        QTextLayout layout(paragraph, font);
        layout.setTextOption(option);
        layout.beginLayout();
        // An empty paragraph makes one empty line too.
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            if (lines.size() == maxLines) {
                cut = true;
                break;
            }
            line.setLineWidth(width);
            // Spaces where a line breaks are not seen, but would count in the label's width.
            lines << paragraph.mid(line.textStart(), line.textLength());
            while (!lines.last().isEmpty() && lines.last().back().isSpace())
                lines.last().chop(1);
        }
        layout.endLayout();
        start = end + 1;
    }
    if (cut && !lines.isEmpty()) {
        const QString last = lines.last() + QChar(0x2026);
        lines.last() = metrics.horizontalAdvance(last) <= width
                           ? last
                           : metrics.elidedText(last, Qt::ElideRight, width);
    }
    FittedText fitted{lines.join(QLatin1Char('\n')), 0};
    for (const QString& line : std::as_const(lines))
        fitted.width = qMax(fitted.width, qCeil(metrics.horizontalAdvance(line)));
    return fitted;
}

// Cuts the box's text so that the box and its frame stay inside the screen's available area and
// its buttons stay reachable; Qt would make it as tall as the whole text (and spend seconds
// laying out a text of millions of characters).
void fitToScreen(QMessageBox* box, const QString& text, QGridLayout* grid, const QScreen* screen,
                 const QRect& room) {
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (!label || !grid) {
        box->setText(text);
        return;
    }

    // What the box needs besides the text, measured with a one-line text: a little more than
    // it needs beside a long one when the icon is taller than a line.
    box->setText(QStringLiteral("x"));
    grid->activate();
    const QMargins labelMargins = label->contentsMargins();
    const int labelExtra = labelMargins.left() + labelMargins.right() + 2 * label->margin();
    const int besideText = label->x() + grid->contentsMargins().right() + labelExtra;
    const int aboveAndBelow = grid->totalMinimumSize().height() - label->minimumSizeHint().height();

    // Lines wrap where Qt wraps a long text: at half the screen, at most 500 pixels, the box's
    // width; the label is kept wide enough for the widest line, so Qt breaks none of them again.
    const int boxWidth = qMin(qMin(room.width(), screen->availableGeometry().width() / 2), 500);
    const QFontMetricsF metrics(label->font());
    const int wrapWidth = qMax(boxWidth - besideText, qCeil(metrics.averageCharWidth() * 4));
    const int maxLines = qMax(1, (room.height() - aboveAndBelow) / qCeil(metrics.lineSpacing()));
    const FittedText fitted = fitText(text, label->font(), wrapWidth, maxLines);
    label->setMinimumWidth(fitted.width + labelExtra);
    box->setText(fitted.text);
}

} // namespace

int platform::showMsgBox(const MsgBoxRequest& request) {
    // Owned by the active window, as the platform's box is; that window may go away while the
    // box runs its own event loop, so the box is watched rather than kept on the stack.
    QPointer<QMessageBox> box = new QMessageBox(QApplication::activeWindow());
    box->setWindowModality(Qt::ApplicationModal);
    if (request.systemModal)
        box->setWindowFlag(Qt::WindowStaysOnTopHint);
    if (request.rtlReading)
        box->setLayoutDirection(Qt::RightToLeft);
    const QString title = QString::fromStdU16String(request.title);
    box->setWindowTitle(title);
    box->setTextFormat(Qt::PlainText);
    constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                           QMessageBox::Question, QMessageBox::Warning,
                                           QMessageBox::Information};
    box->setIcon(icons[static_cast<int>(request.icon)]);

    // One role for all buttons keeps them in the order given and stops Qt from choosing an
    // escape button of its own (it would take a No or Abort button); the escape button, when
    // there is one, is set explicitly.
    QList<QPushButton*> buttons;
    for (const QString& caption : qt::toQStringList(request.buttons))
        buttons << box->addButton(caption, QMessageBox::ActionRole);
    // The help button asks for help and leaves the box open: it must not close it.
    if (QPushButton* help = buttons.value(request.helpIndex))
        QObject::disconnect(help, nullptr, help->parent(), nullptr); // the box's button bar
    box->setDefaultButton(buttons.value(request.defaultIndex));
    if (request.escapeIndex >= 0)
        box->setEscapeButton(buttons.value(request.escapeIndex));
    // Like the platform's box, grow wide enough for the whole title to show in the title bar
    // (whose bold face the window manager chooses: leave it some room), but no wider than the
    // screen.
    const QScreen* screen = box->parentWidget() ? box->parentWidget()->screen() : box->screen();
    const QRect room = screen->availableGeometry() - frameAllowance();
    auto* grid = qobject_cast<QGridLayout*>(box->layout());
    if (grid) {
        const QMargins margins = grid->contentsMargins();
        const int widest = room.width() - margins.left() - margins.right();
        const int titleWidth = QFontMetrics(box->font()).horizontalAdvance(title) * 4 / 3;
        grid->addItem(new QSpacerItem(qMin(qMin(titleWidth + 140, 800), widest), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    fitToScreen(box, QString::fromStdU16String(request.shownText()), grid, screen, room);
    if (request.rightAligned)
        if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // On X11 Qt gives a window with an empty title the application's name; a blank title keeps
    // the title bar empty, as it is when code passes "", while the box's own title (the one
    // screen readers read) stays empty.
    if (title.isEmpty()) {
        box->winId();
        box->windowHandle()->setTitle(QStringLiteral(" "));
    }

    box->exec();

    int answer = request.escapeIndex >= 0 ? request.results[request.escapeIndex]
                                          : request.results[request.defaultIndex];
    if (box) {
        const int clicked = buttons.indexOf(box->clickedButton());
        if (clicked >= 0)
            answer = request.results[clicked];
        delete box;
    }
    return answer;
}

} // namespace forms
