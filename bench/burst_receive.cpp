// How many of a burst of search replies survive while the program is busy for a moment: the
// replies all arrive before the event loop gets to read any of them. Prints one line per receiver.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QVariant>
#include <cstdio>

#include "net/datagram_endpoint.h"

namespace {

constexpr int burst = 1000;
constexpr int reply_size = 285;

void send_burst(quint16 port)
{
    QUdpSocket sender;
    const QByteArray reply(reply_size, '\x84');
    for (int i = 0; i < burst; ++i)
        sender.writeDatagram(reply, QHostAddress::LocalHost, port);
}

void drain_for(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

void report(const char* receiver, int buffer, int received)
{
    std::printf("%-28s buffer %8d bytes  received %4d of %d  lost %5.1f %%\n", receiver, buffer,
                received, burst, 100.0 * (burst - received) / burst);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);

    QUdpSocket plain;
    plain.bind(QHostAddress::AnyIPv4, 0, QAbstractSocket::DontShareAddress);
    int plain_received = 0;
    QObject::connect(&plain, &QUdpSocket::readyRead, [&] {
        while (plain.hasPendingDatagrams())
            plain_received += plain.receiveDatagram().data().isEmpty() ? 0 : 1;
    });
    send_burst(plain.localPort());
    drain_for(300);
    report("socket with default buffer",
           plain.socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption).toInt(),
           plain_received);

    zk::DatagramEndpoint endpoint(0);
    int endpoint_received = 0;
    endpoint.on_datagram([&](zk::ByteView) { ++endpoint_received; });
    send_burst(static_cast<quint16>(endpoint.local_port()));
    drain_for(300);
    report("datagram endpoint", endpoint.receive_buffer_size(), endpoint_received);
    return 0;
}
