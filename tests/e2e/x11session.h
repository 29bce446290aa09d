#pragma once

#include <QByteArray>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>

// A private X server (Xvfb) with a small window manager, and the outside tools a person's hands
// and eyes stand for: xdotool for keys and the mouse, xclip for the clipboard, xwininfo and xprop
// for window state, ImageMagick's import for screenshots.
class X11Session {
public:
    X11Session();
    ~X11Session();
    X11Session(const X11Session&) = delete;
    X11Session& operator=(const X11Session&) = delete;

    // Starts Xvfb on a free display and openbox on it; empty on success, else what went wrong.
    QString start();
    // Ends the window manager and the server.
    void stop();
    QString display() const { return m_display; }
    QProcessEnvironment environment() const { return m_env; }
    // Sets a variable for the tools and the programs started with environment() from now on.
    void setVariable(const QString& name, const QString& value) { m_env.insert(name, value); }

    struct Result {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
        bool finished = false;
    };
    // Runs a tool on the session's display and waits for it (at most timeoutMs).
    Result run(const QString& program, const QStringList& args, int timeoutMs = 10000) const;
    Result xdotool(const QStringList& args) const { return run("xdotool", args); }

    // The first window whose title matches the regular expression, or empty.
    QString findWindow(const QString& titleRegex) const;
    // The client area in root coordinates, as xwininfo reports it.
    QRect clientGeometry(const QString& window) const;
    // The window manager's frame around it (the client's parent window).
    QRect frameGeometry(const QString& window) const;
    bool isMinimized(const QString& window) const;
    bool isViewable(const QString& window) const;
    QByteArray clipboard() const;
    // Puts UTF-8 text on the clipboard, as another program would (xclip keeps serving it).
    void setClipboard(const QByteArray& text) const;
    bool clipboardHasOwner() const;
    QImage screenshot() const;

    void moveMouse(QPoint p) const;
    // Moves near the point, pauses, then lands: Qt ignores a move to where it last saw the
    // cursor and merges motion that arrives together.
    void hover(QPoint p) const;
    void click(QPoint p, int button = 1) const;
    void key(const QString& keys) const;
    void type(const QString& text) const;
    void focus(const QString& window) const;

private:
    QString startOnce();

    QString m_display;
    QProcessEnvironment m_env;
    std::unique_ptr<QTemporaryDir> m_runtimeDir;
    std::unique_ptr<QProcess> m_xvfb;
    std::unique_ptr<QProcess> m_wm;
};

// Polls a condition every 20 ms until it holds or the time is up.
bool waitUntil(const std::function<bool()>& condition, int timeoutMs);
