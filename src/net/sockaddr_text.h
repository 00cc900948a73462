#pragma once
// The dotted text of an IPv4 socket address, the form in which every system call here reports
// one (interface lists and name look-ups alike).
#include <string>

struct sockaddr;

namespace zk {

// "192.168.1.20" for an AF_INET address; empty for a null pointer or any other family.
std::string sockaddr_ipv4_text(const sockaddr* address);

} // namespace zk
