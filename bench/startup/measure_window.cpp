// Starts a program on the current X display and reports, as one line of key=value pairs:
//   map_ms     time from fork until its first top-level window is mapped
//   peak_kib   the process's peak resident memory (VmHWM) once the window has settled
//   idle_cpu_ms, idle_wakeups   CPU time and context switches of all its threads over the idle
//              period, with the pointer parked in the screen's corner; --settle waits that
//              long after the window has settled before the idle period starts
// Usage: measure_window [--settle SECONDS] [--idle SECONDS] PROGRAM [ARGS...]
#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

long statusField(const std::string& path, const char* key) {
    std::ifstream in(path);
    std::string line;
    const size_t n = std::strlen(key);
    while (std::getline(in, line))
        if (line.compare(0, n, key) == 0)
            return std::strtol(line.c_str() + n + 1, nullptr, 10);
    return 0;
}

struct Usage {
    long cpuTicks = 0;
    long switches = 0;
};

// Sums over every thread: Qt's X connection has a reader thread of its own.
Usage usageOf(pid_t pid) {
    Usage u;
    const std::string taskDir = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = opendir(taskDir.c_str());
    if (!dir)
        return u;
    while (dirent* e = readdir(dir)) {
        if (e->d_name[0] == '.')
            continue;
        const std::string base = taskDir + "/" + e->d_name;
        u.switches += statusField(base + "/status", "voluntary_ctxt_switches:");
        u.switches += statusField(base + "/status", "nonvoluntary_ctxt_switches:");
        std::ifstream stat(base + "/stat");
        std::string all((std::istreambuf_iterator<char>(stat)), {});
        const auto close = all.rfind(')');
        if (close == std::string::npos)
            continue;
        std::istringstream fields(all.substr(close + 2));
        std::string f;
        long utime = 0, stime = 0;
        for (int i = 3; i <= 15 && fields >> f; ++i) {
            if (i == 14)
                utime = std::stol(f);
            if (i == 15)
                stime = std::stol(f);
        }
        u.cpuTicks += utime + stime;
    }
    closedir(dir);
    return u;
}

} // namespace

int main(int argc, char** argv) {
    int idleSeconds = 0;
    int settleSeconds = 0;
    int first = 1;
    while (first + 1 < argc && argv[first][0] == '-') {
        if (std::strcmp(argv[first], "--idle") == 0)
            idleSeconds = std::atoi(argv[first + 1]);
        else if (std::strcmp(argv[first], "--settle") == 0)
            settleSeconds = std::atoi(argv[first + 1]);
        else
            break;
        first += 2;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: measure_window [--settle SECONDS] [--idle SECONDS] PROGRAM "
                             "[ARGS...]\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "measure_window: cannot open the X display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(dpy);
    XWarpPointer(dpy, None, root, 0, 0, 0, 0, 0, 0);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[first], argv + first);
        _exit(127);
    }

    double mapMs = -1;
    const int fd = ConnectionNumber(dpy);
    while (mapMs < 0 && Clock::now() - start < std::chrono::seconds(20)) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify && !ev.xmap.override_redirect) {
                mapMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
                break;
            }
        }
        if (mapMs < 0) {
            pollfd p{fd, POLLIN, 0};
            poll(&p, 1, 50);
        }
    }

    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    const long peak = statusField("/proc/" + std::to_string(pid) + "/status", "VmHWM:");
    std::printf("map_ms=%.1f peak_kib=%ld", mapMs, peak);

    if (idleSeconds > 0) {
        std::this_thread::sleep_for(std::chrono::seconds(settleSeconds));
        const Usage before = usageOf(pid);
        std::this_thread::sleep_for(std::chrono::seconds(idleSeconds));
        const Usage after = usageOf(pid);
        std::printf(" idle_cpu_ms=%ld idle_wakeups=%ld",
                    (after.cpuTicks - before.cpuTicks) * 1000 / sysconf(_SC_CLK_TCK),
                    after.switches - before.switches);
    }
    std::printf("\n");

    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    XCloseDisplay(dpy);
    return mapMs < 0 ? 1 : 0;
}
