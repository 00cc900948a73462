#pragma once
// Reading a whole file the operator named. A folder, a device or an unreadable file is a reason
// to show, never an exception: the standard streams throw from deep inside when the "file" is a
// folder, and that ended programs.
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

// The bytes of a regular file (a symbolic link to one counts), or why they cannot be had.
FileRead read_regular_file(const std::filesystem::path& path);

// A path the operator typed, UTF-8 as every text inside the programs (on Windows a plain string
// would be read in the ANSI code page and lose every character outside it).
std::filesystem::path utf8_path(std::string_view text);
// The path as UTF-8 text, for messages.
std::string path_text(const std::filesystem::path& path);

// "PATH: REASON", the form every program prints a failed read in.
std::string describe(const std::filesystem::path& path, const ReadFailure& failure);

} // namespace zk
