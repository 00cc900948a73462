#include "protocol/send_path.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/hex.h"
#include "support/recording_sender.h"

namespace zk::protocol {
namespace {

using zk::test::from_hex;
using zk::test::RecordingSender;
using zk::test::to_hex;

TEST(send_request, sends_one_frame_to_the_controller)
{
    RecordingSender sender;
    const ControllerLink link{sender, "192.168.1.200", 16006};

    EXPECT_EQ(send_request(link, from_hex("A8 C5 01 05")), SendOutcome::sent);

    ASSERT_EQ(sender.sends.size(), 1u);
    EXPECT_EQ(sender.sends[0].address, "192.168.1.200");
    EXPECT_EQ(sender.sends[0].port, 16006);
    EXPECT_EQ(sender.sends[0].data, from_hex("48 53 33 FF 07 00 00 A8 C5 01 05 6E"))
        << to_hex(sender.sends[0].data);
}

TEST(send_request, refuses_a_payload_the_length_byte_cannot_describe)
{
    RecordingSender sender;
    const ControllerLink link{sender, "controller.local", 40123};

    EXPECT_EQ(send_request(link, Bytes(253, 0)), SendOutcome::payload_too_long);
    EXPECT_TRUE(sender.sends.empty());

    EXPECT_EQ(send_request(link, Bytes(252, 0)), SendOutcome::sent);
    ASSERT_EQ(sender.sends.size(), 1u);
    EXPECT_EQ(sender.sends[0].data.size(), 260u);
    EXPECT_EQ(sender.sends[0].address, "controller.local");
    EXPECT_EQ(sender.sends[0].port, 40123);
}

TEST(send_request, reports_a_refused_send)
{
    RecordingSender sender;
    sender.fail = true;
    EXPECT_EQ(send_request({sender, "10.0.0.5"}, from_hex("A5 00 01")), SendOutcome::send_failed);
    EXPECT_EQ(sender.sends.size(), 1u);
}

TEST(send_short_command, sends_two_or_three_payload_bytes)
{
    struct Case
    {
        std::uint8_t command;
        std::uint8_t operation;
        int value;
        std::string payload;
    };
    const Case cases[] = {
        {0xA4, 0xC5, 0, "A4 C5 00"},   {0xA4, 0xC5, 1, "A4 C5 01"},
        {0xA5, 0xC5, 2, "A5 C5 02"},   {0xA9, 0x00, -1, "A9 00"},
        {0xA9, 0x00, -300, "A9 00"},   {0xA8, 0xC5, 256, "A8 C5 00"},
        {0xA8, 0xC5, 300, "A8 C5 2C"}, {0xA8, 0xC5, 0x7FFFFFFF, "A8 C5 FF"},
    };
    for (const Case& c : cases) {
        RecordingSender sender;
        EXPECT_EQ(send_short_command({sender, "10.0.0.5"}, c.command, c.operation, c.value),
                  SendOutcome::sent);
        ASSERT_EQ(sender.sends.size(), 1u) << c.payload;
        const Bytes& frame = sender.sends[0].data;
        ASSERT_GE(frame.size(), 8u);
        // The payload sits between the 7-byte head and the checksum.
        EXPECT_EQ(Bytes(frame.begin() + 7, frame.end() - 1), from_hex(c.payload)) << to_hex(frame);
    }
}

TEST(send_short_command, frames_as_documented)
{
    RecordingSender sender;
    const ControllerLink link{sender, "10.0.0.5"};
    send_short_command(link, 0xA4, 0xC5, 1);
    send_short_command(link, 0xA9, 0x00, -1);
    ASSERT_EQ(sender.sends.size(), 2u);
    EXPECT_EQ(to_hex(sender.sends[0].data), "48 53 33 FF 06 00 00 A4 C5 01 66");
    EXPECT_EQ(to_hex(sender.sends[1].data), "48 53 33 FF 05 00 00 A9 00 AC");
}

TEST(send_short_command, reports_a_refused_send_and_only_a_sent_payload_is_announced)
{
    RecordingSender sender;
    std::vector<Bytes> announced;
    const ControllerLink link{sender, "10.0.0.5", 16006, [&](ByteView payload) {
                                  announced.emplace_back(payload.begin(), payload.end());
                              }};
    sender.fail = true;
    EXPECT_EQ(send_short_command(link, 0xA5, 0xC5, 2), SendOutcome::send_failed);
    EXPECT_TRUE(announced.empty());
    sender.fail = false;
    EXPECT_EQ(send_short_command(link, 0xA5, 0xC5, 2), SendOutcome::sent);
    EXPECT_EQ(announced, std::vector<Bytes>{from_hex("A5 C5 02")});
}

} // namespace
} // namespace zk::protocol
