#include "forms/application.h"

#include "forms/appinfo.h"
#include "forms/error.h"
#include "forms/msgbox.h"
#include "forms/text.h"

#include <exception>

namespace forms {

namespace {

std::function<void(const std::u16string&)>& errorReporter() {
    static std::function<void(const std::u16string&)> reporter;
    return reporter;
}

// While an error box is open, other handlers keep running (timers, painting); one failing over
// and over must not stack up boxes, so errors during a report only go to the log.
bool g_reporting = false;

// One line in the log per error, whatever line breaks its detail holds, so that a log stays
// greppable.
void logLine(std::u16string text) {
    for (char16_t& c : text)
        if (c == u'\r' || c == u'\n')
            c = u' ';
    backend::writeLog(text);
}

} // namespace

Application::Application(int& argc, char** argv)
    : m_peer(backend::createApplicationPeer(argc, argv)) {}

Application::~Application() = default;

int Application::Run() {
    return m_peer->run();
}

void Application::Quit(int code) {
    backend::quit(code);
}

void Application::setErrorReporter(std::function<void(const std::u16string&)> reporter) {
    errorReporter() = std::move(reporter);
}

void Application::reportError(const std::u16string& detail) {
    reportError(RuntimeError(detail));
}

void Application::reportCurrentException() {
    try {
        throw;
    } catch (const RuntimeError& e) {
        reportError(e);
    } catch (const std::exception& e) {
        reportError(RuntimeError(ErrorKind::Unknown, fromUtf8(e.what())));
    } catch (...) {
        reportError(RuntimeError(ErrorKind::Unknown, u"Unknown run-time error"));
    }
}

void Application::reportError(const RuntimeError& error) {
    if (g_reporting) {
        logLine(u"run-time error while another is shown: " + error.message());
        return;
    }
    logLine(u"run-time error: " + error.message());
    g_reporting = true;
    try {
        const std::u16string shown = error.userMessage();
        if (errorReporter())
            errorReporter()(shown);
        else
            MsgBox(shown, vbCritical, AppTitle());
    } catch (const std::exception& e) {
        logLine(u"the error could not be shown: " + fromUtf8(e.what()));
    } catch (...) {
        logLine(u"the error could not be shown");
    }
    g_reporting = false;
}

} // namespace forms
