#pragma once
// Reading a whole file the operator named. A folder, a device or an unreadable file is a reason
// to show, never an exception: the standard streams throw from deep inside when the "file" is a
// folder, and that ended programs.
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <variant>

namespace zk {

struct ReadFailure
{
    std::string reason;   // "is a folder, not a file", or the system's text
    bool missing = false; // nothing exists at the path (callers may treat that as "empty")
};

using FileRead = std::variant<std::string, ReadFailure>;

// What a file holds, and the most bytes it may have: far beyond any real one, so that a wrong or
// hostile file is refused at once instead of being read into memory and parsed for minutes.
struct FileKind
{
    std::string_view name; // "a projector library"
    std::uintmax_t most_bytes;
};

constexpr FileKind projector_library_file{"a projector library", 4u << 20};
constexpr FileKind room_file{"a room file", 1u << 20};
constexpr FileKind backup_file{"a backup", 1u << 20};
constexpr FileKind plan_file{"a network plan", 4u << 20};
constexpr FileKind site_file{"a site file", 16u << 20};
constexpr FileKind card_file{"a card file", 16u << 20};
constexpr FileKind sim_state_file{"a simulator state file", 256u << 20};

// The bytes of a regular file (a symbolic link to one counts), or why they cannot be had; a file
// larger than `kind` allows is refused, naming the limit.
FileRead read_regular_file(const std::filesystem::path& path, const FileKind& kind);

// A path the operator typed, UTF-8 as every text inside the programs (on Windows a plain string
// would be read in the ANSI code page and lose every character outside it).
std::filesystem::path utf8_path(std::string_view text);
// The path as UTF-8 text, for messages.
std::string path_text(const std::filesystem::path& path);

// "PATH: REASON", the form every program prints a failed read in.
std::string describe(const std::filesystem::path& path, const ReadFailure& failure);

} // namespace zk
