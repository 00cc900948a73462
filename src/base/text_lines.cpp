#include "base/text_lines.h"

#include <algorithm>

namespace zk {

std::vector<TextLine> text_lines(std::string_view text)
{
    std::vector<TextLine> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        lines.push_back({text.substr(at, end - at), lines.size() + 1});
        at = end + 1;
        if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') ++at;
    }
    return lines;
}

} // namespace zk
