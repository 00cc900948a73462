// zkctl against a controller that loses, delays and repeats its answers.
#include <chrono>
#include <nlohmann/json.hpp>

#include "sim_fixture.h"
#include "support/udp_probe.h"
#include "support/wait.h"

namespace zk::cli::sim_tests {
namespace {

TEST_F(cli_sim, no_answer_exits_2_once_every_try_has_timed_out)
{
    command.faults.loss = 1.0;
    start();
    timeout = "0.2";
    const auto began = std::chrono::steady_clock::now();
    EXPECT_EQ(zkctl({"get", "volume", "--host", "127.0.0.1"}), exit_no_answer);
    const auto took = std::chrono::steady_clock::now() - began;
    EXPECT_EQ(err.str(), "zkctl: no answer from 127.0.0.1 to the volume read (time-out)\n");
    EXPECT_EQ(requests, 3); // the first try and two retries
    // Three tries of 0.2 s; the bound only shows that it does not hang.
    EXPECT_LT(took, std::chrono::seconds(3));
}

TEST_F(cli_sim, a_card_read_waits_for_the_card_as_long_as_the_settings_window_does)
{
    // The card comes a second after the request, ten times --timeout.
    command.faults.delay_ms = 1000;
    timeout = "0.1";
    start();
    EXPECT_EQ(zkctl({"--retries", "0", "card", "read", "--host", "127.0.0.1"}), 0) << err.str();
    EXPECT_NE(out.str().find("1234567"), std::string::npos) << out.str();
}

TEST_F(cli_sim, retries_recover_from_lost_answers)
{
    command.faults.loss = 0.5;
    command.faults.seed = 11;
    timeout = "0.15";
    start();
    EXPECT_EQ(zkctl({"--retries", "0", "backup", "--host", "127.0.0.1"}), exit_no_answer);
    start(); // the same answers are lost again
    EXPECT_EQ(zkctl({"backup", "--host", "127.0.0.1"}), 0) << err.str();
    EXPECT_EQ(nlohmann::json::parse(out.str())["volume"], 5);
}

TEST_F(cli_sim, late_and_repeated_answers_do_not_answer_the_next_request)
{
    // Each answer comes twice and after the time-out, so every request is sent again and
    // four answers come back for it; a look-up answer does not name its card.
    command.faults.duplicate = true;
    command.faults.delay_ms = 200;
    timeout = "0.15";
    start();
    ASSERT_EQ(zkctl({"card", "add", "2", "--host", "127.0.0.1"}), 0);
    ASSERT_EQ(zkctl({"card", "add", "4", "--host", "127.0.0.1"}), 0);
    const std::string file = write_file("check.csv", "1\n2\n3\n4\n");
    EXPECT_EQ(zkctl({"card", "check", file, "--host", "127.0.0.1"}), exit_refused);
    EXPECT_EQ(out.str(), "found    2\nmissing  2\nfailed   0\n" + file +
                             ":1: card 1: not registered\n" + file +
                             ":3: card 3: not registered\n");
}

TEST_F(cli_sim, a_thousand_cards_import_then_are_all_present)
{
    start();
    std::string text = "card,name\n";
    for (int card = 100000; card < 101000; ++card)
        text += std::to_string(card) + ",pupil\n";
    const std::string file = write_file("cards.csv", text);
    ASSERT_EQ(zkctl({"card", "import", file, "--host", "127.0.0.1"}), 0);
    EXPECT_EQ(out.str(), "registered       1000\nalready_present  0\nfailed           0\n");
    EXPECT_EQ(controller_state().cards.size(), 1000u);
    ASSERT_EQ(zkctl({"--json", "card", "import", file, "--host", "127.0.0.1"}), 0);
    const nlohmann::json summary = nlohmann::json::parse(out.str());
    EXPECT_EQ(summary["registered"], 0);
    EXPECT_EQ(summary["already_present"], 1000);
    EXPECT_EQ(summary["failed"], 0);
}

TEST_F(cli_sim, backup_restores_onto_a_changed_controller_and_dry_run_writes_nothing)
{
    start();
    ASSERT_EQ(
        zkctl({"set", "serial", "--parity", "odd", "--video", "01 02", "--host", "127.0.0.1"}), 0);
    ASSERT_EQ(zkctl({"backup", "--host", "127.0.0.1"}), 0) << err.str();
    const nlohmann::json document = nlohmann::json::parse(out.str());
    EXPECT_EQ(document["network"]["mac"], "84:C2:E4:00:00:01");
    EXPECT_EQ(document["serial"]["video"], "01 02");
    const std::string file = write_file("room.json", out.str());
    const sim::ControllerState before = controller_state();

    ASSERT_EQ(zkctl({"set", "volume", "1", "--host", "127.0.0.1"}), 0);
    ASSERT_EQ(zkctl({"set", "id", "77", "--host", "127.0.0.1"}), 0);
    // The dry run reads the controller and names what would change; the ID stays its own.
    ASSERT_EQ(zkctl({"restore", "--host", "127.0.0.1", file, "--keep-id", "--dry-run"}), 0);
    EXPECT_EQ(out.str(), "127.0.0.1  volume  1 → 5\n");
    ASSERT_EQ(zkctl({"restore", "--host", "127.0.0.1", file, "--dry-run", "--verbose"}), 0);
    EXPECT_EQ(out.str().substr(0, out.str().find(" frame")),
              "127.0.0.1  id             77 → 1\n127.0.0.1  volume         1 → 5\n127.0.0.1  id");
    EXPECT_NE(out.str().find("127.0.0.1  volume frame   48 53 33 FF 07 00 00 A8 C5 01 05 6E\n"),
              std::string::npos);
    EXPECT_EQ(controller_state().volume, 1);
    EXPECT_EQ(controller_state().controller_id, 77);

    EXPECT_EQ(zkctl({"restore", "--host", "127.0.0.1", "--host", "127.0.0.2", file}), exit_usage);
    ASSERT_EQ(zkctl({"restore", "--host", "127.0.0.1", file}), 0) << err.str();
    EXPECT_EQ(out.str(), "127.0.0.1  restored\n");
    EXPECT_EQ(controller_state(), before);
}

TEST_F(cli_sim, card_import_stops_once_the_controller_has_left_cards_unanswered_in_a_row)
{
    command.faults.loss = 1.0;
    timeout = "0.05";
    start();
    const std::string file = write_file("cards.csv", "card\n1\n2\n3\n4\n5\n6\n");
    EXPECT_EQ(zkctl({"--retries", "0", "card", "import", file, "--host", "127.0.0.1"}),
              exit_no_answer);
    EXPECT_EQ(requests, 3);
    EXPECT_EQ(err.str(), "zkctl: " + file +
                             ":5: stopped here: 3 cards in a row got no answer; this card and 2 "
                             "after it were not sent\n");
    EXPECT_EQ(out.str(), "registered       0\nalready_present  0\nfailed           3\n"
                         "not_tried        3\n" +
                             file + ":2: card 1: no answer\n" + file + ":3: card 2: no answer\n" +
                             file + ":4: card 3: no answer\n");
    EXPECT_EQ(zkctl({"--retries", "0", "card", "check", file, "--host", "127.0.0.1",
                     "--give-up-after", "5"}),
              exit_no_answer);
    EXPECT_EQ(requests, 3 + 5);
}

TEST_F(cli_sim, an_empty_card_file_warns_and_sends_nothing)
{
    start();
    const std::string file = write_file("empty.csv", "\xEF\xBB\xBF卡号\r\n");
    EXPECT_EQ(zkctl({"card", "import", file, "--host", "127.0.0.1"}), 0);
    EXPECT_EQ(err.str(), "zkctl: no cards in " + file + "\n");
    zk::test::settle();
    EXPECT_EQ(requests, 0);
}

TEST_F(cli_sim, restore_checks_every_host_first_and_exits_with_the_worst_outcome)
{
    start();
    ASSERT_EQ(zkctl({"backup", "--host", "127.0.0.1"}), 0) << err.str();
    const std::string file = write_file("room.json", out.str());
    const int before = requests;
    EXPECT_EQ(zkctl({"restore", "--host", "127.0.0.1", "--host", "10.66.0.256", "--host",
                     "127.0.0.1", "--keep-id", file}),
              exit_usage);
    EXPECT_EQ(err.str(), "zkctl: --host: \"10.66.0.256\" is not an IPv4 address (four numbers "
                         "0-255, like 192.168.1.20)\n");
    zk::test::settle();
    EXPECT_EQ(requests, before);

    // Nothing listens at 127.0.0.2; the controller after it is restored all the same.
    timeout = "0.1";
    EXPECT_EQ(zkctl({"--retries", "0", "restore", "--host", "127.0.0.2", "--host", "127.0.0.1",
                     "--keep-id", file}),
              exit_no_answer);
    EXPECT_EQ(out.str(), "127.0.0.2  failed: no answer to the volume write\n"
                         "127.0.0.1  restored\n");
}

} // namespace
} // namespace zk::cli::sim_tests
