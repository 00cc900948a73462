#pragma once
// The projector library and room-code files: JSON on disk, ProjectorEntry values in memory. The
// shipped library lies in the program's data folder; the user's own file is read first, so its
// entries come first and win a lookup by name.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <nlohmann/json.hpp>

#include "projectors/projector_entry.h"

namespace zk::projectors {

struct Library
{
    std::vector<ProjectorEntry> entries;
    // One line per file or entry left out, naming it: "projectors.json: entry 3 (Foo X): ...".
    std::vector<std::string> problems;
};

// The entry in `json`, or why it is refused. Room files need no brand, source or confidence.
std::variant<ProjectorEntry, std::string> entry_from_json(const nlohmann::json& json,
                                                          bool library_entry);

// The entry as a file holds it; codes as hex text ("50 57 52 0D"), parity as "none"/"odd"/"even".
nlohmann::ordered_json entry_to_json(const ProjectorEntry& entry);

// Adds the entries of one library file's text; `file` names it in problems.
void add_library_text(Library& library, std::string_view text, const std::string& file);

// The user's file, then the shipped one. A user file that does not exist is no problem; a
// missing shipped library is.
Library load_library(const std::filesystem::path& user_file,
                     const std::filesystem::path& shipped_file);

// ~/.config/zkconfig/projectors.json ($XDG_CONFIG_HOME first); %APPDATA%\zkconfig on Windows.
std::filesystem::path user_library_file();

// Beside the program when there is one there (Windows, build trees), else
// <program>/../share/zkconfig/projectors.json.
std::filesystem::path shipped_library_file(const std::filesystem::path& program_dir);

// One room's codes from a file of one entry, or why not ("PATH: ...").
std::variant<ProjectorEntry, std::string> read_room_file(const std::filesystem::path& path);

// Writes one room's codes; the reason when the file cannot be written.
std::optional<std::string> write_room_file(const std::filesystem::path& path,
                                           const ProjectorEntry& entry);

} // namespace zk::projectors
