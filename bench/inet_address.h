#pragma once
// A dotted IPv4 address and port as the socket calls of the bench's plain programs take them.
#include <arpa/inet.h>
#include <cstdint>
#include <netinet/in.h>

namespace bench {

inline sockaddr_in address_of(const char* host, int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    inet_pton(AF_INET, host, &address.sin_addr);
    return address;
}

} // namespace bench
