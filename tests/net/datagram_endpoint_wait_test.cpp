#include "net/datagram_endpoint_wait.h"

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

} // namespace
} // namespace zk::detail
