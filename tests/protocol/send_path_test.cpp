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

    EXPECT_EQ(send_request(link, WriteVolume{5}), SendOutcome::sent);

    ASSERT_EQ(sender.sends.size(), 1u);
    EXPECT_EQ(sender.sends[0].address, "192.168.1.200");
    EXPECT_EQ(sender.sends[0].port, 16006);
    EXPECT_EQ(sender.sends[0].data, from_hex("48 53 33 FF 07 00 00 A8 C5 01 05 6E"))
        << to_hex(sender.sends[0].data);
}

// Projector codes of `code_bytes` bytes in all: a payload of 20 + code_bytes bytes.
WriteProjectorCodes codes_of_size(std::size_t code_bytes)
{
    WriteProjectorCodes request;
    request.settings.codes[0] = Bytes(code_bytes / 2, 0x41);
    request.settings.codes[1] = Bytes(code_bytes - code_bytes / 2, 0x42);
    return request;
}

TEST(send_request, refuses_a_payload_the_length_byte_cannot_describe)
{
    RecordingSender sender;
    const ControllerLink link{sender, "controller.local", 40123};

    EXPECT_EQ(send_request(link, codes_of_size(233)), SendOutcome::payload_too_long);
    EXPECT_TRUE(sender.sends.empty());

    EXPECT_EQ(send_request(link, codes_of_size(232)), SendOutcome::sent);
    ASSERT_EQ(sender.sends.size(), 1u);
    EXPECT_EQ(sender.sends[0].data.size(), 260u);
    EXPECT_EQ(sender.sends[0].address, "controller.local");
    EXPECT_EQ(sender.sends[0].port, 40123);
}

TEST(send_request, frames_as_documented)
{
    RecordingSender sender;
    const ControllerLink link{sender, "10.0.0.5"};
    send_request(link, SetAuthorisation{true});
    send_request(link, ReadFingerprintCount{});
    ASSERT_EQ(sender.sends.size(), 2u);
    EXPECT_EQ(to_hex(sender.sends[0].data), "48 53 33 FF 06 00 00 A4 C5 01 66");
    EXPECT_EQ(to_hex(sender.sends[1].data), "48 53 33 FF 05 00 00 A9 00 AC");
}

TEST(send_request, reports_a_refused_send_and_only_a_sent_request_is_announced)
{
    RecordingSender sender;
    std::vector<Request> announced;
    const ControllerLink link{sender, "10.0.0.5", 16006,
                              [&](const Request& request) { announced.push_back(request); }};
    sender.fail = true;
    EXPECT_EQ(send_request(link, DeleteFingerprint{}), SendOutcome::send_failed);
    EXPECT_EQ(sender.sends.size(), 1u);
    EXPECT_TRUE(announced.empty());
    sender.fail = false;
    EXPECT_EQ(send_request(link, DeleteFingerprint{}), SendOutcome::sent);
    EXPECT_EQ(announced, std::vector<Request>{DeleteFingerprint{}});
}

} // namespace
} // namespace zk::protocol
