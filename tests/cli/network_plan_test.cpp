// Plans checked before anything is sent: every refusal names the file, the line and the rule.
#include <gtest/gtest.h>

#include "cli/network_plan.h"
#include "support/refused_blocks.h"

namespace zk::cli {
namespace {

// 84:C2:E4:00:00:0n at 192.168.1.(49+n)/24, gateway .1, server .100:16006, as its block says.
Bytes block_of(std::uint8_t n)
{
    Bytes block = test::sound_write();
    block[22] = n;
    block[65] = static_cast<std::uint8_t>(49 + n);
    return block;
}

// 01 and 02 answer a search and a read; 03 answers the search only.
std::vector<SegmentController> segment()
{
    return {{{0x84, 0xC2, 0xE4, 0, 0, 1}, {192, 168, 1, 50}, block_of(1)},
            {{0x84, 0xC2, 0xE4, 0, 0, 2}, {192, 168, 1, 51}, block_of(2)},
            {{0x84, 0xC2, 0xE4, 0, 0, 3}, {192, 168, 1, 52}, std::nullopt}};
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
    return check_plan(plan, segment(), discovery::Ipv4{10, 0, 0, 7}, c.skip_missing, "plan.csv")
        .problems;
}

TEST(network_plan, every_refusal_names_its_line_and_rule)
{
    const std::string head = "mac,ip,mask,gateway,server,port\n";
    const std::string refused = "plan.csv:2: the module would refuse this block: ";
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
         {refused + "IP address 0.0.0.0, gateway equals the IP address"}},
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
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(problems_of(c), c.problems);
    }
}

TEST(network_plan, empty_cells_keep_the_controllers_values_and_self_is_this_pc)
{
    const Plan plan = read_plan("mac,server,ip\n84:C2:E4:00:00:02,self,192.168.1.80\n", "p");
    const PlanCheck check = check_plan(plan, segment(), discovery::Ipv4{10, 0, 0, 7}, false, "p");
    ASSERT_EQ(check.steps.size(), 1u);
    EXPECT_EQ(changes(check.steps[0].current, check.steps[0].wanted),
              (std::vector<std::string>{"ip 192.168.1.51 → 192.168.1.80",
                                        "server 192.168.1.100 → 10.0.0.7"}));
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
