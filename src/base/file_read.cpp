#include "base/file_read.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
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

} // namespace

FileRead read_regular_file(const fs::path& path)
{
    std::error_code failed;
    const fs::file_status status = fs::status(path, failed);
    if (failed && status.type() != fs::file_type::not_found) return ReadFailure{failed.message()};
    if (status.type() != fs::file_type::regular) return not_regular(status.type());
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            const int error = errno;
            return ReadFailure{error ? std::generic_category().message(error) : "cannot open"};
        }
        std::ostringstream content;
        content << in.rdbuf();
        if (in.bad() || content.bad()) return ReadFailure{"read error"};
        return std::move(content).str();
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
