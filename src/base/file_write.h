#pragma once
// Replacing a whole file so that a reader, a crash or a power cut sees the old content or the
// new, never a part: written to a temporary file in the same folder, flushed to the disk, then
// renamed over the file. A symbolic link keeps pointing where it did: its target is replaced.
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace zk {

// Writes what `write` puts into the stream in place of `path`; "" when done, otherwise the
// system's reason ("No such file or directory"), with nothing left behind. Callers name the path
// the operator gave in their message.
std::string replace_file(const std::filesystem::path& path,
                         const std::function<void(std::ostream&)>& write);

std::string replace_file(const std::filesystem::path& path, std::string_view bytes);

// The file a symbolic link (or a chain of them) ends at; `path` itself when it is no link.
std::filesystem::path link_target(const std::filesystem::path& path);

} // namespace zk
