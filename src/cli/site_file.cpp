#include "cli/site_file.h"

#include "base/ipv4_text.h"
#include "base/json_reading.h"
#include "base/values.h"
#include "cli/found_controllers.h"
#include "cli/outcome.h"

namespace zk::cli {

namespace {

using nlohmann::json;

json entry_json(const SiteEntry& entry)
{
    // nlohmann::json keeps its keys in a std::map: sorted whatever order they were added in.
    json object{{"room", entry.room}, {"network", json(parameters_json(entry.network))}};
    if (entry.settings) object["settings"] = json(settings_json(*entry.settings));
    if (!entry.problem.empty()) object["problem"] = entry.problem;
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
    json document = at.value();
    document["format"] = backup_format;
    document["version"] = backup_version;
    RoomSettings room = settings_from_json(document, where);
    // Read only, so a restore never looks at them; a save that keeps these settings keeps them.
    room.cards = static_cast<std::uint16_t>(at["cards"].whole_number(0xFFFF));
    room.fingerprints = static_cast<std::uint16_t>(at["fingerprints"].whole_number(0xFFFF));
    return room;
}

std::pair<std::string, SiteEntry> entry_from(const std::string& key, const JsonAt& at)
{
    const std::optional<Bytes> mac = zk::parse_mac(key);
    if (!mac || mac->size() != 6) at.refuse("the key is not a MAC like 84:C2:E4:00:00:01");
    at.object().only_keys({"room", "network", "settings", "problem"});
    SiteEntry entry;
    entry.room = at["room"].text();
    entry.network = network_from(at["network"]);
    if (at.has("problem")) entry.problem = at["problem"].text();
    if (at.has("settings")) entry.settings = settings_from(at["settings"], at.path() + ".settings");
    return {mac_text(*mac), entry};
}

Site site_from(const json& document)
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
    json controllers = json::object();
    for (const auto& [mac, entry] : site)
        controllers[mac] = entry_json(entry);
    const json document{
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
        if (!found->second.settings) found->second.settings = old.settings;
    }
    return now;
}

std::string room_name(const std::string& mac, const SiteEntry& entry)
{
    return entry.room.empty() ? "(no room) " + mac : entry.room;
}

} // namespace zk::cli
