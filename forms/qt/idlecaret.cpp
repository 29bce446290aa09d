#include "forms/qt/idlecaret.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace forms::qt {

IdleCaret::IdleCaret(std::chrono::milliseconds timeout, QObject* parent)
    : QObject(parent), m_flashTime(QApplication::cursorFlashTime()) {
    m_idle.setSingleShot(true);
    m_idle.setInterval(timeout);
    connect(&m_idle, &QTimer::timeout, this, [this] { setBlinking(false); });
    qApp->installEventFilter(this);
    m_idle.start();
}

IdleCaret::~IdleCaret() {
    setBlinking(true);
}

bool IdleCaret::blinking() const {
    return QApplication::cursorFlashTime() > 0;
}

bool IdleCaret::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::InputMethod:
        // One event reaches every widget it propagates through: act once, at its window.
        if (watched->isWidgetType() || watched->isWindowType()) {
            setBlinking(true);
            m_idle.start();
        }
        break;
    default:
        break;
    }
    return false;
}

void IdleCaret::setBlinking(bool on) {
    const int wanted = on ? m_flashTime : 0;
    if (QApplication::cursorFlashTime() == wanted)
        return;
    QApplication::setCursorFlashTime(wanted);
}

} // namespace forms::qt
