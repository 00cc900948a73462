#pragma once
// A plain Qt socket on a free loopback port that records what reaches it and can send raw bytes,
// standing in for the far side of an exchange.
#include <QUdpSocket>
#include <chrono>
#include <functional>
#include <vector>

#include "base/bytes.h"

namespace zk::test {

// Runs the event loop until `done` holds or the time is up; returns done().
bool wait_until(const std::function<bool()>& done,
                std::chrono::milliseconds limit = std::chrono::milliseconds(3000));

// Runs the event loop for a while so that anything in flight arrives.
void settle(std::chrono::milliseconds time = std::chrono::milliseconds(100));

class UdpProbe
{
public:
    // Binds 127.0.0.1 on a free port (or `port` when given).
    explicit UdpProbe(quint16 port = 0);

    quint16 port() const { return socket_.localPort(); }
    // Sends raw bytes to 127.0.0.1:port.
    void send_to(quint16 port, const Bytes& data);
    // Sends raw bytes to address:port (another loopback address, say).
    void send_to(const QString& address, quint16 port, const Bytes& data);
    // Waits for at least `count` datagrams in total.
    bool wait_for(std::size_t count, std::chrono::milliseconds limit = std::chrono::seconds(3));

    std::vector<Bytes> received;
    std::vector<quint16> sender_ports;
    std::vector<QString> sender_addresses;

private:
    QUdpSocket socket_;
};

} // namespace zk::test
