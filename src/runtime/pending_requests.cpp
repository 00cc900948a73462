#include "runtime/pending_requests.h"

#include <algorithm>

namespace zk {

void PendingRequests::start(std::uint8_t key, Time deadline, int note)
{
    answer(key);
    waits_.push_back({key, deadline, note});
}

bool PendingRequests::answer(std::uint8_t key)
{
    return std::erase_if(waits_, [key](const Wait& wait) { return wait.key == key; }) > 0;
}

std::vector<PendingRequests::Wait> PendingRequests::expire(Time now)
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

std::optional<PendingRequests::Time> PendingRequests::next_deadline() const
{
    if (waits_.empty()) return std::nullopt;
    return std::min_element(waits_.begin(), waits_.end(),
                            [](const Wait& a, const Wait& b) { return a.deadline < b.deadline; })
        ->deadline;
}

} // namespace zk
