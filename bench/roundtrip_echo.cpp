// The reference round trip: the same request frame to a bare UDP echo and back.
// Usage: roundtrip_echo serve PORT | roundtrip_echo ask ADDRESS PORT TIMES
// "ask" prints: MEDIAN_US MIN_US MAX_US
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "bench/inet_address.h"
#include "bench/measure.h"
#include "bench/summary.h"
#include "protocol/hs3_frame.h"
#include "protocol/request.h"

namespace {

int serve(int port)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in local = bench::address_of("0.0.0.0", port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        std::perror("bind");
        return 1;
    }
    unsigned char buffer[2048];
    for (;;) {
        sockaddr_in from{};
        socklen_t size = sizeof from;
        const ssize_t got =
            recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &size);
        if (got > 0)
            sendto(fd, buffer, static_cast<size_t>(got), 0, reinterpret_cast<sockaddr*>(&from),
                   size);
    }
}

int ask(const char* host, int port, int times)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in echo = bench::address_of(host, port);
    const zk::Bytes frame =
        *zk::protocol::wrap_frame(zk::protocol::encode_request(zk::protocol::ReadVolume{}));
    unsigned char buffer[2048];
    std::vector<double> samples;
    for (int i = 0; i < times; ++i) {
        const bench::Mark start;
        sendto(fd, frame.data(), frame.size(), 0, reinterpret_cast<const sockaddr*>(&echo),
               sizeof echo);
        pollfd waiting{fd, POLLIN, 0};
        if (poll(&waiting, 1, 1000) <= 0 || recv(fd, buffer, sizeof buffer, 0) <= 0) {
            std::fprintf(stderr, "roundtrip_echo: no answer\n");
            return 1;
        }
        samples.push_back(bench::Mark::now().ms_since(start) * 1000.0);
    }
    bench::print_summary(samples);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "serve") return serve(std::atoi(argv[2]));
    if (argc == 5 && std::string_view(argv[1]) == "ask")
        return ask(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    std::fprintf(stderr,
                 "usage: roundtrip_echo serve PORT | roundtrip_echo ask ADDRESS PORT TIMES\n");
    return 2;
}
