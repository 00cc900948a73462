// Which datagrams zkctl's client takes for an answer, and how outcomes over several
// controllers add up.
#include <gtest/gtest.h>
#include <sstream>

#include "cli/context.h"
#include "cli/hs3_client.h"
#include "net/datagram_endpoint.h"
#include "protocol/request.h"
#include "support/hex.h"
#include "support/under_wine.h"

namespace zk::cli {
namespace {

using test::from_hex;

// A controller at 127.0.0.1 whose answer (volume 7) is sent from `answer_from`: only the
// address the request went to may answer it.
TEST(hs3_client, takes_an_answer_only_from_the_address_asked)
{
    if (zk::test::under_wine()) GTEST_SKIP() << "Wine binds an address as its whole device";
    const std::pair<const char*, std::optional<protocol::Reply>> cases[] = {
        {"127.0.0.1", protocol::VolumeData{7}},
        {"127.0.0.2", std::nullopt},
    };
    for (const auto& [answer_from, expected] : cases) {
        SCOPED_TRACE(answer_from);
        DatagramEndpoint controller(0, "127.0.0.1");
        DatagramEndpoint answerer(0, answer_from);
        ASSERT_TRUE(controller.is_bound() && answerer.is_bound());
        controller.on_datagram([&](ByteView) {
            const Peer asker = controller.received_from();
            answerer.send(asker.address, asker.port,
                          from_hex("48 53 33 FF 07 00 00 A8 00 01 07 A9"));
        });
        Hs3Client client({"127.0.0.1", controller.local_port(), 0},
                         {std::chrono::milliseconds(200), 0});
        EXPECT_EQ(client.ask(protocol::ReadVolume{}), expected);
    }
}

TEST(hs3_client, this_pc_is_no_controller_where_zkctl_holds_the_port)
{
    const std::pair<Hs3Target, const char*> cases[] = {
        {{"127.0.0.1", 16006, 16006},
         "--host: 127.0.0.1 is this PC; a controller has an address "
         "of its own"},
        {{"127.0.0.01", 16006, 16006},
         "--host: 127.0.0.01 is this PC; a controller has an "
         "address of its own"},
        {{"10.66.0.256", 16006, 16006},
         "--host: \"10.66.0.256\" is not an IPv4 address (four "
         "numbers 0-255, like 192.168.1.20)"},
        {{"", 16006, 16006}, "--host: the controller's address is missing"},
    };
    for (const auto& [target, message] : cases) {
        SCOPED_TRACE(target.host);
        try {
            checked_host(target);
            ADD_FAILURE() << "accepted";
        } catch (const Exit& error) {
            EXPECT_EQ(error.code(), exit_usage);
            EXPECT_STREQ(error.what(), message);
        }
    }
    // A simulator on this PC is reachable on a port other than the one zkctl answers on.
    EXPECT_EQ(checked_host({"127.0.0.1", 16007, 16006}), "127.0.0.1");
    EXPECT_EQ(checked_host({"192.0.2.010", 16006, 16006}), "192.0.2.10");
}

TEST(cli_context, the_exit_status_over_several_controllers_is_the_worst)
{
    const std::pair<std::vector<int>, int> cases[] = {
        {{exit_ok, exit_ok}, exit_ok},
        {{exit_no_answer, exit_ok}, exit_no_answer},
        {{exit_ok, exit_no_answer}, exit_no_answer},
        {{exit_no_answer, exit_refused}, exit_refused},
        {{exit_refused, exit_no_answer}, exit_refused},
        {{exit_no_answer, exit_local_error, exit_refused}, exit_local_error},
    };
    std::ostringstream out;
    std::ostringstream err;
    Io io{out, err};
    for (const auto& [codes, worst] : cases) {
        Context context{io, {}};
        for (int code : codes)
            context.fail_with(code);
        EXPECT_EQ(context.status, worst);
    }
}

} // namespace
} // namespace zk::cli
