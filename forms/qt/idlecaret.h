#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>

namespace forms::qt {

// Stops the text caret blinking after a while without input and starts it again at the next key
// or click, as desktop toolkits do by default: an idle window then does no work at all.
class IdleCaret : public QObject {
    Q_OBJECT

public:
    // Watches the whole application; the caret blinks for `timeout` after each key or click.
    explicit IdleCaret(std::chrono::milliseconds timeout, QObject* parent = nullptr);
    ~IdleCaret() override;

    bool blinking() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setBlinking(bool on);

    QTimer m_idle;
    int m_flashTime; // the platform's blink period, restored on input
};

} // namespace forms::qt
