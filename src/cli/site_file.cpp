#include "cli/site_file.h"

#include <algorithm>

#include "base/file_read.h"
#include "base/ipv4_text.h"
#include "base/json_reading.h"
#include "base/values.h"
#include "cli/file_text.h"
#include "cli/found_controllers.h"
#include "cli/outcome.h"
#include "cli/table.h"

namespace zk::cli {

namespace {

nlohmann::json entry_json(const SiteEntry& entry)
{
    // nlohmann::json keeps its keys in a std::map: sorted whatever order they were added in.
    nlohmann::json object{{"room", entry.room},
                          {"network", nlohmann::json(parameters_json(entry.network))}};
    if (entry.settings) object["settings"] = nlohmann::json(settings_json(*entry.settings));
    if (!entry.problem.empty()) object["problem"] = entry.problem;
    if (!entry.history.empty()) object["history"] = entry.history;
    return object;
}

discovery::Ipv4 address_at(const JsonAt& at)
{
    const std::optional<Ipv4Bytes> ip = parse_dotted_ipv4(at.text());
    if (!ip) at.refuse("expected a dotted IPv4 address like 192.168.1.20");
    return *ip;
}

discovery::NetworkParameters network_from(const JsonAt& at)
{
    at.object().only_keys({"ip", "mask", "gateway", "server", "port"});
    discovery::NetworkParameters p;
    p.ip = address_at(at["ip"]);
    p.mask = address_at(at["mask"]);
    p.gateway = address_at(at["gateway"]);
    p.server_ip = address_at(at["server"]);
    p.port = static_cast<std::uint16_t>(at["port"].whole_number(0xFFFF));
    return p;
}

// The settings as a backup holds them, read by the backup's own rules; `where` prefixes what
// they refuse.
RoomSettings settings_from(const JsonAt& at, const std::string& where)
{
    at.object().only_keys({"id", "volume", "timings", "mode", "serial", "cards", "fingerprints"});
    nlohmann::json document = at.value();
    document["format"] = backup_format;
    document["version"] = backup_version;
    RoomSettings room = settings_from_json(document, where);
    // Read only, so a restore never looks at them; a save that keeps these settings keeps them.
    room.cards = static_cast<std::uint16_t>(at["cards"].whole_number(0xFFFF));
    room.fingerprints = static_cast<std::uint16_t>(at["fingerprints"].whole_number(0xFFFF));
    return room;
}

std::vector<std::string> history_from(const JsonAt& at)
{
    std::vector<std::string> macs;
    for (const JsonAt& item : at.list()) {
        const std::optional<Bytes> mac = zk::parse_mac(item.text());
        if (!mac || mac->size() != 6) item.refuse("expected a MAC like 84:C2:E4:00:00:01");
        macs.push_back(mac_text(*mac));
    }
    return macs;
}

std::pair<std::string, SiteEntry> entry_from(const std::string& key, const JsonAt& at)
{
    const std::optional<Bytes> mac = zk::parse_mac(key);
    if (!mac || mac->size() != 6) at.refuse("the key is not a MAC like 84:C2:E4:00:00:01");
    at.object().only_keys({"room", "network", "settings", "problem", "history"});
    SiteEntry entry;
    entry.room = at["room"].text();
    entry.network = network_from(at["network"]);
    if (at.has("problem")) entry.problem = at["problem"].text();
    if (at.has("settings")) entry.settings = settings_from(at["settings"], at.path() + ".settings");
    if (at.has("history")) entry.history = history_from(at["history"]);
    return {mac_text(*mac), entry};
}

Site site_from(const nlohmann::json& document)
{
    const JsonAt root(document);
    root.object().only_keys({"format", "version", "controllers"});
    if (root["format"].text() != site_format)
        root["format"].refuse("not a zkctl site file (expected \"" + std::string(site_format) +
                              "\")");
    if (root["version"].whole_number(0xFFFF) != site_version)
        root["version"].refuse("not a version this zkctl reads (" + std::to_string(site_version) +
                               ")");
    const JsonAt controllers = root["controllers"].object();
    Site site;
    for (const auto& [key, value] : document["controllers"].items()) {
        auto [mac, entry] = entry_from(key, controllers[key]);
        if (!site.emplace(mac, std::move(entry)).second)
            controllers[key].refuse("the same MAC as another entry, written differently");
    }
    return site;
}

} // namespace

std::string site_text(const Site& site)
{
    nlohmann::json controllers = nlohmann::json::object();
    for (const auto& [mac, entry] : site)
        controllers[mac] = entry_json(entry);
    const nlohmann::json document{
        {"format", site_format}, {"version", site_version}, {"controllers", controllers}};
    return document.dump(2) + "\n";
}

Site site_from_text(std::string_view text, std::string_view file)
{
    try {
        return site_from(parse_json_document(text));
    } catch (const JsonError& error) {
        refuse_input(std::string(file) + ": " + error.what());
    } catch (const Exit& error) {
        refuse_input(std::string(file) + ": " + error.what());
    }
}

Site merged_site(Site now, const Site& before)
{
    for (const auto& [mac, old] : before) {
        const auto found = now.find(mac);
        if (found == now.end()) {
            now.emplace(mac, old);
            continue;
        }
        found->second.room = old.room;
        found->second.history = old.history;
        if (!found->second.settings) found->second.settings = old.settings;
    }
    return now;
}

std::optional<Site> load_site(const std::string& file, bool may_be_missing)
{
    const FileRead read = read_regular_file(utf8_path(file), site_file);
    if (const auto* failure = std::get_if<ReadFailure>(&read)) {
        if (failure->missing && may_be_missing) return std::nullopt;
        refuse_input(describe(utf8_path(file), *failure));
    }
    return site_from_text(file_text(std::get<std::string>(read)), file);
}

std::vector<std::string>
chosen_rooms(const Site& site, const std::vector<std::string>& rooms, const std::string& file)
{
    // A room without a label is named by its MAC, written any way parse_mac reads.
    const auto names = [](const std::string& room, const std::string& mac, const SiteEntry& e) {
        const std::optional<Bytes> as_mac = zk::parse_mac(room);
        return room == e.room || (e.room.empty() && as_mac && mac_text(*as_mac) == mac);
    };
    std::vector<std::string> macs;
    for (const std::string& room : rooms) {
        if (std::none_of(site.begin(), site.end(),
                         [&](const auto& entry) { return names(room, entry.first, entry.second); }))
            refuse_input("--room " + room + ": no room of " + file +
                         " has that label (a room without one is named by its MAC)");
    }
    for (const auto& in_site : site) {
        const auto named = [&](const std::string& r) {
            return names(r, in_site.first, in_site.second);
        };
        if (rooms.empty() || std::any_of(rooms.begin(), rooms.end(), named))
            macs.push_back(in_site.first);
    }
    return macs;
}

std::vector<FieldChange> network_changes(const discovery::NetworkParameters& from,
                                         const discovery::NetworkParameters& to)
{
    const auto rows_from = flat_rows(parameters_json(from));
    const auto rows_to = flat_rows(parameters_json(to));
    std::vector<FieldChange> changes;
    for (std::size_t i = 0; i < rows_from.size() && i < rows_to.size(); ++i) {
        if (rows_from[i][1] != rows_to[i][1])
            changes.push_back({"network." + rows_from[i][0], rows_from[i][1], rows_to[i][1]});
    }
    return changes;
}

std::string room_name(const std::string& mac, const SiteEntry& entry)
{
    return entry.room.empty() ? "(no room) " + mac : entry.room;
}

} // namespace zk::cli
