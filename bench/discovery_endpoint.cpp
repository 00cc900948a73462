// zkconfig's endpoint alone, without handlers or list: what the receiving thread and the
// hand-over to the event loop cost. Same arguments and output as discovery_raw.
#include <cstdio>

#include "bench/discovery_run.h"
#include "bench/measure.h"
#include "discovery/config_datagram.h"
#include "discovery/message.h"
#include "net/datagram_endpoint.h"
#include "net/event_loop.h"

int main(int argc, char** argv)
{
    const std::optional<bench::DiscoveryRun> run = bench::discovery_run(argc, argv);
    if (!run) return 2;
    const int expected = run->expected;
    const int quiet_ms = run->quiet_ms;
    zk::EventLoop loop;
    zk::DatagramEndpoint endpoint(60000, "0.0.0.0", zk::PortUse::exclusive, run->asked);
    endpoint.gather_bursts(zk::discovery::comes_in_bursts);
    int answers = 0;
    zk::Timer quiet;
    const auto quit = [&loop] { loop.quit(); };
    const bench::Mark start;
    auto last_answer = start.wall;
    endpoint.on_datagram([&](zk::ByteView) {
        ++answers;
        last_answer = std::chrono::steady_clock::now();
        if (answers >= expected)
            loop.quit();
        else
            quiet.start(std::chrono::milliseconds(quiet_ms), quit);
    });
    endpoint.send("", 50000, zk::discovery::encode(zk::discovery::SearchRequest{}));
    quiet.start(std::chrono::milliseconds(quiet_ms + 2000), quit);
    loop.run();
    // Waiting out the quiet time after a loss costs next to no CPU: the threads sleep.
    const bench::Mark end;
    const double ms = std::chrono::duration<double, std::milli>(last_answer - start.wall).count();
    bench::print_discovery(answers, ms, end.cpu_ms_since(start), endpoint.receive_buffer_size());
    return 0;
}
