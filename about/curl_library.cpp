#include "about/curl_library.h"

#include <QLibrary>

namespace {

const CurlLibrary *loadCurl()
{
    // libcurl's interface 4: libcurl.so.4, or on Windows the DLL shipped
    // beside the program under the name MinGW gives it.
#ifdef Q_OS_WIN
    static QLibrary library(QStringLiteral("libcurl-4"));
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
    resolve(curl.global_init, "curl_global_init");
    resolve(curl.multi_init, "curl_multi_init");
    resolve(curl.multi_setopt, "curl_multi_setopt");
    resolve(curl.multi_add_handle, "curl_multi_add_handle");
    resolve(curl.multi_remove_handle, "curl_multi_remove_handle");
    resolve(curl.multi_socket_action, "curl_multi_socket_action");
    resolve(curl.multi_info_read, "curl_multi_info_read");
    resolve(curl.multi_cleanup, "curl_multi_cleanup");
    resolve(curl.easy_init, "curl_easy_init");
    resolve(curl.easy_setopt, "curl_easy_setopt");
    resolve(curl.easy_getinfo, "curl_easy_getinfo");
    resolve(curl.easy_cleanup, "curl_easy_cleanup");
    if (!complete || curl.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK)
        return nullptr;
    return &curl;
}

} // namespace

const CurlLibrary *curlLibrary()
{
    static const CurlLibrary *const curl = loadCurl();
    return curl;
}
