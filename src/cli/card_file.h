#pragma once
// Card lists as schools keep them: a CSV file from a spreadsheet, one card number in the first
// column of each line, in UTF-8 or GBK. The whole file is checked before any card is sent.
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

// Blank lines and lines starting with "#" are skipped; the first other line is a header when its
// first field holds no digit ("card", "卡号"); fields are separated by ",", ";" or a tab, and
// only the first is read. Full-width digits and spaces count as ASCII. Any other line whose
// first field is not a card number 0..4294967295 is refused (usage error "FILE:LINE: ...").
std::vector<CardLine> parse_card_file(std::string_view bytes, std::string_view file_name);

// Reads and parses the file; a file that cannot be read is a usage error naming it and why.
std::vector<CardLine> read_card_file(const std::filesystem::path& path);

} // namespace zk::cli
