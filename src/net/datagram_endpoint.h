#pragma once
// A UDP socket bound to one local port for the life of its window. Every datagram that arrives
// raises one event, on the thread that made the endpoint (through that thread's dispatcher),
// carrying exactly its bytes, in arrival order. A thread of the endpoint's own reads the socket
// meanwhile, so datagrams are not lost while that thread is busy.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"
#include "base/sender.h"

namespace zk {

class Dispatcher;

namespace detail {
class OwnDatagrams;
class SocketThread;
struct Arrived;
} // namespace detail

// Where a datagram came from: dotted IPv4 address and port.
struct Peer
{
    std::string address;
    int port = 0;
};

// Whether other sockets may bind the same port: only a simulator that answers from several of
// its addresses on one port shares it.
enum class PortUse
{
    exclusive,
    shared,
};

class DatagramEndpoint final : public Sender
{
public:
    using Handler = std::function<void(ByteView)>;
    // Whether a datagram is of a kind that comes in bursts (search answers); a plain function,
    // since the reading thread calls it for every datagram.
    using BurstTest = bool (*)(ByteView datagram);

    // What the endpoint asks the system for as its receive buffer: a burst of search replies
    // from a whole campus waits there while the program starts reading.
    static constexpr int wanted_receive_buffer = 4 * 1024 * 1024;

    // Binds 0.0.0.0:local_port exclusively (a port in use fails to bind). Port 0 lets the system
    // pick a free port, which only tests ask for. The calling thread must have a dispatcher.
    explicit DatagramEndpoint(int local_port);
    // Binds one local IPv4 address instead of all of them (a simulator standing for one
    // controller); an address that is not a dotted IPv4 text fails to bind. `receive_buffer` is
    // what to ask for after the bind (tests and benchmarks ask for a desktop's usual limit).
    DatagramEndpoint(int local_port,
                     std::string_view bind_address,
                     PortUse use = PortUse::exclusive,
                     int receive_buffer = wanted_receive_buffer);
    // The same, raising its events through `owner` rather than the calling thread's dispatcher:
    // a program may open its endpoint on another thread while its window is being made.
    DatagramEndpoint(Dispatcher& owner,
                     int local_port,
                     std::string_view bind_address,
                     PortUse use = PortUse::exclusive,
                     int receive_buffer = wanted_receive_buffer);
    ~DatagramEndpoint() override;
    DatagramEndpoint(const DatagramEndpoint&) = delete;
    DatagramEndpoint& operator=(const DatagramEndpoint&) = delete;

    // False when the port could not be bound; every send then fails and nothing arrives.
    bool is_bound() const;
    // Why the bind failed, in the system's words; empty when bound.
    const std::string& bind_error() const { return bind_error_; }
    // The port asked for, or the one the system picked for port 0.
    int local_port() const;
    // The receive buffer the system granted after the bind, in bytes (0 when not bound).
    int receive_buffer_size() const;

    // The handler of the data-arrived event; one call per non-empty datagram that another
    // socket sent (the endpoint's own, looped back from this PC's address, are dropped).
    void on_datagram(Handler handler);
    // The datagram being delivered; empty outside the handler.
    ByteView received() const;
    // The sender of the datagram being delivered; empty outside the handler. Only peers that
    // answer their asker (the simulator) look at it.
    Peer received_from() const;
    // The local address and port the datagram being delivered was sent to (a simulator standing
    // for several controllers tells them apart by it); empty outside the handler.
    Peer received_at() const;

    // Datagrams that `of_a_burst` accepts are gathered before the owner is woken for them, as a
    // burst of thousands is read fastest with few wake-ups; every other datagram is handed over
    // as soon as it arrives, since someone waits for it. Without a test, nothing is gathered.
    void gather_bursts(BurstTest of_a_burst);

    // Interface index that broadcasts leave through; 0 for the system's default route.
    void set_broadcast_interface(int interface_index);

    bool send(std::string_view address, int port, ByteView data) override;
    // Sends each datagram in turn as send() would, in one hand-over to the socket's thread (a
    // simulator answering for thousands of controllers); one result per datagram. With `from`,
    // a dotted address, they leave from that address while this host has it (a simulator
    // answering for each controller from the controller's own address through one socket).
    std::vector<bool> send_all(std::string_view address,
                               int port,
                               std::span<const ByteView> datagrams,
                               std::string_view from = {});

private:
    void deliver();

    Dispatcher& owner_;
    std::unique_ptr<detail::OwnDatagrams> own_;
    std::unique_ptr<detail::SocketThread> socket_;
    Handler handler_;
    const detail::Arrived* current_ = nullptr;
    std::string bind_error_;
    int requested_port_ = 0;
    int broadcast_interface_ = 0;
    bool bound_ = false;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

} // namespace zk
