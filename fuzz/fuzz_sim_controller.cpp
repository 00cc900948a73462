// The simulated controller's command face: a run of HS3 requests from anyone on the segment.
// Every answer it gives must be one the tool can decode, and every state it reaches must
// survive its state file.
#include <cstddef>
#include <cstdint>

#include "protocol/replies.h"
#include "sim/controller_model.h"
#include "support/fuzz_input.h"
#include "support/state_round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace zk;
    sim::ControllerModel model({}, {1234567u, 3, 400});
    static const sim::NetworkModel one_module = sim::make_network_model(1, {}, {10, 0, 0, 2});
    fuzz::FuzzInput in(data, size);
    bool changed = false;
    while (!in.empty()) {
        const sim::Answer answer = model.handle(in.datagram());
        for (const sim::Outgoing& reply : answer.replies)
            fuzz::require(protocol::decode_reply(reply.datagram).has_value(),
                          "every answer of the simulator decodes");
        changed = changed || answer.state_changed;
    }
    // Once per run of requests: the file is what the last change left.
    if (changed)
        fuzz::require(fuzz::state_survives_restart(model.state(), one_module),
                      "the controller's state reads back from its file");
    return 0;
}
