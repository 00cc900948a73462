// A school of three simulated controllers: saved, labelled by hand, changed by hand, compared.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "sim_fixture.h"
#include "support/under_wine.h"

namespace zk::cli::sim_tests {
namespace {

nlohmann::json read_json(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return nlohmann::json::parse(std::string(std::istreambuf_iterator<char>(in), {}));
}

// Three controllers at 127.0.0.11-13, each answering at its own address.
class cli_site : public cli_sim
{
protected:
    void SetUp() override
    {
        if (zk::test::under_wine()) GTEST_SKIP() << "Wine binds an address as its whole device";
        modules = sim::make_network_model(3, {0x84, 0xC2, 0xE4, 0, 0, 1}, {127, 0, 0, 11});
        controller_per_module = true;
        start();
        school = write_file("school.json", "");
        std::remove(school.c_str());
    }
    std::string school;
};

TEST_F(cli_site, site_diff_names_exactly_the_fields_changed_by_hand_and_save_keeps_the_labels)
{
    ASSERT_EQ(zkctl({"site", "save", school}), 0) << err.str() << out.str();
    nlohmann::json saved = read_json(school);
    ASSERT_EQ(saved["controllers"].size(), 3u);
    EXPECT_EQ(saved["controllers"]["84:C2:E4:00:00:02"]["settings"]["volume"], 5);

    // The installer labels the rooms, then someone changes two things by hand.
    const char* rooms[] = {"A1", "A2", "A3"};
    for (int i = 0; i < 3; ++i)
        saved["controllers"]["84:C2:E4:00:00:0" + std::to_string(i + 1)]["room"] = rooms[i];
    write_file("school.json", saved.dump(2));
    ASSERT_EQ(zkctl({"set", "volume", "30", "--host", "127.0.0.12"}), 0) << err.str();
    ASSERT_EQ(zkctl({"netcfg", "set", "--mac", "84:C2:E4:00:00:03", "--gateway", "127.0.0.254"}), 0)
        << err.str();

    EXPECT_EQ(zkctl({"site", "diff", school}), 1) << err.str();
    EXPECT_EQ(out.str(), "A2  volume           5 → 30\n"
                         "A3  network.gateway  127.0.0.1 → 127.0.0.254\n");
    EXPECT_EQ(zkctl({"--json", "site", "diff", school}), 1) << err.str();
    const nlohmann::json expected = {{"differs",
                                      {{{"room", "A2"},
                                        {"mac", "84:C2:E4:00:00:02"},
                                        {"field", "volume"},
                                        {"file", "5"},
                                        {"now", "30"}},
                                       {{"room", "A3"},
                                        {"mac", "84:C2:E4:00:00:03"},
                                        {"field", "network.gateway"},
                                        {"file", "127.0.0.1"},
                                        {"now", "127.0.0.254"}}}},
                                     {"no_answer", nlohmann::json::array()},
                                     {"not_in_file", nlohmann::json::array()}};
    EXPECT_EQ(nlohmann::json::parse(out.str()), expected);

    // Saving again takes what the controllers hold now and keeps the rooms' labels.
    ASSERT_EQ(zkctl({"site", "save", school}), 0) << err.str();
    const nlohmann::json resaved = read_json(school);
    EXPECT_EQ(resaved["controllers"]["84:C2:E4:00:00:02"]["room"], "A2");
    EXPECT_EQ(resaved["controllers"]["84:C2:E4:00:00:02"]["settings"]["volume"], 30);
    EXPECT_EQ(zkctl({"site", "diff", school}), 0) << err.str();
    EXPECT_EQ(out.str(), "nothing differs (3 controllers)\n");

    // A3's controller swapped for another unit: its room is silent, the new MAC unknown.
    modules.modules[2].mac[5] = 0x09;
    EXPECT_EQ(zkctl({"site", "diff", school}), 2) << err.str();
    EXPECT_EQ(out.str(), "A3                 no answer        did not answer the search\n"
                         "84:C2:E4:00:00:09  not in the file  answers at 127.0.0.13\n");
}

TEST_F(cli_site, site_writes_are_refused_before_anything_is_written)
{
    ASSERT_EQ(zkctl({"site", "save", school}), 0) << err.str();
    nlohmann::json labelled = read_json(school);
    for (int i = 1; i <= 3; ++i)
        labelled["controllers"]["84:C2:E4:00:00:0" + std::to_string(i)]["room"] =
            "A" + std::to_string(i);
    nlohmann::json clash = labelled; // A2's address written over with A3's
    clash["controllers"]["84:C2:E4:00:00:02"]["network"]["ip"] = "127.0.0.13";
    const std::string clashing = write_file("clash.json", clash.dump(2));
    write_file("school.json", labelled.dump(2));
    struct Case
    {
        std::vector<std::string> arguments;
        std::string said; // the last line on stderr
    };
    const Case cases[] = {
        {{"site", "replace", "--room", "A2", "--new", "84:C2:E4:00:00:03", school},
         "--new: 84:C2:E4:00:00:03 is already room A3 of " + school +
             "; nothing was sent (--force moves it)"},
        {{"site", "replace", "--room", "A2", "--new", "84:C2:E4:00:00:09", school},
         "room A2: its unit 84:C2:E4:00:00:02 still answers at 127.0.0.12; nothing was sent "
         "(--force replaces it all the same)"},
        {{"site", "apply", "--room", "A9", school},
         "--room A9: no room of " + school +
             " has that label (a room without one is named by its MAC)"},
        {{"site", "apply", clashing},
         clashing + ": room A2: ip: 127.0.0.13 is the address of 84:C2:E4:00:00:03, which the "
                    "plan does not change"},
        {{"card", "delete", "1234567"},
         "give --host ADDRESS, or --site SCHOOL.json for every room of a school"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.back());
        EXPECT_EQ(zkctl(c.arguments), exit_usage);
        EXPECT_NE(err.str().find("zkctl: " + c.said + "\n"), std::string::npos) << err.str();
        EXPECT_EQ(writes, 0);
    }
}

} // namespace
} // namespace zk::cli::sim_tests
