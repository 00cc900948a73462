#include "page_fixture.h"

#include <gtest/gtest.h>

namespace zk::present::test_page {

std::string Page::payload() const
{
    EXPECT_EQ(sender.sends.size(), 1u);
    if (sender.sends.size() != 1u) return {};
    const Bytes& frame = sender.sends[0].data;
    if (frame.size() < 8) return "short frame " + zk::test::to_hex(frame);
    return zk::test::to_hex(ByteView(frame).subspan(7, frame.size() - 8));
}

std::vector<std::string> Page::frames() const
{
    std::vector<std::string> out;
    for (const zk::test::SentDatagram& sent : sender.sends)
        out.push_back(zk::test::to_hex(sent.data));
    return out;
}

} // namespace zk::present::test_page
