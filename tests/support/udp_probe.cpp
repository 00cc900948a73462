#include "support/udp_probe.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include "net/dispatcher.h"
#include "support/wait.h"

namespace zk::test {

namespace {

#ifdef _WIN32
using Socket = SOCKET;
using SendLength = int; // Winsock counts a datagram's bytes in an int
int poll_one(Socket socket, int timeout_ms)
{
    WSAPOLLFD entry{socket, POLLRDNORM, 0};
    return ::WSAPoll(&entry, 1, timeout_ms);
}
void close_socket(Socket socket)
{
    ::closesocket(socket);
}
#else
using Socket = int;
using SendLength = std::size_t;
int poll_one(Socket socket, int timeout_ms)
{
    pollfd entry{socket, POLLIN, 0};
    return ::poll(&entry, 1, timeout_ms);
}
void close_socket(Socket socket)
{
    ::close(socket);
}
#endif

sockaddr_in loopback(const std::string& address, std::uint16_t port)
{
    sockaddr_in in{};
    in.sin_family = AF_INET;
    in.sin_port = htons(port);
    ::inet_pton(AF_INET, address.c_str(), &in.sin_addr);
    return in;
}

} // namespace

UdpProbe::UdpProbe(std::uint16_t port) : self_(std::make_shared<UdpProbe*>(this))
{
    const Socket socket = ::socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in address = loopback("127.0.0.1", port);
    socklen_t length = sizeof address;
    if (::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close_socket(socket);
        return;
    }
    socket_ = static_cast<std::intptr_t>(socket);
    port_ = ntohs(address.sin_port);
    reader_ = std::thread([this, dispatcher = Dispatcher::of_this_thread()] {
        while (!stop_) {
            if (poll_one(static_cast<Socket>(socket_), 20) <= 0) continue;
            char bytes[65536];
            sockaddr_in from{};
            socklen_t from_length = sizeof from;
            const auto size = ::recvfrom(static_cast<Socket>(socket_), bytes, sizeof bytes, 0,
                                         reinterpret_cast<sockaddr*>(&from), &from_length);
            if (size < 0) continue;
            char text[INET_ADDRSTRLEN] = {};
            ::inet_ntop(AF_INET, &from.sin_addr, text, sizeof text);
            dispatcher->post([self = self_, data = Bytes(bytes, bytes + size),
                              sender = std::string(text), sender_port = ntohs(from.sin_port)] {
                if (!*self) return;
                (*self)->received.push_back(data);
                (*self)->sender_addresses.push_back(sender);
                (*self)->sender_ports.push_back(sender_port);
            });
        }
    });
}

UdpProbe::~UdpProbe()
{
    *self_ = nullptr;
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    if (socket_ != -1) close_socket(static_cast<Socket>(socket_));
}

void UdpProbe::send_to(std::uint16_t port, const Bytes& data)
{
    send_to("127.0.0.1", port, data);
}

void UdpProbe::send_to(const std::string& address, std::uint16_t port, const Bytes& data)
{
    const sockaddr_in to = loopback(address, port);
    ::sendto(static_cast<Socket>(socket_), reinterpret_cast<const char*>(data.data()),
             static_cast<SendLength>(data.size()), 0, reinterpret_cast<const sockaddr*>(&to),
             sizeof to);
}

bool UdpProbe::wait_for(std::size_t count, std::chrono::milliseconds limit)
{
    return wait_until([&] { return received.size() >= count; }, limit);
}

} // namespace zk::test
