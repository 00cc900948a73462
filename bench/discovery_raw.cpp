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
#include <sys/socket.h>
#include <unistd.h>
using Socket = int;
using Length = socklen_t;
using Option = int;
#endif

#include "bench/discovery_run.h"
#include "bench/measure.h"
#include "discovery/config_datagram.h"

namespace {

void set_read_limit(Socket fd, int ms)
{
#ifdef _WIN32
    const DWORD limit = static_cast<DWORD>(ms);
#else
    const timeval limit{ms / 1000, (ms % 1000) * 1000};
#endif
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const Option*>(&limit), sizeof limit);
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
    const zk::Bytes search = zk::discovery::search_request();

    const bench::Mark start;
    auto last_answer = start.wall;
    sendto(fd, reinterpret_cast<const char*>(search.data()), static_cast<int>(search.size()), 0,
           reinterpret_cast<sockaddr*>(&modules), sizeof modules);
    int answers = 0;
    char buffer[2048];
    // A blocking read with the wait as its time limit: the first answer may take a moment.
    set_read_limit(fd, quiet_ms + 2000);
    while (answers < expected && recv(fd, buffer, sizeof buffer, 0) > 0) {
        if (answers++ == 0) set_read_limit(fd, quiet_ms);
        last_answer = std::chrono::steady_clock::now();
    }
    // Waiting out the quiet time after a loss costs no CPU: the process sleeps in recv.
    const bench::Mark end;
    const double ms = std::chrono::duration<double, std::milli>(last_answer - start.wall).count();
    bench::print_discovery(answers, ms, end.cpu_ms_since(start), granted);
    close(fd);
    return 0;
}
