#include "base/printable.h"

#include <gtest/gtest.h>

namespace zk {
namespace {

TEST(printable, keeps_printable_utf8_and_escapes_every_other_byte)
{
    const struct
    {
        std::string_view in;
        const char* out;
    } cases[] = {
        {"ZK-NET", "ZK-NET"},
        {"教室 101", "教室 101"},
        {"a\nb\r\x1b[2J", "a\\x0Ab\\x0D\\x1B[2J"},
        {"back\\slash", "back\\\\slash"},
        {"\x7f", "\\x7F"},
        {"\xc2\x85", "\\xC2\\x85"},                   // NEL, a C1 control
        {"\xc2\xa0", "\xc2\xa0"},                     // NO-BREAK SPACE is printable
        {"\xff\xfe", "\\xFF\\xFE"},                   // never UTF-8
        {"\xc0\xaf", "\\xC0\\xAF"},                   // overlong "/"
        {"\xed\xa0\x80", "\\xED\\xA0\\x80"},          // a surrogate
        {"\xf4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"}, // past U+10FFFF
        {"\xe4\xb8", "\\xE4\\xB8"},                   // cut short at the end
        {"\xe4\xb8\xad", "中"},
        {std::string_view("a\0b", 3), "a\\x00b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.out);
        EXPECT_EQ(printable(c.in), c.out);
    }
}

} // namespace
} // namespace zk
