#include "forms/application.h"

#include "forms/error.h"
#include "forms/msgbox.h"

#include <exception>

namespace forms {

namespace {

std::function<void(const QString&)>& errorReporter() {
    static std::function<void(const QString&)> reporter;
    return reporter;
}

// While an error box is open, other handlers keep running (timers, painting); one failing over
// and over must not stack up boxes, so errors during a report only go to the log.
bool g_reporting = false;

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const RuntimeError& e) {
        reportError(e.message());
    } catch (const std::exception& e) {
        reportError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        reportError(QStringLiteral("Unknown run-time error"));
    }
    return false;
}

void Application::setErrorReporter(std::function<void(const QString&)> reporter) {
    errorReporter() = std::move(reporter);
}

void Application::reportError(const QString& message) {
    if (g_reporting) {
        qWarning("Run-time error while another is shown: %s", qUtf8Printable(message));
        return;
    }
    g_reporting = true;
    try {
        if (errorReporter())
            errorReporter()(message);
        else
            MsgBox(message, vbCritical, applicationName());
    } catch (const std::exception& e) {
        qWarning("Run-time error could not be shown: %s (%s)", qUtf8Printable(message), e.what());
    } catch (...) {
        qWarning("Run-time error could not be shown: %s", qUtf8Printable(message));
    }
    g_reporting = false;
}

} // namespace forms
