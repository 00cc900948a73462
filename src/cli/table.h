#pragma once
// Plain-text output for people and for spreadsheets.
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace zk::cli {

// Columns padded to their widest cell, two spaces apart, one line per row.
std::string aligned_text(const std::vector<std::vector<std::string>>& rows);

// Comma-separated lines; cells holding a comma or a quote are quoted.
std::string csv_text(const std::vector<std::vector<std::string>>& rows);

// An object's members as {name, value} rows; nested objects as "outer.inner", strings without
// quotes, null as "-".
std::vector<std::vector<std::string>> flat_rows(const nlohmann::ordered_json& object);

// An object as "key  value" lines, keys aligned; nested objects as "outer.inner".
std::string key_value_text(const nlohmann::ordered_json& object);

} // namespace zk::cli
