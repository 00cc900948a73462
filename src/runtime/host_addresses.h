#pragma once
// This PC's own addresses, as its host name resolves.
#include <string>
#include <vector>

namespace zk {

// The IPv4 addresses the PC's own name resolves to, in order, at most ten, dotted; empty when
// the lookup fails. Blocks while the resolver works.
std::vector<std::string> host_addresses();

// Every IPv4 address configured on any interface of this machine, loopback included, dotted.
std::vector<std::string> interface_addresses();

} // namespace zk
