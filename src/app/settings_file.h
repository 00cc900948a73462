#pragma once
// system.ini: a private-profile text file in GBK, read and changed byte for byte. Sections,
// keys and values are byte strings in the file's own encoding; other lines are never touched.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zk {

// 网卡列表 and 选择项 in GBK, as files of earlier tools hold them.
inline constexpr std::string_view adapter_section = "\xCD\xF8\xBF\xA8\xC1\xD0\xB1\xED";
inline constexpr std::string_view adapter_key = "\xD1\xA1\xD4\xF1\xCF\xEE";

// The value of `key` in `section` of the file's bytes; nullopt when either is missing.
std::optional<std::string>
ini_value(std::string_view file, std::string_view section, std::string_view key);

// The file's bytes with `key` in `section` set to `value`: the key's line replaced in place,
// or added at the end of its section, or a new section appended; every other byte kept.
std::string ini_with_value(std::string_view file,
                           std::string_view section,
                           std::string_view key,
                           std::string_view value);

// True for the directories the package manager owns (/usr/..., /bin, /sbin): a file left
// there would outlive the package, so even root, who could write there, must not.
bool is_system_program_dir(const std::filesystem::path& dir);

class SettingsFile
{
public:
    // Beside the program when its directory is writable and not a system program
    // directory (one the package manager owns). Otherwise the user's copy is written,
    // and read once it exists; until then the file beside the program is read.
    SettingsFile(const std::filesystem::path& program_dir, const std::filesystem::path& user_dir);

    // Where the next read looks.
    std::filesystem::path read_location() const;
    // Where writes go.
    const std::filesystem::path& location() const { return write_location_; }
    // The value, or `fallback` when the file, section or key is missing or unreadable.
    std::string read(std::string_view section, std::string_view key, std::string_view fallback);
    // Sets one key; the file is replaced whole through a temporary file, so a crash leaves
    // either the old or the new file. False when it could not be written, and also when the old
    // file could not be read in full or is read-only: its other content would be lost.
    bool write(std::string_view section, std::string_view key, std::string_view value);

private:
    std::filesystem::path program_file_;
    std::filesystem::path write_location_;
};

} // namespace zk
