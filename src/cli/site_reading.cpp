#include "cli/site_reading.h"

#include "base/values.h"
#include "cli/found_controllers.h"
#include "net/host_addresses.h"

namespace zk::cli {

namespace {

std::string dotted(const discovery::Ipv4& ip)
{
    return discovery::dotted(ip, 0);
}

SiteEntry read_entry(Context& context, const FoundController& row)
{
    SiteEntry entry{"", *row.parameters, std::nullopt, ""};
    const std::string mac = mac_text(row.mac);
    if (row.shares_ip) {
        entry.problem = "another controller answers at " + dotted(row.ip) +
                        " too, so neither's settings can be told apart; give one a free "
                        "address with zkctl netcfg set --mac " +
                        mac + " --ip ADDRESS";
        return entry;
    }
    try {
        entry.settings = read_room(*context.controller(dotted(row.ip)));
    } catch (const Exit& error) {
        // A port taken here fails every controller alike: that is this PC's problem, not theirs.
        if (error.code() == exit_local_error) throw;
        const std::string what = error.what();
        entry.problem =
            error.code() == exit_no_answer
                ? unread_reason(mac, entry.network, what, context.globals.ports.settings_local)
                : what;
    }
    return entry;
}

} // namespace

std::string unread_reason(const std::string& mac,
                          const discovery::NetworkParameters& network,
                          const std::string& what,
                          int local_port)
{
    const std::string server = dotted(network.server_ip);
    if (!is_this_pc(server))
        return "its server address is " + server + ", not this PC, so its answers go there (" +
               what + "); point them here with zkctl netcfg set --mac " + mac + " --server self";
    if (local_port != 0 && network.port != local_port)
        return "its answers go to port " + std::to_string(network.port) +
               ", but zkctl listens on " + std::to_string(local_port) + " (" + what +
               "); set it with zkctl netcfg set --mac " + mac + " --port " +
               std::to_string(local_port);
    return what + "; is it powered and its command port cabled?";
}

SegmentNow read_segment(Context& context)
{
    std::vector<FoundController> rows;
    {
        // Closed before the settings are read: nothing more is wanted from the modules.
        std::unique_ptr<ConfigClient> modules = context.modules();
        rows = found_from(modules->search(3));
        std::vector<Bytes> macs;
        for (const FoundController& row : rows)
            macs.push_back(row.mac);
        complete(rows, modules->read_blocks(macs));
    }
    SegmentNow now;
    for (const FoundController& row : rows) {
        if (!row.parameters) {
            now.no_block.push_back({mac_text(row.mac), dotted(row.ip)});
            continue;
        }
        now.site.emplace(mac_text(row.mac), read_entry(context, row));
    }
    return now;
}

} // namespace zk::cli
