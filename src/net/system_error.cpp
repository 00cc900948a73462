#include "net/system_error.h"

#ifdef _WIN32
#include <winsock2.h>
// After winsock2.h, which must come first.
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#endif

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

#else

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
    return words.empty() ? "error " + std::to_string(code) : words;
}

#endif

} // namespace zk
