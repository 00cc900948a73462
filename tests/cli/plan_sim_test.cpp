// A school's plan against twenty simulated controllers: discover, edit, dry-run, apply, again.
#include <nlohmann/json.hpp>

#include "sim_fixture.h"
#include "support/under_wine.h"

namespace zk::cli::sim_tests {
namespace {

// discover --csv output with every address but that of 84:C2:E4:00:00:14 moved up by 100.
std::string edited_plan(const std::string& discovered)
{
    std::string plan;
    std::istringstream lines(discovered);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t ip = line.find(',') + 1;
        const std::size_t last = line.rfind('.', line.find(',', ip));
        if (line.starts_with("84:") && !line.starts_with("84:C2:E4:00:00:14")) {
            const int host = std::stoi(line.substr(last + 1));
            line = line.substr(0, last + 1) + std::to_string(host + 100) +
                   line.substr(line.find(',', ip));
        }
        plan += line + "\n";
    }
    return plan;
}

TEST_F(cli_sim, a_plan_of_twenty_is_dry_run_applied_verified_and_then_unchanged)
{
    if (zk::test::under_wine()) GTEST_SKIP() << "Wine binds an address as its whole device";
    modules = sim::make_network_model(20, {0x84, 0xC2, 0xE4, 0, 0, 1}, {127, 0, 0, 11});
    start();
    ASSERT_EQ(zkctl({"discover", "--csv"}), 0) << err.str();
    const std::string plan = write_file("school.csv", edited_plan(out.str()));

    ASSERT_EQ(zkctl({"netcfg", "apply", plan, "--dry-run"}), 0) << err.str();
    EXPECT_EQ(writes, 0);
    // The write also sets the module's mode and serial speed, so the operator sees those too.
    EXPECT_NE(out.str().find("84:C2:E4:00:00:01  ip 127.0.0.11 → 127.0.0.111, mode 0 → 3, baud "
                             "9600 → 115200\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("84:C2:E4:00:00:14  unchanged\n"), std::string::npos) << out.str();
    EXPECT_EQ(modules.modules[0].ip, (discovery::Ipv4{127, 0, 0, 11}));

    ASSERT_EQ(zkctl({"--json", "netcfg", "apply", plan}), 0) << err.str();
    const nlohmann::json all_verified = {{"changed", 19},
                                         {"unchanged", 1},
                                         {"refused", 0},
                                         {"no_answer", 0},
                                         {"problems", nlohmann::json::array()}};
    EXPECT_EQ(nlohmann::json::parse(out.str()), all_verified);
    EXPECT_EQ(writes, 19);
    for (std::uint8_t i = 0; i < 19; ++i)
        EXPECT_EQ(modules.modules[i].ip, (discovery::Ipv4{127, 0, 0, std::uint8_t(111 + i)}));
    EXPECT_EQ(modules.modules[19].ip, (discovery::Ipv4{127, 0, 0, 30}));

    ASSERT_EQ(zkctl({"netcfg", "apply", plan}), 0) << err.str();
    EXPECT_TRUE(out.str().ends_with("21    84:C2:E4:00:00:14  unchanged\n"
                                    "changed    0\nunchanged  20\nrefused    0\nno_answer  0\n"))
        << out.str();
    EXPECT_EQ(writes, 19);
}

} // namespace
} // namespace zk::cli::sim_tests
