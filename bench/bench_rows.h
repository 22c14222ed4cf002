#pragma once

#include <algorithm>
#include <cstdio>
#include <vector>

// The program's arguments with "-platform offscreen" put in front, so that
// in-process figures are measured without a window system; `count` is
// their number, for QApplication.
inline std::vector<char *> offscreenArguments(int argc, char *argv[], int &count)
{
    static char platform[] = "-platform", offscreen[] = "offscreen";
    std::vector<char *> arguments(argv, argv + argc);
    arguments.insert(arguments.begin() + 1, {platform, offscreen});
    count = int(arguments.size());
    return arguments;
}

// One figure of a benchmark as a tab-separated row: what, value, unit, goal.
inline void printRow(const char *figure, double value, const char *unit, const char *goal)
{
    std::printf("%s\t%.*f\t%s\t%s\n", figure, value < 10 ? 3 : 1, value, unit, goal);
    std::fflush(stdout);
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

inline double percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(share * double(values.size())))];
}
