// How many of a burst of search replies survive while the program is busy for a moment: the
// replies all arrive before anyone reads any of them. Prints one line per receiver.
#include <arpa/inet.h>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "net/datagram_endpoint.h"
#include "net/event_loop.h"

namespace {

constexpr int burst = 1000;
constexpr int reply_size = 285;

sockaddr_in loopback(int port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    return address;
}

void send_burst(int port)
{
    const int sender = ::socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in to = loopback(port);
    const std::vector<char> reply(reply_size, '\x84');
    for (int i = 0; i < burst; ++i)
        ::sendto(sender, reply.data(), reply.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                 sizeof to);
    ::close(sender);
}

void report(const char* receiver, int buffer, int received)
{
    std::printf("%-28s buffer %8d bytes  received %4d of %d  lost %5.1f %%\n", receiver, buffer,
                received, burst, 100.0 * (burst - received) / burst);
}

} // namespace

int main()
{
    // A plain socket with the system's default buffer, read only after the burst.
    const int plain = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    ::bind(plain, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    ::getsockname(plain, reinterpret_cast<sockaddr*>(&address), &length);
    send_burst(ntohs(address.sin_port));
    int plain_received = 0;
    char bytes[2048];
    while (::recv(plain, bytes, sizeof bytes, 0) > 0)
        ++plain_received;
    int buffer = 0;
    length = sizeof buffer;
    ::getsockopt(plain, SOL_SOCKET, SO_RCVBUF, &buffer, &length);
    ::close(plain);
    report("socket with default buffer", buffer, plain_received);

    zk::EventLoop loop;
    zk::DatagramEndpoint endpoint(0);
    int endpoint_received = 0;
    endpoint.on_datagram([&](zk::ByteView) { ++endpoint_received; });
    send_burst(endpoint.local_port());
    loop.run_until([] { return false; },
                   std::chrono::steady_clock::now() + std::chrono::milliseconds(300));
    report("datagram endpoint", endpoint.receive_buffer_size(), endpoint_received);
    return 0;
}
