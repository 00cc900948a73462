#pragma once
// The frames the dissector test feeds tshark: HS3 frames as the protocol's documents write them,
// configuration datagrams laid out from the network module's known fields, and what zksim sent.
#include <string>
#include <vector>

#include "wireshark/pcap_file.h"

namespace zk::test {

// A datagram and the name the test's tables use for it.
struct Labelled
{
    std::string label;
    UdpPacket packet;
};

// Requests and replies of every command, a wrong checksum and a frame cut short.
std::vector<Labelled> hs3_frames();

// Search, read, write, refused writes, reset and a datagram of the wrong length.
std::vector<Labelled> config_datagrams();

// The datagrams of zksim captured in `file` (source, destination, payload per line), in order,
// labelled "zksim 1" to "zksim N".
std::vector<Labelled> zksim_capture(const std::string& file);

} // namespace zk::test
