#include "sim/pacer.h"

namespace zk::sim {

std::int64_t due_by(std::int64_t elapsed_ns, int rate)
{
    if (elapsed_ns < 0) return 1;
    constexpr std::int64_t ns_per_s = 1'000'000'000;
    // Whole seconds and the rest apart, so a long run does not overflow.
    const std::int64_t whole = elapsed_ns / ns_per_s * rate;
    return whole + elapsed_ns % ns_per_s * rate / ns_per_s + 1;
}

Pacer::Pacer(int rate) : rate_(rate) {}

void Pacer::push(Send send)
{
    if (rate_ <= 0) {
        send();
        return;
    }
    if (queue_.empty() && !timer_.active()) {
        run_start_ = std::chrono::steady_clock::now();
        sent_in_run_ = 0;
    }
    queue_.push_back(std::move(send));
    if (!timer_.active()) timer_.start(std::chrono::milliseconds(0), [this] { send_due(); });
}

void Pacer::send_due()
{
    const std::int64_t due = due_by(
        std::chrono::nanoseconds(std::chrono::steady_clock::now() - run_start_).count(), rate_);
    while (!queue_.empty() && sent_in_run_ < due) {
        const Send send = std::move(queue_.front());
        queue_.pop_front();
        ++sent_in_run_;
        send();
    }
    // A millisecond is the finest a timer keeps; faster rates send several at each tick.
    if (!queue_.empty()) timer_.start(std::chrono::milliseconds(1), [this] { send_due(); });
}

} // namespace zk::sim
