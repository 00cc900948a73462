#include "discovery/message.h"

#include <gtest/gtest.h>

#include "support/hex.h"

namespace zk::discovery {
namespace {

using test::from_hex;

// The flag, code 84, MAC 84:C2:E4:00:00:01, the PC's MAC, byte 29, then 192.168.1.200.
Bytes reply_with(std::uint8_t counted, const Bytes& after_address)
{
    Bytes reply = from_hex("43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00 84"
                           "84 C2 E4 00 00 01 00 00 00 00 00 00");
    reply.push_back(counted);
    reply.insert(reply.end(), {0xC0, 0xA8, 0x01, 0xC8});
    reply.insert(reply.end(), after_address.begin(), after_address.end());
    reply.resize(285, 0);
    return reply;
}

TEST(search_reply, name_and_version_only_where_the_data_length_describes_them)
{
    Bytes twenty(20, 0x41);
    twenty.insert(twenty.end(), {0x00, 0x26});
    const struct
    {
        const char* what;
        Bytes reply;
        std::string name, version;
    } cases[] = {
        {"a module's name", reply_with(11, from_hex("43 48 39 31 32 31 00 26")), "CH9121", "2.6"},
        {"a 20-byte name", reply_with(25, twenty), std::string(20, 'A'), "2.6"},
        {"nothing counted", reply_with(0, from_hex("43 48 00 26")), "", ""},
        {"an empty name", reply_with(5, from_hex("00 26")), "", ""},
        {"a 21-byte name", reply_with(26, Bytes(22, 0x41)), "", ""},
        {"no zero after the name", reply_with(7, from_hex("41 42 43 26")), "", ""},
        {"a zero inside the name", reply_with(8, from_hex("41 00 43 00 26")), "", ""},
        {"a parameter block", reply_with(0xCC, from_hex("21 21 00 02 06 5A 4B 00")), "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<Reply> decoded = decode_reply(c.reply);
        ASSERT_TRUE(decoded && std::holds_alternative<SearchReply>(*decoded));
        const SearchReply* reply = &std::get<SearchReply>(*decoded);
        EXPECT_EQ(reply->name, c.name);
        EXPECT_EQ(reply->name.empty() ? "" : version_text(reply->version), c.version);
        EXPECT_EQ(reply->ip, (Ipv4{192, 168, 1, 200}));
        EXPECT_EQ(reply->mac, (Mac{0x84, 0xC2, 0xE4, 0x00, 0x00, 0x01}));
    }
    Bytes config_reply = reply_with(11, {});
    config_reply[16] = 0x82;
    EXPECT_FALSE(std::holds_alternative<SearchReply>(decode_reply(config_reply).value()));
    EXPECT_EQ(decode_reply(ByteView(reply_with(11, {})).first(284)), std::nullopt);
}

} // namespace
} // namespace zk::discovery
