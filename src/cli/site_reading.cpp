#include "cli/site_reading.h"

#include "base/ipv4_text.h"
#include "base/values.h"
#include "cli/card_batch.h"
#include "cli/found_controllers.h"
#include "net/host_addresses.h"

namespace zk::cli {

namespace {

// Problems found without asking: a shared address answers for two controllers, and a controller
// at this PC's own address could only be this program. nullopt when it can be asked.
std::optional<std::string> unaskable(Context& context, const FoundController& row)
{
    const std::string mac = mac_text(row.mac);
    if (row.shares_ip)
        return "another controller answers at " + ipv4_text(row.ip) +
               " too, so neither's settings can be told apart; give one a free address with "
               "zkctl netcfg set --mac " +
               mac + " --ip ADDRESS";
    try {
        checked_host(context.target(ipv4_text(row.ip)));
    } catch (const Exit& error) {
        return error.what();
    }
    return std::nullopt;
}

// The settings of every controller that can be asked, read side by side.
void read_settings(Context& context, const std::vector<FoundController>& rows, SegmentNow& now)
{
    std::vector<std::string> addresses;
    for (const FoundController& row : rows) {
        SiteEntry entry{"", *row.parameters, std::nullopt, "", {}};
        if (const auto problem = unaskable(context, row))
            entry.problem = *problem;
        else
            addresses.push_back(ipv4_text(row.ip));
        now.site.emplace(mac_text(row.mac), std::move(entry));
    }
    Hs3Batch batch(context.target(""), context.timing());
    const RoomsRead read = read_rooms(batch, addresses, [&](std::size_t done, std::size_t all) {
        draw_progress(context, done, all);
    });
    for (const FoundController& row : rows) {
        SiteEntry& entry = now.site.at(mac_text(row.mac));
        const std::string address = ipv4_text(row.ip);
        if (const auto room = read.rooms.find(address); room != read.rooms.end())
            entry.settings = room->second;
        else if (const auto problem = read.problems.find(address); problem != read.problems.end())
            entry.problem = unread_reason(mac_text(row.mac), entry.network, problem->second,
                                          context.globals.ports.settings_local);
    }
}

} // namespace

std::string unread_reason(const std::string& mac,
                          const discovery::NetworkParameters& network,
                          const std::string& what,
                          int local_port)
{
    const std::string server = ipv4_text(network.server_ip);
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
    std::vector<FoundController> read;
    for (FoundController& row : rows) {
        if (row.parameters)
            read.push_back(std::move(row));
        else
            now.no_block.push_back({mac_text(row.mac), ipv4_text(row.ip)});
    }
    read_settings(context, read, now);
    return now;
}

} // namespace zk::cli
