// The school file: its text, what a second save keeps, what reading it refuses, and why an
// unread controller was not read.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/outcome.h"
#include "cli/site_file.h"
#include "cli/site_reading.h"

namespace zk::cli {
namespace {

RoomSettings settings_with_volume(std::uint8_t volume)
{
    RoomSettings room;
    room.id = 7;
    room.volume = volume;
    room.timings = {10, 30, 60};
    room.serial = {9600, 0, {Bytes{0x7E, 0x30}, {}, {}, {}}};
    room.cards = 2;
    return room;
}

SiteEntry entry(std::string room, std::optional<RoomSettings> settings, std::string problem = "")
{
    const discovery::NetworkParameters network{
        {192, 168, 1, 20}, {255, 255, 255, 0}, {192, 168, 1, 1}, {192, 168, 1, 100}, 16006};
    return {std::move(room), network, std::move(settings), std::move(problem), {}};
}

const char* const one_controller = R"({
  "controllers": {
    "84:C2:E4:00:00:01": {
      "network": {
        "gateway": "192.168.1.1",
        "ip": "192.168.1.20",
        "mask": "255.255.255.0",
        "port": 16006,
        "server": "192.168.1.100"
      },
      "room": "A1",
      "settings": {
        "cards": 2,
        "fingerprints": 0,
        "id": 7,
        "mode": "public",
        "serial": {
          "baud": 9600,
          "computer": "",
          "parity": "none",
          "power_off": "",
          "power_on": "7E 30",
          "video": ""
        },
        "timings": {
          "cool_down": 60,
          "screen": 10,
          "warm_up": 30
        },
        "volume": 9
      }
    }
  },
  "format": "zkctl-site",
  "version": 1
}
)";

TEST(site_file, is_sorted_json_and_a_second_save_keeps_labels_and_what_it_cannot_read_now)
{
    EXPECT_EQ(site_text({{"84:C2:E4:00:00:01", entry("A1", settings_with_volume(9))}}),
              one_controller);

    Site before{{"84:C2:E4:00:00:01", entry("A1", settings_with_volume(7))},
                {"84:C2:E4:00:00:02", entry("A2", settings_with_volume(7))},
                {"84:C2:E4:00:00:03", entry("Hall", settings_with_volume(7))}};
    before["84:C2:E4:00:00:01"].history = {"84:C2:E4:00:00:09"}; // A1's unit was replaced once
    const Site now{{"84:C2:E4:00:00:01", entry("", settings_with_volume(9))},
                   {"84:C2:E4:00:00:02", entry("", std::nullopt, "no answer")},
                   {"84:C2:E4:00:00:04", entry("", settings_with_volume(9))}};
    const Site site = site_from_text(site_text(merged_site(now, before)), "school.json");
    struct Expected
    {
        const char* mac;
        const char* room;
        int volume; // -1: no settings
        const char* problem;
    };
    const Expected expected[] = {
        {"84:C2:E4:00:00:01", "A1", 9, ""},          // read now, label kept
        {"84:C2:E4:00:00:02", "A2", 7, "no answer"}, // unreadable now: the older settings stay
        {"84:C2:E4:00:00:03", "Hall", 7, ""},        // not found now: kept whole
        {"84:C2:E4:00:00:04", "", 9, ""},            // new: waits for its label
    };
    ASSERT_EQ(site.size(), std::size(expected));
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.mac);
        const SiteEntry& got = site.at(e.mac);
        EXPECT_EQ(got.room, e.room);
        EXPECT_EQ(got.settings ? got.settings->volume : -1, e.volume);
        EXPECT_EQ(got.problem, e.problem);
        if (got.settings) {
            EXPECT_EQ(got.settings->cards, 2); // read only, still kept
        }
    }
    EXPECT_EQ(site.at("84:C2:E4:00:00:01").history, std::vector<std::string>{"84:C2:E4:00:00:09"});
}

TEST(site_file, refuses_unknown_keys_and_bad_members_naming_them)
{
    const std::string at = "school.json: controllers.84:C2:E4:00:00:01";
    struct Case
    {
        std::string pointer; // where the edit goes
        nlohmann::json value;
        std::string message;
    };
    const Case cases[] = {
        {"/colour", 1, "school.json: colour: unknown key"},
        {"/format", "zkctl-backup",
         "school.json: format: not a zkctl site file (expected \"zkctl-site\")"},
        {"/version", 2, "school.json: version: not a version this zkctl reads (1)"},
        {"/controllers/84:C2:E4:00:00:01/colour", 1, at + ".colour: unknown key"},
        {"/controllers/84:C2:E4:00:00:01/network/dns", "1.1.1.1", at + ".network.dns: unknown key"},
        {"/controllers/84:C2:E4:00:00:01/network/ip", "192.168.1",
         at + ".network.ip: expected a dotted IPv4 address like 192.168.1.20"},
        {"/controllers/84:C2:E4:00:00:01/settings/brightness", 3,
         at + ".settings.brightness: unknown key"},
        {"/controllers/84:C2:E4:00:00:01/settings/timings/pause", 3,
         at + ".settings: timings.pause: unknown key"},
        {"/controllers/84:C2:E4:00:00:01/room", 5, at + ".room: expected a text"},
        {"/controllers/84:C2:E4:00:00:01/history",
         nlohmann::json::array({"84:C2:E4:00:00:09", "old"}),
         at + ".history[1]: expected a MAC like 84:C2:E4:00:00:01"},
        {"/controllers/not-a-mac", nlohmann::json::object(),
         "school.json: controllers.not-a-mac: the key is not a MAC like 84:C2:E4:00:00:01"},
        {"/controllers/84-c2-e4-00-00-01",
         nlohmann::json::parse(one_controller)["controllers"].front(),
         at + ": the same MAC as another entry, written differently"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pointer);
        nlohmann::json document = nlohmann::json::parse(one_controller);
        document[nlohmann::json::json_pointer(c.pointer)] = c.value;
        try {
            site_from_text(document.dump(), "school.json");
            ADD_FAILURE() << "accepted";
        } catch (const Exit& error) {
            EXPECT_EQ(error.code(), exit_usage);
            EXPECT_EQ(std::string(error.what()), c.message);
        }
    }
}

TEST(site_file, an_unread_controller_says_what_the_installer_can_do)
{
    const std::string mac = "84:C2:E4:00:00:01";
    struct Case
    {
        discovery::Ipv4 server;
        std::uint16_t port;
        int local_port;
        std::string reason;
    };
    const Case cases[] = {
        {{10, 9, 9, 9},
         16006,
         16006,
         "its server address is 10.9.9.9, not this PC, so its answers go there (no answer); "
         "point them here with zkctl netcfg set --mac 84:C2:E4:00:00:01 --server self"},
        {{127, 0, 0, 1},
         16007,
         16006,
         "its answers go to port 16007, but zkctl listens on 16006 (no answer); set it with "
         "zkctl netcfg set --mac 84:C2:E4:00:00:01 --port 16006"},
        {{127, 0, 0, 1}, 16007, 0, "no answer; is it powered and its command port cabled?"},
        {{127, 0, 0, 1}, 16006, 16006, "no answer; is it powered and its command port cabled?"},
    };
    for (const Case& c : cases) {
        discovery::NetworkParameters network;
        network.server_ip = c.server;
        network.port = c.port;
        EXPECT_EQ(unread_reason(mac, network, "no answer", c.local_port), c.reason);
    }
}

} // namespace
} // namespace zk::cli
