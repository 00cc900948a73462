#pragma once
// What the net layer asks of a configuration datagram before anything decodes it.
#include <cstdint>

#include "base/bytes.h"

namespace zk::discovery {

inline constexpr std::uint8_t search_reply_code = 0x84;

// True for a search reply: every controller of a segment answers one search at once, so these
// come in bursts (the endpoint gathers them; everything else is handed over as it comes).
bool comes_in_bursts(ByteView datagram);

} // namespace zk::discovery
