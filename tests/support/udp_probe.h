#pragma once
// A plain socket on a free loopback port that records what reaches it and can send raw bytes,
// standing in for the far side of an exchange. It shares no code with the endpoint under test:
// a thread of its own reads, and hands each datagram to the test thread's dispatcher, so what
// arrived shows up while the test waits (support/wait.h).
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "base/bytes.h"
#include "net/winsock_use.h"

namespace zk::test {

class UdpProbe
{
public:
    // Binds 127.0.0.1 on a free port (or `port` when given; port() then tells whether it could).
    explicit UdpProbe(std::uint16_t port = 0);
    ~UdpProbe();
    UdpProbe(const UdpProbe&) = delete;
    UdpProbe& operator=(const UdpProbe&) = delete;

    std::uint16_t port() const { return port_; }
    // Sends raw bytes to 127.0.0.1:port.
    void send_to(std::uint16_t port, const Bytes& data);
    // Sends raw bytes to address:port (another loopback address, say).
    void send_to(const std::string& address, std::uint16_t port, const Bytes& data);
    // Waits for at least `count` datagrams in total.
    bool wait_for(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(3));

    std::vector<Bytes> received;
    std::vector<std::uint16_t> sender_ports;
    std::vector<std::string> sender_addresses;

private:
    void read();

    WinsockUse winsock_;
    std::intptr_t socket_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::shared_ptr<UdpProbe*> self_; // cleared when the probe goes; posted arrivals check it
    std::thread reader_;
};

} // namespace zk::test
