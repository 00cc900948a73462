#include "net/system_error.h"

#ifdef _WIN32
#include <winsock2.h>
// After winsock2.h, which must come first.
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <sys/resource.h>
#endif

#include <system_error>

namespace zk {

namespace {

std::string trimmed(std::string text)
{
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text;
}

} // namespace

#ifdef _WIN32

int last_socket_error()
{
    return ::WSAGetLastError();
}

std::string system_error_text(int code)
{
    wchar_t* wide = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&wide), 0, nullptr);
    std::string text;
    if (length > 0 && wide) {
        const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr,
                                                0, nullptr, nullptr);
        text.resize(static_cast<std::size_t>(bytes));
        ::WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), text.data(), bytes,
                              nullptr, nullptr);
    }
    if (wide) ::LocalFree(wide);
    text = trimmed(std::move(text));
    return text.empty() ? "error " + std::to_string(code)
                        : text + " (" + std::to_string(code) + ")";
}

std::string thread_limit_text(int code)
{
    return std::generic_category().message(code);
}

#else

namespace {

// "at most 1024 open files for this program: ulimit -n"
std::string limit_text(int resource, const char* what, const char* option)
{
    rlimit limit{};
    const std::string most = ::getrlimit(resource, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                                 ? std::to_string(limit.rlim_cur)
                                 : "a limited number of";
    return "at most " + most + " " + what + " for this program: ulimit " + option;
}

} // namespace

int last_socket_error()
{
    return errno;
}

std::string system_error_text(int code)
{
    char buffer[256] = {};
    // The GNU strerror_r returns the text, which may or may not be in the buffer.
    const char* text = ::strerror_r(code, buffer, sizeof buffer);
    const std::string words = trimmed(text ? text : "");
    if (words.empty()) return "error " + std::to_string(code);
    if (code == EMFILE) return words + " (" + limit_text(RLIMIT_NOFILE, "open files", "-n") + ")";
    return words;
}

std::string thread_limit_text(int code)
{
    const std::string words = system_error_text(code);
    if (code != EAGAIN) return words;
    return words + " (" + limit_text(RLIMIT_NPROC, "processes and threads", "-u") + ")";
}

#endif

} // namespace zk
