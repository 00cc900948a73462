#include "support/qt_udp_probe.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkDatagram>

namespace zk::test {

bool wait_until(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < limit.count())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

void settle(std::chrono::milliseconds time)
{
    wait_until([] { return false; }, time);
}

UdpProbe::UdpProbe(quint16 port)
{
    socket_.bind(QHostAddress::LocalHost, port);
    QObject::connect(&socket_, &QUdpSocket::readyRead, [this] {
        while (socket_.hasPendingDatagrams()) {
            const QNetworkDatagram datagram = socket_.receiveDatagram();
            const QByteArray data = datagram.data();
            received.emplace_back(data.begin(), data.end());
            sender_ports.push_back(static_cast<quint16>(datagram.senderPort()));
            sender_addresses.push_back(datagram.senderAddress().toString());
        }
    });
}

void UdpProbe::send_to(quint16 port, const Bytes& data)
{
    send_to("127.0.0.1", port, data);
}

void UdpProbe::send_to(const QString& address, quint16 port, const Bytes& data)
{
    socket_.writeDatagram(reinterpret_cast<const char*>(data.data()),
                          static_cast<qint64>(data.size()), QHostAddress(address), port);
}

bool UdpProbe::wait_for(std::size_t count, std::chrono::milliseconds limit)
{
    return wait_until([&] { return received.size() >= count; }, limit);
}

} // namespace zk::test
