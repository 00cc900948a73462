// zkconfig's endpoint alone, without handlers or list: what the receiving thread and the
// hand-over to the event loop cost. Same arguments and output as discovery_raw.
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

#include "bench/measure.h"
#include "discovery/config_datagram.h"
#include "runtime/datagram_endpoint.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: discovery_endpoint COUNT RECEIVE_BUFFER_ASKED QUIET_MS\n");
        return 2;
    }
    const int expected = std::atoi(argv[1]);
    const int quiet_ms = std::atoi(argv[3]);
    QCoreApplication app(argc, argv);
    zk::DatagramEndpoint endpoint(60000, "0.0.0.0", zk::PortUse::exclusive, std::atoi(argv[2]));
    int answers = 0;
    QTimer quiet;
    quiet.setSingleShot(true);
    QObject::connect(&quiet, &QTimer::timeout, &app, &QCoreApplication::quit);
    const bench::Mark start;
    auto last_answer = start.wall;
    endpoint.on_datagram([&](zk::ByteView) {
        ++answers;
        last_answer = std::chrono::steady_clock::now();
        if (answers >= expected)
            QCoreApplication::quit();
        else
            quiet.start(quiet_ms);
    });
    endpoint.send("", 50000, zk::discovery::search_request());
    quiet.start(quiet_ms + 2000);
    QCoreApplication::exec();
    // Waiting out the quiet time after a loss costs next to no CPU: the threads sleep.
    const bench::Mark end;
    const double ms = std::chrono::duration<double, std::milli>(last_answer - start.wall).count();
    std::printf("%d %.1f %.1f %d\n", answers, ms, end.cpu_ms_since(start),
                endpoint.receive_buffer_size());
    return 0;
}
