#pragma once
// One IPv4 UDP socket in the system's own terms, the only place that names socket calls: bind
// with or without sharing the port, a receive buffer asked after the bind, non-blocking reads
// that say where each datagram came from and which local address it was sent to, and sends that
// can put a broadcast out of a chosen adapter. Written once for POSIX and once for Winsock.
#include <cstdint>
#include <string>

#include "base/bytes.h"
#include "net/winsock_use.h"

namespace zk::detail {

// An IPv4 address (host byte order) and a port.
struct SocketAddress
{
    std::uint32_t address = 0;
    std::uint16_t port = 0;
};

constexpr std::uint32_t broadcast_address = 0xFFFF'FFFF;

struct Arrived
{
    Bytes data;
    SocketAddress from;
    SocketAddress to; // the local address it was sent to; the bound address when unknown
};

class UdpSocket
{
public:
    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Binds `local`; `shared` lets other sockets bind the same port, otherwise a port in use
    // fails. "" when bound, else the system's reason.
    std::string open(SocketAddress local, bool shared);
    // Asks for `bytes` of receive buffer (after the bind: asked before, some systems drop it).
    void ask_receive_buffer(int bytes);
    // What the system granted, in bytes.
    int receive_buffer() const;
    int local_port() const { return local_.port; }
    // What the socket wait watches.
    std::intptr_t descriptor() const { return descriptor_; }

    enum class Read
    {
        datagram, // `into` holds one (possibly empty) datagram
        nothing,  // nothing waits now
        failed,   // the socket is broken; waiting tells when to try again
    };
    Read receive(Arrived& into);
    // Sends all of `data` to `to`; a broadcast leaves through adapter `interface_index` when it
    // is above 0. With a `source` (host byte order) it leaves from that address while this host
    // has it, so one socket on 0.0.0.0 answers from any of the host's addresses; from the
    // system's choice otherwise. True when the whole datagram was handed to the network.
    bool send(SocketAddress to, ByteView data, int interface_index, std::uint32_t source = 0);

private:
    bool send_through(std::intptr_t socket,
                      SocketAddress to,
                      ByteView data,
                      int interface_index,
                      std::uint32_t source);

    WinsockUse winsock_;
    std::intptr_t descriptor_ = -1;
    SocketAddress local_;
    Bytes buffer_;
#ifdef _WIN32
    void* receive_message_ = nullptr; // WSARecvMsg, which also tells the local address
    void* send_message_ = nullptr;    // WSASendMsg, which can choose the source address
    int unicast_interface_ = 0;       // what IP_UNICAST_IF holds now; 0 for the routes' choice
#endif
};

} // namespace zk::detail
