#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "net/system_error.h"
#include "net/udp_socket.h"
#include "net/udp_socket_address.h"

namespace zk::detail {

namespace {

bool set_option(int fd, int level, int name, int value)
{
    return ::setsockopt(fd, level, name, &value, sizeof value) == 0;
}

} // namespace

UdpSocket::~UdpSocket()
{
    if (descriptor_ >= 0) ::close(static_cast<int>(descriptor_));
}

std::string UdpSocket::open(SocketAddress local, bool shared)
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, IPPROTO_UDP);
    if (fd < 0) return system_error_text(errno);
    const sockaddr_in address = socket_address(local);
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if ((shared && !set_option(fd, SOL_SOCKET, SO_REUSEADDR, 1)) ||
        !set_option(fd, SOL_SOCKET, SO_BROADCAST, 1) ||
        !set_option(fd, IPPROTO_IP, IP_PKTINFO, 1) ||
        ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
        const std::string reason = system_error_text(errno);
        ::close(fd);
        return reason;
    }
    descriptor_ = fd;
    local_ = from_sockaddr(bound);
    buffer_.resize(largest_datagram + 1);
    return {};
}

void UdpSocket::ask_receive_buffer(int bytes)
{
    set_option(static_cast<int>(descriptor_), SOL_SOCKET, SO_RCVBUF, bytes);
}

int UdpSocket::receive_buffer() const
{
    int size = 0;
    socklen_t length = sizeof size;
    if (::getsockopt(static_cast<int>(descriptor_), SOL_SOCKET, SO_RCVBUF, &size, &length) != 0)
        return 0;
    return size;
}

UdpSocket::Read UdpSocket::receive(Arrived& into)
{
    sockaddr_in from{};
    iovec part{buffer_.data(), buffer_.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_name = &from;
    message.msg_namelen = sizeof from;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    ssize_t size = -1;
    do {
        size = ::recvmsg(static_cast<int>(descriptor_), &message, 0);
    } while (size < 0 && errno == EINTR);
    if (size < 0) return errno == EAGAIN || errno == EWOULDBLOCK ? Read::nothing : Read::failed;
    into.data.assign(buffer_.begin(), buffer_.begin() + size);
    into.from = from_sockaddr(from);
    into.to = local_;
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header;
         header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level != IPPROTO_IP || header->cmsg_type != IP_PKTINFO) continue;
        in_pktinfo info{};
        std::memcpy(&info, CMSG_DATA(header), sizeof info);
        into.to.address = ntohl(info.ipi_addr.s_addr);
    }
    return Read::datagram;
}

bool UdpSocket::send(SocketAddress to, ByteView data, int interface_index, std::uint32_t source)
{
    // An address this host does not have (yet, or any more) is refused by the routing (EINVAL
    // or ENETUNREACH, as the kernel has it); the datagram then leaves from the system's choice,
    // as from a socket without a source.
    if (source != 0 && send_through(descriptor_, to, data, interface_index, source)) return true;
    return send_through(descriptor_, to, data, interface_index, 0);
}

bool UdpSocket::send_through(std::intptr_t socket,
                             SocketAddress to,
                             ByteView data,
                             int interface_index,
                             std::uint32_t source)
{
    const int fd = static_cast<int>(socket);
    sockaddr_in address = socket_address(to);
    iovec part{const_cast<std::uint8_t*>(data.data()), data.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    msghdr message{};
    message.msg_name = &address;
    message.msg_namelen = sizeof address;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    const bool out_of_interface = interface_index > 0 && to.address == broadcast_address;
    if (out_of_interface || source != 0) {
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        cmsghdr* header = CMSG_FIRSTHDR(&message);
        header->cmsg_level = IPPROTO_IP;
        header->cmsg_type = IP_PKTINFO;
        header->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
        in_pktinfo info{};
        // The kernel puts a broadcast out of that interface whatever the routes say.
        if (out_of_interface) info.ipi_ifindex = interface_index;
        info.ipi_spec_dst.s_addr = htonl(source);
        std::memcpy(CMSG_DATA(header), &info, sizeof info);
    }
    for (int waited = 0;;) {
        const ssize_t sent = ::sendmsg(fd, &message, MSG_NOSIGNAL);
        if (sent >= 0) return static_cast<std::size_t>(sent) == data.size();
        if (errno == EINTR) continue;
        if ((errno != EAGAIN && errno != EWOULDBLOCK) || waited >= send_wait_ms) return false;
        pollfd writable{fd, POLLOUT, 0};
        ::poll(&writable, 1, 10);
        waited += 10;
    }
}

} // namespace zk::detail
