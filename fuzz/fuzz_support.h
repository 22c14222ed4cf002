#pragma once

#include <QString>
#include <cstdio>
#include <cstdlib>

// A property every input must keep: a broken one is reported with the values
// involved and ends the run as a crash, so libFuzzer keeps the input.
#define FUZZ_REQUIRE(condition, ...)                                                                                   \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "broken: %s\n", #condition);                                                         \
            std::fprintf(stderr, __VA_ARGS__);                                                                         \
            std::fputc('\n', stderr);                                                                                  \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

inline const char *printable(const QString &text)
{
    thread_local QByteArray bytes;
    bytes = text.toUtf8();
    return bytes.constData();
}
