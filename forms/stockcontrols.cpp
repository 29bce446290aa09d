#include "forms/stockcontrols.h"

#include "forms/color.h"
#include "forms/error.h"
#include "forms/qt/convert.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTextDocument>
#include <algorithm>

namespace forms {

namespace {

QPalette withBackground(QPalette palette, OleColor color) {
    const QColor c = qt::toQColor(color);
    palette.setColor(QPalette::Base, c);
    palette.setColor(QPalette::Button, c);
    return palette;
}

} // namespace

// ---- TextBox

TextBox::TextBox(QWidget* parent, bool multiLine) : QWidget(parent) {
    QWidget* inner = nullptr;
    if (multiLine) {
        m_plain = new QPlainTextEdit(this);
        m_plain->setTabChangesFocus(true);
        m_plain->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_plain->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        m_plain->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        inner = m_plain;
    } else {
        m_line = new QLineEdit(this);
        inner = m_line;
    }
    setFocusPolicy(inner->focusPolicy());
    setFocusProxy(inner);
}

QWidget* TextBox::editor() const {
    return m_plain ? static_cast<QWidget*>(m_plain) : static_cast<QWidget*>(m_line);
}

QSize TextBox::sizeHint() const {
    return editor()->sizeHint();
}

// The editor fills the box at exactly the size the window gives it; a layout would keep it at
// least at its minimum size hint, taller than a 21-pixel text box.
void TextBox::resizeEvent(QResizeEvent*) {
    editor()->setGeometry(rect());
}

QString TextBox::Text() const {
    if (m_line)
        return m_line->text();
    // toPlainText() would also turn no-break spaces into spaces; the raw text changes nothing.
    const QString raw = m_plain->document()->toRawText();
    QString text;
    text.reserve(raw.size() + raw.size() / 8);
    for (const QChar ch : raw) {
        if (ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator || ch == u'\n')
            text += QStringLiteral("\r\n");
        else
            text += ch;
    }
    return text;
}

void TextBox::setText(const QString& text) {
    if (m_line)
        m_line->setText(text);
    else
        m_plain->setPlainText(text); // CR LF, LF and CR each start a new paragraph
}

void TextBox::setBackColor(OleColor color) {
    checkColor(color);
    m_backColor = color;
    editor()->setPalette(withBackground(editor()->palette(), color));
}

bool TextBox::Locked() const {
    return m_line ? m_line->isReadOnly() : m_plain->isReadOnly();
}

void TextBox::setLocked(bool locked) {
    if (m_line)
        m_line->setReadOnly(locked);
    else
        m_plain->setReadOnly(locked);
}

void TextBox::setTabStop(bool tabStop) {
    m_tabStop = tabStop;
    const Qt::FocusPolicy policy = tabStop ? Qt::StrongFocus : Qt::ClickFocus;
    editor()->setFocusPolicy(policy);
    setFocusPolicy(policy);
}

void TextBox::keyPressEvent(QKeyEvent* event) {
    forward(event);
}
void TextBox::keyReleaseEvent(QKeyEvent* event) {
    forward(event);
}
void TextBox::inputMethodEvent(QInputMethodEvent* event) {
    forward(event);
}

// Keys sent to the host itself (rather than to the focused editor) go to the editor. The editor
// passes what it does not use up to its parent, this host, and on to the window; that second
// arrival is let through, and the first one is not passed on again.
void TextBox::forward(QEvent* event) {
    if (m_forwarding) {
        event->ignore();
        return;
    }
    m_forwarding = true;
    QCoreApplication::sendEvent(editor(), event);
    m_forwarding = false;
    event->accept();
}

// ---- ComboBox

ComboBox::ComboBox(QWidget* parent) : QComboBox(parent) {
    setEditable(false);
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_silent)
            emit Click();
    });
}

void ComboBox::AddItem(const QString& item, int index) {
    if (index < -1 || index > count())
        throw qt::runtimeError(QStringLiteral("Invalid argument: list position %1").arg(index));
    // QComboBox chooses the first entry added to an empty list and shifts the position when an
    // entry goes in before it; neither is a choice of the user or the program.
    const bool none = currentIndex() == -1;
    m_silent = true;
    if (index == -1)
        addItem(item);
    else
        insertItem(index, item);
    if (none)
        setCurrentIndex(-1);
    m_silent = false;
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= count())
        throw RuntimeError(u"Invalid property value");
    setCurrentIndex(index);
}

void ComboBox::setBackColor(OleColor color) {
    checkColor(color);
    m_backColor = color;
    setPalette(withBackground(palette(), color));
}

void ComboBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.fillRect(rect(), qt::toQColor(m_backColor));
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
        focus.backgroundColor = qt::toQColor(m_backColor);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

// ---- OptionButton

OptionButton::OptionButton(QWidget* parent) : OptionButton(QString(), parent) {}

OptionButton::OptionButton(const QString& caption, QWidget* parent)
    : QRadioButton(caption, parent) {
    setAutoExclusive(true);
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        updateTabStops();
        if (on)
            emit Click();
    });
}

QList<OptionButton*> OptionButton::group() const {
    QList<OptionButton*> buttons;
    if (QWidget* parent = parentWidget())
        buttons = parent->findChildren<OptionButton*>(Qt::FindDirectChildrenOnly);
    else
        buttons << const_cast<OptionButton*>(this);
    std::stable_sort(buttons.begin(), buttons.end(), [](OptionButton* a, OptionButton* b) {
        const QPoint pa = a->pos(), pb = b->pos();
        return pa.y() != pb.y() ? pa.y() < pb.y() : pa.x() < pb.x();
    });
    return buttons;
}

void OptionButton::updateTabStops() {
    const QList<OptionButton*> buttons = group();
    const auto chosen = std::find_if(buttons.begin(), buttons.end(),
                                     [](OptionButton* b) { return b->isChecked(); });
    // With none chosen, the one met first in tab order keeps the stop.
    OptionButton* stop = chosen != buttons.end() ? *chosen : nullptr;
    if (!stop) {
        for (QWidget* w = window()->nextInFocusChain(); w != window(); w = w->nextInFocusChain()) {
            if (auto* b = qobject_cast<OptionButton*>(w); b && buttons.contains(b)) {
                stop = b;
                break;
            }
        }
    }
    for (OptionButton* b : buttons) {
        const Qt::FocusPolicy policy = b == stop ? Qt::StrongFocus : Qt::ClickFocus;
        if (b->focusPolicy() != policy)
            b->setFocusPolicy(policy);
    }
}

bool OptionButton::event(QEvent* event) {
    // A new sibling, or the first show after the tab order was set, moves the group's stop.
    if (event->type() == QEvent::ParentChange || event->type() == QEvent::Show)
        updateTabStops();
    return QRadioButton::event(event);
}

// Qt's own focus handling would give the stop to whichever button last had the focus.
void OptionButton::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    update();
}

void OptionButton::keyPressEvent(QKeyEvent* event) {
    int step = 0;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        step = -1;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        step = 1;
        break;
    default:
        QRadioButton::keyPressEvent(event);
        return;
    }
    const QList<OptionButton*> buttons = group();
    const qsizetype count = buttons.size();
    const qsizetype at = buttons.indexOf(this);
    // The next one that can take the choice: skip hidden and disabled ones.
    for (qsizetype i = 1; i <= count; ++i) {
        OptionButton* next = buttons[((at + step * i) % count + count) % count];
        if (next == this || !next->isVisible() || !next->isEnabled())
            continue;
        next->setFocus(step < 0 ? Qt::BacktabFocusReason : Qt::TabFocusReason);
        next->setValue(true);
        break;
    }
    event->accept();
}

void OptionButton::setValue(bool value) {
    if (value) {
        setChecked(true);
        return;
    }
    if (!isChecked())
        return;
    // Qt never clears the chosen button of an exclusive set, but a program may.
    setAutoExclusive(false);
    setChecked(false);
    setAutoExclusive(true);
}

// ---- CommandButton

CommandButton::CommandButton(QWidget* parent) : CommandButton(QString(), parent) {}

CommandButton::CommandButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    // Enter on the focused button clicks it (see event()).
    setAutoDefault(true);
    connect(this, &QAbstractButton::clicked, this, [this] { emit Click(); });
}

void CommandButton::setDefault(bool isDefault) {
    if (isDefault) {
        for (CommandButton* other : window()->findChildren<CommandButton*>()) {
            if (other != this && other->m_default)
                other->setDefault(false);
        }
    }
    m_default = isDefault;
    QPushButton::setDefault(isDefault);
    updateShortcuts();
}

void CommandButton::setCancel(bool isCancel) {
    if (isCancel) {
        for (CommandButton* other : window()->findChildren<CommandButton*>()) {
            if (other != this && other->m_cancel)
                other->setCancel(false);
        }
    }
    m_cancel = isCancel;
    updateShortcuts();
}

void CommandButton::updateShortcuts() {
    // Window shortcuts, so the keys work wherever the focus is in the button's window. A
    // shortcut belongs to the button, so it follows the button's visibility and enabled state.
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
    make(m_enter, m_default, Qt::Key_Return);
    make(m_keypadEnter, m_default, Qt::Key_Enter);
    make(m_escape, m_cancel, Qt::Key_Escape);
}

bool CommandButton::event(QEvent* event) {
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

} // namespace forms
