#include "net/datagram_endpoint_wait.h"
#include "net/udp_socket.h"

#include <gtest/gtest.h>
#include <thread>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace zk::detail {
namespace {

using std::chrono::milliseconds;

// A UDP socket nobody can send to (it has no port), so only a wake-up or the time ends a wait on
// it. Made after a SocketWait, which starts Winsock on Windows.
class QuietSocket
{
public:
    QuietSocket() : descriptor_(static_cast<std::intptr_t>(::socket(AF_INET, SOCK_DGRAM, 0))) {}
    ~QuietSocket()
    {
#ifdef _WIN32
        ::closesocket(static_cast<SOCKET>(descriptor_));
#else
        ::close(static_cast<int>(descriptor_));
#endif
    }
    std::intptr_t descriptor() const
    {
        return descriptor_;
    }

private:
    std::intptr_t descriptor_;
};

// A wake-up must end a wait that is already sleeping, and be used up by it: one left behind
// would make the receiving thread spin.
TEST(socket_wait, a_wake_from_another_thread_ends_the_wait_once)
{
    SocketWait wait;
    ASSERT_TRUE(wait.usable());
    const QuietSocket quiet;
    std::thread waker([&] {
        std::this_thread::sleep_for(milliseconds(20));
        wait.wake();
    });
    const SocketWait::Woken first = wait.wait(quiet.descriptor(), milliseconds(10'000));
    waker.join();
    EXPECT_TRUE(first.called);
    EXPECT_FALSE(first.readable);

    wait.wake();
    wait.wake();
    EXPECT_TRUE(wait.wait(quiet.descriptor(), milliseconds(10'000)).called);
    const SocketWait::Woken after = wait.wait(quiet.descriptor(), milliseconds(10));
    EXPECT_FALSE(after.called);
    EXPECT_FALSE(after.readable);
}

// The caller reads what a wait found in passes that may stop short of the last datagram: one left
// behind, or one that comes later, must end the next wait at once.
TEST(socket_wait, a_datagram_left_or_arriving_after_a_wait_ends_the_next_one)
{
    SocketWait wait;
    ASSERT_TRUE(wait.usable());
    constexpr std::uint32_t loopback = 0x7F00'0001;
    UdpSocket receiver;
    UdpSocket sender;
    ASSERT_EQ(receiver.open({loopback, 0}, false), "");
    ASSERT_EQ(sender.open({loopback, 0}, false), "");
    const SocketAddress to{loopback, static_cast<std::uint16_t>(receiver.local_port())};
    const zk::Bytes datagram{1, 2, 3};
    ASSERT_TRUE(sender.send(to, datagram, 0));
    ASSERT_TRUE(sender.send(to, datagram, 0));

    Arrived read;
    EXPECT_TRUE(wait.wait(receiver.descriptor(), milliseconds(10'000)).readable);
    ASSERT_EQ(receiver.receive(read), UdpSocket::Read::datagram);
    EXPECT_TRUE(wait.wait(receiver.descriptor(), milliseconds(2'000)).readable);
    ASSERT_EQ(receiver.receive(read), UdpSocket::Read::datagram);
    EXPECT_EQ(receiver.receive(read), UdpSocket::Read::nothing);
    EXPECT_FALSE(wait.wait(receiver.descriptor(), milliseconds(10)).readable);

    std::thread late([&] {
        std::this_thread::sleep_for(milliseconds(20));
        sender.send(to, datagram, 0);
    });
    EXPECT_TRUE(wait.wait(receiver.descriptor(), milliseconds(10'000)).readable);
    late.join();
    EXPECT_EQ(receiver.receive(read), UdpSocket::Read::datagram);
}

} // namespace
} // namespace zk::detail
