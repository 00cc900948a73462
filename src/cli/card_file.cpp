#include "cli/card_file.h"

#include <fstream>
#include <iterator>

#include "cli/outcome.h"
#include "cli/values.h"
#include "runtime/text.h"

namespace zk::cli {

namespace {

std::string first_field(std::string_view line)
{
    const std::size_t end = line.find_first_of(",;");
    std::string field = trim_spaces(line.substr(0, end));
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
        field = field.substr(1, field.size() - 2);
    return field;
}

bool is_header(std::string_view field)
{
    return to_upper(field) == "CARD";
}

} // namespace

std::vector<CardLine> parse_card_file(std::string_view text, std::string_view file_name)
{
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3); // spreadsheets write a BOM
    std::vector<CardLine> cards;
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (line.ends_with('\r')) line.remove_suffix(1);
        const std::string field = first_field(line);
        if (trim_spaces(line).empty() || line.starts_with('#')) continue;
        if (number == 1 && is_header(field)) continue;
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
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Exit(exit_local_error, "cannot read " + path.string());
    const std::string text{std::istreambuf_iterator<char>(in), {}};
    return parse_card_file(text, path.string());
}

} // namespace zk::cli
