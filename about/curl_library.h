#pragma once

#include <curl/curl.h>

// The part of libcurl the browser view uses, loaded when the first page is
// requested rather than when the program starts: libcurl and the two dozen
// libraries it brings are needed only once the About window checks for a
// newer version, and loading them at start-up made the program start slower
// and larger than it need be.
struct CurlLibrary
{
    decltype(&curl_global_init) global_init;
    decltype(&curl_multi_init) multi_init;
    decltype(&curl_multi_setopt) multi_setopt;
    decltype(&curl_multi_add_handle) multi_add_handle;
    decltype(&curl_multi_remove_handle) multi_remove_handle;
    decltype(&curl_multi_socket_action) multi_socket_action;
    decltype(&curl_multi_info_read) multi_info_read;
    decltype(&curl_multi_cleanup) multi_cleanup;
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_cleanup) easy_cleanup;
};

// libcurl, loaded and initialised on the first call; nullptr when it cannot
// be loaded (then no page can be, and every load fails).
const CurlLibrary *curlLibrary();
