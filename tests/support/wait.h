#pragma once
// Letting the thread's events run in a test: datagrams arrive and timers fire while it waits.
// One implementation runs Qt's event loop (suites with Qt windows), one the Windows message
// loop (suites with Windows-API windows), the other our own EventLoop.
#include <chrono>
#include <functional>

namespace zk::test {

// Runs the events until `done` holds or the time is up; returns done().
bool wait_until(const std::function<bool()>& done,
                std::chrono::milliseconds limit = std::chrono::milliseconds(3000));

// Runs the events for a while so that anything in flight arrives.
void settle(std::chrono::milliseconds time = std::chrono::milliseconds(100));

} // namespace zk::test
