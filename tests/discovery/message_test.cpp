#include "discovery/message.h"

#include <gtest/gtest.h>

#include "base/ipv4_text.h"
#include "support/hex.h"
#include "support/refused_blocks.h"

namespace zk::discovery {
namespace {

using test::from_hex;
using test::to_hex;

constexpr std::string_view flag_hex = "43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00";

// The flag, `code`, MAC 84:C2:E4:01:0A:FF and the PC's MAC 00:E0:4C:12:34:56, then bytes that
// differ from each other up to `length`: whatever a controller puts where nothing is named.
Bytes datagram(std::string_view code, std::size_t length = 285)
{
    Bytes data = from_hex(std::string(flag_hex) + " " + std::string(code) +
                          " 84 C2 E4 01 0A FF 00 E0 4C 12 34 56");
    for (std::size_t i = data.size(); i < length; ++i)
        data.push_back(static_cast<std::uint8_t>(i * 7 + 3));
    return data;
}

Bytes with(Bytes data, std::size_t at, std::string_view hex)
{
    const Bytes bytes = from_hex(hex);
    std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
    return data;
}

std::optional<std::size_t> kind_of(ByteView data)
{
    if (const auto request = decode_request(data)) return request->index();
    if (const auto reply = decode_reply(data)) return 10 + reply->index();
    return std::nullopt;
}

TEST(message, every_configuration_message_encodes_back_to_the_bytes_it_came_in)
{
    const Bytes sound_write = test::sound_write();
    const struct
    {
        const char* what;
        Bytes data;
        std::size_t kind; // request index, or 10 + reply index
    } cases[] = {
        {"search", with(datagram("04"), 17, "00 00 00 00 00 00"), 0},
        {"search naming a MAC", datagram("04"), 0},
        {"read", datagram("02"), 1},
        {"write", sound_write, 2},
        {"write of a long held block", datagram("01", 300), 2},
        {"reset", datagram("03"), 3},
        {"search reply with a name",
         with(datagram("84"), 29, "0B C0 A8 01 C8 43 48 39 31 32 31 00 26"), 10},
        {"search reply of another controller", datagram("84"), 10},
        {"configuration reply", with(sound_write, 16, "82"), 11},
        {"configuration reply of 300 bytes", datagram("82", 300), 11},
        {"write acknowledged", datagram("81"), 12},
        {"write refused", datagram("C1"), 13},
        {"reset done", datagram("83"), 14},
        {"flag differs after CH9121", with(datagram("82"), 6, "78 78 78 78 78 78 78 78 78 78"), 11},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(kind_of(c.data), c.kind);
        const Bytes again =
            c.kind < 10 ? encode(*decode_request(c.data)) : encode(*decode_reply(c.data));
        EXPECT_EQ(to_hex(again), to_hex(c.data));
    }
}

TEST(message, looks_only_at_long_enough_datagrams_with_the_first_six_flag_letters)
{
    const struct
    {
        const char* what;
        Bytes data;
        std::optional<std::size_t> kind;
    } cases[] = {
        {"284 bytes", datagram("84", 284), std::nullopt},
        {"CH9122", with(datagram("84"), 5, "32"), std::nullopt},
        {"empty", Bytes{}, std::nullopt},
        {"unknown code", datagram("33"), std::nullopt},
        {"a write refusal code without its high bit", datagram("41"), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(kind_of(c.data), c.kind);
    }
}

TEST(message, names_the_fields_the_system_reads_at_their_places)
{
    const ConfigReply reply = test::config_reply_in(with(test::sound_write(), 16, "82"));
    EXPECT_EQ(reply.mac, (Mac{0x84, 0xC2, 0xE4, 0x00, 0x00, 0x01}));
    EXPECT_EQ(
        reply.block.network,
        (NetworkParameters{
            {192, 168, 1, 50}, {255, 255, 255, 0}, {192, 168, 1, 1}, {192, 168, 1, 100}, 16006}));
    const Bytes found = with(datagram("84"), 30, "C0 A8 01 C8");
    const auto search = std::get<SearchReply>(*decode_reply(found));
    EXPECT_EQ(search.mac, (Mac{0x84, 0xC2, 0xE4, 0x01, 0x0A, 0xFF}));
    EXPECT_EQ(ipv4_text(search.ip), "192.168.1.200");
    EXPECT_EQ(mac_of(*decode_reply(datagram("81"))), search.mac);
}

TEST(message, search_and_read_requests_are_flag_code_payload_and_zeros)
{
    const Bytes search = encode(SearchRequest{});
    ASSERT_EQ(search.size(), 285u);
    EXPECT_EQ(to_hex(ByteView(search).first(23)), std::string(flag_hex) + " 04 00 00 00 00 00 00");
    for (std::size_t i = 23; i < 285; ++i)
        ASSERT_EQ(search[i], 0) << i;

    const Bytes read = encode(ReadRequest{{0x84, 0xC2, 0xE4, 0x01, 0x0A, 0xFF}, {}});
    ASSERT_EQ(read.size(), 285u);
    EXPECT_EQ(to_hex(ByteView(read).first(23)), std::string(flag_hex) + " 02 84 C2 E4 01 0A FF");
    for (std::size_t i = 23; i < 285; ++i)
        ASSERT_EQ(read[i], 0) << i;
}

TEST(message, a_write_carries_the_held_block_with_the_parameters_and_constants)
{
    // The held reply of 300 bytes; only the fields and constants of the write differ from it.
    const Bytes held = datagram("82", 300);
    const NetworkParameters p{
        {192, 168, 1, 50}, {255, 255, 255, 0}, {192, 168, 1, 1}, {10, 0, 0, 9}, 70};
    const Bytes sent = encode(write_request(test::config_reply_in(held), p));
    Bytes expected = with(held, 16, "01");
    expected = with(expected, 62, "C0 A8 01 32 C0 A8 01 01 FF FF FF 00");
    expected = with(expected, 171,
                    "03 00 86 3E 0A 00 00 09 46 00 00 C2 01 00 08 01 04 01 00 04 00 "
                    "00 32 00 00 00");
    EXPECT_EQ(to_hex(sent), to_hex(expected));
}

} // namespace
} // namespace zk::discovery
