#include "app/settings_file.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace zk {

namespace {

struct Line
{
    std::size_t begin; // first byte of the line
    std::size_t end;   // one past its last byte before the line break
    std::size_t next;  // first byte of the following line
};

std::vector<Line> split_lines(std::string_view file)
{
    std::vector<Line> lines;
    std::size_t at = 0;
    while (at < file.size()) {
        const std::size_t lf = file.find('\n', at);
        const std::size_t next = lf == std::string_view::npos ? file.size() : lf + 1;
        std::size_t end = lf == std::string_view::npos ? file.size() : lf;
        if (end > at && file[end - 1] == '\r') --end;
        lines.push_back({at, end, next});
        at = next;
    }
    return lines;
}

std::string_view trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool same_ignoring_ascii_case(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

// The name of a "[name]" line, nullopt for any other line.
std::optional<std::string_view> section_name(std::string_view line)
{
    line = trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return trim(line.substr(1, close - 1));
}

// The key of a "key=value" line, nullopt for comments and other lines.
std::optional<std::string_view> key_name(std::string_view line)
{
    const std::string_view trimmed = trim(line);
    if (trimmed.empty() || trimmed.front() == ';') return std::nullopt;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return trim(line.substr(0, equals));
}

// Where a section's lines run in the file: [first, last) indices into the lines after its
// header; nullopt when the file has no such section.
struct SectionSpan
{
    std::size_t first;
    std::size_t last;
};

std::optional<SectionSpan>
find_section(std::string_view file, const std::vector<Line>& lines, std::string_view section)
{
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = section_name(file.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (!name || !same_ignoring_ascii_case(*name, section)) continue;
        std::size_t last = i + 1;
        while (last < lines.size() &&
               !section_name(file.substr(lines[last].begin, lines[last].end - lines[last].begin)))
            ++last;
        return SectionSpan{i + 1, last};
    }
    return std::nullopt;
}

std::optional<std::size_t> find_key(std::string_view file,
                                    const std::vector<Line>& lines,
                                    SectionSpan span,
                                    std::string_view key)
{
    for (std::size_t i = span.first; i < span.last; ++i) {
        const auto name = key_name(file.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (name && same_ignoring_ascii_case(*name, key)) return i;
    }
    return std::nullopt;
}

std::string_view line_break_of(std::string_view file)
{
    const std::size_t lf = file.find('\n');
    if (lf != std::string_view::npos && (lf == 0 || file[lf - 1] != '\r')) return "\n";
    return "\r\n";
}

std::string key_line(std::string_view key, std::string_view value)
{
    return std::string(key) + "=" + std::string(value);
}

bool is_writable_dir(const std::filesystem::path& dir)
{
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) return false;
#if defined(_WIN32)
    return true;
#else
    return ::access(dir.c_str(), W_OK) == 0;
#endif
}

} // namespace

std::optional<std::string>
ini_value(std::string_view file, std::string_view section, std::string_view key)
{
    const std::vector<Line> lines = split_lines(file);
    const std::optional<SectionSpan> span = find_section(file, lines, section);
    if (!span) return std::nullopt;
    const std::optional<std::size_t> at = find_key(file, lines, *span, key);
    if (!at) return std::nullopt;
    const std::string_view line = file.substr(lines[*at].begin, lines[*at].end - lines[*at].begin);
    std::string_view value = trim(line.substr(line.find('=') + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

std::string ini_with_value(std::string_view file,
                           std::string_view section,
                           std::string_view key,
                           std::string_view value)
{
    const std::vector<Line> lines = split_lines(file);
    const std::string_view eol = line_break_of(file);
    std::string out(file);
    const std::optional<SectionSpan> span = find_section(file, lines, section);
    if (!span) {
        if (!out.empty() && out.back() != '\n') out += eol;
        return out + "[" + std::string(section) + "]" + std::string(eol) + key_line(key, value) +
               std::string(eol);
    }
    if (const std::optional<std::size_t> at = find_key(file, lines, *span, key)) {
        const Line& line = lines[*at];
        return out.replace(line.begin, line.end - line.begin, key_line(key, value));
    }
    // After the section's last non-blank line, so blank lines before the next section stay.
    std::size_t after = span->first - 1;
    for (std::size_t i = span->first; i < span->last; ++i) {
        if (!trim(file.substr(lines[i].begin, lines[i].end - lines[i].begin)).empty()) after = i;
    }
    const Line& anchor = lines[after];
    // A last line without its line feed (none at all, or a bare CR) first gets a whole break;
    // otherwise the new key would join that line and never be read back.
    const bool anchor_ends_line = anchor.next > anchor.end && file[anchor.next - 1] == '\n';
    const std::string insert = anchor_ends_line ? key_line(key, value) + std::string(eol)
                                                : std::string(eol) + key_line(key, value);
    return out.insert(anchor.next, insert);
}

std::filesystem::path default_user_config_dir()
{
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg && *xdg && std::filesystem::path(xdg).is_absolute())
        return std::filesystem::path(xdg) / "zkconfig";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : ".") / ".config" / "zkconfig";
}

SettingsFile::SettingsFile(const std::filesystem::path& program_dir,
                           const std::filesystem::path& user_dir)
    : location_((is_writable_dir(program_dir) ? program_dir : user_dir) / "system.ini")
{}

std::string
SettingsFile::read(std::string_view section, std::string_view key, std::string_view fallback)
{
    std::ifstream in(location_, std::ios::binary);
    if (!in) return std::string(fallback);
    const std::string file{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return ini_value(file, section, key).value_or(std::string(fallback));
}

bool SettingsFile::write(std::string_view section, std::string_view key, std::string_view value)
{
    std::error_code error;
    std::filesystem::create_directories(location_.parent_path(), error);
    std::string old;
    if (std::ifstream in{location_, std::ios::binary})
        old.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const std::string updated = ini_with_value(old, section, key, value);

    std::filesystem::path temporary = location_;
    temporary += ".tmp";
    std::FILE* out = std::fopen(temporary.string().c_str(), "wb");
    if (!out) return false;
    bool ok = std::fwrite(updated.data(), 1, updated.size(), out) == updated.size();
    ok = std::fflush(out) == 0 && ok;
#if !defined(_WIN32)
    ok = ::fsync(::fileno(out)) == 0 && ok;
#endif
    ok = std::fclose(out) == 0 && ok;
    error.clear();
    if (ok) std::filesystem::rename(temporary, location_, error);
    if (!ok || error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

} // namespace zk
