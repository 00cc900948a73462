#pragma once
// Faults a simulated controller can be told to commit on its replies, so the tool's handling of
// lost, late, repeated and cut-short answers can be seen.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "sim/outgoing.h"

namespace zk::sim {

struct FaultOptions
{
    double loss = 0.0; // chance of dropping each reply, 0 to 1
    int delay_ms = 0;  // added to every reply
    bool duplicate = false;
    std::size_t truncate = 0;          // when > 0, replies are cut to this many bytes
    std::optional<std::uint32_t> seed; // the same seed loses the same replies; none: random
};

// The replies as they go out: lost ones left out, the others cut, delayed and repeated.
// `chance` gives numbers in [0, 1); a reply is lost when it is below `loss`.
std::vector<Outgoing> apply_faults(std::vector<Outgoing> replies,
                                   const FaultOptions& faults,
                                   const std::function<double()>& chance);

} // namespace zk::sim
