#include "forms/form.h"

#include "forms/error.h"
#include "forms/qt/convert.h"
#include "forms/units.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcut>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QTimer>
#include <QWindow>

namespace forms {

namespace {

constexpr Qt::WindowFlags kFixedFrameHints = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                             Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

} // namespace

Form::Form(QWidget* parent) : QMainWindow(parent) {
    setAttribute(Qt::WA_DeleteOnClose);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
    // The window follows its contents: menu bar plus the fixed client area.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlags(Qt::Window | kFixedFrameHints);
    // The client area of a new window until the form sets its own; never empty, since an empty
    // window is never shown.
    setClientSizeTwips(4680, 3195);

    // A form that lost activation to no window of ours (another application) learns here when
    // one of ours becomes active later.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this] {
        if (m_wasActive)
            scheduleActivationCheck();
    });
}

void Form::Load() {
    if (m_loaded)
        return;
    m_loaded = true;
    Form_Load();
}

void Form::Show() {
    Load();
    if (m_unloaded)
        return;
    const bool firstShow = !m_centred;
    setUpMenuKeys();
    if (firstShow) {
        // A first guess without the frame keeps the window from appearing far from its place.
        layout()->activate();
        centreOnScreen();
    }
    show();
    raise();
    activateWindow();
    if (firstShow && windowHandle())
        windowHandle()->installEventFilter(this);
}

void Form::Unload() {
    if (m_unloaded)
        return;
    close();
}

void Form::Minimize() {
    setWindowState((windowState() & ~Qt::WindowActive) | Qt::WindowMinimized);
}

void Form::setClientSizeTwips(int width, int height) {
    if (width < 0 || height < 0)
        throw RuntimeError(u"Invalid property value");
    m_client->setFixedSize(qt::toQRect(twipsToPixels(0, 0, width, height)).size());
    layout()->activate();
}

void Form::setBorderStyle(BorderStyle style) {
    m_borderStyle = style;
    // A tool window keeps a dialog frame and stays out of the taskbar.
    const Qt::WindowType type = style == BorderStyle::FixedDialog ? Qt::Tool : Qt::Window;
    const bool wasVisible = isVisible();
    setWindowFlags(type | kFixedFrameHints);
    if (wasVisible)
        show();
}

bool Form::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
        scheduleActivationCheck();
        break;
    default:
        break;
    }
    return QMainWindow::event(event);
}

bool Form::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Expose && watched == windowHandle() &&
        windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        m_centred = true;
        // Outside the platform's expose handling. A reparenting window manager reports the
        // frame's size a little after the first expose, so keep centring until it is known.
        QTimer::singleShot(0, this, [this] { centreOnceFrameKnown(10); });
    }
    return QMainWindow::eventFilter(watched, event);
}

void Form::closeEvent(QCloseEvent* event) {
    if (!m_unloaded) {
        m_unloaded = true;
        Form_Unload();
    }
    QMainWindow::closeEvent(event);
}

namespace {

// The platform's keyboard access to the menu bar: Alt pressed and released alone highlights the
// first menu; the arrows move, Enter or Down opens, Esc leaves.
class MenuKeysStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_MenuBar_AltKeyNavigation)
            return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
    // The menu the keyboard is on is highlighted as the one under the mouse is.
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        if (element == CE_MenuBarItem && widget && widget->hasFocus() &&
            (option->state & State_Selected)) {
            if (auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
                QStyleOptionMenuItem lit(*item);
                lit.state |= State_Sunken;
                QProxyStyle::drawControl(element, &lit, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

} // namespace

void Form::setUpMenuKeys() {
    auto* bar = qobject_cast<QMenuBar*>(menuWidget());
    if (!bar || m_menuKeysReady)
        return;
    m_menuKeysReady = true;
    auto* style = new MenuKeysStyle(QStyleFactory::create(QApplication::style()->name()));
    style->setParent(bar);
    bar->setStyle(style);
    auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
    f10->setContext(Qt::WindowShortcut);
    connect(f10, &QShortcut::activated, this, &Form::activateMenuBar);
}

void Form::setTabOrder(std::initializer_list<QWidget*> controls) {
    const QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous) {
            // Qt puts the next control right after the part of the previous one that takes the
            // focus, ahead of that control's other parts; Shift+Tab would then land on those parts
            // (which hand the focus to the wrong control). Chain from its last part instead.
            QWidget* last = const_cast<QWidget*>(previous);
            for (QWidget* next = last->nextInFocusChain(); previous->isAncestorOf(next);
                 next = next->nextInFocusChain())
                last = next;
            QWidget::setTabOrder(last, control);
        }
        previous = control;
    }
}

void Form::activateMenuBar() {
    auto* bar = qobject_cast<QMenuBar*>(menuWidget());
    if (!bar || !bar->isVisible() || bar->actions().isEmpty())
        return;
    // Qt opens its keyboard mode only for a lone Alt: hand the window the press and release of
    // Alt, through the focused control as a real key would come.
    QWidget* target = focusWidget() ? focusWidget() : this;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &release);
}

void Form::centreOnScreen() {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->geometry();
    const QRect frame = frameGeometry();
    // move() places the frame's top left corner.
    move(area.x() + (area.width() - frame.width()) / 2,
         area.y() + (area.height() - frame.height()) / 2);
}

void Form::centreOnceFrameKnown(int triesLeft) {
    centreOnScreen();
    // Without a window manager the frame never grows; stop after half a second.
    if (frameGeometry().size() == geometry().size() && triesLeft > 1)
        QTimer::singleShot(50, this, [this, triesLeft] { centreOnceFrameKnown(triesLeft - 1); });
}

void Form::scheduleActivationCheck() {
    if (m_checkPending)
        return;
    m_checkPending = true;
    // Queued: when one window deactivates, the next one's activation may still be on its way.
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_checkPending = false;
            checkActivation();
        },
        Qt::QueuedConnection);
}

void Form::checkActivation() {
    QWidget* active = QApplication::activeWindow();
    if (active == this) {
        m_wasActive = true;
        return;
    }
    // No active window: the user went to another application; wait for the next activation.
    if (!m_wasActive || !active || m_unloaded)
        return;
    // A window this form owns (its message box) does not take the form's place.
    for (QWidget* w = active->parentWidget(); w; w = w->parentWidget()) {
        if (w == this)
            return;
    }
    m_wasActive = false;
    Form_Deactivate();
}

} // namespace forms
