#pragma once

#include "forms/peer.h"

#include <functional>
#include <memory>
#include <string>

namespace forms {

class RuntimeError;

// The application object: the platform's application, started once before any window, and its
// event loop. A run-time error that leaves an event handler ends that handler, but it must not
// cross the event loop (that would end the program and lose what the user typed): the backend
// catches it and reports it here, and the program goes on.
class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the event loop until the last form is unloaded or Quit; returns the exit code.
    int Run();
    static void Quit(int code = 0);

    // Test hook: receives the text the message box would show; an empty function restores the
    // message box.
    static void setErrorReporter(std::function<void(const std::u16string&)> reporter);

    // Shows an error the way the event loop does, for errors caught outside it too: the user
    // reads a Russian sentence in a critical message box titled with the application's name, and
    // the English detail goes to the log as one line.
    static void reportError(const RuntimeError& error);
    // An error known only by its English detail.
    static void reportError(const std::u16string& detail);
    // Reports the exception being handled; call it from a catch block.
    static void reportCurrentException();

private:
    std::unique_ptr<ApplicationPeer> m_peer;
};

} // namespace forms
