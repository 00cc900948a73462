#pragma once
// The parameter block's named fields at their offsets, for the codec and the module model in
// this folder only; everything outside it goes through message.h.
#include <algorithm>
#include <cstddef>

#include "base/bytes.h"
#include "discovery/parameter_block.h"

namespace zk::discovery {

// Copies `bytes` into `out` at `at`; the caller has made `out` long enough.
inline void put_bytes(Bytes& out, std::size_t at, ByteView bytes)
{
    std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

// The four bytes of an address, or the six of a MAC, at `at`; the caller has checked the length.
Ipv4 take_ipv4(ByteView datagram, std::size_t at);
Mac take_mac(ByteView datagram, std::size_t at);

// Writes the block's named fields into a datagram of at least 285 bytes.
void put_block_fields(Bytes& datagram, const ParameterBlock& block);

// The named fields of a datagram of at least 285 bytes, and the datagram with them zero as the
// remainder.
ParameterBlock take_block(Bytes datagram);

} // namespace zk::discovery
