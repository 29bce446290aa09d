#include "forms/msgbox.h"

#include "forms/error.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QTextLayout>
#include <QWindow>
#include <QtMath>
#include <array>

namespace forms {

namespace {

MsgBoxPresenter& presenter() {
    static MsgBoxPresenter p;
    return p;
}

struct ButtonSpec {
    const char* caption; // UTF-8
    int result;
};

// The six button sets in the order the style value numbers them; Cancel is always last.
struct ButtonSetSpec {
    std::array<ButtonSpec, 3> buttons;
    int count;
    int escapeIndex;
};

const ButtonSetSpec kButtonSets[] = {
    {{{{"OK", vbOK}}}, 1, 0},
    {{{{"OK", vbOK}, {"Отмена", vbCancel}}}, 2, 1},
    {{{{"Прервать", vbAbort}, {"Повтор", vbRetry}, {"Пропустить", vbIgnore}}}, 3, -1},
    {{{{"Да", vbYes}, {"Нет", vbNo}, {"Отмена", vbCancel}}}, 3, 2},
    {{{{"Да", vbYes}, {"Нет", vbNo}}}, 2, -1},
    {{{{"Повтор", vbRetry}, {"Отмена", vbCancel}}}, 2, 1},
};

constexpr int kButtonMask = 0xF;
constexpr int kIconMask = 0xF0;
constexpr int kDefaultMask = 0xF00;
constexpr int kKnownBits = kButtonMask | kIconMask | kDefaultMask;

[[noreturn]] void invalidStyle(int style) {
    throw RuntimeError(
        QStringLiteral("Invalid procedure call or argument: message box style %1").arg(style));
}

QMessageBox::Icon iconOf(int iconBits, int style) {
    switch (iconBits) {
    case 0:
        return QMessageBox::NoIcon;
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    }
    invalidStyle(style);
}

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

int showRealBox(const MsgBoxRequest& request) {
    // Owned by the active window, as the platform's box is; that window may go away while the
    // box runs its own event loop, so the box is watched rather than kept on the stack.
    QPointer<QMessageBox> box = new QMessageBox(QApplication::activeWindow());
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowTitle(request.title);
    box->setTextFormat(Qt::PlainText);
    box->setIcon(request.icon);

    // One role for all buttons keeps them in the order given and stops Qt from choosing an
    // escape button of its own (it would take a No or Abort button); the escape button, when
    // there is one, is set explicitly.
    QList<QPushButton*> buttons;
    for (const QString& caption : request.buttons)
        buttons << box->addButton(caption, QMessageBox::ActionRole);
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
        const int titleWidth = QFontMetrics(box->font()).horizontalAdvance(request.title) * 4 / 3;
        grid->addItem(new QSpacerItem(qMin(qMin(titleWidth + 140, 800), widest), 0,
                                      QSizePolicy::Minimum, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
    fitToScreen(box, request.shownText(), grid, screen, room);

    // On X11 Qt gives a window with an empty title the application's name; a blank title keeps
    // the title bar empty, as it is when code passes "", while the box's own title (the one
    // screen readers read) stays empty.
    if (request.title.isEmpty()) {
        box->winId();
        box->windowHandle()->setTitle(QStringLiteral(" "));
    }

    box->exec();

    int answer = request.escapeIndex >= 0 ? request.results.value(request.escapeIndex)
                                          : request.results.value(request.defaultIndex);
    if (box) {
        const int clicked = buttons.indexOf(box->clickedButton());
        if (clicked >= 0)
            answer = request.results.value(clicked);
        delete box;
    }
    return answer;
}

} // namespace

QString MsgBoxRequest::shownText() const {
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

MsgBoxRequest describeMsgBox(const QString& prompt, int style, const QString& title) {
    if (style < 0 || (style & ~kKnownBits) != 0)
        invalidStyle(style);
    const int set = style & kButtonMask;
    if (set >= static_cast<int>(std::size(kButtonSets)))
        invalidStyle(style);
    const int defaultBits = style & kDefaultMask;
    if (defaultBits > 768)
        invalidStyle(style);

    MsgBoxRequest request;
    request.prompt = prompt;
    request.style = style;
    request.title = title;
    request.icon = iconOf(style & kIconMask, style);
    const ButtonSetSpec& chosen = kButtonSets[set];
    for (int i = 0; i < chosen.count; ++i) {
        request.buttons << QString::fromUtf8(chosen.buttons[i].caption);
        request.results << chosen.buttons[i].result;
    }
    // A default beyond the last button falls back to the first, as the platform does.
    const int wanted = defaultBits / 256;
    request.defaultIndex = wanted < chosen.count ? wanted : 0;
    request.escapeIndex = chosen.escapeIndex;
    return request;
}

int MsgBox(const QString& prompt, int style, const QString& title) {
    const MsgBoxRequest request = describeMsgBox(prompt, style, title);
    if (presenter())
        return presenter()(request);
    return showRealBox(request);
}

void setMsgBoxPresenter(MsgBoxPresenter p) {
    presenter() = std::move(p);
}

} // namespace forms
