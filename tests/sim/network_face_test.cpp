#include "sim/network_face.h"

#include <set>

#include <gtest/gtest.h>

#include "support/config_replies.h"
#include "support/hex.h"
#include "support/udp_probe.h"
#include "support/under_wine.h"
#include "support/wait.h"

namespace zk::sim {
namespace {

using test::from_hex;
using test::to_hex;
using test::UdpProbe;

Bytes search()
{
    Bytes data(285, 0);
    const Bytes flag = from_hex(test::flag_hex + "04");
    std::copy(flag.begin(), flag.end(), data.begin());
    return data;
}

// The MACs (offsets 17-22) of the search replies twenty modules send under `faults`.
std::multiset<std::string> answering_macs(const FaultOptions& faults, std::vector<Bytes>* all = {})
{
    NetworkModel model = make_network_model(20, {0x84, 0xC2, 0xE4, 0, 0, 1}, {10, 0, 0, 1});
    NetworkFaceOptions options;
    options.config_port = 0;
    options.reply_to_sender = true;
    NetworkFace face(model, options, faults);
    UdpProbe tool;
    tool.send_to(static_cast<std::uint16_t>(face.local_port()), search());
    test::settle(std::chrono::milliseconds(faults.delay_ms + 300));
    std::multiset<std::string> macs;
    for (const Bytes& reply : tool.received)
        macs.insert(reply.size() >= 23 ? to_hex(ByteView(reply).subspan(17, 6)) : "short");
    if (all) *all = tool.received;
    return macs;
}

TEST(network_face, the_shared_faults_shape_the_module_replies)
{
    EXPECT_EQ(answering_macs({}).size(), 20u);

    FaultOptions lossy;
    lossy.loss = 0.5;
    lossy.seed = 7;
    const std::multiset<std::string> kept = answering_macs(lossy);
    EXPECT_GT(kept.size(), 0u);
    EXPECT_LT(kept.size(), 20u);
    EXPECT_EQ(answering_macs(lossy), kept); // the same seed loses the same modules' replies

    FaultOptions twice;
    twice.duplicate = true;
    const std::multiset<std::string> doubled = answering_macs(twice);
    EXPECT_EQ(doubled.size(), 40u);
    EXPECT_EQ(doubled.count("84 C2 E4 00 00 14"), 2u);

    FaultOptions cut;
    cut.truncate = 23;
    std::vector<Bytes> replies;
    EXPECT_EQ(answering_macs(cut, &replies).size(), 20u);
    EXPECT_EQ(to_hex(replies.front()),
              "43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00 84 84 C2 E4 00 00 01");
}

TEST(network_face, logs_each_datagram_with_its_meaning)
{
    NetworkModel model = make_network_model(1, {0x84, 0xC2, 0xE4, 0, 0, 1}, {10, 0, 0, 1});
    NetworkFaceOptions options;
    options.config_port = 0;
    options.reply_to_sender = true;
    std::vector<std::string> log;
    NetworkFace face(model, options, {}, [&](std::string_view line) { log.emplace_back(line); });
    UdpProbe tool;
    tool.send_to(static_cast<std::uint16_t>(face.local_port()), from_hex("43 48"));
    tool.send_to(static_cast<std::uint16_t>(face.local_port()), search());
    ASSERT_TRUE(tool.wait_for(1));
    ASSERT_EQ(log.size(), 3u);
    const std::string tool_at = "127.0.0.1:" + std::to_string(tool.port());
    EXPECT_EQ(log[0], "<- " + tool_at + "  43 48  (not a configuration datagram, ignored)");
    EXPECT_EQ(log[1],
              "<- " + tool_at +
                  "  43 48 39 31 32 31 5F 43 46 47 5F 46 4C 41 47 00 04 00 x 268  (search)");
    EXPECT_NE(log[2].find("  (search reply of 84:C2:E4:00:00:01)"), std::string::npos);
    EXPECT_EQ(face.describe(), "1 network module listening on 0.0.0.0:" +
                                   std::to_string(face.local_port()) + ", replies to the asker");
}

TEST(network_face, each_module_whose_address_is_here_answers_from_it)
{
    if (zk::test::under_wine()) GTEST_SKIP() << "Wine binds an address as its whole device";
    // 127.0.0.2 and .3 are this host's on Linux; 10.9.9.9 is not, so that module answers from
    // the address the system picks.
    NetworkModel model = make_network_model(3, {0x84, 0xC2, 0xE4, 0, 0, 1}, {127, 0, 0, 2});
    model.modules[2].ip = {10, 9, 9, 9};
    NetworkFaceOptions options;
    options.config_port = 0;
    options.reply_to_sender = true;
    NetworkFace face(model, options);
    ASSERT_TRUE(face.is_bound());
    UdpProbe tool;
    tool.send_to(static_cast<std::uint16_t>(face.local_port()), search());
    ASSERT_TRUE(tool.wait_for(3));
    std::multiset<std::string> from;
    for (std::size_t i = 0; i < tool.received.size(); ++i) {
        EXPECT_EQ(tool.sender_ports[i], face.local_port());
        from.insert(to_hex(ByteView(tool.received[i]).subspan(30, 4)) + " from " +
                    tool.sender_addresses[i]);
    }
    EXPECT_EQ(from, (std::multiset<std::string>{"0A 09 09 09 from 127.0.0.1",
                                                "7F 00 00 02 from 127.0.0.2",
                                                "7F 00 00 03 from 127.0.0.3"}));

    // A write moving module 1 to 127.0.0.9 is acknowledged from the old address, and from then
    // on the module answers from the new one.
    Bytes write = config_reply(model.modules[0], search());
    write[16] = 0x01;
    write[62 + 3] = 9;
    tool.received.clear();
    tool.sender_addresses.clear();
    tool.send_to(static_cast<std::uint16_t>(face.local_port()), write);
    ASSERT_TRUE(tool.wait_for(1));
    EXPECT_EQ(tool.received[0][16], 0x81);
    EXPECT_EQ(tool.sender_addresses[0], "127.0.0.2");
    tool.send_to(static_cast<std::uint16_t>(face.local_port()), search());
    ASSERT_TRUE(tool.wait_for(4));
    EXPECT_EQ(to_hex(ByteView(tool.received[1]).subspan(30, 4)), "7F 00 00 09");
    EXPECT_EQ(tool.sender_addresses[1], "127.0.0.9");
}

} // namespace
} // namespace zk::sim
