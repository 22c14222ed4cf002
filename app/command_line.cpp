#include "app/command_line.h"

#include "core/identity.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

QByteArray versionText()
{
    return QByteArray(identity::productName) + ' ' + identity::localVersionText().toLatin1() + '\n';
}

QByteArray helpText()
{
    const QByteArray program = identity::programFileName;
    return "Usage: " + program + " [--help | --version]\n"
        + identity::productName + ": the maximum speed of a train around a curve.\n"
        "Without an option it opens its window; other arguments are ignored.\n"
        "\n"
        "  --help     show this help and exit\n"
        "  --version  show the product name and version and exit\n"
        "\n"
        "Files:\n"
        "  KDM.cfg    the units and the window position, in the working directory\n"
        "             (the directory the program is started from; from the\n"
        "             desktop's application menu: $XDG_CONFIG_HOME/" + program + ",\n"
        "             by default ~/.config/" + program + ")\n";
}

} // namespace

std::optional<int> answerInformationOption(int argc, char *argv[])
{
    QByteArray answer;
    for (int index = 1; index < argc && answer.isEmpty(); ++index) {
        if (std::strcmp(argv[index], "--help") == 0)
            answer = helpText();
        else if (std::strcmp(argv[index], "--version") == 0)
            answer = versionText();
    }
    if (answer.isEmpty())
        return std::nullopt;
    // An answer that could not be written in full (a closed pipe, a full
    // disk) is a failure, as with any command-line tool.
    const bool written = std::fwrite(answer.constData(), 1, std::size_t(answer.size()), stdout) == std::size_t(answer.size());
    return written && std::fflush(stdout) == 0 ? EXIT_SUCCESS : EXIT_FAILURE;
}
