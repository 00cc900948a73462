#pragma once
// The PC's network adapters as the find window lists them, behind an interface so that tests
// hand in adapter lists of their own.
#include <string>
#include <string_view>
#include <vector>

#include "base/bytes.h"

namespace zk {

struct Adapter
{
    std::string text;        // what the operator sees: name and first IPv4 address
    int interface_index = 0; // the system's index, for sending out of this adapter
    std::string first_ipv4;  // dotted, empty when it has none
    bool connected = false;  // up with a carrier: it can carry a search now
    std::string netmask{};   // of first_ipv4, dotted; empty when it has none
    Bytes mac{};             // six bytes; empty for an adapter without one (a tunnel)
};

// "eth0 192.168.1.10" for a connected adapter with an address, "eth1 (未连接)" for any other.
std::string adapter_text(std::string_view name, std::string_view ipv4, bool connected);

class AdapterSource
{
public:
    virtual ~AdapterSource() = default;
    // The adapters in the order the system enumerates them.
    virtual std::vector<Adapter> list() = 0;
};

} // namespace zk
