#include "net/datagram_endpoint.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <optional>

#include "net/datagram_endpoint_self.h"
#include "net/datagram_endpoint_thread.h"
#include "net/host_addresses.h"

namespace zk {

namespace {

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

DatagramEndpoint::DatagramEndpoint(int local_port,
                                   std::string_view bind_address,
                                   PortUse use,
                                   int receive_buffer)
    : home_(std::make_unique<QObject>()),
      own_(std::make_unique<detail::OwnDatagrams>(std::string(bind_address))),
      requested_port_(local_port < 0 ? 1 : local_port)
{
    // Wake-ups still queued when the endpoint goes from its own handler find it gone.
    socket_ = std::make_unique<detail::SocketThread>([this, home = home_.get(), alive = alive_] {
        QMetaObject::invokeMethod(
            home,
            [this, alive] {
                if (*alive) deliver();
            },
            Qt::QueuedConnection);
    });
    QHostAddress local;
    const QString text =
        QString::fromUtf8(bind_address.data(), static_cast<qsizetype>(bind_address.size()));
    if (!local.setAddress(text) || local.protocol() != QAbstractSocket::IPv4Protocol) return;
    bound_ = socket_->bind(local, static_cast<quint16>(requested_port_), use == PortUse::shared,
                           receive_buffer);
}

DatagramEndpoint::~DatagramEndpoint()
{
    *alive_ = false;
    // No wake-up can be sent once the socket's thread has ended.
    socket_.reset();
    // Destroyed from its own handler: `home_` is still delivering the wake-up, so it may only go
    // once control is back in the event loop.
    if (delivering_) home_.release()->deleteLater();
}

bool DatagramEndpoint::is_bound() const
{
    return bound_;
}

int DatagramEndpoint::local_port() const
{
    return bound_ ? socket_->local_port() : requested_port_;
}

int DatagramEndpoint::receive_buffer_size() const
{
    return bound_ ? socket_->receive_buffer_size() : 0;
}

void DatagramEndpoint::on_datagram(Handler handler)
{
    handler_ = std::move(handler);
}

ByteView DatagramEndpoint::received() const
{
    if (!current_) return {};
    // The copy shares its bytes with the datagram, which lives until the handler returns.
    const QByteArray data = current_->data();
    return {reinterpret_cast<const std::uint8_t*>(data.constData()),
            static_cast<std::size_t>(data.size())};
}

Peer DatagramEndpoint::received_from() const
{
    if (!current_) return {};
    return {dotted(current_->senderAddress()), current_->senderPort()};
}

Peer DatagramEndpoint::received_at() const
{
    if (!current_) return {};
    return {dotted(current_->destinationAddress()), current_->destinationPort()};
}

void DatagramEndpoint::set_broadcast_interface(int interface_index)
{
    broadcast_interface_ = interface_index;
}

void DatagramEndpoint::deliver()
{
    // A handler may close the window that owns this endpoint; stop touching it if so.
    const std::shared_ptr<bool> alive = alive_;
    std::vector<QNetworkDatagram> arrived = socket_->take();
    for (const QNetworkDatagram& datagram : arrived) {
        if (!handler_ ||
            own_->is_own(dotted(datagram.senderAddress()), datagram.senderPort(), local_port()))
            continue;
        current_ = &datagram;
        delivering_ = true;
        handler_(received());
        if (!*alive) return;
        delivering_ = false;
        current_ = nullptr;
    }
    socket_->give_back(std::move(arrived));
}

bool DatagramEndpoint::send(std::string_view address, int port, ByteView data)
{
    if (!bound_) return false;
    if (data.empty()) return true;
    const ByteView one[] = {data};
    return send_all(address, port, one).front();
}

std::vector<bool>
DatagramEndpoint::send_all(std::string_view address, int port, std::span<const ByteView> datagrams)
{
    std::vector<bool> sent(datagrams.size(), false);
    if (!bound_) return sent;
    QNetworkDatagram destination;
    const auto remote_port = static_cast<quint16>(port < 1 ? 1 : port);
    if (address.empty()) {
        destination.setDestination(QHostAddress(QHostAddress::Broadcast), remote_port);
        if (broadcast_interface_ > 0)
            destination.setInterfaceIndex(static_cast<uint>(broadcast_interface_));
    } else {
        const std::string target = resolve_ipv4(address);
        if (target.empty()) return sent;
        destination.setDestination(QHostAddress(QString::fromStdString(target)), remote_port);
    }
    std::vector<QNetworkDatagram> out;
    std::vector<std::size_t> index_of;
    for (std::size_t i = 0; i < datagrams.size(); ++i) {
        if (datagrams[i].empty()) {
            sent[i] = true; // nothing to send, nothing that could fail
            continue;
        }
        out.push_back(destination);
        out.back().setData(QByteArray(reinterpret_cast<const char*>(datagrams[i].data()),
                                      static_cast<qsizetype>(datagrams[i].size())));
        index_of.push_back(i);
    }
    const std::vector<bool> written = socket_->write_all(out);
    for (std::size_t k = 0; k < written.size(); ++k)
        sent[index_of[k]] = written[k];
    return sent;
}

} // namespace zk
