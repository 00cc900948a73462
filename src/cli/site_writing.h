#pragma once
// Putting a school's file back onto its controllers: the network parameters through the checks
// and steps of netcfg apply, then the settings as restore writes them, each verified by reading
// it back. site apply does it for the rooms named, site replace for a new unit in one room.
#include <string>
#include <vector>

#include "cli/context.h"
#include "cli/network_plan.h"
#include "cli/room_settings.h"
#include "cli/site_file.h"

namespace zk::cli {

struct RoomWrite
{
    std::string mac;
    std::string room;
    StepOutcome outcome = StepOutcome::unchanged;
    std::vector<FieldChange> changes; // network and settings, as the controller held them → file
    std::string reason;               // why it is not verified; empty when it is
};

// One plan row per MAC, giving the entry's five network parameters; problems name the room.
Plan plan_of(const Site& site, const std::vector<std::string>& macs);

// Writes each found room: its parameters where they differ (netcfg apply's steps), then, where
// they are verified and the file holds settings, the settings at the room's address.
std::vector<RoomWrite>
write_rooms(Context& context, ConfigClient& modules, const PlanCheck& check, const Site& site);

// A no_answer for each room whose controller the search did not find.
void add_missing_rooms(std::vector<RoomWrite>& rooms,
                       const PlanCheck& check,
                       const Site& site,
                       const std::string& reason);

// One line per room (room, MAC, outcome, what changed or why not) and the counts; raises the
// exit status as netcfg apply does. A preview says would_change where a write would change.
void report_rooms(Context& context, const std::vector<RoomWrite>& rooms, bool preview = false);

struct SiteApplyRun
{
    std::string file;
    std::vector<std::string> rooms; // labels (or MACs) to apply; none: every room
    bool dry_run = false;
};

// site apply: writes only what differs from the file, room by room.
void apply_site(Context& context, const SiteApplyRun& run);

struct SiteReplaceRun
{
    std::string file;
    std::string room;
    std::string new_mac;
    bool force = false; // the new MAC may be a room of the file, the old unit may still answer
};

// site replace: the new unit gets the room's parameters and settings, then the file's entry its
// MAC (the old one goes into the entry's history).
void replace_unit(Context& context, const SiteReplaceRun& run);

} // namespace zk::cli
