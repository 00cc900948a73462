// site apply and site replace: a school's file put back onto its controllers.
#include <algorithm>

#include "base/file_read.h"
#include "base/file_write.h"
#include "base/ipv4_text.h"
#include "base/values.h"
#include "cli/file_text.h"
#include "cli/found_controllers.h"
#include "cli/network_write.h"
#include "cli/plan_apply.h"
#include "cli/site_reading.h"
#include "cli/site_writing.h"
#include "cli/table.h"

namespace zk::cli {

namespace {

using nlohmann::ordered_json;

// The segment checked against the rooms as netcfg apply checks a plan: refused as a whole, with
// nothing sent, when a room's parameters cannot be written.
PlanCheck checked_plan(Context& context,
                       const Plan& plan,
                       const std::vector<SegmentController>& segment,
                       const std::string& file)
{
    const PlanOptions options{std::nullopt, own_addresses(), true, false};
    PlanCheck check = check_plan(plan, segment, options, file);
    if (!check.problems.empty()) refuse_plan(context, check.problems);
    return check;
}

// What a room would see changed, read from its controller at the address it has now.
RoomWrite room_preview(Context& context, const PlanStep& step, const SiteEntry& entry)
{
    const std::string mac = mac_text(step.row->mac);
    RoomWrite room{mac,
                   room_name(mac, entry),
                   StepOutcome::unchanged,
                   network_changes(step.current, step.wanted),
                   {}};
    if (entry.settings) {
        try {
            const std::string address = ipv4_text(step.current.ip);
            const RoomSettings now = read_room(*context.controller(address));
            for (const FieldChange& change : restore_changes(now, *entry.settings, false))
                room.changes.push_back(change);
        } catch (const Exit& error) {
            if (error.code() == exit_local_error) throw;
            room.outcome = StepOutcome::no_answer;
            room.reason = unread_reason(mac, step.current, error.what(),
                                        context.globals.ports.settings_local);
        }
    }
    if (room.reason.empty() && !room.changes.empty()) room.outcome = StepOutcome::changed;
    return room;
}

void dry_run(Context& context, const PlanCheck& check, const Site& site)
{
    std::vector<RoomWrite> rooms;
    for (const PlanStep& step : check.steps)
        rooms.push_back(room_preview(context, step, site.at(mac_text(step.row->mac))));
    add_missing_rooms(rooms, check, site, "did not answer the search");
    report_rooms(context, rooms, true);
}

// The room's one MAC; a label two entries share names no single unit.
std::string room_mac(const Site& site, const SiteReplaceRun& run)
{
    const std::vector<std::string> macs = chosen_rooms(site, {run.room}, run.file);
    if (macs.size() != 1)
        refuse_input("--room " + run.room + ": " + std::to_string(macs.size()) + " rooms of " +
                     run.file + " have that label; give one its own");
    return macs.front();
}

std::string new_unit_mac(const Site& site, const SiteReplaceRun& run, const std::string& old)
{
    const std::optional<Bytes> parsed = zk::parse_mac(run.new_mac);
    if (!parsed || parsed->size() != 6)
        refuse_input("--new: expected a MAC like 84:C2:E4:00:00:01, not \"" + run.new_mac + "\"");
    const std::string mac = mac_text(*parsed);
    if (mac == old) refuse_input("--new: " + mac + " is the unit the room has now");
    if (site.contains(mac) && !run.force)
        refuse_input("--new: " + mac + " is already room " + room_name(mac, site.at(mac)) + " of " +
                     run.file + "; nothing was sent (--force moves it)");
    return mac;
}

// The segment as the search found it, without the room's old unit: refused while it still
// answers at the room's address, unless forced, when it is only in the way.
std::vector<SegmentController> without_old_unit(std::vector<SegmentController> segment,
                                                const std::string& old,
                                                const SiteEntry& entry,
                                                const SiteReplaceRun& run)
{
    const auto at_room = [&](const SegmentController& c) {
        return mac_text(c.mac) == old &&
               (c.ip == entry.network.ip || std::find(c.other_ips.begin(), c.other_ips.end(),
                                                      entry.network.ip) != c.other_ips.end());
    };
    const auto found = std::find_if(segment.begin(), segment.end(), at_room);
    if (found == segment.end()) return segment;
    if (!run.force)
        refuse_input("room " + run.room + ": its unit " + old + " still answers at " +
                     ipv4_text(entry.network.ip) +
                     "; nothing was sent (--force replaces it all the same)");
    segment.erase(found);
    return segment;
}

// The file with the room's entry under its new MAC, the old one kept in its history.
Site replaced(Site site, const std::string& old, const std::string& fresh, Context& context)
{
    SiteEntry entry = site.at(old);
    site.erase(old);
    entry.history.push_back(old);
    if (const auto moved = site.find(fresh); moved != site.end()) {
        context.warn("room " + room_name(fresh, moved->second) +
                     " no longer has an entry: its unit " + fresh + " is now room " + entry.room +
                     "'s");
        site.erase(moved);
    }
    site.emplace(fresh, std::move(entry));
    return site;
}

} // namespace

void replace_unit(Context& context, const SiteReplaceRun& run)
{
    const Site site = *load_site(run.file, false);
    const std::string old = room_mac(site, run);
    const std::string fresh = new_unit_mac(site, run, old);
    const Site unit{{fresh, site.at(old)}}; // the room as the new unit is to hold it
    const Plan plan = plan_of(unit, {fresh});
    std::unique_ptr<ConfigClient> modules = context.modules();
    const std::vector<SegmentController> segment =
        without_old_unit(search_segment(*modules, plan), old, site.at(old), run);
    const PlanCheck check = checked_plan(context, plan, segment, run.file);
    if (!check.missing.empty())
        throw Exit(exit_no_answer, fresh + " did not answer the search; is it powered and "
                                           "cabled to this segment? Nothing was sent");
    const std::vector<RoomWrite> rooms = write_rooms(context, *modules, check, unit);
    report_rooms(context, rooms);
    if (context.status != exit_ok) {
        context.warn(run.file + " was left as it was: the new unit is not verified");
        return;
    }
    const std::string failure =
        replace_file(utf8_path(run.file), site_text(replaced(site, old, fresh, context)));
    if (!failure.empty()) throw Exit(exit_local_error, run.file + ": cannot write: " + failure);
}

void apply_site(Context& context, const SiteApplyRun& run)
{
    const Site site = *load_site(run.file, false);
    const Plan plan = plan_of(site, chosen_rooms(site, run.rooms, run.file));
    std::unique_ptr<ConfigClient> modules = context.modules();
    const PlanCheck check = checked_plan(context, plan, search_segment(*modules, plan), run.file);
    if (run.dry_run) return dry_run(context, check, site);
    report_rooms(context, write_rooms(context, *modules, check, site));
}

} // namespace zk::cli
