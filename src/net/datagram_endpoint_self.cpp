#include "net/datagram_endpoint_self.h"

#include <algorithm>

#include "net/host_addresses.h"

namespace zk::detail {

bool OwnDatagrams::is_own(const std::string& sender, int sender_port, int own_port)
{
    if (sender_port != own_port || sender.empty()) return false;
    if (bound_ != "0.0.0.0") return sender == bound_;
    return is_local(sender);
}

bool OwnDatagrams::is_local(const std::string& address)
{
    if (address.starts_with("127.")) return true; // all of 127/8 is this PC's, listed or not
    const auto known = [&] {
        return std::find(local_.begin(), local_.end(), address) != local_.end();
    };
    if (known()) return true;
    // Every answer of a controller comes from its port, which is also ours, and a simulator
    // answers for thousands of addresses it may not have: the list is asked for again at most
    // once a second.
    const auto now = std::chrono::steady_clock::now();
    if (now - asked_ < std::chrono::seconds(1)) return false;
    asked_ = now;
    local_ = interface_addresses();
    return known();
}

} // namespace zk::detail
