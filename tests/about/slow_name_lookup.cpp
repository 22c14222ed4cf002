// Preloaded into a test: every name lookup takes three seconds and then
// fails, so nothing is ever asked of a name server.
#include <netdb.h>
#include <unistd.h>

extern "C" int getaddrinfo(const char *, const char *, const addrinfo *, addrinfo **)
{
    sleep(3);
    return EAI_NONAME;
}
