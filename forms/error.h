#pragma once

#include <QString>
#include <stdexcept>

namespace forms {

// A run-time error of an event handler or property accessor: it ends the handler that raised
// it and is reported by the application object instead of crossing the event loop.
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(const QString& message)
        : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }

private:
    QString m_message;
};

} // namespace forms
