#pragma once
// A whole school's controllers in one file, keyed by MAC: the room each stands in (a label the
// operator writes), its network parameters and the settings a backup holds. Plain JSON with
// sorted keys and one controller per entry, so that version control shows what changed.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/room_settings.h"
#include "discovery/network_parameters.h"

namespace zk::cli {

inline constexpr std::string_view site_format = "zkctl-site";
inline constexpr int site_version = 1;

struct SiteEntry
{
    std::string room; // the operator's label; "" until someone writes one
    discovery::NetworkParameters network;
    std::optional<RoomSettings> settings; // none: never read
    std::string problem; // why the settings could not be read at the last save; "" when they were
    std::vector<std::string> history; // MACs of the units this room had before, oldest first
};

// Controllers by MAC, written as mac_text gives it ("84:C2:E4:00:00:01").
using Site = std::map<std::string, SiteEntry>;

// The file's text: 2-space indent, keys sorted, a newline at the end.
std::string site_text(const Site& site);

// The controllers of a site file's text; a usage error naming `file` and the member for anything
// that is not one, an unknown key included (a typo would be dropped by the next save).
Site site_from_text(std::string_view text, std::string_view file);

// What a new save writes over an older file: the labels and histories of the older file stay with
// their MACs, its entries not found now are kept as they were (a controller switched off over the
// holidays keeps its room), and settings it held are kept where they cannot be read now.
Site merged_site(Site now, const Site& before);

// The room of an entry as people read it: its label, or "(no room) MAC" before it has one.
std::string room_name(const std::string& mac, const SiteEntry& entry);

// The site in `file`; nullopt when there is no file yet and `may_be_missing`. Whatever else keeps
// it from being read refuses the command before anything is sent.
std::optional<Site> load_site(const std::string& file, bool may_be_missing);

// The MACs of the rooms named (by label, or by MAC for a room without one), in the file's order;
// every MAC of the file when none is named. A name that is no room of the file is a usage error.
std::vector<std::string>
chosen_rooms(const Site& site, const std::vector<std::string>& rooms, const std::string& file);

// Each network field that differs, "network.ip" and so on, as `from` → `to`.
std::vector<FieldChange> network_changes(const discovery::NetworkParameters& from,
                                         const discovery::NetworkParameters& to);

} // namespace zk::cli
