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
// and over must not stack up boxes, so errors during a report only go to standard error.
bool g_reporting = false;

// One line on standard error per error, whatever line breaks its detail holds, so that a log
// stays greppable.
void logLine(QString text) {
    text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    qWarning("%s", qUtf8Printable(text));
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const RuntimeError& e) {
        reportError(e);
    } catch (const std::exception& e) {
        reportError(
            RuntimeError(ErrorKind::Unknown, QString::fromLocal8Bit(e.what()).toStdU16String()));
    } catch (...) {
        reportError(RuntimeError(ErrorKind::Unknown, u"Unknown run-time error"));
    }
    return false;
}

void Application::setErrorReporter(std::function<void(const QString&)> reporter) {
    errorReporter() = std::move(reporter);
}

void Application::reportError(const QString& detail) {
    reportError(RuntimeError(detail.toStdU16String()));
}

void Application::reportError(const RuntimeError& error) {
    if (g_reporting) {
        logLine(QStringLiteral("run-time error while another is shown: ") +
                QString::fromStdU16String(error.message()));
        return;
    }
    logLine(QStringLiteral("run-time error: ") + QString::fromStdU16String(error.message()));
    g_reporting = true;
    try {
        const QString shown = QString::fromStdU16String(error.userMessage());
        if (errorReporter())
            errorReporter()(shown);
        else
            MsgBox(shown.toStdU16String(), vbCritical, applicationName().toStdU16String());
    } catch (const std::exception& e) {
        logLine(QStringLiteral("the error could not be shown: ") +
                QString::fromLocal8Bit(e.what()));
    } catch (...) {
        logLine(QStringLiteral("the error could not be shown"));
    }
    g_reporting = false;
}

} // namespace forms
