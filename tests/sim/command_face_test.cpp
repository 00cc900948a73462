#include "sim/command_face.h"

#include <gtest/gtest.h>
#include <map>
#include <set>

#include "discovery/message.h"
#include "protocol/hs3_frame.h"
#include "protocol/replies.h"
#include "protocol/request.h"
#include "support/hex.h"
#include "support/udp_probe.h"
#include "support/under_wine.h"
#include "support/wait.h"

namespace zk::sim {
namespace {

using test::from_hex;
using test::UdpProbe;

CommandFaceOptions loopback()
{
    CommandFaceOptions options;
    options.bind_address = "127.0.0.1";
    options.hs3_port = 0;
    options.model.step_delay_ms = 20;
    return options;
}

TEST(command_face, answers_the_sender_over_loopback_and_reports_each_change)
{
    std::vector<std::string> log;
    CommandFaceOptions options = loopback();
    options.log = true;
    CommandFace face(options, ControllerState{},
                     [&](std::string_view line) { log.emplace_back(line); });
    ASSERT_TRUE(face.is_listening());
    int changes = 0;
    face.on_state_changed([&](const ControllerState& state) {
        ++changes;
        EXPECT_EQ(state.volume, 7);
    });
    UdpProbe tool;
    const auto port = static_cast<std::uint16_t>(face.port());
    tool.send_to(port, from_hex("01 02 03")); // ignored, never fatal
    tool.send_to(port, from_hex("48 53 33 FF 07 00 00 A8 C5 01 07 6C"));
    tool.send_to(port, from_hex("48 53 33 FF 06 00 00 A8 00 01 AF"));
    tool.send_to(port, from_hex("48 53 33 FF 07 00 00 A5 C5 01 01 67"));
    ASSERT_TRUE(tool.wait_for(6));
    test::settle();
    const std::vector<Bytes> expected = {
        from_hex("48 53 33 FF 06 00 00 A8 55 01 FA"),
        from_hex("48 53 33 FF 07 00 00 A8 00 01 07 A9"),
        from_hex("48 53 33 FF 08 00 00 A5 55 01 01 01 F9"),
        from_hex("48 53 33 FF 08 00 00 A5 55 01 02 01 FA"),
        from_hex("48 53 33 FF 08 00 00 A5 55 01 03 01 FB"),
        from_hex("48 53 33 FF 08 00 00 A5 55 01 04 01 FC"),
    };
    EXPECT_EQ(tool.received, expected);
    EXPECT_EQ(tool.sender_ports.front(), port);
    EXPECT_EQ(changes, 2); // the volume write and the enrolment
    EXPECT_EQ(face.state().fingerprints, 1);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "<- 127.0.0.1:" + std::to_string(tool.port()) +
                               "  01 02 03  (not a well-formed HS3 frame, ignored)");
}

TEST(command_face, replies_go_to_the_configured_server_when_told)
{
    UdpProbe server;
    CommandFaceOptions options = loopback();
    options.reply_to = HostPort{"127.0.0.1", server.port()};
    options.faults.duplicate = true;
    CommandFace face(options, ControllerState{}, {});
    UdpProbe tool;
    tool.send_to(static_cast<std::uint16_t>(face.port()),
                 from_hex("48 53 33 FF 05 00 00 A9 00 AC"));
    ASSERT_TRUE(server.wait_for(2));
    test::settle();
    EXPECT_EQ(server.received,
              (std::vector<Bytes>(2, from_hex("48 53 33 FF 07 00 00 A9 00 00 00 AE"))));
    EXPECT_TRUE(tool.received.empty());
}

// The module's write request with its destination (offsets 175-180) and IP (62-65) replaced.
Bytes destination_write(const ModuleSettings& module, const char* ip, std::uint16_t port)
{
    Bytes write = config_reply(module, discovery::encode(discovery::ReadRequest{module.mac, {}}));
    write[16] = 0x01;
    const Bytes address = from_hex(ip);
    std::copy(address.begin(), address.end(), write.begin() + 62);
    write[175] = 127;
    write[176] = 0;
    write[177] = 0;
    write[178] = 1;
    write[179] = static_cast<std::uint8_t>(port & 0xFF);
    write[180] = static_cast<std::uint8_t>(port >> 8);
    return write;
}

TEST(command_face, replies_follow_the_server_address_written_to_the_module)
{
    UdpProbe first_server, elsewhere, matched_server, moved_server, tool;
    NetworkModel network = make_network_model(2, {0x84, 0xC2, 0xE4, 0, 0, 1}, {10, 9, 9, 9});
    network.modules[0].destination_ip = {127, 0, 0, 1};
    network.modules[0].destination_port = first_server.port();
    network.modules[1].ip = {127, 0, 0, 1}; // the address the requests are sent to
    network.modules[1].destination_ip = {127, 0, 0, 1};
    network.modules[1].destination_port = elsewhere.port();
    CommandFaceOptions options = loopback();
    options.reply_to_server = true;
    CommandFace face(options, ControllerState{}, {}, &network);
    const auto port = static_cast<std::uint16_t>(face.port());
    const Bytes read = from_hex("48 53 33 FF 05 00 00 A9 00 AC");
    const Bytes reply = from_hex("48 53 33 FF 07 00 00 A9 00 00 00 AE");

    // Before the installer points the module at the PC, the answers go elsewhere.
    tool.send_to(port, read);
    ASSERT_TRUE(elsewhere.wait_for(1));
    EXPECT_EQ(elsewhere.received, std::vector<Bytes>{reply});

    ASSERT_TRUE(
        network.handle(destination_write(network.modules[1], "7F 00 00 01", matched_server.port()))
            .changed);
    tool.send_to(port, read);
    ASSERT_TRUE(matched_server.wait_for(1));
    EXPECT_EQ(matched_server.received, std::vector<Bytes>{reply});

    network.handle(destination_write(network.modules[1], "7F 00 00 01", moved_server.port()));
    tool.send_to(port, read);
    ASSERT_TRUE(moved_server.wait_for(1));

    // No module has the address any more: no controller is there to answer.
    network.handle(destination_write(network.modules[1], "0A 01 01 02", moved_server.port()));
    tool.send_to(port, read);
    test::settle();
    EXPECT_TRUE(first_server.received.empty());
    EXPECT_EQ(elsewhere.received.size(), 1u);
    EXPECT_EQ(matched_server.received.size(), 1u);
    EXPECT_EQ(moved_server.received, std::vector<Bytes>{reply});
    EXPECT_TRUE(tool.received.empty());
    EXPECT_NE(face.describe().find("listening"), std::string::npos);
}

// The volume a reply reports; -1 for any other reply.
int reported_volume(const Bytes& reply)
{
    const auto decoded = protocol::decode_reply(reply);
    const auto* data = decoded ? std::get_if<protocol::VolumeData>(&*decoded) : nullptr;
    return data ? data->volume : -1;
}

TEST(command_face, each_controller_keeps_its_own_state_and_answers_from_its_own_address)
{
    if (zk::test::under_wine()) GTEST_SKIP() << "Wine binds an address as its whole device";
    // 127.0.0.2-4 are this host's on Linux, so each controller gets a socket of its own.
    NetworkModel network = make_network_model(3, {0x84, 0xC2, 0xE4, 0, 0, 1}, {127, 0, 0, 2});
    CommandFaceOptions options = loopback();
    options.bind_address = "0.0.0.0";
    options.log = true;
    std::vector<std::string> log;
    CommandFace face(
        options, ControllerStates{}, [&](std::string_view l) { log.emplace_back(l); }, &network);
    ASSERT_TRUE(face.is_listening());
    const auto port = static_cast<std::uint16_t>(face.port());
    const std::string addresses[] = {"127.0.0.2", "127.0.0.3", "127.0.0.4"};
    UdpProbe tool;
    for (std::uint8_t i = 0; i < 3; ++i)
        tool.send_to(addresses[i], port,
                     *protocol::wrap_frame(protocol::encode_request(
                         protocol::WriteVolume{static_cast<std::uint8_t>(11 + i)})));
    ASSERT_TRUE(tool.wait_for(3));
    for (const std::string& address : addresses)
        tool.send_to(address, port, from_hex("48 53 33 FF 06 00 00 A8 00 01 AF")); // volume read
    ASSERT_TRUE(tool.wait_for(6));
    // The controllers answer on threads of their own, so the order of arrival is not theirs.
    std::map<std::string, std::multiset<int>> by_sender; // volumes reported; -1 for the acks
    for (std::size_t i = 0; i < tool.received.size(); ++i)
        by_sender[tool.sender_addresses[i]].insert(reported_volume(tool.received[i]));
    EXPECT_EQ(by_sender,
              (std::map<std::string, std::multiset<int>>{
                  {"127.0.0.2", {-1, 11}}, {"127.0.0.3", {-1, 12}}, {"127.0.0.4", {-1, 13}}}));
    EXPECT_EQ(face.state_of(2).volume, 13);

    // No simulated controller has 127.0.0.9: nothing answers, and the log says why.
    tool.send_to("127.0.0.9", port, from_hex("48 53 33 FF 06 00 00 A8 00 01 AF"));
    test::settle();
    EXPECT_EQ(tool.received.size(), 6u);
    EXPECT_EQ(log.back(), "<- 127.0.0.1:" + std::to_string(tool.port()) +
                              "  48 53 33 FF 06 00 00 A8 00 01 AF  (sent to 127.0.0.9, where no "
                              "simulated controller is, ignored)");
}

} // namespace
} // namespace zk::sim
