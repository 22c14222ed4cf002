#include "about/curl_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

namespace {

const CurlLibrary *loadCurl()
{
    // libcurl's interface 4: libcurl.so.4, or on Windows the DLL shipped
    // beside the program under the name MinGW gives it, by its full path: a
    // bare name would also be looked for in the working folder, which any
    // user can write to.
#ifdef Q_OS_WIN
    static QLibrary library(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("libcurl-4.dll")));
#else
    static QLibrary library(QStringLiteral("curl"), 4);
#endif
    if (!library.load())
        return nullptr;
    static CurlLibrary curl;
    bool complete = true;
    const auto resolve = [&complete](auto &function, const char *name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(library.resolve(name));
        complete = complete && function;
    };
#define FERROX_CURL_RESOLVE(name) resolve(curl.name, "curl_" #name);
    FERROX_CURL_FUNCTIONS(FERROX_CURL_RESOLVE)
#undef FERROX_CURL_RESOLVE
    if (!complete || curl.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return nullptr;
    return &curl;
}

const CurlLibrary *&currentLibrary()
{
    static const CurlLibrary *library = loadCurl();
    return library;
}

} // namespace

const CurlLibrary *curlLibrary()
{
    return currentLibrary();
}

void replaceCurlLibrary(const CurlLibrary *library)
{
    currentLibrary() = library;
}
