#include <cstring>
#include <mswsock.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include "net/system_error.h"
#include "net/udp_socket.h"
#include "net/udp_socket_address.h"

namespace zk::detail {

namespace {

bool set_option(SOCKET socket, int level, int name, int value)
{
    return ::setsockopt(socket, level, name, reinterpret_cast<const char*>(&value), sizeof value) ==
           0;
}

// Binds a new non-blocking socket; INVALID_SOCKET and the reason in `error` when it fails.
SOCKET bound_socket(SocketAddress local, bool shared, std::string& error)
{
    const SOCKET socket = ::WSASocketW(AF_INET, SOCK_DGRAM, IPPROTO_UDP, nullptr, 0,
                                       WSA_FLAG_OVERLAPPED | WSA_FLAG_NO_HANDLE_INHERIT);
    if (socket == INVALID_SOCKET) {
        error = system_error_text(::WSAGetLastError());
        return socket;
    }
    const sockaddr_in address = socket_address(local);
    u_long non_blocking = 1;
    // Without this an ICMP "port unreachable" for an earlier send fails the next read.
    BOOL report_resets = FALSE;
    DWORD returned = 0;
    if (!set_option(socket, SOL_SOCKET, shared ? SO_REUSEADDR : SO_EXCLUSIVEADDRUSE, 1) ||
        !set_option(socket, SOL_SOCKET, SO_BROADCAST, 1) ||
        ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::ioctlsocket(socket, FIONBIO, &non_blocking) != 0) {
        error = system_error_text(::WSAGetLastError());
        ::closesocket(socket);
        return INVALID_SOCKET;
    }
    ::WSAIoctl(socket, SIO_UDP_CONNRESET, &report_resets, sizeof report_resets, nullptr, 0,
               &returned, nullptr, nullptr);
    return socket;
}

SOCKET as_socket(std::intptr_t descriptor)
{
    return static_cast<SOCKET>(descriptor);
}

} // namespace

UdpSocket::~UdpSocket()
{
    if (descriptor_ != -1) ::closesocket(as_socket(descriptor_));
}

std::string UdpSocket::open(SocketAddress local, bool shared)
{
    if (!winsock_.started()) return system_error_text(::WSAGetLastError());
    std::string error;
    const SOCKET socket = bound_socket(local, shared, error);
    if (socket == INVALID_SOCKET) return error;
    sockaddr_in bound{};
    int length = sizeof bound;
    ::getsockname(socket, reinterpret_cast<sockaddr*>(&bound), &length);
    descriptor_ = static_cast<std::intptr_t>(socket);
    local_ = from_sockaddr(bound);
    buffer_.resize(largest_datagram + 1);
    // The local address of each datagram comes with WSARecvMsg only; without it the bound
    // address stands in.
    GUID id = WSAID_WSARECVMSG;
    LPFN_WSARECVMSG function = nullptr;
    DWORD returned = 0;
    if (set_option(socket, IPPROTO_IP, IP_PKTINFO, 1) &&
        ::WSAIoctl(socket, SIO_GET_EXTENSION_FUNCTION_POINTER, &id, sizeof id, &function,
                   sizeof function, &returned, nullptr, nullptr) == 0)
        receive_message_ = reinterpret_cast<void*>(function);
    GUID send_id = WSAID_WSASENDMSG;
    LPFN_WSASENDMSG send_function = nullptr;
    if (::WSAIoctl(socket, SIO_GET_EXTENSION_FUNCTION_POINTER, &send_id, sizeof send_id,
                   &send_function, sizeof send_function, &returned, nullptr, nullptr) == 0)
        send_message_ = reinterpret_cast<void*>(send_function);
    return {};
}

void UdpSocket::ask_receive_buffer(int bytes)
{
    set_option(as_socket(descriptor_), SOL_SOCKET, SO_RCVBUF, bytes);
}

int UdpSocket::receive_buffer() const
{
    int size = 0;
    int length = sizeof size;
    if (::getsockopt(as_socket(descriptor_), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<char*>(&size),
                     &length) != 0)
        return 0;
    return size;
}

UdpSocket::Read UdpSocket::receive(Arrived& into)
{
    sockaddr_in from{};
    int from_length = sizeof from;
    into.to = local_;
    DWORD size = 0;
    int result = 0;
    if (receive_message_) {
        WSABUF part{static_cast<ULONG>(buffer_.size()), reinterpret_cast<char*>(buffer_.data())};
        alignas(WSACMSGHDR) char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))] = {};
        WSAMSG message{};
        message.name = reinterpret_cast<sockaddr*>(&from);
        message.namelen = from_length;
        message.lpBuffers = &part;
        message.dwBufferCount = 1;
        message.Control = {sizeof control, control};
        const auto receive = reinterpret_cast<LPFN_WSARECVMSG>(receive_message_);
        result = receive(as_socket(descriptor_), &message, &size, nullptr, nullptr);
        for (WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message); result == 0 && header;
             header = WSA_CMSG_NXTHDR(&message, header)) {
            if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_PKTINFO) continue;
            IN_PKTINFO info{};
            std::memcpy(&info, WSA_CMSG_DATA(header), sizeof info);
            into.to.address = ntohl(info.ipi_addr.s_addr);
        }
    } else {
        const int got = ::recvfrom(as_socket(descriptor_), reinterpret_cast<char*>(buffer_.data()),
                                   static_cast<int>(buffer_.size()), 0,
                                   reinterpret_cast<sockaddr*>(&from), &from_length);
        result = got < 0 ? SOCKET_ERROR : 0;
        size = got < 0 ? 0 : static_cast<DWORD>(got);
    }
    if (result != 0) {
        const int error = ::WSAGetLastError();
        if (error == WSAEWOULDBLOCK) return Read::nothing;
        // A reset or an oversized datagram concerns that one datagram only: read on.
        if (error != WSAECONNRESET && error != WSAEMSGSIZE) return Read::failed;
        into.data.clear();
        return Read::datagram;
    }
    into.data.assign(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(size));
    into.from = from_sockaddr(from);
    return Read::datagram;
}

bool UdpSocket::send(SocketAddress to, ByteView data, int interface_index, std::uint32_t source)
{
    // A broadcast leaves through the chosen adapter from this socket itself, so from its bound
    // port: a module that answers to its asker's port answers there. Windows sends a limited
    // broadcast out of the interface IP_UNICAST_IF names (its index in network byte order).
    const int through =
        to.address == broadcast_address && interface_index > 0 ? interface_index : 0;
    if (through != unicast_interface_) {
        const DWORD index = htonl(static_cast<u_long>(through));
        if (::setsockopt(as_socket(descriptor_), IPPROTO_IP, IP_UNICAST_IF,
                         reinterpret_cast<const char*>(&index), sizeof index) == 0)
            unicast_interface_ = through;
    }
    // An address this host does not have is refused; the datagram then leaves from the system's
    // choice, as from a socket without a source.
    if (source != 0 && send_message_ &&
        send_through(descriptor_, to, data, interface_index, source))
        return true;
    return send_through(descriptor_, to, data, interface_index, 0);
}

bool UdpSocket::send_through(
    std::intptr_t socket, SocketAddress to, ByteView data, int, std::uint32_t source)
{
    sockaddr_in address = socket_address(to);
    WSABUF part{static_cast<ULONG>(data.size()),
                reinterpret_cast<char*>(const_cast<std::uint8_t*>(data.data()))};
    alignas(WSACMSGHDR) char control[WSA_CMSG_SPACE(sizeof(IN_PKTINFO))] = {};
    WSAMSG message{};
    message.name = reinterpret_cast<sockaddr*>(&address);
    message.namelen = sizeof address;
    message.lpBuffers = &part;
    message.dwBufferCount = 1;
    if (source != 0) {
        message.Control = {sizeof control, control};
        WSACMSGHDR* header = WSA_CMSG_FIRSTHDR(&message);
        header->cmsg_level = IPPROTO_IP;
        header->cmsg_type = IP_PKTINFO;
        header->cmsg_len = WSA_CMSG_LEN(sizeof(IN_PKTINFO));
        IN_PKTINFO info{};
        info.ipi_addr.s_addr = htonl(source);
        std::memcpy(WSA_CMSG_DATA(header), &info, sizeof info);
    }
    for (int waited = 0;;) {
        int sent = 0;
        if (source != 0) {
            DWORD bytes = 0;
            const auto send_message = reinterpret_cast<LPFN_WSASENDMSG>(send_message_);
            sent = send_message(as_socket(socket), &message, 0, &bytes, nullptr, nullptr) == 0
                       ? static_cast<int>(bytes)
                       : SOCKET_ERROR;
        } else {
            sent = ::sendto(as_socket(socket), part.buf, static_cast<int>(part.len), 0,
                            reinterpret_cast<const sockaddr*>(&address), sizeof address);
        }
        if (sent >= 0) return static_cast<std::size_t>(sent) == data.size();
        if (::WSAGetLastError() != WSAEWOULDBLOCK || waited >= send_wait_ms) return false;
        WSAPOLLFD writable{as_socket(socket), POLLWRNORM, 0};
        ::WSAPoll(&writable, 1, 10);
        waited += 10;
    }
}

} // namespace zk::detail
