#include "net/owner_wakes.h"

#include <gtest/gtest.h>

#include <vector>

namespace zk::detail {
namespace {

using std::chrono::milliseconds;
using Clock = OwnerWakes::Clock;

// What happens to the reading thread, in order, each at a time after the start. `datagram` and
// `answer` are of a kind that comes in bursts (unasked, and just after a send); `alone` is not.
struct Step
{
    enum Kind
    {
        datagram,
        answer,
        alone,
        pass,
        burst_pass,
        handed_over
    } kind;
    int at_ms;
    bool wakes = false; // for passes: the owner is to be woken after it
};

struct WakeCase
{
    const char* name;
    std::vector<Step> steps;
};

// Each case fails on one wrong rule: an answer woken for alone at once (the window then draws it
// while the burst fills the buffer), a burst held past the longest hold (the window stays empty
// while answers stream in), the hold time ignored (a wake-up per datagram), a quiet spell held, a
// datagram that comes alone held as if a burst followed (every request and answer 2 ms late).
TEST(owner_wakes, wakes_the_owner_after_the_gather_the_hold_or_the_burst)
{
    const std::vector<WakeCase> cases{
        {"an answer waits a moment for more, then goes",
         {{Step::answer, 0},
          {Step::pass, 0, false},
          {Step::pass, 1, false},
          {Step::pass, 2, true}}},
        {"an answer followed by a burst waits for the burst's end",
         {{Step::answer, 0},
          {Step::burst_pass, 2, false},
          {Step::burst_pass, 60, false},
          {Step::pass, 61, true}}},
        {"a burst that goes on reaches the owner every longest hold",
         {{Step::answer, 0},
          {Step::burst_pass, 99, false},
          {Step::burst_pass, 100, true},
          {Step::handed_over, 100},
          {Step::datagram, 101},
          {Step::burst_pass, 199, false},
          {Step::burst_pass, 201, true}}},
        {"datagrams after a wake-up wait out the hold time",
         {{Step::datagram, 0},
          {Step::pass, 0, true},
          {Step::handed_over, 0},
          {Step::datagram, 1},
          {Step::pass, 4, false},
          {Step::pass, 5, true}}},
        {"a datagram after a quiet spell goes at once",
         {{Step::datagram, 0},
          {Step::handed_over, 0},
          {Step::datagram, 1000},
          {Step::pass, 1000, true}}},
        {"an answer goes before datagrams held longer",
         {{Step::datagram, 0},
          {Step::handed_over, 0},
          {Step::datagram, 1},
          {Step::answer, 1},
          {Step::pass, 3, true}}},
        {"a datagram that comes alone goes at once, with those held",
         {{Step::datagram, 0},
          {Step::handed_over, 0},
          {Step::datagram, 1},
          {Step::alone, 2},
          {Step::pass, 2, true}}},
    };
    for (const WakeCase& c : cases) {
        SCOPED_TRACE(c.name);
        OwnerWakes wakes;
        const Clock::time_point start = Clock::now();
        bool inbox_empty = true;
        for (const Step& step : c.steps) {
            const Clock::time_point at = start + milliseconds(step.at_ms);
            switch (step.kind) {
            case Step::datagram:
            case Step::answer:
            case Step::alone:
                wakes.arrived(at, inbox_empty, step.kind == Step::answer, step.kind != Step::alone);
                inbox_empty = false;
                break;
            case Step::pass:
            case Step::burst_pass:
                EXPECT_EQ(wakes.wake_now(at, step.kind == Step::burst_pass), step.wakes)
                    << "at " << step.at_ms << " ms";
                break;
            case Step::handed_over:
                wakes.handed_over(at, true);
                inbox_empty = true;
                break;
            }
        }
    }
}

} // namespace
} // namespace zk::detail
