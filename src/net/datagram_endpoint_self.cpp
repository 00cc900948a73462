#include "net/datagram_endpoint_self.h"

#include <algorithm>

#include "net/host_addresses.h"

namespace zk::detail {

bool OwnDatagrams::is_own(const std::string& sender, int sender_port, int own_port)
{
    if (sender_port != own_port || sender.empty()) return false;
    if (bound_ != "0.0.0.0") return sender == bound_;
    return sender.starts_with("127.") || is_local(sender);
}

bool OwnDatagrams::is_local(const std::string& sender)
{
    const auto known = [&] {
        return std::find(local_.begin(), local_.end(), sender) != local_.end();
    };
    if (known()) return true;
    // Every answer of a controller comes from its port, which is also ours, so the list is
    // asked for again at most once a second; an address the PC has just been given counts
    // from then on.
    const auto now = std::chrono::steady_clock::now();
    if (now - asked_ < std::chrono::seconds(1)) return false;
    asked_ = now;
    local_ = interface_addresses();
    return known();
}

} // namespace zk::detail
