#pragma once

#include <QApplication>
#include <QString>
#include <functional>

namespace forms {

// The application object. A run-time error that leaves an event handler ends that handler, but it
// must not cross Qt's event loop (that would end the program and lose what the user typed): it is
// caught here, shown in a message box, and the program goes on.
class Application : public QApplication {
    Q_OBJECT

public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // Test hook: receives the error text instead of the message box; an empty function restores
    // the message box.
    static void setErrorReporter(std::function<void(const QString&)> reporter);

    // Shows an error the way notify() does (a critical message box titled with the application
    // name), for errors caught outside the event loop too.
    static void reportError(const QString& message);
};

} // namespace forms
