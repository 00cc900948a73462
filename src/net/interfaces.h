#pragma once
// The machine's network interfaces as the system lists them, loopback included: the one walk of
// the system's tables that the adapter list and the PC's own addresses both read.
#include <string>
#include <vector>

#include "base/bytes.h"

namespace zk {

struct InterfaceIpv4
{
    std::string address; // dotted
    std::string netmask; // dotted; empty when the system gives none
};

struct Interface
{
    std::string name;                // UTF-8, as the system names it to people
    int index = 0;                   // the system's interface index
    std::vector<InterfaceIpv4> ipv4; // in the system's order
    Bytes mac;                       // six bytes; empty when the interface has none
    bool loopback = false;
    bool connected = false; // up with a carrier
};

// Every interface in the system's order, up or down; empty when the system refuses to say.
std::vector<Interface> system_interfaces();

} // namespace zk
