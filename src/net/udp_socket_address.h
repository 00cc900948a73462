#pragma once
// What both halves of the UDP socket share: the system's address structure both ways, and the
// limits they work within.
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netinet/in.h>
#endif

#include "net/udp_socket.h"

namespace zk::detail {

// The largest UDP payload over IPv4.
constexpr std::size_t largest_datagram = 65'507;
// A full send buffer (a simulator answering thousands at once) is waited out this long.
constexpr int send_wait_ms = 200;

inline sockaddr_in socket_address(SocketAddress address)
{
    sockaddr_in in{};
    in.sin_family = AF_INET;
    in.sin_addr.s_addr = htonl(address.address);
    in.sin_port = htons(address.port);
    return in;
}

inline SocketAddress from_sockaddr(const sockaddr_in& in)
{
    return {ntohl(in.sin_addr.s_addr), ntohs(in.sin_port)};
}

} // namespace zk::detail
