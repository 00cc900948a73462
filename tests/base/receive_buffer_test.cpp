#include "base/receive_buffer.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

TEST(receive_buffer, warns_only_when_a_thousand_answers_do_not_fit)
{
    struct Case
    {
        int granted;
        bool warned;
    };
    // 0: nothing bound, which is reported elsewhere.
    const Case cases[] = {{0, false}, {1'300'000, false}, {8'388'608, false}, {1'299'999, true}};
    for (const Case& c : cases)
        EXPECT_EQ(!receive_buffer_warning(c.granted, 4'194'304).empty(), c.warned) << c.granted;

    EXPECT_EQ(receive_buffer_warning(425'984, 4'194'304),
              "the system granted a receive buffer of 425984 bytes; 1000 controllers answering "
              "one search need about 1300000, so answers may be lost. Let it grant more (as "
              "root): sysctl -w net.core.rmem_max=4194304");
}

} // namespace
} // namespace zk
