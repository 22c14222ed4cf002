// The title taken from a document body, on any body and Content-Type header:
// never a crash or a hang, and always a title as a browser gives it, free of
// HTML white space at either end and of runs of it inside.
#include "about/html_title.h"
#include "fuzz_support.h"

#include <QGuiApplication>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    // Qt's HTML reader lays out text, which needs a GUI application.
    static int argc = 3;
    static char arg0[] = "fuzz_html_title", arg1[] = "-platform", arg2[] = "offscreen";
    static char *argv[] = {arg0, arg1, arg2, nullptr};
    static QGuiApplication application(argc, argv);
    return 0;
}

namespace {

bool isHtmlWhiteSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r';
}

} // namespace

// The input is the Content-Type header, a line feed, and the body; without a
// line feed it is all body.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\n');
    const QByteArray contentType = split < 0 ? QByteArray() : input.left(split);
    const QByteArray body = split < 0 ? input : input.mid(split + 1);

    const QString title = htmlDocumentTitle(body, contentType);
    if (title.isEmpty())
        return 0;
    FUZZ_REQUIRE(!isHtmlWhiteSpace(title.front()) && !isHtmlWhiteSpace(title.back()), "title \"%s\"", printable(title));
    for (qsizetype at = 0; at < title.size(); ++at) {
        FUZZ_REQUIRE(title[at] == u' ' || !isHtmlWhiteSpace(title[at]), "title \"%s\"", printable(title));
        FUZZ_REQUIRE(at == 0 || title[at] != u' ' || title[at - 1] != u' ', "title \"%s\"", printable(title));
    }
    return 0;
}
