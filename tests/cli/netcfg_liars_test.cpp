// netcfg against controllers that are not built like zksim: other makers' bytes in their blocks,
// and modules that lie about a write, answer twice or from two addresses.
#include <memory>
#include <nlohmann/json.hpp>

#include "sim_fixture.h"
#include "support/config_replies.h"
#include "support/under_wine.h"

namespace zk::cli::sim_tests {
namespace {

using Replies = std::vector<Bytes>;
using Lie = std::function<void(ByteView request, Replies& replies)>;

bool has_code(ByteView datagram, std::uint8_t code)
{
    return datagram.size() > 16 && datagram[16] == code;
}

// Another maker's module: a DHCP byte of 55 and a name without its zero in every block.
void foreign_bytes(ByteView, Replies& replies)
{
    for (Bytes& reply : replies)
        if (has_code(reply, 0x82)) {
            zk::test::put(reply, 74, "37");
            zk::test::put(reply, 35,
                          "41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41");
        }
}

const std::string plan_text = "mac,ip\n84:C2:E4:00:00:01,127.0.0.51\n";

TEST_F(cli_sim, apply_says_what_a_lying_controller_holds_and_exits_by_the_worst)
{
    if (zk::test::under_wine()) GTEST_SKIP() << "Wine binds an address as its whole device";
    struct Case
    {
        const char* what;
        std::function<Lie()> lie;
        int exit;
        std::string said; // on stderr
        int writes;
    };
    const sim::ModuleSettings factory = modules.modules[0];
    const auto restore_after_write = [this, factory](std::uint8_t first_code) -> Lie {
        return [this, factory, first_code](ByteView request, Replies& replies) {
            if (!has_code(request, 0x01)) return;
            modules.modules[0] = factory; // it keeps what it had
            replies[0][16] = first_code;
        };
    };
    const std::vector<Case> cases = {
        {"another maker's bytes", []() -> Lie { return foreign_bytes; }, 0, "", 1},
        {"acknowledges, then reads back its old values", [&] { return restore_after_write(0x81); },
         exit_refused, "acknowledged; it still holds its old values", 1},
        {"refuses", [&] { return restore_after_write(0xC1); }, exit_refused,
         "refused by the module; it still holds its old values", 1},
        {"refuses, then acknowledges and stores",
         []() -> Lie {
             return [](ByteView request, Replies& replies) {
                 if (!has_code(request, 0x01)) return;
                 Bytes refusal = replies[0];
                 refusal[16] = 0xC1;
                 replies.insert(replies.begin(), refusal);
             };
         },
         0, "refused by the module, yet it holds the new values", 1},
        {"does not answer at its new address",
         []() -> Lie {
             return [](ByteView, Replies& replies) {
                 for (Bytes& reply : replies)
                     if (has_code(reply, 0x84)) zk::test::put(reply, 30, "7F 00 00 01");
             };
         },
         exit_no_answer, "does not answer a search at 127.0.0.51", 1},
        {"changes between the check and the write",
         []() -> Lie {
             return [reads = std::make_shared<int>(0)](ByteView request, Replies& replies) {
                 if (has_code(request, 0x02) && ++*reads == 2)
                     zk::test::put(replies[0], 66, "7F 00 00 FE");
             };
         },
         exit_refused, "its parameters changed since the check", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        modules.modules[0] = factory;
        writes = 0;
        lie = c.lie();
        start();
        const std::string plan = write_file("plan.csv", plan_text);
        EXPECT_EQ(zkctl({"netcfg", "apply", plan}), c.exit) << err.str();
        EXPECT_NE(err.str().find(c.said), std::string::npos) << err.str();
        EXPECT_EQ(writes, c.writes);
    }
}

TEST_F(cli_sim, apply_reads_only_the_planned_controllers_and_lists_each_row)
{
    if (zk::test::under_wine()) GTEST_SKIP() << "Wine binds an address as its whole device";
    int reads = 0;
    lie = [&reads](ByteView request, Replies&) { reads += has_code(request, 0x02); };
    start();
    const std::string plan = write_file("plan.csv", plan_text + "84:C2:E4:00:00:09,127.0.0.59\n");
    EXPECT_EQ(zkctl({"--json", "netcfg", "apply", plan, "--skip-missing"}), exit_no_answer);
    const nlohmann::json missing = {{"line", 3},
                                    {"mac", "84:C2:E4:00:00:09"},
                                    {"reason", "did not answer the search; left out"}};
    EXPECT_EQ(nlohmann::json::parse(out.str())["problems"], nlohmann::json::array({missing}));
    EXPECT_EQ(reads, 3); // the check, the fresh read before the write and the read-back of 01
    EXPECT_EQ(zkctl({"netcfg", "apply", plan, "--skip-missing"}), exit_no_answer);
    EXPECT_EQ(out.str(), "line  mac                outcome    changes\n"
                         "2     84:C2:E4:00:00:01  unchanged\n"
                         "3     84:C2:E4:00:00:09  no_answer  left out\n"
                         "changed    0\nunchanged  1\nrefused    0\nno_answer  1\n");
}

TEST_F(cli_sim, netcfg_set_writes_over_foreign_bytes_and_refuses_a_mac_two_devices_share)
{
    lie = foreign_bytes;
    start();
    ASSERT_EQ(zkctl({"netcfg", "set", "--mac", "84:C2:E4:00:00:02", "--gateway", "0.0.0.0"}), 0)
        << err.str();
    EXPECT_EQ(modules.modules[1].gateway, (discovery::Ipv4{0, 0, 0, 0}));

    lie = [](ByteView, Replies& replies) {
        foreign_bytes({}, replies);
        for (std::size_t i = 0, n = replies.size(); i < n; ++i)
            if (has_code(replies[i], 0x84) && replies[i][22] == 0x03) {
                replies.push_back(replies[i]);
                zk::test::put(replies.back(), 30, "7F 00 00 09");
            }
    };
    start();
    writes = 0;
    EXPECT_EQ(zkctl({"netcfg", "set", "--mac", "84:C2:E4:00:00:03", "--port", "16007"}),
              exit_usage);
    EXPECT_EQ(err.str(), "zkctl: --mac: 84:C2:E4:00:00:03 answers from 2 addresses (127.0.0.3, "
                         "127.0.0.9); a write would reach both (--force sends it anyway)\n");
    EXPECT_EQ(zkctl({"discover", "--csv"}), 0);
    EXPECT_NE(out.str().find(",yes\n"), std::string::npos) << out.str(); // duplicate_mac
    EXPECT_EQ(writes, 0);
}

} // namespace
} // namespace zk::cli::sim_tests
