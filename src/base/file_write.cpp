#include "base/file_write.h"

#include <cerrno>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zk {

namespace {

namespace fs = std::filesystem;

std::string system_reason(int error)
{
    return error ? std::generic_category().message(error) : "cannot write";
}

// So that a power cut after the rename cannot leave an empty file; the system's error or 0.
int flush_to_disk(const fs::path& file)
{
#if defined(_WIN32)
    // _commit needs a handle open for writing; the wide name keeps Chinese folders working.
    const int fd = ::_wopen(file.c_str(), _O_WRONLY | _O_BINARY);
    if (fd < 0) return errno;
    const int error = ::_commit(fd) == 0 ? 0 : errno;
    return ::_close(fd) == 0 ? error : errno;
#else
    const int fd = ::open(file.c_str(), O_RDONLY);
    if (fd < 0) return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    return ::close(fd) == 0 ? error : errno;
#endif
}

// The temporary file's content, flushed to the disk; the system's error or 0.
int write_temporary(const fs::path& temporary, const std::function<void(std::ostream&)>& write)
{
    errno = 0;
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return errno ? errno : EIO;
    write(out);
    // Closing flushes; a disk that fills up only shows then.
    out.close();
    if (out.fail()) return errno ? errno : EIO;
    return flush_to_disk(temporary);
}

} // namespace

std::string replace_file(const fs::path& path, const std::function<void(std::ostream&)>& write)
{
    const fs::path file = link_target(path);
    fs::path temporary = file;
    temporary += ".tmp";
    std::error_code failed;
    if (const int error = write_temporary(temporary, write); error != 0) {
        fs::remove(temporary, failed);
        return system_reason(error);
    }
    fs::rename(temporary, file, failed);
    if (!failed) return {};
    std::error_code ignored;
    fs::remove(temporary, ignored);
    return failed.message();
}

std::string replace_file(const fs::path& path, std::string_view bytes)
{
    return replace_file(path, [bytes](std::ostream& out) {
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    });
}

fs::path link_target(const fs::path& path)
{
    fs::path at = path;
    std::error_code failed;
    // A loop of links ends the walk; the rename then reports it.
    for (int hops = 0; hops < 40 && fs::is_symlink(at, failed); ++hops) {
        const fs::path target = fs::read_symlink(at, failed);
        if (failed) break;
        at = target.is_absolute() ? target : at.parent_path() / target;
    }
    return at;
}

} // namespace zk
