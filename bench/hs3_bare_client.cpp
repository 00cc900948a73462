// The reference for zkctl's bulk work: a bare client that sends each command frame and waits for
// one answer from the host it asked before it sends the next, with nothing else around it (no
// answer rule, no repeats, no event loop). Answers go to port 16006, as every controller sends
// them, so it binds that port.
// Usage: hs3_bare_client cards FIRST COUNT HOST   (card registrations FIRST, FIRST+1, ...)
//        hs3_bare_client frames FILE HOST...      (each line of FILE one frame in hex, to each
//                                                  host in turn)
// Prints the exchanges made; exits 1 when an answer does not come within a second.
#include <arpa/inet.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <variant>
#include <vector>

#include "base/values.h"
#include "bench/inet_address.h"
#include "protocol/hs3_frame.h"
#include "protocol/request.h"

namespace {

constexpr int hs3_port = 16006;

// Sends each frame to each host, one answer awaited from that host per frame.
int exchange(const std::vector<zk::Bytes>& frames, const std::vector<const char*>& hosts)
{
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    const sockaddr_in local = bench::address_of("0.0.0.0", hs3_port);
    if (bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        std::perror("hs3_bare_client: bind 16006");
        return 1;
    }
    unsigned char buffer[2048];
    int exchanges = 0;
    for (const char* host : hosts) {
        const sockaddr_in to = bench::address_of(host, hs3_port);
        for (const zk::Bytes& frame : frames) {
            sendto(fd, frame.data(), frame.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                   sizeof to);
            for (;;) {
                pollfd waiting{fd, POLLIN, 0};
                sockaddr_in from{};
                socklen_t size = sizeof from;
                if (poll(&waiting, 1, 1000) <= 0 ||
                    recvfrom(fd, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from),
                             &size) <= 0) {
                    std::fprintf(stderr, "hs3_bare_client: no answer from %s\n", host);
                    return 1;
                }
                if (from.sin_addr.s_addr == to.sin_addr.s_addr) break;
            }
            ++exchanges;
        }
    }
    std::printf("%d\n", exchanges);
    return 0;
}

std::vector<zk::Bytes> card_frames(std::uint32_t first, int count)
{
    std::vector<zk::Bytes> frames;
    for (int i = 0; i < count; ++i)
        frames.push_back(*zk::protocol::wrap_frame(zk::protocol::encode_request(
            zk::protocol::RegisterCard{first + static_cast<unsigned>(i)})));
    return frames;
}

std::vector<zk::Bytes> file_frames(const char* path)
{
    std::vector<zk::Bytes> frames;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        auto parsed = zk::parse_hex_bytes(line);
        if (auto* bytes = std::get_if<zk::Bytes>(&parsed); bytes && !bytes->empty())
            frames.push_back(std::move(*bytes));
    }
    return frames;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "cards" && argc == 5)
        return exchange(card_frames(static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)),
                                    std::atoi(argv[3])),
                        {argv[4]});
    if (mode == "frames" && argc >= 4) {
        const std::vector<zk::Bytes> frames = file_frames(argv[2]);
        if (frames.empty()) {
            std::fprintf(stderr, "hs3_bare_client: no frames in %s\n", argv[2]);
            return 2;
        }
        return exchange(frames, std::vector<const char*>(argv + 3, argv + argc));
    }
    std::fprintf(stderr, "usage: hs3_bare_client cards FIRST COUNT HOST | hs3_bare_client frames "
                         "FILE HOST...\n");
    return 2;
}
