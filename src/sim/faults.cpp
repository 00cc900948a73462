#include "sim/faults.h"

namespace zk::sim {

std::vector<Outgoing> apply_faults(std::vector<Outgoing> replies,
                                   const FaultOptions& faults,
                                   const std::function<double()>& chance)
{
    std::vector<Outgoing> out;
    for (Outgoing& reply : replies) {
        if (faults.loss > 0.0 && chance() < faults.loss) continue;
        if (faults.truncate > 0 && reply.datagram.size() > faults.truncate) {
            reply.datagram.resize(faults.truncate);
            reply.meaning += " (cut to " + std::to_string(faults.truncate) + " bytes)";
        }
        reply.delay_ms += faults.delay_ms;
        if (faults.duplicate) out.push_back(reply);
        out.push_back(std::move(reply));
    }
    return out;
}

} // namespace zk::sim
