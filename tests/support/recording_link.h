#pragma once
// A window link that records what is sent; the test hands datagrams in through `deliver`.
#include <functional>
#include <map>
#include <memory>

#include "net/datagram_link.h"
#include "support/recording_sender.h"

namespace zk::test {

class RecordingLink final : public DatagramLink
{
public:
    explicit RecordingLink(std::function<void(ByteView)> to_window) : deliver(std::move(to_window))
    {}
    bool send(std::string_view address, int port, ByteView data) override
    {
        return recorder.send(address, port, data);
    }
    bool is_bound() const override { return bound; }
    void set_broadcast_interface(int index) override { interface_index = index; }
    void gather_bursts(BurstTest of_a_burst) override { bursts = of_a_burst; }

    RecordingSender recorder;
    std::function<void(ByteView)> deliver;
    bool bound = true;
    int interface_index = -1;
    BurstTest bursts = nullptr;
};

// Opens recording links and keeps them by port while their windows live.
struct RecordingLinks
{
    std::map<int, RecordingLink*> by_port;
    bool bound = true;

    OpenLink opener()
    {
        return [this](int port, std::function<void(ByteView)> deliver) {
            auto link = std::make_unique<RecordingLink>(std::move(deliver));
            link->bound = bound;
            by_port[port] = link.get();
            return std::unique_ptr<DatagramLink>(std::move(link));
        };
    }
};

} // namespace zk::test
