#include "discovery/config_datagram.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace zk::discovery {
namespace {

using test::from_hex;
using test::to_hex;

constexpr std::string_view flag_hex = "43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00";

Bytes reply(std::uint8_t code, std::size_t length = config_length)
{
    Bytes data(length, 0);
    const Bytes flag = from_hex(flag_hex);
    std::copy(flag.begin(), flag.end(), data.begin());
    data[16] = code;
    return data;
}

TEST(config_datagram, search_and_read_requests_are_flag_code_payload_and_zeros)
{
    const Bytes search = search_request();
    ASSERT_EQ(search.size(), 285u);
    EXPECT_EQ(to_hex(ByteView(search).first(23)), std::string(flag_hex) + " 04 00 00 00 00 00 00");
    for (std::size_t i = 23; i < 285; ++i)
        ASSERT_EQ(search[i], 0) << i;

    const Bytes read = read_request(from_hex("84 C2 E4 01 0A FF"));
    ASSERT_EQ(read.size(), 285u);
    EXPECT_EQ(to_hex(ByteView(read).first(23)), std::string(flag_hex) + " 02 84 C2 E4 01 0A FF");
    for (std::size_t i = 23; i < 285; ++i)
        ASSERT_EQ(read[i], 0) << i;
}

TEST(config_datagram, accepts_only_long_enough_datagrams_with_the_first_six_flag_letters)
{
    struct Case
    {
        const char* what;
        Bytes data;
        std::optional<std::uint8_t> code;
    };
    Bytes other_tail = reply(0x84);
    for (std::size_t i = 6; i < 16; ++i)
        other_tail[i] = 'x';
    Bytes wrong_letter = reply(0x84);
    wrong_letter[5] = '2';
    const Case cases[] = {
        {"284 bytes", reply(0x84, 284), std::nullopt},
        {"285 bytes", reply(0x84), 0x84},
        {"300 bytes", reply(0x82, 300), 0x82},
        {"flag differs after CH9121", other_tail, 0x84},
        {"CH9122", wrong_letter, std::nullopt},
        {"empty", Bytes{}, std::nullopt},
        {"unknown code", reply(0x33), 0x33},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(accepted_code(c.data), c.code);
    }
}

TEST(config_datagram, writes_search_entries_dotted_addresses_and_ports)
{
    Bytes data = reply(0x84);
    const Bytes mac = from_hex("84 C2 E4 01 0A FF");
    std::copy(mac.begin(), mac.end(), data.begin() + 17);
    const Bytes ip = from_hex("C0 A8 01 C8");
    std::copy(ip.begin(), ip.end(), data.begin() + 30);
    EXPECT_EQ(search_entry(data), "MAC:84:C2:E4:1:A:FF IP:192.168.1.200");

    const Bytes zeros = from_hex("00 0A 00 00 00 00");
    std::copy(zeros.begin(), zeros.end(), data.begin() + 17);
    EXPECT_EQ(search_entry(data), "MAC:0:A:0:0:0:0 IP:192.168.1.200");

    EXPECT_EQ(dotted(from_hex("00 FF 0A 64"), 0), "0.255.10.100");

    struct Port
    {
        const char* bytes;
        const char* text;
    };
    for (const Port& p : {Port{"86 3E", "16006"}, Port{"00 00", "0"}, Port{"FF FF", "65535"},
                          Port{"50 C3", "50000"}}) {
        const Bytes port = from_hex(p.bytes);
        std::copy(port.begin(), port.end(), data.begin() + 179);
        EXPECT_EQ(port_text(data), p.text) << p.bytes;
    }
}

TEST(config_datagram, a_held_block_counts_only_as_a_configuration_reply_of_that_mac)
{
    const Bytes mac = from_hex("84 C2 E4 01 0A FF");
    Bytes block = reply(0x82, 300);
    std::copy(mac.begin(), mac.end(), block.begin() + 17);
    EXPECT_TRUE(is_config_reply_of(block, mac));
    EXPECT_FALSE(is_config_reply_of(block, from_hex("84 C2 E4 01 0A FE")));
    EXPECT_FALSE(is_config_reply_of(Bytes(285, 0), Bytes(6, 0))); // nothing received yet
    Bytes search = block;
    search[16] = 0x84;
    EXPECT_FALSE(is_config_reply_of(search, mac));
    EXPECT_FALSE(is_config_reply_of(ByteView(block).first(284), mac));
}

} // namespace
} // namespace zk::discovery
