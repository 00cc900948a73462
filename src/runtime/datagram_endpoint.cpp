#include "runtime/datagram_endpoint.h"

#include <QHostAddress>
#include <QHostInfo>
#include <QNetworkDatagram>
#include <QUdpSocket>
#include <QVariant>
#include <optional>

namespace zk {

namespace {

// Large enough for a burst of a thousand 285-byte search replies while the program is busy.
constexpr int wanted_receive_buffer = 4 * 1024 * 1024;

std::optional<QHostAddress> resolve_ipv4(std::string_view address)
{
    const QString text = QString::fromUtf8(address.data(), static_cast<qsizetype>(address.size()));
    QHostAddress literal;
    if (literal.setAddress(text) && literal.protocol() == QAbstractSocket::IPv4Protocol)
        return literal;
    const QHostInfo info = QHostInfo::fromName(text);
    for (const QHostAddress& candidate : info.addresses()) {
        if (candidate.protocol() == QAbstractSocket::IPv4Protocol) return candidate;
    }
    return std::nullopt;
}

// Dotted IPv4 text, also for IPv4-mapped IPv6 forms; empty for a null address.
std::string dotted(const QHostAddress& address)
{
    if (address.isNull()) return {};
    bool is_v4 = false;
    const quint32 v4 = address.toIPv4Address(&is_v4);
    return is_v4 ? QHostAddress(v4).toString().toStdString() : address.toString().toStdString();
}

} // namespace

DatagramEndpoint::DatagramEndpoint(int local_port) : DatagramEndpoint(local_port, "0.0.0.0") {}

DatagramEndpoint::DatagramEndpoint(int local_port, std::string_view bind_address, PortUse use)
    : socket_(std::make_unique<QUdpSocket>()), requested_port_(local_port < 0 ? 1 : local_port)
{
    QHostAddress local;
    const QString text =
        QString::fromUtf8(bind_address.data(), static_cast<qsizetype>(bind_address.size()));
    if (!local.setAddress(text) || local.protocol() != QAbstractSocket::IPv4Protocol) return;
    const auto sharing =
        use == PortUse::shared ? QAbstractSocket::ShareAddress : QAbstractSocket::DontShareAddress;
    bound_ = socket_->bind(local, static_cast<quint16>(requested_port_), sharing);
    if (!bound_) return;
    // Asked before the bind, Qt drops the request without a word; after it, the kernel grants
    // what its limits allow.
    socket_->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, wanted_receive_buffer);
    QObject::connect(socket_.get(), &QUdpSocket::readyRead, [this] { drain(); });
}

DatagramEndpoint::~DatagramEndpoint()
{
    *alive_ = false;
    socket_->disconnect();
    socket_->close();
    // Destroyed from its own handler: the socket is still inside its readyRead emission, so it
    // may only go once control is back in the event loop.
    if (delivering_) socket_.release()->deleteLater();
}

bool DatagramEndpoint::is_bound() const
{
    return bound_;
}

int DatagramEndpoint::local_port() const
{
    return bound_ ? socket_->localPort() : requested_port_;
}

int DatagramEndpoint::receive_buffer_size() const
{
    if (!bound_) return 0;
    return socket_->socketOption(QAbstractSocket::ReceiveBufferSizeSocketOption).toInt();
}

void DatagramEndpoint::on_datagram(Handler handler)
{
    handler_ = std::move(handler);
}

ByteView DatagramEndpoint::received() const
{
    return current_;
}

Peer DatagramEndpoint::received_from() const
{
    return current_sender_;
}

Peer DatagramEndpoint::received_at() const
{
    return current_destination_;
}

void DatagramEndpoint::set_broadcast_interface(int interface_index)
{
    broadcast_interface_ = interface_index;
}

void DatagramEndpoint::drain()
{
    // A handler may close the window that owns this endpoint; stop touching it if so.
    const std::shared_ptr<bool> alive = alive_;
    while (*alive && socket_->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = socket_->receiveDatagram();
        const QByteArray data = datagram.data();
        if (data.isEmpty() || !handler_)
            continue; // zero-length datagrams and failed reads raise no event
        const auto* first = reinterpret_cast<const std::uint8_t*>(data.constData());
        current_ = ByteView(first, static_cast<std::size_t>(data.size()));
        current_sender_ = {dotted(datagram.senderAddress()), datagram.senderPort()};
        current_destination_ = {dotted(datagram.destinationAddress()), datagram.destinationPort()};
        delivering_ = true;
        handler_(current_);
        if (*alive) {
            delivering_ = false;
            current_ = {};
            current_sender_ = {};
            current_destination_ = {};
        }
    }
}

bool DatagramEndpoint::send(std::string_view address, int port, ByteView data)
{
    if (!bound_) return false;
    if (data.empty()) return true;
    const auto remote_port = static_cast<quint16>(port < 1 ? 1 : port);
    const QByteArray bytes(reinterpret_cast<const char*>(data.data()),
                           static_cast<qsizetype>(data.size()));
    QNetworkDatagram datagram(bytes);
    if (address.empty()) {
        datagram.setDestination(QHostAddress(QHostAddress::Broadcast), remote_port);
        if (broadcast_interface_ > 0)
            datagram.setInterfaceIndex(static_cast<uint>(broadcast_interface_));
    } else {
        const std::optional<QHostAddress> target = resolve_ipv4(address);
        if (!target) return false;
        datagram.setDestination(*target, remote_port);
    }
    return socket_->writeDatagram(datagram) == bytes.size();
}

} // namespace zk
