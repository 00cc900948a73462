#pragma once
// The lines of a text file someone made: Windows ends them with CR LF, Unix with LF, and old Mac
// editors and some spreadsheet exports with a lone CR. Read as one line, such a file's rows would
// vanish into its header without a word.
#include <cstddef>
#include <string_view>
#include <vector>

namespace zk {

struct TextLine
{
    std::string_view text; // without its line end
    std::size_t number;    // 1-based, as an editor shows it
};

// Every line of `text`, the empty ones too; a line end at the very end starts no further line.
std::vector<TextLine> text_lines(std::string_view text);

} // namespace zk
