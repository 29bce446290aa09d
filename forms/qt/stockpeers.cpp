// The stock controls' peers: Qt's own widgets, with what Qt needs to behave as the platform's.

#include "forms/qt/convert.h"
#include "forms/qt/widgetpeer.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTextDocument>

namespace forms::qt {

namespace {

QWidget* parentWidget(WindowPeer* parent) {
    auto* peer = dynamic_cast<WidgetPeer*>(parent);
    return peer ? peer->widget() : nullptr;
}

QPalette withBackground(QPalette palette, OleColor color) {
    const QColor c = toQColor(color);
    palette.setColor(QPalette::Base, c);
    palette.setColor(QPalette::Button, c);
    return palette;
}

// The peer of a stock control whose widget is a W. The widget lives as long as the peer: the
// controls on a window go before the window's own peer.
template <typename W, typename Special> class StockPeer : public WidgetPeer, public Special {
public:
    explicit StockPeer(W* widget) : WidgetPeer(widget) {}

protected:
    W& w() const { return *static_cast<W*>(widget()); }
};

// ---- Text box: a QLineEdit or a QPlainTextEdit inside a thin host widget. The host hands the
// focus and the keys sent to it to the editor, so it can be placed, focused and put in the tab
// order like any widget.

class TextBoxHost : public QWidget {
public:
    TextBoxHost(QWidget* parent, bool multiLine) : QWidget(parent) {
        if (multiLine) {
            m_plain = new QPlainTextEdit(this);
            m_plain->setTabChangesFocus(true);
            m_plain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            m_plain->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            m_plain->setLineWrapMode(QPlainTextEdit::WidgetWidth);
            m_editor = m_plain;
        } else {
            m_line = new QLineEdit(this);
            m_editor = m_line;
        }
        setFocusPolicy(m_editor->focusPolicy());
        setFocusProxy(m_editor);
    }

    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    QWidget* m_editor = nullptr;

    QSize sizeHint() const override { return m_editor->sizeHint(); }

protected:
    // The editor fills the box at exactly the size the window gives it; a layout would keep it
    // at least at its minimum size hint, taller than a 21-pixel text box.
    void resizeEvent(QResizeEvent*) override { m_editor->setGeometry(rect()); }
    void keyPressEvent(QKeyEvent* event) override { forward(event); }
    void keyReleaseEvent(QKeyEvent* event) override { forward(event); }
    void inputMethodEvent(QInputMethodEvent* event) override { forward(event); }

private:
    // Keys sent to the host itself (rather than to the focused editor) go to the editor. The
    // editor passes what it does not use up to its parent, this host, and on to the window;
    // that second arrival is let through, and the first one is not passed on again.
    void forward(QEvent* event) {
        if (m_forwarding) {
            event->ignore();
            return;
        }
        m_forwarding = true;
        QCoreApplication::sendEvent(m_editor, event);
        m_forwarding = false;
        event->accept();
    }

    bool m_forwarding = false;
};

class TextBoxWidgetPeer : public StockPeer<TextBoxHost, TextBoxPeer> {
public:
    using StockPeer::StockPeer;

    std::u16string text() const override {
        if (w().m_line)
            return w().m_line->text().toStdU16String();
        // toPlainText() would also turn no-break spaces into spaces; the raw text changes
        // nothing (its paragraph separators are line breaks).
        return w().m_plain->document()->toRawText().toStdU16String();
    }
    void setText(const std::u16string& text) override {
        const QString t = QString::fromStdU16String(text);
        if (w().m_line)
            w().m_line->setText(t);
        else
            w().m_plain->setPlainText(t); // each CR LF starts a new paragraph
    }
    void setBackColor(OleColor color) override {
        w().m_editor->setPalette(withBackground(w().m_editor->palette(), color));
    }
    void setLocked(bool locked) override {
        if (w().m_line)
            w().m_line->setReadOnly(locked);
        else
            w().m_plain->setReadOnly(locked);
    }
    void setTabStop(bool tabStop) override {
        const Qt::FocusPolicy policy = tabStop ? Qt::StrongFocus : Qt::ClickFocus;
        w().m_editor->setFocusPolicy(policy);
        w().setFocusPolicy(policy);
    }
};

// ---- Drop-down list, painted flat.

class FlatComboBox : public QComboBox {
public:
    FlatComboBox(QWidget* parent, std::function<void(int)> chosen) : QComboBox(parent) {
        setEditable(false);
        connect(this, &QComboBox::currentIndexChanged, this, [this, chosen = std::move(chosen)] {
            if (!m_silent)
                chosen(currentIndex());
        });
    }

    // A change the control makes, which it has told already.
    template <typename F> void silently(F f) {
        m_silent = true;
        f();
        m_silent = false;
    }

    OleColor m_backColor = 0x80000005;

protected:
    // The closed list is painted flat in its background colour; the toolkit's style would lay a
    // gradient over it.
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.fillRect(rect(), toQColor(m_backColor));
        painter.setPen(palette().color(QPalette::Mid));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));

        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect =
            style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
        painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, arrow);

        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                 QStyle::SC_ComboBoxEditField, this);
            focus.backgroundColor = toQColor(m_backColor);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }

private:
    bool m_silent = false;
};

class ComboBoxWidgetPeer : public StockPeer<FlatComboBox, ComboBoxPeer> {
public:
    using StockPeer::StockPeer;

    void insertItem(int index, const std::u16string& text) override {
        w().silently([&] { w().insertItem(index, QString::fromStdU16String(text)); });
    }
    void setListIndex(int index) override {
        w().silently([&] { w().setCurrentIndex(index); });
    }
    void setBackColor(OleColor color) override {
        w().m_backColor = color;
        w().setPalette(withBackground(w().palette(), color));
    }
};

// ---- Option button: the control chooses; the radio button only reports the user's wishes.

class OptionRadio : public QRadioButton {
public:
    OptionRadio(QWidget* parent, std::function<void()> chosen, std::function<void(int)> arrow)
        : QRadioButton(parent), m_chosen(std::move(chosen)), m_arrow(std::move(arrow)) {
        // The control clears the others of its group, as the platform does.
        setAutoExclusive(false);
    }

protected:
    // A click or Space asks the control to choose it; it never clears a chosen one.
    void nextCheckState() override { m_chosen(); }

    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Left:
            event->accept();
            m_arrow(-1);
            return;
        case Qt::Key_Down:
        case Qt::Key_Right:
            event->accept();
            m_arrow(1);
            return;
        default:
            QRadioButton::keyPressEvent(event);
        }
    }

    // Qt's own focus handling would move the group's stop to whichever button last had the
    // focus.
    void focusInEvent(QFocusEvent* event) override {
        QWidget::focusInEvent(event);
        update();
    }

private:
    std::function<void()> m_chosen;
    std::function<void(int)> m_arrow;
};

class OptionButtonWidgetPeer : public StockPeer<OptionRadio, OptionButtonPeer> {
public:
    using StockPeer::StockPeer;

    void setCaption(const std::u16string& caption) override {
        w().setText(QString::fromStdU16String(caption));
    }
    void setValue(bool chosen) override { w().setChecked(chosen); }
    void setTabStop(bool tabStop) override {
        w().setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    }
    void setRightJustify(bool right) override {
        w().setLayoutDirection(right ? Qt::RightToLeft : Qt::LeftToRight);
    }
};

// ---- Command button: Enter and Esc through window shortcuts.

class CommandPushButton : public QPushButton {
public:
    CommandPushButton(QWidget* parent, std::function<void()> clicked) : QPushButton(parent) {
        // Enter on the focused button clicks it (see event()).
        setAutoDefault(true);
        connect(this, &QAbstractButton::clicked, this,
                [clicked = std::move(clicked)] { clicked(); });
    }

    void setKeys(bool isDefault, bool isCancel) {
        setDefault(isDefault);
        // Window shortcuts, so the keys work wherever the focus is in the button's window. A
        // shortcut belongs to the button, so it follows the button's visibility and enabled
        // state.
        auto make = [this](QShortcut*& shortcut, bool wanted, Qt::Key key) {
            if (wanted && !shortcut) {
                shortcut = new QShortcut(QKeySequence(key), this);
                shortcut->setContext(Qt::WindowShortcut);
                connect(shortcut, &QShortcut::activated, this, [this] {
                    if (isEnabled() && isVisible())
                        click();
                });
            } else if (!wanted && shortcut) {
                delete shortcut;
                shortcut = nullptr;
            }
        };
        make(m_enter, isDefault, Qt::Key_Return);
        make(m_keypadEnter, isDefault, Qt::Key_Enter);
        make(m_escape, isCancel, Qt::Key_Escape);
    }

protected:
    bool event(QEvent* event) override {
        // The focused button takes Enter itself, before the default button's shortcut sees it.
        if (event->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(event);
            const auto mods = key->modifiers() & ~Qt::KeypadModifier;
            if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
                mods == Qt::NoModifier) {
                event->accept();
                return true;
            }
        }
        return QPushButton::event(event);
    }

private:
    QShortcut* m_enter = nullptr;
    QShortcut* m_keypadEnter = nullptr;
    QShortcut* m_escape = nullptr;
};

class CommandButtonWidgetPeer : public StockPeer<CommandPushButton, CommandButtonPeer> {
public:
    using StockPeer::StockPeer;

    void setCaption(const std::u16string& caption) override {
        w().setText(QString::fromStdU16String(caption));
    }
    void setDefault(bool isDefault) override { w().setKeys(m_default = isDefault, m_cancel); }
    void setCancel(bool isCancel) override { w().setKeys(m_default, m_cancel = isCancel); }

private:
    bool m_default = false;
    bool m_cancel = false;
};

} // namespace

} // namespace forms::qt

namespace forms::backend {

ControlPeer<TextBoxPeer> createTextBoxPeer(WindowPeer* parent, bool multiLine) {
    return controlPeer<TextBoxPeer>(
        new qt::TextBoxWidgetPeer(new qt::TextBoxHost(qt::parentWidget(parent), multiLine)));
}

ControlPeer<ComboBoxPeer> createComboBoxPeer(WindowPeer* parent, std::function<void(int)> chosen) {
    return controlPeer<ComboBoxPeer>(new qt::ComboBoxWidgetPeer(
        new qt::FlatComboBox(qt::parentWidget(parent), std::move(chosen))));
}

ControlPeer<OptionButtonPeer> createOptionButtonPeer(WindowPeer* parent,
                                                     std::function<void()> chosen,
                                                     std::function<void(int)> arrow) {
    return controlPeer<OptionButtonPeer>(new qt::OptionButtonWidgetPeer(
        new qt::OptionRadio(qt::parentWidget(parent), std::move(chosen), std::move(arrow))));
}

ControlPeer<CommandButtonPeer> createCommandButtonPeer(WindowPeer* parent,
                                                       std::function<void()> clicked) {
    return controlPeer<CommandButtonPeer>(new qt::CommandButtonWidgetPeer(
        new qt::CommandPushButton(qt::parentWidget(parent), std::move(clicked))));
}

} // namespace forms::backend
