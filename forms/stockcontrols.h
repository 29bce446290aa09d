#pragma once

#include "forms/vbtypes.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QShortcut;

namespace forms {

// Text box: a single-line QLineEdit or a multi-line QPlainTextEdit (Tab moves the focus, no
// scroll bars, words wrap) inside a thin host widget. The host hands the focus and the keys sent
// to it to the editor, so it can be placed, focused and put in the tab order like any widget.
class TextBox : public QWidget {
    Q_OBJECT

public:
    explicit TextBox(QWidget* parent = nullptr, bool multiLine = false);

    bool MultiLine() const { return m_plain != nullptr; }

    // The text as typed: every line break (paragraph separator U+2029, line separator U+2028, LF)
    // becomes CR LF; nothing else is changed (a no-break space stays one).
    QString Text() const;
    // Accepts CR LF (or LF, or CR) as line breaks in a multi-line box.
    void setText(const QString& text);

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color); // RuntimeError("Invalid property value") for a bad value

    // Read-only: the text can be selected and copied but not changed.
    bool Locked() const;
    void setLocked(bool locked);

    // False: the Tab key skips the box; a click still gives it the focus.
    bool TabStop() const { return m_tabStop; }
    void setTabStop(bool tabStop);

    // The editor inside (a QLineEdit or a QPlainTextEdit).
    QWidget* editor() const;
    QLineEdit* lineEdit() const { return m_line; }
    QPlainTextEdit* plainTextEdit() const { return m_plain; }

    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;

private:
    void forward(QEvent* event);

    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    OleColor m_backColor = 0x80000005; // window background
    bool m_tabStop = true;
    bool m_forwarding = false;
};

// Drop-down list (not editable). Click is raised, synchronously, on every change of its position,
// whether the user or the code made it.
class ComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit ComboBox(QWidget* parent = nullptr);

    // Adds an entry at the end, or before position index. The chosen entry stays the same
    // (none stays none) and no Click is raised.
    void AddItem(const QString& item, int index = -1);
    int ListCount() const { return count(); }

    // -1 when no entry is chosen.
    int ListIndex() const { return currentIndex(); }
    // -1 .. ListCount()-1; anything else is RuntimeError("Invalid property value").
    void setListIndex(int index);

    OleColor BackColor() const { return m_backColor; }
    void setBackColor(OleColor color);

signals:
    void Click();

protected:
    // The closed list is painted flat in its background colour; the toolkit's style would lay a
    // gradient over it.
    void paintEvent(QPaintEvent* event) override;

private:
    OleColor m_backColor = 0x80000005;
    bool m_silent = false;
};

// Option button: exactly one of those sharing a parent is chosen (Qt's auto-exclusivity).
// Click is raised whenever it becomes the chosen one, by the user or by setValue(true).
//
// The buttons sharing a parent are one group and one Tab stop, as the platform has it: Tab lands
// on the chosen one (on the first one in tab order while none is chosen), and the arrow keys
// choose the previous or next button in the order the user sees them (top to bottom, then left
// to right), wrapping at the ends. Space chooses the focused one.
class OptionButton : public QRadioButton {
    Q_OBJECT

public:
    explicit OptionButton(QWidget* parent = nullptr);
    explicit OptionButton(const QString& caption, QWidget* parent = nullptr);

    bool Value() const { return isChecked(); }
    // true chooses it (the others of its parent are cleared) and raises Click at once;
    // false clears it without choosing another.
    void setValue(bool value);

    // The group this button belongs to, in the order the arrow keys walk through it.
    QList<OptionButton*> group() const;

signals:
    void Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Gives the Tab stop of the group to the chosen button alone.
    void updateTabStops();
};

// Command button. Default: Enter anywhere in its window clicks it; Cancel: Esc does. At most one
// Default and one Cancel button per window; setting one clears the other's flag.
class CommandButton : public QPushButton {
    Q_OBJECT

public:
    explicit CommandButton(QWidget* parent = nullptr);
    explicit CommandButton(const QString& caption, QWidget* parent = nullptr);

    bool Default() const { return m_default; }
    void setDefault(bool isDefault);
    bool Cancel() const { return m_cancel; }
    void setCancel(bool isCancel);

signals:
    void Click();

protected:
    bool event(QEvent* event) override;

private:
    void updateShortcuts();

    bool m_default = false;
    bool m_cancel = false;
    QShortcut* m_enter = nullptr;
    QShortcut* m_keypadEnter = nullptr;
    QShortcut* m_escape = nullptr;
};

} // namespace forms
