// Each zkctl command against the simulated controller over loopback: what it prints, what the
// controller then holds, and what it refuses before sending anything.
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "sim_fixture.h"
#include "support/udp_probe.h"
#include "support/under_wine.h"
#include "support/wait.h"

namespace zk::cli::sim_tests {
namespace {

TEST_F(cli_sim, settings_are_written_read_back_and_partial_writes_keep_the_rest)
{
    start();
    EXPECT_EQ(zkctl({"set", "id", "300", "--host", "127.0.0.1"}), 0);
    EXPECT_EQ(out.str(), "id  300\n");
    EXPECT_EQ(zkctl({"get", "id", "--host", "127.0.0.1", "--json"}), 0);
    EXPECT_EQ(nlohmann::json::parse(out.str()),
              (nlohmann::json{{"host", "127.0.0.1"}, {"id", 300}}));

    ASSERT_EQ(zkctl({"set", "volume", "9", "--host", "127.0.0.1"}), 0);
    ASSERT_EQ(zkctl({"set", "timings", "--screen", "45", "--host", "127.0.0.1"}), 0);
    ASSERT_EQ(zkctl({"set", "mode", "swipe", "--host", "127.0.0.1"}), 0);
    ASSERT_EQ(zkctl({"set", "serial", "--baud", "115200", "--power-on", "7e 30 30 0d", "--host",
                     "127.0.0.1"}),
              0);
    const sim::ControllerState& state = controller_state();
    EXPECT_EQ(state.controller_id, 300);
    EXPECT_EQ(state.volume, 9);
    EXPECT_EQ(state.screen_interval, 45);
    EXPECT_EQ(state.warm_up, 30); // as it was
    EXPECT_EQ(state.cool_down, 60);
    EXPECT_TRUE(state.swipe_card_mode);
    EXPECT_EQ(state.projector.baud, 115200u);
    EXPECT_EQ(state.projector.codes[0], (Bytes{0x7E, 0x30, 0x30, 0x0D}));

    ASSERT_EQ(zkctl({"get", "serial", "--host", "127.0.0.1"}), 0);
    EXPECT_EQ(out.str(), "serial.baud       115200\n"
                         "serial.parity     none\n"
                         "serial.power_on   7E 30 30 0D\n"
                         "serial.power_off  \n"
                         "serial.video      \n"
                         "serial.computer   \n");
    for (const char* what : {"volume", "timings", "mode"}) {
        SCOPED_TRACE(what);
        EXPECT_EQ(zkctl({"get", what, "--host", "127.0.0.1"}), 0);
    }
    EXPECT_EQ(out.str(), "mode  swipe\n");
}

TEST_F(cli_sim, cards_fingerprints_and_authorisation)
{
    start();
    const std::vector<std::string> host{"--host", "127.0.0.1"};
    const auto run = [&](std::vector<std::string> args) {
        args.insert(args.end(), host.begin(), host.end());
        return zkctl(args);
    };
    EXPECT_EQ(run({"card", "read"}), 0);
    EXPECT_EQ(out.str(), "card  1234567\n");
    EXPECT_EQ(run({"card", "add", "1234567"}), 0);
    EXPECT_EQ(out.str(), "card    1234567\nresult  registered\n");
    EXPECT_EQ(run({"card", "add", "1234567"}), 0);
    EXPECT_EQ(out.str(), "card    1234567\nresult  already present\n");
    EXPECT_EQ(run({"card", "find", "1234567"}), 0);
    EXPECT_EQ(out.str(), "card        1234567\nregistered  true\n");
    EXPECT_EQ(run({"fingerprint", "enroll"}), 0);
    EXPECT_EQ(out.str(), "place a finger on the reader\n"
                         "step 1: captured, place the same finger again\n"
                         "step 2: captured, place the same finger again\n"
                         "step 3: captured, place the same finger again\n"
                         "step 4: fingerprint enrolled\n");
    EXPECT_EQ(run({"card", "count"}), 0);
    EXPECT_EQ(out.str(), "cards         1\nfingerprints  1\n");
    EXPECT_EQ(run({"card", "delete", "1234567"}), 0);
    EXPECT_EQ(run({"card", "delete", "1234567"}), exit_refused);
    EXPECT_EQ(err.str(), "zkctl: card 1234567 is not registered\n");
    EXPECT_EQ(run({"fingerprint", "delete"}), 0);
    EXPECT_EQ(run({"auth", "pause"}), 0);
    EXPECT_TRUE(controller_state().authorisation_paused);
    EXPECT_EQ(run({"auth", "resume", "--json"}), 0);
    EXPECT_EQ(nlohmann::json::parse(out.str())["authorisation"], "resumed");
    EXPECT_FALSE(controller_state().authorisation_paused);
    EXPECT_TRUE(controller_state().cards.empty());
    EXPECT_EQ(controller_state().fingerprints, 0);
}

TEST_F(cli_sim, a_failed_enrolment_step_exits_refused)
{
    command.model.fail_step = 2;
    start();
    EXPECT_EQ(zkctl({"fingerprint", "enroll", "--host", "127.0.0.1"}), exit_refused);
    EXPECT_NE(out.str().find("step 2: capture failed, start again\n"), std::string::npos);
}

TEST_F(cli_sim, discover_lists_each_module_with_its_parameters)
{
    start();
    ASSERT_EQ(zkctl({"discover", "--csv"}), 0);
    EXPECT_EQ(out.str(), "mac,ip,mask,gateway,server,port,name,version,duplicate_ip,duplicate_mac\n"
                         "84:C2:E4:00:00:01,127.0.0.1,255.255.255.0,127.0.0.1,127.0.0.100,"
                         "16006,ZK-NET,2.6,,\n"
                         "84:C2:E4:00:00:02,127.0.0.2,255.255.255.0,127.0.0.1,127.0.0.100,"
                         "16006,ZK-NET,2.6,,\n"
                         "84:C2:E4:00:00:03,127.0.0.3,255.255.255.0,127.0.0.1,127.0.0.100,"
                         "16006,ZK-NET,2.6,,\n");
    modules.modules.clear();
    EXPECT_EQ(zkctl({"discover"}), exit_no_answer);
    EXPECT_EQ(err.str(), "zkctl: no controller answered\n");
}

TEST_F(cli_sim, netcfg_writes_only_the_named_module_and_verifies)
{
    if (zk::test::under_wine()) GTEST_SKIP() << "Wine binds an address as its whole device";
    start();
    ASSERT_EQ(zkctl({"netcfg", "set", "--mac", "84:c2:e4:0:0:2", "--ip", "127.0.0.9", "--server",
                     "10.0.0.5", "--port", "16010", "--verify"}),
              0)
        << err.str();
    const sim::ModuleSettings& written = modules.modules[1];
    EXPECT_EQ(written.ip, (discovery::Ipv4{127, 0, 0, 9}));
    EXPECT_EQ(written.destination_ip, (discovery::Ipv4{10, 0, 0, 5}));
    EXPECT_EQ(written.destination_port, 16010);
    EXPECT_EQ(written.mask, (discovery::Ipv4{255, 255, 255, 0})); // kept
    EXPECT_EQ(modules.modules[2].ip, (discovery::Ipv4{127, 0, 0, 3}));
    EXPECT_NE(out.str().find("\nverified  true\n"), std::string::npos) << out.str();
    // Unasked, no check is reported, rather than one that reads as failed.
    ASSERT_EQ(zkctl({"netcfg", "set", "--mac", "84:C2:E4:00:00:03", "--port", "16011"}), 0);
    EXPECT_EQ(out.str().find("verified"), std::string::npos) << out.str();

    // What the module would refuse, and an address in use, never leave unless forced.
    const int written_before = writes;
    EXPECT_EQ(zkctl({"netcfg", "set", "--mac", "84:C2:E4:00:00:02", "--mask", "255.0.255.0"}),
              exit_usage);
    EXPECT_EQ(err.str(), "zkctl: netcfg set: no controller can use these parameters: subnet "
                         "mask not contiguous (--force sends them anyway)\n");
    EXPECT_EQ(zkctl({"netcfg", "set", "--mac", "84:C2:E4:00:00:02", "--ip", "127.0.0.3"}),
              exit_usage);
    EXPECT_EQ(err.str(),
              "zkctl: --ip: 127.0.0.3 is the address of 84:C2:E4:00:00:03 (--force sends it "
              "anyway)\n");
    EXPECT_EQ(writes, written_before);

    modules.strict_writes = true;
    EXPECT_EQ(
        zkctl({"netcfg", "set", "--mac", "84:C2:E4:00:00:02", "--mask", "255.0.255.0", "--force"}),
        exit_refused);
    EXPECT_EQ(err.str(),
              "zkctl: 84:C2:E4:00:00:02: refused by the module; it still holds its old values\n");
    EXPECT_EQ(written.mask, (discovery::Ipv4{255, 255, 255, 0}));
}

class OneAdapter final : public AdapterSource
{
public:
    std::vector<Adapter> list() override { return {{"eth7 10.9.8.7", 0, "10.9.8.7"}}; }
};

TEST_F(cli_sim, server_self_is_this_pc_on_the_named_adapter)
{
    OneAdapter eth7;
    adapters = &eth7;
    start();
    const std::vector<std::string> point_here{"netcfg",   "set", "--mac", "84:C2:E4:00:00:02",
                                              "--server", "self"};
    std::vector<std::string> arguments{"--adapter", "wlan0"};
    arguments.insert(arguments.end(), point_here.begin(), point_here.end());
    EXPECT_EQ(zkctl(arguments), exit_local_error);
    EXPECT_EQ(err.str(), "zkctl: --adapter: no adapter \"wlan0\" (adapters: eth7 10.9.8.7)\n");
    EXPECT_EQ(requests, 0);
    arguments[1] = "eth7";
    EXPECT_EQ(zkctl(arguments), 0) << err.str();
    EXPECT_EQ(modules.modules[1].destination_ip, (discovery::Ipv4{10, 9, 8, 7}));
}

TEST_F(cli_sim, bad_input_is_refused_and_nothing_is_sent)
{
    start();
    const std::string bad_csv = write_file("bad.csv", "card\n1\n2\n3.5\n");
    const std::string folder = std::filesystem::path(bad_csv).parent_path().string();
    const std::string as_folder = "zkctl: " + folder + ": is a folder, not a file\n";
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"netcfg", "set", "--mac", "84:C2:E4:00:00:02", "--ip", "127.0.0.256"},
         "zkctl: --ip: expected an IPv4 address like 192.168.1.20, not \"127.0.0.256\"\n"},
        {{"netcfg", "set", "--mac", "84:C2:E4:00:00:02"},
         "zkctl: netcfg set: nothing to change (give --ip, --mask, --gateway, --server or "
         "--port)\n"},
        {{"set", "serial", "--power-off", "7E 3G", "--host", "127.0.0.1"},
         "zkctl: --power-off: \"3G\" is not a byte (one or two hex digits)\n"},
        {{"card", "import", bad_csv, "--host", "127.0.0.1"},
         "zkctl: " + bad_csv + ":4: card: expected a whole number (0-4294967295), not \"3.5\"\n"},
        {{"card", "import", folder, "--host", "127.0.0.1"}, as_folder},
        {{"card", "check", folder, "--host", "127.0.0.1"}, as_folder},
        {{"restore", "--host", "127.0.0.1", folder}, as_folder},
        {{"card", "import", folder + "/none.csv", "--host", "127.0.0.1"},
         "zkctl: " + folder + "/none.csv: no such file\n"},
        {{"get", "volume", "--host", "127.0.0.1", "--hs3-port", "16006", "--hs3-local-port",
          "16006"},
         "zkctl: --host: 127.0.0.1 is this PC; a controller has an address of its own\n"},
        {{"--timeout", "0", "get", "id", "--host", "127.0.0.1"},
         "zkctl: --timeout: 0 is out of range (0.01-600)\n"},
        {{"get", "id"}, "zkctl: --host is required\n"},
        {{"backup", "--host", "127.0.0.1", "--output", folder},
         "zkctl: --output: " + folder + ": is a folder, not a file\n"},
        {{"discover", "--output", folder + "/none/rooms.csv"},
         "zkctl: --output: " + folder + "/none/rooms.csv: its folder does not exist\n"},
    };
    for (const auto& [arguments, message] : cases) {
        SCOPED_TRACE(message);
        EXPECT_EQ(zkctl(arguments), exit_usage);
        EXPECT_EQ(err.str(), message);
    }
    EXPECT_EQ(zkctl({"card", "add", "1", "--host", "127.0.0.1", "--bogus"}), exit_usage);
    // Scripts that read JSON get the refusal of the command line as JSON too.
    EXPECT_EQ(zkctl({"--json", "--retries", "21", "get", "id", "--host", "127.0.0.1"}), exit_usage);
    EXPECT_EQ(nlohmann::json::parse(out.str()),
              (nlohmann::json{{"error", "--retries: 21 is out of range (0-20)"}, {"exit", 64}}));
    zk::test::settle();
    EXPECT_EQ(requests, 0);
}

TEST_F(cli_sim, output_file_is_written_only_when_the_command_succeeds)
{
    start();
    const std::filesystem::path folder =
        std::filesystem::path(write_file("cards.csv", "1\n")).parent_path();
    const std::string room = (folder / "room.json").string();
    EXPECT_EQ(zkctl({"--retries", "0", "backup", "--host", "127.0.0.2", "--output", room}),
              exit_no_answer);
    EXPECT_FALSE(std::filesystem::exists(room));
    EXPECT_NE(err.str().find(room + " was not written"), std::string::npos) << err.str();

    ASSERT_EQ(zkctl({"backup", "--host", "127.0.0.1", "--output", room}), 0) << err.str();
    EXPECT_EQ(out.str(), "");
    std::ifstream written(room);
    EXPECT_EQ(nlohmann::json::parse(written)["host"], "127.0.0.1");
}

TEST_F(cli_sim, a_taken_port_is_a_local_error)
{
    start();
    zk::test::UdpProbe holder;
    EXPECT_EQ(zkctl({"--hs3-local-port", std::to_string(holder.port()), "get", "id", "--host",
                     "127.0.0.1"}),
              exit_local_error);
    EXPECT_NE(err.str().find("UDP port " + std::to_string(holder.port()) + " is taken"),
              std::string::npos);
}

} // namespace
} // namespace zk::cli::sim_tests
