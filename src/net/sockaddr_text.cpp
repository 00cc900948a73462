#include "net/sockaddr_text.h"

#ifdef _WIN32
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <cstring>

#include "base/ipv4_text.h"

namespace zk {

std::string sockaddr_ipv4_text(const sockaddr* address)
{
    if (!address || address->sa_family != AF_INET) return {};
    Ipv4Bytes bytes{}; // in network order, the first byte first
    std::memcpy(bytes.data(), &reinterpret_cast<const sockaddr_in*>(address)->sin_addr,
                bytes.size());
    return ipv4_text(bytes);
}

} // namespace zk
