#include "cli/table.h"

#include <algorithm>

namespace zk::cli {

namespace {

void flatten(const nlohmann::ordered_json& object,
             const std::string& prefix,
             std::vector<std::vector<std::string>>& rows)
{
    for (const auto& [key, value] : object.items()) {
        const std::string name = prefix.empty() ? key : prefix + "." + key;
        if (value.is_object())
            flatten(value, name, rows);
        else if (value.is_string())
            rows.push_back({name, value.get<std::string>()});
        else if (value.is_null())
            rows.push_back({name, "-"});
        else
            rows.push_back({name, value.dump()});
    }
}

} // namespace

std::string aligned_text(const std::vector<std::vector<std::string>>& rows)
{
    std::vector<std::size_t> widths;
    for (const auto& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], row[i].size());
    }
    std::string text;
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        text += line + "\n";
    }
    return text;
}

std::string csv_text(const std::vector<std::vector<std::string>>& rows)
{
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            std::string cell = row[i];
            if (cell.find_first_of(",\"\n") != std::string::npos) {
                std::string quoted = "\"";
                for (char c : cell)
                    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
                cell = quoted + "\"";
            }
            text += (i > 0 ? "," : "") + cell;
        }
        text += "\n";
    }
    return text;
}

std::vector<std::vector<std::string>> flat_rows(const nlohmann::ordered_json& object)
{
    std::vector<std::vector<std::string>> rows;
    flatten(object, "", rows);
    return rows;
}

std::string key_value_text(const nlohmann::ordered_json& object)
{
    return aligned_text(flat_rows(object));
}

} // namespace zk::cli
