// site save and site diff: a whole school's controllers in one file, and what has drifted since.
#include "base/file_read.h"
#include "base/file_write.h"
#include "base/ipv4_text.h"
#include "cli/commands.h"
#include "cli/file_text.h"
#include "cli/found_controllers.h"
#include "cli/site_file.h"
#include "cli/site_reading.h"
#include "cli/site_writing.h"
#include "cli/table.h"

namespace zk::cli {

namespace {

using nlohmann::ordered_json;

// What save did with one entry of the file, for the report.
std::pair<std::string, std::string>
save_outcome(const std::string& mac, const SiteEntry& entry, const SegmentNow& now)
{
    const auto found = now.site.find(mac);
    if (found == now.site.end()) return {"kept", "did not answer; kept as the file had it"};
    if (found->second.settings) return {"saved", ""};
    if (entry.settings) return {"settings_kept", found->second.problem};
    return {"network_only", found->second.problem};
}

void report_save(Context& context, const std::string& file, const Site& site, const SegmentNow& now)
{
    ordered_json rows = ordered_json::array();
    std::vector<std::vector<std::string>> lines;
    for (const auto& [mac, entry] : site) {
        const auto [outcome, problem] = save_outcome(mac, entry, now);
        if (outcome != "saved") context.fail_with(exit_no_answer);
        const std::string ip = ipv4_text(entry.network.ip);
        rows.push_back({{"mac", mac},
                        {"ip", ip},
                        {"room", entry.room},
                        {"outcome", outcome},
                        {"problem", problem}});
        std::string said = outcome == "saved" ? "saved" : outcome + ": " + problem;
        lines.push_back({mac, ip, entry.room.empty() ? "-" : entry.room, said});
    }
    for (const MissingBlock& missing : now.no_block) {
        context.fail_with(exit_no_answer);
        if (site.contains(missing.mac)) continue; // its older entry is reported above
        const std::string problem = "answered the search, but its network parameters never came";
        rows.push_back({{"mac", missing.mac},
                        {"ip", missing.ip},
                        {"room", ""},
                        {"outcome", "not_saved"},
                        {"problem", problem}});
        lines.push_back({missing.mac, missing.ip, "-", "not_saved: " + problem});
    }
    context.print({{"file", file}, {"controllers", rows}}, aligned_text(lines) +
                                                               std::to_string(site.size()) +
                                                               " controllers in " + file + "\n");
}

void save(Context& context, const std::string& file)
{
    const std::optional<Site> before = load_site(file, true);
    const SegmentNow now = read_segment(context);
    if (now.site.empty() && now.no_block.empty())
        throw Exit(exit_no_answer,
                   "no controller answered the search; " + file + " was left as it was");
    const Site site = before ? merged_site(now.site, *before) : now.site;
    const std::string failure = replace_file(utf8_path(file), site_text(site));
    if (!failure.empty()) throw Exit(exit_local_error, file + ": cannot write: " + failure);
    report_save(context, file, site, now);
}

struct Drift
{
    ordered_json differs = ordered_json::array();
    ordered_json no_answer = ordered_json::array();
    ordered_json not_in_file = ordered_json::array();
    std::vector<std::vector<std::string>> lines;

    void change(const std::string& room, const std::string& mac, const FieldChange& c)
    {
        differs.push_back(
            {{"room", room}, {"mac", mac}, {"field", c.field}, {"file", c.from}, {"now", c.to}});
        lines.push_back({room, c.field, c.from + " → " + c.to});
    }
    void silent(const std::string& room, const std::string& mac, const std::string& problem)
    {
        no_answer.push_back({{"room", room}, {"mac", mac}, {"problem", problem}});
        lines.push_back({room, "no answer", problem});
    }
    void unknown(const std::string& mac, const std::string& ip)
    {
        not_in_file.push_back({{"mac", mac}, {"ip", ip}});
        lines.push_back({mac, "not in the file", "answers at " + ip});
    }
};

// One room of the file against its controller now.
void compare_room(Drift& drift,
                  const std::string& mac,
                  const SiteEntry& in_file,
                  const SiteEntry& now)
{
    const std::string room = room_name(mac, in_file);
    for (const FieldChange& change : network_changes(in_file.network, now.network))
        drift.change(room, mac, change);
    // A room whose settings cannot be read now is never reported as unchanged.
    if (!now.settings) return drift.silent(room, mac, now.problem);
    if (!in_file.settings)
        return drift.change(room, mac, {"settings", "(not read at the save)", "(read now)"});
    // Every setting a restore writes, the room's own ID included; the card and fingerprint
    // counts are shown by save but are no setting anyone can put back.
    for (const FieldChange& change : restore_changes(*in_file.settings, *now.settings, false))
        drift.change(room, mac, change);
}

Drift drift_of(const Site& file, const SegmentNow& now)
{
    Drift drift;
    for (const auto& [mac, in_file] : file) {
        const auto found = now.site.find(mac);
        if (found != now.site.end()) {
            compare_room(drift, mac, in_file, found->second);
            continue;
        }
        const bool searched =
            std::any_of(now.no_block.begin(), now.no_block.end(),
                        [&room_mac = mac](const MissingBlock& m) { return m.mac == room_mac; });
        drift.silent(room_name(mac, in_file), mac,
                     searched ? "answered the search, but its network parameters never came"
                              : "did not answer the search");
    }
    for (const auto& [mac, entry] : now.site) {
        if (!file.contains(mac)) drift.unknown(mac, ipv4_text(entry.network.ip));
    }
    for (const MissingBlock& missing : now.no_block) {
        if (!file.contains(missing.mac)) drift.unknown(missing.mac, missing.ip);
    }
    return drift;
}

void diff(Context& context, const std::string& file)
{
    const Site site = *load_site(file, false);
    const Drift drift = drift_of(site, read_segment(context));
    if (!drift.differs.empty() || !drift.not_in_file.empty()) context.fail_with(exit_differs);
    if (!drift.no_answer.empty()) context.fail_with(exit_no_answer);
    const std::string human =
        drift.lines.empty() ? "nothing differs (" + std::to_string(site.size()) + " controllers)\n"
                            : aligned_text(drift.lines);
    context.print({{"differs", drift.differs},
                   {"no_answer", drift.no_answer},
                   {"not_in_file", drift.not_in_file}},
                  human);
}

void add_site_writes(CLI::App& site, Context& context)
{
    auto apply = std::make_shared<SiteApplyRun>();
    CLI::App* apply_command = site.add_subcommand(
        "apply", "Write what differs from the file back to the controllers, verified by reading");
    apply_command->add_option("FILE", apply->file, "A file written by zkctl site save")->required();
    apply_command->add_option("--room", apply->rooms, "Only this room (its label); repeat")
        ->allow_extra_args(false);
    apply_command->add_flag("--dry-run", apply->dry_run,
                            "Read the controllers and print what would change; write nothing");
    apply_command->callback([&context, apply] { apply_site(context, *apply); });

    auto replace = std::make_shared<SiteReplaceRun>();
    CLI::App* replace_command = site.add_subcommand(
        "replace", "Give a new unit a room's parameters and settings, and the room its MAC");
    replace_command->add_option("FILE", replace->file, "A file written by zkctl site save")
        ->required();
    replace_command->add_option("--room", replace->room, "The room (its label)")->required();
    replace_command->add_option("--new", replace->new_mac, "The new unit's MAC")->required();
    replace_command->add_flag(
        "--force", replace->force,
        "Even when the MAC is another room's or the old unit still answers at the address");
    replace_command->callback([&context, replace] { replace_unit(context, *replace); });
}

} // namespace

void add_site_commands(CLI::App& app, Context& context)
{
    auto file = std::make_shared<std::string>();
    CLI::App* site =
        app.add_subcommand("site", "A whole school's controllers in one file, keyed by MAC");
    site->require_subcommand(1);
    CLI::App* save_command = site->add_subcommand(
        "save", "Search, read every controller and write the file (room labels are kept)");
    save_command->add_option("FILE", *file, "The school's file, e.g. school.json")
        ->required()
        ->check(CLI::Validator(writable_file, ""));
    save_command->callback([&context, file] { save(context, *file); });
    CLI::App* diff_command = site->add_subcommand(
        "diff", "The file against the controllers now; exit 1 when something differs");
    diff_command->add_option("FILE", *file, "A file written by zkctl site save")->required();
    diff_command->callback([&context, file] { diff(context, *file); });
    add_site_writes(*site, context);
}

} // namespace zk::cli
