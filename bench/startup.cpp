// Start-up of the program against a bare main window with a menu bar: from
// launch to the first exposed frame, and peak resident memory (VmHWM). The
// two are launched in alternating pairs, each pair in the other order than
// the one before, so that drift on a busy machine falls on both alike; the
// figures are medians of the per-pair ratios. Both run on the offscreen
// platform in an empty folder (no settings file).
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
    const int pairs = argc > 1 ? std::max(10, std::atoi(argv[1])) : 15;
    char folder[] = "/tmp/bench_startup_XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0)
        return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    launch(BARE_WINDOW_PROBE); // caches warm for both
    launch(PROGRAM_PROBE);
    std::vector<double> programTimes, bareTimes, timeRatios, programPeaks, barePeaks, peakRatios;
    for (int pair = 0; pair < pairs; ++pair) {
        Launch program{}, bare{};
        if (pair % 2 == 0) {
            bare = launch(BARE_WINDOW_PROBE);
            program = launch(PROGRAM_PROBE);
        } else {
            program = launch(PROGRAM_PROBE);
            bare = launch(BARE_WINDOW_PROBE);
        }
        programTimes.push_back(program.milliseconds);
        bareTimes.push_back(bare.milliseconds);
        timeRatios.push_back(program.milliseconds / bare.milliseconds);
        programPeaks.push_back(program.megabytes);
        barePeaks.push_back(bare.megabytes);
        peakRatios.push_back(program.megabytes / bare.megabytes);
    }
    rmdir(folder);

    printRow("start-up to first frame, program", median(programTimes), "ms", "");
    printRow("start-up to first frame, bare window", median(bareTimes), "ms", "");
    printRow("start-up ratio (median of pairs)", median(timeRatios), "x", "<= 1.10");
    printRow("peak memory VmHWM, program", median(programPeaks), "MB", "");
    printRow("peak memory VmHWM, bare window", median(barePeaks), "MB", "");
    printRow("peak memory ratio (median of pairs)", median(peakRatios), "x", "<= 1.10");
    return 0;
}
