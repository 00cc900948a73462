#include "net/winsock_use.h"

#ifdef _WIN32
#include <winsock2.h>
#endif

namespace zk {

#ifdef _WIN32

WinsockUse::WinsockUse()
{
    WSADATA data{};
    started_ = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

WinsockUse::~WinsockUse()
{
    if (started_) ::WSACleanup();
}

#else

WinsockUse::WinsockUse() = default;
WinsockUse::~WinsockUse() = default;

#endif

} // namespace zk
