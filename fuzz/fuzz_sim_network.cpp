// The simulated network modules: a run of configuration datagrams from anyone on the segment.
// Every answer must be one the find window accepts, and every state the writes leave must
// survive the state file.
#include <cstddef>
#include <cstdint>

#include "discovery/message.h"
#include "sim/network_module.h"
#include "support/checked_states.h"
#include "support/fuzz_input.h"
#include "support/state_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zk;
    sim::NetworkModel model =
        sim::make_network_model(2, {0x84, 0xC2, 0xE4, 0x01, 0x0A, 0xFF}, {192, 168, 1, 200});
    const sim::ControllerState controller;
    fuzz::FuzzInput in(data, size);
    bool changed = false;
    while (!in.empty()) {
        const sim::ModelAnswer answer = model.handle(in.datagram());
        for (const Bytes& reply : answer.replies)
            fuzz::require(discovery::decode_reply(reply).has_value(),
                          "every answer of the simulator is accepted by the find window");
        changed = changed || answer.changed;
    }
    // Once per run of requests: the file is what the last change left.
    static fuzz::CheckedStates checked(1 << 14);
    if (!changed || checked.contains(model.modules)) return 0;
    fuzz::require(fuzz::state_survives_restart(controller, model),
                  "the modules' settings read back from the state file");
    checked.remember(model.modules);
    return 0;
}
