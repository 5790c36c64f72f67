// The wall clock of what the user waits for, read from the X server: starts
// a program, and reports when the screen stopped changing after its start and
// after each key it is sent, from the DAMAGE events of the root window (every
// window draws into the screen on Xvfb, so every drawing shows there).
//   x_clock [--quiet MS] [--rounds N] [--warmup KEY] [--prep KEY] [--key KEY]
//           -- PROGRAM [ARG...]
// Prints, with --key, one line "key MICROSECONDS" for each of N rounds:
// the key (a keysym name such as F2) is sent through XTEST and timed until
// the last drawing before the quiet. --warmup sends a key once before the
// rounds, --prep one before each round, untimed, each followed by quiet. The program is ended with
// SIGTERM.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    int quietMs = 300;
    int rounds = 0;
    std::string warmup;
    std::string prep;
    std::string key;
    char **program = nullptr;
};

std::optional<Options> parse(int argc, char **argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--" && i + 1 < argc) {
            o.program = argv + i + 1;
            return o;
        }
        if (i + 1 >= argc)
            return std::nullopt;
        if (arg == "--quiet")
            o.quietMs = std::atoi(argv[++i]);
        else if (arg == "--rounds")
            o.rounds = std::atoi(argv[++i]);
        else if (arg == "--warmup")
            o.warmup = argv[++i];
        else if (arg == "--prep")
            o.prep = argv[++i];
        else if (arg == "--key")
            o.key = argv[++i];
        else
            return std::nullopt;
    }
    return std::nullopt;
}

class DamageWatch {
public:
    bool open() {
        display = XOpenDisplay(nullptr);
        int error = 0;
        int major = 0, minor = 0;
        if (!display || !XDamageQueryExtension(display, &damageEvent, &error) ||
            !XTestQueryExtension(display, &error, &error, &major, &minor))
            return false;
        XDamageCreate(display, DefaultRootWindow(display), XDamageReportRawRectangles);
        XSync(display, False);
        drain();
        return true;
    }

    // Waits until nothing was drawn for `quiet`, or `limit` passed without a
    // first drawing; returns the time of the last drawing, if any.
    std::optional<Clock::time_point> lastDrawing(std::chrono::milliseconds quiet,
                                                 std::chrono::milliseconds limit) {
        std::optional<Clock::time_point> last;
        const Clock::time_point start = Clock::now();
        for (;;) {
            const Clock::time_point deadline = last ? *last + quiet : start + limit;
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (!XPending(display)) {
                if (left.count() <= 0)
                    return last;
                pollfd fd{ConnectionNumber(display), POLLIN, 0};
                poll(&fd, 1, int(left.count()) + 1);
                if (!XPending(display))
                    continue;
            }
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == damageEvent + XDamageNotify)
                last = Clock::now();
        }
    }

    bool sendKey(const std::string &name) {
        const KeySym sym = XStringToKeysym(name.c_str());
        const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
        if (code == 0)
            return false;
        XTestFakeKeyEvent(display, code, True, CurrentTime);
        XTestFakeKeyEvent(display, code, False, CurrentTime);
        XFlush(display);
        return true;
    }

private:
    void drain() {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
        }
    }

    Display *display = nullptr;
    int damageEvent = 0;
};

long micros(Clock::duration d) {
    return long(std::chrono::duration_cast<std::chrono::microseconds>(d).count());
}

rusage stop(pid_t child) {
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return usage;
}

long micros(const timeval &t) {
    return long(t.tv_sec) * 1000000 + long(t.tv_usec);
}

} // namespace

int main(int argc, char **argv) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "usage: x_clock [--quiet MS] [--rounds N] [--warmup KEY] [--prep KEY] "
                             "[--key KEY] -- PROGRAM [ARG...]\n");
        return 2;
    }
    DamageWatch screen;
    if (!screen.open()) {
        std::fprintf(stderr, "x_clock: no X display with DAMAGE and XTEST\n");
        return 1;
    }
    const std::chrono::milliseconds quiet(options->quietMs);
    const std::chrono::milliseconds limit(10000);
    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(options->program[0], options->program);
        _exit(127);
    }
    const auto shown = screen.lastDrawing(quiet, limit);
    if (!shown) {
        std::fprintf(stderr, "x_clock: %s drew nothing\n", options->program[0]);
        stop(child);
        return 1;
    }
    const long startUs = micros(*shown - start);
    bool ok = true;
    if (!options->warmup.empty()) {
        ok = screen.sendKey(options->warmup);
        screen.lastDrawing(quiet, limit);
    }
    for (int round = 0; ok && round < options->rounds; ++round) {
        if (!options->prep.empty()) {
            ok = screen.sendKey(options->prep);
            screen.lastDrawing(quiet, quiet);
        }
        const Clock::time_point sent = Clock::now();
        ok = ok && screen.sendKey(options->key);
        const auto drawn = ok ? screen.lastDrawing(quiet, limit) : std::nullopt;
        if (!drawn) {
            std::fprintf(stderr, "x_clock: nothing drawn after key %s\n", options->key.c_str());
            ok = false;
            break;
        }
        std::printf("key %ld\n", micros(*drawn - sent));
    }
    const rusage usage = stop(child);
    std::printf("start %ld %ld %ld\n", startUs, usage.ru_maxrss,
                micros(usage.ru_utime) + micros(usage.ru_stime));
    return ok ? 0 : 1;
}
