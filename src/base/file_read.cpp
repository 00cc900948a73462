#include "base/file_read.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

namespace zk {

namespace fs = std::filesystem;

namespace {

ReadFailure not_regular(fs::file_type type)
{
    switch (type) {
    case fs::file_type::directory:
        return {"is a folder, not a file"};
    case fs::file_type::not_found:
        return {"no such file", true};
    default:
        return {"is not a regular file"};
    }
}

std::string size_text(std::uintmax_t bytes)
{
    if (bytes >= (1u << 20) && bytes % (1u << 20) == 0) return std::to_string(bytes >> 20) + " MiB";
    return std::to_string(bytes) + " bytes";
}

ReadFailure too_large(const FileKind& kind)
{
    return {"is larger than " + std::string(kind.name) + " may be (at most " +
            size_text(kind.most_bytes) + ")"};
}

// Reads on to the end, but never more than one byte past `most`: the size looked at first may
// have grown, or be none at all (files the system makes up as they are read).
FileRead read_at_most(std::ifstream& in, const FileKind& kind)
{
    std::string content;
    char chunk[64 * 1024];
    while (in) {
        in.read(chunk, sizeof chunk);
        content.append(chunk, static_cast<std::size_t>(in.gcount()));
        if (content.size() > kind.most_bytes) return too_large(kind);
    }
    if (in.bad()) return ReadFailure{"read error"};
    return content;
}

} // namespace

FileRead read_regular_file(const fs::path& path, const FileKind& kind)
{
    std::error_code failed;
    const fs::file_status status = fs::status(path, failed);
    if (failed && status.type() != fs::file_type::not_found) return ReadFailure{failed.message()};
    if (status.type() != fs::file_type::regular) return not_regular(status.type());
    if (const std::uintmax_t size = fs::file_size(path, failed); !failed && size > kind.most_bytes)
        return too_large(kind);
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            const int error = errno;
            return ReadFailure{error ? std::generic_category().message(error) : "cannot open"};
        }
        return read_at_most(in, kind);
    } catch (const std::exception& error) {
        return ReadFailure{error.what()};
    }
}

fs::path utf8_path(std::string_view text)
{
    return fs::path(std::u8string(text.begin(), text.end()));
}

std::string path_text(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

std::string describe(const fs::path& path, const ReadFailure& failure)
{
    return path_text(path) + ": " + failure.reason;
}

} // namespace zk
