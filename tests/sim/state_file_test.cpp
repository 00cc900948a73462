// The state file of many controllers: what it refuses, how it keeps each controller, where it is
// written, and when.
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "sim/sim_state.h"
#include "sim/state_keeper.h"
#include "support/udp_probe.h"
#include "support/wait.h"

namespace zk::sim {
namespace {

namespace fs = std::filesystem;

// A fresh folder of its own for each test.
class state_file : public ::testing::Test
{
protected:
    state_file() : dir(fs::temp_directory_path() / ("zksim_state_" + std::to_string(::getpid())))
    {
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    ~state_file() override { fs::remove_all(dir); }

    nlohmann::json read_json(const fs::path& path) const
    {
        std::ifstream file(path);
        return nlohmann::json::parse(file);
    }

    fs::path dir;
};

TEST_F(state_file, unknown_keys_half_bytes_and_no_modules_are_refused_with_their_path)
{
    struct Case
    {
        const char* json;
        const char* error;
    };
    const Case cases[] = {
        {R"({"controller": {"volum": 7}})", "state: controller.volum: unknown key"},
        {R"({"controller": {"codes": {"powr_on": ""}}})",
         "state: controller.codes.powr_on: unknown key"},
        {R"({"network": {"modules": [{}, {"gatway": "10.0.0.1"}]}})",
         "state: network.modules[1].gatway: unknown key"},
        {R"({"network": {"modules": [], "count": 3}})", "state: network.count: unknown key"},
        {R"({"network": {"modules": [{"controller": {"volum": 7}}]}})",
         "state: network.modules[0].controller.volum: unknown key"},
        {R"({"network": {"modules": [{"name_hex": "41 4"}]}})",
         "state: network.modules[0].name_hex: not valid (\"41 4\")"},
        {R"({"network": {"modules": []}})",
         "state: network.modules: empty; it needs one module at least"},
        {R"({"controller": {}, "network": {"modules": [{"controller": {}}]}})",
         "state: network.modules[0].controller: given as \"controller\" too"},
    };
    for (const Case& c : cases) {
        const auto result = sim_state_from_json(nlohmann::json::parse(c.json));
        ASSERT_TRUE(std::holds_alternative<std::string>(result)) << c.json;
        EXPECT_EQ(std::get<std::string>(result), c.error);
    }
}

TEST_F(state_file, hostile_files_are_refused_while_read_naming_the_file_and_member)
{
    const std::string deep = std::string(300'000, '[') + std::string(300'000, ']');
    struct Case
    {
        const char* what;
        std::string json;
        std::string error; // after "PATH: "
    };
    const Case cases[] = {
        {"a member nested deep", R"({"network":{"modules":[{"colour":)" + deep + "}]}}",
         "network.modules[0].colour[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0]"
         "[0][0][0][0][0][0][0][0]: nested more than 32 levels deep"},
        {"a known member of the wrong shape", R"({"network":{"modules":[{"baud":[[[1]]]}]}})",
         "state: network.modules[0].baud: not valid"},
        {"a key twice", R"({"network":{"modules":[{"baud":9600,"baud":19200}]}})",
         "network.modules[0].baud: given twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path file = dir / "state.json";
        std::ofstream(file, std::ios::binary | std::ios::trunc) << c.json;
        const auto result = load_sim_state(file.string());
        ASSERT_TRUE(std::holds_alternative<std::string>(result));
        EXPECT_EQ(std::get<std::string>(result), file.string() + ": " + c.error);
    }
}

TEST_F(state_file, every_controller_is_kept_with_its_module_and_untouched_ones_cost_nothing)
{
    const NetworkModel network = make_network_model(3, {1, 2, 3, 4, 5, 6}, {10, 1, 2, 3});
    ControllerStates controllers;
    controllers[0].volume = 3;
    controllers[1] = ControllerState{}; // asked, never written
    controllers[2].volume = 9;
    controllers[2].cards = {1234567};
    const fs::path path = dir / "state.json";
    ASSERT_EQ(save_sim_state(path.string(), controllers, network), "");
    const nlohmann::json json = read_json(path);
    EXPECT_EQ(json["network"]["modules"][0]["controller"]["volume"], 3);
    EXPECT_FALSE(json["network"]["modules"][1].contains("controller"));
    EXPECT_EQ(json["network"]["modules"][2]["controller"]["volume"], 9);

    const auto loaded = load_sim_state(path.string());
    ASSERT_TRUE(std::holds_alternative<SimState>(loaded));
    controllers.erase(1);
    EXPECT_EQ(std::get<SimState>(loaded).controllers, controllers);
}

TEST_F(state_file, a_folder_is_refused_and_a_link_keeps_pointing_at_the_file_written)
{
#ifdef _WIN32
    GTEST_SKIP() << "links need privileges on Windows";
#endif
    const auto folder = load_sim_state(dir.string());
    ASSERT_TRUE(std::holds_alternative<std::string>(folder));
    EXPECT_EQ(std::get<std::string>(folder),
              "cannot read the state file " + dir.string() + ": is a folder, not a file");

    fs::create_directories(dir / "kept");
    const fs::path link = dir / "link.json";
    fs::create_symlink("kept/state.json", link);
    const NetworkModel network = make_network_model(1, {1, 2, 3, 4, 5, 6}, {10, 1, 2, 3});
    ASSERT_EQ(save_sim_state(link.string(), {}, network), "");
    ControllerState state;
    state.controller_id = 7;
    ASSERT_EQ(save_sim_state(link.string(), {{0, state}}, network), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(read_json(dir / "kept" /
                        "state.json")["network"]["modules"][0]["controller"]["controller_id"],
              7);
    EXPECT_FALSE(fs::exists(dir / "kept" / "state.json.tmp"));
}

TEST_F(state_file, saves_wait_for_the_event_loop_coalesce_and_are_flushed_at_the_end)
{
    NetworkModel network = make_network_model(1, {1, 2, 3, 4, 5, 6}, {10, 1, 2, 3});
    ControllerState state;
    int taken = 0;
    const fs::path path = dir / "state.json";
    StateKeeper keeper(
        path.string(),
        [&] {
            ++taken;
            return StateSnapshot{{{0, state}}, network};
        },
        [](const std::string& error) { ADD_FAILURE() << error; });
    const auto volume_in_file = [&] {
        return read_json(path)["network"]["modules"][0]["controller"]["volume"].get<int>();
    };
    for (const std::uint8_t volume : {std::uint8_t{11}, std::uint8_t{12}, std::uint8_t{13}}) {
        state.volume = volume;
        keeper.changed(); // as the request handler does, before returning to the loop
    }
    EXPECT_EQ(taken, 0); // nothing copied or written while a request is being answered
    ASSERT_TRUE(test::wait_until([&] { return keeper.writes() == 1; }));
    test::settle();
    EXPECT_EQ(keeper.writes(), 1);
    EXPECT_EQ(volume_in_file(), 13);

    state.volume = 14;
    keeper.changed();
    keeper.flush(); // the program ends before the loop runs again
    EXPECT_EQ(volume_in_file(), 14);
    EXPECT_EQ(keeper.writes(), 2);
}

} // namespace
} // namespace zk::sim
