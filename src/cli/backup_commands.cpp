// backup and restore: one controller's settings to a JSON document and back onto one or many.
#include "base/file_read.h"
#include "base/ipv4_text.h"
#include "base/json_reading.h"
#include "cli/commands.h"
#include "cli/found_controllers.h"
#include "cli/room_settings.h"
#include "cli/settings_write.h"
#include "cli/table.h"
#include "cli/values.h"
#include "protocol/hs3_frame.h"

namespace zk::cli {

namespace {

using nlohmann::ordered_json;

struct BackupInput
{
    std::vector<std::string> hosts;
    std::string file;
    bool keep_id = false;
    bool dry_run = false;
    bool verbose = false;
};

// The network parameters of the module that announces `address`, by its MAC.
ordered_json network_of(Context& context, const std::string& address)
{
    std::unique_ptr<ConfigClient> modules = context.modules();
    for (const FoundController& row : found_from(modules->search(3))) {
        if (ipv4_text(row.ip) != address) continue;
        const std::map<Bytes, discovery::ConfigReply> blocks = modules->read_blocks({row.mac});
        if (blocks.empty()) break;
        const discovery::NetworkParameters& p = blocks.begin()->second.block.network;
        return {{"mac", mac_text(row.mac)},         {"ip", address},
                {"mask", ipv4_text(p.mask)},        {"gateway", ipv4_text(p.gateway)},
                {"server", ipv4_text(p.server_ip)}, {"port", p.port}};
    }
    throw Exit(exit_no_answer, "no network module at " + address + " answered the search");
}

void backup(Context& context, const BackupInput& in)
{
    if (in.hosts.size() != 1) refuse_input("backup: give exactly one --host");
    std::unique_ptr<Hs3Client> controller = context.controller(in.hosts.front());
    ordered_json document{{"format", backup_format}, {"version", backup_version}};
    document["host"] = controller->address();
    document["network"] = network_of(context, controller->address());
    document.update(settings_json(read_room(*controller)));
    context.out() << document.dump(2) << "\n" << std::flush;
}

RoomSettings read_backup(const std::string& file)
{
    const FileRead read = read_regular_file(utf8_path(file), backup_file);
    if (const auto* failure = std::get_if<ReadFailure>(&read))
        refuse_input(describe(utf8_path(file), *failure));
    try {
        return settings_from_json(parse_json_document(std::get<std::string>(read)), file);
    } catch (const JsonError& error) {
        refuse_input(file + ": " + error.what());
    }
}

std::string frame_text(const protocol::Request& request)
{
    return hex_bytes_text(
        protocol::wrap_frame(protocol::encode_request(request)).value_or(Bytes{}));
}

// The fields each controller would see changed, read from it (nothing is written); with
// --verbose also the frames a restore would send.
void dry_run(Context& context,
             const BackupInput& in,
             const RoomSettings& room,
             const std::vector<PlannedWrite>& plan)
{
    ordered_json results = ordered_json::array();
    std::vector<std::vector<std::string>> lines;
    for (const std::string& host : in.hosts) {
        ordered_json result{{"host", host}, {"changes", ordered_json::array()}};
        try {
            const RoomSettings now = read_room(*context.controller(host));
            for (const FieldChange& change : restore_changes(now, room, in.keep_id)) {
                lines.push_back({host, change.field, change_values(change)});
                result["changes"].push_back(
                    {{"field", change.field}, {"from", change.from}, {"to", change.to}});
            }
            if (result["changes"].empty()) lines.push_back({host, "nothing to change"});
        } catch (const Exit& error) {
            context.fail_with(error.code());
            lines.push_back({host, "failed: " + std::string(error.what())});
            result["problem"] = error.what();
        }
        if (!in.verbose) {
            results.push_back(result);
            continue;
        }
        result["frames"] = ordered_json::array();
        for (const PlannedWrite& write : plan) {
            lines.push_back({host, write.what + " frame", frame_text(write.request)});
            result["frames"].push_back(
                {{"write", write.what}, {"frame", frame_text(write.request)}});
        }
        results.push_back(result);
    }
    context.print(results, aligned_text(lines));
}

void restore(Context& context, const BackupInput& in)
{
    if (in.hosts.empty()) refuse_input("restore: give at least one --host");
    const RoomSettings room = read_backup(in.file);
    if (in.hosts.size() > 1 && !in.keep_id)
        refuse_input("restore: " + std::to_string(in.hosts.size()) +
                     " controllers would all get ID " + std::to_string(room.id) +
                     "; add --keep-id to leave each its own");
    const std::vector<PlannedWrite> plan = restore_plan(room, in.keep_id);
    // A mistyped host stops the restore before any controller is half-way changed.
    std::vector<std::string> addresses;
    for (const std::string& host : in.hosts)
        addresses.push_back(checked_host(context.target(host)));
    if (in.dry_run) return dry_run(context, in, room, plan);
    Hs3Batch batch(context.target(""), context.timing());
    const std::map<std::string, std::string> problems = send_writes_to_all(batch, addresses, plan);
    ordered_json results = ordered_json::array();
    std::vector<std::vector<std::string>> lines;
    for (std::size_t i = 0; i < in.hosts.size(); ++i) {
        const std::string& host = in.hosts[i];
        const auto failed = problems.find(addresses[i]);
        const std::string problem = failed == problems.end() ? "" : failed->second;
        context.fail_with(problem.empty() ? exit_ok : exit_no_answer);
        lines.push_back({host, problem.empty() ? "restored" : "failed: " + problem});
        results.push_back({{"host", host},
                           {"restored", problem.empty()},
                           {"problem", problem.empty() ? ordered_json() : ordered_json(problem)}});
    }
    context.print(results, aligned_text(lines));
}

} // namespace

void add_backup_commands(CLI::App& app, Context& context)
{
    auto in = std::make_shared<BackupInput>();
    CLI::App* save = app.add_subcommand("backup", "Every readable setting of a controller as JSON");
    save->add_option("--host", in->hosts, "The controller's IPv4 address")
        ->required()
        ->allow_extra_args(false);
    add_output_option(*save, context);
    save->callback([&context, in] { backup(context, *in); });

    CLI::App* load = app.add_subcommand("restore", "Write a backup to one or many controllers");
    load->add_option("--host", in->hosts, "A controller's address; repeat for several")
        ->required()
        ->allow_extra_args(false);
    load->add_option("FILE", in->file, "A file written by zkctl backup")->required();
    load->add_flag("--keep-id", in->keep_id, "Leave each controller its own ID");
    load->add_flag("--dry-run", in->dry_run,
                   "Read each controller and print the settings it would change; write nothing");
    load->add_flag("--verbose", in->verbose, "With --dry-run, also the frames it would send");
    load->callback([&context, in] { restore(context, *in); });
}

} // namespace zk::cli
