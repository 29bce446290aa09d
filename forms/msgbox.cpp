#include "forms/msgbox.h"

#include "forms/error.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QPointer>
#include <QPushButton>
#include <QSpacerItem>
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

int showRealBox(const MsgBoxRequest& request) {
    // Owned by the active window, as the platform's box is; that window may go away while the
    // box runs its own event loop, so the box is watched rather than kept on the stack.
    QPointer<QMessageBox> box = new QMessageBox(QApplication::activeWindow());
    box->setWindowModality(Qt::ApplicationModal);
    box->setWindowTitle(request.title);
    box->setTextFormat(Qt::PlainText);
    box->setText(request.shownText());
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
    // (whose bold face the window manager chooses: leave it some room).
    if (auto* grid = qobject_cast<QGridLayout*>(box->layout())) {
        const int titleWidth = QFontMetrics(box->font()).horizontalAdvance(request.title) * 4 / 3;
        grid->addItem(new QSpacerItem(qMin(titleWidth + 140, 800), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
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
