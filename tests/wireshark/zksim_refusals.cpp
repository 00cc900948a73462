#include "wireshark/zksim_refusals.h"

#include "sim/network_module.h"
#include "support/refused_blocks.h"

namespace zk::test {

std::vector<Refused> zksim_refusals()
{
    std::vector<Refused> out;
    for (const BlockCase& c : block_cases()) {
        sim::NetworkModel model =
            sim::make_network_model(1, {0x84, 0xC2, 0xE4, 0, 0, 1}, {192, 168, 1, 200});
        model.strict_writes = true;
        const sim::ModelAnswer answer = model.handle(patched(c));
        // A case the module does not answer leaves the reply empty, and the test says so.
        Bytes reply = answer.replies.empty() ? Bytes{} : answer.replies.front();
        const UdpPacket packet{{192, 168, 1, 200}, 50000, {255, 255, 255, 255}, 60000, reply};
        out.push_back({{"zksim: " + c.what, packet}, answer.refusal});
    }
    return out;
}

} // namespace zk::test
