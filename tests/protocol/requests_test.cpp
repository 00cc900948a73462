#include "protocol/request.h"

#include <array>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "protocol/hs3_frame.h"
#include "support/hex.h"

namespace zk::protocol {
namespace {

using zk::test::from_hex;
using zk::test::to_hex;

Bytes e(const Request& request)
{
    return encode_request(request);
}

Bytes codes_write(const ProjectorCodes& settings)
{
    return encode_request(WriteProjectorCodes{settings});
}

struct PayloadCase
{
    const char* name;
    Bytes payload;
    std::string expected;
};

TEST(requests, build_every_payload_of_the_command_table)
{
    const PayloadCase cases[] = {
        {"volume_read", e(ReadVolume{}), "A8 00 01"},
        {"volume_write 5", e(WriteVolume{5}), "A8 C5 01 05"},
        {"volume_write 7", e(WriteVolume{7}), "A8 C5 01 07"},
        {"volume_write 0", e(WriteVolume{0}), "A8 C5 01 00"},
        {"timings_read", e(ReadTimings{}), "41 00"},
        {"timings_write", e(WriteTimings{30, 60, 90}), "41 C5 02 1E 3C 5A"},
        {"controller_id_read", e(ReadControllerId{}), "92 00"},
        {"controller_id_write 300", e(WriteControllerId{300}), "92 C5 01 2C"},
        {"controller_id_write 65535", e(WriteControllerId{65535}), "92 C5 FF FF"},
        {"controller_id_write 0", e(WriteControllerId{0}), "92 C5 00 00"},
        {"controller_id_write 0x1170", e(WriteControllerId{0x1170}), "92 C5 11 70"},
        {"authorisation pause", e(SetAuthorisation{true}), "A4 C5 01"},
        {"authorisation resume", e(SetAuthorisation{false}), "A4 C5 00"},
        {"card_read", e(AwaitCard{}), "A5 00 00"},
        {"card_count_read", e(ReadCardCount{}), "A5 00 01"},
        {"card_lookup", e(LookUpCard{1234567}), "A5 00 02 00 12 D6 87"},
        {"card_register", e(RegisterCard{1234567}), "A5 C5 00 00 12 D6 87"},
        {"card_delete", e(DeleteCard{1234567}), "A5 C5 03 00 12 D6 87"},
        {"card_register 12345678", e(RegisterCard{12345678}), "A5 C5 00 00 BC 61 4E"},
        {"card_lookup max", e(LookUpCard{4294967295u}), "A5 00 02 FF FF FF FF"},
        {"card_delete 0", e(DeleteCard{0}), "A5 C5 03 00 00 00 00"},
        {"fingerprint_enrol", e(EnrolFingerprint{}), "A5 C5 01 01"},
        {"fingerprint_delete", e(DeleteFingerprint{}), "A5 C5 02"},
        {"swipe_mode_read", e(ReadSwipeMode{}), "A6 00"},
        {"swipe_mode_write card", e(WriteSwipeMode{true}), "A6 C5 00"},
        {"swipe_mode_write public", e(WriteSwipeMode{false}), "A6 C5 02"},
        {"fingerprint_count_read", e(ReadFingerprintCount{}), "A9 00"},
        {"projector_codes_read", e(ReadProjectorCodes{}), "45 00"},
    };
    for (const PayloadCase& c : cases)
        EXPECT_EQ(c.payload, from_hex(c.expected)) << c.name << ": " << to_hex(c.payload);
}

ProjectorCodes codes(std::uint32_t baud, std::uint8_t parity, std::array<Bytes, 4> blocks = {})
{
    return {baud, parity, std::move(blocks)};
}

TEST(requests, projector_codes_write_lays_out_serial_settings_and_code_blocks)
{
    const PayloadCase cases[] = {
        {"9600 none, no codes", codes_write(codes(9600, 0)),
         "45 C5 00 25 80 00 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00"},
        {"115200 even", codes_write(codes(115200, 2)),
         "45 C5 01 C2 00 02 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00"},
        {"345600 odd", codes_write(codes(345600, 1)),
         "45 C5 05 46 00 01 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00"},
        {"17200", codes_write(codes(17200, 0)),
         "45 C5 00 43 30 00 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00"},
        {"nothing chosen", codes_write(codes(0, 0xFF)),
         "45 C5 00 00 00 FF 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00"},
        {"baud beyond 24 bits", codes_write(codes(0x01002580, 0)),
         "45 C5 00 25 80 00 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00"},
        {"codes in order power-on, power-off, video, computer",
         codes_write(codes(
             1200, 0, {from_hex("AA 01 05"), from_hex("7E 30 30 0D"), Bytes{}, from_hex("CE")})),
         "45 C5 00 04 B0 00 08 01 CE CE 03 AA 01 05 CE CE 04 7E 30 30 0D CE CE 00 CE CE 01 CE"},
    };
    for (const PayloadCase& c : cases)
        EXPECT_EQ(c.payload, from_hex(c.expected)) << c.name << ": " << to_hex(c.payload);

    // A 256-byte code keeps the low 8 bits of its count but all of its bytes.
    const Bytes long_code = codes_write(codes(0, 0, {Bytes(256, 0x11)}));
    ASSERT_EQ(long_code.size(), 20u + 256u);
    EXPECT_EQ(to_hex(ByteView(long_code).subspan(8, 4)), "CE CE 00 11");
    EXPECT_EQ(to_hex(ByteView(long_code).last(12)), "11 11 11 CE CE 00 CE CE 00 CE CE 00");
}

TEST(requests, frame_on_the_wire_as_documented)
{
    const PayloadCase cases[] = {
        {"fingerprint count", e(ReadFingerprintCount{}), "48 53 33 FF 05 00 00 A9 00 AC"},
        {"volume read", e(ReadVolume{}), "48 53 33 FF 06 00 00 A8 00 01 AF"},
        {"volume write 5", e(WriteVolume{5}), "48 53 33 FF 07 00 00 A8 C5 01 05 6E"},
        {"controller id 300", e(WriteControllerId{300}), "48 53 33 FF 07 00 00 92 C5 01 2C 7D"},
        {"card lookup", e(LookUpCard{1234567}), "48 53 33 FF 0A 00 00 A5 00 02 00 12 D6 87 EE"},
        {"identity read", e(ReadControllerId{}), "48 53 33 FF 05 00 00 92 00 97"},
        {"timings write", e(WriteTimings{30, 60, 90}), "48 53 33 FF 09 00 00 41 C5 02 1E 3C 5A F7"},
        {"swipe-card power-on", e(WriteSwipeMode{true}), "48 53 33 FF 06 00 00 A6 C5 00 65"},
        {"projector codes", codes_write(codes(9600, 0)),
         "48 53 33 FF 17 00 00 45 C5 00 25 80 00 08 01 CE CE 00 CE CE 00 CE CE 00 CE CE 00 3B"},
        {"card register", e(RegisterCard{1234567}), "48 53 33 FF 0A 00 00 A5 C5 00 00 12 D6 87 29"},
        {"card count", e(ReadCardCount{}), "48 53 33 FF 06 00 00 A5 00 01 A2"},
        {"fingerprint enrol", e(EnrolFingerprint{}), "48 53 33 FF 07 00 00 A5 C5 01 01 67"},
        {"authorisation pause", e(SetAuthorisation{true}), "48 53 33 FF 06 00 00 A4 C5 01 66"},
    };
    for (const PayloadCase& c : cases) {
        const auto frame = wrap_frame(c.payload);
        ASSERT_TRUE(frame) << c.name;
        EXPECT_EQ(*frame, from_hex(c.expected)) << c.name << ": " << to_hex(*frame);
    }
}

} // namespace
} // namespace zk::protocol
