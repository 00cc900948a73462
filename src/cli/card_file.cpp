#include "cli/card_file.h"

#include <algorithm>

#include "base/file_read.h"
#include "base/text.h"
#include "base/text_lines.h"
#include "cli/file_text.h"
#include "cli/outcome.h"
#include "cli/values.h"

namespace zk::cli {

namespace {

std::string first_field(std::string_view line)
{
    const std::size_t end = line.find_first_of(",;\t");
    std::string field = trim_spaces(line.substr(0, end));
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = field.substr(1, field.size() - 2);
    return trim_spaces(field);
}

// A column title in any language ("card", "卡号"): it holds no digit, so it cannot be a
// mistyped card number, which is refused instead of skipped.
bool is_header(std::string_view field)
{
    return std::none_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::vector<CardLine> parse_card_file(std::string_view bytes, std::string_view file_name)
{
    // Full-width digits, commas and spaces are read as their ASCII twins, as the settings
    // window reads its number boxes.
    const std::string text = fold_full_width(file_text(bytes));
    std::vector<CardLine> cards;
    bool first_content = true;
    for (const auto& [line, number] : text_lines(text)) {
        if (trim_spaces(line).empty() || line.starts_with('#')) continue;
        const std::string field = first_field(line);
        const bool header = first_content && is_header(field);
        first_content = false;
        if (header) continue;
        try {
            cards.push_back({number, parse_card(field)});
        } catch (const Exit& error) {
            refuse_input(std::string(file_name) + ":" + std::to_string(number) + ": " +
                         error.what());
        }
    }
    return cards;
}

std::vector<CardLine> read_card_file(const std::filesystem::path& path)
{
    const FileRead read = read_regular_file(path, card_file);
    if (const auto* failure = std::get_if<ReadFailure>(&read))
        refuse_input(describe(path, *failure));
    return parse_card_file(std::get<std::string>(read), path.string());
}

} // namespace zk::cli
