#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sim/faults.h"
#include "sim/options.h"
#include "sim/sim_state.h"
#include "support/hex.h"

namespace zk::sim {
namespace {

using test::from_hex;

ControllerState changed_state()
{
    ControllerState state;
    state.controller_id = 65535;
    state.volume = 255;
    state.screen_interval = 1;
    state.warm_up = 180;
    state.cool_down = 0;
    state.swipe_card_mode = true;
    state.projector = {345600, 2, {from_hex("7E 30 30 0D"), from_hex("00"), {}, from_hex("FF")}};
    state.cards = {0, 1234567, 4294967295u};
    state.fingerprints = 513;
    state.authorisation_paused = true;
    return state;
}

std::string temp_file(const char* name)
{
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    std::filesystem::remove(path);
    return path;
}

TEST(sim_state, both_faces_survive_a_round_trip_through_the_file)
{
    const ControllerState state = changed_state();
    const auto back = state_from_json(state_to_json(state));
    ASSERT_TRUE(std::holds_alternative<ControllerState>(back));
    EXPECT_EQ(std::get<ControllerState>(back), state);
    EXPECT_EQ(state_to_json(state)["codes"]["power_on"], "7E 30 30 0D");

    const std::string path = temp_file("zksim_state_round_trip.json");
    const auto missing = load_sim_state(path);
    ASSERT_TRUE(std::holds_alternative<SimState>(missing));
    EXPECT_TRUE(std::get<SimState>(missing).controllers.empty());
    EXPECT_FALSE(std::get<SimState>(missing).network);

    NetworkModel network = make_network_model(2, {1, 2, 3, 4, 5, 6}, {10, 1, 2, 3});
    network.modules[1].destination_ip = {10, 1, 2, 99};
    network.modules[1].destination_port = 16006;
    network.modules[0].name = "\xBD\xCC\xCA\xD2"; // GBK, as a write may leave it
    ASSERT_EQ(save_sim_state(path, {{0, state}}, network), "");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    const auto loaded = load_sim_state(path);
    ASSERT_TRUE(std::holds_alternative<SimState>(loaded));
    EXPECT_EQ(std::get<SimState>(loaded).controllers, (ControllerStates{{0, state}}));
    ASSERT_TRUE(std::get<SimState>(loaded).network);
    EXPECT_EQ(std::get<SimState>(loaded).network->modules, network.modules);

    std::ifstream file(path);
    const nlohmann::json json = nlohmann::json::parse(file);
    file.close(); // Windows removes no file that is open
    EXPECT_EQ(json["network"]["modules"][0]["controller"]["volume"], 255);
    EXPECT_EQ(json["network"]["modules"][1]["destination_ip"], "10.1.2.99");
    std::filesystem::remove(path);
}

TEST(sim_state, a_file_without_a_network_part_leaves_the_modules_to_the_options)
{
    const auto only_controller =
        sim_state_from_json(nlohmann::json::parse(R"({"controller": {"volume": 9}})"));
    ASSERT_TRUE(std::holds_alternative<SimState>(only_controller));
    EXPECT_EQ(std::get<SimState>(only_controller).controllers.at(0).volume, 9);
    EXPECT_FALSE(std::get<SimState>(only_controller).network);

    const auto only_network = sim_state_from_json(
        nlohmann::json::parse(R"({"network": {"modules": [{"ip": "10.0.0.7"}, {}]}})"));
    ASSERT_TRUE(std::holds_alternative<SimState>(only_network));
    const SimState& state = std::get<SimState>(only_network);
    EXPECT_TRUE(state.controllers.empty());
    ASSERT_TRUE(state.network);
    ASSERT_EQ(state.network->modules.size(), 2u);
    EXPECT_EQ(state.network->modules[0].ip, (Ipv4{10, 0, 0, 7}));
    EXPECT_EQ(state.network->modules[1], ModuleSettings{});
}

TEST(sim_state, a_bad_part_is_reported_naming_its_key)
{
    struct Case
    {
        const char* json;
        const char* error;
    };
    const Case cases[] = {
        {R"({"volume": 5})", "state: volume: unknown key"},
        {R"({"controller": 5})", "state: controller: expected an object"},
        {R"({"controller": {"volume": 300}})",
         "state: controller.volume: expected a whole number from 0 to 255"},
        {R"({"network": []})", "state: network: expected an object"},
        {R"({"network": {"modules": {}}})", "state: network.modules: expected a list"},
        {R"({"network": {"modules": [{}, 7]}})", "state: network.modules[1]: expected an object"},
        {R"({"network": {"modules": [{"ip": "10.0.0"}]}})",
         "state: network.modules[0].ip: not valid (\"10.0.0\")"},
        {R"({"network": {"modules": [{}, {"destination_port": 70000}]}})",
         "state: network.modules[1].destination_port: not valid (70000)"},
        {R"({"network": {"modules": [{"mode": -1}]}})",
         "state: network.modules[0].mode: not valid (-1)"},
        {R"({"network": {"modules": [{"mac": "84:C2"}]}})",
         "state: network.modules[0].mac: not valid (\"84:C2\")"},
        {R"({"network": {"modules": [{"name": 5}]}})",
         "state: network.modules[0].name: not valid (5)"},
        {R"({"network": {"modules": [{"serial_rest": [1, 2]}]}})",
         "state: network.modules[0].serial_rest: not valid ([1,2])"},
        {R"({"network": {"modules": [{"serial_rest": [0, 0, 0, 0, 0, 0, 0, 0, 256]}]}})",
         "state: network.modules[0].serial_rest: not valid ([0,0,0,0,0,0,0,0,256])"},
        {R"([1])", "state: expected an object"},
    };
    for (const Case& c : cases) {
        const auto result = sim_state_from_json(nlohmann::json::parse(c.json));
        ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.json;
        EXPECT_EQ(std::get<std::string>(result), c.error);
    }

    const std::string path = temp_file("zksim_state_bad_key.json");
    std::ofstream(path) << R"({"controller": {"warm_up": "30"}})";
    const auto loaded = load_sim_state(path);
    ASSERT_TRUE(std::holds_alternative<std::string>(loaded));
    EXPECT_EQ(std::get<std::string>(loaded),
              path + ": state: controller.warm_up: expected a whole number from 0 to 255");
    std::filesystem::remove(path);
}

TEST(controller_state, refuses_values_that_do_not_fit_naming_the_key)
{
    struct Case
    {
        const char* json;
        const char* error;
    };
    // One card more than the 16-bit card count can report.
    std::string too_many_cards = R"({"cards": [0)";
    for (int card = 1; card <= 0xFFFF; ++card)
        too_many_cards += "," + std::to_string(card);
    too_many_cards += "]}";
    const Case cases[] = {
        {R"({"volume": 256})", "state: controller.volume: expected a whole number from 0 to 255"},
        {R"({"controller_id": -1})",
         "state: controller.controller_id: expected a whole number from 0 to 65535"},
        {R"({"baud": 16777216})",
         "state: controller.baud: expected a whole number from 0 to 16777215"},
        {R"({"swipe_card_mode": 1})", "state: controller.swipe_card_mode: expected true or false"},
        {R"({"cards": [1, 4294967296]})",
         "state: controller.cards[1]: expected a whole number from 0 to 4294967295"},
        {R"({"cards": 5})", "state: controller.cards: expected a list"},
        {too_many_cards.c_str(), "state: controller.cards: holds more than 65535 cards"},
        {R"({"codes": 5})", "state: controller.codes: expected an object"},
        {R"({"codes": {"video": "7E 3G"}})",
         "state: controller.codes.video: expected hex pairs (\"7E 30 0D\")"},
        {R"({"codes": {"video": "123"}})",
         "state: controller.codes.video: expected hex pairs (\"7E 30 0D\")"},
        {R"([1, 2])", "state: controller: expected an object"},
    };
    for (const Case& c : cases) {
        const auto result = state_from_json(nlohmann::json::parse(c.json));
        ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.json;
        EXPECT_EQ(std::get<std::string>(result), c.error);
    }
    const auto partial = state_from_json(nlohmann::json::parse(R"({"volume": 9})"));
    ASSERT_TRUE(std::holds_alternative<ControllerState>(partial));
    EXPECT_EQ(std::get<ControllerState>(partial).volume, 9);
    EXPECT_EQ(std::get<ControllerState>(partial).projector.baud, 9600u);
}

TEST(sim_state, a_file_that_is_not_json_is_reported_and_an_unwritable_one_too)
{
    const std::string path = temp_file("zksim_state_broken.json");
    std::ofstream(path) << "{ volume: ";
    const auto loaded = load_sim_state(path);
    ASSERT_TRUE(std::holds_alternative<std::string>(loaded));
    EXPECT_EQ(std::get<std::string>(loaded), path + ": not valid JSON");
    std::filesystem::remove(path);

    const std::string nowhere = temp_file("zksim_no_such_dir") + "/state.json";
    EXPECT_EQ(save_sim_state(nowhere, {}, {}),
              "cannot write the state file " + nowhere + ": No such file or directory");
}

std::vector<Outgoing> two_replies()
{
    return {{from_hex("48 53 33 FF 06 00 00 A8 55 01 FA"), 0, "a"},
            {from_hex("48 53 33 FF 05 00 00 41 55 11"), 100, "b"}};
}

TEST(faults, loss_truncation_delay_and_duplicates_shape_the_replies)
{
    const auto never = [] { return 0.99; };
    EXPECT_EQ(apply_faults(two_replies(), {}, never).size(), 2u);
    EXPECT_TRUE(apply_faults(two_replies(), {1.0, 0, false, 0, {}}, never).empty());

    std::vector<double> draws = {0.2, 0.7};
    auto next = [&draws] {
        const double d = draws.front();
        draws.erase(draws.begin());
        return d;
    };
    const std::vector<Outgoing> half = apply_faults(two_replies(), {0.5, 0, false, 0, {}}, next);
    ASSERT_EQ(half.size(), 1u);
    EXPECT_EQ(half[0].datagram, from_hex("48 53 33 FF 05 00 00 41 55 11"));

    const std::vector<Outgoing> shaped = apply_faults(two_replies(), {0.0, 50, true, 9, {}}, never);
    ASSERT_EQ(shaped.size(), 4u);
    EXPECT_EQ(shaped[0].datagram, from_hex("48 53 33 FF 06 00 00 A8 55"));
    EXPECT_EQ(shaped[1].datagram, shaped[0].datagram);
    EXPECT_EQ(shaped[0].delay_ms, 50);
    EXPECT_EQ(shaped[2].datagram, from_hex("48 53 33 FF 05 00 00 41 55"));
    EXPECT_EQ(shaped[3].delay_ms, 150);
}

TEST(options, the_command_face_table_reads_every_option)
{
    CommandFaceOptions o;
    CLI::App app;
    add_command_face_options(app, o);
    const ParsedArguments parsed = parse_arguments(app, {"--bind",
                                                         "127.0.0.2",
                                                         "--hs3-port=26006",
                                                         "--state",
                                                         "s.json",
                                                         "--card",
                                                         "4294967295",
                                                         "--fail-step",
                                                         "3",
                                                         "--loss",
                                                         "0.25",
                                                         "--delay",
                                                         "40",
                                                         "--duplicate",
                                                         "--truncate",
                                                         "9",
                                                         "--log",
                                                         "--reply-to",
                                                         "192.168.1.5:17000",
                                                         "--seed=7"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_FALSE(parsed.help);
    EXPECT_EQ(o.bind_address, "127.0.0.2");
    EXPECT_EQ(o.hs3_port, 26006);
    EXPECT_EQ(o.state_file, "s.json");
    EXPECT_EQ(o.model.card_at_reader, 4294967295u);
    EXPECT_EQ(o.model.fail_step, 3);
    EXPECT_DOUBLE_EQ(o.faults.loss, 0.25);
    EXPECT_EQ(o.faults.delay_ms, 40);
    EXPECT_TRUE(o.faults.duplicate);
    EXPECT_EQ(o.faults.truncate, 9u);
    EXPECT_TRUE(o.log);
    ASSERT_TRUE(o.reply_to);
    EXPECT_EQ(o.reply_to->host, "192.168.1.5");
    EXPECT_EQ(o.reply_to->port, 17000);
    EXPECT_EQ(o.faults.seed, 7u);
    EXPECT_FALSE(o.reply_to_server);
    EXPECT_EQ(conflicting_options(o), "");
    CLI::App again;
    add_command_face_options(again, o);
    EXPECT_EQ(parse_arguments(again, {"--reply-to-server"}).error, "");
    EXPECT_TRUE(o.reply_to_server);
    EXPECT_EQ(conflicting_options(o), "--reply-to and --reply-to-server cannot both be given");
}

TEST(options, bad_options_are_reported_one_by_one)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* error;
    };
    const std::vector<Case> cases = {
        {{"--frobnicate"}, "The following argument was not expected: --frobnicate"},
        {{"--hs3-port", "70000"}, "--hs3-port: expected a number from 0 to 65535, not \"70000\""},
        {{"--card", "-1"}, "--card: expected a number from 0 to 4294967295, not \"-1\""},
        {{"--fail-step", "5"}, "--fail-step: expected a number from 1 to 4, not \"5\""},
        {{"--delay", "1x"}, "--delay: expected a number from 0 to 600000, not \"1x\""},
        {{"--truncate", "0"}, "--truncate: expected a number from 1 to 65535, not \"0\""},
        {{"--state"}, "--state: 1 required FILE missing"},
        {{"--log=yes"}, "--log takes no value"},
        {{"--reply-to", "host"}, "--reply-to: expected HOST:PORT, not \"host\""},
        {{"--reply-to", ":5"}, "--reply-to: expected HOST:PORT, not \":5\""},
        {{"--seed", "-3"}, "--seed: expected a number from 0 to 4294967295, not \"-3\""},
        {{"--reply-to-server=yes"}, "--reply-to-server takes no value"},
        {{"--loss", "1.5"}, "--loss: expected a number from 0 to 1, not \"1.5\""},
    };
    for (const Case& c : cases) {
        CommandFaceOptions o;
        CLI::App app;
        add_command_face_options(app, o);
        EXPECT_EQ(parse_arguments(app, c.args).error, c.error) << c.args[0];
    }
    CommandFaceOptions o;
    CLI::App app;
    add_command_face_options(app, o);
    EXPECT_TRUE(parse_arguments(app, {"-h"}).help);
}

} // namespace
} // namespace zk::sim
