#pragma once
// This PC's own addresses, and what an address text the operator gave names.
#include <string>
#include <string_view>
#include <vector>

namespace zk {

// The IPv4 addresses the PC's own name resolves to, in order, at most ten, dotted; empty when
// the lookup fails. Blocks while the resolver works.
std::vector<std::string> host_addresses();

// Every IPv4 address configured on any interface of this machine, loopback included, dotted.
std::vector<std::string> interface_addresses();

// True for a loopback address (127.0.0.0/8) or one configured on an interface of this machine.
bool is_this_pc(std::string_view dotted);

// The dotted IPv4 address a text names: four decimal numbers are read as such; other numeric
// forms (octal, hex, fewer parts) name nothing; anything else is looked up as a host name
// (blocking). Empty when it names no IPv4 address.
std::string resolve_ipv4(std::string_view text);

} // namespace zk
