// Test main for suites that use sockets or timers without Qt: one event loop on the test thread.
#include <gtest/gtest.h>

#include "net/event_loop.h"

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    zk::EventLoop loop;
    return RUN_ALL_TESTS();
}
