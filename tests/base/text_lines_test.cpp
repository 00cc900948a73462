#include "base/text_lines.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace zk {
namespace {

TEST(text_lines, every_line_end_that_editors_write_ends_a_line)
{
    struct Case
    {
        const char* what;
        std::string_view text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"LF", "mac,ip\n84,10\n", {"mac,ip", "84,10"}},
        {"CR LF", "mac,ip\r\n84,10\r\n", {"mac,ip", "84,10"}},
        {"lone CR", "mac,ip\r84,10\r85,11", {"mac,ip", "84,10", "85,11"}},
        {"mixed, blank lines kept", "a\r\rb\n\nc\r\n", {"a", "", "b", "", "c"}},
        {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
        {"empty", "", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> lines;
        for (const TextLine& line : text_lines(c.text)) {
            EXPECT_EQ(line.number, lines.size() + 1);
            lines.emplace_back(line.text);
        }
        EXPECT_EQ(lines, c.lines);
    }
}

} // namespace
} // namespace zk
