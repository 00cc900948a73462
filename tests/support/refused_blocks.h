#pragma once
// Configuration writes a careful module refuses, one per reason, and the sound write they are
// made from: written out as bytes, so the codec, the simulated module and the dissector are all
// held to the same datagrams.
#include <cstddef>
#include <string>
#include <vector>

#include "base/bytes.h"
#include "discovery/message.h"
#include "discovery/refusals.h"

namespace zk::test {

struct BlockCase
{
    std::string what;
    std::vector<std::pair<std::size_t, std::string>> patches; // offset, hex laid over the write
    std::vector<discovery::Refusal> reasons;                  // in the order they are named
};

// A write to MAC 84:C2:E4:00:00:01 of 192.168.1.50/24, gateway .1, server .100:16006, name
// "ZK-NET", local port 16006: nothing in it to refuse.
Bytes sound_write();

// The sound write with the case's patches laid over it.
Bytes patched(const BlockCase& c);

// The block of a write as a module decodes it; throws when `write` is no write request.
discovery::ParameterBlock written_block(ByteView write);

// The configuration reply a datagram carries; throws when it carries none.
discovery::ConfigReply config_reply_in(ByteView datagram);

// The search replies among `datagrams`, as a client collects them.
std::vector<discovery::SearchReply> search_replies_in(const std::vector<Bytes>& datagrams);

// One write per refusal reason, blocks that look wrong but are sound (local port 0 with a
// random local port, the smallest masks), and one with several reasons at once.
const std::vector<BlockCase>& block_cases();

} // namespace zk::test
