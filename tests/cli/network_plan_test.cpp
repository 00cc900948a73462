// Plans checked before anything is sent: every refusal names the file, the line and the rule.
#include <gtest/gtest.h>

#include "cli/network_plan.h"
#include "support/config_replies.h"
#include "support/refused_blocks.h"

namespace zk::cli {
namespace {

// 84:C2:E4:00:00:0n at 192.168.1.(49+n)/24, gateway .1, server .100:16006, as its block says.
Bytes reply_bytes(std::uint8_t n)
{
    Bytes block = test::sound_write();
    block[16] = 0x82;
    block[22] = n;
    block[65] = static_cast<std::uint8_t>(49 + n);
    return block;
}

discovery::ConfigReply block_of(std::uint8_t n)
{
    return test::config_reply_in(reply_bytes(n));
}

// 01 and 02 answer a search and a read; 03 answers the search only; 04 answers from two
// addresses, as two devices with one MAC do.
std::vector<SegmentController> segment()
{
    return {{{0x84, 0xC2, 0xE4, 0, 0, 1}, {192, 168, 1, 50}, block_of(1), {}},
            {{0x84, 0xC2, 0xE4, 0, 0, 2}, {192, 168, 1, 51}, block_of(2), {}},
            {{0x84, 0xC2, 0xE4, 0, 0, 3}, {192, 168, 1, 52}, std::nullopt, {}},
            {{0x84, 0xC2, 0xE4, 0, 0, 4}, {192, 168, 1, 53}, block_of(4), {{192, 168, 1, 90}}}};
}

// This PC is 10.0.0.7 on the adapter in use and also has 192.168.1.99.
PlanOptions options(bool skip_missing)
{
    return {discovery::Ipv4{10, 0, 0, 7}, {{10, 0, 0, 7}, {192, 168, 1, 99}}, skip_missing, false};
}

struct PlanCase
{
    std::string what;
    std::string text;
    bool skip_missing;
    std::vector<std::string> problems;
};

std::vector<std::string> problems_of(const PlanCase& c)
{
    const Plan plan = read_plan(c.text, "plan.csv");
    if (!plan.problems.empty()) return plan.problems;
    return check_plan(plan, segment(), options(c.skip_missing), "plan.csv").problems;
}

TEST(network_plan, every_refusal_names_its_line_and_rule)
{
    const std::string head = "mac,ip,mask,gateway,server,port\n";
    const std::string refused = "plan.csv:2: no controller can use these parameters: ";
    const std::vector<PlanCase> cases = {
        {"discover output with a comment is a plan as it is",
         "# school A\nmac,ip,mask,gateway,server,port,name,version,duplicate_ip\n"
         "84:C2:E4:00:00:01,192.168.1.60,255.255.255.0,192.168.1.1,192.168.1.100,16006,"
         "\"ZK,NET\",2.6,\n\n84:c2:e4:0:0:2,,,,self,\n",
         false,
         {}},
        {"no header", "", false, {"plan.csv: no header line (mac,ip,...)"}},
        {"header without mac",
         "ip,mask\n",
         false,
         {"plan.csv:1: the header must name a mac column (mac,ip,mask,gateway,server,port)"}},
        {"bad cells",
         head + "84:C2:E4:00:00:01\n84:C2:E4:00:00:0G,192.168.1.300,,,,65536\n",
         false,
         {"plan.csv:3: mac: expected a MAC like 84:C2:E4:00:00:01, not \"84:C2:E4:00:00:0G\"",
          "plan.csv:3: ip: expected an IPv4 address like 192.168.1.20, not \"192.168.1.300\"",
          "plan.csv:3: port: expected a whole number 0-65535, not \"65536\""}},
        {"a MAC twice",
         head + "84:C2:E4:00:00:01\n#\n84-c2-e4-00-00-01,192.168.1.70\n",
         false,
         {"plan.csv:4: mac: 84:C2:E4:00:00:01 is already planned on line 2"}},
        {"two rows one IP",
         head + "84:C2:E4:00:00:01,192.168.1.60\n84:C2:E4:00:00:02,192.168.1.60\n",
         false,
         {"plan.csv:3: ip: 192.168.1.60 is already given on line 2"}},
        {"the address of a controller the plan leaves alone",
         head + "84:C2:E4:00:00:01,192.168.1.51\n84:C2:E4:00:00:02,,,,10.0.0.1\n",
         false,
         {"plan.csv:2: ip: 192.168.1.51 is the address of 84:C2:E4:00:00:02, which the plan "
          "does not change"}},
        {"addresses that swap are both changed",
         head + "84:C2:E4:00:00:01,192.168.1.51\n84:C2:E4:00:00:02,192.168.1.50\n",
         false,
         {}},
        {"not found",
         head + "84:C2:E4:00:00:09,192.168.1.60\n84:C2:E4:00:00:03\n",
         false,
         {"plan.csv:2: mac: 84:C2:E4:00:00:09 did not answer the search (--skip-missing leaves "
          "it out)",
          "plan.csv:3: mac: 84:C2:E4:00:00:03 did not answer a read of its block (--skip-missing "
          "leaves it out)"}},
        {"not found, skipped", head + "84:C2:E4:00:00:09,192.168.1.60\n", true, {}},
        {"address zero",
         head + "84:C2:E4:00:00:01,0.0.0.0,0.0.0.0,0.0.0.0\n",
         false,
         {refused + "IP address 0.0.0.0, subnet mask 0.0.0.0"}},
        {"broadcast address",
         head + "84:C2:E4:00:00:01,192.168.1.255\n",
         false,
         {refused + "IP address is a broadcast address"}},
        {"mask with a hole",
         head + "84:C2:E4:00:00:01,,255.0.255.0,192.168.1.1\n",
         false,
         {refused + "subnet mask not contiguous"}},
        {"gateway elsewhere",
         head + "84:C2:E4:00:00:01,,,10.0.0.1\n",
         false,
         {refused + "gateway outside the subnet"}},
        {"gateway is the address",
         head + "84:C2:E4:00:00:01,192.168.1.1\n",
         false,
         {refused + "gateway equals the IP address"}},
        {"port 0", head + "84:C2:E4:00:00:01,,,,,0\n", false, {refused + "server port 0"}},
        {"no gateway, CRLF line ends", "mac,gateway\r\n84:C2:E4:00:00:01,0.0.0.0\r\n", false, {}},
        {"this PC's address",
         head + "84:C2:E4:00:00:01,192.168.1.99\n",
         false,
         {"plan.csv:2: ip: 192.168.1.99 is this PC's address"}},
        {"a MAC that answers from two addresses",
         head + "84:C2:E4:00:00:04,192.168.1.61\n",
         false,
         {"plan.csv:2: mac: 84:C2:E4:00:00:04 answers from 192.168.1.53, 192.168.1.90; two "
          "devices share it and a write would reach both (--force writes it)"}},
        {"cells that are no text for a terminal are quoted escaped and cut",
         head + "84:C2:E4:00:00:01,\x1b[2J\n" + std::string(50, 'A') + "\n",
         false,
         {"plan.csv:2: ip: expected an IPv4 address like 192.168.1.20, not \"\\x1B[2J\"",
          "plan.csv:3: mac: expected a MAC like 84:C2:E4:00:00:01, not \"" + std::string(40, 'A') +
              "\"…"}},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(problems_of(c), c.problems);
    }
}

TEST(network_plan, a_write_shows_every_field_it_changes_and_self_is_this_pc)
{
    std::vector<SegmentController> found = segment();
    Bytes tcp = reply_bytes(2);
    test::put(tcp, 171, "01");                                              // TCP client
    test::put(tcp, 181, "80 25 00 00 08 01 04 01 00 04 00 00 32 00 00 00"); // 9600
    found[1].block = test::config_reply_in(tcp);
    const Plan plan = read_plan("mac,server,port\n84:C2:E4:00:00:02,self,\n"
                                "84:C2:E4:00:00:01,,16006\n",
                                "p");
    const PlanCheck check = check_plan(plan, found, options(false), "p");
    ASSERT_EQ(check.steps.size(), 2u);
    EXPECT_EQ(write_changes(check.steps[0]),
              (std::vector<std::string>{"server 192.168.1.100 → 10.0.0.7", "mode 1 → 3",
                                        "baud 9600 → 115200"}));
    EXPECT_EQ(write_changes(check.steps[1]), std::vector<std::string>{}); // not written at all
}

TEST(network_plan, hostile_files_are_read_by_their_lines_or_refused)
{
    struct Case
    {
        std::string what;
        std::string text;
        std::size_t rows;
        std::vector<std::string> problems;
    };
    const std::vector<Case> cases = {
        {"lone CR line ends",
         "mac,ip\r84:C2:E4:00:00:01,192.168.1.60\r84:C2:E4:00:00:02,192.168.1.61\r",
         2,
         {}},
        {"a lone CR line is numbered",
         "mac,ip\r\r84:C2:E4:00:00:0G",
         0,
         {"plan.csv:3: mac: expected a MAC like 84:C2:E4:00:00:01, not \"84:C2:E4:00:00:0G\""}},
        {"header only", "mac,ip\r\n", 0, {"plan.csv: no controller rows under the header"}},
        {"comments under the header",
         "mac,ip\n# none yet\n\n",
         0,
         {"plan.csv: no controller rows under the header"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Plan plan = read_plan(c.text, "plan.csv");
        EXPECT_EQ(plan.rows.size(), c.rows);
        EXPECT_EQ(plan.problems, c.problems);
    }
}

} // namespace
} // namespace zk::cli
