#include "base/program_start.h"

#ifdef _WIN32
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>
#endif

namespace zk {

#ifdef _WIN32

namespace {

std::string utf8(const wchar_t* wide)
{
    const int bytes = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return {};
    std::string text(static_cast<std::size_t>(bytes - 1), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), bytes, nullptr, nullptr);
    return text;
}

} // namespace

std::vector<std::string> program_arguments(int, char**)
{
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(utf8(wide[i]));
    if (wide) ::LocalFree(wide);
    return arguments;
}

void use_utf8_console()
{
    ::SetConsoleOutputCP(CP_UTF8);
}

#else

std::vector<std::string> program_arguments(int argc, char** argv)
{
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

void use_utf8_console() {}

#endif

} // namespace zk
