#include "sim/network_module.h"

#include <gtest/gtest.h>

#include "sim/options.h"
#include "support/config_replies.h"
#include "support/hex.h"

namespace zk::sim {
namespace {

using test::flag_hex;
using test::from_hex;
using test::to_hex;

Bytes request(std::string_view code_and_mac)
{
    Bytes data(285, 0);
    const Bytes head = from_hex(flag_hex + std::string(code_and_mac));
    std::copy(head.begin(), head.end(), data.begin());
    return data;
}

TEST(network_module, every_module_answers_a_search_with_mac_ip_name_and_version)
{
    NetworkModel model = make_network_model(3, {0x84, 0xC2, 0xE4, 0, 0, 0xFF}, {10, 0, 0, 255});
    const ModelAnswer answer = model.handle(request("04 00 00 00 00 00 00"));
    ASSERT_EQ(answer.replies.size(), 3u);
    EXPECT_FALSE(answer.changed);
    const Bytes& last = answer.replies[2];
    ASSERT_EQ(last.size(), 285u);
    EXPECT_EQ(to_hex(ByteView(last).first(23)), flag_hex + "84 84 C2 E4 00 01 01");
    EXPECT_EQ(to_hex(ByteView(last).subspan(29, 13)), "0B 0A 00 01 01 5A 4B 2D 4E 45 54 00 26");
    EXPECT_EQ(model.handle(Bytes(284, 0x43)).replies.size(), 0u);
}

TEST(network_module, reads_and_writes_reach_only_the_module_with_that_mac)
{
    NetworkModel model = make_network_model(2, {0x84, 0xC2, 0xE4, 0, 0, 1}, {192, 168, 1, 200});
    EXPECT_TRUE(model.handle(request("02 84 C2 E4 00 00 09")).replies.empty());
    const ModelAnswer read = model.handle(request("02 84 C2 E4 00 00 02"));
    ASSERT_EQ(read.replies.size(), 1u);
    const Bytes& block = read.replies[0];
    EXPECT_EQ(to_hex(ByteView(block).subspan(16, 7)), "82 84 C2 E4 00 00 02");
    EXPECT_EQ(to_hex(ByteView(block).subspan(56, 18)),
              "84 C2 E4 00 00 02 C0 A8 01 C9 C0 A8 01 01 FF FF FF 00");
    EXPECT_EQ(
        to_hex(ByteView(block).subspan(169, 28)),
        "01 01 00 00 86 3E C0 A8 01 64 86 3E 80 25 00 00 08 01 04 01 00 04 00 00 32 00 00 00");

    Bytes write = block;
    write[16] = 0x01;
    const Bytes change = from_hex("0A 00 00 07 0A 00 00 01 FF 00 00 00");
    std::copy(change.begin(), change.end(), write.begin() + 62);
    write[171] = 3;
    const ModelAnswer written = model.handle(write);
    ASSERT_EQ(written.replies.size(), 1u);
    EXPECT_TRUE(written.changed);
    EXPECT_EQ(to_hex(ByteView(written.replies[0]).subspan(16, 7)), "81 84 C2 E4 00 00 02");
    EXPECT_EQ(model.modules[1].ip, (Ipv4{10, 0, 0, 7}));
    EXPECT_EQ(model.modules[1].mask, (Ipv4{255, 0, 0, 0}));
    EXPECT_EQ(model.modules[1].mode, 3);
    EXPECT_EQ(model.modules[0].ip, (Ipv4{192, 168, 1, 200}));
}

TEST(network_module, options_name_version_and_gateway_every_module_and_its_factory_state)
{
    EXPECT_EQ(make_network_model(1, {}, {10, 20, 30, 40}).modules[0].gateway,
              (Ipv4{10, 20, 30, 1}));
    // The server address follows the base too: the .100 host of its /24.
    EXPECT_EQ(make_network_model(1, {}, {10, 20, 30, 40}).modules[0].destination_ip,
              (Ipv4{10, 20, 30, 100}));
    NetworkModel model =
        make_network_model(2, {}, {10, 20, 30, 40}, {"HALL", 3, 9, Ipv4{10, 20, 30, 254}});
    for (const ModuleSettings& module : model.modules) {
        EXPECT_EQ(module.name, "HALL");
        EXPECT_EQ(version_byte(module), 0x39);
        EXPECT_EQ(module.gateway, (Ipv4{10, 20, 30, 254}));
    }
    EXPECT_EQ(model.factory, model.modules);
}

TEST(network_module, a_state_file_of_an_earlier_version_still_loads)
{
    const auto old = nlohmann::json::parse(R"({"modules": [{"mac": "84:C2:E4:00:00:07",
        "ip": "10.0.0.7", "web_port": 80, "serial_rest": [0, 0, 0, 0, 0, 0, 0, 0, 0]}]})");
    const NetworkModel model = old.get<NetworkModel>();
    ASSERT_EQ(model.modules.size(), 1u);
    EXPECT_EQ(model.modules[0].ip, (Ipv4{10, 0, 0, 7}));
    EXPECT_EQ(model.modules[0].block, factory_block());
    nlohmann::json bad = old;
    bad["modules"][0]["block"] = "FF00";
    EXPECT_THROW(bad.get<NetworkModel>(), nlohmann::json::exception);
}

TEST(network_module, state_survives_a_trip_through_json)
{
    NetworkModel model = make_network_model(2, {1, 2, 3, 4, 5, 6}, {10, 1, 2, 3});
    model.modules[1].name = "hall";
    model.modules[1].baud = 57600;
    model.modules[1].block[200] = 0x5A; // a byte no key names, as a write leaves it
    const nlohmann::json json = model;
    EXPECT_EQ(json["modules"][1]["mac"], "01:02:03:04:05:07");
    EXPECT_EQ(json["modules"][1]["ip"], "10.1.2.4");
    const NetworkModel back = json.get<NetworkModel>();
    EXPECT_EQ(back.modules, model.modules);
    nlohmann::json bad = json;
    bad["modules"][0]["ip"] = "10.1.2";
    EXPECT_THROW(bad.get<NetworkModel>(), nlohmann::json::exception);
}

TEST(network_face_options, the_table_reads_every_option_and_refuses_bad_values)
{
    NetworkFaceOptions options;
    CLI::App app;
    add_network_face_options(app, options);
    const ParsedArguments parsed = parse_arguments(
        app, {"--count", "50", "--mac-base=0:11:22:33:44:5", "--ip-base", "10.0.0.1",
              "--reply-to-sender", "--pc-port", "61000", "--config-port=0", "--module-name",
              "HALL-3", "--module-version=15.0", "--gateway", "10.0.0.254", "--strict-writes"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(options.count, 50);
    EXPECT_EQ(options.mac_base, (Mac{0, 0x11, 0x22, 0x33, 0x44, 5}));
    EXPECT_EQ(options.ip_base, (Ipv4{10, 0, 0, 1}));
    EXPECT_TRUE(options.reply_to_sender);
    EXPECT_EQ(options.pc_port, 61000);
    EXPECT_EQ(options.config_port, 0);
    EXPECT_EQ(options.factory.name, "HALL-3");
    EXPECT_EQ(options.factory.hardware_version, 15);
    EXPECT_EQ(options.factory.software_version, 0);
    EXPECT_EQ(options.factory.gateway, (Ipv4{10, 0, 0, 254}));
    EXPECT_TRUE(options.strict_writes);

    struct Case
    {
        std::vector<std::string> args;
        const char* error;
    };
    const std::vector<Case> cases = {
        {{"--count", "0"}, "--count: expected a number from 1 to 100000, not \"0\""},
        {{"--count"}, "--count: 1 required N missing"},
        {{"--ip-base=1.2.3"}, "--ip-base: expected an IPv4 address, not \"1.2.3\""},
        {{"--mac-base", "1:2:3"},
         "--mac-base: expected a MAC like 84:C2:E4:00:00:01, not \"1:2:3\""},
        {{"--config-port=70000"},
         "--config-port: expected a number from 0 to 65535, not \"70000\""},
        {{"--pc-port", "0"}, "--pc-port: expected a number from 1 to 65535, not \"0\""},
        {{"--reply-to-sender=1"}, "--reply-to-sender takes no value"},
        {{"--module-name="}, "--module-name: 1 required TEXT missing"},
        {{"--module-name", "ABCDEFGHIJKLMNOPQRSTU"},
         "--module-name: expected 1 to 20 bytes, not \"ABCDEFGHIJKLMNOPQRSTU\""},
        {{"--module-version", "16.1"}, "--module-version: expected H.S, each 0-15, not \"16.1\""},
        {{"--module-version", "2"}, "--module-version: expected H.S, each 0-15, not \"2\""},
        {{"--gateway", "10.0.0"}, "--gateway: expected an IPv4 address, not \"10.0.0\""},
    };
    for (const Case& c : cases) {
        NetworkFaceOptions o;
        CLI::App bad;
        add_network_face_options(bad, o);
        EXPECT_EQ(parse_arguments(bad, c.args).error, c.error) << c.args[0];
    }
}

TEST(network_face_options, bases_that_would_run_past_the_last_address_are_refused)
{
    struct Case
    {
        const char* mac;
        const char* ip;
        int count;
        const char* error;
    };
    const Case cases[] = {
        {"FF:FF:FF:FF:FF:FE", "10.0.0.1", 2, ""},
        {"FF:FF:FF:FF:FF:FF", "10.0.0.1", 2,
         "--mac-base FF:FF:FF:FF:FF:FF with --count 2 runs past FF:FF:FF:FF:FF:FF"},
        {"0:0:0:0:0:1", "255.255.255.252", 3, ""},
        {"0:0:0:0:0:1", "255.255.255.253", 3,
         "--ip-base 255.255.255.253 with --count 3 leaves 0.0.0.1 to 255.255.255.254, the "
         "addresses a controller can have"},
        {"0:0:0:0:0:1", "0.0.0.0", 1,
         "--ip-base 0.0.0.0 with --count 1 leaves 0.0.0.1 to 255.255.255.254, the addresses a "
         "controller can have"},
    };
    for (const Case& c : cases) {
        NetworkFaceOptions o;
        const std::string count = std::to_string(c.count);
        CLI::App app;
        add_network_face_options(app, o);
        ASSERT_EQ(
            parse_arguments(app, {"--mac-base", c.mac, "--ip-base", c.ip, "--count", count}).error,
            "");
        EXPECT_EQ(address_range_error(o), c.error) << c.mac << " " << c.ip;
    }
}

TEST(network_face_options, help_lists_the_options_of_both_faces)
{
    CommandFaceOptions command;
    NetworkFaceOptions network;
    CLI::App app;
    add_command_face_options(app, command);
    add_network_face_options(app, network);
    const std::string usage = app.help();
    for (const char* line :
         {"  --count N ", "  --config-port PORT ", "  --reply-to-sender ", "  --hs3-port PORT ",
          "  --reply-to-server ", "  --seed N ", "  --loss P ", "  --state FILE "})
        EXPECT_NE(usage.find(line), std::string::npos) << line;
}

} // namespace
} // namespace zk::sim
