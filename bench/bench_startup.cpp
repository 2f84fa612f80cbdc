// SPDX-License-Identifier: BSD-2-Clause
/*
 * Start-up benchmark: how long the program takes from process start until
 * its window is mapped, and until it has ended after Alt+Q, for scripts of
 * 10, 1,000 and 10,000 commands, and a save of 10,000; with the peak memory
 * of each, all next to the floor, a minimal Qt Widgets program that is
 * shown and quit the same way.
 *
 * usage: bench_startup [PROGRAM FLOOR [RUNS]]
 *
 * Without arguments it measures the program and the floor of its own build
 * tree, 15 runs each (what scripts/bench does), the cases taking turns.
 *
 * Runs in a temporary home (tests/with-home.sh, which sets QVX_TEST_HOME)
 * and starts its own Xvfb.  The programs are told nothing: the map is seen
 * as an X event, keys go in as real input through xdotool.
 */
#include "../tests/xvfb.h"

#include <X11/Xlib.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

struct Sample
{
    double shown = 0; // ms from fork to MapNotify
    double total = 0; // ms from fork to the end of the process
    double save = 0; // ms from Alt+S to the new script in place
    double cpu = 0; // ms of processor time, user and system: robust on a busy machine
    long rssKb = 0; // peak resident set size
};

struct Case
{
    const char *name;
    const char *program;
    int commands; // -1: the floor, which reads no script
    bool save;
};

[[noreturn]] void die(const char *what)
{
    std::fprintf(stderr, "bench_startup: %s%s%s\n", what, errno ? ": " : "",
                 errno ? std::strerror(errno) : "");
    std::exit(1);
}

double nowMs()
{
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void quietStdio()
{
    int fd = open("/dev/null", O_RDWR);
    if (fd >= 0) {
        dup2(fd, 0);
        dup2(fd, 1);
        dup2(fd, 2);
        close(fd);
    }
}

/* Runs a command to its end; xdotool types the keys as real input. */
void runTool(const char *const argv[])
{
    pid_t pid = fork();
    if (pid == -1)
        die("fork()");
    if (pid == 0) {
        quietStdio();
        execvp(argv[0], const_cast<char *const *>(argv));
        _exit(127);
    }
    int status;
    if (waitpid(pid, &status, 0) == -1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        die("xdotool failed (is it installed?)");
}

void pressKey(const char *key)
{
    const char *argv[] = { "xdotool", "key", key, nullptr };
    runTool(argv);
}

void writeScript(const std::string &path, int n)
{
    FILE *f = std::fopen(path.c_str(), "w");
    if (!f)
        die("cannot write the script");
    std::fputs("#!/bin/sh\n", f);
    for (int i = 0; i < n; i++)
        std::fprintf(f, "%s/usr/local/bin/command-%05d --option=%d --verbose&\n",
                     i % 10 == 3 ? "#[INACTIVE]#" : "", i, i * 7);
    if (std::fclose(f) != 0)
        die("cannot write the script");
}

ino_t inodeOf(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

/* Waits up to ms for a top-level window to be mapped; 0 if none was. */
Window waitForMap(Display *dpy, pid_t child, double ms)
{
    double deadline = nowMs() + ms;
    while (nowMs() < deadline) {
        while (XPending(dpy)) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            if (ev.type == MapNotify && !ev.xmap.override_redirect)
                return ev.xmap.window;
        }
        if (waitpid(child, nullptr, WNOHANG) == child)
            return 0;
        pollfd p = { ConnectionNumber(dpy), POLLIN, 0 };
        poll(&p, 1, 5);
    }
    return 0;
}

/* Waits for the child and takes its peak memory; false on a time-out. */
bool waitForExit(pid_t child, double ms, rusage *ru, int *status)
{
    double deadline = nowMs() + ms;
    for (;;) {
        pid_t r = wait4(child, status, WNOHANG, ru);
        if (r == child)
            return true;
        if (r == -1)
            die("wait4()");
        if (nowMs() > deadline)
            return false;
        usleep(200);
    }
}

bool runOnce(Display *dpy, const Case &c, const std::string &script, Sample *s)
{
    XSync(dpy, False);
    while (XPending(dpy)) {
        XEvent ev;
        XNextEvent(dpy, &ev);
    }
    double t0 = nowMs();
    pid_t child = fork();
    if (child == -1)
        die("fork()");
    if (child == 0) {
        quietStdio();
        execl(c.program, c.program, (char *)nullptr);
        _exit(127);
    }
    Window w = waitForMap(dpy, child, 120000);
    if (!w) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::fprintf(stderr, "bench_startup: %s: no window was shown\n", c.name);
        return false;
    }
    s->shown = nowMs() - t0;

    // Without a window manager the window is made active by hand.
    XSetInputFocus(dpy, w, RevertToPointerRoot, CurrentTime);
    XSync(dpy, False);

    if (c.save) {
        ino_t before = inodeOf(script);
        double ts = nowMs();
        pressKey("alt+s");
        // The store renames a new file over the script: a new inode.
        while (inodeOf(script) == before) {
            if (nowMs() - ts > 120000) {
                kill(child, SIGKILL);
                waitpid(child, nullptr, 0);
                std::fprintf(stderr, "bench_startup: %s: the script was not saved\n", c.name);
                return false;
            }
            usleep(200);
        }
        s->save = nowMs() - ts;
    }

    pressKey("alt+q");
    rusage ru;
    int status;
    if (!waitForExit(child, 120000, &ru, &status)) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        std::fprintf(stderr, "bench_startup: %s: did not end after Alt+Q\n", c.name);
        return false;
    }
    s->total = nowMs() - t0;
    s->rssKb = ru.ru_maxrss; // kilobytes on Linux and FreeBSD
    s->cpu = (ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) * 1e3
        + (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e3;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "bench_startup: %s: exit status %d\n", c.name, status);
        return false;
    }
    return true;
}

template<typename F> double median(std::vector<Sample> v, F field)
{
    std::sort(v.begin(), v.end(),
              [&](const Sample &a, const Sample &b) { return field(a) < field(b); });
    return field(v[v.size() / 2]);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 2 || argc > 4) {
        std::fprintf(stderr, "usage: bench_startup [PROGRAM FLOOR [RUNS]]\n");
        return 2;
    }
    const char *program = argc > 1 ? argv[1] : QVX_BENCH_PROGRAM;
    const char *floorProgram = argc > 1 ? argv[2] : QVX_BENCH_FLOOR;
    const char *home = std::getenv("QVX_TEST_HOME");
    if (!home)
        die("run me through tests/with-home.sh: I write the script of a temporary home");
    int runs = argc == 4 ? std::atoi(argv[3]) : 15;
    if (runs < 1)
        runs = 1;

    std::string dir = std::string(home) + "/.config/QVX";
    mkdir((std::string(home) + "/.config").c_str(), 0700);
    mkdir(dir.c_str(), 0700);
    std::string script = dir + "/autostart.sh";
    if (const char *top = std::getenv("QVX_TEST_DIR")) // fontconfig's cache, not in HOME
        setenv("XDG_CACHE_HOME", (std::string(top) + "/cache").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("QT_XCB_GL_INTEGRATION", "none", 1);

    xvfb_server xvfb = xvfb_start("1280x1024x24");
    if (xvfb.pid == -1)
        die("Xvfb did not start (is it installed?)");
    setenv("DISPLAY", xvfb.display.c_str(), 1);
    Display *dpy = nullptr;
    for (int i = 0; i < 100 && !dpy; i++) {
        dpy = XOpenDisplay(nullptr);
        if (!dpy)
            usleep(50000);
    }
    if (!dpy)
        die("cannot open the Xvfb display");
    XSelectInput(dpy, DefaultRootWindow(dpy), SubstructureNotifyMask);

    const Case cases[] = {
        { "floor", floorProgram, -1, false },       { "10 commands", program, 10, false },
        { "1,000 commands", program, 1000, false }, { "10,000 commands", program, 10000, false },
        { "save of 10,000", program, 10000, true },
    };
    std::printf("start-up, median of %d runs, the cases in turn; shown: start to window mapped; "
                "total: start to "
                "end after Alt+Q;\ncpu: user and system time of the process; ratio: to the "
                "floor\n",
                runs);
    std::printf("%-16s %9s %6s %9s %6s %9s %6s %9s %6s %9s\n", "case", "shown ms", "ratio",
                "total ms", "ratio", "cpu ms", "ratio", "peak KB", "ratio", "save ms");
    double floorShown = 0, floorTotal = 0, floorCpu = 0, floorRss = 0;
    int failed = 0;
    // The cases take turns, one run each, so that a load that comes and
    // goes on the machine meets the floor as much as the program.
    const int caseCount = int(sizeof(cases) / sizeof(cases[0]));
    std::vector<std::vector<Sample>> samples(caseCount);
    std::vector<bool> ok(caseCount, true);
    for (int i = 0; i <= runs; i++) {
        for (int k = 0; k < caseCount; k++) {
            const Case &c = cases[k];
            if (!ok[k])
                continue;
            if (c.commands >= 0)
                writeScript(script, c.commands);
            Sample s;
            ok[k] = runOnce(dpy, c, script, &s);
            if (i > 0) // the first round warms the caches; not counted
                samples[k].push_back(s);
        }
        if (!ok[0]) {
            std::fprintf(stderr, "bench_startup: the floor failed; nothing to compare with\n");
            return 1;
        }
    }
    for (int k = 0; k < caseCount; k++) {
        const Case &c = cases[k];
        if (!ok[k]) {
            failed++;
            continue;
        }
        const std::vector<Sample> &v = samples[k];
        double shown = median(v, [](const Sample &x) { return x.shown; });
        double total = median(v, [](const Sample &x) { return x.total; });
        double cpu = median(v, [](const Sample &x) { return x.cpu; });
        double rss = median(v, [](const Sample &x) { return double(x.rssKb); });
        double save = median(v, [](const Sample &x) { return x.save; });
        if (c.commands < 0) {
            floorShown = shown;
            floorTotal = total;
            floorCpu = cpu;
            floorRss = rss;
        }
        std::printf("%-16s %9.1f %6.2f %9.1f %6.2f %9.1f %6.2f %9.0f %6.2f", c.name, shown,
                    shown / floorShown, total, total / floorTotal, cpu, cpu / floorCpu, rss,
                    rss / floorRss);
        if (c.save)
            std::printf(" %9.1f", save);
        std::printf("\n");
        std::fflush(stdout);
    }

    XCloseDisplay(dpy);
    xvfb_stop(xvfb);
    return failed ? 1 : 0;
}
