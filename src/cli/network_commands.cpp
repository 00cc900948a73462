// discover, netcfg set and netcfg apply: the configuration face of the modules, by broadcast.
#include <algorithm>
#include <optional>

#include "base/ipv4_text.h"
#include "base/receive_buffer.h"
#include "cli/commands.h"
#include "cli/found_controllers.h"
#include "cli/network_write.h"
#include "cli/plan_apply.h"
#include "cli/table.h"
#include "cli/values.h"
#include "discovery/refusals.h"

namespace zk::cli {

namespace {

using discovery::Ipv4;
using discovery::NetworkParameters;

struct NetcfgInput
{
    std::string mac, ip, mask, gateway, server, port;
    bool verify = false;
    bool force = false;
};

Ipv4 address_option(const std::string& text, std::string_view option)
{
    const std::optional<Ipv4> address = parse_dotted_ipv4(text);
    if (!address)
        refuse_input(std::string(option) + ": expected an IPv4 address like 192.168.1.20, not \"" +
                     text + "\"");
    return *address;
}

void discover(Context& context, int rounds, bool csv)
{
    std::unique_ptr<ConfigClient> modules = context.modules();
    const std::string small_buffer = receive_buffer_warning(
        modules->receive_buffer_size(), DatagramEndpoint::wanted_receive_buffer);
    if (!small_buffer.empty()) context.warn(small_buffer);
    std::vector<FoundController> rows = found_from(modules->search(rounds));
    if (rows.empty()) throw Exit(exit_no_answer, "no controller answered");
    std::vector<Bytes> macs;
    for (const FoundController& row : rows)
        macs.push_back(row.mac);
    complete(rows, modules->read_blocks(macs));
    nlohmann::ordered_json json = nlohmann::ordered_json::array();
    for (const FoundController& row : rows) {
        if (!row.parameters) context.warn(mac_text(row.mac) + ": parameters not read (no answer)");
        if (!row.other_ips.empty())
            context.warn(shared_mac_text(row) + "; two devices share the MAC");
        if (row.shares_ip)
            context.warn(mac_text(row.mac) + ": " + ipv4_text(row.ip) +
                         " is also used by another controller");
        json.push_back(to_json(row));
    }
    if (csv && !context.globals.json)
        context.out() << to_csv(rows);
    else
        context.print(json, to_table(rows));
}

// The parameters the block holds with the options given applied over them.
NetworkParameters edited(const Context& context, const NetcfgInput& in, NetworkParameters p)
{
    if (!in.ip.empty()) p.ip = address_option(in.ip, "--ip");
    if (!in.mask.empty()) p.mask = address_option(in.mask, "--mask");
    if (!in.gateway.empty()) p.gateway = address_option(in.gateway, "--gateway");
    if (in.server == "self")
        p.server_ip = address_option(context.adapter().first_ipv4, "--server self");
    else if (!in.server.empty())
        p.server_ip = address_option(in.server, "--server");
    if (!in.port.empty())
        p.port = static_cast<std::uint16_t>(parse_number(in.port, "--port", 65535));
    return p;
}

// The search after a write: the controller must answer it at its new address.
void verify(ConfigClient& modules, const Bytes& mac, const NetworkParameters& p)
{
    for (const FoundController& row : found_from(modules.search(3))) {
        if (row.mac == mac && row.ip == p.ip) return;
    }
    throw Exit(exit_no_answer,
               "--verify: " + mac_text(mac) + " does not answer a search at " + ipv4_text(p.ip));
}

// Parameters no controller can use, a MAC two devices answer for, or an address that another
// controller or this PC has: the module's acknowledgement would hide each of them.
void refuse_unsound(const std::vector<FoundController>& segment,
                    const NetcfgInput& in,
                    const Bytes& mac,
                    const NetworkParameters& wanted)
{
    const std::vector<discovery::RefusalReason> reasons = discovery::parameter_refusals(wanted);
    if (!reasons.empty())
        refuse_input("netcfg set: no controller can use these parameters: " +
                     discovery::refusal_text(reasons) + " (--force sends them anyway)");
    for (const FoundController& row : segment)
        if (row.mac == mac && !row.other_ips.empty())
            refuse_input("--mac: " + shared_mac_text(row) +
                         "; a write would reach both (--force sends it anyway)");
    if (in.ip.empty()) return;
    for (const FoundController& row : segment)
        if (row.mac != mac && row.ip == wanted.ip)
            refuse_input("--ip: " + ipv4_text(wanted.ip) + " is the address of " +
                         mac_text(row.mac) + " (--force sends it anyway)");
    const std::vector<Ipv4> own = own_addresses();
    if (std::find(own.begin(), own.end(), wanted.ip) != own.end())
        refuse_input("--ip: " + ipv4_text(wanted.ip) +
                     " is this PC's address (--force sends it anyway)");
}

void netcfg_set(Context& context, const NetcfgInput& in)
{
    const Bytes mac = parse_mac(in.mac);
    if (in.ip.empty() && in.mask.empty() && in.gateway.empty() && in.server.empty() &&
        in.port.empty())
        refuse_input("netcfg set: nothing to change (give --ip, --mask, --gateway, --server or "
                     "--port)");
    edited(context, in, {}); // every value is checked before anything is sent
    std::unique_ptr<ConfigClient> modules = context.modules();
    // Several rounds, as one lost answer would hide the controller that has the address.
    const std::vector<FoundController> segment =
        in.force ? std::vector<FoundController>{} : found_from(modules->search(3));
    const std::map<Bytes, discovery::ConfigReply> blocks = modules->read_blocks({mac});
    if (blocks.empty())
        throw Exit(exit_no_answer, "no controller with MAC " + mac_text(mac) + " answered");
    const discovery::ConfigReply held = discovery::at_datagram_length(blocks.begin()->second);
    const NetworkParameters current = held.block.network;
    const NetworkParameters wanted = edited(context, in, current);
    const discovery::WriteRequest request = discovery::write_request(held, wanted);
    if (!in.force) refuse_unsound(segment, in, mac, wanted);
    const Written written = write_and_read_back(*modules, mac, request, current, wanted);
    if (written.outcome != WriteOutcome::changed)
        throw Exit(written.outcome == WriteOutcome::refused ? exit_refused : exit_no_answer,
                   mac_text(mac) + ": " + written.reason);
    if (!written.remark.empty()) context.warn(mac_text(mac) + ": " + written.remark);
    if (in.verify) verify(*modules, mac, wanted);
    nlohmann::ordered_json json{{"mac", mac_text(mac)}};
    json.update(parameters_json(wanted));
    json["written"] = true;                 // and read back
    if (in.verify) json["verified"] = true; // a check not asked for is no failed check
    context.print(json, key_value_text(json));
}

} // namespace

void add_network_commands(CLI::App& app, Context& context)
{
    auto rounds = std::make_shared<int>(3);
    auto csv = std::make_shared<bool>(false);
    CLI::App* find = app.add_subcommand("discover", "Find every controller of the segment");
    find->add_option("--rounds", *rounds, "Searches spread over the time-out (default 3)")
        ->check(range(1, 20));
    find->add_flag("--csv", *csv, "Comma-separated output with a header line");
    add_output_option(*find, context);
    find->callback([&context, rounds, csv] { discover(context, *rounds, *csv); });

    auto in = std::make_shared<NetcfgInput>();
    CLI::App* netcfg = app.add_subcommand("netcfg", "Network parameters of one controller");
    netcfg->require_subcommand(1);
    CLI::App* set =
        netcfg->add_subcommand("set", "Write new network parameters (read-modify-write)");
    set->add_option("--mac", in->mac, "The controller's MAC, as discover shows it")->required();
    set->add_option("--ip", in->ip, "New IPv4 address");
    set->add_option("--mask", in->mask, "New subnet mask");
    set->add_option("--gateway", in->gateway, "New default gateway");
    set->add_option("--server", in->server, "Server address its answers go to, or self (this PC)");
    set->add_option("--port", in->port, "Server port its answers go to (16006 for zkctl)");
    set->add_flag("--verify", in->verify, "Search again to check it answers at its new address");
    set->add_flag("--force", in->force,
                  "Send even parameters no controller can use, an address already in use or to "
                  "a MAC that answers from two addresses");
    set->callback([&context, in] { netcfg_set(context, *in); });

    auto plan = std::make_shared<PlanRun>();
    CLI::App* apply = netcfg->add_subcommand(
        "apply", "Apply a network plan (CSV: mac,ip,mask,gateway,server,port) to the segment");
    apply->add_option("PLAN", plan->file, "The plan; discover --csv output is one")->required();
    apply->add_flag("--dry-run", plan->dry_run, "Print what would change and send no write");
    apply->add_flag("--skip-missing", plan->skip_missing,
                    "Leave out rows whose controller does not answer instead of refusing");
    apply->add_flag("--force", plan->force, "Write even to a MAC that answers from two addresses");
    apply->callback([&context, plan] { apply_plan(context, *plan); });
}

} // namespace zk::cli
