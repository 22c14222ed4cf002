#pragma once

#include <curl/curl.h>

// The part of libcurl the browser view uses, loaded when the first page is
// requested rather than when the program starts: libcurl and the two dozen
// libraries it brings are needed only once the About window checks for a
// newer version, and loading them at start-up made the program start slower
// and larger than it need be.
//
// Each function is named once, here: X(name) stands for curl_<name>.
#define FERROX_CURL_FUNCTIONS(X)                                                                                       \
    X(global_init)                                                                                                     \
    X(multi_init)                                                                                                      \
    X(multi_setopt)                                                                                                    \
    X(multi_add_handle)                                                                                                \
    X(multi_remove_handle)                                                                                             \
    X(multi_socket_action)                                                                                             \
    X(multi_info_read)                                                                                                 \
    X(multi_cleanup)                                                                                                   \
    X(easy_init)                                                                                                       \
    X(easy_setopt)                                                                                                     \
    X(easy_getinfo)                                                                                                    \
    X(easy_cleanup)

struct CurlLibrary
{
#define FERROX_CURL_DECLARE(name) decltype(&curl_##name) name = nullptr;
    FERROX_CURL_FUNCTIONS(FERROX_CURL_DECLARE)
#undef FERROX_CURL_DECLARE
};

// libcurl, loaded and initialised on the first call; nullptr when it cannot
// be loaded (then no page can be, and every load fails).
const CurlLibrary *curlLibrary();

// Makes later loads use `library` instead (nullptr: as if libcurl were
// missing), so that tests can play a libcurl that refuses a setting. Call it
// only while no load is in flight.
void replaceCurlLibrary(const CurlLibrary *library);
