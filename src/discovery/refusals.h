#pragma once
// Which blocks a careful module refuses to store, and which parameters no controller can use.
#include <string>
#include <vector>

#include "discovery/parameter_block.h"

namespace zk::discovery {

enum class Refusal
{
    address_zero,
    broadcast_address,
    mask_not_contiguous,
    gateway_outside_subnet,
    gateway_is_address,
    dhcp_flag,
    name_unterminated,
    local_port_zero, // only when the module would use it: the random-port byte is clear
    server_port_zero,
    // Only the operator's parameters are held to these: no controller can use such values.
    mask_zero,
    address_multicast,
    server_zero,
};

struct RefusalReason
{
    Refusal kind;
    std::string text; // "gateway outside the subnet", as the log and the dissector say it
    bool operator==(const RefusalReason&) const = default;
};

// Every reason a module that checks writes would refuse `block`, in a fixed order; empty when
// the block is sound. This is one module's model, for the simulator and the dissector: the bytes
// it judges beyond the parameters are each controller's own, and a tool never holds another
// controller to them.
std::vector<RefusalReason> refusal_reasons(const ParameterBlock& block);

// Why no controller could use these parameters, the only part of a write the operator sets; the
// check the tool makes before it sends one. A gateway of 0.0.0.0 means none.
std::vector<RefusalReason> parameter_refusals(const NetworkParameters& parameters);

// The reasons' texts joined by ", "; "" for none.
std::string refusal_text(const std::vector<RefusalReason>& reasons);

} // namespace zk::discovery
