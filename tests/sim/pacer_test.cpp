#include "sim/pacer.h"

#include <gtest/gtest.h>

#include "sim/network_face.h"
#include "support/config_replies.h"
#include "support/hex.h"
#include "support/udp_probe.h"
#include "support/wait.h"

namespace zk::sim {
namespace {

TEST(pacer, the_first_send_is_due_at_once_and_one_more_every_period)
{
    struct Case
    {
        std::int64_t elapsed_ns;
        int rate;
        std::int64_t due;
    };
    const Case cases[] = {
        {0, 2000, 1},
        {499'999, 2000, 1},
        {500'000, 2000, 2},
        {1'000'000'000, 2000, 2001},
        {2'500'000'000, 38000, 95001},
        {-5, 100, 1},
        // Far into a run at a high rate: no overflow of the intermediate product.
        {3'600'000'000'000, 10'000'000, 36'000'000'001},
    };
    for (const Case& c : cases)
        EXPECT_EQ(due_by(c.elapsed_ns, c.rate), c.due) << c.elapsed_ns << " ns at " << c.rate;
}

TEST(pacer, a_paced_face_sends_every_answer_but_not_all_at_once)
{
    NetworkModel model = make_network_model(3, {0x84, 0xC2, 0xE4, 0, 0, 1}, {10, 0, 0, 1});
    NetworkFaceOptions options;
    CLI::App app;
    add_network_face_options(app, options);
    ASSERT_EQ(parse_arguments(app, {"--rate", "4", "--config-port=0", "--reply-to-sender"}).error,
              "");
    NetworkFace face(model, options);
    test::UdpProbe tool;
    Bytes search(285, 0);
    const Bytes flag = test::from_hex(test::flag_hex + "04");
    std::copy(flag.begin(), flag.end(), search.begin());
    tool.send_to(static_cast<std::uint16_t>(face.local_port()), search);
    ASSERT_TRUE(tool.wait_for(1));
    // At four a second the next answer is a quarter of a second behind the first.
    EXPECT_EQ(tool.received.size(), 1u);
    ASSERT_TRUE(tool.wait_for(3));
    test::settle();
    EXPECT_EQ(tool.received.size(), 3u);

    NetworkFaceOptions refused;
    CLI::App bad;
    add_network_face_options(bad, refused);
    EXPECT_EQ(parse_arguments(bad, {"--rate=0"}).error,
              "--rate: expected a number from 1 to 10000000, not \"0\"");
}

} // namespace
} // namespace zk::sim
