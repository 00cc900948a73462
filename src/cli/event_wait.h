#pragma once
// Waiting for answers on the one thread: the thread's event loop runs (so datagrams arrive) until
// a condition holds or a deadline passes. zkctl asks, then waits; nothing else runs meanwhile.
#include <chrono>
#include <functional>

namespace zk::cli {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// How long one request waits for its answer, and how often it is sent again.
struct Timing
{
    milliseconds timeout{1000};
    int retries = 2;
};

// Runs the thread's event loop until `done` holds (checked at start and after each event) or the
// deadline passes; returns done().
bool wait_until(const std::function<bool()>& done, Clock::time_point deadline);
// Delivers whatever has already arrived, without waiting.
void pump_events();

} // namespace zk::cli
