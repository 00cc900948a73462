#include "app/settings_file.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include <fcntl.h>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

#include "base/file_write.h"

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
    // Windows grants writing through ACLs that _waccess does not read (a program folder under
    // Program Files looks writable to it); creating a file is the only sure answer.
    const std::filesystem::path probe = dir / "system.ini.probe";
    if (!std::ofstream(probe, std::ios::binary | std::ios::app)) return false;
    std::filesystem::remove(probe, error);
    return true;
#else
    return ::faccessat(AT_FDCWD, dir.c_str(), W_OK, AT_EACCESS) == 0;
#endif
}

// The whole file; empty when there is none; nullopt when it exists but cannot be read in full,
// so that nobody writes over content that was never seen.
std::optional<std::string> read_whole(const std::filesystem::path& file)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return std::string{};
    if (error || status.type() != std::filesystem::file_type::regular) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return std::nullopt;
    return bytes;
}

// A file nobody may write to was made so on purpose; root's access() would not say so.
bool is_read_only(const std::filesystem::path& file)
{
    using std::filesystem::perms;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return false;
    if ((status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) ==
        perms::none)
        return true;
#if defined(_WIN32)
    return false;
#else
    return ::faccessat(AT_FDCWD, file.c_str(), W_OK, AT_EACCESS) != 0;
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

bool is_system_program_dir(const std::filesystem::path& dir)
{
    const std::filesystem::path normal = dir.lexically_normal();
    if (!normal.has_root_directory()) return false;
    const std::filesystem::path relative = normal.relative_path();
    if (relative.empty()) return false;
    const std::filesystem::path top = *relative.begin();
    return top == "usr" || top == "bin" || top == "sbin";
}

SettingsFile::SettingsFile(const std::filesystem::path& program_dir,
                           const std::filesystem::path& user_dir)
    : program_file_((is_system_program_dir(program_dir) ? user_dir : program_dir) / "system.ini"),
      write_location_(is_writable_dir(program_dir) && !is_system_program_dir(program_dir)
                          ? program_file_
                          : user_dir / "system.ini")
{}

std::filesystem::path SettingsFile::read_location() const
{
    std::error_code error;
    if (write_location_ != program_file_ && std::filesystem::exists(write_location_, error))
        return write_location_;
    return program_file_;
}

std::string
SettingsFile::read(std::string_view section, std::string_view key, std::string_view fallback)
{
    const std::optional<std::string> file = read_whole(read_location());
    if (!file) return std::string(fallback);
    return ini_value(*file, section, key).value_or(std::string(fallback));
}

bool SettingsFile::write(std::string_view section, std::string_view key, std::string_view value)
{
    // The user's copy starts as the file beside the program, so its other lines survive.
    const std::optional<std::string> old = read_whole(read_location());
    if (!old || is_read_only(write_location_)) return false;
    std::error_code error;
    std::filesystem::create_directories(write_location_.parent_path(), error);
    return replace_file(write_location_, ini_with_value(*old, section, key, value)).empty();
}

} // namespace zk
