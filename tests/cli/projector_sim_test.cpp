#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace zk::cli::sim_tests {
namespace {

TEST_F(cli_sim, a_library_entry_and_a_room_file_reach_the_controller_and_read_back_as_text)
{
    start();
    ASSERT_EQ(zkctl({"set", "serial", "--projector", "Epson ESC/VP21", "--library",
                     ZK_SHIPPED_LIBRARY, "--video", "0d", "--host", "127.0.0.1"}),
              0)
        << err.str();
    EXPECT_EQ(controller_state().projector.baud, 9600u);
    EXPECT_EQ(controller_state().projector.codes[0],
              (Bytes{0x50, 0x57, 0x52, 0x20, 0x4F, 0x4E, 0x0D}));
    EXPECT_EQ(controller_state().projector.codes[2], (Bytes{0x0D})); // the option beside it wins

    ASSERT_EQ(zkctl({"get", "serial", "--text", "--host", "127.0.0.1", "--json"}), 0);
    const nlohmann::json serial = nlohmann::json::parse(out.str())["serial"];
    EXPECT_EQ(serial["power_on"], "50 57 52 20 4F 4E 0D");
    EXPECT_EQ(serial["power_on_text"], "PWR ON\\r");
    EXPECT_EQ(serial["power_off_text"], "PWR OFF\\r");
    EXPECT_EQ(serial["video_text"], "\\r");

    const std::string room = write_file("room.json", R"({"baud":38400,"parity":"even",
        "codes":{"power_on":"A9 17 2E","power_off":"","video":"","computer":""}})");
    ASSERT_EQ(zkctl({"set", "serial", "--from", room, "--host", "127.0.0.1"}), 0) << err.str();
    EXPECT_EQ(controller_state().projector.baud, 38400u);
    EXPECT_EQ(controller_state().projector.codes[0], (Bytes{0xA9, 0x17, 0x2E}));

    EXPECT_EQ(zkctl({"set", "serial", "--projector", "Nobody X", "--library", ZK_SHIPPED_LIBRARY,
                     "--host", "127.0.0.1"}),
              exit_usage);
    EXPECT_EQ(err.str(), "zkctl: --projector: no library entry \"Nobody X\" (zkctl projectors "
                         "lists them)\n");
}

} // namespace
} // namespace zk::cli::sim_tests
