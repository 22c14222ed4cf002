// Start-up of the program against two yardsticks: a bare main window with a
// menu bar, and a window with the same standard controls in the same face
// placed the plain Qt way, which shows what the program's own work costs.
// From launch to the first exposed frame, and peak resident memory (VmHWM).
// The three are launched in rounds, each round in another order, so that
// drift on a busy machine falls on all alike; the figures are medians, the
// ratios medians of the per-round ratios. All run on the offscreen platform
// in an empty folder (no settings file).
#include "bench_rows.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Launch
{
    double milliseconds;
    double megabytes;
};

long long monotonicNanoseconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long long)now.tv_sec * 1000000000LL + now.tv_nsec;
}

Launch launch(const char *program)
{
    int output[2];
    if (pipe(output) != 0)
        std::exit(2);
    const long long started = monotonicNanoseconds();
    const pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        close(output[1]);
        execl(program, program, nullptr);
        _exit(127);
    }
    close(output[1]);
    std::string text;
    char buffer[256];
    for (ssize_t got; (got = read(output[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(got));
    close(output[0]);
    int status = 0;
    waitpid(child, &status, 0);
    long long frame = 0, peak = 0;
    if (std::sscanf(text.c_str(), "frame_ns=%lld vmhwm_kb=%lld", &frame, &peak) != 2) {
        std::fprintf(stderr, "%s reported no frame: %s\n", program, text.c_str());
        std::exit(1);
    }
    return {double(frame - started) / 1e6, double(peak) / 1024.0};
}

} // namespace

int main(int argc, char *argv[])
{
    const int rounds = argc > 1 ? std::max(10, std::atoi(argv[1])) : 15;
    char folder[] = "/tmp/bench_startup_XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0)
        return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    enum { Program, Plain, Bare, Count };
    const char *probes[Count] = {PROGRAM_PROBE, PLAIN_CONTROLS_PROBE, BARE_WINDOW_PROBE};
    for (const char *probe : probes)
        launch(probe); // caches warm for all
    std::vector<double> times[Count], peaks[Count], timeRatios[Count], peakRatios[Count];
    for (int round = 0; round < rounds; ++round) {
        Launch launched[Count];
        for (int step = 0; step < Count; ++step) {
            const int which = (round + (round % 2 ? Count - 1 - step : step)) % Count;
            launched[which] = launch(probes[which]);
        }
        for (int which = 0; which < Count; ++which) {
            times[which].push_back(launched[which].milliseconds);
            peaks[which].push_back(launched[which].megabytes);
            timeRatios[which].push_back(launched[Program].milliseconds / launched[which].milliseconds);
            peakRatios[which].push_back(launched[Program].megabytes / launched[which].megabytes);
        }
    }
    rmdir(folder);

    printRow("start-up to first frame, program", median(times[Program]), "ms", "");
    printRow("start-up to first frame, same controls placed plainly", median(times[Plain]), "ms", "");
    printRow("start-up to first frame, bare window", median(times[Bare]), "ms", "");
    printRow("start-up ratio to the same controls (median)", median(timeRatios[Plain]), "x", "<= 1.05");
    printRow("start-up ratio to the bare window (median)", median(timeRatios[Bare]), "x", "<= 1.10");
    printRow("peak memory VmHWM, program", median(peaks[Program]), "MB", "");
    printRow("peak memory VmHWM, bare window", median(peaks[Bare]), "MB", "");
    printRow("peak memory ratio to the same controls (median)", median(peakRatios[Plain]), "x", "<= 1.05");
    printRow("peak memory ratio to the bare window (median)", median(peakRatios[Bare]), "x", "<= 1.10");
    return 0;
}
