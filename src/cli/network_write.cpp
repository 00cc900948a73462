#include "cli/network_write.h"

#include <algorithm>

#include "base/ipv4_text.h"
#include "cli/found_controllers.h"
#include "net/host_addresses.h"

namespace zk::cli {

namespace {

Written outcome(WriteOutcome kind, std::string reason)
{
    return {kind, std::move(reason), {}};
}

std::string verdict_text(WriteResult verdict)
{
    switch (verdict) {
    case WriteResult::acknowledged:
        return "acknowledged";
    case WriteResult::refused:
        return "refused by the module";
    case WriteResult::no_answer:
        break;
    }
    return "no acknowledgement";
}

} // namespace

Written write_and_read_back(ConfigClient& modules,
                            const Bytes& mac,
                            const discovery::WriteRequest& request,
                            const discovery::NetworkParameters& before,
                            const discovery::NetworkParameters& wanted)
{
    const WriteResult verdict = modules.write(request);
    const std::string said = verdict_text(verdict);
    const WriteOutcome unconfirmed =
        verdict == WriteResult::refused ? WriteOutcome::refused : WriteOutcome::no_answer;
    const std::map<Bytes, discovery::ConfigReply> back = modules.read_blocks({mac});
    if (back.empty()) return outcome(unconfirmed, said + ", and no answer to the read-back");
    const discovery::NetworkParameters held = back.begin()->second.block.network;
    if (held == wanted) {
        Written done;
        if (verdict != WriteResult::acknowledged)
            done.remark = said + ", yet it holds the new values";
        return done;
    }
    if (held == before)
        return outcome(verdict == WriteResult::acknowledged ? WriteOutcome::refused : unconfirmed,
                       said + "; it still holds its old values");
    return outcome(WriteOutcome::refused, said + ", and it holds " + parameters_json(held).dump());
}

std::vector<discovery::Ipv4> own_addresses()
{
    std::vector<discovery::Ipv4> own;
    for (const std::string& text : interface_addresses()) {
        const std::optional<discovery::Ipv4> ip = parse_dotted_ipv4(text);
        if (ip && (*ip)[0] != 127) own.push_back(*ip);
    }
    return own;
}

} // namespace zk::cli
