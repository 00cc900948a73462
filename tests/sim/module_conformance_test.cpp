// The simulated network module against what a CH9121 module in the field does: every request
// below is sent to the face over loopback, and every byte of every reply is checked, with the
// port it left from.
#include <gtest/gtest.h>

#include "base/values.h"
#include "sim/network_face.h"
#include "sim/sim_state.h"
#include "support/config_replies.h"
#include "support/hex.h"
#include "support/udp_probe.h"
#include "support/wait.h"

namespace zk::sim {
namespace {

using test::flag_hex;
using test::from_hex;
using test::to_hex;
using test::UdpProbe;

const std::string mac_1 = "84 C2 E4 00 00 01 ";
const std::string mac_2 = "84 C2 E4 00 00 02 ";
const std::string pc_mac = "00 E0 4C 12 34 56 ";

std::string run(std::size_t count, const char* pair)
{
    std::string text;
    for (std::size_t i = 0; i < count; ++i)
        text += pair;
    return text;
}

// Module 1's parameter block (30-233) as made by the options below: identity, name, MAC,
// address, gateway, mask, DHCP off, reserved bytes, the second port's factory block, the first
// port as the tool expects it.
const std::string block_1 =
    "21 21 00 02 06 " + std::string("5A 4B 2D 4E 45 54 ") + run(15, "00 ") + mac_1 +
    "C0 A8 01 C8 C0 A8 01 01 FF FF FF 00 00 " + run(29, "FF ") +
    "02 00 00 00 D0 07 C0 A8 01 64 E8 03 80 25 00 00 08 01 04 01 00 04 00 00 32 00 00 00 FF FF " +
    run(21, "00 ") + run(14, "FF ") +
    "01 01 00 00 86 3E C0 A8 01 64 86 3E 80 25 00 00 08 01 04 01 00 04 00 00 32 00 00 00 FF FF " +
    run(21, "00 ") + run(14, "FF ");

// 285 bytes: `head` from offset 0, then zeros.
Bytes datagram(const std::string& head)
{
    Bytes data = from_hex(head);
    data.resize(285, 0);
    return data;
}

// `request` answered with `code`: byte 29 zero, everything else as it came.
Bytes echoed(Bytes request, std::uint8_t code)
{
    request[16] = code;
    request[29] = 0;
    return request;
}

Bytes with(Bytes data, std::size_t at, const std::string& hex)
{
    const Bytes bytes = from_hex(hex);
    std::copy(bytes.begin(), bytes.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
    return data;
}

// A write of module 1's own block with a new address 192.168.1.50.
const Bytes sound_write =
    with(datagram(flag_hex + "01 " + mac_1 + pc_mac + "CC " + block_1), 62, "C0 A8 01 32");

TEST(module_conformance, answers_exactly_as_a_module_in_the_field)
{
    const Bytes search = datagram(flag_hex + "04 00 00 00 00 00 00 " + pc_mac);
    const Bytes refused_write = with(sound_write, 66, "C0 A8 02 01"); // gateway in another subnet
    const Bytes reset = datagram(flag_hex + "03 " + mac_1 + pc_mac);
    Bytes long_search = search;
    long_search.push_back(0);
    struct Case
    {
        const char* what;
        Bytes request;
        std::vector<Bytes> replies;
    };
    const std::vector<Case> cases = {
        {"search",
         search,
         {datagram(flag_hex + "84 " + mac_1 + pc_mac + "0B C0 A8 01 C8 5A 4B 2D 4E 45 54 00 26"),
          datagram(flag_hex + "84 " + mac_2 + pc_mac + "0B C0 A8 01 C9 5A 4B 2D 4E 45 54 00 26")}},
        {"search from a PC MAC of zero",
         datagram(flag_hex + "04"),
         {datagram(flag_hex + "84 " + mac_1 +
                   "00 00 00 00 00 00 0B C0 A8 01 C8 5A 4B 2D 4E 45 54 00 26"),
          datagram(flag_hex + "84 " + mac_2 +
                   "00 00 00 00 00 00 0B C0 A8 01 C9 5A 4B 2D 4E 45 54 00 26")}},
        {"search naming a MAC",
         datagram(flag_hex + "04 " + mac_2 + pc_mac),
         {datagram(flag_hex + "84 " + mac_2 + pc_mac + "0B C0 A8 01 C9 5A 4B 2D 4E 45 54 00 26")}},
        {"search naming an unknown MAC", datagram(flag_hex + "04 84 C2 E4 00 00 09 " + pc_mac), {}},
        {"read with byte 29 = CC",
         datagram(flag_hex + "02 " + mac_1 + pc_mac + "CC"),
         {datagram(flag_hex + "82 " + mac_1 + pc_mac + "CC " + block_1)}},
        {"read of the all-zero MAC", datagram(flag_hex + "02 00 00 00 00 00 00 " + pc_mac), {}},
        {"write", sound_write, {echoed(sound_write, 0x81)}},
        {"refused write", refused_write, {echoed(refused_write, 0xC1)}},
        {"reset", reset, {datagram(flag_hex + "83 " + mac_1 + pc_mac)}},
        {"284 bytes", Bytes(search.begin(), search.end() - 1), {}},
        {"286 bytes", long_search, {}},
        {"flag ends in 20 instead of 00", with(search, 15, "20"), {}},
        {"flag letter 15 lower-case", with(search, 14, "67"), {}},
        {"unknown code 05", with(search, 16, "05"), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        NetworkModel model = make_network_model(2, {0x84, 0xC2, 0xE4, 0, 0, 1}, {192, 168, 1, 200});
        model.strict_writes = true;
        NetworkFaceOptions options;
        options.config_port = 0;
        options.reply_to_sender = true;
        NetworkFace face(model, options);
        UdpProbe tool;
        tool.send_to(static_cast<std::uint16_t>(face.local_port()), c.request);
        if (c.replies.empty()) test::settle(std::chrono::milliseconds(150));
        ASSERT_TRUE(tool.wait_for(c.replies.size()));
        ASSERT_EQ(tool.received.size(), c.replies.size());
        for (std::size_t i = 0; i < c.replies.size(); ++i) {
            EXPECT_EQ(to_hex(tool.received[i]), to_hex(c.replies[i])) << "reply " << i;
            EXPECT_EQ(tool.sender_ports[i], face.local_port());
        }
    }
}

TEST(module_conformance, a_write_stores_a_refusal_keeps_and_a_reset_restores)
{
    NetworkModel model = make_network_model(1, {0x84, 0xC2, 0xE4, 0, 0, 1}, {192, 168, 1, 200});
    model.strict_writes = true;
    const Bytes read = datagram(flag_hex + "02 " + mac_1);
    const Bytes factory = model.handle(read).replies.at(0);
    // A field the tool never shows: the second port's local port.
    const Bytes write = with(sound_write, 108, "B8 0B");

    EXPECT_TRUE(model.handle(with(write, 66, "C0 A8 01 32")).replies.at(0)[16] == 0xC1);
    EXPECT_EQ(model.handle(read).replies.at(0), factory);

    const ModelAnswer stored = model.handle(write);
    EXPECT_TRUE(stored.changed);
    const Bytes after = model.handle(read).replies.at(0);
    EXPECT_EQ(to_hex(ByteView(after).subspan(62, 4)), "C0 A8 01 32");
    EXPECT_EQ(to_hex(ByteView(after).subspan(108, 2)), "B8 0B");

    EXPECT_TRUE(model.handle(datagram(flag_hex + "03 " + mac_1)).changed);
    EXPECT_EQ(model.handle(read).replies.at(0), factory);
}

TEST(module_conformance, strict_writes_refuse_each_unsound_block_and_loose_ones_store_it)
{
    struct Case
    {
        const char* what;
        std::size_t at;
        const char* bytes;
        bool refused;
    };
    const std::vector<Case> cases = {
        {"address 0.0.0.0", 62, "00 00 00 00", true},
        {"address 255.255.255.255", 62, "FF FF FF FF", true},
        {"subnet broadcast", 62, "C0 A8 01 FF", true},
        {"subnet's first address", 62, "C0 A8 01 00", false},
        {"mask with a hole", 70, "FF 00 FF 00", true},
        {"mask /25", 70, "FF FF FF 80", false},
        {"gateway in another subnet", 66, "C0 A8 02 01", true},
        {"gateway equal to the address", 66, "C0 A8 01 32", true},
        {"DHCP flag 2", 74, "02", true},
        {"DHCP on", 74, "01", false},
        {"name without its zero", 35,
         "41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41", true},
        {"name of 20 bytes", 35, "41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 00",
         false},
        {"destination port 0", 179, "00 00", true},
        {"local port 0", 173, "00 00", true},
        {"local port 0 with a random local port", 172, "01 00 00", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool strict : {true, false}) {
            NetworkModel model =
                make_network_model(1, {0x84, 0xC2, 0xE4, 0, 0, 1}, {192, 168, 1, 200});
            model.strict_writes = strict;
            const ModuleSettings before = model.modules[0];
            const ModelAnswer answer = model.handle(with(sound_write, c.at, c.bytes));
            ASSERT_EQ(answer.replies.size(), 1u);
            const bool refused = strict && c.refused;
            EXPECT_EQ(answer.replies[0][16], refused ? 0xC1 : 0x81);
            EXPECT_EQ(answer.changed, !refused);
            EXPECT_EQ(model.modules[0] == before, refused);
            EXPECT_EQ(answer.refusal.empty(), !refused);
        }
    }
}

TEST(module_conformance, a_reset_keeps_the_modules_own_mac_and_echoes_nothing_of_the_request)
{
    // The state file's module has a MAC of its own, not the one --mac-base counts from.
    NetworkModel loaded = make_network_model(1, {0x84, 0xC2, 0xE4, 0, 0, 2}, {10, 0, 0, 5});
    NetworkModel model = starting_network(NetworkFaceOptions{}, loaded);
    const Bytes reset = with(datagram(flag_hex + "03 " + mac_2 + pc_mac), 30, run(255, "AA "));
    const ModelAnswer answer = model.handle(reset);
    ASSERT_EQ(answer.replies.size(), 1u);
    EXPECT_EQ(answer.replies[0], datagram(flag_hex + "83 " + mac_2 + pc_mac));
    EXPECT_EQ(mac_text(model.modules[0].mac), "84:C2:E4:00:00:02");
    EXPECT_EQ(model.handle(datagram(flag_hex + "02 " + mac_2)).replies.size(), 1u);
}

} // namespace
} // namespace zk::sim
