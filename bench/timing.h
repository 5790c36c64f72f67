// Timing a command the way a benchmark table reports it: several runs, the
// median and the range of the wall clock beside the process's CPU time, and
// the target with its verdict, one line per measure:
//   search at its widest: wall 12.3 ms (11.9–14.0), CPU 12.1 ms; target < 50 ms (stretch 20): met
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

namespace bench {

struct Figures {
    double wallMedian = 0, wallLowest = 0, wallHighest = 0, cpuMedian = 0; // milliseconds
};

inline double cpuNow() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Runs `command` once to warm up, then `runs` times.
template <class Command> Figures timeRuns(int runs, Command command) {
    command();
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuNow();
        command();
        cpu.push_back(cpuNow() - cpuStart);
        wall.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    return {median(wall), *std::min_element(wall.begin(), wall.end()),
            *std::max_element(wall.begin(), wall.end()), median(cpu)};
}

// One line of the table; a target of 0: none.
inline void report(const char *measure, const Figures &f, double targetMs, double stretchMs = 0) {
    if (targetMs <= 0) {
        qInfo("%s: wall %.2f ms (%.2f–%.2f), CPU %.2f ms", measure, f.wallMedian, f.wallLowest,
              f.wallHighest, f.cpuMedian);
        return;
    }
    const char *verdict = f.wallMedian >= targetMs                    ? "MISSED"
                          : stretchMs > 0 && f.wallMedian < stretchMs ? "met, stretch met"
                                                                      : "met";
    qInfo("%s: wall %.2f ms (%.2f–%.2f), CPU %.2f ms; target < %g ms%s: %s", measure, f.wallMedian,
          f.wallLowest, f.wallHighest, f.cpuMedian, targetMs,
          stretchMs > 0 ? qPrintable(QStringLiteral(" (stretch %1)").arg(stretchMs)) : "", verdict);
}

} // namespace bench
