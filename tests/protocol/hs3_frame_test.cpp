#include "protocol/hs3_frame.h"

#include <string>

#include <gtest/gtest.h>

#include "support/hex.h"

namespace zk::protocol {
namespace {

using zk::test::from_hex;
using zk::test::to_hex;

TEST(hs3_frame, wraps_payload_with_length_and_checksum)
{
    struct Case
    {
        std::string payload;
        std::string wire;
    };
    const Case cases[] = {
        {"A9 00", "48 53 33 FF 05 00 00 A9 00 AC"},
        {"45 C5 00 25 80 00 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00",
         "48 53 33 FF 17 00 00 45 C5 00 25 80 00 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00 3B"},
    };
    for (const Case& c : cases) {
        const auto frame = wrap_frame(from_hex(c.payload));
        ASSERT_TRUE(frame) << c.payload;
        EXPECT_EQ(*frame, from_hex(c.wire)) << to_hex(*frame);
        EXPECT_EQ(frame_checksum(*frame), frame->back()) << c.payload;
    }
}

TEST(hs3_frame, length_byte_limits_the_payload_to_252_bytes)
{
    // 252 zero bytes: length FF, checksum FF (only the length byte is non-zero).
    const auto longest = wrap_frame(Bytes(252, 0));
    ASSERT_TRUE(longest);
    ASSERT_EQ(longest->size(), 260u);
    EXPECT_EQ(to_hex(ByteView(*longest).first(7)), "48 53 33 FF FF 00 00");
    EXPECT_EQ(longest->back(), 0xFF);
    EXPECT_EQ(Bytes(longest->begin() + 7, longest->end() - 1), Bytes(252, 0));

    EXPECT_FALSE(wrap_frame(Bytes(253, 0)));
    EXPECT_FALSE(wrap_frame(Bytes(1000, 0xA5)));
}

TEST(hs3_frame, looks_like_frame_checks_only_length_and_signature)
{
    struct Case
    {
        std::string bytes;
        bool expected;
    };
    const Case cases[] = {
        {"", false},
        {"48 53 33", false},
        {"48 53 33 FF 05 00 00 A9", false},   // 8 bytes: no operation byte
        {"48 53 33 FF 05 00 00 A9 00", true}, // checksum missing, still a frame by this test
        {"48 53 33 FF 05 00 00 A9 00 AC", true},
        {"48 53 33 00 00 00 00 00 00", true}, // marker and length are not checked
        {"48 53 34 FF 05 00 00 A9 00 AC", false},
        {"68 73 33 FF 05 00 00 A9 00 AC", false}, // "hs3"
        {"00 48 53 33 FF 05 00 00 A9 00 AC", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(looks_like_frame(from_hex(c.bytes)), c.expected) << c.bytes;
}

TEST(hs3_frame, checksum_covers_length_through_last_payload_byte)
{
    struct Case
    {
        std::string frame;
        int expected;
    };
    const Case cases[] = {
        {"48 53 33 FF 06 00 00 A5 00 01 A2", 0xA2},
        {"48 53 33 FF 06 00 00 A4 C5 01 66", 0x66},
        {"FF FF FF FF 06 00 00 A4 C5 01 00", 0x66}, // signature and marker are not covered
        {"48 53 33 FF 06 00 00 A4 C5 01 FF", 0x66}, // nor is the stored checksum
        {"", 0},
        {"48 53 33 FF 06", 0},
        {"48 53 33 FF 06 00", 0x06},
    };
    for (const Case& c : cases)
        EXPECT_EQ(frame_checksum(from_hex(c.frame)), c.expected) << c.frame;
}

} // namespace
} // namespace zk::protocol
