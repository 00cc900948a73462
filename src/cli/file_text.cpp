#include "cli/file_text.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace zk::cli {

namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD";

// Length of the well-formed UTF-8 sequence at the start of `s`, 0 when there is none.
std::size_t utf8_sequence(std::string_view s)
{
    const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t lead = byte(0);
    if (lead < 0x80) return 1;
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || s.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    // The second byte's range rules out overlong forms, surrogates and code points past U+10FFFF.
    const std::uint8_t second = byte(1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

#ifdef _WIN32
std::string gbk_to_utf8(std::string_view bytes)
{
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int wide_size = MultiByteToWideChar(936, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
    MultiByteToWideChar(936, 0, bytes.data(), size, wide.data(), wide_size);
    const int out_size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(out_size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_size, out.data(), out_size, nullptr, nullptr);
    return out;
}
#else
std::string gbk_to_utf8(std::string_view bytes)
{
    // GB18030 reads every GBK file the same way and a few more characters besides.
    const iconv_t converter = iconv_open("UTF-8", "GB18030");
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(bytes);
    std::string out;
    char buffer[1024];
    char* in = const_cast<char*>(bytes.data());
    std::size_t in_left = bytes.size();
    while (in_left > 0) {
        char* to = buffer;
        std::size_t to_left = sizeof buffer;
        const std::size_t done = iconv(converter, &in, &in_left, &to, &to_left);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            out += replacement; // not GBK either, or cut off at the end
            ++in;
            --in_left;
        }
    }
    iconv_close(converter);
    return out;
}
#endif

} // namespace

bool is_utf8(std::string_view bytes)
{
    while (!bytes.empty()) {
        const std::size_t length = utf8_sequence(bytes);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

std::string file_text(std::string_view bytes)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3); // spreadsheets write one
    return is_utf8(bytes) ? std::string(bytes) : gbk_to_utf8(bytes);
}

} // namespace zk::cli
