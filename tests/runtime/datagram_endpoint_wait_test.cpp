#include "runtime/datagram_endpoint_wait.h"

#include <gtest/gtest.h>
#include <thread>

namespace zk::detail {
namespace {

using std::chrono::milliseconds;

// A wake-up must end a wait that is already sleeping, and be used up by it: one left behind
// would make the receiving thread spin.
TEST(socket_wait, a_wake_from_another_thread_ends_the_wait_once)
{
    SocketWait wait;
    ASSERT_TRUE(wait.usable());
    // -1 is no descriptor and is skipped, so only the wake-up or the time can end these waits.
    std::thread waker([&] {
        std::this_thread::sleep_for(milliseconds(20));
        wait.wake();
    });
    const SocketWait::Woken first = wait.wait(-1, milliseconds(-1));
    waker.join();
    EXPECT_TRUE(first.called);
    EXPECT_FALSE(first.readable);

    wait.wake();
    wait.wake();
    EXPECT_TRUE(wait.wait(-1, milliseconds(10'000)).called);
    const SocketWait::Woken after = wait.wait(-1, milliseconds(10));
    EXPECT_FALSE(after.called);
    EXPECT_FALSE(after.readable);
}

} // namespace
} // namespace zk::detail
