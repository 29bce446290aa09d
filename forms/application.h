#pragma once

#include <QApplication>
#include <QString>
#include <functional>

namespace forms {

class RuntimeError;

// The application object. A run-time error that leaves an event handler ends that handler, but it
// must not cross Qt's event loop (that would end the program and lose what the user typed): it is
// caught here, shown in a message box, and the program goes on.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Test hook: receives the text the message box would show; an empty function restores the
    // message box.
    static void setErrorReporter(std::function<void(const QString&)> reporter);

    // Shows an error the way notify() does, for errors caught outside the event loop too: the
    // user reads a Russian sentence in a critical message box titled with the application name,
    // and the English detail goes to standard error as one line.
    static void reportError(const RuntimeError& error);
    // An error known only by its English detail.
    static void reportError(const QString& detail);
};

} // namespace forms
