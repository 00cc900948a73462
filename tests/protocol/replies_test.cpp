#include "protocol/replies.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace zk::protocol {
namespace {

using test::from_hex;
using test::to_hex;

struct Row
{
    const char* frame;      // a well-formed answer, checksum included
    Reply reply;            // what it says
    std::size_t min_length; // the shortest prefix that still says it
};

const Row rows[] = {
    {"48 53 33 FF 07 00 00 A8 00 01 07 A9", VolumeData{7}, 11},
    {"48 53 33 FF 06 00 00 A8 55 01 FA", VolumeAck{}, 10},
    {"48 53 33 FF 09 00 00 41 00 02 1E 3C 5A 32", TimingsData{30, 60, 90}, 13},
    {"48 53 33 FF 05 00 00 41 55 11", TimingsAck{}, 9},
    {"48 53 33 FF 07 00 00 92 00 01 2C B8", ControllerIdData{300}, 11},
    {"48 53 33 FF 05 00 00 92 55 C2", ControllerIdAck{}, 9},
    {"48 53 33 FF 06 00 00 A4 55 00 F7", AuthorisationAck{false}, 10},
    {"48 53 33 FF 06 00 00 A4 55 01 F6", AuthorisationAck{true}, 10},
    {"48 53 33 FF 0B 00 00 A5 00 00 00 00 12 D6 87 ED", CardRead{1234567}, 15},
    {"48 53 33 FF 0B 00 00 A5 00 00 00 FF FF FF FF AE", CardRead{4294967295u}, 15},
    {"48 53 33 FF 08 00 00 A5 00 01 00 0C A0", CardCount{12}, 12},
    {"48 53 33 FF 07 00 00 A5 00 02 01 A1", CardLookup{true}, 11},
    {"48 53 33 FF 07 00 00 A5 55 00 00 F7", CardRegistrationAck{RegistrationResult::failed}, 11},
    {"48 53 33 FF 07 00 00 A5 55 00 01 F6", CardRegistrationAck{RegistrationResult::registered},
     11},
    {"48 53 33 FF 07 00 00 A5 55 00 02 F5",
     CardRegistrationAck{RegistrationResult::already_present}, 11},
    {"48 53 33 FF 08 00 00 A5 55 01 01 00 F8", FingerprintEnrolmentAck{1, false}, 12},
    {"48 53 33 FF 08 00 00 A5 55 01 04 01 FC", FingerprintEnrolmentAck{4, true}, 12},
    {"48 53 33 FF 07 00 00 A5 55 02 00 F5", FingerprintDeletionAck{false}, 11},
    {"48 53 33 FF 07 00 00 A5 55 02 01 F4", FingerprintDeletionAck{true}, 11},
    {"48 53 33 FF 07 00 00 A5 55 03 01 F5", CardDeletionAck{true}, 11},
    {"48 53 33 FF 07 00 00 A5 55 03 00 F4", CardDeletionAck{false}, 11},
    {"48 53 33 FF 06 00 00 A6 00 00 A0", SwipeModeData{true}, 10},
    {"48 53 33 FF 06 00 00 A6 00 02 A2", SwipeModeData{false}, 10},
    {"48 53 33 FF 05 00 00 A6 55 F6", SwipeModeAck{}, 9},
    {"48 53 33 FF 07 00 00 A9 00 01 02 AD", FingerprintCount{258}, 11},
    {"48 53 33 FF 1D 00 00 45 00 00 25 80 02 08 01 CE CE 02 0A FF CE CE 01 11 CE CE 00 CE CE 03 "
     "01 02 03 12",
     ProjectorCodesData{9600, 2, {{0x0A, 0xFF}, {0x11}, {}, {0x01, 0x02, 0x03}}}, 9},
    {"48 53 33 FF 05 00 00 45 55 15", ProjectorCodesAck{}, 9},
};

TEST(replies, decodes_every_kind_of_answer)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.frame);
        EXPECT_EQ(decode_reply(from_hex(row.frame)), std::optional<Reply>{row.reply});
    }
}

TEST(replies, encodes_every_kind_with_length_and_checksum)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.frame);
        EXPECT_EQ(to_hex(encode_reply(row.reply)), row.frame);
    }
}

TEST(replies, prefix_shorter_than_its_kind_needs_says_nothing)
{
    for (const Row& row : rows) {
        const Bytes full = from_hex(row.frame);
        for (std::size_t n = 0; n < row.min_length; ++n) {
            SCOPED_TRACE(std::string(row.frame) + " cut to " + std::to_string(n));
            EXPECT_EQ(decode_reply(ByteView(full).first(n)), std::nullopt);
        }
    }
}

TEST(replies, shortest_prefix_already_says_it)
{
    // The swipe-mode acknowledgement cut to 9 bytes and the card count without its checksum
    // still count; so does every answer whose checksum is wrong.
    const std::pair<const char*, Reply> cases[] = {
        {"48 53 33 FF 05 00 00 A6 55", SwipeModeAck{}},
        {"48 53 33 FF 08 00 00 A5 00 01 00 0C", CardCount{12}},
        {"48 53 33 FF 07 00 00 92 00 01 2C 00", ControllerIdData{300}},
        {"48 53 33 FF 07 00 00 92 00 01 2C FF", ControllerIdData{300}},
        {"48 53 33 00 99 12 34 A8 55 01 00", VolumeAck{}},
        {"48 53 33 FF 08 00 00 45 00", ProjectorCodesData{std::nullopt, std::nullopt, {}}},
        {"48 53 33 FF 08 00 00 45 00 00 25", ProjectorCodesData{std::nullopt, std::nullopt, {}}},
        {"48 53 33 FF 08 00 00 45 00 00 00 01", ProjectorCodesData{1, std::nullopt, {}}},
        {"48 53 33 FF 08 00 00 45 00 00 00 01 01", ProjectorCodesData{1, 1, {}}},
    };
    for (const auto& [hex, reply] : cases) {
        SCOPED_TRACE(hex);
        EXPECT_EQ(decode_reply(from_hex(hex)), std::optional<Reply>{reply});
    }
}

TEST(replies, ignores_what_it_does_not_name)
{
    const char* ignored[] = {
        "48 53 33 FF 05 00 00 A6",                // 8 bytes
        "48 53 34 FF 05 00 00 A6 55 F6",          // not HS3
        "48 53 33 FF 05 00 00 A8 00",             // volume data cut short
        "48 53 33 FF 07 00 00 A8 00 02 07 AA",    // volume data without its 01
        "48 53 33 FF 06 00 00 A8 55 02 F9",       // volume ack without its 01
        "48 53 33 FF 07 00 00 A8 C5 01 07 AA",    // a request, not an answer
        "48 53 33 FF 05 00 00 41 C5 81",          // operation not named for timings
        "48 53 33 FF 07 00 00 92 12 01 2C B8",    // operation not named for the ID
        "48 53 33 FF 06 00 00 A4 55 02 F5",       // authorisation neither paused nor resumed
        "48 53 33 FF 06 00 00 A4 00 01 A3",       // authorisation data does not exist
        "48 53 33 FF 07 00 00 A5 00 03 01 A2",    // unnamed registry read sub-code
        "48 53 33 FF 07 00 00 A5 55 04 01 F2",    // unnamed registry ack sub-code
        "48 53 33 FF 07 00 00 A5 55 00 03 F4",    // registration result 3
        "48 53 33 FF 08 00 00 A5 55 01 05 01 FD", // enrolment step 5
        "48 53 33 FF 08 00 00 A5 55 01 00 01 F8", // enrolment step 0
        "48 53 33 FF 08 00 00 A5 55 01 02 02 F9", // enrolment result 2
        "48 53 33 FF 07 00 00 A5 55 02 02 F7",    // fingerprint deletion result 2
        "48 53 33 FF 06 00 00 A6 00 01 A1",       // swipe mode 1
        "48 53 33 FF 07 00 00 A9 55 01 02 F9",    // fingerprint count ack does not exist
        "48 53 33 FF 05 00 00 45 C5 85",          // operation not named for codes
        "48 53 33 FF 07 00 00 A7 00 01 02 AD",    // unknown command
    };
    for (const char* hex : ignored) {
        SCOPED_TRACE(hex);
        EXPECT_EQ(decode_reply(from_hex(hex)), std::nullopt);
    }
}

TEST(replies, card_lookup_and_deletion_take_any_other_value_as_not_registered)
{
    EXPECT_EQ(decode_reply(from_hex("48 53 33 FF 07 00 00 A5 00 02 07 A7")),
              std::optional<Reply>{CardLookup{false}});
    EXPECT_EQ(decode_reply(from_hex("48 53 33 FF 07 00 00 A5 55 03 09 FC")),
              std::optional<Reply>{CardDeletionAck{false}});
}

ProjectorCodesData codes_of(const char* hex)
{
    const std::optional<Reply> reply = decode_reply(from_hex(hex));
    if (!reply || !std::holds_alternative<ProjectorCodesData>(*reply)) {
        ADD_FAILURE() << "no projector codes in " << hex;
        return {};
    }
    return std::get<ProjectorCodesData>(*reply);
}

TEST(replies, code_blocks_stop_at_the_first_that_does_not_fit)
{
    const struct
    {
        const char* frame;
        std::vector<Bytes> codes;
    } cases[] = {
        // Second block without its mark: only the first one.
        {"48 53 33 FF 0E 00 00 45 00 00 25 80 00 08 01 CE CE 02 0A FF CE 00 00", {{0x0A, 0xFF}}},
        // Data ending exactly at the last byte of the datagram still counts.
        {"48 53 33 FF 0E 00 00 45 00 00 25 80 00 08 01 CE CE 02 0A FF", {{0x0A, 0xFF}}},
        // One byte short: the block and everything after it are dropped.
        {"48 53 33 FF 0E 00 00 45 00 00 25 80 00 08 01 CE CE 03 0A FF", {}},
        // A mark that ends at the datagram's end, a count that is missing.
        {"48 53 33 FF 0E 00 00 45 00 00 25 80 00 08 01 CE CE 01 11 CE CE", {{0x11}}},
        {"48 53 33 FF 0E 00 00 45 00 00 25 80 00 08 01 CE", {}},
        // A fifth block is never read.
        {"48 53 33 FF 0E 00 00 45 00 00 25 80 00 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00 CE CE "
         "01 44",
         {{}, {}, {}, {}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        const ProjectorCodesData data = codes_of(c.frame);
        EXPECT_EQ(data.baud, 9600u);
        EXPECT_EQ(data.parity, std::optional<std::uint8_t>{0});
        EXPECT_EQ(data.codes, c.codes);
    }
}

TEST(replies, projector_codes_without_parity_encode_only_the_baud_rate)
{
    EXPECT_EQ(to_hex(encode_reply(ProjectorCodesData{0x123456, std::nullopt, {{0x01}}})),
              "48 53 33 FF 08 00 00 45 00 12 34 56 3D");
}

} // namespace
} // namespace zk::protocol
