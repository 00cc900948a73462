#pragma once
// Card lists as installers keep them: a CSV file, one card number in the first column of each
// line. The whole file is checked before any card is sent.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zk::cli {

struct CardLine
{
    std::size_t line = 0; // 1-based, as an editor shows it
    std::uint32_t card = 0;
};

// Blank lines and lines starting with "#" are skipped; a first line whose first field is "card"
// (any case) is a header; fields are separated by "," or ";", and only the first is read. Any
// other line whose first field is not a card number 0..4294967295 is refused (usage error
// "FILE:LINE: ...").
std::vector<CardLine> parse_card_file(std::string_view text, std::string_view file_name);

// Reads and parses the file; a file that cannot be read is a local error.
std::vector<CardLine> read_card_file(const std::filesystem::path& path);

} // namespace zk::cli
