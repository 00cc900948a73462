#include "cli/site_writing.h"

#include "base/ipv4_text.h"
#include "base/values.h"
#include "cli/found_controllers.h"
#include "cli/hs3_client.h"
#include "cli/plan_apply.h"
#include "cli/settings_write.h"
#include "cli/site_reading.h"
#include "cli/table.h"

namespace zk::cli {

namespace {

using nlohmann::ordered_json;

// The worse of the two steps, and changed when either changed anything.
StepOutcome combined(StepOutcome network, StepOutcome settings)
{
    if (settings == StepOutcome::refused || settings == StepOutcome::no_answer) return settings;
    if (network == StepOutcome::changed || settings == StepOutcome::changed)
        return StepOutcome::changed;
    return StepOutcome::unchanged;
}

// The settings of a room whose network parameters are verified, asked at the room's address.
void write_room_settings(Context& context, RoomWrite& room, const SiteEntry& entry)
{
    const std::string address = ipv4_text(entry.network.ip);
    const SettingsApplied applied = apply_settings(*context.controller(address), *entry.settings);
    room.changes.insert(room.changes.end(), applied.changes.begin(), applied.changes.end());
    room.outcome = combined(room.outcome, applied.outcome);
    room.reason = applied.outcome == StepOutcome::no_answer
                      ? unread_reason(room.mac, entry.network, applied.reason,
                                      context.globals.ports.settings_local)
                      : applied.reason;
}

std::string change_text(const FieldChange& change)
{
    return change.field + " " + change_values(change);
}

} // namespace

Plan plan_of(const Site& site, const std::vector<std::string>& macs)
{
    Plan plan;
    for (const std::string& mac : macs) {
        const SiteEntry& entry = site.at(mac);
        const discovery::NetworkParameters& n = entry.network;
        plan.rows.push_back({plan.rows.size() + 1, "room " + room_name(mac, entry),
                             zk::parse_mac(mac).value_or(Bytes{}), n.ip, n.mask, n.gateway,
                             n.server_ip, false, n.port});
    }
    return plan;
}

std::vector<RoomWrite>
write_rooms(Context& context, ConfigClient& modules, const PlanCheck& check, const Site& site)
{
    const std::vector<StepResult> network = apply_steps(context, modules, check);
    std::vector<RoomWrite> rooms;
    for (std::size_t i = 0; i < network.size(); ++i) {
        const PlanStep& step = check.steps[i];
        const std::string mac = mac_text(step.row->mac);
        const SiteEntry& entry = site.at(mac);
        RoomWrite room{mac, room_name(mac, entry), network[i].outcome,
                       network_changes(step.current, step.wanted), network[i].reason};
        const bool verified =
            room.outcome == StepOutcome::changed || room.outcome == StepOutcome::unchanged;
        if (verified && entry.settings) write_room_settings(context, room, entry);
        rooms.push_back(std::move(room));
    }
    add_missing_rooms(rooms, check, site, "did not answer the search; nothing was written");
    return rooms;
}

void add_missing_rooms(std::vector<RoomWrite>& rooms,
                       const PlanCheck& check,
                       const Site& site,
                       const std::string& reason)
{
    for (const PlanRow* row : check.missing) {
        const std::string mac = mac_text(row->mac);
        rooms.push_back({mac, room_name(mac, site.at(mac)), StepOutcome::no_answer, {}, reason});
    }
}

void report_rooms(Context& context, const std::vector<RoomWrite>& rooms, bool preview)
{
    const auto name = [preview](StepOutcome outcome) {
        return preview && outcome == StepOutcome::changed ? std::string("would_change")
                                                          : std::string(outcome_name(outcome));
    };
    std::map<StepOutcome, std::size_t> counts;
    ordered_json json_rooms = ordered_json::array();
    std::vector<std::vector<std::string>> lines{{"room", "mac", "outcome", "changes"}};
    for (const RoomWrite& room : rooms) {
        ++counts[room.outcome];
        context.fail_with(exit_status_of(room.outcome));
        std::vector<std::string> texts;
        ordered_json changes = ordered_json::array();
        for (const FieldChange& change : room.changes) {
            texts.push_back(change_text(change));
            changes.push_back({{"field", change.field}, {"from", change.from}, {"to", change.to}});
        }
        lines.push_back({room.room, room.mac, name(room.outcome)});
        const std::string said = room.reason.empty() ? joined(texts) : room.reason;
        if (!said.empty()) lines.back().push_back(said);
        json_rooms.push_back({{"room", room.room},
                              {"mac", room.mac},
                              {"outcome", name(room.outcome)},
                              {"changes", changes},
                              {"problem", room.reason}});
    }
    ordered_json summary{{name(StepOutcome::changed), counts[StepOutcome::changed]},
                         {"unchanged", counts[StepOutcome::unchanged]},
                         {"refused", counts[StepOutcome::refused]},
                         {"no_answer", counts[StepOutcome::no_answer]}};
    const std::string human = aligned_text(lines) + key_value_text(summary);
    summary["rooms"] = json_rooms;
    context.print(summary, human);
}

} // namespace zk::cli
