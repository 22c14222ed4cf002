#pragma once

#include <optional>

// The program's two information options, answered before any window or
// display is needed: `--version` prints the product name and version,
// `--help` a short usage. Any other argument is ignored.
// Returns the exit status once an option has been answered on standard
// output, or nothing when the window is to open.
std::optional<int> answerInformationOption(int argc, char *argv[]);
