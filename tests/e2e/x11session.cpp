#include "x11session.h"

#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QThread::msleep(20);
    }
    return true;
}

X11Session::X11Session() = default;

X11Session::~X11Session() {
    stop();
}

void X11Session::stop() {
    for (auto* p : {m_wm.get(), m_xvfb.get()}) {
        if (p && p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
            p->waitForFinished(1000);
        }
    }
}

QString X11Session::start() {
    // Servers starting at the same moment (other test sessions) can take a new server's socket
    // away from under its window manager, which then cannot connect: start afresh.
    QString error;
    for (int attempt = 0; attempt < 3; ++attempt) {
        error = startOnce();
        if (error.isEmpty())
            return {};
        stop();
    }
    return error;
}

QString X11Session::startOnce() {
    m_runtimeDir = std::make_unique<QTemporaryDir>();
    if (!m_runtimeDir->isValid())
        return "cannot create a runtime directory";
    QFile::setPermissions(m_runtimeDir->path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // Xvfb picks a free display itself and names it once it accepts connections; choosing one by
    // its lock file races with another session starting at the same moment.
    m_xvfb = std::make_unique<QProcess>();
    m_xvfb->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_xvfb->start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
    if (!m_xvfb->waitForStarted(5000))
        return "Xvfb did not start (is the package xvfb installed?)";
    const auto named = [&] {
        return m_xvfb->canReadLine() || (m_xvfb->waitForReadyRead(100) && m_xvfb->canReadLine());
    };
    if (!waitUntil(named, 10000))
        return "Xvfb did not name its display";
    m_display = ":" + QString::fromLatin1(m_xvfb->readLine()).trimmed();

    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert("DISPLAY", m_display);
    m_env.insert("QT_QPA_PLATFORM", "xcb");
    m_env.insert("LANG", "C.UTF-8");
    m_env.insert("XDG_RUNTIME_DIR", m_runtimeDir->path());
    m_env.remove("WAYLAND_DISPLAY");
    m_env.remove("XAUTHORITY");
    m_env.remove("QT_LOGGING_RULES");

    const bool up = waitUntil(
        [&] {
            return run("xdpyinfo", {}, 2000).exitCode == 0 ||
                   m_xvfb->state() == QProcess::NotRunning;
        },
        10000);
    if (!up || m_xvfb->state() == QProcess::NotRunning)
        return "Xvfb did not accept connections on " + m_display;

    m_wm = std::make_unique<QProcess>();
    m_wm->setProcessEnvironment(m_env);
    m_wm->setStandardOutputFile(QProcess::nullDevice());
    m_wm->setStandardErrorFile(QProcess::nullDevice());
    m_wm->start("openbox", {"--sm-disable"});
    if (!m_wm->waitForStarted(5000))
        return "openbox did not start";
    if (!waitUntil(
            [&] {
                return run("xprop", {"-root", "_NET_SUPPORTING_WM_CHECK"})
                           .out.contains("window id") ||
                       m_wm->state() == QProcess::NotRunning;
            },
            30000)) // a busy machine may take a while
        return "openbox did not take over the display";
    if (m_wm->state() == QProcess::NotRunning)
        return "openbox could not connect to " + m_display;

    // Cyrillic typing needs a second keyboard group; the first switch after start can drop letters.
    run("setxkbmap", {"-layout", "us,ru"});
    xdotool({"key", "ISO_Next_Group", "ISO_Prev_Group"});
    return {};
}

X11Session::Result X11Session::run(const QString& program, const QStringList& args,
                                   int timeoutMs) const {
    QProcess p;
    p.setProcessEnvironment(m_env);
    p.start(program, args);
    Result r;
    if (!p.waitForStarted(5000))
        return r;
    r.finished = p.waitForFinished(timeoutMs);
    if (!r.finished) {
        p.kill();
        p.waitForFinished(1000);
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}

QString X11Session::findWindow(const QString& titleRegex) const {
    const auto r = xdotool({"search", "--onlyvisible", "--name", titleRegex});
    const auto lines = QString::fromUtf8(r.out).split('\n', Qt::SkipEmptyParts);
    return lines.isEmpty() ? QString() : lines.first().trimmed();
}

QRect X11Session::clientGeometry(const QString& window) const {
    if (window.isEmpty())
        return {}; // xwininfo without an id waits for a click
    const QString info = QString::fromUtf8(run("xwininfo", {"-id", window}).out);
    auto field = [&](const char* name) {
        const QRegularExpression re(
            QString("%1:\\s+(-?\\d+)").arg(QRegularExpression::escape(name)));
        const auto m = re.match(info);
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    };
    return QRect(field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"),
                 field("Height"));
}

QRect X11Session::frameGeometry(const QString& window) const {
    if (window.isEmpty())
        return {};
    const QString tree = QString::fromUtf8(run("xwininfo", {"-id", window, "-tree"}).out);
    const auto m = QRegularExpression("Parent window id: (0x[0-9a-f]+)").match(tree);
    return m.hasMatch() ? clientGeometry(m.captured(1)) : QRect();
}

bool X11Session::isMinimized(const QString& window) const {
    if (window.isEmpty())
        return false;
    const auto out = run("xprop", {"-id", window, "WM_STATE", "_NET_WM_STATE"}).out;
    return out.contains("Iconic") || out.contains("_NET_WM_STATE_HIDDEN");
}

bool X11Session::isViewable(const QString& window) const {
    if (window.isEmpty())
        return false;
    return run("xwininfo", {"-id", window}).out.contains("IsViewable");
}

QByteArray X11Session::clipboard() const {
    return run("xclip", {"-o", "-selection", "clipboard", "-target", "UTF8_STRING"}, 3000).out;
}

void X11Session::setClipboard(const QByteArray& text) const {
    QProcess xclip;
    xclip.setProcessEnvironment(m_env);
    xclip.start("xclip", {"-i", "-selection", "clipboard"});
    xclip.waitForStarted(3000);
    xclip.write(text);
    xclip.closeWriteChannel();
    xclip.waitForFinished(3000);
}

bool X11Session::clipboardHasOwner() const {
    return run("xclip", {"-o", "-selection", "clipboard", "-target", "TARGETS"}, 3000).exitCode ==
           0;
}

QImage X11Session::screenshot() const {
    const auto r = run("import", {"-window", "root", "png:-"}, 10000);
    return QImage::fromData(r.out, "PNG");
}

void X11Session::moveMouse(QPoint p) const {
    xdotool({"mousemove", "--sync", QString::number(p.x()), QString::number(p.y())});
}

void X11Session::hover(QPoint p) const {
    moveMouse(p + QPoint(3, 1));
    QThread::msleep(60);
    moveMouse(p);
}

void X11Session::click(QPoint p, int button) const {
    hover(p);
    QThread::msleep(30);
    xdotool({"click", QString::number(button)});
}

void X11Session::key(const QString& keys) const {
    xdotool({"key", "--clearmodifiers", keys});
}

void X11Session::type(const QString& text) const {
    xdotool({"type", "--", text});
}

void X11Session::focus(const QString& window) const {
    xdotool({"windowactivate", "--sync", window});
    xdotool({"windowfocus", "--sync", window});
}
