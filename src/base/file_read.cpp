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

std::string describe(const fs::path& path, const ReadFailure& failure)
{
    return path.string() + ": " + failure.reason;
}

} // namespace zk
