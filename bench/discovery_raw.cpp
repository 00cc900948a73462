// The reference receiver: one plain socket on the find window's port with the same receive
// buffer asked, a blocking read loop and nothing else. It sends the same search broadcast. The
// same source is the Winsock reference of the Windows build.
// Usage: discovery_raw COUNT RECEIVE_BUFFER_ASKED QUIET_MS
// Prints: answers TIME_MS CPU_MS GRANTED_BUFFER (time and CPU from the search to the last answer).
#include <cstdio>
#include <cstdlib>
#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using Socket = SOCKET;
using Length = int;
using Option = char;
#define close closesocket
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
using Socket = int;
using Length = socklen_t;
using Option = int;
#endif

#include "bench/discovery_run.h"
#include "bench/measure.h"
#include "discovery/message.h"

namespace {

// Reads one datagram, waiting at most `wait_ms` for it; false when none came. On Linux the
// reference waits in poll, as it always has; under Wine WSAPoll costs about 2 ms a call, so the
// Windows one waits in recv with a time limit.
bool read_one(Socket fd, int wait_ms)
{
    char buffer[2048];
#ifdef _WIN32
    static int limit = -1;
    if (limit != wait_ms) {
        const DWORD ms = static_cast<DWORD>(wait_ms);
        setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms);
        limit = wait_ms;
    }
    return recv(fd, buffer, sizeof buffer, 0) > 0;
#else
    pollfd waiting{fd, POLLIN, 0};
    return poll(&waiting, 1, wait_ms) > 0 && recv(fd, buffer, sizeof buffer, 0) > 0;
#endif
}

} // namespace

int main(int argc, char** argv)
{
    const std::optional<bench::DiscoveryRun> run = bench::discovery_run(argc, argv);
    if (!run) return 2;
    const int expected = run->expected;
    int asked = run->asked;
    const int quiet_ms = run->quiet_ms;
#ifdef _WIN32
    WSADATA winsock{};
    WSAStartup(MAKEWORD(2, 2), &winsock);
#endif

    const Socket fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(60000);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(fd, reinterpret_cast<sockaddr*>(&local), sizeof local) != 0) {
        std::perror("bind");
        return 1;
    }
    setsockopt(fd, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const Option*>(&asked), sizeof asked);
    int granted = 0;
    Length size = sizeof granted;
    getsockopt(fd, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<Option*>(&granted), &size);
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const Option*>(&on), sizeof on);

    sockaddr_in modules{};
    modules.sin_family = AF_INET;
    modules.sin_port = htons(50000);
    modules.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    const zk::Bytes search = zk::discovery::encode(zk::discovery::SearchRequest{});

    const bench::Mark start;
    auto last_answer = start.wall;
    sendto(fd, reinterpret_cast<const char*>(search.data()), static_cast<int>(search.size()), 0,
           reinterpret_cast<sockaddr*>(&modules), sizeof modules);
    int answers = 0;
    int wait_ms = quiet_ms + 2000; // the first answer may take a moment
    while (answers < expected && read_one(fd, wait_ms)) {
        ++answers;
        last_answer = std::chrono::steady_clock::now();
        wait_ms = quiet_ms;
    }
    // Waiting out the quiet time after a loss costs no CPU: the process sleeps.
    const bench::Mark end;
    const double ms = std::chrono::duration<double, std::milli>(last_answer - start.wall).count();
    bench::print_discovery(answers, ms, end.cpu_ms_since(start), granted);
    close(fd);
    return 0;
}
