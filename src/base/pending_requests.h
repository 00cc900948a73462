#pragma once
// Requests still waiting for their answer, keyed by what pairs a request with its answers (an
// HS3 request, a configuration code). Nothing is ever re-sent: a wait that runs out only lets
// the window tell the operator. The caller supplies the time, so the rules here can be checked
// without a clock or an event loop.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

namespace zk {

template <class Key> class PendingWaits
{
public:
    using Time = std::chrono::milliseconds;

    struct Wait
    {
        Key key{};
        Time deadline{};
        int note = 0; // the caller's own, handed back when the wait runs out
    };

    // Starts the wait for `key`, replacing one that is already running for it.
    void start(const Key& key, Time deadline, int note = 0)
    {
        answer(key);
        waits_.push_back({key, deadline, note});
    }

    // An answer for `key` arrived: its wait ends. False when none was running.
    bool answer(const Key& key)
    {
        return std::erase_if(waits_, [&key](const Wait& wait) { return wait.key == key; }) > 0;
    }

    // Ends the longest-running wait whose key `answered_by` accepts and returns it; nullopt
    // when none does. One answer ends one wait.
    template <class Predicate> std::optional<Wait> answer_first(Predicate answered_by)
    {
        const auto found = std::find_if(waits_.begin(), waits_.end(),
                                        [&](const Wait& wait) { return answered_by(wait.key); });
        if (found == waits_.end()) return std::nullopt;
        Wait ended = *found;
        waits_.erase(found);
        return ended;
    }

    // Removes and returns the waits whose deadline is not after `now`, earliest first.
    std::vector<Wait> expire(Time now)
    {
        std::vector<Wait> expired;
        std::erase_if(waits_, [&](const Wait& wait) {
            if (wait.deadline > now) return false;
            expired.push_back(wait);
            return true;
        });
        std::stable_sort(expired.begin(), expired.end(),
                         [](const Wait& a, const Wait& b) { return a.deadline < b.deadline; });
        return expired;
    }

    // The earliest deadline; nullopt when nothing waits.
    std::optional<Time> next_deadline() const
    {
        if (waits_.empty()) return std::nullopt;
        return std::min_element(
                   waits_.begin(), waits_.end(),
                   [](const Wait& a, const Wait& b) { return a.deadline < b.deadline; })
            ->deadline;
    }

private:
    std::vector<Wait> waits_; // in the order they started
};

// Waits keyed by one byte (a configuration code).
using PendingRequests = PendingWaits<std::uint8_t>;

} // namespace zk
