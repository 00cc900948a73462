#include "discovery/refusals.h"

#include <gtest/gtest.h>

#include "support/hex.h"
#include "support/refused_blocks.h"

namespace zk::discovery {
namespace {

TEST(parameter_block, names_every_reason_a_block_is_refused_for_and_only_those)
{
    for (const test::BlockCase& c : test::block_cases()) {
        SCOPED_TRACE(c.what);
        std::vector<Refusal> kinds;
        for (const RefusalReason& reason : refusal_reasons(test::written_block(test::patched(c))))
            kinds.push_back(reason.kind);
        EXPECT_EQ(kinds, c.reasons);
    }
}

TEST(parameter_block, joins_the_reasons_in_order_and_judges_a_block_of_our_own_as_zeros)
{
    const test::BlockCase several{"", {{74, "07"}, {173, "00 00"}, {179, "00 00"}}, {}};
    EXPECT_EQ(refusal_text(refusal_reasons(test::written_block(test::patched(several)))),
              "DHCP flag 7, local port 0, server port 0");
    // A write shorter than the block never reaches the rules: it decodes as nothing.
    EXPECT_EQ(decode_request(ByteView(test::sound_write()).first(233)), std::nullopt);
    ParameterBlock own = test::written_block(test::sound_write());
    own.other = {};
    EXPECT_TRUE(refusal_reasons(own).empty());
}

TEST(parameter_block, judges_only_the_operators_parameters_before_a_write)
{
    using enum Refusal;
    const test::BlockCase cases[] = {
        // Bytes each controller fills its own way are never held against a write.
        {"another controller's own bytes",
         {{74, "37"}, {35, "41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41"}},
         {}},
        {"no gateway", {{66, "00 00 00 00"}}, {}},
        {"gateway in another subnet", {{66, "C0 A8 02 01"}}, {gateway_outside_subnet}},
        {"mask 0.0.0.0", {{70, "00 00 00 00"}}, {mask_zero}},
        {"multicast address", {{62, "E0 00 00 05"}, {66, "00 00 00 00"}}, {address_multicast}},
        {"server 0.0.0.0 and port 0",
         {{175, "00 00 00 00 00 00"}},
         {server_zero, server_port_zero}},
    };
    for (const test::BlockCase& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Refusal> kinds;
        for (const RefusalReason& reason :
             parameter_refusals(test::written_block(test::patched(c)).network))
            kinds.push_back(reason.kind);
        EXPECT_EQ(kinds, c.reasons);
    }
}

TEST(parameter_block, reads_the_operators_parameters_from_their_offsets)
{
    const NetworkParameters p = test::written_block(test::sound_write()).network;
    EXPECT_EQ(
        p,
        (NetworkParameters{
            {192, 168, 1, 50}, {255, 255, 255, 0}, {192, 168, 1, 1}, {192, 168, 1, 100}, 16006}));
}

} // namespace
} // namespace zk::discovery
