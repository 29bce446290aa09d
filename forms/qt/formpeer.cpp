#include "forms/qt/formpeer.h"

#include "forms/qt/convert.h"
#include "forms/qt/widgetpeer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QProxyStyle>
#include <QScreen>
#include <QShortcut>
#include <QStyleFactory>
#include <QStyleOptionMenuItem>
#include <QTimer>
#include <QWindow>

namespace forms::qt {

namespace {

constexpr Qt::WindowFlags kFixedFrameHints = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                             Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

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

// The window: a fixed size around the menu bar and the client area. It tells the form when the
// user asks to close it and when the active window may have changed.
class FormWindow : public QMainWindow {
public:
    explicit FormWindow(FormSink& sink) : m_sink(sink) {
        setWindowFlags(Qt::Window | kFixedFrameHints);
        // A form that lost activation to no window of ours (another application) learns here
        // when one of ours becomes active later.
        connect(qGuiApp, &QGuiApplication::focusWindowChanged, this,
                [this] { scheduleActivationCheck(); });
    }

    void showForm() {
        const bool firstShow = !m_centred;
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

    void activateMenuBar() {
        auto* bar = qobject_cast<QMenuBar*>(menuWidget());
        if (!bar || !bar->isVisible() || bar->actions().isEmpty())
            return;
        // Qt opens its keyboard mode only for a lone Alt: hand the window the press and release
        // of Alt, through the focused control as a real key would come.
        QWidget* target = focusWidget() ? focusWidget() : this;
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Alt, Qt::AltModifier);
        QCoreApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &release);
    }

    QMenu* addMenu(const QString& caption) {
        QMenuBar* bar = menuBar();
        if (!m_menuKeysReady) {
            m_menuKeysReady = true;
            auto* style = new MenuKeysStyle(QStyleFactory::create(QApplication::style()->name()));
            style->setParent(bar);
            bar->setStyle(style);
            auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
            f10->setContext(Qt::WindowShortcut);
            connect(f10, &QShortcut::activated, this, &FormWindow::activateMenuBar);
        }
        return bar->addMenu(caption);
    }

protected:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::WindowActivate || event->type() == QEvent::WindowDeactivate)
            scheduleActivationCheck();
        return QMainWindow::event(event);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
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

    // The form decides: it unloads and hides the window.
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        m_sink.closeRequested();
    }

private:
    void centreOnScreen() {
        const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
        if (!s)
            return;
        const QRect area = s->geometry();
        const QRect frame = frameGeometry();
        // move() places the frame's top left corner.
        move(area.x() + (area.width() - frame.width()) / 2,
             area.y() + (area.height() - frame.height()) / 2);
    }

    void centreOnceFrameKnown(int triesLeft) {
        centreOnScreen();
        // Without a window manager the frame never grows; stop after half a second.
        if (frameGeometry().size() == geometry().size() && triesLeft > 1)
            QTimer::singleShot(50, this,
                               [this, triesLeft] { centreOnceFrameKnown(triesLeft - 1); });
    }

    void scheduleActivationCheck() {
        if (m_checkPending)
            return;
        m_checkPending = true;
        // Queued: when one window deactivates, the next one's activation may still be on its
        // way.
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_checkPending = false;
                m_sink.activationChanged(activation());
            },
            Qt::QueuedConnection);
    }

    Activation activation() const {
        QWidget* active = QApplication::activeWindow();
        if (active == this)
            return Activation::ThisWindow;
        if (!active)
            return Activation::NoneOfOurs;
        // A window this form owns (its message box) does not take the form's place.
        for (QWidget* w = active->parentWidget(); w; w = w->parentWidget())
            if (w == this)
                return Activation::NoneOfOurs;
        return Activation::AnotherOfOurs;
    }

    FormSink& m_sink;
    bool m_centred = false;
    bool m_checkPending = false;
    bool m_menuKeysReady = false;
};

class QtMenuItemPeer : public MenuItemPeer {
public:
    explicit QtMenuItemPeer(QAction* action) : m_action(action) {}
    ~QtMenuItemPeer() override { delete m_action.data(); }
    void setCaption(const std::u16string& caption) override {
        m_action->setText(QString::fromStdU16String(caption));
    }
    void setEnabled(bool enabled) override { m_action->setEnabled(enabled); }
    void setChecked(bool checked) override {
        m_checked = checked;
        m_action->setCheckable(true);
        m_action->setChecked(checked);
    }
    void setName(const std::u16string& name) override {
        m_action->setObjectName(QString::fromStdU16String(name));
    }
    QAction* action() const { return m_action; }
    // Qt flips a checkable action before it reports the choice; the mark is the code's to set.
    void restoreMark() const {
        if (m_action->isCheckable())
            m_action->setChecked(m_checked);
    }

private:
    QPointer<QAction> m_action;
    bool m_checked = false;
};

class QtMenuPeer : public MenuPeer {
public:
    explicit QtMenuPeer(QMenu* menu) : m_menu(menu) {}
    ~QtMenuPeer() override { delete m_menu.data(); }
    std::unique_ptr<MenuItemPeer> addItem(const std::u16string& caption, Shortcut shortcut,
                                          std::function<void()> chosen) override {
        QAction* action = m_menu->addAction(QString::fromStdU16String(caption));
        action->setShortcut(keySequenceOf(shortcut));
        auto peer = std::make_unique<QtMenuItemPeer>(action);
        QObject::connect(action, &QAction::triggered, action,
                         [item = peer.get(), chosen = std::move(chosen)] {
                             item->restoreMark();
                             chosen();
                         });
        return peer;
    }
    void addSeparator() override { m_menu->addSeparator(); }
    std::unique_ptr<MenuPeer> addSubmenu(const std::u16string& caption) override {
        return std::make_unique<QtMenuPeer>(m_menu->addMenu(QString::fromStdU16String(caption)));
    }
    void setName(const std::u16string& name) override {
        m_menu->setObjectName(QString::fromStdU16String(name));
    }
    QMenu* menu() const { return m_menu; }

private:
    QPointer<QMenu> m_menu;
};

// The client area is the widget of the WidgetPeer part; the window around it belongs to the
// same peer.
class QtFormPeer : public WidgetPeer, public FormPeer {
public:
    QtFormPeer(FormSink& form, WindowSink& client) : QtFormPeer(client, new FormWindow(form)) {}

    QMainWindow* window() const { return m_window.get(); }

    // Only the client area's size counts: it sits below the menu bar, and the window keeps a
    // fixed size around it.
    void setGeometry(const PixelRect& r) override {
        widget()->setFixedSize(r.width, r.height);
        m_window->layout()->activate();
    }
    void setName(const std::u16string& name) override {
        m_window->setObjectName(QString::fromStdU16String(name));
    }

    void show() override { m_window->showForm(); }
    void hide() override { m_window->hide(); }
    void minimize() override {
        m_window->setWindowState((m_window->windowState() & ~Qt::WindowActive) |
                                 Qt::WindowMinimized);
    }
    void setCaption(const std::u16string& caption) override {
        m_window->setWindowTitle(QString::fromStdU16String(caption));
    }
    void setIcon(const PixelImage& image) override {
        m_window->setWindowIcon(image.isNull() ? QIcon()
                                               : QIcon(QPixmap::fromImage(toQImage(image))));
    }
    void setBorderStyle(BorderStyle style) override {
        // A tool window keeps a dialog frame and stays out of the taskbar.
        const Qt::WindowType type = style == BorderStyle::FixedDialog ? Qt::Tool : Qt::Window;
        const bool wasVisible = m_window->isVisible();
        m_window->setWindowFlags(type | kFixedFrameHints);
        if (wasVisible)
            m_window->show();
    }
    std::unique_ptr<MenuPeer> addMenu(const std::u16string& caption) override {
        return std::make_unique<QtMenuPeer>(m_window->addMenu(QString::fromStdU16String(caption)));
    }
    void activateMenuBar() override { m_window->activateMenuBar(); }

private:
    QtFormPeer(WindowSink& client, FormWindow* window)
        : WidgetPeer(new HostWidget(client, window)), m_window(window) {
        widget()->setObjectName(QStringLiteral("client"));
        // The stock controls take the window's default font, as the labels and buttons do.
        widget()->setFont(toQFont(*defaultFont()));
        window->setCentralWidget(widget());
        // The window follows its contents: menu bar plus the fixed client area.
        window->layout()->setSizeConstraint(QLayout::SetFixedSize);
    }

    // Goes first, with the client area in it.
    std::unique_ptr<FormWindow> m_window;
};

} // namespace

QMainWindow* windowOf(const Form& form) {
    const auto* peer = dynamic_cast<const QtFormPeer*>(form.peer());
    return peer ? peer->window() : nullptr;
}

QMenu* menuOf(const Menu& menu) {
    const auto* peer = dynamic_cast<const QtMenuPeer*>(menu.peer());
    return peer ? peer->menu() : nullptr;
}

QAction* actionOf(const MenuItem& item) {
    const auto* peer = dynamic_cast<const QtMenuItemPeer*>(item.peer());
    return peer ? peer->action() : nullptr;
}

QKeySequence keySequenceOf(Shortcut shortcut) {
    const int vk = shortcut.keyCode;
    int key = 0;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
        key = vk;
    else if (vk >= vkFunction(1) && vk <= vkFunction(24))
        key = Qt::Key_F1 + (vk - vkFunction(1));
    else
        for (const int k :
             {Qt::Key_Backspace, Qt::Key_Tab, Qt::Key_Return, Qt::Key_Escape, Qt::Key_Space,
              Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_End, Qt::Key_Home, Qt::Key_Left, Qt::Key_Up,
              Qt::Key_Right, Qt::Key_Down, Qt::Key_Insert, Qt::Key_Delete})
            if (vk != 0 && virtualKeyFromQt(k) == vk)
                key = k;
    if (key == 0)
        return {};
    Qt::KeyboardModifiers m;
    m.setFlag(Qt::ShiftModifier, shortcut.modifiers.shift);
    m.setFlag(Qt::ControlModifier, shortcut.modifiers.control);
    m.setFlag(Qt::AltModifier, shortcut.modifiers.alt);
    return QKeySequence(QKeyCombination(m, Qt::Key(key)));
}

} // namespace forms::qt

namespace forms::backend {

ControlPeer<FormPeer> createFormPeer(FormSink& form, WindowSink& client) {
    return controlPeer<FormPeer>(new qt::QtFormPeer(form, client));
}

} // namespace forms::backend
